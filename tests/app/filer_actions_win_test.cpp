// The filer's actions under the null display driver, wired to the rest of
// the program as at start: what they refuse, what the mouse and Escape do,
// the menu switches, and the registrations a filer leaves (none) when it
// goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/forms_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "fileops/path_utils.h"
#include "filer/frm_fm_win.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void ClearClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

// Every entry below root with its size and attributes, sorted.
void Listing(const std::string& root, const std::string& rel, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd{};
    HANDLE h = FindFirstFileA((root + "\\" + rel + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        out.push_back(rel + name + " " + std::to_string(fd.nFileSizeLow) + " " + std::to_string(fd.dwFileAttributes));
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Listing(root, rel + name + "\\", out);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}
std::vector<std::string> Listing(const std::string& root) {
    std::vector<std::string> out;
    Listing(root, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Messages(const ScriptedPrompter& p) {
    std::vector<std::string> out;
    for (const auto& q : p.Questions()) out.push_back(q.text);
    return out;
}

class FilerActionsTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.File("home") + "\r\n[END]\r\n");
        CreateDirectoryA(dir_.File("home").c_str(), nullptr);
        CreateDirectoryA(dir_.File("home\\ソフト").c_str(), nullptr);
        test::WriteFile(dir_.File("home\\ソフト\\in.txt"), std::string(3000, 'i'));
        test::WriteFile(dir_.File("home\\a.txt"), "hello");
        test::WriteFile(dir_.File("home\\b.doc"), std::string(5000, 'x'));
        filer_ = std::make_unique<TfrmFM>();
        App().filer = filer_.get();
        services_ = InstallAppServices();
        ASSERT_TRUE(filer_->Create(nullptr));
        MakeFilerCommandLine(*filer_);
        filer_->ShowFiler();
    }
    void TearDown() override {
        services_.clear();
        App() = AppState();
        filer_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    FileListModel& Model() { return filer_->Model(); }
    void PlaceOn(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) {
                Model().PlaceCursor(static_cast<long long>(i));
                return;
            }
        }
        ADD_FAILURE() << "no entry " << name;
    }
    bool Has(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) return true;
        }
        return false;
    }
    // A click (down, up, double click) on the cursor cell with the keys held.
    void DoubleClickCursor(WPARAM keys) {
        const RECT r = filer_->CursorCellRect();
        const LPARAM at = MAKELPARAM(r.left + 3, r.top + 2);
        SendMessageA(filer_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(filer_->Handle(), WM_LBUTTONUP, keys, at);
        SendMessageA(filer_->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON | keys, at);
        SendMessageA(filer_->Handle(), WM_LBUTTONUP, keys, at);
    }

    // The key and colour files are missing here: their messages are answered.
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    test::TempDir dir_;
    std::string saved_;
    std::unique_ptr<TfrmFM> filer_;
    std::vector<Subscription> services_;
};

// "." and ".." are never operands: with nothing marked, every action on the
// selection refuses them the way delete does, asks nothing else, hands
// nothing to the platform and changes nothing on disk.
TEST_F(FilerActionsTest, DotEntriesAreNeverOperands) {
    ASSERT_TRUE(CreateDirectoryA(dir_.File("home\\ソフト\\下").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dir_.File("to").c_str(), nullptr));
    ASSERT_TRUE(ChangeDirectory(dir_.File("home\\ソフト\\下")));
    filer_->ShowList();
    const std::vector<std::string> before = Listing(dir_.Path());
    struct Row {
        int code;
        const char* refusal;
    };
    const Row rows[] = {
        {Code::Copy, "をコピーすることは出来ません"},
        {Code::CopyListed, "をコピーすることは出来ません"},
        {Code::Move, "を移動することは出来ません"},
        {Code::MoveListed, "を移動することは出来ません"},
        {Code::Duplicate, "を複製することは出来ません"},
        {Code::Rename, "の名前を変更することは出来ません"},
        {Code::Attributes, "の属性を変更することは出来ません"},
        {Code::Dates, "の日付を変更することは出来ません"},
        {Code::Join, "を結合することは出来ません"},
        {Code::ShortcutHere, "のショートカットを作成することは出来ません"},
        {Code::Delete, "を削除することは出来ません"},
        {Code::Erase, "を削除することは出来ません"},
    };
    for (const std::string name : {".", ".."}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(name + " with action " + std::to_string(row.code));
            // Answers that would let an action go on, were it to ask.
            ScriptedPrompter p;
            const Subscription scope = InstallPrompter(p);
            ScriptedFileOpQuestions fileQuestions;
            p.AnswerLine(dir_.File("to"));
            p.AnswerLine("x");
            p.AnswerList(ListPick{ListResult::Ok, dir_.File("to"), 0});
            fileQuestions.AnswerAttributes(FileOpQuestions::fdOk, FILE_ATTRIBUTE_READONLY);
            fileQuestions.AnswerDate(FileOpQuestions::fdOk, "2001/02/03 04:05:06");
            test::RecordingFileOp op;
            const Subscription scopedOp = InstallShellFileOp(op);
            PlaceOn(name);
            filer_->RunAction(row.code);
            EXPECT_EQ(Messages(p), std::vector<std::string>{(name == "." ? "カレントディレクトリ" : "親ディレクトリ") +
                                                             std::string(row.refusal)});
            EXPECT_TRUE(p.LineQuestions().empty());
            EXPECT_TRUE(p.ListsShown().empty());
            EXPECT_TRUE(fileQuestions.AttributesAsked().empty());
            EXPECT_TRUE(fileQuestions.DatesAsked().empty());
            EXPECT_TRUE(op.requests.empty());
        }
    }
    EXPECT_EQ(Listing(dir_.Path()), before);

    // A marked entry is the selection wherever the cursor is.
    ScriptedPrompter p;
    const Subscription scope = InstallPrompter(p);
    ASSERT_TRUE(ChangeDirectory(dir_.File("home")));
    filer_->ShowList();
    PlaceOn("a.txt");
    Model().SetMark(Model().CursorIndex(), true, nullptr);
    PlaceOn("..");
    p.AnswerLine(dir_.File("to"));
    filer_->RunAction(Code::Copy);
    EXPECT_EQ(test::ReadFile(dir_.File("to\\a.txt")), "hello");
    EXPECT_TRUE(p.Questions().empty());
}

