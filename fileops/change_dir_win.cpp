// Changing the current directory and telling the windows.
#include "fileops/change_dir_win.h"

#include <windows.h>

#include "common/sjis.h"
#include "config/session.h"
#include "fileops/change_dir.h"

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
    const std::string path = WithDriveDirectory(requested, session);
    if (path == "..") {
        // The filer puts its cursor back on the directory it came from.
        const std::string cur = ExcludeTrailingBackslash(session.currentDir);
        session.returningFrom = ExtractFileName(cur);
    }
    bool ok = SetCurrentDirectoryA(path.c_str()) != 0;
    // Only a path that names a drive falls back to that drive's root.
    if (const std::string root = FallbackRoot(path); !ok && !root.empty()) ok = SetCurrentDirectoryA(root.c_str()) != 0;
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    session.currentDir = IncludeTrailingBackslash(cwd);

    session.title = session.currentDir + " - Kestrum";
    DirectoryListeners()(session.currentDir);
    RememberDriveDirectory(session, session.currentDir);
    return ok;
}

}  // namespace kestrum
