// The text viewer window: loading (a directory refused, the recent-file menu
// and its top lines), the keys of the view with the window's settings, the
// caret and copy through the menu command, searching, jump to line, the key
// map, the conversion to Shift-JIS with a cancel, and a text that is no file.
#include "viewers/text_viewer_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/prompter.h"
#include "config/cfg_form_win.h"
#include "config/key_custom_win.h"
#include "config/services.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "tests/fakes/scripted_config_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"
#include "tests/viewers/window_input_win.h"

namespace kestrum {
namespace {

using test::ClipboardText;
using test::HeldKeys;

std::string Numbered(int n, const char* word = "line") {
    std::string text;
    for (int i = 0; i < n; ++i) text += word + std::string(" ") + std::to_string(i) + "\r\n";
    return text;
}

std::string MenuText(HMENU menu, int pos) {
    char buf[512] = {};
    GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

class TextViewerTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        savedKeys_.Assign(ViewerKeyX().KeyXUserKey);
        ViewerKeyX().KeyXUserKey.Clear();
        form_ = std::make_unique<TwttForm>();
        ASSERT_TRUE(form_->Create(nullptr));
        form_->View().clock = [this] { return now_; };
        form_->Show();
    }
    void TearDown() override {
        cfgRunner_ = {};
        keyRunner_ = {};
        form_.reset();
        ViewerKeyX().KeyXUserKey.Assign(savedKeys_);
        TheSession() = Session();
    }
    void Key(WPARAM vk) {
        now_ += 1000;  // far apart: no acceleration
        SendMessageA(form_->View().Handle(), WM_KEYDOWN, vk, 0);
    }
    std::string Caption() const { return GetText(form_->Handle()); }
    std::string File(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, text);
        return path;
    }

    ScriptedPrompter prompter_;
    ScopedPrompter scope_{prompter_};
    ScriptedConfigQuestions configQuestions_;
    Subscription cfgRunner_;
    Subscription keyRunner_;
    test::TempDir dir_;
    TUserKey savedKeys_;
    std::unique_ptr<TwttForm> form_;
    unsigned now_ = 1000000;
};

