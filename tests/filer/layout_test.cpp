// Filer geometry: columns, rows, function keys and the drive bar.
#include "filer/layout.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(LayoutTest, ColumnsFromTheGridWidth) {
    LayoutInput in;
    in.clientWidth = 700 + 16 + 2;  // a grid 700 pixels wide
    in.clientHeight = 500;
    in.averageCharWidth = 8;
    in.columnChars = 18;
    const FilerLayout l = ComputeLayout(in);
    EXPECT_EQ(l.grid.width, 700);
    EXPECT_EQ(l.columns, 4);
    EXPECT_EQ(l.columnWidth, 173);
    EXPECT_EQ(l.rowHeight, 14);
    EXPECT_EQ(l.rows, (l.grid.height - 4) / 14);
    EXPECT_EQ(l.scrollBar.left, l.grid.left + l.grid.width);
}

TEST(LayoutTest, TinyWindowsKeepOneCell) {
    LayoutInput in;
    in.clientWidth = 3;
    in.clientHeight = 2;
    const FilerLayout l = ComputeLayout(in);
    EXPECT_GE(l.columns, 1);
    EXPECT_GE(l.rows, 1);
    EXPECT_GE(l.columnWidth, 1);
}

TEST(LayoutTest, InfoLineAndHiddenFunctionBar) {
    LayoutInput in;
    in.clientWidth = 640;
    in.clientHeight = 480;
    in.functionBar = false;
    in.infoLine = true;
    const FilerLayout l = ComputeLayout(in);
    EXPECT_EQ(l.directoryLine.top, l.driveBar.Bottom() + 1);
    EXPECT_EQ(l.grid.top, l.directoryLine.Bottom() + 2);
    EXPECT_EQ(l.fullNameLine.height, 0);
}

TEST(LayoutTest, FunctionKeySurplus) {
    std::vector<int> w = FunctionKeyWidths(std::vector<int>(12, 40), 640, 12);
    // 12 * 40 + 4 (F11, F12) + 20 = 504; surplus 136 shared among 12.
    EXPECT_EQ(w[0], 40 + 136 / 12);
    EXPECT_EQ(w[10], 42 + 136 / 12);
    EXPECT_EQ(w[11], 42 + 136 - 11 * (136 / 12));
    w = FunctionKeyWidths(std::vector<int>(12, 40), 300, 10);
    EXPECT_EQ(w[10], 1);
    EXPECT_EQ(w[0], 40);  // no surplus
}

TEST(LayoutTest, DriveBarAndScrollBar) {
    const DriveBarWidths d = ComputeDriveBar(600, 500, 100, 120, 110, 110, 60);
    EXPECT_EQ(d.count, 120);
    EXPECT_EQ(d.lauto, 60 + (100 - 4 * 20));
    EXPECT_EQ(ComputeDriveBar(400, 500, 100, 120, 110, 110, 60).count, 100);
    EXPECT_EQ(PageForScrollPosition(14), 1);
    EXPECT_EQ(PageForScrollPosition(15), 2);
    EXPECT_EQ(ScrollMaximum(95, 10), 95);
}

}  // namespace
}  // namespace kestrum
