// TDiskCopy: the platform's disk-copy dialog from its library.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace kestrum {

class TDiskCopy {
public:
    // owner: the window the dialog belongs to; library: the DLL to use.
    explicit TDiskCopy(HWND owner, std::string library = "DISKCOPY.DLL")
        : owner_(owner), library_(std::move(library)) {}
    // Runs the library's "DiskCopyRunDll" entry for drive (0 = A:). A
    // missing library, a missing entry or an owner that is no window is
    // reported and nothing runs.
    void Execute(int drive);

private:
    HWND owner_;
    std::string library_;
};

}  // namespace kestrum
