// The platform's commit: a file written beside the old one, flushed to the
// disk and moved over it in one step with write-through.
#pragma once

#include "config/file_commit.h"

namespace kestrum {

// The one platform commit of the program; the application installs it at
// start-up.
CommitPlatform& PlatformCommit();

}  // namespace kestrum
