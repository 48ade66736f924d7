// What the filer's keys and a few of its actions come to before anything is
// drawn or asked: the built-in key a key-down runs, what Escape does, the
// candidates an extension has for opening, the names copied to the
// clipboard, and the paths and names the file actions hand on.
#pragma once

#include <string>
#include <vector>

#include "config/session.h"
#include "filer/file_list.h"

namespace kestrum {

// ---- keys -------------------------------------------------------------------------

// Virtual-key codes the filer's built-in keys use (the platform's values).
enum FilerKey : int {
    kFilerKeyEscape = 0x1B,
    kFilerKeyPrior = 0x21,
    kFilerKeyNext = 0x22,
    kFilerKeyLeft = 0x25,
    kFilerKeyUp = 0x26,
    kFilerKeyRight = 0x27,
    kFilerKeyDown = 0x28,
    kFilerKeyNumpad0 = 0x60,
    kFilerKeyNumpad9 = 0x69,
    kFilerKeyF1 = 0x70,
    kFilerKeyF4 = 0x73,
};

// A key-down the key map left to the grid.
struct BuiltInKey {
    enum class Kind {
        None,
        FindInitial,    // Ctrl+letter: the next entry starting with letter
        PreviousPage,
        NextPage,
        Left,
        Right,
        Up,
        Down,
        ToCommandLine,  // Ctrl+Down
        Escape,
        FunctionKey,    // F1 to F15 (not Alt+F4): the function key's command
    } kind = Kind::None;
    int value = 0;  // the letter, or the function key's number from 0
};
// The numeric keypad's digits are the digits.
int NormalisedKey(int key);
BuiltInKey RouteBuiltInKey(int key, bool ctrl, bool alt);

// What Escape does in the filer.
enum class EscapeOutcome {
    ClearCommandLine,  // in the command line (unless FILERESCMODE 1): empty it, back to the grid
    HotKeyToggle,      // FESCHIDE, resident in the tray: as the hot key does
    Hide,              // FESCHIDE otherwise
    Close,             // close the filer
    AskThenClose,      // FMESCMODE: close after a Yes
};
EscapeOutcome EscapeFor(const Settings& settings, bool inCommandLine, bool shellPresent);

// Where dropped files land: on the command line (at or below its top) they
// are typed in, on the grid copied here, above it a menu asks.
enum class DropPlace { CommandLine, Grid, Bars };
DropPlace DropPlaceFor(int y, int commandLineTop, int gridTop);
// The text typed into the command line for dropped paths: each between blanks.
std::string DroppedText(const std::vector<std::string>& paths);

// ---- associations -----------------------------------------------------------------

// Whether the temporary (SETEXT) or the configured associations name the
// extension of file.
bool HasAssociation(const Session& session, const std::string& file);
// The commands of the extension of file, comma-separated fields of each
// table's entry, empty ones left out: SETEXT's first, then the
// configured ones.
struct Candidates {
    std::vector<std::string> temporary;
    std::vector<std::string> configured;
};
Candidates AssociationCandidates(const Session& session, const std::string& file);

// ---- names and paths ----------------------------------------------------------------

// The clipboard text of the selection for the name-copying actions: plain
// names, or with full (the directory before each) and withSizes (the list
// text of mode 1, 80 characters wide less the directory with full) as
// asked; CR LF after each line, but after the last only with marks.
std::string SelectionClipboardText(const FileListModel& model, const std::string& dir, bool full, bool withSizes,
                                   DisplayOptions options);
// The selection as full paths in dir.
std::vector<std::string> SelectionPaths(const FileListModel& model, const std::string& dir);
// The files of the selection whose dates can change, as full paths; sets
// hadDirectory when a directory was left out.
std::vector<std::string> DateChangePaths(const FileListModel& model, const std::string& dir, bool& hadDirectory);
// The name a duplicate of name is proposed under: "NAME.BAK", or with no
// marks the BACKUPNAME setting (macros still to expand) when it is set.
std::string DuplicateProposal(const Session& session, const std::string& name, bool marked);
// A typed name is taken from dir unless it has a drive ("X:...").
std::string InDirectory(const std::string& dir, const std::string& name);

}  // namespace kestrum
