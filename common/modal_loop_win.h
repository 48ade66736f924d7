// The modal loop the program's own dialogs share.
#pragma once

#include <windows.h>

namespace kestrum {

// Runs wnd modally: the thread's other enabled top-level windows are
// disabled until done is true (or WM_QUIT arrives, which is posted again).
// False when the loop ended by WM_QUIT.
bool RunModalLoop(HWND wnd, const bool& done);

}  // namespace kestrum
