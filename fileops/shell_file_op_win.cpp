// The platform's shell file operation and the selection of the one in force.
#include "fileops/shell_file_op_win.h"

#include "common/installed.h"

namespace kestrum {

namespace {

class PlatformOp : public ShellFileOp {
public:
    ShellFileResult Run(const ShellFileRequest& r) override {
        // The structure wants writable-looking pointers; the strings outlive the call.
        SHFILEOPSTRUCTA op{};
        op.hwnd = r.owner;
        op.wFunc = r.func;
        op.pFrom = r.from.c_str();
        op.pTo = r.to.empty() ? nullptr : r.to.c_str();
        op.fFlags = r.flags;
        op.lpszProgressTitle = r.title.c_str();
        ShellFileResult result;
        result.code = SHFileOperationA(&op);
        result.aborted = op.fAnyOperationsAborted != FALSE;
        return result;
    }
};

}  // namespace

ShellFileOp& PlatformShellFileOp() {
    static PlatformOp op;
    return op;
}

ShellFileOp& CurrentShellFileOp() { return InstalledOr<ShellFileOp>(PlatformShellFileOp()); }

Subscription InstallShellFileOp(ShellFileOp& op) { return Install<ShellFileOp>(op); }

std::string TerminateNulList(std::string list) {
    // An empty entry would end the list early: leave those out.
    std::string out;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) {
            out.append(list, start, end - start);
            out += '\0';
        }
        start = end + 1;
    }
    if (out.empty()) out += '\0';
    out += '\0';
    return out;
}

}  // namespace kestrum
