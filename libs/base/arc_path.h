// Names inside archives: Shift-JIS aware separator handling, the safety
// check every member name passes before anything is written, wildcard
// matching and the command-line word splitter shared by the libraries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::arc {

// Longest path the platform opens with the ANSI calls (MAX_PATH less the NUL).
constexpr std::size_t kMaxPath = 259;
constexpr std::size_t kMaxComponent = 255;

// Length of the Shift-JIS character at pos (1 or 2 bytes).
std::size_t SjisCharLen(std::string_view s, std::size_t pos);

// Every single-byte "/" becomes "\" (a trail byte 0x5C stays what it is).
std::string ToBackslashes(std::string_view s);
// Every single-byte "\" becomes "/".
std::string ToSlashes(std::string_view s);
// Position after the last single-byte "\" or "/" (0 when none).
std::size_t NameStart(std::string_view path);
// True when the text ends in a single-byte "\" or "/".
bool EndsWithSeparator(std::string_view path);

// The result of checking a member name: a relative path with "\"
// separators that stays under the target directory, or why it was refused.
struct MemberPath {
    bool ok = false;
    std::string path;    // "dir\sub\name"; empty for the archive's root
    std::string reason;  // Shift-JIS text for the listing output
};

// Checks a stored name. Separators are "/" and "\" (single-byte only);
// "." components are dropped. Refused: ".." components, names with a drive
// letter, a leading separator or a UNC start (unless stripRoot, which drops
// them as the -jf0 switch asks), ":" anywhere (streams), control characters,
// <>"|?*, device names (CON, NUL, COM1 ...), components ending in a dot or
// blank, and components over 255 bytes.
MemberPath CheckMemberPath(std::string_view raw, bool stripRoot);

// The refusal text for a name whose full path would be too long.
std::string LongNameReason();

// Case-insensitive wildcard match ("*", "?"), character by character;
// "*.*" matches every name, with or without a dot.
bool MatchWild(std::string_view pattern, std::string_view name);

// A member is selected when no patterns were given, or one of them
// matches its whole path, its name alone (for a pattern without a
// directory), or is a directory prefix of it ("dir\" or "dir/").
bool SelectedByPatterns(const std::vector<std::string>& patterns, std::string_view name);

// Splits a command line into words: blanks separate, double quotes group
// and are removed.
std::vector<std::string> SplitArgs(std::string_view line);

// A file name a caller may have put in double quotes (OpenArchive's),
// without them.
std::string Unquoted(std::string_view name);

// The words of a response file: one name a line, each line split like a
// command line (so a quoted name may hold blanks); CR LF or LF line ends.
std::vector<std::string> SplitResponseFile(std::string_view text);

}  // namespace kestrum::arc
