// Window placement in the settings file's terms: the normal (restored)
// geometry of a window, and a stored geometry kept on the visible desktop.
#pragma once

#include <windows.h>

#include "config/window_state.h"

namespace kestrum {

// Normal (restored) placement of a window in the settings file's terms.
Geometry WindowGeometry(HWND wnd);
// A placement read from the settings file kept on the visible desktop: on
// the work area of the monitor nearest to it (KeepOnDesktop).
Geometry OnVisibleDesktop(const Geometry& g, const Geometry& def);
bool IsMaximised(HWND wnd);

}  // namespace kestrum
