// The filer grid's geometry: cells and hits, the looks of a cell (colour
// slots, cursor styles, texts) and the scroll bar's requests.
#include "filer/filer_geometry.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

FilerLayout Grid() {
    FilerLayout l;
    l.grid = Rect{1, 40, 700, 300};
    l.columnWidth = 173;  // 4 columns: 4 * (173 + 2) = 700
    l.rowHeight = 14;
    l.columns = 4;
    l.rows = 21;
    return l;
}

FileListModel Listing(int files, int rows, int cols) {
    FileListModel m;
    static const std::vector<std::string> everything{"0*.*"};
    const FileListModel::AddRules rules{true, &everything};
    for (int i = 0; i < files; ++i) {
        FindRecord f;
        f.name = "F" + std::to_string(i) + ".TXT";
        m.Offer(f, rules, DisplayOptions{});
    }
    m.SetGrid(rows, cols);
    return m;
}

TEST(FilerGeometryTest, CellsAndHitsAgreeAcrossTheColumnGap) {
    const FilerLayout l = Grid();
    const Rect c = CellRect(l, 2, 3);
    EXPECT_EQ(c.left, 1 + 2 * 175);
    EXPECT_EQ(c.top, 40 + 3 * 14);
    EXPECT_EQ(c.width, 173);
    EXPECT_EQ(c.height, 14);
    // Every corner of a cell hits that cell; the gap after it belongs to it too.
    for (const auto& [x, y] : {std::pair{c.left, c.top}, {c.left + c.width - 1, c.Bottom() - 1}, {c.left + 174, c.top}}) {
        const std::optional<GridCell> hit = CellAt(l, l.columns, l.rows, x, y);
        ASSERT_TRUE(hit) << x << "," << y;
        EXPECT_EQ(hit->col, 2);
        EXPECT_EQ(hit->row, 3);
    }
    EXPECT_EQ(CellAt(l, l.columns, l.rows, c.left + 175, c.top)->col, 3);
    // Outside the grid, or past the rows the model has, nothing.
    EXPECT_FALSE(CellAt(l, l.columns, l.rows, 0, 50));
    EXPECT_FALSE(CellAt(l, l.columns, l.rows, 10, 39));
    EXPECT_FALSE(CellAt(l, l.columns, l.rows, 10, 340));
    EXPECT_FALSE(CellAt(l, l.columns, 2, 10, 40 + 2 * 14));
}

TEST(FilerGeometryTest, ACellShowsTheEntryOfItsColumnAndRowOnThePage) {
    FileListModel m = Listing(50, 5, 2);
    EXPECT_EQ(CellIndex(m, 0, 0), 0);
    EXPECT_EQ(CellIndex(m, 1, 2), 7);
    m.PlaceCursor(23);  // the third page
    EXPECT_EQ(CellIndex(m, 0, 0), 20);
    EXPECT_EQ(CellIndex(m, 1, 4), 29);
}

TEST(FilerGeometryTest, TheTextSlotFollowsTheStrongestAttribute) {
    EXPECT_EQ(EntryTextSlot(kAttrArchive), kColFileNormal);
    EXPECT_EQ(EntryTextSlot(kAttrDirectory), kColFileDirectory);
    EXPECT_EQ(EntryTextSlot(kAttrDirectory | kAttrReadOnly), kColFileReadOnly);
    EXPECT_EQ(EntryTextSlot(kAttrReadOnly | kAttrHidden), kColFileHidden);
    EXPECT_EQ(EntryTextSlot(kAttrHidden | kAttrSystem | kAttrDirectory), kColFileSystem);
    // The slot numbers are what the colour file stores.
    EXPECT_EQ(static_cast<int>(EntryTextSlot(kAttrSystem)), 5);
    EXPECT_EQ(static_cast<int>(EntryTextSlot(0)), 2);
}

TEST(FilerGeometryTest, OnlyTheInverseCursorSwapsTheCellsColours) {
    const CellColors plain = CellColorsFor(kAttrHidden, false, CursorStyle::Inverse);
    EXPECT_EQ(plain.text, kColFileHidden);
    EXPECT_EQ(plain.back, kColListBack);
    const CellColors inverse = CellColorsFor(kAttrHidden, true, CursorStyle::Inverse);
    EXPECT_EQ(inverse.text, kColListBack);
    EXPECT_EQ(inverse.back, kColFileHidden);
    for (CursorStyle s : {CursorStyle::Frame, CursorStyle::Underline, CursorStyle::DottedFrame}) {
        EXPECT_EQ(CellColorsFor(0, true, s).text, kColFileNormal);
    }
}

TEST(FilerGeometryTest, CursorStylesByTheirSettingsAndShapes) {
    EXPECT_EQ(CursorStyleOf(0), CursorStyle::Frame);
    EXPECT_EQ(CursorStyleOf(1), CursorStyle::Underline);
    EXPECT_EQ(CursorStyleOf(2), CursorStyle::Inverse);
    EXPECT_EQ(CursorStyleOf(3), CursorStyle::DottedFrame);
    EXPECT_EQ(CursorStyleOf(7), CursorStyle::Frame);
    EXPECT_EQ(CursorStyleOf(-1), CursorStyle::Frame);

    const Rect cell{10, 20, 100, 14};
    EXPECT_EQ(CursorShapeFor(CursorStyle::Inverse, cell).kind, CursorShape::Kind::None);
    const CursorShape line = CursorShapeFor(CursorStyle::Underline, cell);
    EXPECT_EQ(line.kind, CursorShape::Kind::Line);
    EXPECT_EQ(line.x1, 11);
    EXPECT_EQ(line.x2, 107);
    EXPECT_EQ(line.y1, 33);
    EXPECT_EQ(line.y2, 33);
    const CursorShape frame = CursorShapeFor(CursorStyle::Frame, cell);
    EXPECT_EQ(frame.kind, CursorShape::Kind::Box);
    EXPECT_FALSE(frame.dotted);
    EXPECT_EQ(frame.x2, 110);
    EXPECT_EQ(frame.y2, 34);
    const CursorShape dotted = CursorShapeFor(CursorStyle::DottedFrame, cell);
    EXPECT_TRUE(dotted.dotted);
    EXPECT_EQ(dotted.x1, 10);
    EXPECT_EQ(dotted.x2, 109);
    EXPECT_EQ(dotted.y2, 33);
}

