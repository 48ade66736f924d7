// Splitting a file into numbered pieces and joining files into one, on the
// platform's files (the operations are in split_join.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileops/split_join.h"

namespace kestrum {

// The platform's files, a block at a time.
BlockFiles& PlatformBlockFiles();

// SplitFile, JoinFiles and AppendFile of split_join.h on the platform's
// files, asking through the current prompter.
FileOpOutcome SplitFile(const std::string& source, std::int64_t size, const std::string& dir);
FileOpOutcome JoinFiles(const std::string& target, const std::vector<std::string>& files);
FileOpOutcome AppendFile(const std::string& target, const std::string& file);

}  // namespace kestrum
