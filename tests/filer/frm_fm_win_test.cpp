// The filer window under the null display driver: listing a directory,
// cursor keys, marking, entering and leaving directories.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/key_files_win.h"
#include "config/services.h"
#include "config/font_win.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/frm_fm_win.h"
#include "shell/command_box_win.h"
#include "common/file_system_win.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

class FilerWindowTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.Path() + "\r\n[END]\r\n");
        CreateDirectoryA(dir_.File("ソフト").c_str(), nullptr);
        test::WriteFile(dir_.File("a.txt"), "hello");
        test::WriteFile(dir_.File("b.doc"), std::string(5000, 'x'));
        filer_ = std::make_unique<TfrmFM>();
        services_ = InstallService<FilerService>(*filer_);
        ASSERT_TRUE(filer_->Create(nullptr));
        filer_->ShowFiler();
    }
    void TearDown() override {
        services_.Reset();
        filer_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    void Key(WPARAM vk) { SendMessageA(filer_->Handle(), WM_KEYDOWN, vk, 0); }
    std::string CursorName() {
        FileListModel& m = filer_->Model();
        return m.Entry(static_cast<std::size_t>(m.CursorIndex())).find.name;
    }

    // The key and colour files are missing here: their messages are answered.
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    test::TempDir dir_;
    std::string saved_;
    std::unique_ptr<TfrmFM> filer_;
    Subscription services_;
};

TEST_F(FilerWindowTest, ListsTheHomeDirectoryWithTheCursorOnDotDot) {
    FileListModel& m = filer_->Model();
    ASSERT_EQ(m.Count(), 6u);  // ., .., ソフト, a.txt, b.doc and the settings file
    EXPECT_EQ(CursorName(), "..");
    char caption[MAX_PATH + 64] = {};
    GetWindowTextA(filer_->Handle(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), TheSession().currentDir + "*.* - Kestrum ﾌｧｲﾗｰ");
}

TEST_F(FilerWindowTest, KeysMoveMarkAndEnter) {
    FileListModel& m = filer_->Model();
    const long long start = m.CursorIndex();
    Key(VK_DOWN);
    EXPECT_EQ(m.CursorIndex(), start + 1);
    Key(VK_UP);
    EXPECT_EQ(m.CursorIndex(), start);
    // Space (Mark) marks and moves down; "." and ".." never mark.
    filer_->RunAction(Code::Mark);
    EXPECT_EQ(m.MarkedCount(), 0u);
    while (CursorName() != "b.doc") Key(VK_DOWN);
    filer_->RunAction(Code::Mark);
    EXPECT_EQ(m.MarkedCount(), 1u);
    EXPECT_GE(m.MarkedTotal(), 5000);
    // Home (MarkAll): with something marked, unmark all; then mark every file.
    filer_->RunAction(Code::MarkAll);
    EXPECT_EQ(m.MarkedCount(), 0u);
    filer_->RunAction(Code::MarkAll);
    EXPECT_EQ(m.MarkedCount(), 3u);  // every file, no directory
    // Return (OpenFirst) enters a directory; Backspace (ParentDirectory) comes back onto it.
    while (CursorName() != "ソフト") Key(VK_DOWN);
    filer_->RunAction(Code::OpenFirst);
    EXPECT_TRUE(EndsWithBackslash(TheSession().currentDir));
    EXPECT_EQ(ExtractFileName(ExcludeTrailingBackslash(TheSession().currentDir)), "ソフト");
    filer_->RunAction(Code::ParentDirectory);
    EXPECT_EQ(CursorName(), "ソフト");
}

TEST_F(FilerWindowTest, MenuActionsWithoutFileOperations) {
    FileListModel& m = filer_->Model();
    const long long start = m.CursorIndex();
    filer_->RunAction(Code::CursorDown);
    EXPECT_EQ(m.CursorIndex(), start + 1);
    filer_->RunAction(Code::CursorUp);
    EXPECT_EQ(m.CursorIndex(), start);
    // Mark from the cursor: files only, then folders too.
    m.PlaceCursor(0);
    filer_->RunAction(Code::MarkFromCursorFiles);
    EXPECT_EQ(m.MarkedCount(), 3u);
    filer_->RunAction(Code::MarkFromCursorAll);
    EXPECT_EQ(m.MarkedCount(), 4u);  // and ソフト; "." and ".." never
    // Starting the filer with the program is toggled and written at once.
    const bool before = TheSession().settings.filerAuto;
    filer_->RunAction(Code::FilerAtStart);
    EXPECT_NE(TheSession().settings.filerAuto, before);
    EXPECT_NE(test::ReadFile(TheSession().settingsPath).find(before ? "FilerAuto, 0" : "FilerAuto, 1"), std::string::npos);
    EXPECT_FALSE(filer_->RunAction(9999));
}

