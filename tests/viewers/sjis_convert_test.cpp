// Conversion to Shift-JIS: classification of the whole text, JIS escapes
// and shifts, EUC-JP pairs and SS2 kana, UTF-8 and UTF-16, "〓" for what
// Shift-JIS cannot hold, and a conversion stopped half-way.
#include "viewers/sjis_convert.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrum {
namespace {

const std::string kEsc = "\x1B";

TEST(SjisClassify, WholeTextDecides) {
    EXPECT_EQ(ClassifyText("plain ascii\r\n"), TextCode::Jis);
    EXPECT_EQ(ClassifyText(kEsc + "$B$\"" + kEsc + "(B"), TextCode::Jis);
    EXPECT_EQ(ClassifyText("\xA4\xA2\xB4\xC1\x8E\xB1\r\n"), TextCode::EucJp);
    EXPECT_EQ(ClassifyText("あいう\r\n"), TextCode::ShiftJis);  // 82 xx: a lead only Shift-JIS uses
    // 自社 is 8E A9 8E D0: two SS2 kana to EUC-JP, two kanji to Shift-JIS.
    const std::string jisha = "自社";
    ASSERT_EQ(jisha, "\x8E\xA9\x8E\xD0");
    EXPECT_EQ(ClassifyText(jisha + "\r\n"), TextCode::ShiftJis);
    // A line of half-width katakana alone reads as EUC-JP pairs, but another
    // line shows the text is Shift-JIS.
    EXPECT_EQ(ClassifyText("ｱｲ\r\n"), TextCode::EucJp);
    EXPECT_EQ(ClassifyText("ｱｲ\r\n" + jisha + "の本\r\n"), TextCode::ShiftJis);
    // An unpaired high byte, or SS2 before something that is not kana.
    EXPECT_EQ(ClassifyText("\xA4\xA2\xA4"), TextCode::ShiftJis);
    EXPECT_EQ(ClassifyText("\x8E\x41"), TextCode::ShiftJis);
    // Byte-order marks and valid UTF-8.
    EXPECT_EQ(ClassifyText("\xEF\xBB\xBFx"), TextCode::Utf8Bom);
    EXPECT_EQ(ClassifyText("\xE3\x81\x82"), TextCode::Utf8);
    EXPECT_EQ(ClassifyText("\xFF\xFE\x42\x30"), TextCode::Utf16Le);
    EXPECT_EQ(ClassifyText("\xFE\xFF\x30\x42"), TextCode::Utf16Be);
    EXPECT_EQ(ClassifyText("\xE3\xA1"), TextCode::EucJp);  // cut short: not UTF-8
}

TEST(SjisClassify, TwoByteUtf8IsNoEvidenceAndSs3IsEuc) {
    // ﾃｽ is C3 BD: half-width kana, an EUC-JP pair and UTF-8 for ý at once.
    const std::string tesu = "ﾃｽ";
    ASSERT_EQ(tesu, "\xC3\xBD");
    EXPECT_EQ(ClassifyText(tesu), TextCode::ShiftJis);
    EXPECT_EQ(ConvertToSjis(tesu + "\r\n"), tesu + "\r\n");
    EXPECT_EQ(ClassifyText(tesu + "\r\n" + tesu + "\r\n"), TextCode::ShiftJis);
    // A character of three bytes, or a byte-order mark, is evidence.
    EXPECT_EQ(ClassifyText(tesu + "\xE3\x81\x82"), TextCode::Utf8);
    EXPECT_EQ(ConvertToSjis("\xEF\xBB\xBF" + tesu), "〓");  // ý has no Shift-JIS form
    // SS3 and a pair: a JIS X 0212 character of EUC-JP.
    EXPECT_EQ(ClassifyText("\xA4\xA2\x8F\xB0\xA1\xA4\xA4\r\n"), TextCode::EucJp);
    EXPECT_EQ(ClassifyText("\x8F\xB0\xA1"), TextCode::EucJp);
    EXPECT_EQ(ClassifyText("\x8F\xB0"), TextCode::ShiftJis);  // 8F B0 is a Shift-JIS kanji
}

TEST(SjisConvert, JisEscapesAndShifts) {
    // あ = 24 22, 漢 = 34 41 in JIS X 0208.
    EXPECT_EQ(ConvertToSjis(kEsc + "$B$\"4A" + kEsc + "(Babc\r\n"), "あ漢abc\r\n");
    EXPECT_EQ(ConvertToSjis(kEsc + "$@$\"" + kEsc + "(Jx" + kEsc + "(Hy"), "あxy");
    // Half-width katakana: ESC ( I, or SO ... SI.
    EXPECT_EQ(ConvertToSjis(kEsc + "(I12" + kEsc + "(Bz"), "ｱｲz");
    EXPECT_EQ(ConvertToSjis("a\x0E" "1_\x0F" "1"), "aｱﾟ1");
    // The mode goes on over a line break; an escape cut by one completes
    // after it and the break stays.
    EXPECT_EQ(ConvertToSjis(kEsc + "$B$\"\r\n$\"" + kEsc + "(B"), "あ\r\nあ");
    EXPECT_EQ(ConvertToSjis(kEsc + "$\r\nB$\"" + kEsc + "(B"), "\r\nあ");
    // Escapes that are not ours, and a dangling half character, stay.
    EXPECT_EQ(ConvertToSjis(kEsc + "$)Cx"), kEsc + "$)Cx");
    EXPECT_EQ(ConvertToSjis(kEsc + "$B$"), "$");
    EXPECT_EQ(ConvertToSjis("text" + kEsc), "text" + kEsc);
}

TEST(SjisConvert, EachLineOnItsOwn) {
    // A Shift-JIS text with one line in JIS: that line converts, the others stay.
    const std::string jisLine = kEsc + "$B$\"4A" + kEsc + "(B";
    const std::string mixed = "表示\r\n" + jisLine + "\r\n漢字\n";
    TSjisConverter sjis(mixed);
    EXPECT_EQ(sjis.Code(), TextCode::ShiftJis);
    EXPECT_TRUE(sjis.Converts());
    EXPECT_TRUE(sjis.StepLines(3));
    EXPECT_EQ(sjis.TakeResult(), "表示\r\nあ漢\r\n漢字\n");
    // An EUC-JP text with one SS3 character and a line in JIS.
    EXPECT_EQ(ConvertToSjis("\xA4\xA2\x8F\xB0\xA1\xA4\xA4\r\n" + jisLine + "\r\n\xB4\xC1\r"),
              "あ〓い\r\nあ漢\r\n漢\r");
    // A UTF-8 text with a JIS line.
    EXPECT_EQ(ConvertToSjis("\xE3\x81\x82\n" + jisLine), "あ\nあ漢");
    // A JIS escape cut by the line break before a line of high bytes stays.
    EXPECT_EQ(ConvertToSjis(kEsc + "$\r\n\xB4\xC1\r\n"), kEsc + "$\r\n漢\r\n");
    // Already Shift-JIS with no escape: nothing to do.
    EXPECT_FALSE(TSjisConverter("表示\r\n").Converts());
    // A stray shift-in in a Shift-JIS text is no JIS: it stays, also beside
    // a line that is JIS.
    EXPECT_EQ(ConvertToSjis("表示\r\na\x0F" "b\r\n"), "表示\r\na\x0F" "b\r\n");
    EXPECT_EQ(ConvertToSjis("表示\r\n" + jisLine + "\r\na\x0F" "b\r\n"), "表示\r\nあ漢\r\na\x0F" "b\r\n");
}

TEST(SjisConvert, Utf16WhoseCharactersHoldLineBreakBytes) {
    // 上 U+4E0A, 不 U+4E0D, 」 U+300D, then CR LF, in both byte orders.
    const std::string le("\xFF\xFE\x0A\x4E\x0D\x4E\x0D\x30\x0D\x00\x0A\x00\x41\x00", 14);
    const std::string be("\xFE\xFF\x4E\x0A\x4E\x0D\x30\x0D\x00\x0D\x00\x0A\x00\x41", 14);
    EXPECT_EQ(ConvertToSjis(le), "上不」\r\nA");
    EXPECT_EQ(ConvertToSjis(be), "上不」\r\nA");
    TSjisConverter c(le);
    EXPECT_FALSE(c.StepLines(1));
    EXPECT_EQ(c.LinesDone(), 1u);
    EXPECT_EQ(c.TakeResult(), std::string("上不」\r\n\x41\x00", 10));
}

TEST(SjisConvert, EucPairsAndKana) {
    EXPECT_EQ(ConvertToSjis("\xA4\xA2\xB4\xC1\x8E\xB1x\r\n\xA5\xA2\r\n"), "あ漢ｱx\r\nア\r\n");
    // Already Shift-JIS: nothing changes.
    const std::string sjis = "自社\r\nｱｲ\r\n表示\r\n";
    EXPECT_EQ(ConvertToSjis(sjis), sjis);
}

TEST(SjisConvert, UnicodeTexts) {
    // あ漢ｱ in UTF-8, without and with a byte-order mark.
    const std::string utf8 = "\xE3\x81\x82\xE6\xBC\xA2\xEF\xBD\xB1\r\n";
    EXPECT_EQ(ConvertToSjis(utf8), "あ漢ｱ\r\n");
    EXPECT_EQ(ConvertToSjis("\xEF\xBB\xBF" + utf8), "あ漢ｱ\r\n");
    // é, 한 and an emoji have no Shift-JIS form; broken bytes neither.
    EXPECT_EQ(ConvertToSjis("\xC3\xA9\xED\x95\x9C\xF0\x9F\x98\x80"), "〓〓〓");
    EXPECT_EQ(ConvertToSjis("\xEF\xBB\xBF" "A\xFF" "B\xE3\x81" "C"), "A〓B〓C");
    // UTF-16 with its byte-order mark, both byte orders.
    EXPECT_EQ(ConvertToSjis(std::string("\xFF\xFE\x42\x30\x22\x6F\x0D\x00\x0A\x00", 10)), "あ漢\r\n");
    EXPECT_EQ(ConvertToSjis(std::string("\xFE\xFF\x30\x42\x00\x41", 6)), "あA");
    // A surrogate pair, a lone half, half a unit at the end.
    EXPECT_EQ(ConvertToSjis(std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xDC\x41\x00\x41", 11)), "〓〓A〓");
    // NUL passes.
    EXPECT_EQ(ConvertToSjis(std::string("\xFF\xFE\x00\x00\x41\x00", 6)), std::string("\0A", 2));
}

TEST(SjisConvert, TableAndArithmetic) {
    EXPECT_EQ(UnicodeToSjis(0x3042), 0x82A0);  // あ
    EXPECT_EQ(UnicodeToSjis(0xFF71), 0xB1);    // ｱ
    EXPECT_EQ(UnicodeToSjis('\\'), 0x5C);
    EXPECT_EQ(UnicodeToSjis(0xFF3C), 0x815F);  // ＼
    EXPECT_EQ(UnicodeToSjis(0x2460), 0x8740);  // ①
    EXPECT_EQ(UnicodeToSjis(0x3013), 0x81AC);  // 〓
    EXPECT_EQ(UnicodeToSjis(0x00E9), 0);
    EXPECT_EQ(UnicodeToSjis(0x1F600), 0);
    EXPECT_EQ(JisToSjis(0x21, 0x21), 0x8140);
    EXPECT_EQ(JisToSjis(0x21, 0x5F), 0x817E);
    EXPECT_EQ(JisToSjis(0x21, 0x60), 0x8180);  // 0x7F is no trail byte
    EXPECT_EQ(JisToSjis(0x5E, 0x7E), 0x9FFC);
    EXPECT_EQ(JisToSjis(0x5F, 0x21), 0xE040);
    EXPECT_EQ(JisToSjis(0x7E, 0x7E), 0xEFFC);
    // Every row-cell pair gives a distinct, well-formed Shift-JIS pair.
    std::set<unsigned> seen;
    for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
            const unsigned s = JisToSjis(static_cast<unsigned char>(j1), static_cast<unsigned char>(j2));
            const unsigned lead = s >> 8, trail = s & 0xFF;
            EXPECT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) << std::hex << s;
            EXPECT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << std::hex << s;
            seen.insert(s);
        }
    }
    EXPECT_EQ(seen.size(), 94u * 94u);
}

