// Sorting benchmark: synthetic listings sorted by each key, and a real
// directory listed through the filer's model and then sorted by name, so
// that the two times can be compared. Usage: sort_bench [ENTRIES] [DIR]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "filer/file_list.h"
#include "filer/sort.h"

namespace {

using namespace kestrum;

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

LocalDate ToLocal(std::uint64_t value, int* minute) {
    FILETIME utc{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    if (minute) *minute = st.wMinute;
    return LocalDate{st.wYear, st.wMonth, st.wDay, st.wHour};
}

DisplayOptions Details() {
    DisplayOptions o;
    o.mode = 1;
    o.columnChars = 39;
    o.localTime = ToLocal;
    return o;
}

// Random names (ASCII, some with kana or kanji), extensions, sizes up to
// 8 GiB, dates over about ten years; one entry in ten a directory.
std::vector<FileEntry> Synthetic(long count) {
    std::mt19937_64 rng(20261208);
    const char* exts[] = {"", ".txt", ".TXT", ".c", ".h", ".cpp", ".exe", ".dll", ".lzh", ".zip", ".doc", ".jpg"};
    const char* wide[] = {"\x83\x66\x81\x5B\x83\x5E", "\x95\x5C", "\x83\x74\x83\x40\x83\x43\x83\x8B"};
    const char alnum[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-";
    const DisplayOptions o = Details();
    std::vector<FileEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        FileEntry e;
        FindRecord& f = e.find;
        if (i == 0 || i == 1) {
            f.name = i == 0 ? "." : "..";
            f.attributes = kAttrDirectory;
        } else {
            const int len = 3 + static_cast<int>(rng() % 14);
            for (int k = 0; k < len; ++k) f.name += alnum[rng() % (sizeof alnum - 1)];
            if (rng() % 8 == 0) f.name.insert(rng() % f.name.size(), wide[rng() % 3]);
            const bool dir = rng() % 10 == 0;
            f.attributes = dir ? kAttrDirectory : 0;
            if (rng() % 50 == 0) f.attributes |= kAttrReadOnly;
            if (!dir) {
                f.name += exts[rng() % (sizeof exts / sizeof exts[0])];
                f.size = rng() % (8ULL << 30);
            }
        }
        f.lastWriteTime = 132000000000000000ULL + rng() % 3153600000000000ULL;
        e.text = ListText(f, o);
        entries.push_back(std::move(e));
    }
    std::shuffle(entries.begin(), entries.end(), rng);
    return entries;
}

long CountFiles(const std::string& dir) {
    long n = 0;
    WIN32_FIND_DATAA fd{};
    FindHandle find(FindFirstFileA((dir + "\\*.*").c_str(), &fd));
    if (!find) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(find.Get(), &fd));
    return n;
}

// Makes the files unless the directory already holds that many (a folder
// filled beforehand by faster means is used as it is).
bool MakeFiles(const std::string& dir, long count) {
    CreateDirectoryA(dir.c_str(), nullptr);
    if (CountFiles(dir) >= count) return true;
    std::mt19937 rng(7);
    for (long i = 0; i < count; ++i) {
        // Names that do not come back in sorted order from the search.
        char name[40];
        std::snprintf(name, sizeof name, "\\%08lx_%06ld.%s", static_cast<unsigned long>(rng()), i,
                      i % 3 == 0 ? "txt" : (i % 3 == 1 ? "c" : "dat"));
        const std::string path = dir + name;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        if (!h) return false;
    }
    return true;
}

// The filer's listing loop over its model, without the window.
void ListThroughModel(const std::string& dir, FileListModel& model) {
    static const std::vector<std::string> all = {"0*.*"};
    const DisplayOptions o = Details();
    model.Clear();
    WIN32_FIND_DATAA fd{};
    FindHandle find(FindFirstFileA((dir + "\\*.*").c_str(), &fd));
    if (!find) return;
    do {
        FindRecord r;
        ReadFindData(fd, r);
        model.Offer(r, {true, &all}, o);
    } while (FindNextFileA(find.Get(), &fd));
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = argc > 2 ? std::string(argv[2]) : std::string(temp) + "kestrum-sort-bench";
    const int rounds = 5;

    std::printf("synthetic listing of %ld entries, best of %d rounds\n", count, rounds);
    const std::vector<FileEntry> entries = Synthetic(count);
    const char* keyNames[] = {"name", "size", "date", "extension"};
    double byName = 0;
    for (int key = 0; key < 4; ++key) {
        for (bool reverse : {false, true}) {
            double best = 1e9;
            for (int r = 0; r < rounds; ++r) {
                std::vector<FileEntry> copy = entries;
                const LARGE_INTEGER a = Now();
                SortEntries(copy, SortSpec{key, reverse, true, true});
                best = std::min(best, Seconds(a, Now()));
            }
            if (key == kSortName && !reverse) byName = best;
            std::printf("  sort by %-9s%s %8.1f ms\n", keyNames[key], reverse ? " (reverse)" : "          ",
                        best * 1000.0);
        }
    }

    std::printf("directory %s, %ld files\n", dir.c_str(), count);
    const LARGE_INTEGER t0 = Now();
    if (!MakeFiles(dir, count)) {
        std::printf("could not create the files\n");
        return 1;
    }
    std::printf("  created (or found) in %.2f s\n", Seconds(t0, Now()));
    FileListModel model;
    ListThroughModel(dir, model);  // warms the directory
    double listing = 1e9;
    double sorting = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const LARGE_INTEGER a = Now();
        ListThroughModel(dir, model);
        const LARGE_INTEGER b = Now();
        SortFileList(model, SortSpec{kSortName, false, true, true});
        const LARGE_INTEGER c = Now();
        listing = std::min(listing, Seconds(a, b));
        sorting = std::min(sorting, Seconds(b, c));
    }
    std::printf("  listed through the model: %lu entries in %8.1f ms\n", static_cast<unsigned long>(model.Count()),
                listing * 1000.0);
    std::printf("  that listing sorted by name:          %8.1f ms\n", sorting * 1000.0);
    std::printf("  name sort / listing: %.3f (synthetic %.3f; target <= 0.100)\n",
                listing > 0 ? sorting / listing : 0.0, listing > 0 ? byName / listing : 0.0);
    return 0;
}
