// Dropped file names into the command box.
#include "shell/drop_text.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(DropTextTest, ThreePathsAtTheCaretInTheMiddle) {
    const BoxText out = InsertDroppedPaths({"copy  to", 5}, {"C:\\a.txt", "C:\\b c.txt", "C:\\表"});
    EXPECT_EQ(out.text, "copy  C:\\a.txt C:\\b c.txt C:\\表  to");
    // Right after the inserted names (and their trailing blank).
    EXPECT_EQ(out.text.substr(0, static_cast<std::size_t>(out.caret)), "copy  C:\\a.txt C:\\b c.txt C:\\表 ");
}

TEST(DropTextTest, EmptyBoxAndOddCarets) {
    BoxText out = InsertDroppedPaths({"", 0}, {"C:\\x"});
    EXPECT_EQ(out.text, "C:\\x");
    EXPECT_EQ(out.caret, 4);
    // A caret past the end or inside a double-byte character is brought back.
    out = InsertDroppedPaths({"表", 1}, {"D:\\y"});
    EXPECT_EQ(out.text, "D:\\y 表");
    out = InsertDroppedPaths({"ab", 99}, {"z"});
    EXPECT_EQ(out.text, "ab z");
    EXPECT_EQ(out.caret, 4);
}

}  // namespace
}  // namespace kestrum
