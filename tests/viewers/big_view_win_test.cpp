// TBigView in a plain host window under the null display driver: scroll
// keys, the caret and Shift selection with copy to the clipboard, mouse
// drag (and the mouse taken away) and double click, the wheel, band
// scrolling against a full redraw, property checks, deferred painting, the
// owner's system keys and the pop-up menu.
#include "viewers/big_view_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"
#include "tests/viewers/window_input_win.h"

namespace kestrum {
namespace {

using test::ClipboardText;
using test::HeldKeys;

std::vector<WPARAM>& HostCommands() {
    static std::vector<WPARAM> commands;
    return commands;
}

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) HostCommands().push_back(wp);
    return DefWindowProcA(wnd, msg, wp, lp);
}

std::string Numbered(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

class BigViewTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BigViewTestHost";
        RegisterClassA(&wc);
        host_ = CreateWindowExA(0, "BigViewTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        HostCommands().clear();
        view_ = std::make_unique<TBigView>();
        view_->clock = [this] { return now_; };
        view_->SetScrollBar(sbVertical);
        ASSERT_TRUE(view_->Create(host_, 0, 0, 600, 400));
        ShowWindow(host_, SW_SHOW);
    }
    void TearDown() override {
        view_.reset();
        DestroyWindow(host_);
    }
    void Key(WPARAM vk) {
        now_ += 1000;  // far apart: no acceleration
        SendMessageA(view_->Handle(), WM_KEYDOWN, vk, 0);
    }
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
        SendMessageA(view_->Handle(), msg, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    // Runs what is waiting for the view in this thread's queue.
    int Pump() {
        int n = 0;
        MSG m;
        while (PeekMessageA(&m, view_->Handle(), 0, 0, PM_REMOVE)) {
            DispatchMessageA(&m);
            ++n;
        }
        return n;
    }
    int LineHeight() const {
        RECT rc{};
        GetClientRect(view_->Handle(), &rc);
        return rc.bottom / view_->VisibleLines();
    }

    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    HWND host_ = nullptr;
    std::unique_ptr<TBigView> view_;
    unsigned now_ = 1000000;
};

TEST_F(BigViewTest, DownPageDownAndCtrlEndMoveTheTopLine) {
    view_->SetText(Numbered(200));
    const int visible = view_->VisibleLines();
    ASSERT_GT(visible, 3);
    int changes = 0;
    view_->OnViewLineChanged = [&] { ++changes; };
    Key(VK_DOWN);
    EXPECT_EQ(view_->TopLine(), 1);
    Key(VK_NEXT);
    EXPECT_EQ(view_->TopLine(), 1 + visible - 1);
    {
        HeldKeys ctrl{VK_CONTROL};
        Key(VK_END);
    }
    EXPECT_EQ(view_->TopLine(), 200 - visible);
    Key(VK_DOWN);
    EXPECT_EQ(view_->TopLine(), 200 - visible);  // already at the end
    EXPECT_EQ(changes, 3);
    // Keys closer than 200 ms step ScrollSense lines.
    ASSERT_TRUE(view_->SetScrollSense(2));
    {
        HeldKeys ctrl{VK_CONTROL};
        Key(VK_HOME);
    }
    SendMessageA(view_->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    now_ += 100;
    SendMessageA(view_->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(view_->TopLine(), 3);
    // A scroll-bar line step 250 ms after the last scroll: within 300 ms.
    now_ += 250;
    SendMessageA(view_->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(view_->TopLine(), 5);
    EXPECT_EQ(GetScrollPos(view_->Handle(), SB_VERT), 5);
}

TEST_F(BigViewTest, ShiftRightTwiceSelectsAndCopiesExactlyThoseBytes) {
    view_->SetText("あa漢\r\nnext\r\n");
    view_->SetCaret(true);
    SetFocus(view_->Handle());
    view_->SetCaretPos(TextPos{1, 0});
    {
        HeldKeys shift{VK_SHIFT};
        Key(VK_RIGHT);
        Key(VK_RIGHT);
    }
    EXPECT_EQ(view_->CaretPos(), (TextPos{4, 0}));
    ASSERT_TRUE(view_->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), "\x82\xA0" "a");
    char buffer[16];
    EXPECT_EQ(view_->SelectedTextInto(buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer), "あa");
    EXPECT_EQ(view_->SelectedTextInto(buffer, 3), 2);  // cut to fit, still NUL-ended
    // Without Shift the selection goes and nothing is copied.
    Key(VK_LEFT);
    EXPECT_FALSE(view_->HasSelection());
    EXPECT_EQ(view_->SelectedTextInto(buffer, sizeof buffer), -1);
    EXPECT_FALSE(view_->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), "\x82\xA0" "a");
}

TEST_F(BigViewTest, ScrollSenseOutsideOneToTenIsRefusedWithAMessage) {
    ASSERT_TRUE(view_->SetScrollSense(10));
    EXPECT_FALSE(view_->SetScrollSense(11));
    EXPECT_EQ(view_->ScrollSense(), 10);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "無効な値です。> ScrollSense");
    view_->SetPCanLimit(-1);
    EXPECT_EQ(view_->PCanLimit(), 0);
    view_->SetViewTabStop(-3);
    EXPECT_EQ(view_->ViewTabStop(), 8);
    view_->SetMaxChar(0);
    EXPECT_GE(view_->MaxChar(), 1);
}

TEST_F(BigViewTest, DragBelowTheViewScrollsThroughThePrivateMessage) {
    view_->SetText(Numbered(100));
    RECT rc{};
    GetClientRect(view_->Handle(), &rc);
    Pump();
    Mouse(WM_LBUTTONDOWN, 1, 1, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), view_->Handle());
    Mouse(WM_MOUSEMOVE, 1, rc.bottom + 10, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 2, rc.bottom + 10, MK_LBUTTON);  // one step is on its way already
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, view_->Handle(), TBigView::kAutoScrollMessage, TBigView::kAutoScrollMessage, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&m, view_->Handle(), TBigView::kAutoScrollMessage, TBigView::kAutoScrollMessage, PM_NOREMOVE));
    DispatchMessageA(&m);
    EXPECT_EQ(view_->TopLine(), 1);
    EXPECT_TRUE(view_->HasSelection());
    // It goes on by itself while the button is held.
    const DWORD until = GetTickCount() + 2000;
    while (view_->TopLine() < 3 && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_GE(view_->TopLine(), 3);
    Mouse(WM_LBUTTONUP, 1, rc.bottom + 10);
    EXPECT_NE(GetCapture(), view_->Handle());
    const int top = view_->TopLine();
    Sleep(100);
    Pump();
    EXPECT_EQ(view_->TopLine(), top);  // stopped with the button
    EXPECT_EQ(view_->SelectedText()->substr(0, 10), "line 0\r\nli");
}

