// The text viewer window: loading (a directory refused, the recent-file menu
// and its top lines, a load that fails half-way), the keys of the view with
// the window's settings and colours, the caret and copy through the menu
// command, searching, jump to line and tag jump, the key map, the conversion
// to Shift-JIS of the file's own bytes with a cancel and a failure, saving
// with a fault at each step, and a text that is no file.
#include "viewers/text_viewer_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "common/prompter.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/file_commit.h"
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
    const Subscription scope_ = InstallPrompter(prompter_);
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
    const Subscription commands = InstallService<CommandService>(fake);
    const Subscription filer = InstallService<FilerService>(fake);
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

// The platform's steps of a save with the n-th call failing; a failing
// write writes half of what it was given first, as a full disk does.
class FaultyDiskSteps final : public CommitSteps {
public:
    explicit FaultyDiskSteps(int failAt) : failAt_(failAt) {}
    bool reached = false;

    bool Create(const std::string& path) override { return !Fails() && real_->Create(path); }
    std::size_t Write(std::string_view bytes) override {
        const std::string_view part = bytes.substr(0, std::min<std::size_t>(bytes.size(), 4096));
        if (Fails()) {
            real_->Write(part.substr(0, part.size() / 2));
            return 0;
        }
        return real_->Write(part);
    }
    bool Flush() override { return !Fails() && real_->Flush(); }
    bool Close() override {
        const bool closed = real_->Close();
        return !Fails() && closed;
    }
    bool Replace(const std::string& temp, const std::string& target) override {
        return !Fails() && real_->Replace(temp, target);
    }
    void Remove(const std::string& path) override { real_->Remove(path); }

private:
    bool Fails() {
        if (++calls_ != failAt_) return false;
        reached = true;
        return true;
    }
    int failAt_;
    int calls_ = 0;
    std::unique_ptr<CommitSteps> real_ = PlatformCommitSteps();
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(TextViewerTest, ASaveFailingAtAnyStepLeavesTheOldFileWholeAndSaysSo) {
    RecordingServices fake;
    const Subscription commands = InstallService<CommandService>(fake);
    const Subscription filer = InstallService<FilerService>(fake);
    const std::string text = Numbered(1000);  // a few writes
    const std::string a = File("a.txt", text);
    ASSERT_TRUE(form_->LoadFile(a));
    const std::string b = File("b.txt", "old contents\r\n");
    int n = 1;
    for (;; ++n) {
        FaultyDiskSteps steps(n);
        form_->commitSteps = &steps;
        prompter_.Clear();
        prompter_.AnswerLine(b);
        form_->RunAction(TwttForm::aSave);
        EXPECT_FALSE(Exists(b + ".tmp~")) << "step " << n;
        if (!steps.reached) break;
        EXPECT_EQ(test::ReadFile(b), "old contents\r\n") << "step " << n;
        ASSERT_EQ(prompter_.Questions().size(), 2u) << "step " << n;  // overwrite?, then the failure
        EXPECT_EQ(prompter_.Questions()[1].text, b + "\r\n保存できませんでした。元のファイルはそのままです。");
        EXPECT_EQ(form_->CurrentFile(), a);
        EXPECT_EQ(fake.refreshes, 0);
    }
    // Create, three writes, flush, close, replace; then it is saved.
    EXPECT_EQ(n, 8);
    EXPECT_EQ(test::ReadFile(b), text);
    EXPECT_EQ(form_->CurrentFile(), b);
    EXPECT_EQ(fake.refreshes, 1);
    // A new file that cannot be written is not left half made.
    const std::string c = dir_.File("c.txt");
    FaultyDiskSteps steps(2);
    form_->commitSteps = &steps;
    prompter_.Clear();
    prompter_.AnswerLine(c);
    form_->RunAction(TwttForm::aSave);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, c + "\r\n保存できませんでした。");
    EXPECT_FALSE(Exists(c));
    EXPECT_FALSE(Exists(c + ".tmp~"));
    form_->commitSteps = nullptr;
}

TEST_F(TextViewerTest, ConversionTakesTheFilesOwnBytesLineByLine) {
    // UTF-16 whose characters hold 0x0A and 0x0D bytes: 上 U+4E0A, 不 U+4E0D,
    // 」 U+300D, then CR LF.
    const std::string utf16("\xFF\xFE\x0A\x4E\x0D\x4E\x0D\x30\x0D\x00\x0A\x00" "A\x00", 14);
    ASSERT_TRUE(form_->LoadFile(File("u.txt", utf16)));
    form_->RunAction(TwttForm::aToSjis);
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(form_->View().GetText(), "上不」\r\nA\r\n");
    // A Shift-JIS text with one line in JIS.
    ASSERT_TRUE(form_->LoadFile(File("s.txt", "表示\r\n\x1b$B$\"\x1b(B\r\n漢字\r\n")));
    form_->RunAction(TwttForm::aToSjis);
    EXPECT_EQ(form_->View().GetText(), "表示\r\nあ\r\n漢字\r\n");
}

TEST_F(TextViewerTest, AConversionThatFailsLeavesTheTextAndTheKeysWorking) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "\xB4\xC1\r\n";  // 漢 in EUC-JP
    const std::string path = File("e.txt", text);
    ASSERT_TRUE(form_->LoadFile(path));
    form_->onConvertStep = [](TprogForm&) { throw std::bad_alloc(); };
    SendMessageA(form_->Handle(), WM_COMMAND, TwttForm::kCmdAction0 + TwttForm::aToSjis, 0);
    form_->onConvertStep = nullptr;
    ASSERT_EQ(prompter_.Questions().size(), 1u);  // the error box
    EXPECT_FALSE(form_->Busy());
    EXPECT_FALSE(IsWindowVisible(form_->Progress().Handle()));
    EXPECT_EQ(form_->View().Get(0), "\xB4\xC1");
    EXPECT_EQ(form_->View().Count(), 200);
    EXPECT_EQ(Caption(), "0 " + path + " - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    Key(VK_ESCAPE);
    EXPECT_FALSE(form_->Visible());
}