TEST_F(TextViewerTest, DownPageDownAndCtrlEndMoveTheTopLineAndTheCaption) {
    const std::string path = File("n.txt", Numbered(300));
    ASSERT_TRUE(form_->LoadFile(path));
    TBigView& view = form_->View();
    EXPECT_EQ(view.Lines().WrapWidth(), 80);
    EXPECT_EQ(view.ScrollSense(), 2);
    EXPECT_EQ(Caption(), "0 " + path + " - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    const int visible = view.VisibleLines();
    ASSERT_GT(visible, 3);
    Key(VK_DOWN);
    EXPECT_EQ(view.TopLine(), 1);
    Key(VK_NEXT);
    EXPECT_EQ(view.TopLine(), visible);
    {
        HeldKeys ctrl{VK_CONTROL};
        Key(VK_END);
    }
    EXPECT_EQ(view.TopLine(), 300 - visible);
    EXPECT_EQ(Caption(), std::to_string(300 - visible) + " " + path + " - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    // Two Downs within 200 ms move by the window's scroll speed.
    form_->RunCommand(TwttForm::kCmdTop);
    Key(VK_DOWN);
    now_ += 50;
    SendMessageA(view.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(view.TopLine(), 3);
}

TEST_F(TextViewerTest, WithTheCaretShiftRightTwiceCopiesOneDoubleAndOneSingleByteCharacter) {
    const std::string path = File("k.txt", "漢a字\r\nnext\r\n");
    ASSERT_TRUE(form_->LoadFile(path));
    form_->RunAction(TwttForm::aShowCaret);
    EXPECT_TRUE(form_->View().Caret());
    {
        HeldKeys shift{VK_SHIFT};
        Key(VK_RIGHT);
        Key(VK_RIGHT);
    }
    EXPECT_EQ(Caption(), "0: 4 " + path + "- Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    form_->RunAction(TwttForm::aCopy);
    EXPECT_EQ(ClipboardText(), "\x8a\xbf" "a");
    form_->RunAction(TwttForm::aHideCaret);
    EXPECT_EQ(Caption(), "0 " + path + " - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
}

TEST_F(TextViewerTest, ADirectoryIsRefusedAndTheTextKept) {
    ASSERT_TRUE(form_->LoadFile(File("a.txt", "kept\r\n")));
    EXPECT_FALSE(form_->LoadFile(dir_.Path()));
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "ディレクトリは表示できません");
    EXPECT_EQ(form_->View().GetText(), "kept\r\n");
    EXPECT_EQ(form_->CurrentFile(), dir_.File("a.txt"));
}

TEST_F(TextViewerTest, TheRecentMenuRemembersTopLinesAndThePreviousFileComesBack) {
    const std::string a = File("a.txt", Numbered(200));
    const std::string b = File("b.txt", Numbered(200));
    ASSERT_TRUE(form_->LoadFile(a));
    form_->View().SetTopLine(42);
    ASSERT_TRUE(form_->LoadFile(b));
    EXPECT_EQ(form_->View().TopLine(), 0);
    EXPECT_EQ(form_->PreviousFile(), a);
    HMENU file = form_->FileMenu();
    const int n = GetMenuItemCount(file);
    EXPECT_EQ(MenuText(file, n - 2), "&1 " + b);
    EXPECT_EQ(MenuText(file, n - 1), "&2 " + a);
    // "previous file" goes back to a at the line it was left at.
    form_->RunAction(TwttForm::aPrevious);
    EXPECT_EQ(form_->CurrentFile(), a);
    EXPECT_EQ(form_->View().TopLine(), 42);
    EXPECT_EQ(MenuText(file, n - 2), "&1 " + a);
    EXPECT_EQ(form_->OpenHistory().front(), a);
    // Choosing the entry of b restores its top line too.
    form_->View().SetTopLine(7);
    SendMessageA(form_->Handle(), WM_COMMAND, TwttForm::kCmdRecent0 + 1, 0);
    EXPECT_EQ(form_->CurrentFile(), b);
    form_->RunAction(TwttForm::aPrevious);
    EXPECT_EQ(form_->View().TopLine(), 7);
}

TEST_F(TextViewerTest, SearchesMoveTheMatchToTheTopAndNextFollowsABackwardSearch) {
    std::string text = Numbered(100);
    text += "Needle here\r\n" + Numbered(100, "more");
    ASSERT_TRUE(form_->LoadFile(File("s.txt", text)));
    EXPECT_EQ(GetMenuState(form_->MenuBar(), TwttForm::kCmdAction0 + TwttForm::aSearchNext, MF_BYCOMMAND) & MF_GRAYED,
              static_cast<UINT>(MF_GRAYED));
    prompter_.AnswerLine("needle");
    form_->RunAction(TwttForm::aSearch);
    EXPECT_EQ(prompter_.LineQuestions().back().title, "Find");
    EXPECT_EQ(prompter_.LineQuestions().back().prompt, "検索文字列を入れて下さい");
    EXPECT_EQ(form_->View().TopLine(), 0);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "見つかりませんでした");
    form_->RunAction(TwttForm::aIgnoreCase);
    EXPECT_NE(GetMenuState(form_->MenuBar(), TwttForm::kCmdAction0 + TwttForm::aIgnoreCase, MF_BYCOMMAND) & MF_CHECKED,
              0u);
    form_->RunAction(TwttForm::aSearchNext);
    EXPECT_EQ(form_->View().TopLine(), 100);
    EXPECT_EQ(GetMenuState(form_->MenuBar(), TwttForm::kCmdAction0 + TwttForm::aSearchNext, MF_BYCOMMAND) & MF_GRAYED,
              0u);
    // Backwards from further down, then "next" goes on backwards.
    form_->View().SetTopLine(150);
    prompter_.AnswerLine("line 9");
    form_->RunAction(TwttForm::aSearch);
    EXPECT_EQ(prompter_.Questions().size(), 2u);  // not found below 150
    form_->RunAction(TwttForm::aSearchPrevious);
    EXPECT_EQ(form_->View().TopLine(), 99);
    form_->RunAction(TwttForm::aSearchNext);
    EXPECT_EQ(form_->View().TopLine(), 98);
}

TEST_F(TextViewerTest, JumpToLineAndTagJumpOpenAtTheLineNamed) {
    const std::string target = File("my file.txt", Numbered(100));
    ASSERT_TRUE(form_->LoadFile(File("tags.txt", "\"" + target + "\" 12: message\r\n")));
    form_->RunAction(TwttForm::aTagJump);
    EXPECT_EQ(form_->CurrentFile(), target);
    EXPECT_EQ(form_->View().TopLine(), 11);
    EXPECT_TRUE(form_->Visible());
    prompter_.AnswerLine("50");
    form_->RunAction(TwttForm::aJump);
    EXPECT_EQ(prompter_.LineQuestions().back().prompt, "行番号を入力して下さい。");
    EXPECT_EQ(form_->View().TopLine(), 49);
}

TEST_F(TextViewerTest, BoundKeysRunTheirCommandsAndShowInTheMenu) {
    KeyBinding& f10 = ViewerKeyX().KeyXUserKey.Add();
    f10 = KeyBinding{false, VK_F10, "F10", 0, TwttForm::aHideCaret};
    KeyBinding& ins = ViewerKeyX().KeyXUserKey.Add();
    ins = KeyBinding{false, VK_INSERT, "INS", 0, TwttForm::aShowCaret};
    ViewerKeyX().RefreshCaptions();
    char buf[128] = {};
    GetMenuStringA(form_->MenuBar(), TwttForm::kCmdAction0 + TwttForm::aShowCaret, buf, sizeof buf, MF_BYCOMMAND);
    EXPECT_EQ(std::string(buf), "表示する\tINS");
    ASSERT_TRUE(form_->LoadFile(File("a.txt", "text\r\n")));
    Key(VK_INSERT);
    EXPECT_TRUE(form_->View().Caret());
    // F10 comes as a system key.
    SendMessageA(form_->View().Handle(), WM_SYSKEYDOWN, VK_F10, 0);
    EXPECT_FALSE(form_->View().Caret());
    // Return closes only when tvCloseReturn is set; ESC always.
    Key(VK_RETURN);
    EXPECT_TRUE(form_->Visible());
    TheSession().settings.tvCloseReturn = true;
    Key(VK_RETURN);
    EXPECT_FALSE(form_->Visible());
    form_->Show();
    Key(VK_ESCAPE);
    EXPECT_FALSE(form_->Visible());
}

TEST_F(TextViewerTest, ACancelledConversionKeepsTheRestUnconverted) {
    // EUC-JP: 漢 is B4 C1.
    std::string text;
    for (int i = 0; i < 200; ++i) text += "\xB4\xC1\r\n";
    ASSERT_TRUE(form_->LoadFile(File("e.txt", text)));
    int steps = 0;
    form_->onConvertStep = [&](TprogForm& progress) {
        ++steps;
        EXPECT_EQ(GetText(progress.Handle()), "ＳＪＩＳに変換中");
        progress.Cancel();
    };
    form_->RunAction(TwttForm::aToSjis);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "処理を中断しました");
    const TBigView& view = form_->View();
    EXPECT_EQ(view.Get(0), "\x8a\xbf");
    EXPECT_EQ(view.Get(60), "\x8a\xbf");
    EXPECT_EQ(view.Get(61), "\xB4\xC1");
    EXPECT_EQ(view.Count(), 200);
}

TEST_F(TextViewerTest, AConversionRunThroughConvertsEveryLine) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "\x1b$B4A\x1b(B\r\n";  // 漢 in JIS
    ASSERT_TRUE(form_->LoadFile(File("j.txt", text)));
    form_->View().SetTopLine(20);
    form_->RunAction(TwttForm::aToSjis);
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(form_->View().Get(0), "\x8a\xbf");
    EXPECT_EQ(form_->View().Get(199), "\x8a\xbf");
    EXPECT_EQ(form_->View().TopLine(), 20);
}

TEST_F(TextViewerTest, ATextThatIsNoFileShowsUnderItsTitle) {
    form_->ShowText("DLHA l x.lzh", "name  size\r\n");
    EXPECT_TRUE(form_->Visible());
    EXPECT_EQ(form_->View().GetText(), "name  size\r\n");
    EXPECT_EQ(Caption(), "0 DLHA l x.lzh - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
}

TEST_F(TextViewerTest, SettingsReachTheViewAndTheDialogChangesItsFont) {
    const Settings before = TheSession().settings;
    TheSession().settings.tvspsc = 5;
    TheSession().settings.tabWidth = 4;
    ApplyDialogSettings(before);
    EXPECT_EQ(form_->View().ScrollSense(), 5);
    EXPECT_EQ(form_->View().ViewTabStop(), 4);
    int page = -1;
    cfgRunner_ = InstallCfgFormRunner([&](TcfgForm& dialog) {
        page = dialog.Page();
        HWND font = dialog.ActionButton(CfgAction::Font, kFontTextViewer);
        EXPECT_TRUE(IsWindowEnabled(font));
        configQuestions_.AnswerFont(FontSpec{"ＭＳ 明朝", 12, 0});
        SendMessageA(font, BM_CLICK, 0, 0);
        return static_cast<int>(mrCancel);
    });
    form_->RunAction(TwttForm::aSettings);
    EXPECT_EQ(page, kPageTextViewer);
    ASSERT_EQ(configQuestions_.FontsAsked().size(), 1u);
    EXPECT_EQ(configQuestions_.FontsAsked()[0].name, "ＭＳ ゴシック");
    EXPECT_EQ(form_->Font().name, "ＭＳ 明朝");
    EXPECT_EQ(form_->Font().size, 12);
    // The viewer's own key customisation edits the text viewer map.
    std::string caption;
    keyRunner_ = InstallKeyCustomRunner([&](TKCForm& dialog) {
        caption = GetText(dialog.Handle());
        return static_cast<int>(mrCancel);
    });
    form_->RunCommand(TwttForm::kCmdKeyCustom);
    EXPECT_EQ(caption, "Kestrum　キーカスタマイズ");
}

// Records the command lines run and the filer refreshes asked for.
class RecordingServices : public CommandService, public FilerService {
public:
    int Execute(const std::string& line) override {
        lines.push_back(line);
        return rrInternal;
    }
    void RefreshListing() override { ++refreshes; }
    std::vector<std::string> lines;
    int refreshes = 0;
};

TEST_F(TextViewerTest, SaveAsksBeforeOverwritingAndTheEditorTakesTheFile) {
    RecordingServices fake;
    const ScopedServices services(Services{.commands = &fake, .filer = &fake});
    const std::string a = File("a.txt", "one\r\ntwo");
    ASSERT_TRUE(form_->LoadFile(a));
    const std::string b = File("b.txt", "old");
    // Cancelled at the question: b stays.
    prompter_.AnswerLine(b);
    prompter_.Answer(mrCancel);
    form_->RunAction(TwttForm::aSave);
    EXPECT_EQ(prompter_.LineQuestions().back().title, "文章のセーブ");
    EXPECT_EQ(prompter_.LineQuestions().back().text, a);  // prefilled with the current file
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "同名のファイルが存在します。上書きしますか？");
    EXPECT_EQ(test::ReadFile(b), "old");
    prompter_.AnswerLine(b);
    prompter_.Answer(mrOk);
    form_->RunAction(TwttForm::aSave);
    EXPECT_EQ(test::ReadFile(b), "one\r\ntwo\r\n");
    EXPECT_EQ(form_->CurrentFile(), b);
    EXPECT_EQ(fake.refreshes, 1);
    // The editor gets the current file and the viewer goes.
    form_->RunAction(TwttForm::aEditor);
    EXPECT_EQ(fake.lines, std::vector<std::string>{"EDIT " + b});
    EXPECT_FALSE(form_->Visible());
    EXPECT_EQ(fake.refreshes, 2);
}

TEST_F(TextViewerTest, ABigFileIsWrappedInSlicesToTheEnd) {
    std::string text;
    const std::string line = std::string(100, 'x') + "漢字\r\n";  // wrapped into two display lines
    while (text.size() <= TwttForm::kSliceThreshold + line.size()) text += line;
    const std::size_t lines = text.size() / line.size();
    ASSERT_TRUE(form_->LoadFile(File("big.txt", text)));
    EXPECT_EQ(form_->View().Count(), static_cast<int>(2 * lines));
    EXPECT_EQ(form_->View().ParagraphCount(), lines);
    EXPECT_EQ(form_->View().Get(static_cast<int>(2 * lines - 1)), std::string(20, 'x') + "漢字");
    form_->RunCommand(TwttForm::kCmdEnd);
    EXPECT_EQ(form_->View().TopLine(), static_cast<int>(2 * lines) - form_->View().VisibleLines());
}

// The program folder of the build (build/bin) holds the shipped files.
std::string ProgramFolder() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir.resize(dir.find_last_of('\\'));      // tests
    dir.resize(dir.find_last_of('\\') + 1);  // the build folder
    return dir + "bin\\";
}

