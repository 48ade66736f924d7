// TBigView on screen: text metrics, the off-screen bitmap of the visible
// lines, band scrolling, selection inversion, the caret and the scroll bars.
#include <algorithm>
#include <cstdlib>

#include "viewers/big_view_win.h"

namespace kestrum {

// ---- measuring ------------------------------------------------------------------------

GdiTextMeasure::GdiTextMeasure() : dc_(CreateCompatibleDC(nullptr)) {}

GdiTextMeasure::~GdiTextMeasure() {
    if (original_) SelectObject(dc_.Get(), original_);
}

void GdiTextMeasure::SetFont(HFONT font) {
    HGDIOBJ previous = SelectObject(dc_.Get(), font);
    if (!original_) original_ = previous;
}

int GdiTextMeasure::Width(std::string_view text) const {
    // Tabs are single bytes that no double-byte character contains.
    int x = 0;
    for (std::size_t s = 0;;) {
        const std::size_t tab = text.find('\t', s);
        const std::size_t end = tab == std::string_view::npos ? text.size() : tab;
        if (end > s) {
            SIZE sz{};
            GetTextExtentPoint32A(dc_.Get(), text.data() + s, static_cast<int>(end - s), &sz);
            x += sz.cx;
        }
        if (tab == std::string_view::npos) return x;
        if (tabWidth_ > 0) x = (x / tabWidth_ + 1) * tabWidth_;
        s = tab + 1;
    }
}

void TBigView::Metrics() {
    TEXTMETRICA tm{};
    GetTextMetricsA(measure_.Dc(), &tm);
    charWidth_ = std::max<int>(1, tm.tmAveCharWidth);
    lineHeight_ = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    measure_.SetTabWidth(charWidth_ * model_.ViewTabStop());
}

// ---- layout and the bitmap --------------------------------------------------------------

void TBigView::Relayout() {
    if (!Handle()) return;
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const int top = model_.TopLine();
    const bool rewrapped = model_.SetGeometry(rc.right, rc.bottom, charWidth_, lineHeight_);
    RecreateBitmap();
    DrawAll();
    UpdateScrollBars();
    if (caretCreated_) {
        // The caret's height follows the font.
        DestroySystemCaret();
        CreateSystemCaret();
    }
    InvalidateRect(Handle(), nullptr, FALSE);
    if ((rewrapped || model_.TopLine() != top) && OnViewLineChanged) OnViewLineChanged();
}

void TBigView::RecreateBitmap() {
    // The bitmap holds the visible lines across the visible width; the text
    // is drawn into it already moved by the horizontal offset.
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const int width = std::max<int>(1, rc.right);
    const int height = std::max(1, model_.VisibleLines() * lineHeight_);
    if (bitmap_ && width == bitmapWidth_ && height == bitmapHeight_) return;
    if (!bitmapDc_) bitmapDc_.Reset(CreateCompatibleDC(nullptr));
    WindowDc screen(Handle());
    HBITMAP created = CreateCompatibleBitmap(screen.Get(), width, height);
    if (!created) return;
    SelectObject(bitmapDc_.Get(), created);
    bitmap_.Reset(created);  // the old one is no longer selected
    bitmapWidth_ = width;
    bitmapHeight_ = height;
}

void TBigView::DrawLine(int line) {
    if (!bitmap_) return;
    const int row = line - model_.TopLine();
    if (row < 0 || row >= model_.VisibleLines()) return;
    HDC dc = bitmapDc_.Get();
    const int y = row * lineHeight_;
    RECT band{0, y, bitmapWidth_, y + lineHeight_};
    GdiObject<HBRUSH> brush(CreateSolidBrush(backColor_));
    FillRect(dc, &band, brush.Get());
    if (line >= Count()) return;
    SelectGuard font(dc, font_.Get());
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    const std::string_view text = model_.Line(line);
    const int x0 = -model_.HOffset() * charWidth_;
    // Each run between tabs at the position the measure gives it.
    for (std::size_t s = 0; s < text.size();) {
        const std::size_t tab = text.find('\t', s);
        const std::size_t end = tab == std::string_view::npos ? text.size() : tab;
        if (end > s) {
            const int x = x0 + measure_.Width(text.substr(0, s));
            TextOutA(dc, x, y, text.data() + s, static_cast<int>(end - s));
        }
        if (tab == std::string_view::npos) break;
        s = tab + 1;
    }
    std::size_t from = 0, to = 0;
    if (model_.SelectedBytes(line, from, to)) {
        const int left = x0 + measure_.Width(text.substr(0, from));
        const int right = x0 + measure_.Width(text.substr(0, to));
        PatBlt(dc, left, y, right - left, lineHeight_, DSTINVERT);
    }
}

void TBigView::DrawAll() {
    if (!bitmap_) return;
    for (int row = 0; row < model_.VisibleLines(); ++row) DrawLine(model_.TopLine() + row);
}

void TBigView::ScrollBand(int lines) {
    if (!bitmap_) return;
    const int visible = model_.VisibleLines();
    if (std::abs(lines) >= visible) {
        DrawAll();
        return;
    }
    HDC dc = bitmapDc_.Get();
    const int dy = lines * lineHeight_;
    const int top = model_.TopLine();
    if (lines > 0) {
        // The view moved down the text: the picture moves up, new lines below.
        BitBlt(dc, 0, 0, bitmapWidth_, bitmapHeight_ - dy, dc, 0, dy, SRCCOPY);
        for (int row = visible - lines; row < visible; ++row) DrawLine(top + row);
    } else {
        BitBlt(dc, 0, -dy, bitmapWidth_, bitmapHeight_ + dy, dc, 0, 0, SRCCOPY);
        for (int row = 0; row < -lines; ++row) DrawLine(top + row);
    }
}

void TBigView::Refresh() {
    if (!Handle()) return;
    InvalidateRect(Handle(), nullptr, FALSE);
    // A few changes may wait for the next paint; then one is painted now.
    if (deferred_ < model_.PCanLimit()) {
        ++deferred_;
    } else {
        UpdateWindow(Handle());
    }
}

void TBigView::Paint() {
    PaintDc pdc(Handle());
    RECT rc{};
    GetClientRect(Handle(), &rc);
    if (bitmap_) BitBlt(pdc.Get(), 0, 0, bitmapWidth_, bitmapHeight_, bitmapDc_.Get(), 0, 0, SRCCOPY);
    // The strip below the last whole line, and anything right of the bitmap.
    GdiObject<HBRUSH> brush(CreateSolidBrush(backColor_));
    RECT below{0, bitmap_ ? bitmapHeight_ : 0, rc.right, rc.bottom};
    if (below.top < below.bottom) FillRect(pdc.Get(), &below, brush.Get());
    RECT right{bitmap_ ? bitmapWidth_ : 0, 0, rc.right, below.top};
    if (right.left < right.right) FillRect(pdc.Get(), &right, brush.Get());
    deferred_ = 0;
}

void TBigView::UpdateScrollBars() {
    if (!Handle()) return;
    if (ScrollBar() & sbVertical) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL};
        si.nMin = 0;
        si.nMax = model_.VScrollRange();
        si.nPos = model_.VScrollPos();
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    }
    if (ScrollBar() & sbHorizontal) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL};
        si.nMin = 0;
        si.nMax = std::max(1, model_.MaxHOffset());
        si.nPos = model_.HOffset();
        SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
    }
}

