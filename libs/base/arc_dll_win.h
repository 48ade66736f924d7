// What the command-line libraries' exported functions share: the busy
// mark (a second caller while a call runs is turned away), the guard
// that turns a failure inside the core into a result code, and the
// listing entry points (OpenArchive, CloseArchive, FindFirst, FindNext).
#pragma once

#include <atomic>
#include <new>
#include <string>

#include "libs/base/arc_handles.h"
#include "libs/base/arc_names_win.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_platform_fs.h"
#include "libs/base/arc_result.h"

namespace kestrum::arc {

// Installs the platform's local-time conversion for DOS time stamps.
void UseLocalTime();

// Copies text into a caller's output buffer of `size` bytes: cut on a
// character boundary, always terminated; nothing when the buffer is null
// or the size 0.
void CopyToOutput(const std::string& text, char* out, unsigned long size);

class BusyMark {
public:
    explicit BusyMark(std::atomic<int>& running) : running_(running), mine_(running.fetch_add(1) == 0) {}
    ~BusyMark() { running_.fetch_sub(1); }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;
    bool Mine() const { return mine_; }

private:
    std::atomic<int>& running_;
    bool mine_;
};

// Runs a command-line core: (fs, line, text) -> result; the text goes to
// the caller's buffer.
template <typename Core>
int RunCommand(std::atomic<int>& running, Core core, const char* line, char* output, unsigned long size) {
    BusyMark busy(running);
    if (!busy.Mine()) {
        CopyToOutput("他の処理を実行中です\r\n", output, size);
        return kErrAlreadyRunning;
    }
    try {
        UseLocalTime();
        UsePlatformNames();
        PlatformFs fs;
        std::string text;
        int r = core(fs, line ? line : "", text);
        CopyToOutput(text, output, size);
        return r;
    } catch (const std::bad_alloc&) {
        CopyToOutput("メモリーが足りません\r\n", output, size);
        return kErrEnoughMemory;
    } catch (...) {
        CopyToOutput("内部エラーです\r\n", output, size);
        return kErrEnoughMemory;
    }
}

// One library's listings: the exported OpenArchive, CloseArchive, FindFirst
// and FindNext each forward to one of these. Open lists the archive with
// `list(fs, name, entries)` and answers a handle, or null when the name is
// missing, the archive cannot be read or anything fails; the others answer
// the interface's result codes, refusing a handle Open did not make.
class ListingExports {
public:
    explicit ListingExports(std::atomic<int>& running) : running_(running) {}
    ListingExports(const ListingExports&) = delete;
    ListingExports& operator=(const ListingExports&) = delete;

    template <typename List>
    void* Open(List list, const char* name) {
        if (!name) return nullptr;
        BusyMark busy(running_);
        try {
            UseLocalTime();
            UsePlatformNames();
            PlatformFs fs;
            Listing l;
            l.archive = Unquoted(name);  // a name with blanks may come quoted
            if (!list(fs, l.archive, l.entries)) return nullptr;
            return table_.Add(std::move(l));
        } catch (...) {
            return nullptr;
        }
    }
    int Close(void* handle) { return table_.Remove(handle) ? 0 : kErrHarcIsNotOpened; }
    int FindFirst(void* handle, const char* pattern, IndividualInfo* info) {
        return ListingFindFirst(table_.Find(handle), pattern, info);
    }
    int FindNext(void* handle, IndividualInfo* info) { return ListingFindNext(table_.Find(handle), info); }

private:
    std::atomic<int>& running_;
    ListingTable table_;
};

}  // namespace kestrum::arc

// Defines the exports every command-line library has alike: <Prefix>GetRunning
// over the library's busy count `running`, and the listing entry points
// <Prefix>OpenArchive (the open mode bits accepted and ignored),
// <Prefix>CloseArchive, <Prefix>FindFirst and <Prefix>FindNext over its
// ListingExports `listings`, archives listed by `list`. Written once inside
// the library's extern "C" block, after <windows.h>; the build keeps the
// names undecorated.
#define KESTRUM_LISTING_EXPORTS(Prefix, running, listings, list)                                                \
    __declspec(dllexport) BOOL WINAPI Prefix##GetRunning(void) { return running.load() > 0; }                   \
    __declspec(dllexport) HANDLE WINAPI Prefix##OpenArchive(HWND, LPCSTR szFileName, DWORD) {                    \
        return listings.Open(list, szFileName);                                                                   \
    }                                                                                                             \
    __declspec(dllexport) int WINAPI Prefix##CloseArchive(HANDLE harc) { return listings.Close(harc); }         \
    __declspec(dllexport) int WINAPI Prefix##FindFirst(HANDLE harc, LPCSTR szWildName,                           \
                                                       kestrum::arc::IndividualInfo* info) {                     \
        return listings.FindFirst(harc, szWildName, info);                                                        \
    }                                                                                                             \
    __declspec(dllexport) int WINAPI Prefix##FindNext(HANDLE harc, kestrum::arc::IndividualInfo* info) {         \
        return listings.FindNext(harc, info);                                                                     \
    }
