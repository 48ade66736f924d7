// Deletion through the platform's file operation: to the recycle bin or for
// good, with the optional treatment of directories by their contents.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kestrum {

// Sends files (names or wildcard patterns; each is made a full path first,
// as the platform keeps only fully qualified names in the recycle bin) to
// the recycle bin through the current ShellFileOp, with the platform's own
// confirmation. Returns 0 on success, 2 when the user aborted ("中断しました"
// is shown), else the platform's failure code.
//
// byContent (the setting DIRDELMODE): each directory is replaced by the
// file patterns of its tree (DirTreePatterns); when a directory holds no
// file anywhere the user is asked "削除します。よろしいですか？" first, since
// the platform asks nothing about it (Cancel: 0, nothing deleted). After a
// successful call the emptied directories are removed quietly; a file left
// in one stops that and is reported in an error box.
int DeleteToRecycleBin(const std::vector<std::string>& files, HWND owner, bool byContent);

// The same without the recycle bin.
int EraseFiles(const std::vector<std::string>& files, HWND owner, bool byContent);

}  // namespace kestrum
