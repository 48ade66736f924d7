// Case-insensitive wildcard match with a name part and an extension part.
#pragma once

#include <string_view>

namespace kestrum {

// "?" matches one character other than "."; "*" ends the name part: the rest
// of the pattern's name part is ignored and matching goes on after the first
// "." of both. "*.*" matches every name, "*." names without an extension,
// ABC* every name that begins with ABC. Empty name or pattern never match.
bool WildMatch(std::string_view name, std::string_view pattern);

}  // namespace kestrum
