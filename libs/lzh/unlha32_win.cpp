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

__declspec(dllexport) BOOL WINAPI UnlhaGetRunning(void) { return gRunning.load() > 0; }

__declspec(dllexport) BOOL WINAPI UnlhaSetBackGroundMode(BOOL mode) {
    gBackground = mode != FALSE;
    return TRUE;
}

// The open mode bits are accepted and ignored.
__declspec(dllexport) HANDLE WINAPI UnlhaOpenArchive(HWND, LPCSTR szFileName, DWORD) {
    return gListings.Open(lzh::ListLzh, szFileName);
}

__declspec(dllexport) int WINAPI UnlhaCloseArchive(HANDLE harc) { return gListings.Close(harc); }

__declspec(dllexport) int WINAPI UnlhaFindFirst(HANDLE harc, LPCSTR szWildName, arc::IndividualInfo* info) {
    return gListings.FindFirst(harc, szWildName, info);
}

__declspec(dllexport) int WINAPI UnlhaFindNext(HANDLE harc, arc::IndividualInfo* info) {
    return gListings.FindNext(harc, info);
}

}  // extern "C"
