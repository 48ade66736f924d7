// The round trip of the settings file and the key files, shared by the
// tests and the fuzz targets: load, write back with every writer of the
// program, load again, and say what came back different.
#pragma once

#include <string>
#include <vector>

#include "config/key_map.h"
#include "config/settings.h"

namespace kestrum::test {

struct LoadedSettings {
    Settings s;
    SettingsLists l;
};

LoadedSettings LoadLines(const std::vector<std::string>& lines);

// Everything the program writes into the settings file, as each writer
// writes it: the settings dialog, the shell's close, the alias, directory
// list and function-key editors.
std::vector<std::string> WriteBack(const std::vector<std::string>& original, const LoadedSettings& r);

// The lines of the sections the program does not know, in order, blank
// lines left out (a removed section may leave its neighbour one more).
std::vector<std::string> UnknownSections(const std::vector<std::string>& lines);

// What differs between two loads, one text per difference; empty when they
// agree (text values compared without regard to case, as they come back
// upper-cased from the file).
std::vector<std::string> LoadDifferences(const LoadedSettings& a, const LoadedSettings& b);

// Printable form of a file's lines for failure messages.
std::string ShowLines(const std::vector<std::string>& lines);

// A key map as its file gives it back: the comma key named with the
// full-width comma, bindings without a name left out.
TUserKey AsWritten(const TUserKey& map);

}  // namespace kestrum::test