TEST_F(FilerWindowTest, MenusCarryTheActionsAndTheirKeys) {
    HMENU bar = GetMenu(filer_->Handle());
    ASSERT_NE(bar, nullptr);  // LSMENU is on by default
    char text[128] = {};
    // The caption is the name after its group, a TAB, and the bound key.
    ASSERT_GT(GetMenuStringA(bar, kFilerMenuBase + Code::View, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_EQ(std::string(text).substr(0, std::string("閲覧\t").size()), "閲覧\t");
    // A menu command runs the action of its code.
    SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuBase + Code::NamesSizesDates, 0);
    bool wide = false;
    for (std::size_t i = 0; i < filer_->Model().Count(); ++i) {
        if (filer_->Model().Entry(i).find.name == "b.doc") wide = filer_->Model().Entry(i).text.find("5000") != std::string::npos;
    }
    EXPECT_TRUE(wide);
    SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuBarHide, 0);
    EXPECT_EQ(GetMenu(filer_->Handle()), nullptr);
    SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuBarShow, 0);
    EXPECT_NE(GetMenu(filer_->Handle()), nullptr);
}

TEST_F(FilerWindowTest, CommandBoxTurnsTheFilersPageWithItsKeys) {
    for (int i = 0; i < 200; ++i) test::WriteFile(dir_.File("f" + std::to_string(i) + ".txt"), "x");
    filer_->ShowList();
    FileListModel& m = filer_->Model();
    ASSERT_LT(m.PageSize(), static_cast<long long>(m.Count()));
    TUserKey& keys = FilerKeyX().KeyXUserKey;
    const TUserKey saved = keys;
    keys.Clear();
    KeyBinding& next = keys.Add();
    next.key = VK_NEXT;
    next.name = "PAGEDOWN";
    next.action = 19;
    const long long top = m.PageTop();
    WPARAM key = VK_NEXT;
    CommandBox::For(filer_->CommandLine(), kFilerBox).KeyDown(key, false, false, false);
    EXPECT_EQ(key, 0u);  // consumed
    EXPECT_EQ(m.PageTop(), top + m.PageSize());
    key = VK_NEXT;  // with Shift it is not the bound key
    CommandBox::For(filer_->CommandLine(), kFilerBox).KeyDown(key, true, false, false);
    EXPECT_EQ(m.PageTop(), top + m.PageSize());
    keys.Assign(saved);
}

// A bound key that also makes a character ("\\", which alone goes to the
// root) runs its action only.
TEST_F(FilerWindowTest, ABoundKeyIsNotTypedAsWell) {
    TUserKey& keys = FilerKeyX().KeyXUserKey;
    const TUserKey saved = keys;
    keys.Clear();
    KeyBinding& down = keys.Add();
    down.key = VK_OEM_5;
    down.name = "\\";
    down.action = 74;  // cursor down
    const std::string dir = TheSession().currentDir;
    const long long at = filer_->Model().CursorIndex();
    Key(VK_OEM_5);
    SendMessageA(filer_->Handle(), WM_CHAR, '\\', 0);
    EXPECT_EQ(TheSession().currentDir, dir);
    EXPECT_EQ(filer_->Model().CursorIndex(), at + 1);
    // Unbound, the same character still goes to the root.
    keys.Clear();
    Key(VK_OEM_5);
    SendMessageA(filer_->Handle(), WM_CHAR, '\\', 0);
    EXPECT_EQ(TheSession().currentDir, dir.substr(0, 3));
    keys.Assign(saved);
}

