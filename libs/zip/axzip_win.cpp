// AXZIP.SPI: the ZIP archive plug-in's exported functions ("00AM").
#include <windows.h>

#include <cstring>
#include <new>

#include "libs/base/arc_command.h"
#include "libs/base/arc_dll_win.h"
#include "libs/base/arc_names_win.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_time.h"
#include "libs/zip/axzip.h"

using namespace kestrum;

namespace {

using Progress = int(WINAPI*)(int num, int denom, LONG_PTR data);

// The archive bytes: a file read from `len` on (flag 0), or memory.
bool LoadInput(LPCSTR buf, LONG_PTR len, unsigned flag, std::vector<std::uint8_t>& store, const std::uint8_t*& data,
               std::size_t& size) {
    if (!buf) return false;
    if ((flag & 7) == 1) {
        if (len < 0) return false;
        data = reinterpret_cast<const std::uint8_t*>(buf);
        size = static_cast<std::size_t>(len);
        return true;
    }
    arc::PlatformFs fs;
    if (!fs.ReadAll(buf, store)) return false;
    std::size_t skip = len > 0 ? static_cast<std::size_t>(len) : 0;
    if (skip > store.size()) return false;
    data = store.data() + skip;
    size = store.size() - skip;
    return true;
}

int SetInfo(const char* text, LPSTR buf, int buflen) {
    if (!buf || buflen <= 0) return 0;
    int n = static_cast<int>(std::strlen(text));
    if (n > buflen - 1) n = buflen - 1;
    std::memcpy(buf, text, static_cast<std::size_t>(n));
    buf[n] = '\0';
    return n;
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    switch (infono) {
        case 0: return SetInfo("00AM", buf, buflen);
        case 1: return SetInfo("AXZIP.SPI ZIP 書庫プラグイン (Kestrum)", buf, buflen);
        case 2: return SetInfo("*.zip", buf, buflen);
        case 3: return SetInfo("ZIP 書庫", buf, buflen);
        default: return 0;
    }
}

__declspec(dllexport) int WINAPI IsSupported(LPCSTR, void* dw) {
    std::uint8_t head[8] = {};
    if ((reinterpret_cast<ULONG_PTR>(dw) & ~static_cast<ULONG_PTR>(0xFFFF)) == 0) {
        // A file handle: read the head and put the position back.
        HANDLE h = reinterpret_cast<HANDLE>(dw);
        DWORD got = 0;
        LARGE_INTEGER zero{}, old{};
        if (!SetFilePointerEx(h, zero, &old, FILE_CURRENT)) return 0;
        BOOL ok = ReadFile(h, head, sizeof head, &got, nullptr);
        SetFilePointerEx(h, old, nullptr, FILE_BEGIN);
        return ok && zip::LooksLikeZip(head, got) ? 1 : 0;
    }
    return zip::LooksLikeZip(static_cast<const std::uint8_t*>(dw), sizeof head) ? 1 : 0;
}

__declspec(dllexport) int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned flag, HLOCAL* lphInf) {
    if (lphInf) *lphInf = nullptr;
    if (!lphInf) return zip::kSpiInternalError;
    try {
        arc::UseLocalTime();
        std::vector<std::uint8_t> store;
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        if (!LoadInput(buf, len, flag, store, data, size)) return zip::kSpiReadError;
        std::vector<arc::SpiFileInfo> infos;
        // Positions count from the file's start, where GetFile reads from.
        const std::uint64_t base = (flag & 7) == 1 || len < 0 ? 0 : static_cast<std::uint64_t>(len);
        int r = zip::BuildFileInfo(data, size, arc::PlatformUtf8ToSjis, infos, base);
        // A damaged directory still gives what could be read, with its code.
        if (r != zip::kSpiOk && !(r == zip::kSpiBroken && infos.size() > 1)) return r;
        HLOCAL h = LocalAlloc(LPTR, infos.size() * sizeof(arc::SpiFileInfo));
        if (!h) return zip::kSpiNoMemory;
        std::memcpy(h, infos.data(), infos.size() * sizeof(arc::SpiFileInfo));
        *lphInf = h;
        return r;
    } catch (const std::bad_alloc&) {
        return zip::kSpiNoMemory;
    } catch (...) {
        return zip::kSpiInternalError;
    }
}

