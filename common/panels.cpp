// The aligning panel's layout and the divider's sizes.
#include "common/panels.h"

#include <algorithm>

namespace kestrum {

std::vector<PanelRect> AlignChildren(const PanelRect& client, const std::vector<AlignedChild>& children) {
    std::vector<PanelRect> out;
    out.reserve(children.size());
    PanelRect rest = client;
    for (const AlignedChild& c : children) {
        const int w = c.now.Width();
        const int h = c.now.Height();
        PanelRect r = c.now;
        switch (c.align) {
        case TAlign::Left:
            r = {rest.left, rest.top, rest.left + w, rest.top + rest.Height()};
            rest.left += w;
            break;
        case TAlign::Right:
            rest.right -= w;
            r = {rest.right, rest.top, rest.right + w, rest.top + rest.Height()};
            break;
        case TAlign::Top:
            r = {rest.left, rest.top, rest.left + rest.Width(), rest.top + h};
            rest.top += h;
            break;
        case TAlign::Bottom:
            rest.bottom -= h;
            r = {rest.left, rest.bottom, rest.left + rest.Width(), rest.bottom + h};
            break;
        case TAlign::None:
        case TAlign::Client: break;
        }
        out.push_back(r);
    }
    const PanelRect fill{rest.left, rest.top, rest.left + rest.Width(), rest.top + rest.Height()};
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i].align == TAlign::Client) out[i] = fill;
    }
    return out;
}

int SplitEdge(TAlign align, const PanelRect& host) {
    switch (align) {
    case TAlign::Top: return host.bottom;
    case TAlign::Bottom: return host.top;
    case TAlign::Right: return host.left;
    default: return host.right;
    }
}

int SplitHostSize(TAlign align, const PanelRect& host, int edge) {
    int size = 0;
    switch (align) {
    case TAlign::Top: size = edge - host.top; break;
    case TAlign::Bottom: size = host.bottom - edge; break;
    case TAlign::Right: size = host.right - edge; break;
    default: size = edge - host.left; break;
    }
    return std::max(0, size);
}

}  // namespace kestrum
