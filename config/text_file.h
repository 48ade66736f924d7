// Reading and writing the program's Shift-JIS text files as lists of lines,
// and the comment rule of the settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// Splits at CR LF, LF or a lone CR. A final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view bytes);
// Joins with CR LF after every line.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Whole file as bytes; nullopt when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Writes the bytes through a temporary file beside the target that then
// replaces it, so a failed write leaves the old file whole.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// The marker line that makes ";" an ordinary character in the settings file.
inline constexpr std::string_view kCfgMarker = "[CFG Ver1.1]";

// The line cut at its first ";" unless semicolonMode is on.
std::string CutComment(std::string_view line, bool semicolonMode);
// Comment cut, trimmed and upper-cased (ASCII only): the form in which the
// settings loader and writer compare lines.
std::string NormalizeLine(std::string_view line, bool semicolonMode);

// True for the headers of the sections the program knows (in normalised form).
// A known header also ends the section before it when that one has no [END].
bool IsKnownSectionHeader(std::string_view normalized);

}  // namespace kestrum
