// ISH32.DLL: the ISH library's exported functions. Ish takes the owner
// window and the command line only.
#include <windows.h>

#include "libs/base/arc_dll_win.h"
#include "libs/ish/ish_command.h"

using namespace kestrum;

namespace {
std::atomic<int> gRunning{0};
}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI Ish(HWND, LPCSTR szCmdLine) {
    return arc::RunCommand(gRunning, ish::RunIsh, szCmdLine, nullptr, 0);
}

__declspec(dllexport) BOOL WINAPI IshGetRunning(void) { return gRunning.load() > 0; }

}  // extern "C"
