// TLightStrings: wrapping that never splits a double-byte character,
// re-joining, paragraphs, and the list operations with their errors.
#include "viewers/light_strings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/sjis.h"

namespace kestrum {
namespace {

std::vector<std::string> Lines(const TLightStrings& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.Count(); ++i) out.emplace_back(s.Get(i));
    return out;
}

std::vector<std::size_t> Paragraphs(const TLightStrings& s) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < s.Count(); ++i) out.push_back(s.Paragraph(i));
    return out;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(LightStringsWrap, OneSingleThenSixtyDoubleByteCharactersAtEighty) {
    const std::string a = "あ";
    ASSERT_EQ(a.size(), 2u);
    TLightStrings s;
    EXPECT_EQ(s.WrapWidth(), 80);
    s.SetText("x" + Repeat(a, 60));
    ASSERT_EQ(s.Count(), 2u);
    // The 40th character would end at byte 81: the line stops at 79 bytes.
    EXPECT_EQ(s.Get(0), "x" + Repeat(a, 39));
    EXPECT_EQ(s.Get(0).size(), 79u);
    EXPECT_EQ(s.Get(1), Repeat(a, 21));
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 0}));
    EXPECT_EQ(s.GetText(), "x" + Repeat(a, 60) + "\r\n");
}

TEST(LightStringsWrap, LineBreaksAndParagraphs) {
    TLightStrings s;
    s.SetWrapWidth(4);
    // CR LF, a lone LF, a lone CR and an empty line each end one paragraph;
    // the break right after a full line starts no empty display line.
    s.SetText("abcdef\r\nabcd\r\ngh\nij\rkl\r\n\r\nm");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"abcd", "ef", "abcd", "gh", "ij", "kl", "", "m"}));
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s.ParagraphCount(), 7u);
    // A text ending in a line break has no empty last line.
    s.SetText("a\r\nb\r\n");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "b"}));
    s.SetText("");
    EXPECT_EQ(s.Count(), 0u);
    EXPECT_EQ(s.GetText(), "");
    s.SetText("\r\n");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{""}));
}

TEST(LightStringsWrap, LeadBytesNeverTakeNulCrOrLfOrRunPastTheEnd) {
    TLightStrings s;
    // A lead byte before CR stays alone and the CR still ends the line.
    s.SetText(std::string("ab\x82\r\ncd"));
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"ab\x82", "cd"}));
    s.SetText(std::string("\x82\nz"));
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"\x82", "z"}));
    // NUL is an ordinary byte: the text goes on after it.
    const std::string nul("a\x82\0b\r\nc", 7);
    s.SetText(nul);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{std::string("a\x82\0b", 4), "c"}));
    // A text that ends in a lead byte keeps it and reads nothing beyond.
    const std::string text = "abc\x88";
    TextBuffer exact = TextBuffer::Allocate(text.size());
    std::copy(text.begin(), text.end(), exact.Data());
    s.SetText(std::move(exact));
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"abc\x88"}));
}

TEST(LightStringsWrap, NarrowWidthsStillTakeWholeCharacters) {
    TLightStrings s;
    s.SetWrapWidth(1);
    s.SetText("aあb");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "あ", "b"}));
    s.SetWrapWidth(0);  // stored as 1
    EXPECT_EQ(s.WrapWidth(), 1);
    s.SetWrapWidth(3);
    s.SetText("aあいう");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"aあ", "い", "う"}));
}

// Texts of random lines, every line ending in CR LF: single-byte letters,
// blanks and tabs, NUL, half-width katakana, double-byte characters whose
// trail bytes look like "\", "@", "~" or letters, lone lead bytes and lead
// bytes followed by a byte that cannot be a trail.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "a", "Z", " ", "\t", std::string(1, '\0'), "ｱ", "ﾟ", "あ", "表", "ソ", "ヂ", "＠", "〜", "漢", "\x81\x40",
        "\xFC\xFC", "\x82", "\x82 ", "\x9F,", "0123456789", "The quick brown fox"};
    std::string text;
    const int lines = static_cast<int>(rng() % 12);
    for (int l = 0; l < lines; ++l) {
        const int n = static_cast<int>(rng() % 90);
        for (int i = 0; i < n; ++i) text += pieces[rng() % pieces.size()];
        text += "\r\n";
    }
    return text;
}