TEST(ShippedViewerKeysTest, BindTheKeysTheMenusName) {
    TKeyX keyx;
    SetUpViewerKeyX(keyx, 0);
    ASSERT_EQ(LoadKeyFile(keyx, ProgramFolder() + "Kestrum.TVK", kViewerKeyHeader, true), KeyFileResult::Loaded);
    const auto bound = [&](int key, unsigned char modifiers) {
        const int i = keyx.KeyXUserKey.Find(key, modifiers);
        return i < 0 ? -1 : keyx.KeyXUserKey.Get(i).action;
    };
    EXPECT_EQ(bound('C', kModCtrl), TwttForm::aCopy);
    EXPECT_EQ(bound(VK_RETURN, kModShift), TwttForm::aEditor);
    EXPECT_EQ(bound(VK_F10, 0), TwttForm::aTagJump);
    EXPECT_EQ(bound(VK_F5, 0), TwttForm::aPrevious);
    EXPECT_EQ(bound(VK_F2, 0), TwttForm::aSearch);
    EXPECT_EQ(bound(VK_F3, 0), TwttForm::aSearchNext);
    EXPECT_EQ(bound(VK_F3, kModShift), TwttForm::aSearchPrevious);
    EXPECT_EQ(bound(VK_INSERT, 0), TwttForm::aShowCaret);
    EXPECT_EQ(bound(VK_DELETE, 0), TwttForm::aHideCaret);
}

}  // namespace
}  // namespace kestrum
