// The dialog base under the null display driver: where a dialog is centred,
// radio groups, the modal loop's rule for the other windows and its ends,
// and subclass procedures that own their registration and let no exception
// through.
#include "common/dialog_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "common/subclass_win.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

// A dialog of the base with its protected parts open to the tests.
class TestDialog : public Dialog {
public:
    bool Create(HWND owner = nullptr) {
        RegisterWindowClass("KestrumTestDialog");
        return CreateWin("KestrumTestDialog", 0, WS_POPUP | WS_CAPTION, "test", 0, 0, 120, 60, owner);
    }
    using Dialog::AddRadioGroup;
    using Dialog::BeginModal;
    using Dialog::EndModal;
    using Dialog::RunModal;
};

// A plain top-level window at a place, shown or not.
HWND MakeWindow(int x, int y, int w, int h, bool shown) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | (shown ? WS_VISIBLE : 0), x, y, w, h, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

POINT TopLeft(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return POINT{r.left, r.top};
}

class CentreWindowTest : public testing::Test {
protected:
    void TearDown() override {
        for (HWND w : made_) DestroyWindow(w);
    }
    HWND Make(int x, int y, int w, int h, bool shown) {
        made_.push_back(MakeWindow(x, y, w, h, shown));
        return made_.back();
    }
    const int screenW_ = GetSystemMetrics(SM_CXSCREEN);
    const int screenH_ = GetSystemMetrics(SM_CYSCREEN);
    std::vector<HWND> made_;
};

TEST_F(CentreWindowTest, OverAShownWindowElseTheScreenOrItsWorkArea) {
    HWND over = Make(100, 80, 400, 300, true);
    HWND dlg = Make(0, 0, 100, 50, false);
    CentreWindow(dlg, over);
    EXPECT_EQ(TopLeft(dlg).x, 250);
    EXPECT_EQ(TopLeft(dlg).y, 205);

    // A hidden window is no place to centre over.
    ShowWindow(over, SW_HIDE);
    CentreWindow(dlg, over);
    EXPECT_EQ(TopLeft(dlg).x, (screenW_ - 100) / 2);
    EXPECT_EQ(TopLeft(dlg).y, (screenH_ - 50) / 2);

    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    CentreWindow(dlg, nullptr, CentreFallback::WorkArea);
    EXPECT_EQ(TopLeft(dlg).x, area.left + (area.right - area.left - 100) / 2);
    EXPECT_EQ(TopLeft(dlg).y, area.top + (area.bottom - area.top - 50) / 2);
}

TEST_F(CentreWindowTest, KeptOnTheScreenOnlyWhenAsked) {
    HWND dlg = Make(0, 0, 100, 50, false);
    HWND offLeft = Make(-300, -200, 200, 100, true);
    CentreWindow(dlg, offLeft);
    EXPECT_EQ(TopLeft(dlg).x, -250);
    EXPECT_EQ(TopLeft(dlg).y, -175);
    CentreWindow(dlg, offLeft, CentreFallback::Screen, true);
    EXPECT_EQ(TopLeft(dlg).x, 0);
    EXPECT_EQ(TopLeft(dlg).y, 0);

    HWND offRight = Make(screenW_ - 40, screenH_ - 20, 200, 100, true);
    CentreWindow(dlg, offRight, CentreFallback::Screen, true);
    EXPECT_EQ(TopLeft(dlg).x, screenW_ - 100);
    EXPECT_EQ(TopLeft(dlg).y, screenH_ - 50);
}

TEST(RadioGroupTest, TheFirstStartsTheGroupAndIsChecked) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create());
    std::array<HWND, 3> radios{};
    const char* const captions[] = {"一", "二", "三"};
    dlg.AddRadioGroup(radios, captions, 300, 10, 20, 80, 18, 24);
    for (std::size_t i = 0; i < radios.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(radios[i], nullptr);
        const LONG style = GetWindowLongA(radios[i], GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
        EXPECT_EQ((style & (WS_GROUP | WS_TABSTOP)) != 0, i == 0);
        EXPECT_EQ(IsChecked(radios[i]), i == 0);
        EXPECT_EQ(GetDlgCtrlID(radios[i]), 300 + static_cast<int>(i));
        EXPECT_EQ(GetText(radios[i]), captions[i]);
        RECT r{};
        GetWindowRect(radios[i], &r);
        MapWindowPoints(nullptr, dlg.Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.top, 20 + 24 * static_cast<int>(i));
    }
}

// What a timer of the thread does inside the modal loop.
std::function<void()> g_onTick;
void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_onTick) g_onTick();
}
void WhileModal(UINT ms, std::function<void()> f) {
    g_onTick = std::move(f);
    SetTimer(nullptr, 0, ms, &Tick);
}

class ModalLoopTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg_.Create()); }
    void TearDown() override {
        g_onTick = nullptr;
        for (HWND w : made_) DestroyWindow(w);
    }
    HWND Make(bool shown) {
        made_.push_back(MakeWindow(0, 0, 50, 50, shown));
        return made_.back();
    }
    TestDialog dlg_;
    std::vector<HWND> made_;
};