std::vector<std::uint32_t> TBigView::BackBufferPixels() const {
    std::vector<std::uint32_t> pixels;
    if (!bitmap_) return pixels;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bitmapWidth_;
    bi.bmiHeader.biHeight = -bitmapHeight_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<std::size_t>(bitmapWidth_) * static_cast<std::size_t>(bitmapHeight_));
    // The bitmap may not be selected into a DC while it is read.
    GdiObject<HBITMAP> placeholder(CreateCompatibleBitmap(bitmapDc_.Get(), 1, 1));
    HGDIOBJ ours = SelectObject(bitmapDc_.Get(), placeholder.Get());
    GetDIBits(bitmapDc_.Get(), bitmap_.Get(), 0, static_cast<UINT>(bitmapHeight_), pixels.data(), &bi, DIB_RGB_COLORS);
    SelectObject(bitmapDc_.Get(), ours);
    return pixels;
}

// ---- the caret ------------------------------------------------------------------------------

void TBigView::CreateSystemCaret() {
    if (caretCreated_ || !model_.CaretOn() || !Handle() || GetFocus() != Handle()) return;
    if (!CreateCaret(Handle(), nullptr, 2, lineHeight_)) return;
    caretCreated_ = true;
    PlaceSystemCaret();
    // Showing can fail while the system is busy with the caret; try again.
    for (int i = 0; i < 100 && !ShowCaret(Handle()); ++i) {
    }
}

void TBigView::DestroySystemCaret() {
    if (!caretCreated_) return;
    DestroyCaret();
    caretCreated_ = false;
}

void TBigView::PlaceSystemCaret() {
    if (!caretCreated_) return;
    ::SetCaretPos(model_.CaretX(), (model_.Caret().line - model_.TopLine()) * lineHeight_);
}

}  // namespace kestrum
