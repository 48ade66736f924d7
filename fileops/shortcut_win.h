// Shortcut files (.LNK) through the platform's shell link object.
#pragma once

#include <string>

namespace kestrum {

// Writes the shortcut file link pointing at target (its working directory
// the target's directory). False when the platform refused.
bool CreateShortcut(const std::string& link, const std::string& target);

}  // namespace kestrum