TEST(LightStringsWrap, RejoiningGivesTheSourceBackAtAnyWidth) {
    std::mt19937 rng(20240614);
    for (int round = 0; round < 400; ++round) {
        const std::string text = RandomText(rng);
        const int width = round < 100 ? round + 1 : 1 + static_cast<int>(rng() % 200);
        TLightStrings s;
        s.SetWrapWidth(width);
        s.SetText(text);
        ASSERT_EQ(s.GetText(), text) << "width " << width << " round " << round;
        std::string paragraph;
        for (std::size_t i = 0; i < s.Count(); ++i) {
            const std::string_view line = s.Get(i);
            // At most the width, except one double-byte character on a line
            // one byte wide.
            EXPECT_TRUE(line.size() <= static_cast<std::size_t>(width) || (width == 1 && line.size() == 2));
            EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos);
            if (i > 0 && s.Paragraph(i) != s.Paragraph(i - 1)) paragraph.clear();
            // Each display line starts on a character boundary of its paragraph.
            paragraph += line;
            EXPECT_TRUE(IsCharBoundary(paragraph, paragraph.size() - line.size())) << "split before line " << i;
            // A line cut by the width is as long as it can be: full, or a
            // byte short before a double-byte character.
            if (i + 1 < s.Count() && s.Paragraph(i + 1) == s.Paragraph(i)) {
                const std::string next(s.Get(i + 1));
                const bool full = line.size() == static_cast<std::size_t>(width) ||
                                  (width == 1 && line.size() == 2);
                const bool shortBeforePair = line.size() + 1 == static_cast<std::size_t>(width) &&
                                             CharLen(next, 0) == 2;
                EXPECT_TRUE(full || shortBeforePair) << "line " << i << " cut early at width " << width;
            }
        }
    }
}

TEST(LightStringsWrap, SteppedWrappingMatchesWrappingAtOnce) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        const std::string text = RandomText(rng);
        TLightStrings whole, stepped;
        whole.SetText(text);
        stepped.BeginText(TextBuffer::Copy(text));
        int steps = 0;
        while (!stepped.WrapSome(1 + rng() % 40)) ++steps;
        EXPECT_FALSE(stepped.Wrapping());
        EXPECT_EQ(Lines(stepped), Lines(whole));
        EXPECT_EQ(Paragraphs(stepped), Paragraphs(whole));
    }
}

TEST(LightStringsWrap, RewrapKeepsTheTextAndFollowsTheWidth) {
    TLightStrings s;
    s.SetWrapWidth(10);
    const std::string text = "0123456789abcdefghij\r\nshort\r\n";
    s.SetText(text);
    EXPECT_EQ(s.Count(), 3u);
    EXPECT_TRUE(s.Pristine());
    s.SetWrapWidth(5);
    s.Rewrap();
    EXPECT_EQ(s.Count(), 5u);
    EXPECT_EQ(s.GetText(), text);
    // A text changed line by line is wrapped again from its joined lines.
    s.Set(4, "shorter");
    EXPECT_FALSE(s.Pristine());
    s.Rewrap();
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"01234", "56789", "abcde", "fghij", "short", "er"}));
}

TEST(LightStringsParagraphs, FirstLinesEndsAndTexts) {
    TLightStrings s;
    s.SetWrapWidth(3);
    s.SetText("abcdefg\r\nhi\r\njklmn\r\n");
    // Lines: abc def g | hi | jkl mn
    EXPECT_EQ(s.FirstLineOfParagraph(0), 0u);
    EXPECT_EQ(s.FirstLineOfParagraph(1), 3u);
    EXPECT_EQ(s.FirstLineOfParagraph(2), 4u);
    EXPECT_EQ(s.FirstLineOfParagraph(99), 4u);  // clamped to the last
    EXPECT_EQ(s.EndOfParagraph(1), 3u);
    EXPECT_EQ(s.EndOfParagraph(3), 4u);
    EXPECT_EQ(s.ParagraphText(0), "abcdefg");
    EXPECT_EQ(s.ParagraphText(2), "jklmn");
    EXPECT_THROW(s.ParagraphText(3), EListError);
    std::string scratch;
    EXPECT_EQ(s.JoinLines(1, 3, scratch), "defg");
    EXPECT_TRUE(scratch.empty());  // side by side in the buffer: no copy
    s.Set(1, "DEF");
    EXPECT_EQ(s.JoinLines(0, 3, scratch), "abcDEFg");
    EXPECT_EQ(s.ParagraphText(0), "abcDEFg");
    EXPECT_EQ(s.LineAtOffset(0), 0u);
}