TEST_F(FilerWindowTest, JapaneseTypedOnTheGridIsNotTakenForItsBytes) {
    // ソ reaches an ANSI window as 83 5C: the 5C is no "\\" of its own.
    const std::string dir = TheSession().currentDir;
    PostMessageW(filer_->Handle(), WM_CHAR, 0x30BD, 1);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    EXPECT_EQ(TheSession().currentDir, dir);
    SendMessageA(filer_->Handle(), WM_CHAR, '\\', 0);
    EXPECT_EQ(TheSession().currentDir, dir.substr(0, 3));
}

TEST_F(FilerWindowTest, MaskAndDisplayMode) {
    TheSession().masks = {"0*.TXT"};
    TheSession().maskText = "*.TXT";
    filer_->ShowList();
    EXPECT_EQ(filer_->Model().Count(), 4u);  // directories stay
    filer_->SetDisplayMode(1);
    bool found = false;
    for (std::size_t i = 0; i < filer_->Model().Count(); ++i) {
        const FileEntry& e = filer_->Model().Entry(i);
        if (e.find.name != "a.txt") continue;
        found = true;
        EXPECT_NE(e.text.find("        5 "), std::string::npos) << e.text;  // name, size and date
    }
    EXPECT_TRUE(found);
}

// Keys reach their actions through a key file: Space marks and moves down,
// Home unmarks all, Down moves; Backspace returns onto the directory left;
// Ctrl with a letter that no entry starts with keeps the cursor.
TEST_F(FilerWindowTest, KeyFileBindingsDriveTheGrid) {
    const TUserKey saved = FilerKeyX().KeyXUserKey;
    test::WriteFile(dir_.File("grid.Key"), "#ＫＥＳＴＲＵＭキー設定ファイル\r\n"
                                           "21, 32, [SPACE], 0, 0, 0, 0\r\n"
                                           "22, 36, HOME, 0, 0, 0, 0\r\n"
                                           "74, 40, DOWN, 0, 0, 0, 0\r\n"
                                           "18, 8, BS, 0, 0, 0, 0\r\n");
    LoadFilerKeyFile(dir_.File("grid.Key"), true);
    ASSERT_EQ(FilerKeyX().KeyXUserKey.Count(), 4);
    FileListModel& m = filer_->Model();
    while (CursorName() != "a.txt") Key(VK_DOWN);
    const long long at = m.CursorIndex();
    Key(VK_SPACE);
    EXPECT_EQ(m.MarkedCount(), 1u);
    EXPECT_TRUE(m.Entry(static_cast<std::size_t>(at)).marked);
    EXPECT_EQ(m.CursorIndex(), at + 1);
    Key(VK_HOME);  // something is marked: unmark all
    EXPECT_EQ(m.MarkedCount(), 0u);
    Key(VK_HOME);  // nothing marked: mark every file
    EXPECT_EQ(m.MarkedCount(), 3u);

    const long long before = m.CursorIndex();
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    Key('Q');  // no entry starts with Q (k.cfg, the settings file, starts with K)
    EXPECT_EQ(m.CursorIndex(), before);
    Key('A');  // a.txt
    EXPECT_EQ(CursorName(), "a.txt");
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);

    ASSERT_TRUE(CreateDirectoryA(dir_.File("WORK").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dir_.File("WORK\\SRC").c_str(), nullptr));
    ASSERT_TRUE(ChangeDirectory(dir_.File("WORK\\SRC\\")));
    filer_->ShowList();
    Key(VK_BACK);
    EXPECT_EQ(ExtractFileName(ExcludeTrailingBackslash(TheSession().currentDir)), "WORK");
    EXPECT_EQ(CursorName(), "SRC");
    FilerKeyX().KeyXUserKey.Assign(saved);
}

