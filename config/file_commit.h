// The platform step of a safe save: a new file written beside the old one
// takes its place in one step.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Writes bytes to temp (created or emptied), flushes them to the disk and
// moves temp over target, replacing it when it exists, in one step. False
// when any step fails; temp is then removed and target is as it was.
bool CommitFile(const std::string& temp, const std::string& target, std::string_view bytes);

}  // namespace kestrum