TEST_F(BigViewTest, ADragEndsWhenAnotherWindowTakesTheMouse) {
    view_->SetText(Numbered(100));
    RECT rc{};
    GetClientRect(view_->Handle(), &rc);
    Pump();
    Mouse(WM_LBUTTONDOWN, 1, 1, MK_LBUTTON);
    ASSERT_EQ(GetCapture(), view_->Handle());
    Mouse(WM_MOUSEMOVE, 30, LineHeight() + 1, MK_LBUTTON);
    MSG m;
    constexpr UINT kStep = TBigView::kAutoScrollMessage;
    ASSERT_TRUE(PeekMessageA(&m, view_->Handle(), kStep, kStep, PM_REMOVE));
    DispatchMessageA(&m);
    const std::optional<std::string> selected = view_->SelectedText();
    ASSERT_TRUE(selected.has_value());
    // A menu or a message box takes the capture; no button-up comes here.
    SetCapture(host_);
    EXPECT_FALSE(view_->Model().Dragging());
    ReleaseCapture();
    // Moves below the view neither scroll nor change the selection now.
    Mouse(WM_MOUSEMOVE, 1, rc.bottom + 10);
    Sleep(50);
    Pump();
    EXPECT_EQ(view_->TopLine(), 0);
    EXPECT_EQ(view_->SelectedText(), selected);
    // A button-up still sets the end it was given before the capture goes.
    Mouse(WM_LBUTTONDOWN, 1, 1, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 1, 2 * LineHeight() + 1);
    EXPECT_EQ(view_->SelectedText(), "line 0\r\nline 1\r\n");
    EXPECT_NE(GetCapture(), view_->Handle());
}

TEST_F(BigViewTest, WheelPartsAddUpAndFollowTheSystemsLinesPerNotch) {
    view_->SetText(Numbered(200));
    UINT perNotch = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    ASSERT_GT(perNotch, 0u);
    ASSERT_LT(perNotch, 20u);
    const auto wheel = [&](int delta) {
        SendMessageA(view_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(10, 10));
    };
    // A precision touchpad sends a notch in quarters.
    for (int i = 0; i < 8; ++i) wheel(-WHEEL_DELTA / 4);
    EXPECT_EQ(view_->TopLine(), static_cast<int>(2 * perNotch));
    wheel(WHEEL_DELTA);
    EXPECT_EQ(view_->TopLine(), static_cast<int>(perNotch));
}

