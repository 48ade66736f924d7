// The rules of changing directory that need no platform: the directory a
// bare drive names, the root a failed change falls back to, and the
// directory last used on each drive, which the session keeps.
#pragma once

#include <string>

#include "config/session.h"

namespace kestrum {

// 0 for "A" or "a" up to 25 for "Z" or "z"; -1 for anything else.
int DriveIndex(char c);
// With FLAGDCD on, a bare "X:" stands for the directory last used on drive
// X: "X:\" and that directory. Any other path stays as it is.
std::string WithDriveDirectory(const std::string& path, const Session& session);
// The root a change that failed falls back to: "X:\" for a path that starts
// with a drive letter and ":", else empty (no fallback).
std::string FallbackRoot(const std::string& path);
// Keeps dir (a full path "X:\...") as the directory last used on drive X,
// without its root. Other paths (network names) are not kept.
void RememberDriveDirectory(Session& session, const std::string& dir);

}  // namespace kestrum
