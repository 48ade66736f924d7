// Changing the current directory and telling the windows.
#include "fileops/change_dir_win.h"

#include <windows.h>

#include "common/sjis.h"
#include "config/session.h"

namespace kestrum {

namespace {
Signal<const std::string&>& DirectoryListeners() {
    static Signal<const std::string&> listeners;
    return listeners;
}
}  // namespace

Subscription AddDirectoryListener(std::function<void(const std::string& dir)> listener) {
    return DirectoryListeners().Connect(std::move(listener));
}

std::size_t DirectoryListenerCount() { return DirectoryListeners().Count(); }

bool ChangeDirectory(const std::string& requested) {
    Session& session = TheSession();
    std::string path = requested;
    auto driveIndex = [](char c) {
        if (c >= 'a' && c <= 'z') return c - 'a';
        if (c >= 'A' && c <= 'Z') return c - 'A';
        return -1;
    };
    const bool startsWithDrive = path.size() >= 2 && driveIndex(path[0]) >= 0 && path[1] == ':';
    if (session.settings.flagDcd && path.size() == 2 && startsWithDrive) {
        path += "\\" + session.driveDirs[static_cast<std::size_t>(driveIndex(path[0]))];
    }
    if (path == "..") {
        // The filer puts its cursor back on the directory it came from.
        const std::string cur = ExcludeTrailingBackslash(session.currentDir);
        session.returningFrom = ExtractFileName(cur);
    }
    bool ok = SetCurrentDirectoryA(path.c_str()) != 0;
    if (!ok && startsWithDrive) {
        // Only a path that names a drive falls back to that drive's root.
        const std::string root = path.substr(0, 1) + ":\\";
        ok = SetCurrentDirectoryA(root.c_str()) != 0;
    }
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    session.currentDir = IncludeTrailingBackslash(cwd);

    session.title = session.currentDir + " - Kestrum";
    DirectoryListeners()(session.currentDir);
    const int d = session.currentDir.empty() ? -1 : driveIndex(session.currentDir[0]);
    if (d >= 0 && session.currentDir.size() >= 3 && session.currentDir[1] == ':') {
        session.driveDirs[static_cast<std::size_t>(d)] = session.currentDir.substr(3);
    }
    return ok;
}

}  // namespace kestrum
