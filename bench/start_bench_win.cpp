// Start-up benchmark: starts programs in turn, waits until each has shown
// its window and gone idle, closes that window and waits for the exit.
// Every round runs each program once, in the order given; it prints the
// rounds, each program's median and the medians' ratios to the first.
//   start_bench ROUNDS EXE CLASS [EXE CLASS ...]
// EXE is started with its own folder as the current one; CLASS is the class
// of the window that must be visible before the program counts as started
// and that receives WM_CLOSE.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string exe, cls;
    std::vector<double> shown, total;  // seconds
};

struct Find {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindProc(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == f->pid && IsWindowVisible(w) && lstrcmpA(cls, f->cls) == 0) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER freq) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// One start, show and close; false (with a message) when something failed.
bool RunOnce(Program& p, LARGE_INTEGER freq) {
    std::string dir = p.exe.substr(0, p.exe.find_last_of('\\') + 1);
    std::string cmd = "\"" + p.exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // The previous program's exit settles first (Wine's desktop process
    // still handles its windows and tray icon for a moment).
    Sleep(300);
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(p.exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
        std::printf("cannot start %s (error %lu)\n", p.exe.c_str(), GetLastError());
        return false;
    }
    Find f{pi.dwProcessId, p.cls.c_str(), nullptr};
    WaitForInputIdle(pi.hProcess, 30000);
    for (int i = 0; i < 30000 && !f.found; ++i) {
        EnumWindows(FindProc, reinterpret_cast<LPARAM>(&f));
        if (!f.found) {
            if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
        }
    }
    bool ok = f.found != nullptr;
    if (ok) {
        WaitForInputIdle(pi.hProcess, 30000);
        QueryPerformanceCounter(&t1);
        PostMessageA(f.found, WM_CLOSE, 0, 0);
    } else {
        std::printf("%s showed no window of class %s\n", p.exe.c_str(), p.cls.c_str());
        TerminateProcess(pi.hProcess, 1);
    }
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
        std::printf("%s did not end\n", p.exe.c_str());
        TerminateProcess(pi.hProcess, 1);
        ok = false;
    }
    QueryPerformanceCounter(&t2);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (ok) {
        p.shown.push_back(Seconds(t0, t1, freq));
        p.total.push_back(Seconds(t0, t2, freq));
    }
    return ok;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The file name with its folder's, e.g. built\Kestrum.exe.
std::string Name(const std::string& exe) {
    const std::size_t last = exe.find_last_of('\\');
    if (last == std::string::npos || last == 0) return exe;
    const std::size_t before = exe.find_last_of('\\', last - 1);
    return exe.substr(before == std::string::npos ? 0 : before + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::printf("usage: start_bench ROUNDS EXE CLASS [EXE CLASS ...]\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}, {}});
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    // One unmeasured start of each warms the file cache.
    for (Program& p : programs) {
        if (!RunOnce(p, freq)) return 1;
        p.shown.clear();
        p.total.clear();
    }
    for (int r = 0; r < rounds; ++r) {
        std::printf("round %2d:", r + 1);
        for (Program& p : programs) {
            if (!RunOnce(p, freq)) return 1;
            std::printf("  %s %.3f s (shown %.3f s)", Name(p.exe).c_str(), p.total.back(), p.shown.back());
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    const double baseShown = Median(programs[0].shown), baseTotal = Median(programs[0].total);
    std::printf("\nmedian of %d rounds     start..shown   start..closed   ratio (closed)   ratio (shown)\n", rounds);
    for (const Program& p : programs) {
        const double s = Median(p.shown), t = Median(p.total);
        std::printf("%-24s %9.3f s %13.3f s %14.2f %15.2f\n", Name(p.exe).c_str(), s, t, t / baseTotal,
                    s / baseShown);
    }
    return 0;
}