TEST(SjisConvert, AStoppedConversionKeepsTheRest) {
    const std::string euc = "\xA4\xA2\r\n\xA4\xA4\r\n\xA4\xA6\r\n";
    TSjisConverter c(euc);
    EXPECT_EQ(c.Code(), TextCode::EucJp);
    EXPECT_FALSE(c.StepLines(1));
    EXPECT_EQ(c.LinesDone(), 1u);
    EXPECT_EQ(c.TakeResult(), "あ\r\n\xA4\xA4\r\n\xA4\xA6\r\n");
    // Stepping to the end gives the whole conversion.
    TSjisConverter d(euc);
    std::size_t steps = 0;
    while (!d.StepLines(1)) ++steps;
    EXPECT_EQ(steps, 2u);
    EXPECT_EQ(d.TakeResult(), "あ\r\nい\r\nう\r\n");
    // A JIS text stopped inside two-byte mode keeps the rest as it was.
    const std::string jis = kEsc + "$B$\"\r\n$$" + kEsc + "(B\r\n";
    TSjisConverter j(jis);
    j.StepLines(1);
    EXPECT_EQ(j.TakeResult(), "あ\r\n$$" + kEsc + "(B\r\n");
    TSjisConverter s("表示\r\n");
    EXPECT_FALSE(s.Converts());
    EXPECT_TRUE(s.StepLines(1));
    EXPECT_EQ(s.TakeResult(), "表示\r\n");
}

}  // namespace
}  // namespace kestrum
