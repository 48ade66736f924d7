// Listing benchmark: a directory of many empty files, listed by a bare
// FindFirstFileA/FindNextFileA loop and by the filer (Relist plus drawing
// the first page), in one run. Prints both times, their ratio and the peak
// working set. Usage: filer_bench [FILES] [DIR]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/frm_fm_win.h"

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

long CountEntries(const std::string& dir) {
    long n = 0;
    WIN32_FIND_DATAA fd{};
    kestrum::FindHandle find(FindFirstFileA((dir + "\\*.*").c_str(), &fd));
    if (!find) return 0;
    do {
        ++n;
    } while (FindNextFileA(find.Get(), &fd));
    return n;
}

// Creates f000000.txt ... in dir; a directory left by an earlier run with
// all its files is used as it is.
bool MakeFiles(const std::string& dir, long count) {
    CreateDirectoryA(dir.c_str(), nullptr);
    if (CountEntries(dir) >= count + 2) return true;
    for (long i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\f%06ld.txt", i);
        kestrum::FileHandle h(CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        if (!h && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrum;
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = argc > 2 ? std::string(argv[2]) : std::string(temp) + "kestrum-filer-bench";
    std::printf("directory %s, %ld files\n", dir.c_str(), count);
    LARGE_INTEGER t0 = Now();
    if (!MakeFiles(dir, count)) {
        std::printf("could not create the files\n");
        return 1;
    }
    std::printf("created in %.2f s\n", Seconds(t0, Now()));

    // Warm the directory once so both loops see the same cache.
    long seen = 0;
    auto bareLoop = [&] { seen = CountEntries(dir); };
    bareLoop();

    ScriptedPrompter prompter;  // missing key and colour files are answered
    ScopedPrompter scope(prompter);
    TheSession().settingsPath = dir + "\\..\\kestrum-filer-bench.cfg";
    {
        FileHandle cfg(CreateFileA(TheSession().settingsPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const char text[] = "[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n";
        DWORD written = 0;
        WriteFile(cfg.Get(), text, sizeof text - 1, &written, nullptr);
    }
    TfrmFM filer;
    if (!filer.Create(nullptr)) {
        std::printf("could not create the filer window\n");
        return 1;
    }
    ChangeDirectory(dir);
    filer.ShowFiler();

    const int rounds = 5;
    double bare = 0;
    double listed = 0;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER a = Now();
        bareLoop();
        LARGE_INTEGER b = Now();
        filer.Relist(0);
        RedrawWindow(filer.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        LARGE_INTEGER c = Now();
        bare += Seconds(a, b);
        listed += Seconds(b, c);
    }
    bare /= rounds;
    listed /= rounds;
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    std::printf("entries found by the bare loop: %ld, listed by the filer: %lu\n", seen,
                static_cast<unsigned long>(filer.Model().Count()));
    std::printf("bare FindFirstFileA/FindNextFileA loop: %.3f s (mean of %d)\n", bare, rounds);
    std::printf("filer Relist + first page drawn:       %.3f s (mean of %d)\n", listed, rounds);
    std::printf("ratio: %.2f (target <= 1.3)\n", bare > 0 ? listed / bare : 0.0);
    std::printf("peak working set: %.1f MB (target < 64 MB)\n",
                static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0));
    return 0;
}
