// Copy benchmark: a tree of small files in many directories, copied by the
// copy engine (its walk plus batches of 300 for the platform) and by one
// call of the platform's file operation on the same tree. Prints both
// times and their ratio (engine / platform).
// Usage: copy_bench [DIRS] [FILES_PER_DIR] [ROUNDS]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "fileops/file_copy_win.h"
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

bool MakeTree(const std::string& root, int dirs, int files) {
    CreateDirectoryA(root.c_str(), nullptr);
    const std::string content(100, 'x');
    for (int d = 0; d < dirs; ++d) {
        char dir[64];
        std::snprintf(dir, sizeof dir, "\\d%03d", d);
        const std::string path = root + dir;
        CreateDirectoryA(path.c_str(), nullptr);
        for (int f = 0; f < files; ++f) {
            char name[32];
            std::snprintf(name, sizeof name, "\\f%04d.txt", f);
            kestrum::FileHandle h(CreateFileA((path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            if (!h) return false;
            DWORD written = 0;
            WriteFile(h.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        }
    }
    return true;
}

void RemoveTree(const std::string& path) {
    const std::string from = path + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
}

// The engine: the whole tree as one name, into an existing directory.
double EngineCopy(const std::string& root, const std::string& out) {
    CreateDirectoryA(out.c_str(), nullptr);
    kestrum::TFileCopy engine;
    const LARGE_INTEGER t0 = Now();
    engine.CopyX({"tree"}, root, kestrum::cmOverwrite, out);
    const LARGE_INTEGER t1 = Now();
    if (engine.Result() != 0) std::printf("engine copy failed: %d\n", engine.Result());
    return Seconds(t0, t1);
}

// The platform alone: one call for the whole tree, with the same
// confirmations switched off.
double PlatformCopy(const std::string& root, const std::string& out) {
    CreateDirectoryA(out.c_str(), nullptr);
    const std::string from = root + "\\tree" + std::string(2, '\0');
    const std::string to = out + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
    const LARGE_INTEGER t0 = Now();
    const int rc = SHFileOperationA(&op);
    const LARGE_INTEGER t1 = Now();
    if (rc != 0) std::printf("platform copy failed: %d\n", rc);
    return Seconds(t0, t1);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrum;
    const int dirs = argc > 1 ? std::atoi(argv[1]) : 100;
    const int files = argc > 2 ? std::atoi(argv[2]) : 100;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 2;
    ScriptedPrompter quiet;  // nothing may wait for an answer
    const Subscription scoped = InstallPrompter(quiet);

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "kestrum-copy-bench";
    RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    if (!MakeTree(root + "\\tree", dirs, files)) {
        std::printf("cannot make the tree under %s\n", root.c_str());
        return 1;
    }
    std::printf("tree: %d directories x %d files of 100 bytes\n", dirs, files);

    double engineBest = 0;
    double platformBest = 0;
    for (int r = 0; r < rounds; ++r) {
        // Alternating order, so that neither side always runs on a warm cache.
        double e = 0;
        double p = 0;
        if (r % 2 == 0) {
            e = EngineCopy(root, root + "\\outA");
            p = PlatformCopy(root, root + "\\outB");
        } else {
            p = PlatformCopy(root, root + "\\outB");
            e = EngineCopy(root, root + "\\outA");
        }
        std::printf("round %d: engine %.3f s, one platform call %.3f s\n", r + 1, e, p);
        engineBest = r == 0 || e < engineBest ? e : engineBest;
        platformBest = r == 0 || p < platformBest ? p : platformBest;
        RemoveTree(root + "\\outA");
        RemoveTree(root + "\\outB");
    }
    std::printf("best: engine %.3f s, one platform call %.3f s, ratio %.2f (target <= 1.2)\n", engineBest,
                platformBest, platformBest > 0 ? engineBest / platformBest : 0.0);
    if (!quiet.Questions().empty()) std::printf("message: %s\n", quiet.Questions()[0].text.c_str());
    RemoveTree(root);
    return 0;
}
