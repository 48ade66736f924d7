// The aligning panel and its divider as windows: the layout follows the
// panel's size, the divider resizes its host by a drag, and the panel
// hands its children's commands to its parent.
#include "common/panels_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/subclass_win.h"

namespace kestrum {
namespace {

RECT RectInPanel(HWND child, HWND panel) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class PanelsTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner_);
        ASSERT_TRUE(panel_.Create(owner_, 0, 0, 300, 200));
    }
    void TearDown() override { DestroyWindow(owner_); }  // and with it the panel and its children
    HWND Child(int w, int h, int id = 0) {
        return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, w, h, panel_.Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }
    void Drag(int fromX, int fromY, int toX, int toY) {
        HWND s = split_.Handle();
        SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
        SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((fromX + toX) / 2, (fromY + toY) / 2));
        SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
    }

    HWND owner_ = nullptr;
    TAlignPanel panel_;
    TSplitPanel split_;
};

TEST_F(PanelsTest, LayoutFollowsThePanelsSize) {
    HWND top = Child(10, 20);
    HWND list = Child(10, 10);
    panel_.SetAlign(list, TAlign::Client);
    panel_.SetAlign(top, TAlign::Top);
    EXPECT_EQ(panel_.AlignOf(top), TAlign::Top);
    EXPECT_EQ(panel_.AlignOf(owner_), TAlign::None);
    panel_.Layout();
    RECT t = RectInPanel(top, panel_.Handle()), l = RectInPanel(list, panel_.Handle());
    EXPECT_EQ(t.right, 300);
    EXPECT_EQ(t.bottom, 20);
    EXPECT_EQ(l.top, 20);
    EXPECT_EQ(l.bottom, 200);

    SetWindowPos(panel_.Handle(), nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    t = RectInPanel(top, panel_.Handle());
    l = RectInPanel(list, panel_.Handle());
    EXPECT_EQ(t.right, 250);
    EXPECT_EQ(l.right, 250);
    EXPECT_EQ(l.bottom, 120);
}

TEST_F(PanelsTest, TheDividerSitsBesideItsHostAndResizesItWhenDragged) {
    HWND host = Child(80, 10);
    HWND list = Child(10, 10);
    panel_.SetAlign(list, TAlign::Client);
    ASSERT_TRUE(split_.Create(panel_));
    int ended = 0;
    split_.OnEndSizing = [&](TSplitPanel&) { ++ended; };
    split_.SetHostComponent(host);  // no alignment yet: it becomes left-aligned
    EXPECT_EQ(panel_.AlignOf(host), TAlign::Left);
    EXPECT_EQ(split_.Align(), TAlign::Left);
    RECT s = RectInPanel(split_.Handle(), panel_.Handle());
    EXPECT_EQ(s.left, 80);
    EXPECT_EQ(s.right, 80 + TSplitPanel::kThickness);
    EXPECT_EQ(RectInPanel(list, panel_.Handle()).left, 84);

    Drag(1, 10, 31, 10);
    EXPECT_EQ(RectInPanel(host, panel_.Handle()).right, 110);
    EXPECT_EQ(RectInPanel(list, panel_.Handle()).left, 114);
    EXPECT_EQ(ended, 1);
    EXPECT_NE(GetCapture(), split_.Handle());

    EXPECT_THROW(split_.SetAlign(TAlign::Client), std::runtime_error);
    EXPECT_EQ(split_.Align(), TAlign::Left);
}

TEST_F(PanelsTest, ABottomHostGrowsUpwards) {
    HWND list = Child(10, 10);
    HWND host = Child(10, 50);
    panel_.SetAlign(list, TAlign::Client);
    panel_.SetAlign(host, TAlign::Bottom);
    panel_.Layout();
    ASSERT_TRUE(split_.Create(panel_));
    split_.SetHostComponent(host);
    EXPECT_TRUE(split_.Horizontal());
    RECT s = RectInPanel(split_.Handle(), panel_.Handle());
    EXPECT_EQ(s.bottom, 150);
    EXPECT_EQ(s.right - s.left, 300);

    Drag(10, 2, 10, -18);  // 20 up
    const RECT h = RectInPanel(host, panel_.Handle());
    EXPECT_EQ(h.top, 130);
    EXPECT_EQ(h.bottom, 200);
    EXPECT_EQ(RectInPanel(list, panel_.Handle()).bottom, 130 - TSplitPanel::kThickness);
}

TEST_F(PanelsTest, ChildrensCommandsGoToThePanelsParent) {
    HWND button = Child(10, 10, 77);
    int got = 0;
    Subclass owner;
    owner.Attach(owner_, [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == button) got = LOWORD(wp);
        return Subclass::CallNext(wnd, msg, wp, lp);
    });
    SendMessageA(panel_.Handle(), WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(got, 77);
}

}  // namespace
}  // namespace kestrum
