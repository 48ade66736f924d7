// Running kdrive.exe from the end-to-end tests, and reading the settings
// file the program leaves behind.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/test_util.h"

namespace kestrum::test {

// The folder of Kestrum.exe and kdrive.exe (build/bin).
std::string BinDir();

struct DriveResult {
    DWORD code = 1;
    std::string output;
};

// Runs kdrive.exe on a script (one command a line, written into dir) and
// returns its exit code and output.
DriveResult Drive(const TempDir& dir, const std::vector<std::string>& script);

// The lines of a section of a settings file, up to its "[END]".
std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& header);

}  // namespace kestrum::test
