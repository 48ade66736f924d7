// The commit's steps on Windows: CreateFileA, WriteFile, FlushFileBuffers
// and MoveFileExA with write-through.
#include "config/file_commit_win.h"

#include <windows.h>

#include "common/handles_win.h"

namespace kestrum {

namespace {

class Win32CommitSteps final : public CommitSteps {
public:
    bool Create(const std::string& path) override {
        file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }
    std::size_t Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return 0;
        return written;
    }
    bool Flush() override { return FlushFileBuffers(file_.Get()) != 0; }
    bool Close() override { return CloseHandle(file_.Release()) != 0; }
    bool Replace(const std::string& temp, const std::string& target) override {
        return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void Remove(const std::string& path) override {
        file_.Reset();
        DeleteFileA(path.c_str());
    }

private:
    FileHandle file_;
};

class Win32Commit final : public CommitPlatform {
public:
    std::unique_ptr<CommitSteps> MakeSteps() override { return std::make_unique<Win32CommitSteps>(); }
};

}  // namespace

CommitPlatform& PlatformCommit() {
    static Win32Commit platform;
    return platform;
}

}  // namespace kestrum
