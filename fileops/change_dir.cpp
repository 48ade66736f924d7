// The platform-free rules of changing directory.
#include "fileops/change_dir.h"

namespace kestrum {

int DriveIndex(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= 'A' && c <= 'Z') return c - 'A';
    return -1;
}

namespace {
bool StartsWithDrive(const std::string& path) { return path.size() >= 2 && DriveIndex(path[0]) >= 0 && path[1] == ':'; }
}  // namespace

std::string WithDriveDirectory(const std::string& path, const Session& session) {
    if (!session.settings.flagDcd || path.size() != 2 || !StartsWithDrive(path)) return path;
    return path + "\\" + session.driveDirs[static_cast<std::size_t>(DriveIndex(path[0]))];
}

std::string FallbackRoot(const std::string& path) {
    return StartsWithDrive(path) ? path.substr(0, 1) + ":\\" : std::string();
}

void RememberDriveDirectory(Session& session, const std::string& dir) {
    if (dir.size() < 3 || !StartsWithDrive(dir)) return;
    session.driveDirs[static_cast<std::size_t>(DriveIndex(dir[0]))] = dir.substr(3);
}

}  // namespace kestrum