TEST_F(TextViewerTest, ALoadThatFailsHalfWayLeavesNoHalfFileAndTheKeysWorking) {
    const std::string small = File("small.txt", "kept\r\n");
    ASSERT_TRUE(form_->LoadFile(small));
    std::string text;
    while (text.size() <= TwttForm::kSliceThreshold) text += std::string(70, 'x') + "\r\n";
    const std::string big = File("big.txt", text);
    form_->onLoadStep = [] { throw std::bad_alloc(); };
    EXPECT_FALSE(form_->LoadFile(big));
    form_->onLoadStep = nullptr;
    ASSERT_EQ(prompter_.Questions().size(), 1u);  // the error box
    EXPECT_FALSE(form_->Busy());
    EXPECT_FALSE(IsWindowVisible(form_->Progress().Handle()));
    // The caption names no file, and no part of one is there to be saved.
    EXPECT_EQ(form_->View().Count(), 0);
    EXPECT_EQ(form_->CurrentFile(), "");
    EXPECT_EQ(Caption(), "テキストビューワー");
    form_->RunAction(TwttForm::aPrevious);
    EXPECT_EQ(form_->CurrentFile(), small);
    EXPECT_EQ(form_->View().GetText(), "kept\r\n");
    Key(VK_ESCAPE);
    EXPECT_FALSE(form_->Visible());
}

TEST_F(TextViewerTest, SearchNextReachesMatchesBelowTheLastTopLineThenSaysNotFound) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += i == 95 || i == 97 ? "needle\r\n" : "hay\r\n";
    ASSERT_TRUE(form_->LoadFile(File("n.txt", text)));
    const int last = 100 - form_->View().VisibleLines();
    ASSERT_LT(last, 95);
    prompter_.AnswerLine("needle");
    form_->RunAction(TwttForm::aSearch);
    EXPECT_EQ(form_->View().TopLine(), last);
    form_->RunAction(TwttForm::aSearchNext);  // line 97, shown from the same top line
    EXPECT_EQ(form_->View().TopLine(), last);
    EXPECT_TRUE(prompter_.Questions().empty());
    form_->RunAction(TwttForm::aSearchNext);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "見つかりませんでした");
}

TEST_F(TextViewerTest, TheViewersColoursFollowTheDialogAndTheColourFile) {
    TheColors().Reset();
    SetColor(kColViewerText, 0x0000FF);
    SetColor(kColViewerBack, 0x102030);
    EXPECT_EQ(form_->View().TextColor(), RGB(0xFF, 0, 0));
    EXPECT_EQ(form_->View().BackColor(), RGB(0x30, 0x20, 0x10));
    const std::string col = File("k.col", "#ＫＥＳＴＲＵＭ色設定ファイル\r\n18,65280\r\n21,16711680\r\n");
    TheSession().settings.colorCustomFile = col;
    EXPECT_TRUE(LoadColorFile());
    EXPECT_EQ(form_->View().TextColor(), RGB(0, 0xFF, 0));
    EXPECT_EQ(form_->View().BackColor(), RGB(0, 0, 0xFF));
    {
        // A viewer made after the file was read starts with its colours.
        TwttForm later;
        ASSERT_TRUE(later.Create(nullptr));
        EXPECT_EQ(later.View().BackColor(), RGB(0, 0, 0xFF));
    }
    TheColors().Reset();
    ColorChanged(-1);
    EXPECT_EQ(form_->View().BackColor(), ResolveColor(DefaultColors()[kColViewerBack]));
}

TEST_F(TextViewerTest, OpenStripsQuotesTagJumpsFromTheFilesFolderAndTheFontIsFixedPitch) {
    const std::string target = File("target.txt", Numbered(50));
    prompter_.AnswerLine("  \"" + target + "\" ");
    form_->RunAction(TwttForm::aOpen);
    EXPECT_EQ(form_->CurrentFile(), target);
    // A tag line with a bare name opens it beside the file it is in, wherever
    // the current folder is.
    ASSERT_TRUE(form_->LoadFile(File("tags.txt", "target.txt 12: message\r\n")));
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    form_->RunAction(TwttForm::aTagJump);
    SetCurrentDirectoryA(cwd);
    EXPECT_EQ(form_->CurrentFile(), target);
    EXPECT_EQ(form_->View().TopLine(), 11);
    // The font dialog offers fixed-pitch fonts only.
    configQuestions_.AnswerFont(std::nullopt);
    form_->RunCommand(TwttForm::kCmdFont);
    EXPECT_EQ(configQuestions_.PitchesAsked(), std::vector<FontPitch>{FontPitch::Fixed});
}

TEST_F(TextViewerTest, ANewSearchStringKeepsTheLastDirection) {
    ASSERT_TRUE(form_->LoadFile(File("d.txt", Numbered(200))));
    form_->View().SetTopLine(50);
    prompter_.AnswerLine("line 1");
    form_->RunAction(TwttForm::aSearch);
    EXPECT_EQ(form_->View().TopLine(), 100);
    form_->RunAction(TwttForm::aSearchPrevious);
    EXPECT_EQ(form_->View().TopLine(), 19);
    // F2 again: the new string is looked for backwards too.
    prompter_.AnswerLine("line 5");
    form_->RunAction(TwttForm::aSearch);
    EXPECT_EQ(form_->View().TopLine(), 5);
}

}  // namespace
}  // namespace kestrum