TEST(FilerGeometryTest, CellTextsMarkAndSetTheExtensionApart) {
    const CellTexts plain = CellTextsFor(" README.TXT", false, false);
    EXPECT_EQ(plain.shown, "README.TXT");
    EXPECT_EQ(plain.starred, "*README.TXT");
    EXPECT_EQ(plain.unstarred, "README.TXT");
    EXPECT_EQ(plain.base, "README");
    EXPECT_EQ(plain.ext, ".TXT");

    const CellTexts marked = CellTextsFor(" A.B.C", true, false);
    EXPECT_EQ(marked.shown, "*A.B.C");
    EXPECT_EQ(marked.base, "*A.B");  // from the last dot
    EXPECT_EQ(marked.ext, ".C");

    // Directories and names whose only dot leads keep their text whole.
    EXPECT_EQ(CellTextsFor(" <SRC.OLD>", false, true).ext, "");
    EXPECT_EQ(CellTextsFor(" .profile", false, false).base, ".profile");
    EXPECT_EQ(CellTextsFor("", true, false).shown, "");
    EXPECT_EQ(CellTextsFor(" 表ソ.TXT", false, false).base, "表ソ");
}

TEST(FilerGeometryTest, TheCursorLineNamesTheCursorEntryOrTheEmptyListing) {
    const CursorLineTexts none = CursorLine(FileListModel(), DisplayOptions{});
    EXPECT_TRUE(none.empty);
    EXPECT_EQ(none.name, "ファイルがありません");
    EXPECT_EQ(none.sizeDate, "");
    FileListModel m = Listing(3, 5, 2);
    m.PlaceCursor(1);
    DisplayOptions o;
    o.localTime = [](std::uint64_t, int* minute) {
        if (minute) *minute = 0;
        return LocalDate{2026, 1, 2, 3};
    };
    const CursorLineTexts line = CursorLine(m, o);
    EXPECT_FALSE(line.empty);
    EXPECT_NE(line.name.find("F1.TXT"), std::string::npos);
    EXPECT_EQ(line.sizeDate.front(), ' ');
    EXPECT_EQ(line.sizeDate.back(), ' ');
    EXPECT_NE(line.sizeDate.find("26/01/02 03:00"), std::string::npos) << line.sizeDate;
}

TEST(FilerGeometryTest, ScrollRequestsMoveByAPageOrToTheThumb) {
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineUp, 30, 0), 20);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::PageUp, 30, 0), 20);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineDown, 30, 0), 40);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::PageDown, 30, 0), 40);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::Track, 30, 57), 57);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::Other, 30, 57), 30);

    FileListModel m = Listing(25, 5, 2);  // pages of 10: tops 0, 10, 20
    EXPECT_FALSE(ScrollTargetEntry(m, 0));      // the page shown
    EXPECT_FALSE(ScrollTargetEntry(m, -10));    // above the first page: the first
    EXPECT_EQ(ScrollTargetEntry(m, 10), 10);
    EXPECT_EQ(ScrollTargetEntry(m, 24), 20);    // a thumb between pages: the nearer
    EXPECT_EQ(ScrollTargetEntry(m, 14), 10);
    EXPECT_FALSE(ScrollTargetEntry(m, 30));     // past the last entry
    m.PlaceCursor(22);
    EXPECT_FALSE(ScrollTargetEntry(m, 20));
    EXPECT_EQ(ScrollTargetEntry(m, ScrollPositionFor(ScrollRequest::PageUp, m.ScrollPosition(), 0)), 10);
}

TEST(LayoutTest, FunctionKeyBoxesLeaveWiderGapsAfterTheFourthFifthAndEighth) {
    const Rect bar{1, 20, 600, 16};
    const std::vector<int> widths(12, 40);
    const std::vector<FunctionKeyBox> ten = FunctionKeyBoxes(widths, bar, 10);
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten[0].label.left, 1);
    EXPECT_EQ(ten[0].divider.left, 41);
    EXPECT_EQ(ten[0].divider.top, 22);
    EXPECT_EQ(ten[0].divider.height, 12);
    EXPECT_EQ(ten[1].label.left, 42);
    EXPECT_EQ(ten[4].label.left, ten[3].divider.left + 3);
    EXPECT_EQ(ten[5].label.left, ten[4].divider.left + 3);
    EXPECT_EQ(ten[6].label.left, ten[5].divider.left + 1);
    EXPECT_EQ(ten[8].label.left, ten[7].divider.left + 3);
    EXPECT_EQ(FunctionKeyBoxes(widths, bar, 12).size(), 12u);
}

}  // namespace
}  // namespace kestrum