TEST_F(BigViewTest, DoubleClickOnATrailByteSelectsItsCharacter) {
    view_->SetText("表示 word_1 x\r\n");
    // Where 表 ends, through the caret placed after it.
    view_->SetCaretPos(TextPos{3, 0});
    const int hyoEnd = view_->Model().CaretX();
    ASSERT_GT(hyoEnd, 0);
    // Its right half is its trail byte, 0x5C.
    Mouse(WM_LBUTTONDBLCLK, hyoEnd - 1, 2);
    ASSERT_TRUE(view_->HasSelection());
    EXPECT_EQ(*view_->SelectedText(), "表");
    view_->SetCaretPos(TextPos{7, 0});
    Mouse(WM_LBUTTONDBLCLK, view_->Model().CaretX() + 1, 2);
    EXPECT_EQ(*view_->SelectedText(), "word_1");
}

TEST_F(BigViewTest, BandScrollingDrawsWhatAFullRedrawDraws) {
    const std::string text = Numbered(5) + "tab\there\r\nselected part\r\n" + Numbered(60);
    view_->SetText(text);
    view_->SetSelection(TextPos{3, 5}, TextPos{5, 6});
    TBigView other;
    other.SetScrollBar(sbVertical);
    ASSERT_TRUE(other.Create(host_, 0, 0, 600, 400));
    other.SetText(text);
    other.SetSelection(TextPos{3, 5}, TextPos{5, 6});
    // Down and back up a line at a time: the selected lines leave the view
    // and come back as bands; the other view draws everything at once.
    const auto same = [&](int top) {
        other.SetTopLine(top);
        other.SetColors(RGB(0, 0, 0), RGB(255, 255, 255));  // a full redraw
        return view_->TopLine() == top && view_->BackBufferPixels() == other.BackBufferPixels();
    };
    for (int i = 0; i < 12; ++i) Key(VK_DOWN);
    EXPECT_TRUE(same(12));
    for (int i = 0; i < 9; ++i) Key(VK_UP);
    EXPECT_TRUE(same(3));
    const std::vector<std::uint32_t> a = view_->BackBufferPixels();
    ASSERT_FALSE(a.empty());
    // The text and the inverted selection show: both colours are there.
    std::size_t ink = 0, paper = 0;
    for (std::uint32_t p : a) {
        ink += (p & 0xFFFFFF) == 0;
        paper += (p & 0xFFFFFF) == 0xFFFFFF;
    }
    EXPECT_GT(ink, 100u);
    EXPECT_GT(paper, 100u);
}

TEST_F(BigViewTest, PCanLimitDefersPaintsThenPaints) {
    view_->SetText(Numbered(100));
    UpdateWindow(view_->Handle());
    view_->SetPCanLimit(2);
    RECT r{};
    Key(VK_DOWN);
    EXPECT_TRUE(GetUpdateRect(view_->Handle(), &r, FALSE));
    Key(VK_DOWN);
    EXPECT_TRUE(GetUpdateRect(view_->Handle(), &r, FALSE));
    Key(VK_DOWN);  // the third change is painted at once
    EXPECT_FALSE(GetUpdateRect(view_->Handle(), &r, FALSE));
    view_->SetPCanLimit(0);
    Key(VK_DOWN);
    EXPECT_FALSE(GetUpdateRect(view_->Handle(), &r, FALSE));
}

TEST_F(BigViewTest, WidthGrowthAndTurnRight) {
    // A window wider than MaxChar characters widens it to the width + 1.
    view_->SetMaxChar(10);
    RECT rc{};
    GetClientRect(view_->Handle(), &rc);
    const int chars = view_->Model().VisibleChars();
    EXPECT_EQ(view_->MaxChar(), chars + 1);
    view_->Add(std::string(static_cast<std::size_t>(chars) * 3, 'w'));
    EXPECT_EQ(view_->MaxChar(), chars * 3);
    // TurnRight wraps at the client width.
    view_->SetText(std::string(500, 'x') + "\r\n");
    EXPECT_EQ(view_->Count(), 7);  // 80 a line
    view_->SetTurnRight(true);
    EXPECT_EQ(view_->Lines().WrapWidth(), rc.right / view_->Model().CharWidth());
    MoveWindow(view_->Handle(), 0, 0, 300, 400, TRUE);
    GetClientRect(view_->Handle(), &rc);
    EXPECT_EQ(view_->Lines().WrapWidth(), rc.right / view_->Model().CharWidth());
    EXPECT_EQ(view_->GetText(), std::string(500, 'x') + "\r\n");
}

