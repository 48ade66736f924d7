// The settings dialog under the null display driver: opened on each page,
// one control changed, OK writes exactly the dialog's lines; Cancel, refused
// values, the semicolon option, pickers, previews and the buttons that act
// at once.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/prompter.h"
#include "config/cfg_form_win.h"
#include "config/colors_dialog_win.h"
#include "config/colors_win.h"
#include "config/key_custom_win.h"
#include "config/key_files_win.h"
#include "config/services.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "shell/frm_main_win.h"
#include "tests/fakes/scripted_config_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

const char kStartFile[] =
    "; 私の設定\r\n"
    "[MYSECTION]\r\nfoo=bar ; kept\r\n[END]\r\n"
    "[環境変数]\r\nSORT, 1\r\nFILERAUTO, 0\r\nUNKNOWN, 7\r\n[END]\r\n"
    "[ALIAS]\r\nx,notepad\r\n[END]\r\n";

void Click(HWND button) {
    ASSERT_NE(button, nullptr);
    SendMessageA(button, BM_CLICK, 0, 0);
}
void Type(HWND edit, const char* text) {
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, text);
}
bool Ticked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
// The page command, as a menu command from outside would send it.
void Turn(TcfgForm& f, int page) {
    SendMessageA(f.Handle(), WM_COMMAND, static_cast<WPARAM>(TcfgForm::kIdSelectPage0) + static_cast<WPARAM>(page), 0);
}

class CfgFormTest : public testing::Test {
protected:
    void SetUp() override {
        Session& session = TheSession();
        session = Session();
        session.programDir = dir_.Path() + "\\";
        session.currentDir = dir_.Path() + "\\";
        session.settingsPath = dir_.File("Kestrum.Cfg");
        TheColors().Reset();
        WriteAndLoad(kStartFile);
    }
    void TearDown() override {
        form_.reset();
        keyRunner_.Reset();
        cfgRunner_.Reset();
        TheColors().Reset();
        TheSession() = Session();
    }
    void WriteAndLoad(const std::string& text) {
        test::WriteFile(TheSession().settingsPath, text);
        TheSession().settings = Settings();
        TheSession().lists = SettingsLists();
        LoadSettingsFile(TheSession().settingsPath, TheSession().settings, TheSession().lists);
    }
    TcfgForm& Open(int page) {
        form_ = std::make_unique<TcfgForm>();
        EXPECT_TRUE(form_->Create(nullptr));
        form_->Begin(page);
        return *form_;
    }
    std::string FileText() const { return test::ReadFile(TheSession().settingsPath); }
    // What the dialog is expected to leave in the file for these values.
    std::string Expected(const Settings& s, const std::vector<std::string>& commands) const {
        TSettingsFile f = TSettingsFile::FromLines(SplitLines(kStartFile));
        WriteCfgDialog(f, s, commands);
        return JoinLinesCrLf(f.Lines());
    }

    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    ScriptedConfigQuestions configQuestions_;
    Subscription keyRunner_;
    Subscription cfgRunner_;
    std::unique_ptr<TcfgForm> form_;
};

TEST_F(CfgFormTest, WindowCaptionTabsAndButtons) {
    TcfgForm& f = Open(3);
    EXPECT_EQ(GetText(f.Handle()), "Kestrum 設定");
    ASSERT_EQ(SendMessageA(f.Tabs(), TCM_GETITEMCOUNT, 0, 0), kCfgPageCount);
    for (int p = 0; p < kCfgPageCount; ++p) {
        char text[64] = {};
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = sizeof text;
        SendMessageA(f.Tabs(), TCM_GETITEMA, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&tab));
        EXPECT_EQ(std::string(text), CfgPageNames()[static_cast<std::size_t>(p)]);
    }
    EXPECT_EQ(GetText(GetDlgItem(f.Handle(), IDOK)), "OK");
    EXPECT_EQ(GetText(GetDlgItem(f.Handle(), IDCANCEL)), "Cancel");
    EXPECT_FALSE(IsWindowEnabled(f.HelpButton()));
    EXPECT_EQ(GetText(f.CommandEdit(9)), "DLHA");
    // Only the chosen page's controls show; a page command turns the page.
    EXPECT_TRUE(IsWindowVisible(f.Item("PVMaxX")));
    EXPECT_FALSE(IsWindowVisible(f.Item("TabWidth")));
    Turn(f, kPageTextViewer);
    EXPECT_EQ(f.Page(), kPageTextViewer);
    EXPECT_EQ(SendMessageA(f.Tabs(), TCM_GETCURSEL, 0, 0), kPageTextViewer);
    EXPECT_TRUE(IsWindowVisible(f.Item("TabWidth")));
    EXPECT_FALSE(IsWindowVisible(f.Item("PVMaxX")));
}

