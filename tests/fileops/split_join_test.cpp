// Piece names and the limit on the number of pieces.
#include "fileops/split_join.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(SplitNamesTest, ThreeDigitNumbersAfterTheNameWithoutExtension) {
    EXPECT_EQ(SplitPieceName("D:\\out", "C:\\src\\data.lzh", 0), "D:\\out\\data.000");
    EXPECT_EQ(SplitPieceName("D:\\out\\", "data.lzh", 5), "D:\\out\\data.005");
    EXPECT_EQ(SplitPieceName("D:\\", "a.b.c", 45), "D:\\a.b.045");
    EXPECT_EQ(SplitPieceName("D:\\", "noext", 123), "D:\\noext.123");
    EXPECT_EQ(SplitPieceName("", "C:\\src\\x.bin", 999), "x.999");
    // 表 ends in 0x5C: the directory is not given a second "\".
    EXPECT_EQ(SplitPieceName("C:\\\x95\x5C", "C:\\\x95\x5C\\f.txt", 1), "C:\\\x95\x5C\\f.001");
}

TEST(SplitNamesTest, DataMustFitThousandPieces) {
    EXPECT_TRUE(SplitFits(0, 1));
    EXPECT_TRUE(SplitFits(10, 5));
    EXPECT_TRUE(SplitFits(1000, 1));   // pieces 000-999, the empty 1000th is not needed
    EXPECT_FALSE(SplitFits(1001, 1));  // byte 1001 would be lost
    EXPECT_TRUE(SplitFits(5000000000LL, 5000000));
    EXPECT_FALSE(SplitFits(5000000001LL, 5000000));
    EXPECT_FALSE(SplitFits(10, 0));
    EXPECT_FALSE(SplitFits(10, -1));
}

}  // namespace
}  // namespace kestrum
