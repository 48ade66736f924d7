// The text of a system error code.
#pragma once

#include <windows.h>

#include <string>

namespace kestrum {

// The system's message for code, without its line end; a code the system
// has no text for reads "エラー <code>", so a report never ends empty.
std::string SystemErrorText(DWORD code);

}  // namespace kestrum
