// The process's current directory, changed as the shell and the filer do:
// per-drive memory with FLAGDCD, the drive root as a fallback for paths that
// start with a drive letter, CurrentDir and the title in the session, and
// the listeners (captions, prompts) told of every change.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "common/signal.h"

namespace kestrum {

// Changes the directory; false when the directory asked for (or, for a
// path that starts with a drive letter, that drive's root) could not be
// entered. CurrentDir follows the process's directory either way.
bool ChangeDirectory(const std::string& path);
// Listeners of ChangeDirectory, called with CurrentDir after every change
// until their subscription goes.
[[nodiscard]] Subscription AddDirectoryListener(std::function<void(const std::string& dir)> listener);
std::size_t DirectoryListenerCount();

}  // namespace kestrum
