// The text viewer's searches as the window runs them: "next" goes on in
// the direction of the last search, a new string starts forward, and the
// case switch applies to both directions.
#include "viewers/text_viewer.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {


TEST(ViewerSearchTest, NextFollowsTheDirectionOfTheLastSearch) {
    TLightStrings lines;
    lines.SetText("abc\r\nx\r\nabc\r\nx\r\nabc\r\nx\r\n");
    ViewerSearch search;
    EXPECT_FALSE(search.Next(lines, 0));  // nothing asked yet
    search.Start("abc");
    EXPECT_EQ(search.Next(lines, 0), 2u);
    EXPECT_EQ(search.Next(lines, 2), 4u);
    EXPECT_EQ(search.Previous(lines, 4), 2u);
    EXPECT_TRUE(search.Backwards());
    EXPECT_EQ(search.Next(lines, 2), 0u);  // still backwards
    EXPECT_FALSE(search.Next(lines, 0));
    // A new string goes forward again.
    search.Start("x");
    EXPECT_EQ(search.Next(lines, 0), 1u);
}

TEST(ViewerSearchTest, IgnoreCaseAppliesBothWays) {
    TLightStrings lines;
    lines.SetText("top\r\nABC\r\nmiddle\r\nAbc\r\nend\r\n");
    ViewerSearch search;
    search.Start("abc");
    EXPECT_FALSE(search.Next(lines, 0));
    EXPECT_FALSE(search.Previous(lines, 4));
    search.ignoreCase = true;
    search.Start("abc");
    EXPECT_EQ(search.Next(lines, 0), 1u);
    EXPECT_EQ(search.Previous(lines, 4), 3u);
}

TEST(ViewerCaptionTest, TopLineOrCaretThenThePath) {
    EXPECT_EQ(ViewerCaption("C:\\a.txt", 12), "12 C:\\a.txt - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    EXPECT_EQ(ViewerCaretCaption("C:\\a.txt", TextPos{5, 3}), "3: 5 C:\\a.txt- Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
}

}  // namespace
}  // namespace kestrum
