// Ejecting removable media.
#pragma once

#include <string>

namespace kestrum {

// Ejects the medium of drive ("E:"; a bare letter or "E:\" also do).
// Failures show "Open Error!" or "Eject Error!". True when ejected.
bool EjectMedia(const std::string& drive);

}  // namespace kestrum
