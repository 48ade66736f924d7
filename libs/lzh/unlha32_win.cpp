// UNLHA32.DLL: the LHA library's exported functions over the LHA core.
#include <windows.h>

#include <atomic>
#include <new>

#include "libs/base/arc_fs_win.h"
#include "libs/base/arc_handles.h"
#include "libs/base/arc_result.h"
#include "libs/lzh/unlha_command.h"

using namespace kestrum;

namespace {

std::atomic<int> gRunning{0};
std::atomic<bool> gBackground{false};
arc::ListingTable gListings;

// Marks the library busy for the length of a call; a second caller while
// it is busy is turned away.
class Busy {
public:
    Busy() : mine_(gRunning.fetch_add(1) == 0) {}
    ~Busy() { gRunning.fetch_sub(1); }
    bool Mine() const { return mine_; }

private:
    bool mine_;
};

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI Unlha(HWND, LPCSTR szCmdLine, LPSTR szOutput, DWORD dwSize) {
    Busy busy;
    if (!busy.Mine()) return arc::kErrAlreadyRunning;
    try {
        arc::UseLocalTime();
        arc::WinFs fs;
        std::string text;
        int r = lzh::RunUnlha(fs, szCmdLine ? szCmdLine : "", text);
        arc::CopyToOutput(text, szOutput, dwSize);
        return r;
    } catch (const std::bad_alloc&) {
        arc::CopyToOutput("メモリーが足りません\r\n", szOutput, dwSize);
        return arc::kErrEnoughMemory;
    } catch (...) {
        return arc::kErrEnoughMemory;
    }
}

__declspec(dllexport) BOOL WINAPI UnlhaGetRunning(void) { return gRunning.load() > 0; }

__declspec(dllexport) BOOL WINAPI UnlhaSetBackGroundMode(BOOL mode) {
    gBackground = mode != FALSE;
    return TRUE;
}

__declspec(dllexport) HANDLE WINAPI UnlhaOpenArchive(HWND, LPCSTR szFileName, DWORD) {
    if (!szFileName) return nullptr;
    Busy busy;
    try {
        arc::UseLocalTime();
        arc::WinFs fs;
        arc::Listing l;
        l.archive = szFileName;
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