TEST_F(CfgFormTest, EachPageWritesExactlyTheDialogLines) {
    struct Case {
        int page;
        std::function<void(TcfgForm&, ScriptedPrompter&)> change;
        std::function<void(Settings&, std::vector<std::string>&)> expect;
        HWND (*shown)(TcfgForm&);
    };
    const Case cases[] = {
        {kPageMain, [](TcfgForm& f, ScriptedPrompter&) { Type(f.CommandEdit(0), "chdir"); },
         [](Settings&, std::vector<std::string>& c) { c[0] = "CHDIR"; },
         [](TcfgForm& f) { return f.CommandEdit(21); }},
        {kPageFiler, [](TcfgForm& f, ScriptedPrompter&) { Click(f.RadioButton("Sort", 2)); },
         [](Settings& s, std::vector<std::string>&) { s.sort = 2; },
         [](TcfgForm& f) { return f.Item("SortAttr"); }},
        {kPageTextViewer, [](TcfgForm& f, ScriptedPrompter&) { Type(f.Item("TabWidth"), "4"); },
         [](Settings& s, std::vector<std::string>&) { s.tabWidth = 4; },
         [](TcfgForm& f) { return f.Item("Editer"); }},
        {kPageImageViewer, [](TcfgForm& f, ScriptedPrompter&) { Type(f.Item("PVMaxX"), "1024"); },
         [](Settings& s, std::vector<std::string>&) { s.pvMaxX = 1024; },
         [](TcfgForm& f) { return f.Item("SCSP2"); }},
        {kPageArchiveViewer, [](TcfgForm& f, ScriptedPrompter&) { Click(f.Item("BSClose")); },
         [](Settings& s, std::vector<std::string>&) { s.bsClose = true; },
         [](TcfgForm& f) { return f.Item("lvCursorLoop"); }},
        {kPageDirectories,
         [](TcfgForm& f, ScriptedPrompter& p) {
             p.AnswerLine("C:\\WORK");
             Click(f.PickButton("HomeDir"));
         },
         [](Settings& s, std::vector<std::string>&) { s.homeDir = "C:\\WORK"; },
         [](TcfgForm& f) { return f.Item("ColorCustomFile"); }},
        {kPageFilerScreen, [](TcfgForm& f, ScriptedPrompter&) { Click(f.RadioButton("CURSORSTYLE", 0)); },
         [](Settings& s, std::vector<std::string>&) { s.cursorStyle = 0; },
         [](TcfgForm& f) { return f.Item("FilePitch"); }},
        {kPageMainScreen,
         [](TcfgForm& f, ScriptedPrompter&) {
             Click(f.Item("HOTKEYFLAG"));
             Click(f.HotKeyPart(TcfgForm::kHotCtrl));
             Click(f.HotKeyPart(TcfgForm::kHotAlt));
             Type(f.HotKeyPart(TcfgForm::kHotKeyBox), "k");
         },
         [](Settings& s, std::vector<std::string>&) {
             s.hotKeyFlag = true;
             s.hotText = "CTRL+ALT+K";
         },
         [](TcfgForm& f) { return f.Item("TASKTRAY"); }},
        {kPageBehaviour, [](TcfgForm& f, ScriptedPrompter&) { Click(f.Item("CursorLoop")); },
         [](Settings& s, std::vector<std::string>&) { s.cursorLoop = false; },
         [](TcfgForm& f) { return f.SemicolonBox(); }},
        {kPageMacros, [](TcfgForm& f, ScriptedPrompter&) { Type(f.Item("FMC"), "/$F"); },
         [](Settings& s, std::vector<std::string>&) { s.fmc = "/$F"; },
         [](TcfgForm& f) { return f.Item("BACKUPNAME"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CfgPageNames()[static_cast<std::size_t>(c.page)]);
        WriteAndLoad(kStartFile);
        Settings expected = TheSession().settings;
        std::vector<std::string> commands = TheSession().lists.commandTable;
        c.expect(expected, commands);

        TcfgForm& f = Open(c.page);
        EXPECT_EQ(f.Page(), c.page);
        EXPECT_TRUE(IsWindowVisible(c.shown(f)));
        c.change(f, prompter_);
        EXPECT_TRUE(f.OkClick());
        EXPECT_TRUE(f.Finished());
        EXPECT_EQ(f.ModalResult(), mrOk);
        EXPECT_EQ(FileText(), Expected(expected, commands));
        EXPECT_TRUE(prompter_.Questions().empty()) << prompter_.Questions()[0].text;
        // The running program took the change.
        EXPECT_EQ(TheSession().lists.commandTable, commands);
        for (const EnvKey* k : CfgWrittenKeys()) {
            EXPECT_EQ(EnvValueText(TheSession().settings, *k), EnvValueText(expected, *k)) << k->name;
        }
    }
    // The file keeps its own lines and spells the keys as the table does.
    const std::vector<std::string> lines = test::CrLfLines(FileText());
    EXPECT_EQ(lines[0], "; 私の設定");
    EXPECT_EQ(lines[2], "foo=bar ; kept");
    EXPECT_EQ(lines[5], "Sort, 1");
    EXPECT_EQ(lines[6], "FilerAuto, 0");
    EXPECT_EQ(lines[7], "UNKNOWN, 7");
}

TEST_F(CfgFormTest, CancelWritesNothingAndKeepsTheSettings) {
    const Settings before = TheSession().settings;
    TcfgForm& f = Open(kPageTextViewer);
    Type(f.Item("TabWidth"), "3");
    Click(f.Item("ViewMode"));
    Type(f.CommandEdit(1), "FILER");
    SendMessageA(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.Finished());
    EXPECT_EQ(f.ModalResult(), mrCancel);
    EXPECT_EQ(FileText(), kStartFile);
    EXPECT_EQ(TheSession().settings.tabWidth, before.tabWidth);
    EXPECT_EQ(TheSession().lists.commandTable[1], "LS");
}

TEST_F(CfgFormTest, RefusedValuesKeepTheDialogOpenAndTheFileAlone) {
    TcfgForm& f = Open(kPageTextViewer);
    Type(f.Item("TabWidth"), "12");
    EXPECT_FALSE(f.OkClick());
    EXPECT_FALSE(f.Finished());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "「タブの幅(0-9)」には0から9までの数値を入力してください");
    EXPECT_EQ(TheSession().settings.tabWidth, 8);

    Type(f.Item("TabWidth"), "2");
    Type(f.CommandEdit(0), "LS");  // the same name as command 1
    EXPECT_FALSE(f.OkClick());
    EXPECT_EQ(prompter_.Questions().back().text, "コマンド名LSが重複しています");

    Turn(f, kPageMainScreen);
    Type(f.CommandEdit(0), "CD");
    Click(f.Item("HOTKEYFLAG"));
    Type(f.HotKeyPart(TcfgForm::kHotKeyBox), "");
    EXPECT_FALSE(f.OkClick());
    EXPECT_EQ(prompter_.Questions().back().text, "ホットキーのキーには英数字１文字かF1からF24を指定してください");
    EXPECT_EQ(FileText(), kStartFile);
}

TEST_F(CfgFormTest, DependentBoxesFollowTheirSwitch) {
    TcfgForm& f = Open(kPageMainScreen);
    EXPECT_FALSE(IsWindowEnabled(f.Item("TASKSHOW")));
    EXPECT_FALSE(IsWindowEnabled(f.HotKeyPart(TcfgForm::kHotKeyBox)));
    Click(f.Item("TASKTRAY"));
    EXPECT_TRUE(IsWindowEnabled(f.Item("TASKSHOW")));
    Click(f.Item("HOTKEYFLAG"));
    EXPECT_TRUE(IsWindowEnabled(f.HotKeyPart(TcfgForm::kHotCtrl)));
    // Radio buttons of a group exclude each other.
    Turn(f, kPageFilerScreen);
    Click(f.RadioButton("FUNCTIONKAZU", 1));
    EXPECT_TRUE(Ticked(f.RadioButton("FUNCTIONKAZU", 1)));
    EXPECT_FALSE(Ticked(f.RadioButton("FUNCTIONKAZU", 0)));
    EXPECT_EQ(f.ReadValues().at("FUNCTIONKAZU"), "12");
}

TEST_F(CfgFormTest, SemicolonOptionYesYesCutsTheFileAndOkRecordsIt) {
    WriteAndLoad(std::string(kStartFile) + "; 最後のコメント\r\n");
    TcfgForm& f = Open(kPageBehaviour);
    EXPECT_TRUE(IsWindowEnabled(f.SemicolonBox()));
    EXPECT_FALSE(Ticked(f.SemicolonBox()));
    prompter_.Answer(mrYes);
    prompter_.Answer(mrYes);
    Click(f.SemicolonBox());
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_TRUE(Ticked(f.SemicolonBox()));
    EXPECT_FALSE(IsWindowEnabled(f.SemicolonBox()));
    std::vector<std::string> lines = test::CrLfLines(FileText());
    EXPECT_EQ(lines[0], "[CFG Ver1.1]");
    EXPECT_EQ(lines[1], "[MYSECTION]");
    EXPECT_EQ(lines[2], "foo=bar ");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string()), 0);
    EXPECT_TRUE(f.OkClick());
    lines = test::CrLfLines(FileText());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CUTCOMMENT, 1"), lines.end());

    // A reload keeps ";" inside an alias, and the box stays disabled.
    test::WriteFile(TheSession().settingsPath, FileText() + "[ALIAS]\r\nup,cd ..;ls\r\n[END]\r\n");
    Settings s;
    SettingsLists l;
    LoadSettingsFile(TheSession().settingsPath, s, l);
    ASSERT_EQ(l.aliases.size(), 2u);
    EXPECT_EQ(l.aliases[1].expansion, "cd ..;ls");
    TcfgForm& again = Open(kPageBehaviour);
    EXPECT_TRUE(Ticked(again.SemicolonBox()));
    EXPECT_FALSE(IsWindowEnabled(again.SemicolonBox()));
}