// A filer's registrations go with it: filers made one after another in a
// process leave nothing behind in the process-wide lists, and what those
// raise afterwards reaches the living filer alone.
TEST_F(FilerActionsTest, ADestroyedFilerLeavesNoRegistrationBehind) {
    auto counts = [] {
        return std::vector<std::size_t>{ColorListenerCount(), CfgAppliedListenerCount(), DirectoryListenerCount(),
                                        FilerKeyX().runCommand.Count(), FilerKeyX().setCaption.Count()};
    };
    const std::vector<std::size_t> withOne = counts();
    {
        TfrmFM second;
        ASSERT_TRUE(second.Create(nullptr));
        const std::vector<std::size_t> withTwo = counts();
        for (std::size_t i = 0; i < withOne.size(); ++i) EXPECT_EQ(withTwo[i], withOne[i] + 1) << i;
    }
    EXPECT_EQ(counts(), withOne);

    TUserKey& keys = FilerKeyX().KeyXUserKey;
    const TUserKey saved = keys;
    keys.Clear();
    KeyBinding& down = keys.Add();
    down.key = VK_F24;
    down.name = "F24";
    down.action = Code::CursorDown;
    const long long at = Model().CursorIndex();
    SendMessageA(filer_->Handle(), WM_KEYDOWN, VK_F24, 0);
    EXPECT_EQ(Model().CursorIndex(), at + 1);
    keys.Assign(saved);

    ColorChanged(-1);
    ApplyDialogSettings(TheSession().settings);
    ASSERT_TRUE(ChangeDirectory(dir_.File("home\\ソフト")));
    char caption[MAX_PATH + 64] = {};
    GetWindowTextA(filer_->Handle(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), dir_.File("home\\ソフト\\") + "*.* - Kestrum ﾌｧｲﾗｰ");
}

