// Test helpers for the copy engine: a file operation that records every
// request and carries it out with plain file calls (with an injected
// failure when asked), and small tree builders.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/pathlist.h"
#include "common/sjis.h"
#include "fileops/shell_file_op_win.h"

namespace kestrum::test {

class RecordingFileOp : public ShellFileOp {
public:
    std::vector<ShellFileRequest> requests;
    // The call numbered failCall (from 0) does only its first doneBeforeFailure
    // entries and then returns failCode, aborted when abort is set.
    int failCall = -1;
    std::size_t doneBeforeFailure = 0;
    int failCode = 0x4C7;
    bool abort = false;
    bool perform = true;  // false: record only

    static std::vector<std::string> Entries(const std::string& list) {
        return PathList::Parse(list.data(), list.size());
    }

    ShellFileResult Run(const ShellFileRequest& r) override {
        requests.push_back(r);
        const bool failing = failCall == static_cast<int>(requests.size()) - 1;
        const std::vector<std::string> from = Entries(r.from);
        const std::vector<std::string> to = Entries(r.to);
        std::size_t n = failing && doneBeforeFailure < from.size() ? doneBeforeFailure : from.size();
        if (!perform) n = 0;
        for (std::size_t i = 0; i < n; ++i) {
            std::string target;
            if (!to.empty()) {
                target = (r.flags & FOF_MULTIDESTFILES) ? to[i] : to[0];
                const DWORD a = GetFileAttributesA(target.c_str());
                if (!(r.flags & FOF_MULTIDESTFILES) && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
                    target = IncludeTrailingBackslash(target) + ExtractFileName(from[i]);
                }
            }
            bool ok = false;
            switch (r.func) {
            case FO_COPY: ok = CopyFileA(from[i].c_str(), target.c_str(), FALSE); break;
            case FO_MOVE:
                ok = MoveFileExA(from[i].c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
                break;
            case FO_DELETE: ok = DeleteFileA(from[i].c_str()); break;
            default: break;
            }
            EXPECT_TRUE(ok) << "fake file operation " << r.func << " on " << from[i];
        }
        if (failing) return {failCode, abort};
        return {};
    }
};

// Writes a file (parents must exist); content defaults to the path's name.
inline void Put(const std::string& path, const std::string& content = {}) {
    const std::string bytes = content.empty() ? ExtractFileName(path) : content;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

inline std::string Get(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buf[4096];
    DWORD got = 0;
    ReadFile(h, buf, sizeof buf, &got, nullptr);
    CloseHandle(h);
    return std::string(buf, got);
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Builds a tree under root: a name ending in "\" is a directory, any other
// a file holding its own name.
inline void Tree(const std::string& root, const std::vector<std::string>& entries) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (const std::string& e : entries) {
        const std::string path = root + "\\" + e;
        if (EndsWithBackslash(e)) {
            CreateDirectoryA(ExcludeTrailingBackslash(path).c_str(), nullptr);
        } else {
            Put(path);
        }
    }
}

// Sets a file's last-write time to a day plus seconds, in the platform's units.
inline void Stamp(const std::string& path, int seconds) {
    ULARGE_INTEGER t;
    t.QuadPart = 130000000000000000ULL + static_cast<unsigned long long>(seconds) * 10000000ULL;
    FILETIME ft{t.LowPart, t.HighPart};
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

}  // namespace kestrum::test
