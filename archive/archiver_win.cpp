// The archiver libraries loaded by name and their entry points.
#include "archive/archiver_win.h"

#include <windows.h>

#include <vector>

#include "common/handles_win.h"
#include "fileops/path_utils.h"

namespace kestrum {

namespace {

using RunFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using GetRunningFn = BOOL(WINAPI*)();
using SetModeFn = BOOL(WINAPI*)(BOOL);
using OpenFn = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using FindFirstFn = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNextFn = int(WINAPI*)(HANDLE, void*);
using CloseFn = int(WINAPI*)(HANDLE);
using QueryFn = BOOL(WINAPI*)(int);
using IshFn = int(WINAPI*)(HWND, LPCSTR);
using ArchiveInfoFn = int(WINAPI*)(LPCSTR, LONG_PTR, unsigned, HLOCAL*);
using GetFileFn = int(WINAPI*)(LPCSTR, LONG_PTR, LPSTR, unsigned, FARPROC, LONG_PTR);

// The LHA and the tar library have the same calls under their own prefix.
class CommandLibrary : public LhaLibrary {
public:
    // prefix "Unlha" or "Tar"; extra names that must be there as well.
    CommandLibrary(const char* file, const std::string& prefix, std::vector<std::string> extra, LibraryLoad& load)
        : module_(file) {
        load = LibraryLoad::Missing;
        if (!module_.Loaded()) return;
        run_ = module_.Find<RunFn>(prefix.c_str()).fn;
        getRunning_ = module_.Find<GetRunningFn>((prefix + "GetRunning").c_str()).fn;
        setMode_ = module_.Find<SetModeFn>((prefix + "SetBackGroundMode").c_str()).fn;
        open_ = module_.Find<OpenFn>((prefix + "OpenArchive").c_str()).fn;
        findFirst_ = module_.Find<FindFirstFn>((prefix + "FindFirst").c_str()).fn;
        findNext_ = module_.Find<FindNextFn>((prefix + "FindNext").c_str()).fn;
        close_ = module_.Find<CloseFn>((prefix + "CloseArchive").c_str()).fn;
        load = LibraryLoad::EntryMissing;
        if (!run_ || !getRunning_) return;
        for (const std::string& name : extra) {
            if (!module_.Find<void*>(name.c_str()).fn) return;
        }
        load = LibraryLoad::Loaded;
    }
    ~CommandLibrary() override { CloseArchive(); }

