// Shift-JIS scanning: trail bytes that look like "\" or ASCII letters.
#include "common/sjis.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// 表 = 95 5C and ソ = 83 5C end in the byte of "\"; ヂ = 83 61 ends in "a".
const std::string kHyo = "表";
const std::string kSo = "ソ";
const std::string kDi = "ヂ";

TEST(SjisTest, LiteralsAreShiftJis) {
    ASSERT_EQ(kHyo, "\x95\x5C");
    ASSERT_EQ(kSo, "\x83\x5C");
    ASSERT_EQ(kDi, "\x83\x61");
}

TEST(SjisTest, CharLenPairsOnlyWithARealTrailByte) {
    EXPECT_EQ(CharLen(kHyo, 0), 2u);
    EXPECT_EQ(CharLen("A", 0), 1u);
    // A lead byte at the end, or before NUL, CR or LF, stands alone.
    EXPECT_EQ(CharLen(std::string("\x95"), 0), 1u);
    EXPECT_EQ(CharLen(std::string("\x95\0", 2), 0), 1u);
    EXPECT_EQ(CharLen(std::string("\x95\r"), 0), 1u);
    EXPECT_EQ(CharLen(std::string("\x95\n"), 0), 1u);
    EXPECT_EQ(CharLen("", 0), 0u);
    EXPECT_TRUE(IsCharBoundary("a" + kHyo, 1));
    EXPECT_FALSE(IsCharBoundary("a" + kHyo, 2));
    EXPECT_TRUE(IsCharBoundary("a" + kHyo, 3));
}

TEST(SjisTest, SeparatorScansSkipTrailBytes) {
    const std::string path = "C:\\" + kHyo + "\\" + kSo;  // C:\表\ソ
    EXPECT_EQ(FindChar(path, '\\'), 2u);
    EXPECT_EQ(FindChar(path, '\\', 3), 5u);
    EXPECT_EQ(FindLastChar(path, '\\'), 5u);
    EXPECT_EQ(FindLastChar(kSo, '\\'), std::string::npos);
    EXPECT_EQ(FindAnyChar(kHyo + ":", "\\:"), 2u);
    EXPECT_EQ(FindLastAnyChar("C:" + kHyo, "\\:"), 1u);
    EXPECT_EQ(FindChar(kDi + "a", 'a'), 2u);
}

TEST(SjisTest, PathPartsOfNamesEndingInA5C) {
    EXPECT_EQ(ExtractFilePath("C:\\DIR\\" + kHyo), "C:\\DIR\\");
    EXPECT_EQ(ExtractFileName("C:\\DIR\\" + kHyo), kHyo);
    EXPECT_EQ(ExtractFileName("C:" + kSo), kSo);
    EXPECT_EQ(ExtractFilePath(kSo), "");
    EXPECT_FALSE(EndsWithBackslash("C:\\" + kHyo));
    EXPECT_EQ(IncludeTrailingBackslash("C:\\" + kHyo), "C:\\" + kHyo + "\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + kSo), "C:\\" + kSo);
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + kSo + "\\"), "C:\\" + kSo);
    EXPECT_EQ(ExtractFileExt("A.B\\" + kHyo), "");
    EXPECT_EQ(ExtractFileExt("X\\" + kHyo + ".TXT"), ".TXT");
    EXPECT_EQ(ChangeFileExt("C:\\K\\Kestrum.Cfg", ".WK"), "C:\\K\\Kestrum.WK");
    EXPECT_EQ(ChangeFileExt("C:\\K.D\\Kestrum", ".WK"), "C:\\K.D\\Kestrum.WK");
}

TEST(SjisTest, CaseFoldingLeavesDoubleByteCharactersAlone) {
    EXPECT_EQ(UpperAscii(kDi + "a" + kDi), kDi + "A" + kDi);
    EXPECT_EQ(UpperAscii("c:\\work"), "C:\\WORK");
    EXPECT_EQ(LowerAscii("ABC" + kSo), "abc" + kSo);
    EXPECT_TRUE(SameText("abc" + kDi, "ABC" + kDi));
    EXPECT_FALSE(SameText(kDi, "\x83\x41"));  // ヂ is not ア
    // A lone lead byte at the end does not swallow anything.
    EXPECT_EQ(UpperAscii(std::string("a\x95")), std::string("A\x95"));
}

TEST(SjisTest, TrimSlashesAndJapaneseDetection) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim(" " + kSo + " "), kSo);
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(SlashesToBackslashes("cd/windows/" + kHyo), "cd\\windows\\" + kHyo);
    EXPECT_TRUE(HasJapanese("abc" + kHyo));
    EXPECT_TRUE(HasJapanese("\xB1" "BC"));  // half-width katakana first
    EXPECT_FALSE(HasJapanese("ABC.TXT"));
}

TEST(SjisTest, ConfigPathsAreRelativeToTheProgramUnlessTheyNameADrive) {
    EXPECT_EQ(ResolveConfigPath("Kestrum.Key", "C:\\K\\"), "C:\\K\\Kestrum.Key");
    EXPECT_EQ(ResolveConfigPath("D:\\keys\\my.key", "C:\\K\\"), "D:\\keys\\my.key");
}

TEST(SjisTest, ALoneLeadByteNeverTakesABlankCommaOrQuote) {
    // Only 40-7E and 80-FC follow a lead byte; anything else stands alone,
    // so separators after a lone lead byte still count.
    const char* alone[] = {"\x81 ", "\x81,", "\x81\"", "\x81;", "\x81\t", "\x81:", "\x81\x7F", "\x81\xFD", "\x81\xFF"};
    for (const char* t : alone) EXPECT_EQ(CharLen(t, 0), 1u) << static_cast<int>(static_cast<unsigned char>(t[1]));
    const char* pairs[] = {"\x81\x40", "\x81\x5C", "\x81\x5D", "\x81\x7E", "\x81\x80", "\x81\xFC"};
    for (const char* t : pairs) EXPECT_EQ(CharLen(t, 0), 2u) << static_cast<int>(static_cast<unsigned char>(t[1]));
    EXPECT_EQ(FindChar("a\x81,b", ','), 2u);
    EXPECT_EQ(Trim("x\x81 "), "x\x81");
}

}  // namespace
}  // namespace kestrum
