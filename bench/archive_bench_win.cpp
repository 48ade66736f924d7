// Times our archiver libraries the way the program calls them: UNLHA32.DLL
// and TAR32.DLL loaded by name, one command line each.
//   archive_bench.exe SRC_DIR WORK_DIR
// Packs every entry of SRC_DIR with "a -d1 -a1" and "czf", unpacks with
// "e -x1 -a1 -m1" and "xzf", and prints the seconds of each step.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/handles_win.h"

namespace {

using CommandFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

int Time(CommandFn fn, const std::string& line, const char* label) {
    double t0 = Now();
    int r = fn(nullptr, line.c_str(), nullptr, 0);
    std::printf("%-12s %8.2f s  (result %d)\n", label, Now() - t0, r);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: archive_bench SRC_DIR WORK_DIR\n");
        return 2;
    }
    std::string src = argv[1], work = argv[2];
    const kestrum::Module lha("UNLHA32.DLL");
    const kestrum::Module tar("TAR32.DLL");
    if (!lha.Loaded() || !tar.Loaded()) {
        std::fprintf(stderr, "UNLHA32.DLL or TAR32.DLL not found beside the program\n");
        return 1;
    }
    const auto unlha = lha.Find<CommandFn>("Unlha");
    const auto tarFn = tar.Find<CommandFn>("Tar");
    if (!unlha || !tarFn) {
        std::fprintf(stderr, "%s lacks its entry %s\n", (unlha ? tar : lha).Name().c_str(),
                     (unlha ? tarFn : unlha).name.c_str());
        return 1;
    }
    CreateDirectoryA(work.c_str(), nullptr);
    int bad = 0;
    bad |= Time(unlha.fn, "a -d1 -a1 " + work + "\\ours.lzh " + src + "\\ *", "lzh pack");
    bad |= Time(unlha.fn, "e -x1 -a1 -m1 " + work + "\\ours.lzh " + work + "\\lzh-out\\", "lzh unpack");
    bad |= Time(tarFn.fn, "czf " + work + "\\ours.tgz -o " + src + "\\ .", "tgz pack");
    bad |= Time(tarFn.fn, "xzf " + work + "\\ours.tgz -o " + work + "\\tgz-out\\", "tgz unpack");
    return bad ? 1 : 0;
}
