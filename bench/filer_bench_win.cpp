// Listing benchmark: a directory of many empty files, listed by a bare
// FindFirstFileA/FindNextFileA loop and by the filer (Relist plus drawing
// the first page), alternately in one run. Prints both times and their
// ratio, and the working set the listing costs per entry above the filer
// showing an empty directory. Usage: filer_bench [FILES] [DIR] [ROUNDS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/frm_fm_win.h"
#include "tests/fakes/scripted_prompter.h"

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

struct Memory {
    double current = 0;  // working set now, bytes
    double peak = 0;     // peak working set so far, bytes
};

Memory MemoryNow() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return Memory{static_cast<double>(pmc.WorkingSetSize), static_cast<double>(pmc.PeakWorkingSetSize)};
}

double Mb(double bytes) { return bytes / (1024.0 * 1024.0); }

void Relisted(kestrum::TfrmFM& filer) {
    filer.Relist(0);
    RedrawWindow(filer.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrum;
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = argc > 2 ? std::string(argv[2]) : std::string(temp) + "kestrum-filer-bench";
    const std::string emptyDir = dir + "-empty";
    std::printf("directory %s, %ld files\n", dir.c_str(), count);
    LARGE_INTEGER t0 = Now();
    if (!MakeFiles(dir, count)) {
        std::printf("could not create the files\n");
        return 1;
    }
    CreateDirectoryA(emptyDir.c_str(), nullptr);
    std::printf("created in %.2f s\n", Seconds(t0, Now()));

    ScriptedPrompter prompter;  // missing key and colour files are answered
    const Subscription scope = InstallPrompter(prompter);
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

    // The baseline: the filer up and showing an empty directory.
    ChangeDirectory(emptyDir);
    filer.ShowFiler();
    Relisted(filer);
    const Memory baseline = MemoryNow();

    // What the platform's own search costs: one bare loop.
    long seen = CountEntries(dir);
    const Memory afterBare = MemoryNow();

    // The filer's first listing of the big directory.
    ChangeDirectory(dir);
    Relisted(filer);
    const Memory afterFiler = MemoryNow();

    // Alternating rounds; the ratio of each round compares two runs made
    // moments apart, so the median of those ratios shrugs off a busy machine.
    const int rounds = argc > 3 ? std::max(std::atoi(argv[3]), 1) : 9;
    double bare = 0;
    double listed = 0;
    double bestBare = 1e9;
    double bestListed = 1e9;
    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER a = Now();
        seen = CountEntries(dir);
        LARGE_INTEGER b = Now();
        Relisted(filer);
        LARGE_INTEGER c = Now();
        bare += Seconds(a, b);
        listed += Seconds(b, c);
        bestBare = std::min(bestBare, Seconds(a, b));
        bestListed = std::min(bestListed, Seconds(b, c));
        if (Seconds(a, b) > 0) ratios.push_back(Seconds(b, c) / Seconds(a, b));
    }
    bare /= rounds;
    listed /= rounds;
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
    const Memory end = MemoryNow();

    // With always-sort on, by name.
    TheSession().settings.autoSort = true;
    TheSession().settings.sort = 0;
    double sortedBare = 0;
    double sortedListed = 0;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER a = Now();
        CountEntries(dir);
        LARGE_INTEGER b = Now();
        Relisted(filer);
        LARGE_INTEGER c = Now();
        sortedBare += Seconds(a, b);
        sortedListed += Seconds(b, c);
    }
    TheSession().settings.autoSort = false;
    const Memory sorted = MemoryNow();
    const double n = static_cast<double>(std::max<std::size_t>(filer.Model().Count(), 1));

    std::printf("entries found by the bare loop: %ld, listed by the filer: %lu\n", seen,
                static_cast<unsigned long>(filer.Model().Count()));
    std::printf("bare FindFirstFileA/FindNextFileA loop: %.3f s mean, %.3f s best (%d rounds)\n", bare, bestBare, rounds);
    std::printf("filer Relist + first page drawn:       %.3f s mean, %.3f s best (%d rounds)\n", listed, bestListed,
                rounds);
    std::printf("ratio: %.2f median of the rounds (target <= 1.1); %.2f of the means, %.2f of the bests\n", median,
                bare > 0 ? listed / bare : 0.0, bestBare > 0 ? bestListed / bestBare : 0.0);
    std::printf("with always-sort by name: %.3f s against %.3f s, ratio %.2f\n", sortedListed / rounds,
                sortedBare / rounds, sortedBare > 0 ? sortedListed / sortedBare : 0.0);
    std::printf("baseline (empty directory listed): %.1f MB working set, %.1f MB peak\n", Mb(baseline.current),
                Mb(baseline.peak));
    std::printf("peak after one bare loop:          %.1f MB (%.0f bytes per entry above the baseline)\n",
                Mb(afterBare.peak), (afterBare.peak - baseline.current) / n);
    std::printf("peak after the first filer listing: %.1f MB\n", Mb(afterFiler.peak));
    std::printf("working set holding the listing:   %.1f MB (%.0f bytes per entry above the baseline)\n",
                Mb(end.current), (end.current - baseline.current) / n);
    std::printf("peak working set of the run:       %.1f MB (%.0f bytes per entry above the baseline; target <= 150)\n",
                Mb(end.peak), (end.peak - baseline.current) / n);
    std::printf("peak working set with sorting:      %.1f MB (%.0f bytes per entry above the baseline)\n",
                Mb(sorted.peak), (sorted.peak - baseline.current) / n);
    return 0;
}