TEST_F(CfgFormTest, ProgramPickerFiltersExecutables) {
    TcfgForm& f = Open(kPageTextViewer);
    prompter_.AnswerLine("C:\\TOOLS\\MYED.EXE");
    Click(f.PickButton("Editer"));
    prompter_.AnswerLine(std::nullopt);
    Click(f.PickButton("Viewer"));
    EXPECT_EQ(GetText(f.Item("Editer")), "C:\\TOOLS\\MYED.EXE");
    EXPECT_EQ(configQuestions_.LineFilters(), (std::vector<std::string>{"*.EXE", "*.EXE"}));
    ASSERT_EQ(prompter_.LineQuestions().size(), 2u);
    EXPECT_EQ(prompter_.LineQuestions()[0].mode, amFreeText | amReplaceOnBrowse);
    // Directories are asked for without a filter.
    Turn(f, kPageDirectories);
    prompter_.AnswerLine("D:\\PICS");
    Click(f.PickButton("WallPicturePath"));
    EXPECT_EQ(configQuestions_.LineFilters().size(), 2u);
    EXPECT_EQ(GetText(f.Item("WallPicturePath")), "D:\\PICS");
}

TEST_F(CfgFormTest, ColourFileIsPreviewedAndCancelLoadsTheOldOne) {
    test::WriteFile(dir_.File("Kestrum.Col"), std::string(kColorFileHeader) + "\r\n22,111\r\n");
    test::WriteFile(dir_.File("Other.Col"), std::string(kColorFileHeader) + "\r\n22,222\r\n");
    ASSERT_TRUE(LoadColorFile());
    TcfgForm& f = Open(kPageDirectories);
    prompter_.AnswerLine("Other.Col");
    Click(f.PickButton("ColorCustomFile"));
    EXPECT_EQ(TheColors().Get(kColShellForm), 222);
    f.CancelClick();
    EXPECT_EQ(TheColors().Get(kColShellForm), 111);
    EXPECT_EQ(TheSession().settings.colorCustomFile, "Kestrum.Col");
    EXPECT_EQ(FileText(), kStartFile);

    // Typed straight into the box, the new file is loaded on OK.
    TcfgForm& g = Open(kPageDirectories);
    Type(g.Item("ColorCustomFile"), "Other.Col");
    EXPECT_TRUE(g.OkClick());
    EXPECT_EQ(TheColors().Get(kColShellForm), 222);
    const std::vector<std::string> lines = test::CrLfLines(FileText());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ColorCustomFile, Other.Col"), lines.end());
}

