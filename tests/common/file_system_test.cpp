// The in-memory file system the core tests use: the platform's rules the
// cores rely on, relative and drive-relative paths, the order of a
// directory, and failures made to order.
#include <gtest/gtest.h>

#include "tests/common/file_system_contract.h"
#include "tests/common/mem_file_system.h"

namespace kestrum::test {
namespace {

using Op = MemFileSystem::Op;

TEST(MemFileSystem, KeepsTheContractThePlatformKeeps) {
    MemFileSystem fs;
    fs.AddDir("D:\\WORK\\T");
    CheckFileSystemContract(fs, "D:\\WORK\\T");
}

TEST(MemFileSystem, RelativePathsFollowTheCurrentDirectories) {
    MemFileSystem fs;
    fs.SetCurrentDir("C:\\HOME\\表");
    fs.AddFile("a.txt");
    fs.AddFile("D:\\TOP\\b.txt");
    EXPECT_TRUE(fs.Has("C:\\HOME\\表\\a.txt"));
    EXPECT_EQ(fs.FullPath("sub\\..\\a.txt"), "C:\\HOME\\表\\a.txt");
    EXPECT_EQ(fs.FullPath("c:x"), "C:\\HOME\\表\\x");  // the drive's current directory
    EXPECT_EQ(fs.FullPath("D:x"), "D:\\x");              // another drive's is its root
    EXPECT_EQ(fs.FullPath("\\WIN"), "C:\\WIN");
    EXPECT_EQ(FoundNames(fs, "A*"), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(FoundNames(fs, "d:\\*"), std::vector<std::string>{"TOP"});  // a root has no dots
    EXPECT_EQ(fs.DriveTypeOf('d'), kDriveFixed);
    EXPECT_EQ(fs.DriveTypeOf('Q'), kDriveNoRoot);
    fs.SetDriveType('A', kDriveRemovable);
    EXPECT_EQ(fs.DriveTypeOf('a'), kDriveRemovable);
}

TEST(MemFileSystem, ADirectoryListsItsEntriesInTheOrderTheyCameIn) {
    MemFileSystem fs;
    for (const char* n : {"c", "A", "b"}) fs.AddFile(std::string("C:\\W\\") + n);
    EXPECT_EQ(fs.Names("C:\\W"), (std::vector<std::string>{"c", "A", "b"}));
    ASSERT_TRUE(fs.Move("C:\\W\\c", "C:\\W\\T", 0));  // a renamed entry comes last
    ASSERT_TRUE(fs.Move("C:\\W\\a", "C:\\W\\a", 0));  // a case-only rename of itself
    EXPECT_EQ(fs.Names("C:\\W"), (std::vector<std::string>{"b", "T", "a"}));
    fs.AddDir("D:\\");
    EXPECT_FALSE(fs.Move("C:\\W\\b", "D:\\b", 0));
    EXPECT_EQ(fs.LastError(), MemFileSystem::kNotSameDevice);
    EXPECT_TRUE(fs.Move("C:\\W\\b", "D:\\b", kMoveAcrossVolumes));
    EXPECT_FALSE(fs.Move("C:\\W", "C:\\W\\T2", 0));  // never into itself
}

TEST(MemFileSystem, FailsTheNthChangeOrEveryCallOnAPath) {
    MemFileSystem fs;
    fs.FailChange(1, 112);
    EXPECT_TRUE(fs.MakeDir("C:\\A"));
    EXPECT_FALSE(fs.MakeDir("C:\\B"));
    EXPECT_EQ(fs.LastError(), 112);
    EXPECT_FALSE(fs.Has("C:\\B"));
    EXPECT_TRUE(fs.MakeDir("C:\\B"));
    EXPECT_EQ(fs.Changes(), 3u);

    fs.AddFile("C:\\A\\f.txt", "f");
    fs.FailOn(Op::Move, "c:\\a\\F.TXT");
    fs.FailOn(Op::Find, "C:\\A\\*");
    EXPECT_FALSE(fs.Move("C:\\A\\f.txt", "C:\\B\\f.txt", 0));
    EXPECT_EQ(fs.Content("C:\\A\\f.txt"), "f");
    EXPECT_TRUE(fs.Find("C:\\A\\*").empty());
    EXPECT_EQ(fs.Find("C:\\A\\*.*").size(), 3u);
    EXPECT_EQ(fs.Log(Op::Move), std::vector<std::string>{"C:\\A\\f.txt -> C:\\B\\f.txt"});
    EXPECT_EQ(fs.Log(Op::MakeDir), (std::vector<std::string>{"C:\\A", "C:\\B", "C:\\B"}));
}

}  // namespace
}  // namespace kestrum::test
