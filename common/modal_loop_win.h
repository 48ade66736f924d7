// The one modal loop of the program's own dialogs (Dialog::RunModal).
#pragma once

#include <windows.h>

namespace kestrum {

// Runs wnd modally: shown and brought to the front, the thread's other
// visible, enabled top-level windows disabled until done is true, wnd is
// destroyed or WM_QUIT arrives (which is posted again); then those windows
// are enabled again and wnd is hidden. False when the loop ended by WM_QUIT.
bool RunModalLoop(HWND wnd, const bool& done);

}  // namespace kestrum
