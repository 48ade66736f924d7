// Path utilities of the file operations: name checks, directory tests and
// creation, full paths and the "same file" test, on any file system or the
// platform's. Shift-JIS aware throughout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/file_system.h"
// EndsWithBackslash, SlashesToBackslashes, Include/ExcludeTrailingBackslash.
#include "common/sjis.h"

namespace kestrum {

// ---- text only (path_utils.cpp, builds natively) ----

// True when the last character of s is ":" (a trail byte never counts).
bool EndsWithColon(std::string_view s);

// False when name holds any of / : \ * ? < > | or a double quote.
bool IsValidFileName(std::string_view name);
// What a rename says of a name that is not valid.
extern const char* const kBadNameMessage;

// True when path is dir itself or lies below it. Both are full paths; case
// is ignored for ASCII letters only and a trailing "\" on either is ignored.
bool IsSameOrInsidePath(std::string_view path, std::string_view dir);

// ---- through a file system (path_utils.cpp, builds natively) ----

// True when path (a "\" is appended when missing) is an existing directory.
bool DirExists(FileSystem& fs, std::string_view path);

// True when path names an existing file that is not a directory.
bool FileExists(FileSystem& fs, std::string_view path);

// Expands path to a full path and creates every missing level from the root
// down (a trailing "\" is ignored; paths of two characters or fewer are
// never created). Returns DirExists of the result.
bool ForceDirs(FileSystem& fs, std::string_view path);

// True when dir holds any entry other than "." and ".."; false also when
// it cannot be searched.
bool DirHasEntries(FileSystem& fs, std::string_view dir);

// True when a and b are the same file or directory: the same identity, or
// when either cannot be opened, the same long full path compared without
// regard to case.
bool SameFile(FileSystem& fs, std::string_view a, std::string_view b);

// True when path (which need not exist) is the directory dir or lies below
// it: by name, or by the identity of path or of a directory above it.
bool IsInsideDirectory(FileSystem& fs, std::string_view path, std::string_view dir);

// Renames from to to (full paths, one volume) without ever replacing an
// existing entry; a change of case alone names the same entry and goes
// through. False when it failed: from is then where it was.
bool RenameNoReplace(FileSystem& fs, const std::string& from, const std::string& to);

// ---- the same on the platform's file system (path_utils_win.cpp) ----

// The full path of path (relative to the current directory); empty when it
// cannot be formed.
std::string FullPathName(std::string_view path);
bool DirExists(std::string_view path);
bool FileExists(std::string_view path);
bool ForceDirs(std::string_view path);
bool DirHasEntries(std::string_view dir);
// The identity of path; nullopt when it cannot be opened.
std::optional<FileId> GetFileId(std::string_view path);
bool SameFile(std::string_view a, std::string_view b);
bool IsInsideDirectory(std::string_view path, std::string_view dir);

// Makes path full and without a trailing "\"; when it is not an existing
// directory asks (through the current prompter) whether to create it and
// does so. Returns false when the user declined or creation failed (which
// is reported). In every case path ends in "\" on return.
bool EnsureDirectory(std::string& path);

}  // namespace kestrum
