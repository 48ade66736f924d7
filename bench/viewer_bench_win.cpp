// Text view benchmark: a generated Shift-JIS text (mixed single- and
// double-byte lines, some longer than 80 bytes) opened and wrapped at 80
// against a raw read plus a newline scan, and a search for a string near the
// end against a plain memchr/memcmp scan, in one run. Prints the best of
// several rounds, the ratios and the memory taken by the opened text.
// Usage: viewer_bench [MEGABYTES] [FILE]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/handles_win.h"
#include "viewers/big_view_win.h"
#include "viewers/text_search.h"

namespace {

using namespace kestrum;

const char kNeedle[] = "NEEDLE-xyzzy-0042";

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

struct Rng {
    unsigned long long s = 0x243F6A8885A308D3ull;
    unsigned Next() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(s >> 33);
    }
    unsigned Below(unsigned n) { return Next() % n; }
};

void AppendDoubleByte(std::string& out, Rng& r) {
    static const unsigned char leads[] = {0x82, 0x83, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E,
                                          0x8F, 0x90, 0x93, 0x95, 0x96, 0x97, 0xE0, 0xE3, 0xE8};
    unsigned char trail;
    do {
        trail = static_cast<unsigned char>(0x40 + r.Below(0xFD - 0x40));
    } while (trail == 0x7F);
    out += static_cast<char>(leads[r.Below(sizeof leads)]);
    out += static_cast<char>(trail);
}

void AppendLine(std::string& out, Rng& r) {
    static const char* const words[] = {"the", "quick", "brown", "fox", "data", "file", "Kestrum", "value",
                                        "=", "(x)", "12345", "\t", "C:\\dir\\name.txt", "ok;", "end."};
    const unsigned kind = r.Below(10);
    if (kind == 0) {  // empty
    } else if (kind <= 4) {  // short single-byte
        for (unsigned n = 1 + r.Below(8); n > 0; --n) {
            out += words[r.Below(sizeof words / sizeof *words)];
            out += ' ';
        }
    } else if (kind <= 7) {  // double-byte, up to 80 bytes
        for (unsigned n = 5 + r.Below(36); n > 0; --n) AppendDoubleByte(out, r);
    } else {  // mixed and longer than 80 bytes
        for (unsigned n = 60 + r.Below(120); n > 0; --n) {
            if (r.Below(3) == 0) {
                out += words[r.Below(sizeof words / sizeof *words)];
            } else {
                AppendDoubleByte(out, r);
            }
        }
    }
    out += "\r\n";
}

// Writes the text once; a file of the right size from an earlier run stays.
bool MakeText(const std::string& path, unsigned long long size) {
    WIN32_FILE_ATTRIBUTE_DATA fa{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fa) &&
        ((static_cast<unsigned long long>(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow) == size) {
        return true;
    }
    FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!f) return false;
    Rng r;
    std::string chunk;
    unsigned long long written = 0;
    bool needle = false;
    while (written < size) {
        chunk.clear();
        while (chunk.size() < (1u << 20)) {
            if (!needle && written + chunk.size() > size - size / 200) {
                chunk += "検索の目印: ";
                chunk += kNeedle;
                chunk += " ここまで\r\n";
                needle = true;
            }
            AppendLine(chunk, r);
        }
        if (written + chunk.size() > size) chunk.resize(static_cast<std::size_t>(size - written));
        DWORD done = 0;
        if (!WriteFile(f.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr)) return false;
        written += done;
    }
    return true;
}

// The yardstick: read the file into memory and count its lines.
std::size_t RawReadAndScan(const std::string& path) {
    FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    GetFileSizeEx(f.Get(), &size);
    std::unique_ptr<char[]> buf(new char[static_cast<std::size_t>(size.QuadPart)]);
    std::size_t got = 0;
    while (got < static_cast<std::size_t>(size.QuadPart)) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(static_cast<std::size_t>(size.QuadPart) - got, 1u << 24));
        if (!ReadFile(f.Get(), buf.get() + got, want, &read, nullptr) || read == 0) break;
        got += read;
    }
    std::size_t lines = 0;
    for (const char* p = buf.get(); (p = static_cast<const char*>(std::memchr(p, '\n', got - static_cast<std::size_t>(p - buf.get())))) != nullptr; ++p) {
        ++lines;
    }
    return lines;
}

const char* PlainSearch(const char* h, std::size_t n, const char* needle, std::size_t m) {
    if (n < m) return nullptr;
    const char* const last = h + (n - m);
    for (const char* s = h; s <= last; ++s) {
        s = static_cast<const char*>(std::memchr(s, needle[0], static_cast<std::size_t>(last - s) + 1));
        if (!s) return nullptr;
        if (std::memcmp(s, needle, m) == 0) return s;
    }
    return nullptr;
}

// Memory the process has committed (Wine leaves PrivateUsage at 0 but
// keeps the commit charge).
std::size_t CommittedBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

