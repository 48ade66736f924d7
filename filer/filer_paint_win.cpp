// TfrmFM on screen: the layout of its regions and the drawing of the bars,
// the lines and the grid of cells (through a back buffer, a page at a time).
#include <windows.h>

#include <algorithm>

#include "common/handles_win.h"
#include "common/sjis.h"
#include "config/colors_win.h"
#include "config/session.h"
#include "filer/filer_geometry.h"
#include "filer/frm_fm_win.h"

namespace kestrum {

namespace {

COLORREF Slot(ColorSlot slot) { return ResolveColor(TheColors().Get(slot)); }

SIZE TextSize(HDC dc, HFONT font, const std::string& text) {
    SelectGuard g(dc, font);
    SIZE sz{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    return sz;
}

void FillRectColor(HDC dc, const RECT& r, COLORREF c) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(c));
    FillRect(dc, &r, brush.Get());
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.left + r.width, r.top + r.height}; }

void DrawTextIn(HDC dc, const Rect& box, const std::string& text, COLORREF fg, COLORREF bg, UINT align) {
    RECT r = ToRECT(box);
    FillRectColor(dc, r, bg);
    SetTextColor(dc, fg);
    SetBkMode(dc, TRANSPARENT);
    r.left += kTextMargin;
    r.right -= kTextMargin;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

void TfrmFM::DoLayout() {
    if (!Handle()) return;
    RECT rc{};
    GetClientRect(Handle(), &rc);
    WindowDc dc(Handle());
    const Settings& s = TheSession().settings;
    LayoutInput in;
    in.clientWidth = rc.right;
    in.clientHeight = rc.bottom;
    in.driveFontHeight = TextSize(dc.Get(), fontHandles_[1].Get(), "P").cy;
    in.functionFontHeight = TextSize(dc.Get(), fontHandles_[2].Get(), "P").cy;
    in.windowFontHeight = TextSize(dc.Get(), fontHandles_[0].Get(), "P").cy;
    in.underscoreHeight = TextSize(dc.Get(), fontHandles_[0].Get(), "_").cy;
    {
        SelectGuard g(dc.Get(), fontHandles_[0].Get());
        TEXTMETRICA tm{};
        GetTextMetricsA(dc.Get(), &tm);
        in.averageCharWidth = std::max<int>(tm.tmAveCharWidth, 1);
    }
    in.pWidth = std::max<int>(TextSize(dc.Get(), fontHandles_[0].Get(), "P").cx, 1);
    in.sizeSampleWidth = TextSize(dc.Get(), fontHandles_[0].Get(), "Size 100,000,000,000").cx;
    in.scrollBarWidth = GetSystemMetrics(SM_CXHSCROLL);
    in.commandLineHeight = TextSize(dc.Get(), fontHandles_[3].Get(), "P").cy + 8;
    in.columnChars = displayMode_ == 0 ? 18 : 39;
    in.filePitch = s.filePitch;
    in.functionBar = s.fguide;
    in.infoLine = s.fileInfo1;
    layout_ = ComputeLayout(in);
    MoveWindow(cmdLine_, layout_.commandLine.left, layout_.commandLine.top, layout_.commandLine.width,
               layout_.commandLine.height, TRUE);
    MoveWindow(scroll_, layout_.scrollBar.left, layout_.scrollBar.top, layout_.scrollBar.width,
               layout_.scrollBar.height, TRUE);
    model_.SetGrid(layout_.rows, layout_.columns);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmFM::InvalidateGrid() {
    if (!Handle()) return;
    RECT r = ToRECT(layout_.grid);
    InvalidateRect(Handle(), &r, FALSE);
    // The full-name line and the counts follow the cursor.
    RECT line = ToRECT(layout_.fullNameLine);
    InvalidateRect(Handle(), &line, FALSE);
    RECT dir = ToRECT(layout_.directoryLine);
    InvalidateRect(Handle(), &dir, FALSE);
    RECT bar = ToRECT(layout_.driveBar);
    InvalidateRect(Handle(), &bar, FALSE);
}

void TfrmFM::Paint(HDC target) {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const MemoryDc memory(CreateCompatibleDC(target));
    HDC dc = memory.Get();
    GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(target, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
    const SelectGuard keepBitmap(dc, bmp.Get());
    FillRectColor(dc, rc, Slot(kColFilerForm));
    PaintDriveBar(dc);
    if (TheSession().settings.fguide && layout_.functionBar.height > 0) PaintFunctionBar(dc);
    PaintLines(dc);
    // The grid: one page of cells, column by column, in the file-name font.
    const SelectGuard windowFont(dc, fontHandles_[0].Get());
    FillRectColor(dc, ToRECT(layout_.grid), Slot(kColListBack));
    for (int c = 0; c < model_.Cols(); ++c) {
        for (int r = 0; r < model_.Rows(); ++r) DrawCell(dc, c, r);
    }
    BitBlt(target, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
}

// Drive bar: archive-auto, count, total, used, free.
void TfrmFM::PaintDriveBar(HDC dc) {
    const Session& session = TheSession();
    {
        SelectGuard font(dc, fontHandles_[1].Get());
        const Rect& bar = layout_.driveBar;
        FillRectColor(dc, ToRECT(bar), Slot(kColDriveBack));
        const std::string lauto = session.lautoOn ? "LAUTO " + session.lautoLabel : std::string("LAUTO OFF");
        const std::string count = "ファイル数 " + driveCount_;
        const DriveBarWidths w =
            ComputeDriveBar(bar.width, DriveBarTexts{lauto, count, driveTotal_, driveUsed_, driveFree_},
                            [&](const std::string& t) { return static_cast<int>(TextSize(dc, fontHandles_[1].Get(), t).cx); });
        int x = bar.left;
        const std::pair<int, const std::string*> boxes[] = {
            {w.lauto, &lauto}, {w.count, &count}, {w.total, &driveTotal_}, {w.used, &driveUsed_}, {w.freeSpace, &driveFree_}};
        for (const auto& [width, text] : boxes) {
            DrawTextIn(dc, Rect{x, bar.top, width, bar.height}, *text, Slot(kColDriveText), Slot(kColDriveBack), DT_LEFT);
            x += width;
        }
    }
}

void TfrmFM::PaintFunctionBar(HDC dc) {
    const Session& session = TheSession();
    {
        SelectGuard font(dc, fontHandles_[2].Get());
        const Rect& bar = layout_.functionBar;
        FillRectColor(dc, ToRECT(bar), Slot(kColFuncBack));
        std::vector<int> labels;
        for (std::size_t i = 0; i < 12; ++i) {
            const std::string t = i < session.lists.functions.size() ? session.lists.functions[i].title : std::string();
            labels.push_back(TextSize(dc, fontHandles_[2].Get(), t).cx);
        }
        const std::vector<int> widths = FunctionKeyWidths(labels, bar.width, session.settings.functionKazu);
        const std::vector<FunctionKeyBox> boxes = FunctionKeyBoxes(widths, bar, session.settings.functionKazu);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const std::string t = i < session.lists.functions.size() ? session.lists.functions[i].title : std::string();
            DrawTextIn(dc, boxes[i].label, t, Slot(kColFuncText), Slot(kColFuncBack), DT_LEFT);
            FillRectColor(dc, ToRECT(boxes[i].divider), Slot(kColDivider));
        }
    }
}

// Directory line and full-name line.
void TfrmFM::PaintLines(HDC dc) {
    const Session& session = TheSession();
    SelectGuard windowFont(dc, fontHandles_[0].Get());
    const CursorLineTexts cursorLine = CursorLine(model_, Options());
    const bool empty = cursorLine.empty;
    const std::string& nameText = cursorLine.name;
    const std::string& sizeDate = cursorLine.sizeDate;
    {
        const Rect& line = layout_.directoryLine;
        const Rect left{line.left, line.top, layout_.directoryLeftWidth, line.height};
        const Rect right{line.left + layout_.directoryLeftWidth, line.top, line.width - layout_.directoryLeftWidth,
                         line.height};
        if (session.settings.fileInfo1) {
            // One line for the cursor entry: its name left, size and date right.
            DrawTextIn(dc, left, empty ? std::string() : sizeDate, Slot(kColCursorInfoText), Slot(kColCursorInfoBack), DT_RIGHT);
            const int dateWidth = empty ? 0 : TextSize(dc, fontHandles_[0].Get(), sizeDate).cx;
            DrawTextIn(dc, Rect{left.left, left.top, std::max(left.width - dateWidth, 0), left.height}, nameText,
                       Slot(kColCursorInfoText), Slot(kColCursorInfoBack), DT_LEFT);
        } else {
            DrawTextIn(dc, left, session.currentDir + session.maskText, Slot(kColCurDirText), Slot(kColCurDirBack), DT_LEFT);
        }
        DrawTextIn(dc, right, model_.MarkedSizeText(), Slot(kColMarkSizeText), Slot(kColMarkSizeBack), DT_RIGHT);
    }
    if (layout_.fullNameLine.height > 0) {
        DrawTextIn(dc, layout_.fullNameLine, nameText, Slot(kColCursorInfoText), Slot(kColCursorInfoBack), DT_LEFT);
        DrawTextIn(dc, layout_.fullNameLine, empty ? std::string() : sizeDate, Slot(kColCursorInfoText), Slot(kColCursorInfoBack), DT_RIGHT);
        DrawTextIn(dc, Rect{layout_.fullNameLine.left, layout_.fullNameLine.top,
                            layout_.fullNameLine.width - TextSize(dc, fontHandles_[0].Get(), sizeDate).cx,
                            layout_.fullNameLine.height},
                   nameText, Slot(kColCursorInfoText), Slot(kColCursorInfoBack), DT_LEFT);
    }
}

void TfrmFM::DrawCell(HDC dc, int col, int row) {
    const RECT cell = ToRECT(CellRect(layout_, col, row));
    const long long index = CellIndex(model_, col, row);
    if (index >= static_cast<long long>(model_.Count())) {
        FillRectColor(dc, cell, Slot(kColListBack));
        return;
    }
    const Settings& s = TheSession().settings;
    const bool active = gridFocused_ && GetFocus() == Handle();
    const CursorStyle style = CursorStyleOf(active ? s.cursorStyle : s.cursorStyle2);
    // Texts are made here, for the cells of the page only.
    const FindRecord f = model_.Record(static_cast<std::size_t>(index));
    const bool isCursor = col == model_.CursorCol() && row == model_.CursorRow();
    const CellColors colors = CellColorsFor(f.attributes, isCursor, style);
    const COLORREF fg = Slot(colors.text);
    const COLORREF bg = Slot(colors.back);
    FillRectColor(dc, cell, bg);
    SetTextColor(dc, fg);
    SetBkMode(dc, TRANSPARENT);
    DrawCellText(dc, cell, f, model_.Marked(static_cast<std::size_t>(index)), bg);
    if (isCursor) DrawCursor(dc, CursorShapeFor(style, CellRect(layout_, col, row)), fg, bg);
}

void TfrmFM::DrawCellText(HDC dc, const RECT& cell, const FindRecord& f, bool marked, COLORREF bg) {
    HFONT font = fontHandles_[0].Get();
    const DisplayOptions o = Options();
    const CellTexts t = CellTextsFor(NameText(f, o), marked, f.IsDirectory());
    const int offset = marked ? 1 : TextSize(dc, font, t.starred).cx - TextSize(dc, font, t.unstarred).cx + 1;
    RECT clip = cell;
    if (displayMode_ == 1) {
        const std::string right = " " + SizeDateText(f, o) + " ";
        const int rw = TextSize(dc, font, right).cx;
        clip.right = std::max<LONG>(cell.left, cell.right - rw - 1);
        ExtTextOutA(dc, cell.left + offset, cell.top + 1, ETO_CLIPPED, &clip, t.shown.c_str(),
                    static_cast<UINT>(t.shown.size()), nullptr);
        TextOutA(dc, cell.right - rw - 1, cell.top + 1, right.c_str(), static_cast<int>(right.size()));
        return;
    }
    // The extension sits at the right edge and covers a long name's tail.
    ExtTextOutA(dc, cell.left + offset, cell.top + 1, ETO_CLIPPED, &clip, t.base.c_str(),
                static_cast<UINT>(t.base.size()), nullptr);
    if (t.ext.empty()) return;
    const int ew = TextSize(dc, font, t.ext).cx;
    RECT box{std::max<LONG>(cell.left, cell.right - ew - 2 - 4), cell.top, cell.right, cell.bottom};
    FillRectColor(dc, box, bg);
    ExtTextOutA(dc, cell.right - ew - 2, cell.top + 2, ETO_CLIPPED, &box, t.ext.c_str(),
                static_cast<UINT>(t.ext.size()), nullptr);
}

void TfrmFM::DrawCursor(HDC dc, const CursorShape& shape, COLORREF fg, COLORREF bg) {
    if (shape.kind == CursorShape::Kind::None) return;
    GdiObject<HPEN> pen(CreatePen(shape.dotted ? PS_DOT : PS_SOLID, 1, fg));
    SelectGuard penGuard(dc, pen.Get());
    SelectGuard brushGuard(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, bg);
    if (shape.kind == CursorShape::Kind::Line) {
        MoveToEx(dc, shape.x1, shape.y1, nullptr);
        LineTo(dc, shape.x2, shape.y2);
    } else {
        Rectangle(dc, shape.x1, shape.y1, shape.x2, shape.y2);
    }
}

}  // namespace kestrum
