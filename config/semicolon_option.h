// The settings dialog's option "；を連続実行の区切り文字とする": once on, ";"
// separates commands and no longer starts a comment in the settings file,
// so the file gets the marker line and, if the user agrees, its comments
// are cut away.
#pragma once

#include <string>
#include <vector>

#include "config/settings.h"

namespace kestrum {

inline constexpr const char* kSemicolonQuestion =
    "；を連続実行の区切り文字とするとＣＦＧを直接編集する際に\r\nコメントを書く事が出来なくなります。よろしいですか？";
inline constexpr const char* kCutCommentQuestion =
    "現在ＣＦＧでは；がコメントの記号として使われているかもしれません。\r\n"
    "誤動作を防ぐためにＣＦＧ内の；以降をすべてカットしますか？";

// Cuts every line at its first ";" and deletes the lines the cut left empty
// (blank). Lines that were empty before stay, and no line of [内部コマンド]
// is deleted: its lines count positions. The marker line is kept as it is.
void CutCfgComments(std::vector<std::string>& lines);

// What became of the check box after it was ticked.
struct SemicolonOutcome {
    bool ticked = false;    // the box stays ticked
    bool disabled = false;  // the box can no longer be changed
};

// Asks the two questions through the current prompter and rewrites the
// settings file at settingsPath: the marker as first line, then, when the
// user agrees and CUTCOMMENT is not yet set, the comments cut. Sets the
// running semicolon mode once the marker is in the file, and CUTCOMMENT
// after the cut. A file that cannot be written is reported and leaves the
// box as it was before the tick.
SemicolonOutcome TurnOnSemicolonOption(const std::string& settingsPath, Settings& s);

}  // namespace kestrum