std::size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

constexpr double kMiB = 1024.0 * 1024.0;

}  // namespace

int main(int argc, char** argv) {
    const unsigned long long megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    std::string path;
    if (argc > 2) {
        path = argv[2];
    } else {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "kestrum-viewer-bench.txt";
    }
    const unsigned long long size = megabytes * 1024 * 1024;
    if (!MakeText(path, size)) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("text: %s, %.1f MiB\n", path.c_str(), static_cast<double>(size) / kMiB);

    // Memory first, while nothing else has been allocated: the opened text
    // (the file's bytes and the display lines) against the file's size.
    {
        const std::size_t before = CommittedBytes();
        TLightStrings lines;
        std::optional<TextBuffer> text = ReadTextFile(path);
        if (!text) {
            std::printf("cannot read %s\n", path.c_str());
            return 1;
        }
        lines.SetText(std::move(*text));
        const std::size_t after = CommittedBytes();
        std::printf("opened: %zu display lines, %zu paragraphs\n", lines.Count(), lines.ParagraphCount());
        std::printf("memory: %.1f MiB committed for the open text = %.2f x the file (target < 2.5); peak working set of the process %.1f MiB = %.2f x\n",
                    static_cast<double>(after - before) / kMiB, static_cast<double>(after - before) / static_cast<double>(size),
                    static_cast<double>(PeakWorkingSet()) / kMiB, static_cast<double>(PeakWorkingSet()) / static_cast<double>(size));
    }

    constexpr int kRounds = 5;
    double raw = 1e9, open = 1e9, sliceMax = 0, sliced = 1e9;
    std::size_t rawLines = 0, openLines = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Alternate which goes first so that neither always finds the file
        // in the cache the other warmed.
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == (round % 2 == 0)) {
                const LARGE_INTEGER t0 = Now();
                rawLines = RawReadAndScan(path);
                raw = std::min(raw, Seconds(t0, Now()));
            } else {
                const LARGE_INTEGER t0 = Now();
                TLightStrings lines;
                lines.SetText(std::move(*ReadTextFile(path)));
                open = std::min(open, Seconds(t0, Now()));
                openLines = lines.Count();
            }
        }
        // The same wrapped in slices of 4 MiB, as a window showing progress
        // would: the longest slice is how long the window waits.
        const LARGE_INTEGER t0 = Now();
        TLightStrings lines;
        lines.BeginText(std::move(*ReadTextFile(path)));
        for (;;) {
            const LARGE_INTEGER s0 = Now();
            const bool done = lines.WrapSome(4u << 20);
            sliceMax = std::max(sliceMax, Seconds(s0, Now()));
            if (done) break;
        }
        sliced = std::min(sliced, Seconds(t0, Now()));
    }
    std::printf("raw read + newline scan: %.3f s (%zu lines)\n", raw, rawLines);
    std::printf("open + wrap at 80:       %.3f s (%zu display lines)  ratio %.2f (target <= 2)\n", open, openLines,
                open / raw);
    std::printf("open + wrap in slices:   %.3f s, longest slice %.1f ms\n", sliced, sliceMax * 1000.0);

    TLightStrings lines;
    lines.SetText(std::move(*ReadTextFile(path)));
    const std::string_view text = lines.Text();
    double plain = 1e9, ours = 1e9, oursIgnoringCase = 1e9;
    std::size_t plainAt = 0, oursAt = 0, icAt = 0;
    const TextFinder finder(kNeedle, false);
    const TextFinder ic("needle-XYZZY-0042", true);
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER t0 = Now();
        const char* hit = PlainSearch(text.data(), text.size(), kNeedle, std::strlen(kNeedle));
        plain = std::min(plain, Seconds(t0, Now()));
        plainAt = hit ? static_cast<std::size_t>(hit - text.data()) : 0;
        t0 = Now();
        oursAt = SearchForward(lines, 0, finder).value_or(0);
        ours = std::min(ours, Seconds(t0, Now()));
        t0 = Now();
        icAt = SearchForward(lines, 0, ic).value_or(0);
        oursIgnoringCase = std::min(oursIgnoringCase, Seconds(t0, Now()));
    }
    std::printf("plain scan to byte %zu:   %.3f s\n", plainAt, plain);
    std::printf("search to line %zu:     %.3f s  ratio %.2f (target <= 1.5)\n", oursAt, ours, ours / plain);
    std::printf("search ignoring case:    %.3f s (line %zu)  ratio %.2f\n", oursIgnoringCase, icAt,
                oursIgnoringCase / plain);
    const bool found = oursAt != 0 && icAt == oursAt && lines.Offset(oursAt) <= plainAt &&
                       plainAt < lines.Offset(oursAt) + lines.Get(oursAt).size();
    std::printf("%s\n", found ? "the search found the string where the plain scan did" : "SEARCH RESULTS DIFFER");
    return found ? 0 : 1;
}
