// The aligning panel and its divider.
#include "common/panels_win.h"

#include <windowsx.h>

#include <stdexcept>

namespace kestrum {

namespace {

PanelRect ToPanel(const RECT& r) { return PanelRect{r.left, r.top, r.right, r.bottom}; }

// A child's rectangle in its parent's client coordinates.
PanelRect RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return ToPanel(r);
}

}  // namespace

// ---- TAlignPanel ------------------------------------------------------------------

bool TAlignPanel::Create(HWND parent, int x, int y, int w, int h) {
    RegisterWindowClass("TAlignPanel", nullptr);
    // No WS_CLIPCHILDREN: the divider draws its drag line across the children.
    return CreateWin("TAlignPanel", 0, WS_CHILD | WS_VISIBLE, "", x, y, w, h, parent);
}

void TAlignPanel::SetAlign(HWND child, TAlign align, HWND after) {
    items_.erase(std::remove_if(items_.begin(), items_.end(), [&](const Item& i) { return i.wnd == child; }),
                 items_.end());
    auto at = items_.end();
    if (after) {
        at = std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.wnd == after; });
        if (at != items_.end()) ++at;
    }
    items_.insert(at, Item{child, align});
}

TAlign TAlignPanel::AlignOf(HWND child) const {
    for (const Item& i : items_) {
        if (i.wnd == child) return i.align;
    }
    return TAlign::None;
}

void TAlignPanel::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    std::vector<AlignedChild> children;
    children.reserve(items_.size());
    for (const Item& i : items_) children.push_back(AlignedChild{i.align, RectIn(i.wnd, Handle())});
    const std::vector<PanelRect> placed = AlignChildren(ToPanel(client), children);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].align == TAlign::None) continue;
        const PanelRect& r = placed[i];
        MoveWindow(items_[i].wnd, r.left, r.top, r.Width(), r.Height(), TRUE);
    }
}

LRESULT TAlignPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY:
    case WM_COMMAND: return SendMessageA(GetParent(Handle()), msg, wp, lp);
    case WM_SIZE: Layout(); return 0;
    default: return Default(msg, wp, lp);
    }
}

// ---- TSplitPanel -------------------------------------------------------------------

bool TSplitPanel::Create(TAlignPanel& parent) {
    panel_ = &parent;
    RegisterWindowClass("TSplitPanel", nullptr);
    return CreateWin("TSplitPanel", 0, WS_CHILD | WS_VISIBLE, "", 0, 0, kThickness, kThickness, parent.Handle());
}

void TSplitPanel::SetAlign(TAlign align) {
    if (align == TAlign::Client) throw std::runtime_error("AlignにalClientは選択できません。");
    align_ = align;
    if (!Handle() || !panel_) return;
    const PanelRect r = RectIn(Handle(), panel_->Handle());
    if (Horizontal()) {
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, kThickness, SWP_NOMOVE | SWP_NOZORDER);
    } else {
        SetWindowPos(Handle(), nullptr, 0, 0, kThickness, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    panel_->SetAlign(Handle(), align_, host_);
    panel_->Layout();
}

void TSplitPanel::SetHostComponent(HWND host) {
    host_ = host;
    if (!host || !panel_) return;
    TAlign a = panel_->AlignOf(host);
    if (a == TAlign::None || a == TAlign::Client) {
        a = TAlign::Left;
        panel_->SetAlign(host, a);
    }
    // Just beyond the host's edge, so that the layout puts it next to it.
    const PanelRect h = RectIn(host, panel_->Handle());
    switch (a) {
    case TAlign::Top: SetWindowPos(Handle(), nullptr, h.left, h.bottom + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER); break;
    case TAlign::Bottom: SetWindowPos(Handle(), nullptr, h.left, h.top - 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER); break;
    case TAlign::Right: SetWindowPos(Handle(), nullptr, h.left - 8, h.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER); break;
    default: SetWindowPos(Handle(), nullptr, h.right + 8, h.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER); break;
    }
    SetAlign(a);
}

void TSplitPanel::DrawLine() const {
    if (!dragDc_ || !dragDc_->Get()) return;
    HDC dc = dragDc_->Get();
    const PanelRect self = RectIn(Handle(), panel_->Handle());
    const bool nearEdge = align_ == TAlign::Left || align_ == TAlign::Top;
    const int from = nearEdge ? position_ : position_ - kThickness;
    const SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
    if (Horizontal()) {
        PatBlt(dc, self.left, from, self.right - self.left, kThickness, PATINVERT);
    } else {
        PatBlt(dc, from, self.top, kThickness, self.bottom - self.top, PATINVERT);
    }
}

void TSplitPanel::BeginDrag(int x, int y) {
    if (!host_ || !panel_) return;
    SetCapture(Handle());
    dragDc_.emplace(panel_->Handle(), DCX_CACHE);
    pressed_ = POINT{x, y};
    MapWindowPoints(Handle(), panel_->Handle(), &pressed_, 1);
    edgeStart_ = SplitEdge(align_, RectIn(host_, panel_->Handle()));
    position_ = edgeStart_;
    dragging_ = true;
    DrawLine();
}

void TSplitPanel::DragTo(int x, int y) {
    POINT pt{x, y};
    MapWindowPoints(Handle(), panel_->Handle(), &pt, 1);
    DrawLine();
    // The line keeps the offset at which the divider was taken.
    position_ = edgeStart_ + (Horizontal() ? pt.y - pressed_.y : pt.x - pressed_.x);
    DrawLine();
}

void TSplitPanel::EndDrag() {
    DrawLine();
    dragging_ = false;
    dragDc_.reset();
    ReleaseCapture();
    const PanelRect h = RectIn(host_, panel_->Handle());
    const int size = SplitHostSize(align_, h, position_);
    if (Horizontal()) {
        SetWindowPos(host_, nullptr, 0, 0, h.right - h.left, size, SWP_NOMOVE | SWP_NOZORDER);
    } else {
        SetWindowPos(host_, nullptr, 0, 0, size, h.bottom - h.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    panel_->Layout();
    if (OnEndSizing) OnEndSizing(*this);
}

LRESULT TSplitPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(Horizontal() ? IDC_SIZENS : IDC_SIZEWE)));
        return TRUE;
    case WM_LBUTTONDOWN: BeginDrag(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); return 0;
    case WM_MOUSEMOVE:
        if (dragging_) DragTo(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            DragTo(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            EndDrag();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (dragging_) EndDrag();
        return 0;
    default: return Default(msg, wp, lp);
    }
}

}  // namespace kestrum
