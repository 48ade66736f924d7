// The text viewer's searches as the window runs them: "next" goes on in
// the direction of the last search, a new string too, a search goes on from
// the last match when the window could not bring it to the top, and the
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
    // A new string keeps the direction.
    search.Start("x");
    EXPECT_EQ(search.Next(lines, 4), 3u);
}

TEST(ViewerSearchTest, MatchesBelowTheLastTopLineAreEachFoundOnce) {
    TLightStrings lines;
    std::string text;
    for (int i = 0; i < 100; ++i) text += (i == 20 || i == 95 || i == 97 ? "hit\r\n" : "-\r\n");
    lines.SetText(text);
    const std::size_t maxTop = 90;  // a window of 10 lines
    ViewerSearch search;
    search.Start("hit");
    EXPECT_EQ(search.Next(lines, 0, maxTop), 20u);
    EXPECT_EQ(search.Next(lines, 20, maxTop), 95u);
    // The window shows 95 at its last top line, 90.
    EXPECT_EQ(search.Next(lines, 90, maxTop), 97u);
    EXPECT_FALSE(search.Next(lines, 90, maxTop));
    EXPECT_FALSE(search.Next(lines, 90, maxTop));
    // Backwards from the last match, not from the top line.
    EXPECT_EQ(search.Previous(lines, 90, maxTop), 95u);
    EXPECT_EQ(search.Previous(lines, 90, maxTop), 20u);
    // Once the user moves the top line, the search starts there again.
    EXPECT_EQ(search.Previous(lines, 60, maxTop), 20u);
    search.Start("hit");
    EXPECT_EQ(search.Next(lines, 50, maxTop), 20u);  // still backwards
    // A new text forgets the last match.
    TLightStrings other;
    other.SetText("hit\r\n-\r\n");
    search.Forget();
    EXPECT_EQ(search.Previous(other, 1, maxTop), 0u);
}

TEST(ViewerSearchTest, IgnoreCaseAppliesBothWays) {
    TLightStrings lines;
    lines.SetText("top\r\nABC\r\nmiddle\r\nAbc\r\nend\r\n");
    ViewerSearch search;
    search.Start("abc");
    EXPECT_FALSE(search.Next(lines, 0));
    search.ignoreCase = true;
    EXPECT_EQ(search.Next(lines, 0), 1u);
    search.ignoreCase = false;
    EXPECT_FALSE(search.Previous(lines, 4));
    search.ignoreCase = true;
    EXPECT_EQ(search.Previous(lines, 4), 3u);
}

TEST(ViewerCaptionTest, TopLineOrCaretThenThePath) {
    EXPECT_EQ(ViewerCaption("C:\\a.txt", 12), "12 C:\\a.txt - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
    EXPECT_EQ(ViewerCaretCaption("C:\\a.txt", TextPos{5, 3}), "3: 5 C:\\a.txt- Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ");
}

}  // namespace
}  // namespace kestrum
