// The "/$" macros of command lines: the current file, its parts, and
// today's month and day.
#pragma once

#include <functional>
#include <string>

#include "config/settings.h"

namespace kestrum {

struct MacroContext {
    std::string currentFile;  // full path, or empty
    int month = 1;
    int day = 1;
    // The 8.3 path of a file (empty when it has none).
    std::function<std::string(const std::string&)> shortPath;
};

// Replaces the macro tokens in text, in the fixed order that makes "/$$"
// an escape for the first group (current file, day, month) only. Runs only
// with MACROFLAG on or when forced; each token only while its switch is on
// (or forced).
void ExpandMacroText(std::string& text, const Settings& s, const MacroContext& ctx, bool forced);

// Every occurrence of token (on character boundaries, case-sensitive, left
// to right) replaced by value.
std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value);

}  // namespace kestrum