TEST_F(ModalLoopTest, OtherWindowsAreDisabledWhileItRunsAndEnabledAfter) {
    HWND other = Make(true);
    HWND alreadyDisabled = Make(true);
    EnableWindow(alreadyDisabled, FALSE);
    HWND hidden = Make(false);
    bool otherWhile = true, hiddenWhile = false, dialogWhile = false, shownWhile = false;
    WhileModal(10, [&] {
        otherWhile = IsWindowEnabled(other) != 0;
        hiddenWhile = IsWindowEnabled(hidden) != 0;
        dialogWhile = IsWindowEnabled(dlg_.Handle()) != 0;
        shownWhile = IsWindowVisible(dlg_.Handle()) != 0;
        dlg_.EndModal(mrOk);
    });
    dlg_.BeginModal();
    EXPECT_TRUE(dlg_.RunModal(other));
    EXPECT_FALSE(otherWhile);
    EXPECT_TRUE(hiddenWhile);
    EXPECT_TRUE(dialogWhile);
    EXPECT_TRUE(shownWhile);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_FALSE(IsWindowEnabled(alreadyDisabled));  // given back only what it took
    EXPECT_FALSE(IsWindowVisible(dlg_.Handle()));
    EXPECT_TRUE(dlg_.Finished());
    EXPECT_EQ(dlg_.ModalResult(), mrOk);
}

TEST_F(ModalLoopTest, EndsWhenTheDialogIsDestroyedUnanswered) {
    HWND other = Make(true);
    bool fallbackNeeded = false;
    WhileModal(10, [&] {
        DestroyWindow(dlg_.Handle());
        // Should the loop wait on, this ends it a while later.
        WhileModal(2000, [&] {
            fallbackNeeded = true;
            dlg_.EndModal(mrCancel);
        });
    });
    dlg_.BeginModal();
    EXPECT_TRUE(dlg_.RunModal(nullptr));
    EXPECT_FALSE(fallbackNeeded);
    EXPECT_FALSE(dlg_.Finished());
    EXPECT_TRUE(IsWindowEnabled(other));
}

TEST_F(ModalLoopTest, AQuitEndsItAndIsLeftForTheMainLoop) {
    WhileModal(10, [] { PostQuitMessage(7); });
    dlg_.BeginModal();
    EXPECT_FALSE(dlg_.RunModal(nullptr));
    EXPECT_FALSE(dlg_.Finished());
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

class SubclassTest : public testing::Test {
protected:
    void SetUp() override {
        edit_ = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(edit_)) DestroyWindow(edit_);
    }
    void Type(char c) { SendMessageA(edit_, WM_CHAR, static_cast<unsigned char>(c), 0); }
    // A procedure that swallows 'x' and counts what it sees.
    Subclass::Proc Swallowing(int& seen) {
        return [&seen](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg == WM_CHAR) {
                ++seen;
                if (wp == 'x') return 0;
            }
            return Subclass::CallNext(wnd, msg, wp, lp);
        };
    }
    HWND edit_ = nullptr;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(SubclassTest, InFrontOfTheControlForAsLongAsItLives) {
    int seen = 0;
    {
        Subclass subclass(edit_, Swallowing(seen));
        EXPECT_EQ(subclass.Control(), edit_);
        Type('a');
        Type('x');
        EXPECT_EQ(GetText(edit_), "a");
        EXPECT_EQ(seen, 2);
    }
    Type('x');  // gone with its object
    EXPECT_EQ(GetText(edit_), "ax");
    EXPECT_EQ(seen, 2);

    // Attached again elsewhere, it leaves the first control.
    HWND second = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    Subclass moving(edit_, Swallowing(seen));
    ASSERT_TRUE(moving.Attach(second, Swallowing(seen)));
    Type('x');
    SendMessageA(second, WM_CHAR, 'x', 0);
    EXPECT_EQ(GetText(edit_), "axx");
    EXPECT_EQ(GetText(second), "");

    // The control may go first: the object then holds nothing.
    DestroyWindow(second);
    EXPECT_EQ(moving.Control(), nullptr);
}

TEST_F(SubclassTest, NoExceptionGetsThroughAndEachIsShown) {
    Subclass subclass(edit_, [](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_USER + 1) throw std::runtime_error("壊れた設定");
        if (msg == WM_USER + 2) throw 42;  // no std::exception
        return Subclass::CallNext(wnd, msg, wp, lp);
    });
    EXPECT_EQ(SendMessageA(edit_, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(SendMessageA(edit_, WM_USER + 2, 0, 0), 0);
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[0].text, "壊れた設定");
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
    EXPECT_EQ(prompter_.Questions()[1].text, "予期しないエラーが発生しました。");
    Type('a');  // still in place and working
    EXPECT_EQ(GetText(edit_), "a");
}

TEST_F(SubclassTest, AProcedureMayEndItsOwnSubclass) {
    auto subclass = std::make_unique<Subclass>();
    int seen = 0;
    subclass->Attach(edit_, [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_CHAR) ++seen;
        if (msg == WM_CHAR && wp == 'q') subclass.reset();
        return Subclass::CallNext(wnd, msg, wp, lp);
    });
    Type('q');
    EXPECT_EQ(subclass, nullptr);
    Type('b');
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(GetText(edit_), "qb");
}

}  // namespace
}  // namespace kestrum
