// Searching the view's lines: across wrap points, never at a trail byte,
// with and without ignore case, forwards and backwards.
#include "viewers/text_search.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "common/sjis.h"

namespace kestrum {
namespace {

std::optional<std::size_t> Next(const TLightStrings& s, std::size_t top, const std::string& what, bool ic = false) {
    return SearchForward(s, top, TextFinder(what, ic));
}
std::optional<std::size_t> Prev(const TLightStrings& s, std::size_t top, const std::string& what, bool ic = false) {
    return SearchBackward(s, top, TextFinder(what, ic));
}

// The same lines as a store changed line by line: the search then goes
// paragraph by paragraph instead of over the buffer.
void CopyChanged(const TLightStrings& from, TLightStrings& to) {
    to.SetWrapWidth(from.WrapWidth());
    to.SetText(from.GetText());
    for (std::size_t i = 0; i < to.Count(); ++i) to.Set(i, std::string(to.Get(i)));
    ASSERT_FALSE(to.Pristine());
}

TEST(TextSearch, FindsAStringAcrossAWrapPoint) {
    TLightStrings s;
    std::string para(200, '.');
    para.replace(157, 6, "NEEDLE");  // bytes 157-162: lines 1 (80-159) and 2
    s.SetText("first\r\n" + para + "\r\nlast\r\n");
    ASSERT_EQ(s.Count(), 5u);
    // From top 0 the search starts at line 1: the match starts on line 2.
    EXPECT_EQ(Next(s, 0, "NEEDLE"), 2u);
    // From the line that holds it, the search starts below it.
    EXPECT_EQ(Next(s, 2, "NEEDLE"), std::nullopt);
    EXPECT_EQ(Next(s, 0, "last"), 4u);
    EXPECT_EQ(Next(s, 0, "first"), std::nullopt);  // above the start
    EXPECT_EQ(Prev(s, 4, "NEEDLE"), 2u);
    EXPECT_EQ(Prev(s, 4, "first"), 0u);
    TLightStrings changed;
    CopyChanged(s, changed);
    EXPECT_EQ(Next(changed, 0, "NEEDLE"), 2u);
    EXPECT_EQ(Prev(changed, 4, "NEEDLE"), 2u);
}

TEST(TextSearch, NeverMatchesAtATrailByte) {
    // 表 = 95 5C, ヂ = 83 61: trail bytes that equal "\" and "a".
    TLightStrings s;
    s.SetText("top\r\n表示\r\nヂ\r\nc:\\dir\r\nbanana\r\n");
    EXPECT_EQ(Next(s, 0, "\\"), 3u);
    EXPECT_EQ(Next(s, 0, "a"), 4u);
    EXPECT_EQ(Next(s, 0, "a", true), 4u);
    EXPECT_EQ(Next(s, 0, "A", true), 4u);
    EXPECT_EQ(Prev(s, 4, "\\"), 3u);
    EXPECT_EQ(Prev(s, 3, "\\"), std::nullopt);
    // Nor at a lead byte whose character goes on past the match.
    EXPECT_EQ(Next(s, 0, "\x95"), std::nullopt);
    EXPECT_EQ(Next(s, 0, "示"), 1u);
    TLightStrings changed;
    CopyChanged(s, changed);
    EXPECT_EQ(Next(changed, 0, "\\"), 3u);
    EXPECT_EQ(Next(changed, 0, "a"), 4u);
    EXPECT_EQ(Prev(changed, 3, "\\"), std::nullopt);
}

TEST(TextSearch, IgnoreCaseFoldsOnlyAsciiLetters) {
    TLightStrings s;
    s.SetText("top\r\nxxABCxx\r\n");
    EXPECT_EQ(Next(s, 0, "abc"), std::nullopt);
    EXPECT_EQ(Next(s, 0, "abc", true), 1u);
    EXPECT_EQ(Next(s, 0, "aBc", true), 1u);
    // A trail byte 0x61 is not the letter "a": ヂ (83 61) is not found as
    // "\x83A" even when case is ignored.
    s.SetText("top\r\nヂ\r\n");
    EXPECT_EQ(Next(s, 0, "\x83" "A", true), std::nullopt);
    EXPECT_EQ(Next(s, 0, "ヂ", true), 1u);
    // Full-width letters are characters of their own.
    s.SetText("top\r\nＡＢＣ\r\n");
    EXPECT_EQ(Next(s, 0, "ａｂｃ", true), std::nullopt);
}

TEST(TextSearch, BackwardWalksUpFromTheTopLine) {
    TLightStrings s;
    s.SetWrapWidth(4);
    s.SetText("abcdefgh\r\nzz\r\nabcd\r\n");  // abcd efgh | zz | abcd
    EXPECT_EQ(Prev(s, 0, "a"), std::nullopt);  // nothing above line 0
    // The last match above the top line wins.
    EXPECT_EQ(Prev(s, 3, "abc"), 0u);
    EXPECT_EQ(Prev(s, 3, "zz"), 2u);
    EXPECT_EQ(Prev(s, 2, "efg"), 1u);
    // Inside the top line's paragraph only the lines above it count: a
    // match reaching into the top line is not found.
    EXPECT_EQ(Prev(s, 1, "de"), std::nullopt);
    EXPECT_EQ(Prev(s, 2, "de"), 0u);
}

TEST(TextSearch, UnusableStrings) {
    TLightStrings s;
    s.SetText("a\r\nb\r\n");
    EXPECT_EQ(Next(s, 0, ""), std::nullopt);
    EXPECT_EQ(Next(s, 0, "a\r\nb"), std::nullopt);
    EXPECT_EQ(Next(s, 5, "b"), std::nullopt);
    TLightStrings empty;
    EXPECT_EQ(Next(empty, 0, "a"), std::nullopt);
    EXPECT_EQ(Prev(empty, 3, "a"), std::nullopt);
}

// The first match found the slow way: every character boundary in turn,
// letters compared without case where the string has a letter character.
std::size_t SlowFind(const std::string& text, const std::string& what, bool ic, std::size_t from) {
    for (std::size_t i = 0; i + what.size() <= text.size(); i = NextChar(text, i)) {
        if (i < from) continue;
        bool same = true;
        for (std::size_t k = 0; k < what.size() && same; k = NextChar(what, k)) {
            const auto a = static_cast<unsigned char>(text[i + k]);
            const auto b = static_cast<unsigned char>(what[k]);
            const bool letter = CharLen(what, k) == 1 && std::isalpha(b);
            same = letter && ic ? std::tolower(a) == std::tolower(b) && std::isalpha(a)
                                : text.compare(i + k, CharLen(what, k), what, k, CharLen(what, k)) == 0;
        }
        if (same && IsCharBoundary(text, i + what.size())) return i;
    }
    return std::string::npos;
}

TEST(TextSearch, FinderAgreesWithACharacterByCharacterSearch) {
    std::mt19937 rng(5);
    const std::vector<std::string> pieces = {"a", "B", "-", " ", "表", "ヂ", "ソ", "x-Y", "\\", "ｱ", "\x82", "N"};
    const std::vector<std::string> needles = {"a", "x-y", "X-Y", " b", "-", "ab", "\\", "表", "ヂA", "n-", "\x82"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = 0, n = static_cast<int>(rng() % 40); i < n; ++i) text += pieces[rng() % pieces.size()];
        for (const std::string& needle : needles) {
            for (bool ic : {false, true}) {
                const std::size_t from = text.empty() ? 0 : rng() % text.size();
                // From a character boundary, as the search always starts.
                std::size_t start = 0;
                while (start < from) start = NextChar(text, start);
                EXPECT_EQ(TextFinder(needle, ic).FindFirst(text, start), SlowFind(text, needle, ic, start))
                    << "text " << round << " needle " << needle << " ic " << ic;
            }
        }
    }
}

// Over generated texts the buffer scan and the paragraph walk agree, and
// both agree with a plain search of each paragraph from a boundary.
TEST(TextSearch, BufferScanAndParagraphWalkAgree) {
    std::mt19937 rng(99);
    const std::vector<std::string> pieces = {"a", "A", "b", "\\", "表", "ヂ", "ソ", "ab", " ", "ｱ", "\x82"};
    const std::vector<std::string> needles = {"a", "ab", "\\", "A", "表", "bA", "b\\", "ｱa", "ヂa"};
    for (int round = 0; round < 60; ++round) {
        std::string text;
        for (int l = 0, n = 1 + static_cast<int>(rng() % 8); l < n; ++l) {
            for (int i = 0, m = static_cast<int>(rng() % 30); i < m; ++i) text += pieces[rng() % pieces.size()];
            text += "\r\n";
        }
        TLightStrings s;
        s.SetWrapWidth(1 + static_cast<int>(rng() % 12));
        s.SetText(text);
        TLightStrings changed;
        CopyChanged(s, changed);
        for (const std::string& needle : needles) {
            for (bool ic : {false, true}) {
                for (std::size_t top = 0; top <= s.Count(); ++top) {
                    EXPECT_EQ(Next(s, top, needle, ic), Next(changed, top, needle, ic))
                        << "round " << round << " top " << top << " " << needle;
                    EXPECT_EQ(Prev(s, top, needle, ic), Prev(changed, top, needle, ic))
                        << "round " << round << " top " << top << " " << needle;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrum
