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

__declspec(dllexport) BOOL WINAPI TarQueryFunctionList(int iFunction) {
    switch (iFunction) {
        case kFnMain: case kFnGetRunning: case kFnQueryFunctionList: case kFnOpenArchive:
        case kFnCloseArchive: case kFnFindFirst: case kFnFindNext:
            return TRUE;
        default:
            return FALSE;
    }
}

KESTRUM_LISTING_EXPORTS(Tar, gRunning, gListings, tar::ListTar)

}  // extern "C"