// The letter actions ask through the line-input window and hand the
// selection to the file operations.
TEST_F(FilerWindowTest, FileActionsAskAndAct) {
    FileListModel& m = filer_->Model();
    auto placeOn = [&](const std::string& name) {
        for (std::size_t i = 0; i < m.Count(); ++i) {
            if (m.Entry(i).find.name == name) m.PlaceCursor(static_cast<long long>(i));
        }
    };
    // Delete with the cursor on ".." and no marks: refused, nothing deleted.
    placeOn("..");
    filer_->RunAction(Code::Delete);
    ASSERT_FALSE(prompter_.Questions().empty());
    EXPECT_EQ(prompter_.Questions().back().text, "親ディレクトリを削除することは出来ません");

    // Copy onto ".\" duplicates: the name question proposes a.BAK.
    placeOn("a.txt");
    prompter_.AnswerLine(".\\");
    prompter_.AnswerLine("a.BAK");
    filer_->RunAction(Code::Copy);
    ASSERT_EQ(prompter_.LineQuestions().size(), 2u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "a.txtをコピーします。");
    EXPECT_EQ(prompter_.LineQuestions()[1].title, "a.txtをバックアップします");
    EXPECT_EQ(prompter_.LineQuestions()[1].text, "a.BAK");
    EXPECT_EQ(test::ReadFile(dir_.File("a.BAK")), "hello");

    // Rename refuses names with forbidden characters and renames otherwise.
    placeOn("a.BAK");
    prompter_.AnswerLine("x<y");
    filer_->RunAction(Code::Rename);
    EXPECT_EQ(prompter_.Questions().back().text, "\\ / : * ? \" < >  |はファイル名として使えません");
    placeOn("a.BAK");
    prompter_.AnswerLine("c.BAK");
    filer_->RunAction(Code::Rename);
    EXPECT_EQ(test::ReadFile(dir_.File("c.BAK")), "hello");

    // Move of two marked files to a typed directory.
    CreateDirectoryA(dir_.File("to").c_str(), nullptr);
    filer_->Relist(0);
    for (std::size_t i = 0; i < m.Count(); ++i) {
        const std::string& n = m.Entry(i).find.name;
        if (n == "c.BAK" || n == "b.doc") m.SetMark(i, true, nullptr);
    }
    prompter_.AnswerLine(dir_.File("to"));
    filer_->RunAction(Code::Move);
    EXPECT_EQ(prompter_.LineQuestions().back().title, "マークファイルを移動します。");
    EXPECT_EQ(test::ReadFile(dir_.File("to\\c.BAK")), "hello");
    EXPECT_EQ(test::ReadFile(dir_.File("to\\b.doc")).size(), 5000u);
    EXPECT_EQ(GetFileAttributesA(dir_.File("b.doc").c_str()), INVALID_FILE_ATTRIBUTES);

    // With a mask set the mask question proposes "*.*".
    TheSession().maskText = "*.TXT";
    prompter_.AnswerLine(std::nullopt);
    filer_->RunAction(Code::Mask);
    EXPECT_EQ(prompter_.LineQuestions().back().text, "*.*");
}

// Directory registration: the next free digit, a line before [END].
TEST_F(FilerWindowTest, RegisteringTheDirectoryInTheLists) {
    TheSession().lists.logList = {"1 C:\\A\\", "W C:\\W\\"};
    prompter_.AnswerLine("");
    filer_->RunAction(Code::RegisterInLogList);
    ASSERT_EQ(TheSession().lists.logList.size(), 3u);
    EXPECT_EQ(TheSession().lists.logList[2], "2 " + TheSession().currentDir);
    prompter_.AnswerLine("toolong");
    prompter_.AnswerLine("k");
    filer_->RunAction(Code::RegisterInCopyList);
    EXPECT_EQ(TheSession().lists.copyList.back(), "K " + TheSession().currentDir);
    const std::string text = test::ReadFile(TheSession().settingsPath);
    EXPECT_NE(text.find("[LogDiskList]\r\n" + TheSession().currentDir + ",2\r\n[END]"), std::string::npos) << text;
    EXPECT_NE(text.find("[CopyDirList]\r\n" + TheSession().currentDir + ",K\r\n[END]"), std::string::npos) << text;
}

