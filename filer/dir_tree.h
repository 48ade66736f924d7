// The directory tree behind the directory picker: nodes loaded one level at a
// time from a file system's searches, the "???" placeholder that stands for levels
// not read yet, node paths, and the walk from a path to its node.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "config/action_table.h"
#include "filer/file_list.h"

namespace kestrum {

// The placeholder child: its text and the data it carries in the control.
inline constexpr char kPlaceholderText[] = "???";
inline constexpr int kPlaceholderData = -1;

enum class DirNodeKind { Drive, Directory, Placeholder };

struct DirNode {
    DirNodeKind kind = DirNodeKind::Directory;
    std::string text;           // "X:" for the drive, else the directory name
    int parent = -1;            // -1: a top-level node
    std::vector<int> children;  // in display order
    bool reparsePoint = false;  // a junction or link: shown, never searched
    bool removed = false;       // a placeholder that has been replaced
};

// Where a path was found in the tree.
struct DirLocation {
    int node = -1;            // node to select; -1 for none
    bool driveRoot = false;   // the path is the root "X:\" of the drive
    bool exact = false;       // node is the path itself (not only an ancestor)
    std::vector<int> chain;   // the nodes from the top down to node
};

// Directory tree of one drive. Node ids stay valid until the next Load.
class TDirTreeModel {
public:
    explicit TDirTreeModel(FileSystem& fs) : fs_(fs) {}

    // Clears the tree and reads the first level of drive (upper-cased):
    // under a root node "X:" with showDrive, else at top level.
    void Load(char drive, bool showDrive);
    // Empties the tree (no drive loaded).
    void Clear();

    char Drive() const { return drive_; }
    bool ShowDrive() const { return showDrive_; }
    // The root node "X:" with ShowDrive, else -1.
    int Root() const { return root_; }
    const std::vector<int>& TopLevel() const { return top_; }
    const DirNode& Node(int id) const { return nodes_.at(static_cast<std::size_t>(id)); }
    // Children of id, or the top-level nodes for -1.
    const std::vector<int>& Children(int id) const;

    // True when the first child of id is the placeholder.
    bool HasPlaceholder(int id) const;
    // Replaces the placeholder of id by its real subdirectories (read now);
    // false when there was no placeholder.
    bool Expand(int id);
    // Adds one node per subdirectory of path (sorted, ignoring case) under
    // parent (-1: top level), each with a placeholder when it has
    // subdirectories itself. Returns the count added.
    int AddSubdirectories(int parent, const std::string& path);

    // "X:" for the drive node; otherwise "X:" and each level's text after
    // a "\" (C:\WORK\SRC).
    std::string PathOf(int id) const;
    // Finds dir ("C:\WORK\SRC", any case, trailing "\" or not), reading the
    // levels on the way. A path on another drive finds nothing; a path whose
    // tail is missing finds the deepest directory that exists.
    DirLocation Locate(std::string_view dir);

private:
    int AddNode(DirNodeKind kind, std::string text, int parent);
    bool HasSubdirectory(const std::string& path);

    FileSystem& fs_;
    char drive_ = 0;
    bool showDrive_ = false;
    int root_ = -1;
    std::vector<DirNode> nodes_;
    std::vector<int> top_;
};

// Search pattern of every entry of dir: dir + "\*.*" without a doubled "\".
std::string SearchPattern(std::string_view dir);
// Directory whose files the picker lists for a tree path ("X:" gets "\").
std::string ListingDir(std::string_view path);
// The files (no directories) of the directory a tree path shows, sorted by
// their names with ASCII case ignored; none when it cannot be read.
std::vector<std::string> FilesShown(FileSystem& fs, std::string_view path);
// Directory the picker hands back for a tree path: a bare drive "X:" is
// made its root "X:\" so that it never means the drive's current directory.
std::string PickedDir(std::string_view path);
// Drive letter of a path ("c:\x" gives 'C'); 0 when it has none.
char DriveOfPath(std::string_view path);

// Keys of the tree. Action ids the tree honours from the filer's key map.
inline constexpr int kActionAskDrive = FilerActionCode::ChangeDirectory;
inline constexpr int kActionDriveA = kDriveActionFirst;
inline constexpr int kActionDriveZ = kDriveActionFirst + 25;
// Keypad digits (VK_NUMPAD0-9) become the digit keys '0'-'9'.
int KeypadToDigit(int vk);
// Drive letter of a drive action (400 is A:); 0 for other ids.
char DriveOfAction(int action);
// Drive letter typed in the drive question: the first character, upper-
// cased; 0 when it is no letter.
char DriveOfAnswer(std::string_view answer);

}  // namespace kestrum
