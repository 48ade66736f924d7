// Unique working directories: prefix + n + ".TMP".
#pragma once

#include <string>

namespace kestrum {

// Creates the first of prefix + "0.TMP", prefix + "1.TMP", ... up to
// prefix + "99999.TMP" that does not exist yet and returns its path; empty
// when none could be created (also at once when the failure is not about
// the name being taken, such as a missing parent directory).
std::string MakeTempDir(const std::string& prefix);

}  // namespace kestrum
