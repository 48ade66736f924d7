// The text-only path utilities: trailing characters, file-name validity and
// whether one path lies inside another, with Shift-JIS trail bytes.
#include "fileops/path_utils.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kestrum
