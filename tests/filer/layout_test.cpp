// Filer geometry: columns, rows, function keys and the drive bar.
#include "filer/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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
    // Samples needing 100, 120, 110, 110 and 60 pixels with their margins;
    // the texts themselves are narrower.
    const std::map<std::string, int> samples = {{"ファイル数 1000/10000", 96},
                                                {"Total 9,999,999,999,999", 116},
                                                {"Used 9,999,999,999,999", 106},
                                                {"Free 9,999,999,999,999", 106},
                                                {"LAuto [画像などや]", 56}};
    auto width = [&](const std::string& t) {
        const auto it = samples.find(t);
        return it == samples.end() ? 30 : it->second;
    };
    const DriveBarTexts texts{"LAUTO OFF", "ファイル数 0/3", "Total 9", "Used 8", "Free 1"};
    const DriveBarWidths d = ComputeDriveBar(600, texts, width);
    EXPECT_EQ(d.count, 120);
    EXPECT_EQ(d.total, 140);
    EXPECT_EQ(d.lauto, 60 + (100 - 4 * 20));
    // 100 pixels short: the archive-auto and count boxes shrink to their
    // texts (30 + 4), the sizes keep their samples.
    const DriveBarWidths narrow = ComputeDriveBar(400, texts, width);
    EXPECT_EQ(narrow.lauto, 34);
    EXPECT_EQ(narrow.count, 34);
    EXPECT_EQ(narrow.total, 120);
    EXPECT_EQ(ComputeDriveBar(470, texts, width).count, 100 - (30 - 26));
    EXPECT_EQ(PageForScrollPosition(14), 1);
    EXPECT_EQ(PageForScrollPosition(15), 2);
    EXPECT_EQ(ScrollMaximum(95, 10), 95);
}

// Every size box holds its text whole, 12 or 13 digits, in a font whose
// digits differ in width, whether the bar is too narrow for the samples or
// wide enough to share a surplus.
TEST(LayoutTest, DriveBarBoxesHoldTwelveAndThirteenDigitSizes) {
    auto width = [](const std::string& t) {
        int w = 0;
        for (char ch : t) w += ch == '1' ? 4 : (ch >= '0' && ch <= '9') ? 9 : 7;
        return w;
    };
    for (const std::string digits : {"270,553,174,016", "999,999,999,999", "8,888,888,888,888"}) {
        for (int bar : {200, 638, 1200}) {
            SCOPED_TRACE(digits + " in " + std::to_string(bar));
            const DriveBarTexts t{"LAUTO OFF", "ファイル数 0/22", "Total " + digits, "Used " + digits, "Free " + digits};
            const DriveBarWidths w = ComputeDriveBar(bar, t, width);
            EXPECT_GE(w.total, width(t.total) + 2 * kTextMargin);
            EXPECT_GE(w.used, width(t.used) + 2 * kTextMargin);
            EXPECT_GE(w.freeSpace, width(t.freeSpace) + 2 * kTextMargin);
            EXPECT_GE(w.count, width(t.count) + 2 * kTextMargin);
            // The boxes do not grow with the disk: the layout stays put.
            EXPECT_EQ(w.total, ComputeDriveBar(bar, DriveBarTexts{}, width).total);
            if (bar >= 1200) {
                EXPECT_EQ(w.lauto + w.count + w.total + w.used + w.freeSpace, bar);
            }
        }
    }
}

TEST(LayoutTest, TheWindowsPlacementAndFontsFromItsSection) {
    const FilerWindowState none = ReadFilerWindowState(ProfileReader());
    EXPECT_EQ(none.geometry.top, 100);
    EXPECT_EQ(none.geometry.width, 640);
    EXPECT_EQ(none.geometry.height, 480);
    EXPECT_FALSE(none.maximised);
    EXPECT_EQ(none.fonts[0].name, "ＭＳ ゴシック");
    EXPECT_EQ(none.fonts[0].size, 10);
    EXPECT_EQ(none.fonts[1].name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(none.fonts[2].size, 9);
    EXPECT_EQ(none.fonts[3].name, "ＭＳ ゴシック");

    const FilerWindowState kept = ReadFilerWindowState(ProfileReader(
        {"[FORM_LS]", "Top=5", "Width=300", "ISWSMAX=1", "FontName3=Arial", "FontSize3=12", "FontSize4=14", "[END]"}));
    EXPECT_EQ(kept.geometry.top, 5);
    EXPECT_EQ(kept.geometry.left, 100);
    EXPECT_EQ(kept.geometry.width, 300);
    EXPECT_TRUE(kept.maximised);
    EXPECT_EQ(kept.fonts[2].name, "Arial");
    EXPECT_EQ(kept.fonts[2].size, 12);
    EXPECT_EQ(kept.fonts[3].size, 14);
    EXPECT_EQ(kept.fonts[1].size, 9);
}

}  // namespace
}  // namespace kestrum
