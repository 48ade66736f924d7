// Where things are on the filer's grid and how a cell looks: the cell of a
// grid position and the position under a point, the colour slots of a cell,
// the cursor's styles, the texts a cell shows, and the entry a scroll-bar
// request goes to. Plain arithmetic over the layout and the listing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/colors.h"
#include "filer/file_list.h"
#include "filer/layout.h"

namespace kestrum {

struct GridCell {
    int col = 0;
    int row = 0;
};

// Cells are columnWidth wide with a 2-pixel gap after each column.
inline constexpr int kColumnGap = 2;

// The box of a grid cell in client coordinates.
Rect CellRect(const FilerLayout& layout, int col, int row);
// The cell under (x, y); nullopt outside the grid or past its cols x rows.
std::optional<GridCell> CellAt(const FilerLayout& layout, int cols, int rows, int x, int y);
// The listing index a cell of the current page shows (it may be past the
// last entry).
long long CellIndex(const FileListModel& model, int col, int row);

// The cursor as CURSORSTYLE and CURSORSTYLE2 number it.
enum class CursorStyle : int {
    Frame = 0,        // a solid frame round the cell
    Underline = 1,    // a line under the name
    Inverse = 2,      // text and background swapped
    DottedFrame = 3,  // a dotted frame
};
// Values outside 0-3 draw the solid frame.
CursorStyle CursorStyleOf(int setting);

// The text slot of an entry: system over hidden over read-only over
// directory over a plain file.
ColorSlot EntryTextSlot(std::uint32_t attributes);

struct CellColors {
    ColorSlot text = kColFileNormal;
    ColorSlot back = kColListBack;
};
// The colours of an entry's cell; the inverse cursor swaps them.
CellColors CellColorsFor(std::uint32_t attributes, bool isCursor, CursorStyle style);

// What the cursor draws over its cell: nothing (Inverse), a line from
// (x1, y1) to (x2, y2), or a rectangle (x1, y1)-(x2, y2).
struct CursorShape {
    enum class Kind { None, Line, Box } kind = Kind::None;
    bool dotted = false;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};
CursorShape CursorShapeFor(CursorStyle style, const Rect& cell);

// The texts of a cell made from its list name (whose first character is the
// mark column). A marked entry shows "*" there; an unmarked one starts at
// its second character, moved right by the width of the star minus that of
// the first character (the window measures starred and unstarred). In the
// names mode a file's extension (from its last dot, not the first
// character) is drawn apart at the right edge of the cell.
struct CellTexts {
    std::string shown;
    std::string starred;
    std::string unstarred;
    std::string base;  // shown without the extension
    std::string ext;   // empty when there is none to draw apart
};
CellTexts CellTextsFor(const std::string& name, bool marked, bool isDirectory);

// The cursor entry's line: its name and " size date ", or
// "ファイルがありません" and nothing for an empty listing.
struct CursorLineTexts {
    bool empty = true;
    std::string name = "ファイルがありません";
    std::string sizeDate;
};
CursorLineTexts CursorLine(const FileListModel& model, const DisplayOptions& options);

// A request from the scroll bar.
enum class ScrollRequest { LineUp, PageUp, LineDown, PageDown, Track, Other };
// The scroll-bar position a request goes to from position (track: the
// thumb's position while dragged or dropped). 10 units a page.
long long ScrollPositionFor(ScrollRequest request, long long position, long long track);
// The entry the cursor goes to for a scroll-bar position: the top of the
// page it stands for; nullopt when that is the page shown or past the end.
std::optional<long long> ScrollTargetEntry(const FileListModel& model, long long position);

}  // namespace kestrum