// The grid is drawn in the file-name font: a directory's name in a cell ends
// where that font measures it, whatever the device context held before.
TEST_F(FilerWindowTest, TheGridDrawsNamesInTheFileNameFont) {
    const std::string name = "WWWWWWWWWW";
    CreateDirectoryA(dir_.File(name).c_str(), nullptr);
    filer_->RefreshListing();
    FileListModel& m = filer_->Model();
    long long index = -1;
    for (std::size_t i = 0; i < m.Count(); ++i) {
        if (m.Entry(i).find.name == name) index = static_cast<long long>(i);
    }
    ASSERT_GE(index, 0);
    m.PlaceCursor(0);  // the cursor elsewhere: the cell is drawn plainly
    const FilerLayout& l = filer_->Layout();
    const long long row = index % m.Rows();
    const long long col = index / m.Rows();
    ASSERT_EQ(col, 0);

    RECT rc{};
    GetClientRect(filer_->Handle(), &rc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(filer_->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);

    // The rightmost pixel of the row that differs from the grid's background.
    const auto* px = static_cast<const std::uint32_t*>(bits);
    const int top = l.grid.top + static_cast<int>(row) * l.rowHeight;
    const std::uint32_t back = px[static_cast<std::size_t>(top) * rc.right + l.grid.left + l.columnWidth - 2];
    int inkRight = -1;
    for (int y = top; y < top + l.rowHeight && y < rc.bottom; ++y) {
        for (int x = l.grid.left; x < l.grid.left + l.columnWidth && x < rc.right; ++x) {
            if (px[static_cast<std::size_t>(y) * rc.right + x] != back) inkRight = std::max(inkRight, x);
        }
    }
    const FontHandle font = CreateFontFromSpec(filer_->Font(0));
    HGDIOBJ before = SelectObject(dc, font.Get());
    SIZE shown{};
    GetTextExtentPoint32A(dc, ("<" + name + ">").c_str(), static_cast<int>(name.size() + 2), &shown);
    SIZE star{};
    GetTextExtentPoint32A(dc, "*", 1, &star);
    SelectObject(dc, before);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    // The name starts after the room of the mark's star and ends within a
    // pixel or two of its measured width.
    const int expected = l.grid.left + star.cx + 1 + shown.cx;
    EXPECT_NEAR(inkRight, expected, 3) << "ink ends at " << inkRight;
}

// The window over the file system installed: what it lists, refreshes and
// renames is the in-memory tree, not the disk beneath the same path.
TEST(FilerOverInstalledFileSystem, ListsRefreshesAndRenamesInTheInstalledTree) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    test::TempDir dir;
    test::WriteFile(dir.File("disk-only.txt"), "on the disk");
    test::MemFileSystem mem;
    mem.SetCurrentDir(dir.Path());
    mem.AddFile(dir.File("メモ.txt"), "in memory");
    mem.AddDir(dir.File("資料"));
    const Subscription fs = InstallFileSystem(mem);
    ScriptedPrompter prompter;
    const Subscription asked = InstallPrompter(prompter);
    TheSession() = Session();
    TheSession().settingsPath = dir.File("k.cfg");
    mem.AddFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir.Path() + "\r\n[END]\r\n");
    test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir.Path() + "\r\n[END]\r\n");
    {
        TfrmFM filer;
        ASSERT_TRUE(filer.Create(nullptr));
        filer.ShowFiler();
        const auto names = [&filer] {
            std::vector<std::string> out;
            FileListModel& m = filer.Model();
            for (std::size_t i = 0; i < m.Count(); ++i) out.push_back(m.Entry(i).find.name);
            std::sort(out.begin(), out.end());
            return out;
        };
        EXPECT_EQ(names(), (std::vector<std::string>{".", "..", "k.cfg", "メモ.txt", "資料"}));

        mem.AddFile(dir.File("新しい.txt"), "later");
        filer.RefreshListing();
        EXPECT_EQ(names().size(), 6u);

        FileListModel& m = filer.Model();
        for (std::size_t i = 0; i < m.Count(); ++i) {
            if (m.Entry(i).find.name == "メモ.txt") m.PlaceCursor(static_cast<long long>(i));
        }
        prompter.AnswerLine("改名.txt");
        filer.RunAction(FilerActionCode::Rename);
        EXPECT_TRUE(mem.Has(dir.File("改名.txt")));
        EXPECT_FALSE(mem.Has(dir.File("メモ.txt")));
        EXPECT_NE(GetFileAttributesA(dir.File("disk-only.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    }
    TheSession() = Session();
    SetCurrentDirectoryA(cwd);
}

}  // namespace
}  // namespace kestrum
