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

// What reading a whole file found. Only a file that does not exist is
// Missing; one that exists but cannot be opened or read to its end (locked,
// no permission, a read error) is Unreadable and must never be taken for an
// empty one.
enum class FileState { Read, Missing, Unreadable };
struct FileContents {
    FileState state = FileState::Missing;
    std::string bytes;  // the whole file when Read
};
FileContents ReadWholeFile(const std::string& path);
// Whole file as bytes; nullopt when it is missing or unreadable.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Result of writing a whole file.
enum class SaveResult { Saved, Unreadable, Failed };
// Replaces the file with bytes in one step: a temporary file beside it is
// written and flushed to the disk, then takes its place. Failed leaves the
// old file as it was. A file that exists but cannot be read is not written
// (Unreadable): what the program holds of it is not what it holds.
SaveResult SaveFileBytes(const std::string& path, std::string_view bytes);
// The temporary file a save writes first.
std::string SaveTempPath(const std::string& path);

// The message for a save that did not happen; what names the kind of file
// ("設定ファイル"). Empty for Saved.
std::string SaveFailureText(SaveResult result, std::string_view what, const std::string& path);
// Shows that message once through the current prompter; true when saved.
bool ReportSave(SaveResult result, std::string_view what, const std::string& path);

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
// True for a normalised line shaped like a section header: "[" NAME "]" with
// a non-empty NAME that holds no bracket ("[MYSECTION]", "[CFG VER1.1]").
bool LooksLikeSectionHeader(std::string_view normalized);
// True for a list entry that would read back as a section header with or
// without the semicolon option (a typed "[END]", "[A];"): such an entry
// would end its section and cut off the entries after it, so a history
// neither keeps nor stores one.
bool ReadsAsSectionHeader(std::string_view entry);

// Where the section whose header is lines[header] ends: end is the index of
// its "[END]" line (hasEnd) or of the first line after its last one. A
// section without "[END]" ends before a known header, and before any line
// shaped like a header, so that it never takes in a section that follows;
// in "[FUNCTION]" a bracketed title without a command counts as an entry
// until the twelve keys are read, unless it reads as the marker line.
struct SectionExtent {
    std::size_t end = 0;
    bool hasEnd = false;
};
SectionExtent FindSectionExtent(const std::vector<std::string>& lines, std::size_t header, bool semicolonMode);
// The same over lines already in normalised form.
SectionExtent FindSectionExtentNormalized(const std::vector<std::string>& normalized, std::size_t header);

}  // namespace kestrum
