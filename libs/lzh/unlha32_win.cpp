// UNLHA32.DLL: the LHA library's exported functions over the LHA core.
#include <windows.h>

#include "libs/base/arc_dll_win.h"
#include "libs/base/arc_handles.h"
#include "libs/base/arc_path.h"
#include "libs/lzh/unlha_command.h"

using namespace kestrum;

namespace {
std::atomic<int> gRunning{0};
std::atomic<bool> gBackground{false};
arc::ListingTable gListings;
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

__declspec(dllexport) HANDLE WINAPI UnlhaOpenArchive(HWND, LPCSTR szFileName, DWORD) {
    if (!szFileName) return nullptr;
    arc::BusyMark busy(gRunning);
    try {
        arc::UseLocalTime();
        arc::WinFs fs;
        arc::Listing l;
        l.archive = arc::Unquoted(szFileName);  // a name with blanks may come quoted
        if (!lzh::ListLzh(fs, l.archive, l.entries)) return nullptr;
        return gListings.Add(std::move(l));
    } catch (...) {
        return nullptr;
    }
}

__declspec(dllexport) int WINAPI UnlhaCloseArchive(HANDLE harc) {
    return gListings.Remove(harc) ? 0 : arc::kErrHarcIsNotOpened;
}

__declspec(dllexport) int WINAPI UnlhaFindFirst(HANDLE harc, LPCSTR szWildName, arc::IndividualInfo* info) {
    return arc::ListingFindFirst(gListings.Find(harc), szWildName, info);
}

__declspec(dllexport) int WINAPI UnlhaFindNext(HANDLE harc, arc::IndividualInfo* info) {
    return arc::ListingFindNext(gListings.Find(harc), info);
}

}  // extern "C"