TEST_F(CfgFormTest, KeysCustomisedDuringAPreviewGoToThePreviewedFile) {
    const std::string mine = std::string(kFilerKeyHeader) + "\r\n0, 65, A, 0, 0, 0, 0\r\n";
    const std::string other = std::string(kFilerKeyHeader) + "\r\n1, 66, B, 0, 0, 0, 0\r\n";
    test::WriteFile(dir_.File("Kestrum.Key"), mine);
    test::WriteFile(dir_.File("Other.Key"), other);
    TKeyX& keys = FilerKeyX();
    LoadFilerKeyFile("Kestrum.Key", false);
    ASSERT_EQ(keys.KeyXUserKey.Count(), 1);

    TcfgForm& f = Open(kPageDirectories);
    prompter_.AnswerLine("Other.Key");
    Click(f.PickButton("KeyCustomFile"));
    ASSERT_EQ(keys.KeyXUserKey.Count(), 1);
    EXPECT_EQ(keys.KeyXUserKey.Get(0).name, "B");
    // キーカスタマイズ binds F2 and saves.
    keyRunner_ = InstallKeyCustomRunner([](TKCForm& dlg) {
        dlg.CaptureKeyDown(VK_F2, 0);
        SendMessageA(dlg.ListBox(), LB_SETCURSEL, 1, 0);
        dlg.Save();
        return dlg.ModalResult();
    });
    Turn(f, kPageFiler);
    Click(f.ActionButton(CfgAction::FilerKeys));
    EXPECT_EQ(test::ReadFile(dir_.File("Kestrum.Key")), mine);
    const std::string saved = test::ReadFile(dir_.File("Other.Key"));
    EXPECT_EQ(saved, other + "0, 113, F2, 0, 0, 0, 0\r\n");

    // Cancel: the map in force before, and no file read or written.
    DeleteFileA(dir_.File("Kestrum.Key").c_str());
    f.CancelClick();
    ASSERT_EQ(keys.KeyXUserKey.Count(), 1);
    EXPECT_EQ(keys.KeyXUserKey.Get(0).name, "A");
    EXPECT_EQ(GetFileAttributesA(dir_.File("Kestrum.Key").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(test::ReadFile(dir_.File("Other.Key")), saved);
    EXPECT_EQ(TheSession().settings.keyCustomFile, "Kestrum.Key");
    EXPECT_EQ(FileText(), kStartFile);
    EXPECT_TRUE(prompter_.Questions().empty());

    // OK after a preview keeps the previewed map and names its file.
    TcfgForm& g = Open(kPageDirectories);
    prompter_.AnswerLine("Other.Key");
    Click(g.PickButton("KeyCustomFile"));
    EXPECT_TRUE(g.OkClick());
    EXPECT_EQ(keys.KeyXUserKey.Count(), 2);
    const std::vector<std::string> lines = test::CrLfLines(FileText());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "KeyCustomFile, Other.Key"), lines.end());
    keys.KeyXUserKey.Clear();
}

