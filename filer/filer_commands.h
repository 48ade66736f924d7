// The filer's commands apart from its window: the selection, the mark
// loops, listing a directory, copy and move of the selection, renames, new
// directories, the mask, the directory to change to, the registrations of
// directories, aliases and the home directory, packing and unpacking. They
// reach the disk through a FileSystem, the user through a Prompter and the
// other subsystems through the services they are handed; what needs a
// window (changing the process's directory, re-listing) is left to it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/prompter.h"
#include "config/services.h"
#include "config/session.h"
#include "fileops/file_copy.h"
#include "filer/file_list.h"

namespace kestrum {

// What a command works on.
struct FilerContext {
    Session& session;
    FileSystem& files;
    Prompter& ask;
    FileListModel& model;
};

// ---- questions --------------------------------------------------------------------

// One line question; true with text the answer, false when cancelled.
bool AskLineFor(Prompter& ask, const std::string& title, const std::string& prompt, std::string& text, int mode,
                std::vector<std::string>* history, const std::vector<std::string>* registered = nullptr,
                int registeredKind = 2);

// ---- the selection ----------------------------------------------------------------

// The marked entries ("." and ".." never, even marked), else the cursor
// entry; empty only for an empty listing.
std::vector<std::size_t> Selection(const FileListModel& model);
std::vector<std::string> SelectionNames(const FileListModel& model);
// The cursor entry's name; empty for an empty listing.
std::string CursorName(const FileListModel& model);
// "マークファイルを" with marks, else the cursor name + "を".
std::string SubjectText(const FileListModel& model);
// "." or ".." would be the operand (the cursor entry with nothing marked, or
// with cursorOnly the cursor entry whatever is marked): refused with
// "カレントディレクトリ" or "親ディレクトリ" + what; true then.
bool RefuseDotEntry(const FileListModel& model, Prompter& ask, const char* what, bool cursorOnly = false);

// ---- marks ------------------------------------------------------------------------

// The size a marked directory counts.
using ContentSize = std::function<long long(const FindRecord&)>;
// The bytes below dir (ending in "\"), each file rounded up to the model's
// clusters; links to directories are not followed.
long long DirectoryContentSize(FileSystem& files, const std::string& dir, const FileListModel& model);
// Home: unmarks every entry when any is marked, else marks every file.
void MarkAllOrNone(FileListModel& model, const ContentSize& size);
// Marks from the cursor to the end (files only: directories skipped).
void MarkFromCursor(FileListModel& model, bool filesOnly, const ContentSize& size);
// Inverts every mark (files only: directories keep theirs).
void InvertMarks(FileListModel& model, bool filesOnly, const ContentSize& size);
// A click on entry index: without Shift it becomes the anchor; with Shift
// the range from the anchor is marked (without Ctrl every other mark goes
// first); Ctrl then toggles the entry itself.
void MarkByClick(FileListModel& model, long long index, bool shift, bool ctrl, const ContentSize& size);

// ---- listing ----------------------------------------------------------------------

// The drive bar's size texts.
struct DriveTexts {
    std::string total;
    std::string used;
    std::string freeSpace;
};
// "Total 1,234", "Used ...", "Free ..."; "---" for each when unknown.
DriveTexts DriveSpaceTexts(const DiskSpace& space);
// Lists dir (ending in "\") into model by the add rules, sets the cluster
// size and answers the disk's texts. The model is sorted by the caller.
DriveTexts ListDirectory(FileSystem& files, const std::string& dir, FileListModel& model,
                         const FileListModel::AddRules& rules, const DisplayOptions& options);

// ---- commands on the selection ----------------------------------------------------

// What copy or move of the selection came to.
enum class TransferOutcome {
    Cancelled,  // refused or no destination
    Duplicate,  // a copy onto the current directory: duplicate instead
    Rename,     // a move onto the current directory: rename instead
    Done,       // handed to the engine
};
// C and M: asks the destination (fromList: picked from the copy list),
// where "X" is drive X's root and, with FLAGDCD, "X:" the directory last
// used there, and copies or moves the selection with the engine.
TransferOutcome CopyOrMoveSelection(FilerContext& c, FileCopyEngine& engine, bool move, bool fromList);
// R: asks a new name for each selected entry and renames it, never over an
// existing one; a bad or failed name is said and the next one asked.
void RenameSelection(FilerContext& c);
// K: asks a directory name (relative to the current directory) and makes
// it with every missing level; true when one was made.
bool MakeDirectoryCommand(FilerContext& c);
// P: packs the selection into an archive named by the user; true when asked.
bool PackSelection(FilerContext& c, ArchiveService& archives);
// U: unpacks each selected archive into a directory asked of the user (empty:
// the current one), stopping at the first failure; true when asked.
bool UnpackSelection(FilerContext& c, ArchiveService& archives);

// ---- the listing's directory and mask ---------------------------------------------

// F: the mask text proposed: "*.*" while a mask is set, else the marked
// entries' extensions ("[*.C,*.H]"), else the cursor entry's ("*.TXT").
std::string ProposedMask(const Session& session, const FileListModel& model);
// F: asks the mask (fromList: picked from the find list) and sets it for
// today; false when cancelled.
bool AskAndSetMask(FilerContext& c, bool fromList, const LocalDate& today);
// L: the directory to change to, upper-cased, a bare letter made a drive
// ("C" is "C:"); nullopt when cancelled.
std::optional<std::string> AskDirectoryTarget(FilerContext& c, bool fromList);

// ---- shortcuts --------------------------------------------------------------------

// The directory a shortcut of name goes in, typed (listed: picked from the
// copy list and kept in the directory history) and ending in "\"; nullopt
// when cancelled or empty.
std::optional<std::string> AskShortcutDirectory(FilerContext& c, const std::string& name, bool listed);
// The link's file name, proposed as name + "へのｼｮｰﾄｶｯﾄ", ".LNK" added
// unless it has it; nullopt when cancelled.
std::optional<std::string> AskShortcutName(FilerContext& c, const std::string& dir, const std::string& name);

// ---- registrations ------------------------------------------------------------------

// Registers the current directory in the log list or the copy list under a
// key of one character (asked until it is one, or none: the next digit,
// or no key after "9"), and appends it to the settings file.
void RegisterDirectory(FilerContext& c, bool logList);
// Registers an alias: the source (the cursor file when withFile), its name
// (an existing one replaced after a Yes) and, when asked for, a start
// directory; the aliases are then saved. cursorFile: the cursor entry's
// full path.
void RegisterAlias(FilerContext& c, bool withFile, const std::string& cursorFile);
// The current directory becomes the home directory, in the settings file too.
void MakeHomeDirectory(Session& session);

}  // namespace kestrum
