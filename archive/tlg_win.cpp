// TLg: rows, cursor, selection, keys and painting.
#include "archive/tlg_win.h"

#include <windowsx.h>

#include <algorithm>

#include "common/handles_win.h"
#include "common/prompter.h"

namespace kestrum {

bool TLg::Create(HWND parent, int id) {
    RegisterWindowClass("TLg", nullptr, nullptr);
    if (!CreateWin("TLg", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, "", 0, 0, 100, 100, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
        return false;
    }
    SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return true;
}

void TLg::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_.assign(items_.size(), false);
    index_ = 0;
    top_ = 0;
    UpdateScroll();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLg::SetItemIndex(int i) {
    if (items_.empty()) {
        index_ = 0;
        return;
    }
    Move(std::clamp(i, 0, static_cast<int>(items_.size()) - 1));
}

bool TLg::Selected(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= selected_.size()) {
        CurrentPrompter().ShowMessage("無効な値です。> Selected");
        return false;
    }
    return selected_[static_cast<std::size_t>(i)];
}

void TLg::SetSelected(int i, bool on) {
    if (i < 0 || static_cast<std::size_t>(i) >= selected_.size()) {
        CurrentPrompter().ShowMessage("無効な値です。> Selected");
        return;
    }
    selected_[static_cast<std::size_t>(i)] = on;
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TLg::SelCount() const { return static_cast<int>(std::count(selected_.begin(), selected_.end(), true)); }

std::vector<int> TLg::SelectedRows() const {
    std::vector<int> rows;
    for (std::size_t i = 0; i < selected_.size(); ++i) {
        if (selected_[i]) rows.push_back(static_cast<int>(i));
    }
    return rows;
}

void TLg::SetCursorStyle(int style) {
    if (style < 0 || style > 3) {
        CurrentPrompter().ShowMessage("無効な値です。> CursorStyle");
        return;
    }
    cursorStyle_ = style;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLg::SetFont(HFONT font) {
    font_ = font;
    // A row is as high as "M" in the font, and two pixels more.
    SIZE m{};
    {
        const WindowDc dc(Handle());
        const SelectGuard withFont(dc.Get(), font_);
        GetTextExtentPoint32A(dc.Get(), "M", 1, &m);
    }
    rowHeight_ = std::max<int>(1, m.cy + 2);
    UpdateScroll();
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TLg::VisibleRows() const {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    return std::max<int>(1, rc.bottom / rowHeight_);
}

void TLg::UpdateScroll() {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = items_.empty() ? 0 : static_cast<int>(items_.size()) - 1;
    si.nPage = static_cast<UINT>(VisibleRows());
    si.nPos = top_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void TLg::Move(int to) {
    if (items_.empty()) return;
    index_ = std::clamp(to, 0, static_cast<int>(items_.size()) - 1);
    const int visible = VisibleRows();
    if (index_ < top_) top_ = index_;
    if (index_ >= top_ + visible) top_ = index_ - visible + 1;
    UpdateScroll();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLg::KeyDown(WPARAM key) {
    if (onKeyDown && onKeyDown(key)) return;
    const int n = static_cast<int>(items_.size());
    if (n == 0) return;
    switch (key) {
    case VK_UP: Move(index_ == 0 && Loop ? n - 1 : index_ - 1); break;
    case VK_DOWN: Move(index_ == n - 1 && Loop ? 0 : index_ + 1); break;
    case VK_PRIOR: Move(index_ - VisibleRows()); break;
    case VK_NEXT: Move(index_ + VisibleRows()); break;
    case VK_HOME: Move(0); break;
    case VK_END: Move(n - 1); break;
    case VK_SPACE:
        if (!MultiSelect) break;
        selected_[static_cast<std::size_t>(index_)] = !selected_[static_cast<std::size_t>(index_)];
        Move(index_ == n - 1 && Loop ? 0 : index_ + 1);
        break;
    default: break;
    }
}

void TLg::Paint() {
    const PaintDc dc(Handle());
    RECT rc{};
    GetClientRect(Handle(), &rc);
    // Drawn off screen and copied in one go: no flicker while scrolling.
    const MemoryDc mem(CreateCompatibleDC(dc.Get()));
    const GdiObject<HBITMAP> bmp(
        CreateCompatibleBitmap(dc.Get(), std::max<LONG>(1, rc.right), std::max<LONG>(1, rc.bottom)));
    if (!mem || !bmp) return;
    const SelectGuard withBitmap(mem.Get(), bmp.Get());
    const GdiObject<HBRUSH> back(CreateSolidBrush(clBack));
    FillRect(mem.Get(), &rc, back.Get());
    const SelectGuard withFont(mem.Get(), font_);
    SetBkMode(mem.Get(), TRANSPARENT);
    SIZE star{};
    GetTextExtentPoint32A(mem.Get(), "*", 1, &star);
    for (int row = top_, y = 0; row < static_cast<int>(items_.size()) && y < rc.bottom; ++row, y += rowHeight_) {
        PaintRow(mem.Get(), row, RECT{0, y, rc.right, y + rowHeight_}, static_cast<int>(star.cx));
    }
    BitBlt(dc.Get(), 0, 0, rc.right, rc.bottom, mem.Get(), 0, 0, SRCCOPY);
}

void TLg::PaintRow(HDC dc, int row, const RECT& r, int starWidth) const {
    const bool cursor = row == index_ && cursorStyle_ != 3;
    COLORREF text = clFont;
    if (cursor && cursorStyle_ == 2) {
        const GdiObject<HBRUSH> fill(CreateSolidBrush(clFont));
        FillRect(dc, &r, fill.Get());
        text = clBack;
    }
    SetTextColor(dc, text);
    // " " + the text, its first character a star on a selected row; other
    // rows are indented by the star's width so texts line up.
    const std::string& item = items_[static_cast<std::size_t>(row)];
    if (selected_[static_cast<std::size_t>(row)]) {
        const std::string line = "*" + item;
        TextOutA(dc, 1, r.top + 1, line.c_str(), static_cast<int>(line.size()));
    } else {
        TextOutA(dc, 1 + starWidth, r.top + 1, item.c_str(), static_cast<int>(item.size()));
    }
    if (!cursor) return;
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, clFont));
    const SelectGuard withPen(dc, pen.Get());
    const SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
    switch (cursorStyle_) {
    case 0: Rectangle(dc, r.left, r.top, r.right, r.bottom); break;
    case 1:
        MoveToEx(dc, 1, r.bottom - 1, nullptr);
        LineTo(dc, r.right - 3, r.bottom - 1);
        break;
    case 2: DrawFocusRect(dc, &r); break;
    default: break;
    }
}

LRESULT TLg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: KeyDown(wp); return 0;
    case WM_SIZE:
        UpdateScroll();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(Handle());
        const int row = top_ + GET_Y_LPARAM(lp) / rowHeight_;
        if (row < static_cast<int>(items_.size())) Move(row);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (onDoubleClick) onDoubleClick();
        return 0;
    case WM_MOUSEWHEEL: Move(index_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA); return 0;
    case WM_VSCROLL: {
        const int visible = VisibleRows();
        const int last = std::max(0, static_cast<int>(items_.size()) - visible);
        switch (LOWORD(wp)) {
        case SB_LINEUP: top_ -= 1; break;
        case SB_LINEDOWN: top_ += 1; break;
        case SB_PAGEUP: top_ -= visible; break;
        case SB_PAGEDOWN: top_ += visible; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top_ = HIWORD(wp); break;
        default: break;
        }
        top_ = std::clamp(top_, 0, last);
        UpdateScroll();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(Handle(), nullptr, TRUE); return 0;
    default: return Default(msg, wp, lp);
    }
}

}  // namespace kestrum