TEST_F(CfgFormTest, ColourAndKeyButtonsActAtOnce) {
    TcfgForm& f = Open(kPageMainScreen);
    configQuestions_.AnswerColor(0x123456);
    Click(f.ActionButton(CfgAction::Color, kColShellEditBack));
    ASSERT_EQ(configQuestions_.ColorsAsked().size(), 1u);
    EXPECT_EQ(configQuestions_.ColorsAsked()[0], DefaultColors()[kColShellEditBack]);
    EXPECT_EQ(TheColors().Get(kColShellEditBack), 0x123456);
    // No window for these fonts here: the buttons are disabled.
    Turn(f, kPageArchiveViewer);
    EXPECT_FALSE(IsWindowEnabled(f.ActionButton(CfgAction::Font, kFontArchiveViewer)));

    std::vector<std::string> captions;
    keyRunner_ = InstallKeyCustomRunner([&](TKCForm& dlg) {
        captions.push_back(GetText(dlg.Handle()));
        return mrCancel;
    });
    Turn(f, kPageFiler);
    Click(f.ActionButton(CfgAction::FilerKeys));
    Turn(f, kPageTextViewer);
    Click(f.ActionButton(CfgAction::ViewerKeys));
    EXPECT_EQ(captions, (std::vector<std::string>{"Kestrum ファイラーキーカスタマイズ", "Kestrum　キーカスタマイズ"}));

    bool colcShown = false;
    f.runFilerColors = [&](TfrmColc& colc) { colcShown = GetText(colc.Handle()) == "Kestrum 色の変更"; };
    Turn(f, kPageFilerScreen);
    Click(f.ActionButton(CfgAction::FilerColors));
    EXPECT_TRUE(colcShown);
    f.CancelClick();
    EXPECT_EQ(TheColors().Get(kColShellEditBack), 0x123456);  // no undo for colours
    EXPECT_EQ(FileText(), kStartFile);
}

