// ISH32.DLL: the ISH library's exported functions over the ish core. Ish
// takes the owner window and the command line only (no output buffer).
#include <windows.h>

#include "libs/base/arc_dll_win.h"
#include "libs/base/arc_names_win.h"
#include "libs/ish/ish_command.h"

using namespace kestrum;

namespace {
std::atomic<int> gRunning{0};
}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI Ish(HWND, LPCSTR szCmdLine) {
    auto core = [](arc::ArcFs& fs, std::string_view line, std::string& text) {
        return ish::RunIsh(fs, line, text, arc::PlatformUtf8ToSjis);
    };
    return arc::RunCommand(gRunning, core, szCmdLine, nullptr, 0);
}

__declspec(dllexport) BOOL WINAPI IshGetRunning(void) { return gRunning.load() > 0; }

}  // extern "C"