__declspec(dllexport) int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR filename, unsigned flag,
                                             arc::SpiFileInfo* lpInfo) {
    if (!filename || !lpInfo) return zip::kSpiInternalError;
    try {
        arc::UseLocalTime();
        std::vector<std::uint8_t> store;
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        if (!LoadInput(buf, len, flag, store, data, size)) return zip::kSpiReadError;
        std::vector<arc::SpiFileInfo> infos;
        const std::uint64_t base = (flag & 7) == 1 || len < 0 ? 0 : static_cast<std::uint64_t>(len);
        int r = zip::BuildFileInfo(data, size, arc::PlatformUtf8ToSjis, infos, base);
        if (r != zip::kSpiOk && r != zip::kSpiBroken) return r;
        std::string want = arc::ToBackslashes(filename);
        for (const arc::SpiFileInfo& fi : infos) {
            if (fi.method[0] == 0) break;
            std::string have = std::string(fi.path) + fi.filename;
            bool same = (flag & 0x80) ? CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, have.c_str(), -1,
                                                       want.c_str(), -1) == CSTR_EQUAL
                                      : have == want;
            if (same) {
                *lpInfo = fi;
                return zip::kSpiOk;
            }
        }
        return zip::kSpiInternalError;
    } catch (...) {
        return zip::kSpiInternalError;
    }
}

__declspec(dllexport) int WINAPI GetFile(LPCSTR src, LONG_PTR len, LPSTR dest, unsigned flag, void* progress,
                                         LONG_PTR lData) {
    if (!dest) return zip::kSpiInternalError;
    try {
        arc::UseLocalTime();
        std::vector<std::uint8_t> store;
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        // An archive in memory leaves no room to name the entry's position.
        if ((flag & 7) == 1) return zip::kSpiNotImplemented;
        // For a file, `len` is the entry's position; the archive starts at 0.
        if (!LoadInput(src, 0, flag, store, data, size)) return zip::kSpiReadError;
        std::uint32_t position = static_cast<std::uint32_t>(len);
        zip::ZipEntry entry;
        std::string fileName;
        int r = zip::FindEntry(data, size, position, arc::PlatformUtf8ToSjis, entry, fileName);
        if (r != zip::kSpiOk) return r;
        auto cb = reinterpret_cast<Progress>(progress);
        int total = static_cast<int>(entry.size > 0x7FFFFFFF ? 0x7FFFFFFF : entry.size);
        if (cb && cb(0, total, lData)) return zip::kSpiAborted;
        if (((flag >> 8) & 7) == 1) {
            // Into memory the host frees.
            if (entry.size > 0x7FFFFFFF) return zip::kSpiNoMemory;
            HLOCAL h = LocalAlloc(LMEM_FIXED, entry.size ? static_cast<SIZE_T>(entry.size) : 1);
            if (!h) return zip::kSpiNoMemory;
            std::size_t at = 0;
            r = zip::UnpackEntry(data, size, entry, [&](const std::uint8_t* p, std::size_t n) {
                std::memcpy(static_cast<std::uint8_t*>(h) + at, p, n);
                at += n;
                return true;
            });
            if (r != zip::kSpiOk) {
                LocalFree(h);
                return r;
            }
            *reinterpret_cast<HLOCAL*>(dest) = h;
        } else {
            arc::PlatformFs fs;
            std::string dir = dest;
            std::string path = arc::JoinPath(dir, fileName);
            if (path.size() > arc::kMaxPath) return zip::kSpiWriteError;
            if (!arc::EnsureDirectory(fs, dir)) return zip::kSpiWriteError;
            arc::FileStat st = fs.Stat(path);
            if (st.isLink || st.isDir) return zip::kSpiWriteError;  // never written through
            // A file there (the host asked first) stays until the member is whole.
            std::string temp;
            auto w = arc::OpenOutput(fs, path, st.exists, temp);
            if (!w) return zip::kSpiWriteError;
            r = zip::UnpackEntry(data, size, entry, [&](const std::uint8_t* p, std::size_t n) { return w->Write(p, n); });
            if (r != zip::kSpiOk) return r;  // the partial file goes with the writer
            if (!arc::CloseOutput(fs, std::move(w), path, temp)) return zip::kSpiWriteError;
            std::int64_t t = entry.unixTime ? entry.unixTime : arc::DosToUnix(entry.dosDateTime);
            fs.SetTimeAndAttributes(path, t, 0, false);
        }
        if (cb && cb(total, total, lData)) return zip::kSpiAborted;
        return zip::kSpiOk;
    } catch (const std::bad_alloc&) {
        return zip::kSpiNoMemory;
    } catch (...) {
        return zip::kSpiInternalError;
    }
}

}  // extern "C"
