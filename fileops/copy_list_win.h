// The list copy and move (one platform call for a list of sources, the
// platform settling collisions) and the single copy with an overwrite prompt.
#pragma once

#include <windows.h>

#include <string_view>

namespace kestrum {

class TFileCopy;

// Result codes of the file operations.
enum CopyResult : int { crOk = 0, crAborted = 2, crNoDestination = 255 };

// Copies / moves the sources (full paths separated by NUL bytes) into the
// directory destDir, asking to create it when missing. Returns 0, 2 when the
// user aborted, 255 when the destination could not be provided, else the
// platform's result; any nonzero outcome is reported.
int CopyListTo(std::string_view sources, std::string_view destDir, HWND owner);
int MoveListTo(std::string_view sources, std::string_view destDir, HWND owner);

// Copies source to dest, asking before replacing an existing file. A source
// directory has its content merged into dest by engine (a temporary engine
// with the collision dialog when null). Returns the codes of CopyListTo; a
// dest that is the source itself is refused (255).
int CopyPath(std::string_view source, std::string_view dest, HWND owner, TFileCopy* engine = nullptr);

}  // namespace kestrum