    int GetRunning() override { return getRunning_ && getRunning_() ? 1 : 0; }
    bool SetBackGroundMode(bool on) override { return setMode_ && setMode_(on ? TRUE : FALSE); }
    int Run(const std::string& command, std::string* output, std::size_t outputSize) override {
        std::vector<char> buffer(output ? outputSize + 1 : 0, '\0');
        const int result = run_(nullptr, command.c_str(), output ? buffer.data() : nullptr,
                                output ? static_cast<DWORD>(outputSize) : 0);
        if (output) {
            buffer[outputSize] = '\0';
            *output = buffer.data();
        }
        return result;
    }
    bool OpenArchive(const std::string& path, unsigned mode) override {
        CloseArchive();
        if (!open_) return false;
        archive_ = open_(nullptr, path.c_str(), mode);
        return archive_ != nullptr;
    }
    int FindFirst(const std::string& pattern, unsigned char* record) override {
        if (!findFirst_ || !archive_) return -1;
        return findFirst_(archive_, pattern.c_str(), record);
    }
    int FindNext(unsigned char* record) override {
        if (!findNext_ || !archive_) return -1;
        return findNext_(archive_, record);
    }
    void CloseArchive() override {
        if (archive_ && close_) close_(archive_);
        archive_ = nullptr;
    }

private:
    Module module_;
    RunFn run_ = nullptr;
    GetRunningFn getRunning_ = nullptr;
    SetModeFn setMode_ = nullptr;
    OpenFn open_ = nullptr;
    FindFirstFn findFirst_ = nullptr;
    FindNextFn findNext_ = nullptr;
    CloseFn close_ = nullptr;
    HANDLE archive_ = nullptr;
};

class WinIsh : public IshLibrary {
public:
    explicit WinIsh(LibraryLoad& load) : module_("ISH32.DLL") {
        load = LibraryLoad::Missing;
        if (!module_.Loaded()) return;
        run_ = module_.Find<IshFn>("Ish").fn;
        getRunning_ = module_.Find<GetRunningFn>("IshGetRunning").fn;
        load = run_ && getRunning_ ? LibraryLoad::Loaded : LibraryLoad::EntryMissing;
    }
    int GetRunning() override { return getRunning_() ? 1 : 0; }
    int Run(const std::string& command) override { return run_(nullptr, command.c_str()); }

private:
    Module module_;
    IshFn run_ = nullptr;
    GetRunningFn getRunning_ = nullptr;
};

class WinZip : public ZipPlugin {
public:
    WinZip(LibraryLoad& load, std::string& missing) : module_("AXZIP.SPI") {
        load = LibraryLoad::Missing;
        if (!module_.Loaded()) return;
        getFile_ = module_.Find<GetFileFn>("GetFile").fn;
        info_ = module_.Find<ArchiveInfoFn>("GetArchiveInfo").fn;
        load = LibraryLoad::EntryMissing;
        if (!getFile_) {
            missing = "GetFile";
            return;
        }
        if (!info_) {
            missing = "GetArchiveInfo";
            return;
        }
        load = LibraryLoad::Loaded;
    }
    int GetArchiveInfo(const std::string& path, long offset, std::vector<unsigned char>& block) override {
        HLOCAL h = nullptr;
        const int result = info_(path.c_str(), offset, 0, &h);
        block.clear();
        if (h) {
            if (const void* p = LocalLock(h)) {
                const auto* bytes = static_cast<const unsigned char*>(p);
                block.assign(bytes, bytes + LocalSize(h));
                LocalUnlock(h);
            }
            LocalFree(h);
        }
        return result;
    }
    int GetFile(const std::string& path, long position, const std::string& dest) override {
        std::string d = dest;
        return getFile_(path.c_str(), position, d.data(), 0, nullptr, 0);
    }

private:
    Module module_;
    GetFileFn getFile_ = nullptr;
    ArchiveInfoFn info_ = nullptr;
};

}  // namespace

WinArchiverHost::WinArchiverHost() = default;
WinArchiverHost::~WinArchiverHost() = default;

LhaLibrary* WinArchiverHost::Lha(LibraryLoad& load) {
    if (!lha_ || lhaLoad_ != LibraryLoad::Loaded) {
        lha_ = std::make_unique<CommandLibrary>("UNLHA32.DLL", "Unlha", std::vector<std::string>{}, lhaLoad_);
    }
    load = lhaLoad_;
    return lhaLoad_ == LibraryLoad::Loaded ? lha_.get() : nullptr;
}

std::unique_ptr<TarLibrary> WinArchiverHost::LoadTar(LibraryLoad& load) {
    auto tar = std::make_unique<CommandLibrary>(
        "TAR32.DLL", "Tar",
        std::vector<std::string>{"TarOpenArchive", "TarCloseArchive", "TarFindFirst", "TarFindNext",
                                 "TarQueryFunctionList"},
        load);
    if (load != LibraryLoad::Loaded) return nullptr;
    return tar;
}

std::unique_ptr<IshLibrary> WinArchiverHost::LoadIsh(LibraryLoad& load) {
    auto ish = std::make_unique<WinIsh>(load);
    if (load != LibraryLoad::Loaded) return nullptr;
    return ish;
}

std::unique_ptr<ZipPlugin> WinArchiverHost::LoadZip(LibraryLoad& load, std::string& missingEntry) {
    auto zip = std::make_unique<WinZip>(load, missingEntry);
    if (load != LibraryLoad::Loaded) return nullptr;
    return zip;
}

bool WinArchiverHost::EnsureDirectory(std::string& path) { return kestrum::EnsureDirectory(path); }

std::string WinArchiverHost::WriteTempFile(const std::string& prefix, const std::string& text) {
    char dir[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, dir) || !GetTempFileNameA(dir, prefix.c_str(), 0, file)) return {};
    FileHandle h(CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!h.Valid() || !WriteFile(h.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size()) {
        h.Reset();
        ::DeleteFileA(file);
        return {};
    }
    return file;
}

void WinArchiverHost::RemoveFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

bool WinArchiverHost::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

WinArchiverHost& TheArchiverHost() {
    static WinArchiverHost host;
    return host;
}

}  // namespace kestrum
