// The platform's shell file operation (copy, move, delete with its own
// progress display) behind an interface, so that tests can record the
// requests and fake failures.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/signal.h"

namespace kestrum {

// One call of the platform's file operation.
struct ShellFileRequest {
    HWND owner = nullptr;
    UINT func = FO_COPY;      // FO_COPY, FO_MOVE, FO_DELETE or FO_RENAME
    std::string from;         // paths, each followed by a NUL, the whole ended by one more NUL
    std::string to;           // the same form; empty when the operation has no destination
    FILEOP_FLAGS flags = 0;
    std::string title;        // progress title (used by the platform with FOF_SIMPLEPROGRESS)
};

struct ShellFileResult {
    int code = 0;          // the platform's result: 0 success
    bool aborted = false;  // the user aborted in the platform's progress or question
};

// Contract: runs the request to the end (modally, pumping messages as the
// platform does) and reports its result; files the platform transferred
// before a failure or an abort stay where it put them.
class ShellFileOp {
public:
    virtual ~ShellFileOp() = default;
    virtual ShellFileResult Run(const ShellFileRequest& request) = 0;
};

// The one in force: the one installed last and still installed, else the
// platform's.
ShellFileOp& CurrentShellFileOp();
// Installs op until the subscription goes.
[[nodiscard]] Subscription InstallShellFileOp(ShellFileOp& op);

// The platform's file operation itself (SHFileOperationA).
ShellFileOp& PlatformShellFileOp();

// Makes a NUL-separated list (with or without its final NUL) into the form
// the platform wants: every entry followed by a NUL and one more NUL at the
// end. Empty entries are left out (one would end the list early).
std::string TerminateNulList(std::string list);

}  // namespace kestrum
