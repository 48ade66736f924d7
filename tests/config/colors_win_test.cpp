// Colours in the running program: platform colours of slot values, the
// colour file through the prompter, the shell window's colours and the
// colour dialog driven with messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "common/prompter.h"
#include "config/colors_dialog_win.h"
#include "config/colors_win.h"
#include "config/services.h"
#include "config/session.h"
#include "shell/frm_main_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

const char kInvalidMessage[] = "指定された色設定ファイルが無効です。\r\nディフォルトの色で表示します";

class ColorsWinTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheSession().programDir = dir_.Path() + "\\";
        TheColors().Reset();
    }
    void TearDown() override {
        listeners_.clear();
        TheColors().Reset();
        TheSession() = Session();
    }
    std::string ColPath() const { return dir_.File("Kestrum.Col"); }
    void Listen(std::vector<int>& seen) {
        listeners_.push_back(AddColorListener([&seen](int slot) { seen.push_back(slot); }));
    }

    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    std::vector<Subscription> listeners_;
};

TEST_F(ColorsWinTest, ResolveSystemAndRgbValues) {
    EXPECT_EQ(ResolveColor(-2147483633), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveColor(-2147483640), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ResolveColor(0x00123456), 0x00123456u);
    EXPECT_EQ(ResolveColor(0x02123456), 0x00123456u);  // a palette flag is dropped
    EXPECT_EQ(ResolveColor(0), 0u);
}

TEST_F(ColorsWinTest, SlotBrushFollowsTheSlot) {
    SetColor(kColShellForm, 0x0000FF);
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(SlotBrush(kColShellForm), sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, 0x0000FFu);
    SetColor(kColShellForm, 0x00FF00);
    ASSERT_TRUE(GetObjectA(SlotBrush(kColShellForm), sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, 0x00FF00u);
}

TEST_F(ColorsWinTest, AnswerSlotColorsAnswersItsControlsAndTheBackgroundOnly) {
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, wnd, nullptr, nullptr, nullptr);
    HWND swatch = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, wnd, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, wnd, nullptr, nullptr, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(GetDC(nullptr), 4, 4);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetColor(kColShellForm, 0x00112233);
    SetColor(kColShellEditText, 0x00445566);
    SetColor(kColShellEditBack, 0x00778899);
    SetColor(kColPickerBack, 0x00AABBCC);
    const std::vector<ControlColors> controls{{edit, kColShellEditText, kColShellEditBack},
                                              {swatch, kNoSlot, kColPickerBack}};
    const auto ask = [&](UINT msg, HWND child, int formSlot) {
        return AnswerSlotColors(wnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child), formSlot,
                                controls);
    };

    SetTextColor(dc, 0x00010101);
    SetBkColor(dc, 0x00020202);
    EXPECT_EQ(ask(WM_CTLCOLOREDIT, edit, kColShellForm), reinterpret_cast<LRESULT>(SlotBrush(kColShellEditBack)));
    EXPECT_EQ(GetTextColor(dc), 0x00445566u);
    EXPECT_EQ(GetBkColor(dc), 0x00778899u);
    // A read-only edit asks as a static does: the same slots.
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC, edit, kColShellForm), reinterpret_cast<LRESULT>(SlotBrush(kColShellEditBack)));

    // Background only: the dc's colours stay.
    SetTextColor(dc, 0x00010101);
    SetBkColor(dc, 0x00020202);
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC, swatch, kColShellForm), reinterpret_cast<LRESULT>(SlotBrush(kColPickerBack)));
    EXPECT_EQ(GetTextColor(dc), 0x00010101u);
    EXPECT_EQ(GetBkColor(dc), 0x00020202u);

    // Another control, another message: not answered, the dc untouched.
    EXPECT_FALSE(ask(WM_CTLCOLORSTATIC, other, kColShellForm));
    EXPECT_FALSE(ask(WM_PAINT, edit, kColShellForm));
    EXPECT_EQ(GetTextColor(dc), 0x00010101u);

    // The background: filled with the form's slot, or left to the window.
    EXPECT_EQ(ask(WM_ERASEBKGND, nullptr, kColShellForm), 1);
    EXPECT_EQ(GetPixel(dc, 2, 2), 0x00112233u);
    SetPixel(dc, 2, 2, 0x00000000);
    EXPECT_FALSE(ask(WM_ERASEBKGND, nullptr, kNoSlot));
    EXPECT_EQ(GetPixel(dc, 2, 2), 0u);
    EXPECT_FALSE(AnswerSlotColors(wnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit),
                                  kNoSlot));

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(wnd);
}

TEST_F(ColorsWinTest, MissingFileShowsTheMessageOnceAndKeepsColours) {
    SetColor(3, 77);
    std::vector<int> seen;
    Listen(seen);
    EXPECT_FALSE(LoadColorFile());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, kInvalidMessage);
    EXPECT_EQ(TheColors().Get(3), 77);
    EXPECT_EQ(seen, std::vector<int>{-1});
}

