// The archive subsystem as the others reach it (ArchiveService), and the
// read-only box that shows a library's output when there is no text viewer.
#pragma once

#include <windows.h>

#include <string>

#include "config/services.h"

namespace kestrum {

class ArchiverHost;

class TfrmLZHV;

// The service over the program's libraries.
ArchiveService& TheArchiveService();
// The viewer LVIEW shows (null: none).
void AttachArchiveViewer(TfrmLZHV* viewer);

// Shows text in a read-only box titled title (made on first use, reused,
// not modal); the box's window, for tests.
HWND ShowOutputBox(const std::string& title, const std::string& text);

// Shows a library's output: in the text viewer, or else in the box.
void ShowLibraryOutput(const std::string& title, const std::string& text);

}  // namespace kestrum
