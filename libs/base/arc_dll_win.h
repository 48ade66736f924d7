// What the command-line libraries' exported functions share: the busy
// mark (a second caller while a call runs is turned away) and the guard
// that turns a failure inside the core into a result code.
#pragma once

#include <atomic>
#include <new>
#include <string>

#include "libs/base/arc_fs_win.h"
#include "libs/base/arc_names_win.h"
#include "libs/base/arc_result.h"

namespace kestrum::arc {

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
        WinFs fs;
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

}  // namespace kestrum::arc
