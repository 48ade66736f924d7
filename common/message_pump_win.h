// The application's message hook and the pump of long operations.
#pragma once

#include <windows.h>

namespace kestrum {

// A filter every message loop of the program calls before it translates
// and dispatches a message; true means the message is done with.
using MessageHook = bool (*)(const MSG& msg);

// Installs the application's hook (nullptr: none); answers the one before.
MessageHook SetMessageHook(MessageHook hook);
// Runs the installed hook; false when there is none.
bool RunMessageHook(const MSG& msg);

// Handles what is waiting, as the main loop would (Unicode, through the
// hook), and returns: a long operation calls it between its steps so that
// windows repaint and a cancel button can be pressed. False when WM_QUIT
// was taken from the queue; it is posted again for the main loop.
bool PumpPendingMessages();

}  // namespace kestrum
