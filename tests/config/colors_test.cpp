// The colour file: defaults, parsing in file order, broken files, writing,
// the path rule and when the close may write the file.
#include "config/colors.h"

#include <gtest/gtest.h>

#include "tests/test_util.h"

namespace kestrum {
namespace {

const std::string kHeader(kColorFileHeader);

std::string File(std::initializer_list<std::string> lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\r\n";
    return s;
}

TEST(ColorDefaults, MatchTheShippedFile) {
    // The values of the colour file a fresh installation ships with: system
    // colours for the designed ones, the list's own colours in slots 2-6.
    const ColorValue shipped[kColorSlotCount] = {
        -2147483633, -2147483643, 0,           32768,       255,         8388608,     16711680,    -2147483633,
        -2147483640, -2147483633, -2147483630, -2147483633, -2147483640, -2147483633, -2147483640, -2147483633,
        -2147483640, -2147483632, -2147483640, -2147483640, -2147483643, -2147483643, -2147483633, -2147483633,
        -2147483640, -2147483643, -2147483640, -2147483633, -2147483640, -2147483643, -2147483640};
    for (int i = 0; i < kColorSlotCount; ++i) EXPECT_EQ(DefaultColors()[i], shipped[i]) << "slot " << i;
    EXPECT_EQ(ColorTable().Values(), DefaultColors());
}

TEST(ColorFileParse, LinesApplyInFileOrderAndLaterWins) {
    ColorSlots c = DefaultColors();
    ASSERT_TRUE(ParseColorFile(File({kHeader, "6,100", "2,7", "6,200", "30,-2147483643"}), c));
    EXPECT_EQ(c[2], 7);
    EXPECT_EQ(c[6], 200);
    EXPECT_EQ(c[30], -2147483643);
    EXPECT_EQ(c[3], DefaultColors()[3]);  // slots the file leaves out keep their colour
}

TEST(ColorFileParse, StrayLinesAreSkipped) {
    ColorSlots c = DefaultColors();
    const std::string text = File({kHeader,
                                   "31,1",            // no such slot
                                   "-1,1",            // nor this one
                                   "",                // blank
                                   "junk",            // one field only
                                   "4,",              // empty value
                                   "5,abc",           // not a number
                                   "7,12x",           // trailing garbage
                                   "8,2147483648",    // above int32
                                   "9,３２",          // full-width digits
                                   "10,+-5",          // two signs
                                   " 11 , 4660 ",     // blanks around the fields are trimmed
                                   "\"12\",\"99\"",   // quoted fields
                                   "13,-2147483648",  // the smallest value
                                   "14,+77"});
    ASSERT_TRUE(ParseColorFile(text, c));
    for (int slot : {4, 5, 7, 8, 9, 10}) EXPECT_EQ(c[slot], DefaultColors()[slot]) << "slot " << slot;
    EXPECT_EQ(c[11], 4660);
    EXPECT_EQ(c[12], 99);
    EXPECT_EQ(c[13], INT32_MIN);
    EXPECT_EQ(c[14], 77);
}

TEST(ColorFileParse, BadHeaderFailsAndChangesNothing) {
    const std::vector<std::string> broken = {
        "",                                                // empty file
        "0,255\r\n",                                       // no header
        "\xEF\xBB\xBF" + kHeader + "\r\n0,255\r\n",        // byte-order mark
        kHeader + " \r\n0,255\r\n",                        // trailing blank
        "#KESTRUM\r\n0,255\r\n",                           // another header
        kHeader.substr(0, kHeader.size() - 1) + "\r\n",    // header cut inside a character
        "\r\n" + kHeader + "\r\n0,255\r\n",                // header on line 2
    };
    for (const std::string& text : broken) {
        ColorSlots c = DefaultColors();
        c[0] = 1234;
        EXPECT_FALSE(ParseColorFile(text, c)) << text;
        ColorSlots expected = DefaultColors();
        expected[0] = 1234;
        EXPECT_EQ(c, expected) << text;
    }
}

TEST(ColorFileParse, BareLineEndsAndHeaderOnlyAreAccepted) {
    ColorSlots c = DefaultColors();
    EXPECT_TRUE(ParseColorFile(kHeader, c));
    EXPECT_EQ(c, DefaultColors());
    EXPECT_TRUE(ParseColorFile(kHeader + "\n1,42\n", c));
    EXPECT_EQ(c[1], 42);
}

TEST(ColorFileFormat, HeaderAndAllSlotsWithCrLf) {
    ColorSlots c = DefaultColors();
    c[0] = 255;
    c[17] = -2147483632;
    const std::vector<std::string> lines = test::CrLfLines(FormatColorFile(c));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1], "0,255");
    EXPECT_EQ(lines[3], "2,0");
    EXPECT_EQ(lines[18], "17,-2147483632");
    EXPECT_EQ(lines[31], "30,-2147483640");
    ColorSlots back{};
    ASSERT_TRUE(ParseColorFile(FormatColorFile(c), back));
    EXPECT_EQ(back, c);
}

