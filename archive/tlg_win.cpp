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
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE m{};
    GetTextExtentPoint32A(dc, "M", 1, &m);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT rc{};
    GetClientRect(Handle(), &rc);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max<LONG>(1, rc.right), std::max<LONG>(1, rc.bottom));
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HBRUSH back = CreateSolidBrush(clBack);
    FillRect(mem, &rc, back);
    HGDIOBJ oldFont = SelectObject(mem, font_);
    SetBkMode(mem, TRANSPARENT);
    SIZE star{};
    GetTextExtentPoint32A(mem, "*", 1, &star);
    const int width = rc.right;
    for (int row = top_, y = 0; row < static_cast<int>(items_.size()) && y < rc.bottom; ++row, y += rowHeight_) {
        const bool cursor = row == index_ && cursorStyle_ != 3;
        RECT r{0, y, width, y + rowHeight_};
        COLORREF text = clFont;
        if (cursor && cursorStyle_ == 2) {
            HBRUSH fill = CreateSolidBrush(clFont);
            FillRect(mem, &r, fill);
            DeleteObject(fill);
            text = clBack;
        }
        SetTextColor(mem, text);
        // " " + the text, its first character a star on a selected row;
        // other rows are indented by the star's width so texts line up.
        const std::string& item = items_[static_cast<std::size_t>(row)];
        if (selected_[static_cast<std::size_t>(row)]) {
            const std::string line = "*" + item;
            TextOutA(mem, 1, y + 1, line.c_str(), static_cast<int>(line.size()));
        } else {
            TextOutA(mem, 1 + star.cx, y + 1, item.c_str(), static_cast<int>(item.size()));
        }
        if (!cursor) continue;
        HPEN pen = CreatePen(PS_SOLID, 1, clFont);
        HGDIOBJ oldPen = SelectObject(mem, pen);
        HGDIOBJ oldBrush = SelectObject(mem, GetStockObject(NULL_BRUSH));
        switch (cursorStyle_) {
        case 0: Rectangle(mem, r.left, r.top, r.right, r.bottom); break;
        case 1:
            MoveToEx(mem, 1, r.bottom - 1, nullptr);
            LineTo(mem, width - 3, r.bottom - 1);
            break;
        case 2: DrawFocusRect(mem, &r); break;
        default: break;
        }
        SelectObject(mem, oldBrush);
        SelectObject(mem, oldPen);
        DeleteObject(pen);
    }
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(back);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(Handle(), &ps);
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
