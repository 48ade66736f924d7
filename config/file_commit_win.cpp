// Safe replacement of a file on Windows: write, flush, MoveFileExA.
#include "config/file_commit.h"

#include <windows.h>

#include <algorithm>

#include "common/handles_win.h"

namespace kestrum {

namespace {

bool WriteAllAndFlush(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

bool CommitFile(const std::string& temp, const std::string& target, std::string_view bytes) {
    {
        FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) return false;
        if (!WriteAllAndFlush(file.Get(), bytes)) {
            file.Reset();
            DeleteFileA(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace kestrum
