// The running session: everything the program keeps while it runs that is
// no window: the settings, the lists the shell owns, the paths, the filer's
// masks and per-drive directories, and the few flags the windows share.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/settings.h"
#include "config/window_state.h"

namespace kestrum {

struct Session {
    Settings settings;
    SettingsLists lists;

    std::string currentDir;   // always ends in "\"
    std::string programDir;   // ends in "\"
    std::string settingsPath;
    std::string helpFile;
    std::string title = "Kestrum";

    // Filer masks: each entry a kind character and its operand ("0*.TXT").
    std::string maskText = "*.*";
    std::vector<std::string> masks = {"0*.*"};
    std::vector<std::string> maskHistory;  // the filer's mask answers, kept for the run
    // Last directory visited per drive, without its "X:\".
    std::array<std::string, 26> driveDirs;
    // The child directory just left by "..", where the filer's cursor goes.
    std::string returningFrom;
    // The directory picker's placement: read by the filer at start, kept
    // between uses, written when the shell closes.
    DirDirGeometry dirPicker;
    // The pattern file-name completion matches candidates against;
    // questions that want a program set "*.EXE" for their duration and "*.*"
    // afterwards.
    std::string completionMask = "*";

    // SETEXT: extension (upper case) and command, in memory only.
    std::vector<ExtEntry> setExt;
    // LAUTO: automatic showing in the archive viewer.
    bool lautoOn = false;
    // Shift was down at the last key press in the filer or the archive
    // viewer (LVIEW then shows without the automatic walk).
    bool shiftFlag = false;
    std::string lautoLabel;
    std::vector<std::string> lautoList;  // upper case

    bool menuBarShown = true;
    bool filerLastActive = false;
    bool swallowSysChar = false;  // the next WM_SYSCHAR is discarded
    bool menuOffAfterLs = false;  // FILERAUTO attached the menu only for LS
    int activeEditTag = 0;        // 0 the shell's box, 1 the filer's, 2 the line-input window's
    int lineOrigin = 0;           // tag of the box that ran the current line
};

// The session of the running program (tests reset it with TheSession() = Session()).
Session& TheSession();

}  // namespace kestrum
