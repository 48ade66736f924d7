// The platform's block files, and SplitFile, JoinFiles and AppendFile on them.
#include "fileops/split_join_win.h"

#include <windows.h>

#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "common/prompter.h"

namespace kestrum {

namespace {

class WinReader : public BlockFiles::Reader {
public:
    explicit WinReader(FileHandle h) : h_(std::move(h)) {}
    std::optional<std::uint64_t> Size() override {
        LARGE_INTEGER length{};
        if (!GetFileSizeEx(h_.Get(), &length)) return std::nullopt;
        return static_cast<std::uint64_t>(length.QuadPart);
    }
    std::int64_t Read(char* buf, std::size_t size) override {
        DWORD got = 0;
        if (!ReadFile(h_.Get(), buf, static_cast<DWORD>(size), &got, nullptr)) return -1;
        return got;
    }

private:
    FileHandle h_;
};

class WinWriter : public BlockFiles::Writer {
public:
    explicit WinWriter(FileHandle h) : h_(std::move(h)) {}
    bool Write(const char* data, std::size_t size) override {
        DWORD put = 0;
        return WriteFile(h_.Get(), data, static_cast<DWORD>(size), &put, nullptr) && put == size;
    }
    bool Truncate(std::uint64_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(h_.Get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(h_.Get());
    }

private:
    FileHandle h_;
};

class WinBlockFiles : public BlockFiles {
public:
    std::unique_ptr<Reader> OpenRead(const std::string& path) override {
        FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!h) return nullptr;
        return std::make_unique<WinReader>(std::move(h));
    }
    std::unique_ptr<Writer> Create(const std::string& path, bool replace) override {
        FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, replace ? CREATE_ALWAYS : CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) return nullptr;
        return std::make_unique<WinWriter>(std::move(h));
    }
    std::unique_ptr<Writer> OpenAppend(const std::string& path) override {
        FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!h) return nullptr;
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(h.Get(), zero, nullptr, FILE_END)) return nullptr;
        return std::make_unique<WinWriter>(std::move(h));
    }
};

}  // namespace

BlockFiles& PlatformBlockFiles() {
    static WinBlockFiles files;
    return files;
}

FileOpOutcome SplitFile(const std::string& source, std::int64_t size, const std::string& dir) {
    return SplitFile(CurrentFileSystem(), PlatformBlockFiles(), CurrentPrompter(), source, size, dir);
}

FileOpOutcome JoinFiles(const std::string& target, const std::vector<std::string>& files) {
    return JoinFiles(CurrentFileSystem(), PlatformBlockFiles(), CurrentPrompter(), target, files);
}

FileOpOutcome AppendFile(const std::string& target, const std::string& file) {
    return AppendFile(CurrentFileSystem(), PlatformBlockFiles(), CurrentPrompter(), target, file);
}

}  // namespace kestrum