TEST_F(ColorsWinTest, FileNamedBySettingIsLoaded) {
    test::TempDir other;
    TheSession().settings.colorCustomFile = other.File("My.Col");
    test::WriteFile(other.File("My.Col"), std::string(kColorFileHeader) + "\r\n25,255\r\n26,65280\r\n");
    EXPECT_TRUE(LoadColorFile());
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(TheColors().Get(25), 255);
    EXPECT_EQ(TheColors().Get(26), 65280);

    TheSession().settings.colorCustomFile = "Kestrum.Col";
    EXPECT_EQ(CurrentColorFilePath(), ColPath());
}

TEST_F(ColorsWinTest, CloseLeavesAnInvalidFileAloneUntilAColourChanges) {
    const std::string invalid = "\xEF\xBB\xBF" + std::string(kColorFileHeader) + "\r\n0,255\r\n";
    test::WriteFile(ColPath(), invalid);
    EXPECT_FALSE(LoadColorFile());
    EXPECT_TRUE(SaveColorFileAtClose());
    EXPECT_EQ(test::ReadFile(ColPath()), invalid);

    SetColor(0, 255);
    EXPECT_TRUE(SaveColorFileAtClose());
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(ColPath()));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[1], "0,255");
}

TEST_F(ColorsWinTest, CloseWritesAllSlotsAfterAGoodLoad) {
    test::WriteFile(ColPath(), std::string(kColorFileHeader) + "\r\n22,4210752\r\n");
    EXPECT_TRUE(LoadColorFile());
    EXPECT_TRUE(SaveColorFileAtClose());
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(ColPath()));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[23], "22,4210752");
}

TEST_F(ColorsWinTest, UnwritableFileIsReported) {
    TheSession().settings.colorCustomFile = dir_.File("no such folder\\Kestrum.Col");
    EXPECT_FALSE(SaveColorFile());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
}

// The shell window answers its children's colour questions from slots 22-28.
class ShellColorsTest : public ColorsWinTest {
protected:
    void SetUp() override {
        ColorsWinTest::SetUp();
        TheSession().settingsPath = dir_.File("Kestrum.Cfg");
        test::WriteFile(TheSession().settingsPath, "[END]\r\n");
        form_ = std::make_unique<TfrmMain>();
        ASSERT_TRUE(form_->Create(nullptr));
        TheSession().programDir = dir_.Path() + "\\";  // creation set it to the test program's folder
        services_ = InstallService<ShellWindowService>(*form_);
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(GetDC(nullptr), 4, 4);
        old_ = SelectObject(dc_, bitmap_);
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        services_.Reset();
        form_.reset();
        ColorsWinTest::TearDown();
    }
    // Sends the colour message for child; the brush's colour, or nullopt.
    std::optional<COLORREF> Ask(UINT msg, HWND child) {
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(form_->Handle(), msg, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(child)));
        LOGBRUSH lb{};
        if (!brush || !GetObjectA(brush, sizeof lb, &lb)) return std::nullopt;
        return lb.lbColor;
    }
    std::unique_ptr<TfrmMain> form_;
    Subscription services_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(ShellColorsTest, ChildrenTakeTheirSlots) {
    const ColorValue values[] = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606, 0x070707};
    for (int i = 0; i < 7; ++i) SetColor(kColShellForm + i, values[i]);

    struct Case {
        UINT msg;
        HWND child;
        COLORREF back, text;
    } cases[] = {
        {WM_CTLCOLORSTATIC, form_->DirName(), 0x020202, 0x030303},
        {WM_CTLCOLOREDIT, form_->Edit1(), 0x040404, 0x050505},
        {WM_CTLCOLORSTATIC, form_->Label1(), 0x060606, 0x070707},
    };
    for (const Case& c : cases) {
        SetTextColor(dc_, 0xABCDEF);
        SetBkColor(dc_, 0xABCDEF);
        EXPECT_EQ(Ask(c.msg, c.child), c.back);
        EXPECT_EQ(GetBkColor(dc_), c.back);
        EXPECT_EQ(GetTextColor(dc_), c.text);
    }
}

TEST_F(ShellColorsTest, SystemColourSlotsResolve) {
    SetColor(kColShellEditBack, -2147483643);  // the window colour
    EXPECT_EQ(Ask(WM_CTLCOLOREDIT, form_->Edit1()), GetSysColor(COLOR_WINDOW));
}

TEST_F(ShellColorsTest, FormBackgroundIsSlot22) {
    SetColor(kColShellForm, 0x00336699);
    ASSERT_TRUE(SendMessageA(form_->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0));
    EXPECT_EQ(GetPixel(dc_, 1, 1), 0x00336699u);
}

