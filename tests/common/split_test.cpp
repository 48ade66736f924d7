// SplitFirst and SplitField: quotes, absent versus empty fields, trail bytes.
#include "common/split.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(SplitFirstTest, CutsAtTheFirstSeparatorAfterLeadingBlanks) {
    HeadTail ht = SplitFirst("   cp  a b", ' ');
    EXPECT_EQ(ht.head, "cp");
    EXPECT_EQ(ht.tail, " a b");  // not trimmed
    ht = SplitFirst("word", ' ');
    EXPECT_EQ(ht.head, "word");
    EXPECT_EQ(ht.tail, "");
    ht = SplitFirst("", ',');
    EXPECT_EQ(ht.head, "");
    EXPECT_EQ(ht.tail, "");
    // ソ ends in 0x5C; splitting at "\" must not cut it.
    ht = SplitFirst("ソ\\x", '\\');
    EXPECT_EQ(ht.head, "ソ");
    EXPECT_EQ(ht.tail, "x");
}

TEST(SplitFieldTest, AbsentFieldIsNotAnEmptyField) {
    EXPECT_EQ(SplitField(',', "a,", 1), std::optional<std::string>(""));
    EXPECT_EQ(SplitField(',', "a,", 2), std::nullopt);
    EXPECT_EQ(SplitField(',', "", 0), std::optional<std::string>(""));
    EXPECT_EQ(SplitField(',', "", 1), std::nullopt);
    EXPECT_EQ(SplitField(',', "a", -1), std::nullopt);
}

TEST(SplitFieldTest, QuotesProtectSeparatorsAndDoubleToOne) {
    const std::string text = R"( name , "a,b" ,"say ""hi""", tail )";
    EXPECT_EQ(SplitField(',', text, 0), "name");
    EXPECT_EQ(SplitField(',', text, 1), "a,b");
    EXPECT_EQ(SplitField(',', text, 2), R"(say "hi")");
    EXPECT_EQ(SplitField(',', text, 3), "tail");
    EXPECT_EQ(SplitField(',', text, 4), std::nullopt);
    // ";" fields of a command line: a quoted ";" stays inside.
    EXPECT_EQ(SplitField(';', R"(echo "a;b";ls)", 0), R"(echo "a;b")");
    EXPECT_EQ(SplitField(';', R"(echo "a;b";ls)", 1), "ls");
    // Blank-separated words with quotes grouping.
    EXPECT_EQ(SplitField(' ', R"("C:\Program Files\x.txt" y)", 0), R"(C:\Program Files\x.txt)");
    // A lone quote: the field loses its first and last characters.
    EXPECT_EQ(SplitField(',', "\"", 0), "");
}

TEST(SplitFieldTest, QuotingRoundTrips) {
    const std::vector<std::string> samples = {
        "plain", "a,b", R"(say "hi", now)", R"("starts with a quote)", "", "表,ソ", "x\"y", "a \"b c\" d", "trailing,",
    };
    for (const std::string& s : samples) {
        const std::string line = QuoteField(s) + "," + QuoteField("second");
        EXPECT_EQ(SplitField(',', line, 0), s) << line;
        EXPECT_EQ(SplitField(',', line, 1), "second") << line;
    }
    EXPECT_EQ(QuoteField("plain"), "plain");
    EXPECT_EQ(QuoteField("a,b"), "\"a,b\"");
}

TEST(SplitFieldsTest, AllFields) {
    const std::vector<std::string> f = SplitFields(',', "1, TRUE ,\"x,y\"");
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[1], "TRUE");
    EXPECT_EQ(f[2], "x,y");
}

}  // namespace
}  // namespace kestrum