// Escape in the filer's command line empties it and gives the focus back to
// the grid; with FILERESCMODE 1 it closes the filer.
TEST_F(FilerActionsTest, EscapeInTheCommandLine) {
    HWND cmd = filer_->CommandLine();
    filer_->FocusCommandLine();
    SetWindowTextA(cmd, "dir");
    SendMessageA(cmd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(GetText(cmd), "");
    EXPECT_EQ(GetFocus(), filer_->Handle());
    EXPECT_TRUE(filer_->Visible());

    TheSession().settings.filerEscMode = 1;
    filer_->FocusCommandLine();
    SetWindowTextA(cmd, "dir");
    SendMessageA(cmd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(filer_->Visible());
}

// Opening by association from the grid: a double click decides by the keys
// held with it (none: the first candidate, Shift the second, Ctrl the list);
// the second candidate of an extension no association names is the list.
TEST_F(FilerActionsTest, DoubleClicksAndTheSecondCandidate) {
    TheSession().setExt = {{"TXT", "MKDIR /$C.one,MKDIR /$C.two"}};
    std::vector<std::string> firstItems;
    prompter_.onPopupMenu = [&](void* menu) {
        char text[128] = {};
        GetMenuStringA(static_cast<HMENU>(menu), 0, text, sizeof text, MF_BYPOSITION);
        firstItems.push_back(text);
    };
    PlaceOn("a.txt");
    DoubleClickCursor(0);
    EXPECT_TRUE(DirExists(dir_.File("home\\a.txt.one")));
    filer_->ShowList();
    PlaceOn("a.txt");
    DoubleClickCursor(MK_SHIFT);
    EXPECT_TRUE(DirExists(dir_.File("home\\a.txt.two")));
    filer_->ShowList();
    PlaceOn("a.txt");
    DoubleClickCursor(MK_CONTROL);
    EXPECT_EQ(firstItems, std::vector<std::string>{"MKDIR /$C.one"});

    PlaceOn("b.doc");
    filer_->RunAction(Code::OpenSecond);  // Shift+Return
    EXPECT_EQ(prompter_.PopupMenusShown(), 2);
    PlaceOn("a.txt");
    RemoveDirectoryA(dir_.File("home\\a.txt.two").c_str());
    filer_->RunAction(Code::OpenSecond);
    EXPECT_TRUE(DirExists(dir_.File("home\\a.txt.two")));
    EXPECT_EQ(prompter_.PopupMenusShown(), 2);
}

// A click on the directory text puts it (directory and mask) on the
// clipboard; the grid below it is not touched.
TEST_F(FilerActionsTest, AClickOnTheDirectoryLineCopiesIt) {
    ClearClipboard();
    TheSession().maskText = "*.TXT";
    const FilerLayout& l = filer_->Layout();
    const long long at = Model().CursorIndex();
    SendMessageA(filer_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(l.directoryLine.left + 5, l.directoryLine.top + 2));
    EXPECT_EQ(ClipboardText(), TheSession().currentDir + "*.TXT");
    EXPECT_EQ(Model().CursorIndex(), at);
    // Marked as Japanese text, so that a Unicode reader gets the right characters.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE locale = GetClipboardData(CF_LOCALE);
    const LCID* lcid = locale ? static_cast<const LCID*>(GlobalLock(locale)) : nullptr;
    EXPECT_EQ(lcid ? LANGIDFROMLCID(*lcid) : 0, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    if (lcid) GlobalUnlock(locale);
    CloseClipboard();
}

// The menu's switches: the start-with-the-program item carries FILERAUTO's
// check mark (key-file captions keep it); "ディレクトリのサイズも計算" turns
// SubDirSize over and writes it; the disk copy item runs the platform's.
TEST_F(FilerActionsTest, MenuSwitchesAndTheDiskCopy) {
    HMENU bar = GetMenu(filer_->Handle());
    ASSERT_NE(bar, nullptr);
    auto checked = [&](HMENU m, UINT id) { return (GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    const UINT atStart = kFilerMenuBase + Code::FilerAtStart;
    EXPECT_FALSE(checked(bar, atStart));  // FILERAUTO 0 in the file
    filer_->RunAction(Code::FilerAtStart);
    EXPECT_TRUE(checked(bar, atStart));
    EXPECT_TRUE(checked(filer_->Menus().Popup(), atStart));
    FilerKeyX().RefreshCaptions();
    EXPECT_TRUE(checked(bar, atStart));
    EXPECT_NE(test::ReadFile(TheSession().settingsPath).find("FilerAuto, 1"), std::string::npos);

    char text[128] = {};
    GetMenuStringA(bar, kFilerMenuSubDirSize, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "ディレクトリのサイズも計算");
    EXPECT_TRUE(checked(bar, kFilerMenuSubDirSize));  // on by default
    PlaceOn("ソフト");
    filer_->RunAction(Code::Mark);
    EXPECT_GE(Model().MarkedTotal(), 3000);
    SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuSubDirSize, 0);
    EXPECT_FALSE(TheSession().settings.subDirSize);
    EXPECT_FALSE(checked(bar, kFilerMenuSubDirSize));
    EXPECT_NE(test::ReadFile(TheSession().settingsPath).find("SubDirSize, 0"), std::string::npos);
    filer_->ShowList();
    PlaceOn("ソフト");
    filer_->RunAction(Code::Mark);
    EXPECT_EQ(Model().MarkedCount(), 1u);
    EXPECT_EQ(Model().MarkedTotal(), 0);

    ASSERT_GT(GetMenuStringA(bar, kFilerMenuDiskCopy, text, sizeof text, MF_BYCOMMAND), 0);
    SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuDiskCopy, 0);
    EXPECT_EQ(Messages(prompter_).back(), "DiskCopy.Dllが見つかりません。");
}

// A shortcut that cannot be made is reported; one that can is made.
TEST_F(FilerActionsTest, AFailedShortcutIsReported) {
    PlaceOn("a.txt");
    prompter_.AnswerLine(dir_.File("none\\deeper"));
    prompter_.AnswerLine("a");
    filer_->RunAction(Code::ShortcutTyped);
    EXPECT_EQ(Messages(prompter_).back(), "ショートカットの作成に失敗しました ->" + dir_.File("none\\deeper\\a.LNK"));

    const std::size_t asked = prompter_.Questions().size();
    PlaceOn("a.txt");
    prompter_.AnswerLine("b");
    filer_->RunAction(Code::ShortcutHere);
    EXPECT_TRUE(FileExists(dir_.File("home\\b.LNK")));
    EXPECT_EQ(prompter_.Questions().size(), asked);
}

}  // namespace
}  // namespace kestrum
