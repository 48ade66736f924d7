// The filer grid's geometry and the looks of its cells.
#include "filer/filer_geometry.h"

#include <algorithm>

#include "common/sjis.h"

namespace kestrum {

Rect CellRect(const FilerLayout& layout, int col, int row) {
    const Rect& g = layout.grid;
    return Rect{g.left + col * (layout.columnWidth + kColumnGap), g.top + row * layout.rowHeight, layout.columnWidth,
                layout.rowHeight};
}

std::optional<GridCell> CellAt(const FilerLayout& layout, int cols, int rows, int x, int y) {
    const Rect& g = layout.grid;
    if (x < g.left || y < g.top || x >= g.left + g.width || y >= g.Bottom()) return std::nullopt;
    const GridCell cell{(x - g.left) / (layout.columnWidth + kColumnGap), (y - g.top) / std::max(layout.rowHeight, 1)};
    if (cell.col >= cols || cell.row >= rows) return std::nullopt;
    return cell;
}

long long CellIndex(const FileListModel& model, int col, int row) {
    return static_cast<long long>(col) * model.Rows() + row + model.PageTop();
}

CursorStyle CursorStyleOf(int setting) {
    return setting >= 0 && setting <= 3 ? static_cast<CursorStyle>(setting) : CursorStyle::Frame;
}

ColorSlot EntryTextSlot(std::uint32_t attributes) {
    if (attributes & kAttrSystem) return kColFileSystem;
    if (attributes & kAttrHidden) return kColFileHidden;
    if (attributes & kAttrReadOnly) return kColFileReadOnly;
    if (attributes & kAttrDirectory) return kColFileDirectory;
    return kColFileNormal;
}

CellColors CellColorsFor(std::uint32_t attributes, bool isCursor, CursorStyle style) {
    CellColors c{EntryTextSlot(attributes), kColListBack};
    if (isCursor && style == CursorStyle::Inverse) std::swap(c.text, c.back);
    return c;
}

CursorShape CursorShapeFor(CursorStyle style, const Rect& cell) {
    CursorShape s;
    const int right = cell.left + cell.width;
    switch (style) {
    case CursorStyle::Inverse: return s;
    case CursorStyle::Underline:
        s.kind = CursorShape::Kind::Line;
        s.x1 = cell.left + 1;
        s.x2 = right - 3;
        s.y1 = s.y2 = cell.Bottom() - 1;
        return s;
    case CursorStyle::DottedFrame:
    case CursorStyle::Frame: {
        // The dotted frame stays one pixel inside the cell's right and bottom.
        const int inset = style == CursorStyle::DottedFrame ? 1 : 0;
        s.kind = CursorShape::Kind::Box;
        s.dotted = inset != 0;
        s.x1 = cell.left;
        s.y1 = cell.top;
        s.x2 = right - inset;
        s.y2 = cell.Bottom() - inset;
        return s;
    }
    }
    return s;
}

CellTexts CellTextsFor(const std::string& name, bool marked, bool isDirectory) {
    CellTexts t;
    t.starred = name;
    if (!t.starred.empty()) t.starred[0] = '*';
    t.unstarred = name.empty() ? std::string() : name.substr(1);
    t.shown = marked ? t.starred : t.unstarred;
    const std::size_t dot = FindLastChar(t.shown, '.');
    if (dot != std::string::npos && dot > 0 && !isDirectory) {
        t.base = t.shown.substr(0, dot);
        t.ext = t.shown.substr(dot);
    } else {
        t.base = t.shown;
    }
    return t;
}

CursorLineTexts CursorLine(const FileListModel& model, const DisplayOptions& options) {
    CursorLineTexts t;
    const long long cursor = model.CursorIndex();
    t.empty = model.Count() == 0;
    if (t.empty || cursor >= static_cast<long long>(model.Count())) return t;
    const FindRecord f = model.Record(static_cast<std::size_t>(cursor));
    t.name = NameText(f, options);
    t.sizeDate = " " + SizeDateText(f, options) + " ";
    return t;
}

long long ScrollPositionFor(ScrollRequest request, long long position, long long track) {
    switch (request) {
    case ScrollRequest::LineUp:
    case ScrollRequest::PageUp: return position - 10;
    case ScrollRequest::LineDown:
    case ScrollRequest::PageDown: return position + 10;
    case ScrollRequest::Track: return track;
    case ScrollRequest::Other: break;
    }
    return position;
}

std::optional<long long> ScrollTargetEntry(const FileListModel& model, long long position) {
    const long long top = PageForScrollPosition(std::max(position, 0LL)) * model.PageSize();
    if (top == model.PageTop() || top >= static_cast<long long>(model.Count())) return std::nullopt;
    return top;
}

}  // namespace kestrum
