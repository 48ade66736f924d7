// Generic layout widgets: TAlignPanel, a panel that lays out its children
// by alignment, and TSplitPanel, the draggable divider that resizes one of
// them. The arithmetic is in common/panels.h.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "common/handles_win.h"
#include "common/panels.h"
#include "common/window_win.h"

namespace kestrum {

// A plain panel that lays out its children by alignment and passes
// notifications and commands on to its own parent.
class TAlignPanel : public Window {
public:
    bool Create(HWND parent, int x, int y, int w, int h);
    // Adds a child (or changes its alignment); after is the child it goes
    // behind in the layout order (nullptr: at the end).
    void SetAlign(HWND child, TAlign align, HWND after = nullptr);
    TAlign AlignOf(HWND child) const;
    void Layout();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Item {
        HWND wnd;
        TAlign align;
    };
    std::vector<Item> items_;
};

// The divider: a 4-pixel bar next to its host that resizes the host when
// dragged.
class TSplitPanel : public Window {
public:
    static constexpr int kThickness = 4;
    bool Create(TAlignPanel& parent);
    // The control to resize. A host without alignment or aligned to the
    // client becomes left-aligned; the divider takes the host's alignment
    // and sits just beyond it.
    void SetHostComponent(HWND host);
    HWND HostComponent() const { return host_; }
    // Throws for TAlign::Client ("AlignにalClientは選択できません。").
    void SetAlign(TAlign align);
    TAlign Align() const { return align_; }
    bool Horizontal() const { return align_ == TAlign::Top || align_ == TAlign::Bottom; }
    // Fired after a drag has resized the host.
    std::function<void(TSplitPanel&)> OnEndSizing;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void DrawLine() const;
    void BeginDrag(int x, int y);
    void DragTo(int x, int y);
    void EndDrag();

    TAlignPanel* panel_ = nullptr;
    HWND host_ = nullptr;
    TAlign align_ = TAlign::Left;
    bool dragging_ = false;
    std::optional<WindowDc> dragDc_;  // the panel's, while dragging
    POINT pressed_{};  // pointer at button down, in the panel's coordinates
    int edgeStart_ = 0;  // the host's edge at button down, panel coordinates
    int position_ = 0;   // the host's edge as dragged now
};

}  // namespace kestrum
