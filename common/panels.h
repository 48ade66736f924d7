// The arithmetic of the aligning panel and its divider (panels_win.h):
// where each child goes, and what size a dragged divider gives its host.
#pragma once

#include <vector>

namespace kestrum {

// Alignment of a child inside an aligning panel, as the layout applies it:
// in order, edges first, the client child takes what is left.
enum class TAlign { None, Top, Bottom, Left, Right, Client };

// A rectangle in the panel's client coordinates.
struct PanelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right > left ? right - left : 0; }
    int Height() const { return bottom > top ? bottom - top : 0; }
    bool operator==(const PanelRect&) const = default;
};

struct AlignedChild {
    TAlign align = TAlign::None;
    PanelRect now;  // where the child is before the layout
};

// Where each child goes in a panel whose client area is `client`. In order,
// a child aligned to an edge keeps its size across that edge, spans what is
// left along it and takes its strip from what is left; every client child
// then fills what the edges left (nothing, when they took it all); a child
// without alignment stays where it is. One rectangle a child, in order.
std::vector<PanelRect> AlignChildren(const PanelRect& client, const std::vector<AlignedChild>& children);

// The host's edge a divider aligned like it moves: the right edge of a
// left-aligned host, the left of a right-aligned one, and so on.
int SplitEdge(TAlign align, const PanelRect& host);

// The host's size across its alignment (its width, or its height for Top
// and Bottom) when that edge is dragged to `edge`; never below 0.
int SplitHostSize(TAlign align, const PanelRect& host, int edge);

}  // namespace kestrum
