// The Windows code of the file operations, the filer, the shell and the
// application works on the file system installed, not on the disk: an
// in-memory one holds a tree no disk has, and every caller finds it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "common/file_system_win.h"
#include "common/prompter.h"
#include "fileops/file_copy_win.h"
#include "fileops/path_utils.h"
#include "fileops/remove_tree_win.h"
#include "filer/sort_write_win.h"
#include "config/session.h"
#include "shell/command_box_win.h"
#include "shell/file_commands.h"
#include "shell/frm_main_win.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::MemFileSystem;

// A drive letter no test machine has, so the disk can never answer.
const std::string kRoot = "Q:\\MEM\\";

class CurrentFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        mem_.AddFile(kRoot + "a.txt", "a");
        mem_.AddFile(kRoot + "sub\\b.txt", "b");
        mem_.AddDir(kRoot + "Alpha");
        mem_.ClearLog();
    }
    void TearDown() override { TheSession() = Session(); }

    test::TempDir dir_;
    MemFileSystem mem_;
    const Subscription installed_ = InstallFileSystem(mem_);
    ScriptedPrompter prompter_;
    const Subscription prompterInstalled_ = InstallPrompter(prompter_);
};

TEST_F(CurrentFileSystemTest, TheFileOperationsFindTheInstalledTree) {
    EXPECT_EQ(&CurrentFileSystem(), &mem_);
    EXPECT_TRUE(FileExists(kRoot + "a.txt"));
    EXPECT_TRUE(DirExists(kRoot + "sub"));
    EXPECT_TRUE(DirHasEntries(kRoot + "sub"));
    EXPECT_TRUE(IsInsideDirectory(kRoot + "sub\\b.txt", kRoot));
    EXPECT_TRUE(ForceDirs(kRoot + "new\\deeper"));
    EXPECT_TRUE(mem_.Has(kRoot + "new\\deeper"));

    std::vector<std::string> names;
    TFileCopy::AddAllFileNames(kRoot, names);
    EXPECT_FALSE(names.empty());
    EXPECT_FALSE(DirTreePatterns(kRoot).empty());
}

TEST_F(CurrentFileSystemTest, TheFilerAndTheApplicationWriteToTheInstalledTree) {
    // The sort order is written through a temporary directory of the tree.
    prompter_.Answer(mrYes);
    WriteSortOrderToDisk(kRoot, {"a.txt"});
    EXPECT_FALSE(mem_.Log(MemFileSystem::Op::MakeDir).empty());
    EXPECT_TRUE(mem_.Has(kRoot + "a.txt"));

    // The shell's REN renames in it, never over an existing name.
    EXPECT_TRUE(TheFileCommandHost().Rename(kRoot + "a.txt", kRoot + "c.txt"));
    EXPECT_TRUE(mem_.Has(kRoot + "c.txt"));
    EXPECT_FALSE(mem_.Has(kRoot + "a.txt"));
}

TEST_F(CurrentFileSystemTest, TheCommandBoxCompletesFromTheInstalledTree) {
    TheSession().settingsPath = dir_.File("Kestrum.Cfg");
    test::WriteFile(TheSession().settingsPath, "[FORM_LS]\r\n[END]\r\n");
    TfrmMain form;
    ASSERT_TRUE(form.Create(nullptr));
    HWND edit = form.Edit1();
    for (char c : "cd " + kRoot + "al") SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    SendMessageA(edit, WM_KEYDOWN, VK_F6, 0);
    SendMessageA(edit, WM_KEYUP, VK_F6, 0);
    EXPECT_EQ(GetText(edit), "cd " + kRoot + "Alpha\\");
}

}  // namespace
}  // namespace kestrum
