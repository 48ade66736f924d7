// Removal of a directory tree over a file system, and the file patterns of
// a tree that deletion by content hands to the platform.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/prompter.h"

namespace kestrum {

// Raised by a quiet RemoveTree that meets a file; the text is the one the
// user sees in the error box.
class RemoveTreeStopped : public std::runtime_error {
public:
    RemoveTreeStopped();
};

// Called with each directory just before it is removed (the platform cannot
// remove the current directory: the caller steps out of it).
using BeforeRemovingDir = std::function<void(const std::string& dir)>;

// Removes the directory path (made full by fs) with everything below it;
// true when the directory itself was removed.
//  verbose (the REMOVEDIR command): files are deleted, and a path with a
//    wildcard, a file or a missing directory is refused with a message
//    through prompter.
//  quiet (the clean-up after deletion): the same refusals say nothing, and
//    a file anywhere in the tree stops the removal with RemoveTreeStopped
//    (directories emptied so far stay removed).
// A directory that is a junction or other reparse point is never entered:
// the link itself is removed. Verbose, a tree that could not be removed
// whole (a file or directory that stayed) is reported.
bool RemoveTree(FileSystem& fs, Prompter& prompter, const std::string& path, bool verbose,
                const BeforeRemovingDir& beforeRemoving = {});

// The file patterns of the tree under dir (a trailing "\" ignored): those
// of each subdirectory in search order, then dir + "\*" when dir holds a
// file. A tree without files gives none; a path that is not a directory
// gives itself. Reparse points are not entered (a linked directory adds
// nothing; the clean-up removes the link).
std::vector<std::string> DirTreePatterns(FileSystem& fs, const std::string& dir);

}  // namespace kestrum
