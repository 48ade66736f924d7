// The geometry-section reader.
#include "config/profile.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(ProfileReaderTest, CaseInsensitiveFirstSectionAndKeyWin) {
    const ProfileReader p({"[form_ls]", " TOP = 10 ", "top=11", "Font=\"ＭＳ ゴシック\"", "[END]", "[FORM_LS]",
                           "Left=5", "[TVIEW]", "Top=abc", "Width=-3"});
    EXPECT_EQ(p.ReadInteger("FORM_LS", "Top", 0), 10);
    EXPECT_EQ(p.ReadInteger("FORM_LS", "Left", 99), 99);  // only the first [FORM_LS] counts
    EXPECT_EQ(p.ReadString("FORM_LS", "font", ""), "ＭＳ ゴシック");
    EXPECT_EQ(p.ReadInteger("TVIEW", "Top", 7), 7);  // not a number: default
    EXPECT_EQ(p.ReadInteger("TVIEW", "Width", 7), -3);
    EXPECT_EQ(p.ReadString("LVIEW", "Top", "d"), "d");
}

TEST(ProfileReaderTest, LinesOutsideSectionsAndJunkAreIgnored) {
    const ProfileReader p({"Top=1", "[", "=x", "[A", "k=v", "no equals"});
    EXPECT_EQ(p.ReadString("", "Top", "none"), "none");
    EXPECT_EQ(p.ReadString("A", "k", ""), "v");
    EXPECT_EQ(ProfileReader::FromFile("/no/such/file").ReadInteger("X", "y", 3), 3);
}

}  // namespace
}  // namespace kestrum