TEST_F(BigViewTest, OwnerKeysPopupMenuAndFrameStyle) {
    view_->SetText(Numbered(50));
    // The owner's key map sees the key first and may take it.
    std::vector<UINT> seen;
    view_->onKeyDown = [&](UINT vk) {
        seen.push_back(vk);
        return vk == VK_DOWN;
    };
    Key(VK_DOWN);
    EXPECT_EQ(view_->TopLine(), 0);
    Key(VK_SHIFT);
    Key(VK_NEXT);
    EXPECT_EQ(seen, (std::vector<UINT>{VK_DOWN, VK_NEXT}));
    EXPECT_GT(view_->TopLine(), 0);
    // A right click offers the pop-up menu; the choice goes to the parent.
    MenuHandle menu(CreatePopupMenu());
    AppendMenuA(menu.Get(), MF_STRING, 42, "copy");
    view_->SetPopupMenu(menu.Get());
    prompter_.AnswerPopupMenu(42);
    SendMessageA(view_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view_->Handle()), MAKELPARAM(10, 10));
    EXPECT_EQ(prompter_.PopupMenusShown(), 1);
    EXPECT_EQ(HostCommands(), (std::vector<WPARAM>{42}));
    // The frame: the before-change event may alter the new value.
    EXPECT_TRUE(GetWindowLongPtrA(view_->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    int after = 0;
    view_->onBvStyleChanging = [](unsigned& style) { style |= TBigView::bvBorder; };
    view_->onBvStyleChanged = [&] { ++after; };
    view_->SetBvStyle(0);
    EXPECT_EQ(view_->BvStyle(), unsigned{TBigView::bvBorder});
    EXPECT_EQ(after, 1);
    EXPECT_FALSE(GetWindowLongPtrA(view_->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(view_->Handle(), GWL_STYLE) & WS_BORDER);
}

// Records the window menu being asked for, instead of opening it.
std::vector<LPARAM>& KeyMenus() {
    static std::vector<LPARAM> menus;
    return menus;
}
WNDPROC& ViewProc() {
    static WNDPROC proc = nullptr;
    return proc;
}
LRESULT CALLBACK KeyMenuSpy(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU) {
        KeyMenus().push_back(lp);
        return 0;
    }
    return CallWindowProcA(ViewProc(), wnd, msg, wp, lp);
}

TEST_F(BigViewTest, AnAltKeyAfterATakenF10ReachesTheMenu) {
    view_->SetText(Numbered(5));
    view_->onKeyDown = [](UINT vk) { return vk == VK_F10 || vk == 'X'; };
    KeyMenus().clear();
    ViewProc() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(view_->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyMenuSpy)));
    constexpr LPARAM kAlt = 1 << 29;
    // F10 is taken by the owner and makes no character.
    SendMessageA(view_->Handle(), WM_SYSKEYDOWN, VK_F10, 0);
    SendMessageA(view_->Handle(), WM_SYSKEYUP, VK_F10, 0);
    // Alt+F then opens the menu as usual.
    SendMessageA(view_->Handle(), WM_SYSKEYDOWN, VK_MENU, kAlt);
    SendMessageA(view_->Handle(), WM_SYSKEYDOWN, 'F', kAlt);
    SendMessageA(view_->Handle(), WM_SYSCHAR, 'f', kAlt);
    EXPECT_EQ(KeyMenus(), std::vector<LPARAM>{'f'});
    // A taken Alt key's own character still does not beep or open it.
    SendMessageA(view_->Handle(), WM_SYSKEYDOWN, 'X', kAlt);
    SendMessageA(view_->Handle(), WM_SYSCHAR, 'x', kAlt);
    EXPECT_EQ(KeyMenus(), std::vector<LPARAM>{'f'});
    SetWindowLongPtrA(view_->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProc()));
}

TEST_F(BigViewTest, LoadsAFileOthersHaveOpenWithNulBytes) {
    test::TempDir dir;
    const std::string path = dir.File("テキスト.txt");
    test::WriteFile(path, std::string("one\r\ntwo\0three\r\n", 16));
    FileHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    ASSERT_TRUE(view_->LoadFromFile(path));
    ASSERT_EQ(view_->Count(), 2);
    EXPECT_EQ(view_->Get(1), std::string("two\0three", 9));
    writer.Reset();
    view_->Set(0, "ONE");
    ASSERT_TRUE(view_->SaveToFile(dir.File("out.txt")));
    EXPECT_EQ(test::ReadFile(dir.File("out.txt")), std::string("ONE\r\ntwo\0three\r\n", 16));
    EXPECT_FALSE(view_->LoadFromFile(dir.File("missing.txt")));
    EXPECT_EQ(view_->Count(), 2);  // unchanged
    DWORD error = 0;
    EXPECT_FALSE(ReadTextFile(dir.File("missing.txt"), &error).has_value());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace kestrum
