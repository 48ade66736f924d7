// UNLHA32.DLL: the LHA library's exported functions over the LHA core.
#include <windows.h>

#include "libs/base/arc_dll_win.h"
#include "libs/lzh/unlha_command.h"

using namespace kestrum;

namespace {
std::atomic<int> gRunning{0};
std::atomic<bool> gBackground{false};
arc::ListingExports gListings(gRunning);
}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI Unlha(HWND, LPCSTR szCmdLine, LPSTR szOutput, DWORD dwSize) {
    return arc::RunCommand(gRunning, lzh::RunUnlha, szCmdLine, szOutput, dwSize);
}

__declspec(dllexport) BOOL WINAPI UnlhaSetBackGroundMode(BOOL mode) {
    gBackground = mode != FALSE;
    return TRUE;
}

KESTRUM_LISTING_EXPORTS(Unlha, gRunning, gListings, lzh::ListLzh)

}  // extern "C"
