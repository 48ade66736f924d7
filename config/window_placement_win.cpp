// Window placement through the platform's placement and monitor calls.
#include "config/window_placement_win.h"

#include <algorithm>

namespace kestrum {

Geometry WindowGeometry(HWND wnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!wnd || !GetWindowPlacement(wnd, &wp)) return Geometry{};
    const RECT& r = wp.rcNormalPosition;
    return Geometry{r.top, r.left, r.bottom - r.top, r.right - r.left};
}

Geometry OnVisibleDesktop(const Geometry& g, const Geometry& def) {
    const RECT r{g.left, g.top, g.left + std::max(g.width, 1), g.top + std::max(g.height, 1)};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return g;
    const RECT& w = mi.rcWork;
    return KeepOnDesktop(g, def, Geometry{w.top, w.left, w.bottom - w.top, w.right - w.left});
}

bool IsMaximised(HWND wnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    return wnd && GetWindowPlacement(wnd, &wp) && wp.showCmd == SW_SHOWMAXIMIZED;
}

}  // namespace kestrum