TEST(LightStringsList, OperationsKeepParagraphsInOrder) {
    TLightStrings s;
    s.SetWrapWidth(3);
    s.SetText("abcdef\r\nxy\r\n");  // abc def | xy
    // Added lines are paragraphs of their own.
    EXPECT_EQ(s.Add("new"), 3u);
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 0, 1, 2}));
    // Inserting inside a paragraph splits it: the rest becomes the next one.
    s.Insert(1, "ins");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"abc", "ins", "def", "xy", "new"}));
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    s.Insert(0, "top");
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    // Deleting a paragraph's only line closes the gap; a line of a longer
    // paragraph leaves the numbers alone.
    s.Delete(0);
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    s.Delete(1);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"abc", "def", "xy", "new"}));
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 1, 2, 3}));
    s.Exchange(0, 3);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"new", "def", "xy", "abc"}));
    EXPECT_EQ(Paragraphs(s), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(s.IndexOf("xy"), 2);
    EXPECT_EQ(s.IndexOf("XY"), -1);
    EXPECT_EQ(s.GetText(), "new\r\ndef\r\nxy\r\nabc\r\n");
    s.Assign({"one", "two"});
    EXPECT_EQ(s.GetText(), "one\r\ntwo\r\n");
    s.Clear();
    EXPECT_EQ(s.Count(), 0u);
    EXPECT_EQ(s.Capacity(), 0u);
}

TEST(LightStringsList, IndexErrorsCarryTheListText) {
    TLightStrings s;
    s.Add("only");
    try {
        (void)s.Get(1);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています");
    }
    EXPECT_THROW((void)s.Paragraph(5), EListError);
    EXPECT_THROW(s.Set(1, "x"), EListError);
    EXPECT_THROW(s.Delete(1), EListError);
    EXPECT_THROW(s.Exchange(0, 1), EListError);
    EXPECT_THROW(s.Insert(2, "x"), EListError);
    EXPECT_NO_THROW(s.Insert(1, "end"));  // at the end: appends
    EXPECT_EQ(s.Count(), 2u);
    EXPECT_EQ(s.Get(1), "end");
}

TEST(LightStringsList, CapacityRules) {
    TLightStrings s;
    // Grows in steps of 32 entries while small.
    s.Add("a");
    EXPECT_EQ(s.Capacity(), 32u);
    for (int i = 0; i < 32; ++i) s.Add("b");
    EXPECT_EQ(s.Capacity(), 64u);
    EXPECT_EQ(s.Capacity() % TLightStrings::kCapacityStep, 0u);
    // Never below the count, never above 0x7FFFFFF.
    EXPECT_THROW(s.SetCapacity(10), EListError);
    EXPECT_THROW(s.SetCapacity(TLightStrings::kMaxCapacity + 1), EListError);
    s.SetCapacity(100);
    EXPECT_EQ(s.Capacity(), 100u);
    s.SetCapacity(33);
    EXPECT_EQ(s.Capacity(), 33u);
    EXPECT_EQ(s.Count(), 33u);
    // A whole text presets the capacity to its length / 28.
    s.SetText(std::string(28 * 100, 'x'));
    EXPECT_GE(s.Capacity(), 100u);
    EXPECT_EQ(s.Count(), 35u);  // 2800 bytes at 80
}

TEST(LightStringsList, ReplacingLinesAgainAndAgainKeepsTheOthers) {
    TLightStrings s;
    s.SetText("base\r\n");
    s.Add("first");
    s.Add("second");
    const std::string big(10000, 'y');
    // The replaced bytes are dropped from time to time: the lines that stay
    // must survive the move.
    for (int i = 0; i < 200; ++i) s.Set(1, big + std::to_string(i));
    EXPECT_EQ(s.Get(0), "base");
    EXPECT_EQ(s.Get(1), big + "199");
    EXPECT_EQ(s.Get(2), "second");
    EXPECT_EQ(s.LongestLine(), big.size() + 3);
    s.Set(1, "short");
    EXPECT_EQ(s.LongestLine(), 6u);
}

}  // namespace
}  // namespace kestrum
