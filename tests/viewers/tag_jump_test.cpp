// Tag-jump lines, the jump-to-line arithmetic and the recent-file list.
#include "viewers/tag_jump.h"

#include <gtest/gtest.h>

#include "viewers/recent_files.h"

namespace kestrum {
namespace {

TEST(TagJump, QuotedPathWithABlank) {
    const TagJump t = ParseTagLine("\"C:\\My Docs\\main.c\" 12: error: missing ;");
    EXPECT_EQ(t.file, "C:\\My Docs\\main.c");
    EXPECT_EQ(t.line, 12);
}

TEST(TagJump, UnquotedName) {
    TagJump t = ParseTagLine("main.c 12: warning");
    EXPECT_EQ(t.file, "main.c");
    EXPECT_EQ(t.line, 12);
    // The colon of a drive is before the blank; the number's colon after it.
    t = ParseTagLine("C:\\src\\表.c   7:x");
    EXPECT_EQ(t.file, "C:\\src\\表.c");
    EXPECT_EQ(t.line, 7);
    // No colon: the number runs to the end of the line.
    t = ParseTagLine("a.txt 30");
    EXPECT_EQ(t.line, 30);
}

TEST(TagJump, RelativeNamesAreTakenFromTheViewedFilesFolder) {
    EXPECT_EQ(TagFilePath("main.c", "C:\\src\\表\\errors.txt"), "C:\\src\\表\\main.c");
    EXPECT_EQ(TagFilePath("lib\\a.c", "C:\\src\\errors.txt"), "C:\\src\\lib\\a.c");
    EXPECT_EQ(TagFilePath("..\\a.c", "C:\\src\\errors.txt"), "C:\\src\\..\\a.c");
    // A drive, a root or a server: as written.
    EXPECT_EQ(TagFilePath("D:\\x\\a.c", "C:\\src\\errors.txt"), "D:\\x\\a.c");
    EXPECT_EQ(TagFilePath("D:a.c", "C:\\src\\errors.txt"), "D:a.c");
    EXPECT_EQ(TagFilePath("\\x\\a.c", "C:\\src\\errors.txt"), "\\x\\a.c");
    EXPECT_EQ(TagFilePath("\\\\srv\\share\\a.c", "C:\\src\\errors.txt"), "\\\\srv\\share\\a.c");
    // A text that is no file: as written, from the current folder.
    EXPECT_EQ(TagFilePath("main.c", ""), "main.c");
}

TEST(TagJump, LinesWithoutAUsableNumber) {
    TagJump t = ParseTagLine("readme.txt");
    EXPECT_EQ(t.file, "readme.txt");
    EXPECT_EQ(t.line, std::nullopt);
    t = ParseTagLine("a.c line12: x");
    EXPECT_EQ(t.file, "a.c");
    EXPECT_EQ(t.line, std::nullopt);
    t = ParseTagLine("\"unclosed name 3: x");
    EXPECT_EQ(t.file, "unclosed name 3: x");
    EXPECT_EQ(t.line, std::nullopt);
    t = ParseTagLine("\"a b\":5");
    EXPECT_EQ(t.file, "a b");
    EXPECT_EQ(t.line, std::nullopt);  // nothing between the quote and the colon
    EXPECT_EQ(ParseLineNumber(" -3 "), -3);
    EXPECT_EQ(ParseLineNumber("99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseLineNumber("1 2"), std::nullopt);
    EXPECT_EQ(ParseTagLine("").file, "");
}

TEST(TagJump, SourceLineToDisplayLine) {
    TLightStrings s;
    s.SetWrapWidth(4);
    s.SetText("12345678\r\nab\r\ncdefgh\r\n");  // 1234 5678 | ab | cdef gh
    EXPECT_EQ(DisplayLineOfSourceLine(s, 1), 0u);
    EXPECT_EQ(DisplayLineOfSourceLine(s, 2), 2u);
    EXPECT_EQ(DisplayLineOfSourceLine(s, 3), 3u);
    EXPECT_EQ(DisplayLineOfSourceLine(s, 99), 3u);  // past the end: the last
    EXPECT_EQ(DisplayLineOfSourceLine(s, 0), 0u);
    EXPECT_EQ(DisplayLineOfSourceLine(s, -5), 0u);
    TLightStrings empty;
    EXPECT_EQ(DisplayLineOfSourceLine(empty, 3), 0u);
}

TEST(RecentFiles, TheNinthFilePushesTheOldestOut) {
    TRecentFiles r;
    std::string left;
    for (int i = 1; i <= 9; ++i) {
        const std::string path = "C:\\f" + std::to_string(i) + ".txt";
        EXPECT_EQ(r.Loaded(left, 0, path), std::nullopt);
        left = path;
    }
    ASSERT_EQ(r.Entries().size(), 8u);
    EXPECT_EQ(r.Entries().front().path, "C:\\f9.txt");
    EXPECT_EQ(r.Entries().back().path, "C:\\f2.txt");
    const std::vector<std::string> captions = r.Captions();
    EXPECT_EQ(captions[0], "&1 C:\\f9.txt");
    EXPECT_EQ(captions[7], "&8 C:\\f2.txt");
    EXPECT_EQ(TRecentFiles::PathOfCaption(captions[7]), "C:\\f2.txt");
}

TEST(RecentFiles, ReloadingRestoresTheTopLineAndMovesToFirst) {
    TRecentFiles r;
    r.Loaded("", 0, "C:\\a.txt");
    r.Loaded("C:\\a.txt", 120, "C:\\b.txt");  // a.txt was left at line 120
    r.Loaded("C:\\b.txt", 7, "C:\\c.txt");
    EXPECT_EQ(r.Loaded("C:\\c.txt", 3, "c:\\A.TXT"), 120u);
    EXPECT_EQ(r.Captions(), (std::vector<std::string>{"&1 C:\\a.txt", "&2 C:\\c.txt", "&3 C:\\b.txt"}));
    EXPECT_EQ(r.Loaded("C:\\a.txt", 0, "C:\\b.txt"), 7u);
    EXPECT_EQ(r.Loaded("C:\\b.txt", 0, "C:\\c.txt"), 3u);
    EXPECT_EQ(r.Entries().size(), 3u);
}

}  // namespace
}  // namespace kestrum
