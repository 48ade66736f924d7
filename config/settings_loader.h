// The settings loader: reads the settings file's list sections and the
// [環境変数] section into the running settings. Applying them to windows
// (menu bar, hot key, captions) is the caller's business.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"

namespace kestrum {

// Converts a whole trimmed text to an integer; nullopt for anything else
// (empty, trailing characters, out of the 32-bit range).
std::optional<int> ParseInt(std::string_view text);

// Applies one [環境変数] value (already trimmed) to the settings; unknown keys
// are ignored. Returns false when the key is unknown or the value was refused.
bool ApplyEnvValue(Settings& s, std::string_view key, std::string_view value);

// A (re)load from lines: sets the load defaults, refills the command table,
// replaces every list but the histories (read only while still empty), then
// reads the [環境変数] keys over the settings in memory.
void LoadSettingsLines(const std::vector<std::string>& lines, Settings& s, SettingsLists& lists);

// The same from a file; a missing file applies only the defaults.
// Returns false when the file could not be read.
bool LoadSettingsFile(const std::string& path, Settings& s, SettingsLists& lists);

// VIEWMODE makes the TVIEW command the effective viewer; a VIEWER equal to the
// TVIEW command's name switches VIEWMODE on and the external viewer to NOTEPAD.
void ResolveViewer(Settings& s, std::string_view tviewName);

}  // namespace kestrum