TEST(ColorFilePath, SecondCharacterColonMeansAsItStands) {
    EXPECT_EQ(ColorFilePath("Kestrum.Col", "C:\\APP\\"), "C:\\APP\\Kestrum.Col");
    EXPECT_EQ(ColorFilePath("D:\\CFG\\My.Col", "C:\\APP\\"), "D:\\CFG\\My.Col");
    EXPECT_EQ(ColorFilePath("SUB\\My.Col", "C:\\APP\\"), "C:\\APP\\SUB\\My.Col");
    EXPECT_EQ(ColorFilePath("表.Col", "C:\\APP\\"), "C:\\APP\\表.Col");
}

class ColorTableTest : public testing::Test {
protected:
    test::TempDir dir_;
    std::string path_ = dir_.File("Kestrum.Col");
};

TEST_F(ColorTableTest, FileWithMissingSlotsIsWrittenBackWhole) {
    test::WriteFile(path_, File({kHeader, "29,65280", "3,16"}));
    ColorTable t;
    ASSERT_TRUE(t.LoadFile(path_));
    EXPECT_EQ(t.Get(29), 65280);
    EXPECT_EQ(t.Get(3), 16);
    ASSERT_TRUE(t.SaveFile(path_));
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(path_));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[4], "3,16");
    EXPECT_EQ(lines[30], "29,65280");
    EXPECT_EQ(lines[1], "0," + std::to_string(DefaultColors()[0]));
}

TEST_F(ColorTableTest, FailedLoadKeepsColoursAndHoldsBackTheClose) {
    ColorTable t;
    EXPECT_FALSE(t.SaveAtClose());  // defaults only: nothing of the user's to keep
    t.Set(5, 99);
    EXPECT_TRUE(t.SaveAtClose());
    EXPECT_FALSE(t.LoadFile(path_));  // missing
    EXPECT_EQ(t.Get(5), 99);
    EXPECT_FALSE(t.SaveAtClose());

    test::WriteFile(path_, "\xEF\xBB\xBF" + File({kHeader, "5,1"}));
    EXPECT_FALSE(t.LoadFile(path_));
    EXPECT_EQ(t.Get(5), 99);
    EXPECT_FALSE(t.SaveAtClose());

    // A change made afterwards is the user's and is kept at close.
    t.Set(0, 1);
    EXPECT_TRUE(t.SaveAtClose());

    EXPECT_FALSE(t.LoadFile(path_));
    EXPECT_FALSE(t.SaveAtClose());
    test::WriteFile(path_, File({kHeader, "5,1"}));
    EXPECT_TRUE(t.LoadFile(path_));
    EXPECT_TRUE(t.SaveAtClose());
    EXPECT_EQ(t.Get(5), 1);
}

TEST_F(ColorTableTest, OutOfRangeSlotsAreIgnored) {
    ColorTable t;
    t.Set(31, 5);
    t.Set(-1, 5);
    EXPECT_EQ(t.Values(), DefaultColors());
    EXPECT_EQ(t.Get(31), 0);
}

}  // namespace
}  // namespace kestrum
