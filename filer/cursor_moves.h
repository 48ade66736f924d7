// The filer's cursor keys and paging keys on the listing model.
#pragma once

#include "filer/file_list.h"

namespace kestrum {

struct CursorSettings {
    bool cursorMode = true;      // pages turn at the top and bottom edges
    bool cursorLoop = true;      // wrap between the first and the last entry
    bool cursorKeyMode = false;  // Left/Right turn pages at the first/last column
    bool cursorKeyMode2 = true;  // keep the row when Left/Right turn a page
};

// Each returns true when the page changed (the whole grid needs drawing).
bool MoveDown(FileListModel& m, const CursorSettings& s);
bool MoveUp(FileListModel& m, const CursorSettings& s);
bool MoveLeft(FileListModel& m, const CursorSettings& s);
bool MoveRight(FileListModel& m, const CursorSettings& s);
bool PageUpKey(FileListModel& m);
bool PageDownKey(FileListModel& m);

// Ctrl + letter: the next entry after the cursor (wrapping to entry 0)
// whose name starts with the letter; -1 when none.
long long FindByInitial(const FileListModel& m, char letter);

}  // namespace kestrum
