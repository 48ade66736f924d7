// Runs kdrive.exe on a script against the program of this build, for the
// end-to-end tests.
#pragma once

#include <string>
#include <vector>

#include "tests/test_util.h"

namespace kestrum::test {

// The folder of Kestrum.exe and kdrive.exe ("...\bin\").
std::string KestrumBinDir();

struct KdriveResult {
    unsigned long code = 1;
    std::string output;  // what kdrive printed, its messages included
};
// Writes the script into dir, runs kdrive.exe on it and waits for it.
KdriveResult RunKdrive(const TempDir& dir, const std::vector<std::string>& script);

}  // namespace kestrum::test