// A window of its own registers the font of its button for as long as it
// keeps the registration.
TEST_F(CfgFormTest, ARegisteredFontServesItsButtonWhileRegistered) {
    FontSpec viewerFont{"ＭＳ ゴシック", 10, 0};
    {
        const Subscription registered = RegisterCfgFontAccess(
            kFontArchiveViewer, {[&] { return viewerFont; }, [&](const FontSpec& font) { viewerFont = font; }});
        TcfgForm& f = Open(kPageArchiveViewer);
        ASSERT_TRUE(IsWindowEnabled(f.ActionButton(CfgAction::Font, kFontArchiveViewer)));
        configQuestions_.AnswerFont(FontSpec{"ＭＳ 明朝", 12, kFontItalic});
        Click(f.ActionButton(CfgAction::Font, kFontArchiveViewer));
        ASSERT_EQ(configQuestions_.FontsAsked().size(), 1u);
        EXPECT_EQ(configQuestions_.FontsAsked()[0].name, "ＭＳ ゴシック");
        EXPECT_EQ(viewerFont.name, "ＭＳ 明朝");
        EXPECT_EQ(viewerFont.style, kFontItalic);
        f.CancelClick();
    }
    TcfgForm& g = Open(kPageArchiveViewer);
    EXPECT_FALSE(IsWindowEnabled(g.ActionButton(CfgAction::Font, kFontArchiveViewer)));
}

TEST_F(CfgFormTest, ShellFontButtonAndMenuEntry) {
    TfrmMain main;
    ASSERT_TRUE(main.Create(nullptr));
    const Subscription shell = InstallService<ShellWindowService>(main);
    TcfgForm& f = Open(kPageMainScreen);
    configQuestions_.AnswerFont(FontSpec{"ＭＳ ゴシック", 14, kFontBold});
    Click(f.ActionButton(CfgAction::Font, kFontShell));
    ASSERT_EQ(configQuestions_.FontsAsked().size(), 1u);
    EXPECT_EQ(configQuestions_.FontsAsked()[0].name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(main.ShellFont().size, 14);
    EXPECT_EQ(main.ShellFont().style, kFontBold);
    // OK takes the menu bar off at once.
    Click(f.Item("MenuBar"));
    EXPECT_TRUE(f.OkClick());
    EXPECT_FALSE(main.MenuAttached());
    EXPECT_FALSE(TheSession().menuBarShown);

    // "動作設定(&E)" opens the dialog on its first page.
    int page = -1;
    std::string caption;
    cfgRunner_ = InstallCfgFormRunner([&](TcfgForm& dlg) {
        page = dlg.Page();
        caption = GetText(dlg.Handle());
        EXPECT_FALSE(Ticked(dlg.Item("MenuBar")));
        dlg.CancelClick();
        return dlg.ModalResult();
    });
    main.RunMenuCommand(kK7);
    EXPECT_EQ(page, kPageMain);
    EXPECT_EQ(caption, "Kestrum 設定");
}

}  // namespace
}  // namespace kestrum