TEST_F(ShellColorsTest, LoadingRepaintsFromTheNewColours) {
    test::WriteFile(ColPath(), std::string(kColorFileHeader) + "\r\n27,255\r\n28,16711680\r\n");
    ASSERT_TRUE(LoadColorFile());
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, form_->Label1()), 255u);
    EXPECT_EQ(GetTextColor(dc_), 16711680u);
}

// The colour dialog with a scripted picker.
class ColcTest : public ColorsWinTest {
protected:
    void SetUp() override {
        ColorsWinTest::SetUp();
        ASSERT_TRUE(form_.Create(nullptr));
        form_.SetPicker([this](HWND, ColorValue current) {
            offered_.push_back(current);
            return answer_;
        });
        form_.Begin();
    }
    void Click(int slot) {
        HWND b = form_.SlotButton(slot);
        ASSERT_NE(b, nullptr) << slot;
        SendMessageA(form_.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED),
                     reinterpret_cast<LPARAM>(b));
    }
    TfrmColc form_;
    std::optional<ColorValue> answer_;
    std::vector<ColorValue> offered_;
};

TEST_F(ColcTest, ButtonsCoverTheFilerSlotsWithTheirLabels) {
    std::vector<int> expected;
    for (int i = 0; i <= 17; ++i) expected.push_back(i);
    expected.push_back(29);
    expected.push_back(30);
    std::vector<int> slots = TfrmColc::Slots();
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(slots, expected);
    for (int slot : {18, 22, 28}) EXPECT_EQ(form_.SlotButton(slot), nullptr);

    EXPECT_EQ(GetText(form_.Handle()), "Kestrum 色の変更");
    EXPECT_EQ(GetText(form_.OkButton()), "ＯＫ");
    struct Label {
        int slot;
        const char* group;
        const char* button;
    } labels[] = {
        {0, "", "フォームの色"},
        {1, "ファイル情報表示部", "背景"},
        {2, "ファイル情報表示部", "普通のファイル"},
        {3, "ファイル情報表示部", "リードオンリーファイル"},
        {4, "ファイル情報表示部", "隠しファイル"},
        {5, "ファイル情報表示部", "システムファイル"},
        {6, "ファイル情報表示部", "ディレクトリ"},
        {7, "ドライブ情報", "背景"},
        {8, "ドライブ情報", "文字"},
        {9, "ファンクション表示部", "背景"},
        {10, "ファンクション表示部", "文字"},
        {11, "カレントディレクトリ表示部", "背景"},
        {12, "カレントディレクトリ表示部", "文字"},
        {13, "マークファイル合計サイズ表示部", "背景"},
        {14, "マークファイル合計サイズ表示部", "文字"},
        {15, "カーソル位置のファイル情報表示部", "背景"},
        {16, "カーソル位置のファイル情報表示部", "文字"},
        {17, "", "仕切り"},
        {29, "シェル部", "背景"},
        {30, "シェル部", "文字"},
    };
    for (const Label& l : labels) {
        EXPECT_EQ(form_.GroupCaption(l.slot), l.group) << l.slot;
        EXPECT_EQ(form_.ButtonCaption(l.slot), l.button) << l.slot;
    }
}

TEST_F(ColcTest, ChosenColourAppliesAtOnce) {
    std::vector<int> seen;
    Listen(seen);
    SetColor(4, 255);
    seen.clear();
    answer_ = 0x00112233;
    Click(4);
    ASSERT_EQ(offered_.size(), 1u);
    EXPECT_EQ(offered_[0], 255);  // the picker starts from the colour in force
    EXPECT_EQ(TheColors().Get(4), 0x00112233);
    EXPECT_EQ(seen, std::vector<int>{4});
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(form_.Handle(), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(form_.Swatch(4))));
    DeleteDC(dc);
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, 0x00112233u);

    answer_.reset();  // cancelled
    Click(30);
    EXPECT_EQ(TheColors().Get(30), DefaultColors()[30]);
    EXPECT_EQ(seen, std::vector<int>{4});
    EXPECT_FALSE(form_.Finished());
}

TEST_F(ColcTest, OkWritesTheFileAndCloses) {
    answer_ = 65280;
    Click(29);
    SendMessageA(form_.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(form_.OkButton()));
    EXPECT_TRUE(form_.Finished());
    EXPECT_FALSE(IsWindowVisible(form_.Handle()));
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(ColPath()));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[30], "29,65280");
}

TEST_F(ColcTest, ClosingWithoutOkKeepsColoursButWritesNothing) {
    answer_ = 42;
    Click(0);
    SendMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form_.Finished());
    EXPECT_EQ(TheColors().Get(0), 42);
    EXPECT_EQ(GetFileAttributesA(ColPath().c_str()), INVALID_FILE_ATTRIBUTES);
    // The close of the shell writes it later.
    EXPECT_TRUE(SaveColorFileAtClose());
    EXPECT_EQ(test::CrLfLines(test::ReadFile(ColPath()))[1], "0,42");
}

}  // namespace
}  // namespace kestrum
