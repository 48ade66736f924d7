// The fixed-format date field: typing over digit places, separators that
// stay put, and erasing back to blanks.
#include "fileops/fixed_mask.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

const FixedMask kMask("0000/90/90 90:90:90");

FixedMask::State At(std::string text, std::size_t caret) { return {std::move(text), caret, caret}; }

TEST(FixedMaskTest, FitKeepsDigitsAndSeparators) {
    EXPECT_EQ(kMask.Size(), 19u);
    EXPECT_EQ(kMask.Blank(), "    /  /     :  :  ");
    EXPECT_EQ(kMask.Fit("2024/01/05 12:30:00"), "2024/01/05 12:30:00");
    EXPECT_EQ(kMask.Fit("2024/x1/05"), "2024/ 1/05   :  :  ");  // the "x" is no digit
    EXPECT_TRUE(kMask.Complete("2024/ 1/ 5  1: 2: 3"));
    EXPECT_FALSE(kMask.Complete("202 / 1/ 5  1: 2: 3"));
}

TEST(FixedMaskTest, TypingOverwritesAndSkipsSeparators) {
    FixedMask::State s = At(kMask.Blank(), 0);
    for (char c : std::string("20240105123000")) ASSERT_TRUE(kMask.Type(s, c));
    EXPECT_EQ(s.text, "2024/01/05 12:30:00");
    EXPECT_EQ(s.selEnd, 19u);
    EXPECT_FALSE(kMask.Type(s, '1'));  // at the end

    // A caret on a separator types on the next digit place.
    s = At("2024/01/05 12:30:00", 4);
    ASSERT_TRUE(kMask.Type(s, '9'));
    EXPECT_EQ(s.text, "2024/91/05 12:30:00");
    EXPECT_EQ(s.selEnd, 6u);
    // Letters are refused; a separator character jumps past the next one.
    EXPECT_FALSE(kMask.Type(s, 'x'));
    ASSERT_TRUE(kMask.Type(s, ':'));
    EXPECT_EQ(s.selEnd, 14u);
    EXPECT_EQ(s.text, "2024/91/05 12:30:00");
}

TEST(FixedMaskTest, SelectionAndErasingBlankOnlyDigitPlaces) {
    FixedMask::State s{"2024/01/05 12:30:00", 2, 9};
    ASSERT_TRUE(kMask.Type(s, '7'));
    EXPECT_EQ(s.text, "207 /  / 5 12:30:00");
    EXPECT_EQ(s.selEnd, 3u);

    s = At("2024/01/05 12:30:00", 5);  // just after a "/"
    kMask.Backspace(s);
    EXPECT_EQ(s.text, "202 /01/05 12:30:00");
    EXPECT_EQ(s.selEnd, 3u);
    s = At("2024/01/05 12:30:00", 4);
    kMask.Delete(s);
    EXPECT_EQ(s.text, "2024/ 1/05 12:30:00");
    EXPECT_EQ(s.selEnd, 4u);
    s = {"2024/01/05 12:30:00", 10, 19};
    kMask.Delete(s);
    EXPECT_EQ(s.text, "2024/01/05   :  :  ");
    s = At("2024/01/05 12:30:00", 0);
    kMask.Backspace(s);  // nothing before the caret
    EXPECT_EQ(s.text, "2024/01/05 12:30:00");
}

}  // namespace
}  // namespace kestrum
