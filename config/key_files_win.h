// The program's three key maps (filer, line input and command boxes, text
// viewer) and their files.
#pragma once

#include <windows.h>

#include <string>

#include "config/key_map.h"

namespace kestrum {

// The key maps of the running program: one set for the whole process, read
// by every window that takes keys and refilled by LoadKeyFiles. Made, with
// their action tables filled, on first use. The filer's table holds its 86
// actions and one drive action per drive present (command = action code;
// the filer connects to runCommand and setCaption). The line-input map runs
// and captions the line-input window's menu entries.
struct KeyMaps {
    TKeyX filer;
    TKeyX edit;
    TKeyX viewer;
    // A line-input action is running: the keys it sends the box are the
    // box's own and do not fire a binding again.
    bool runningEditAction = false;
};
KeyMaps& TheKeyMaps();

inline TKeyX& FilerKeyX() { return TheKeyMaps().filer; }
inline TKeyX& EditKeyX() { return TheKeyMaps().edit; }
inline TKeyX& ViewerKeyX() { return TheKeyMaps().viewer; }

// Loads all three files from the settings (at start and on CFGLOAD).
void LoadKeyFiles();
// Loads the filer file named like KeyCustomFile; a preview (the settings
// dialog trying a name) never writes the file.
void LoadFilerKeyFile(const std::string& keyCustomFile, bool preview);

// The files, written from the maps. A file that cannot be written, or that
// exists but could not be read, is left as it is and the user is told once.
bool SaveFilerKeyFile();
// The filer's map into the file named like KeyCustomFile (the file the
// settings dialog previews).
bool SaveFilerKeyFileAs(const std::string& keyCustomFile);
bool SaveEditKeyFile();
bool SaveViewerKeyFile();

// The command boxes' lookup: a key bound in the line-input map runs its
// action and becomes 0 (true). Keys sent by a running action pass.
bool EditKeyLookUp(WPARAM& key, bool shift, bool ctrl, bool alt);

}  // namespace kestrum
