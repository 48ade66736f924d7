// The path utilities: trailing characters, file-name validity and whether
// one path lies inside another, with Shift-JIS trail bytes; and those that
// ask a file system, on one held in memory.
#include "fileops/path_utils.h"

#include <gtest/gtest.h>

#include "tests/common/mem_file_system.h"

namespace kestrum {
namespace {

TEST(PathUtilsTest, TrailingCharactersAreWholeCharacters) {
    EXPECT_TRUE(EndsWithColon("C:"));
    EXPECT_FALSE(EndsWithColon("C:\\"));
    EXPECT_FALSE(EndsWithColon(""));
    EXPECT_FALSE(EndsWithBackslash("ソ"));  // 0x83 0x5C
    EXPECT_TRUE(EndsWithBackslash("ソ\\"));
}

TEST(PathUtilsTest, FileNamesWithPathOrWildcardCharactersAreInvalid) {
    for (const char* bad : {"a/b", "a:b", "a\\b", "a*", "a?", "<a", "a>", "a|b", "a\"b", "ソ\\"}) {
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    }
    for (const char* good : {"a.txt", "ソ.txt", "表示", "能力", "a b.c", ""}) {
        EXPECT_TRUE(IsValidFileName(good)) << good;
    }
}

TEST(PathUtilsTest, InsideIsDecidedOnWholeComponents) {
    EXPECT_TRUE(IsSameOrInsidePath("C:\\A\\B", "C:\\A"));
    EXPECT_TRUE(IsSameOrInsidePath("c:\\a\\b\\", "C:\\A\\"));
    EXPECT_TRUE(IsSameOrInsidePath("C:\\A", "c:\\a\\"));
    EXPECT_TRUE(IsSameOrInsidePath("C:\\A", "C:\\"));
    EXPECT_FALSE(IsSameOrInsidePath("C:\\AB", "C:\\A"));
    EXPECT_FALSE(IsSameOrInsidePath("C:\\A", "C:\\A\\B"));
    EXPECT_FALSE(IsSameOrInsidePath("C:\\A", ""));
    EXPECT_TRUE(IsSameOrInsidePath("C:\\ソ\\x", "C:\\ソ"));
    // "C:\ソ" starts with the bytes of "C:\" + 0x83, but 0x5C there is the
    // second half of ソ, not a separator.
    EXPECT_FALSE(IsSameOrInsidePath("C:\\ソ", "C:\\\x83"));
    // Upper-casing leaves trail bytes alone: ａ-like pairs do not fold.
    EXPECT_FALSE(IsSameOrInsidePath("C:\\\x83\x61", "C:\\\x83\x41"));
}

using test::MemFileSystem;
using Op = MemFileSystem::Op;

TEST(PathUtilsFsTest, ForceDirsMakesEachMissingLevelAndStopsAtTheFirstThatFails) {
    MemFileSystem fs;
    fs.AddFile("C:\\表\\ソ.txt");
    EXPECT_TRUE(ForceDirs(fs, "C:\\a\\ソ\\c\\"));
    EXPECT_EQ(fs.Log(Op::MakeDir), (std::vector<std::string>{"C:\\a", "C:\\a\\ソ", "C:\\a\\ソ\\c"}));
    EXPECT_TRUE(DirExists(fs, "C:\\a\\ソ\\c"));
    EXPECT_FALSE(ForceDirs(fs, "C:\\表\\ソ.txt\\sub"));  // a file is in the way
    EXPECT_TRUE(FileExists(fs, "C:\\表\\ソ.txt"));
    EXPECT_FALSE(FileExists(fs, "C:\\表"));

    fs.ClearLog();
    fs.FailOn(Op::MakeDir, "C:\\b\\y");
    EXPECT_FALSE(ForceDirs(fs, "C:\\b\\y\\z"));
    EXPECT_EQ(fs.Log(Op::MakeDir), (std::vector<std::string>{"C:\\b", "C:\\b\\y"}));
    EXPECT_TRUE(fs.IsDir("C:\\b"));

    // A directory that cannot be searched counts as holding nothing.
    EXPECT_TRUE(DirHasEntries(fs, "C:\\表"));
    fs.FailOn(Op::Find, "C:\\表\\*");
    EXPECT_FALSE(DirHasEntries(fs, "C:\\表\\"));
    EXPECT_FALSE(DirHasEntries(fs, "C:\\a\\ソ\\c"));
}

// Drive S: shows C:\WORK under another name, as a substituted drive does.
class SubstitutedDrive : public MemFileSystem {
public:
    std::optional<FileId> Identity(const std::string& path) override {
        std::string p = FullPath(path);
        if (p.size() >= 2 && (p[0] == 'S' || p[0] == 's') && p[1] == ':') p = "C:\\WORK" + p.substr(2);
        return MemFileSystem::Identity(ExcludeTrailingBackslash(p));
    }
};

TEST(PathUtilsFsTest, AnotherSpellingOfADirectoryIsFoundByIdentity) {
    SubstitutedDrive fs;
    fs.AddFile("C:\\WORK\\sub\\a.txt");
    fs.AddDir("D:\\x");
    EXPECT_TRUE(IsInsideDirectory(fs, "C:\\work\\new", "C:\\WORK"));  // by name
    EXPECT_TRUE(fs.Log(Op::Identity).empty());
    EXPECT_TRUE(IsInsideDirectory(fs, "S:\\sub\\new\\deeper", "C:\\WORK"));  // need not exist
    EXPECT_TRUE(IsInsideDirectory(fs, "S:\\new", "C:\\WORK\\"));
    EXPECT_TRUE(IsInsideDirectory(fs, "S:\\sub", "C:\\WORK\\sub"));
    EXPECT_FALSE(IsInsideDirectory(fs, "S:\\", "C:\\WORK\\sub"));
    EXPECT_FALSE(IsInsideDirectory(fs, "D:\\x\\y", "C:\\WORK"));
    EXPECT_FALSE(IsInsideDirectory(fs, "S:\\x", "C:\\NONE"));

    EXPECT_TRUE(SameFile(fs, "S:\\sub\\a.txt", "C:\\WORK\\SUB\\.\\a.txt"));
    EXPECT_FALSE(SameFile(fs, "S:\\sub\\a.txt", "S:\\sub"));
    // Paths that cannot be opened are compared as full paths.
    EXPECT_TRUE(SameFile(fs, "C:\\WORK\\gone.txt", "c:\\work\\sub\\..\\GONE.TXT"));
    EXPECT_FALSE(SameFile(fs, "C:\\WORK\\gone.txt", "C:\\WORK\\gone2.txt"));
}

}  // namespace
}  // namespace kestrum
