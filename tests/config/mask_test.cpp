// Mask expressions: replacing or adding to the masks in force, lists with
// labels, today's date conditions, and Shift-JIS names whose trail byte is
// "\".
#include "config/mask.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using Masks = std::vector<std::string>;

class SetMaskTest : public testing::Test {
protected:
    void Set(const std::string& text) { SetMask(text, today_, masks_, display_); }
    const LocalDate today_{2026, 12, 8, 9};
    Masks masks_ = {"0*.*"};
    std::string display_;
};

TEST_F(SetMaskTest, ListsReplaceUnlessMarkedToAdd) {
    Set("[*.TXT, *.doc],text files");
    EXPECT_EQ(masks_, (Masks{"0*.TXT", "0*.DOC"}));
    EXPECT_EQ(display_, "text files");
    Set("\\+ *.c");
    EXPECT_EQ(masks_, (Masks{"0*.TXT", "0*.DOC", "0*.C"}));
    Set("*.bak");
    EXPECT_EQ(masks_, (Masks{"0*.BAK"}));
    EXPECT_EQ(display_, "*.bak");
}

TEST_F(SetMaskTest, TodayBecomesAPackedDate) {
    Set("[\\D TODAY, *.LOG]");
    ASSERT_EQ(masks_.size(), 2u);
    EXPECT_EQ(masks_[0][0], '1');
    EXPECT_TRUE(MatchPackedDate(masks_[0].substr(1), LocalDate{2026, 12, 8, 23}));
    EXPECT_FALSE(MatchPackedDate(masks_[0].substr(1), LocalDate{2026, 12, 7, 9}));
    EXPECT_EQ(masks_[1], "0*.LOG");
}

// 表 is 95 5C and ソ is 83 5C: a trail byte followed by "+" is no marker.
TEST_F(SetMaskTest, TheAddMarkerIsFoundByCharacter) {
    Set("表+.TXT");
    EXPECT_EQ(masks_, (Masks{"0表+.TXT"}));
    EXPECT_EQ(display_, "表+.TXT");
    Set("ソ+*.DOC\\+");
    EXPECT_EQ(masks_, (Masks{"0表+.TXT", "0ソ+*.DOC"}));
    Set("[表+*.C, \\+ソ*.H],表");
    EXPECT_EQ(masks_, (Masks{"0表+.TXT", "0ソ+*.DOC", "0表+*.C", "0ソ*.H"}));
    EXPECT_EQ(display_, "表");
}

}  // namespace
}  // namespace kestrum
