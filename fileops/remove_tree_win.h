// Removal of a directory tree, and the file patterns of a tree that
// deletion by content hands to the platform, on the platform's file system
// (the walks are in remove_tree.h).
#pragma once

#include <string>
#include <vector>

#include "fileops/remove_tree.h"

namespace kestrum {

// Removes the directory path with everything below it; true when the
// directory itself was removed.
//  verbose (the REMOVEDIR command): files are deleted, and a path with a
//    wildcard, a file or a missing directory is refused with a message.
//  quiet (the clean-up after deletion): the same refusals say nothing, and
//    a file anywhere in the tree stops the removal with RemoveTreeStopped
//    (directories emptied so far stay removed).
// A directory that is a junction or other reparse point is never entered:
// the link itself is removed. The process's current directory is the same
// afterwards, unless it was inside the removed tree (then the nearest
// directory above the tree that still exists).
bool RemoveTree(const std::string& path, bool verbose = true);

// The file patterns of the tree under dir (a trailing "\" ignored): those
// of each subdirectory in search order, then dir + "\*" when dir holds a
// file. A tree without files gives none; a path that is not a directory
// gives itself. Reparse points are not entered (a linked directory adds
// nothing; the clean-up removes the link).
std::vector<std::string> DirTreePatterns(const std::string& dir);

}  // namespace kestrum
