// The colour slots of the list picker, the line-input window and the
// filer's command line: each window answers its children's colour questions
// and paints its background from them.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "common/prompter.h"
#include "config/colors_win.h"
#include "config/session.h"
#include "filer/frm_fm_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

class WindowColorsTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheColors().Reset();
        dc_ = CreateCompatibleDC(nullptr);
        HDC screen = GetDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(screen, 4, 4);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        TheColors().Reset();
        TheSession() = Session();
    }
    // The colour message for child sent to its window: the brush's colour,
    // the text and background colours left in the DC.
    struct Answer {
        std::optional<COLORREF> brush;
        COLORREF text = 0;
        COLORREF back = 0;
    };
    Answer Ask(HWND wnd, UINT msg, HWND child) {
        SetTextColor(dc_, 0xABCDEF);
        SetBkColor(dc_, 0xABCDEF);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(wnd, msg, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(child)));
        Answer a;
        LOGBRUSH lb{};
        if (brush && GetObjectA(brush, sizeof lb, &lb)) a.brush = lb.lbColor;
        a.text = GetTextColor(dc_);
        a.back = GetBkColor(dc_);
        return a;
    }
    COLORREF Background(HWND wnd) {
        EXPECT_TRUE(SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0));
        return GetPixel(dc_, 1, 1);
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(WindowColorsTest, ListPickerTakesTheListAndFormSlots) {
    TfrmHistory picker;
    ASSERT_TRUE(picker.Create(nullptr, ProfileReader()));
    SetColor(kColPickerText, 0x000019);
    SetColor(kColPickerBack, 0x000020);
    SetColor(kColShellForm, 0x000022);
    const Answer a = Ask(picker.Handle(), WM_CTLCOLORLISTBOX, picker.HistoryList());
    EXPECT_EQ(a.brush, 0x000020u);
    EXPECT_EQ(a.back, 0x000020u);
    EXPECT_EQ(a.text, 0x000019u);
    EXPECT_EQ(Background(picker.Handle()), 0x000022u);
}

TEST_F(WindowColorsTest, LineInputTakesTheShellsSlots) {
    TfrmEdit lineInput;
    ASSERT_TRUE(lineInput.Create(nullptr, ProfileReader()));
    SetColor(kColShellForm, 0x000022);
    SetColor(kColShellEditBack, 0x000025);
    SetColor(kColShellEditText, 0x000026);
    SetColor(kColShellLabelBack, 0x000027);
    SetColor(kColShellLabelText, 0x000028);
    Answer a = Ask(lineInput.Handle(), WM_CTLCOLOREDIT, lineInput.Edit1());
    EXPECT_EQ(a.brush, 0x000025u);
    EXPECT_EQ(a.text, 0x000026u);
    a = Ask(lineInput.Handle(), WM_CTLCOLORSTATIC, lineInput.Label1());
    EXPECT_EQ(a.brush, 0x000027u);
    EXPECT_EQ(a.text, 0x000028u);
    EXPECT_EQ(Background(lineInput.Handle()), 0x000022u);
}

TEST_F(WindowColorsTest, FilerCommandLineTakesSlots29And30) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    TheSession().settingsPath = dir_.File("k.cfg");
    test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.Path() + "\r\n[END]\r\n");
    auto filer = std::make_unique<TfrmFM>();
    ASSERT_TRUE(filer->Create(nullptr));
    SetColor(kColFilerCmdBack, 0x000029);
    SetColor(kColFilerCmdText, 0x000030);
    const Answer a = Ask(filer->Handle(), WM_CTLCOLOREDIT, filer->CommandLine());
    EXPECT_EQ(a.brush, 0x000029u);
    EXPECT_EQ(a.back, 0x000029u);
    EXPECT_EQ(a.text, 0x000030u);
    filer.reset();
    SetCurrentDirectoryA(cwd);
}

}  // namespace
}  // namespace kestrum
