// TAR32.DLL: the tar library's exported functions over the tar core.
#include <windows.h>

#include "libs/base/arc_dll_win.h"
#include "libs/tar/tar_command.h"

using namespace kestrum;

namespace {
std::atomic<int> gRunning{0};
arc::ListingExports gListings(gRunning);

// Function numbers of the archiver-library interface that we export.
enum : int {
    kFnMain = 0,
    kFnGetRunning = 8,
    kFnQueryFunctionList = 19,
    kFnOpenArchive = 23,
    kFnCloseArchive = 24,
    kFnFindFirst = 25,
    kFnFindNext = 26,
};
}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI Tar(HWND, LPCSTR szCmdLine, LPSTR szOutput, DWORD dwSize) {
    return arc::RunCommand(gRunning, tar::RunTar, szCmdLine, szOutput, dwSize);
}

__declspec(dllexport) BOOL WINAPI TarGetRunning(void) { return gRunning.load() > 0; }

__declspec(dllexport) BOOL WINAPI TarQueryFunctionList(int iFunction) {
    switch (iFunction) {
        case kFnMain: case kFnGetRunning: case kFnQueryFunctionList: case kFnOpenArchive:
        case kFnCloseArchive: case kFnFindFirst: case kFnFindNext:
            return TRUE;
        default:
            return FALSE;
    }
}

// The open mode bits are accepted and ignored.
__declspec(dllexport) HANDLE WINAPI TarOpenArchive(HWND, LPCSTR szFileName, DWORD) {
    return gListings.Open(tar::ListTar, szFileName);
}

__declspec(dllexport) int WINAPI TarCloseArchive(HANDLE harc) { return gListings.Close(harc); }

__declspec(dllexport) int WINAPI TarFindFirst(HANDLE harc, LPCSTR szWildName, arc::IndividualInfo* info) {
    return gListings.FindFirst(harc, szWildName, info);
}

__declspec(dllexport) int WINAPI TarFindNext(HANDLE harc, arc::IndividualInfo* info) {
    return gListings.FindNext(harc, info);
}

}  // extern "C"
