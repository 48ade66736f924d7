// TSettingsFile: edits the settings file as a list of lines and saves it,
// so that every line it does not touch (unknown sections and keys, comments,
// blank lines) survives. One instance per write operation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/text_file.h"

namespace kestrum {

class TSettingsFile {
public:
    // Loads every line of the file (a missing file gives no lines). Lines
    // are compared with comments cut at ";" unless semicolonMode is on or
    // the file holds the marker line. A file that exists but cannot be read
    // gives no lines either, and then is never saved over.
    explicit TSettingsFile(std::string path, bool semicolonMode = false);
    // Builds from lines in memory (no path); Save then fails.
    static TSettingsFile FromLines(std::vector<std::string> lines, bool semicolonMode = false);

    // Replaces the file in one step (see SaveFileBytes); Unreadable when the
    // file could not be read when this object was made.
    SaveResult Commit() const;
    bool Save() const { return Commit() == SaveResult::Saved; }
    // Save, and on failure one message through the prompter saying why.
    bool SaveOrSay() const;
    // What reading the file found.
    FileState State() const { return state_; }
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines to change by hand; take them again after any write below.
    std::vector<std::string>& MutableLines();

    // Section name without brackets; the list replaces the section's lines.
    // Later sections of the same name are emptied (their entries were read
    // into the same list).
    void WriteListSection(std::string_view name, const std::vector<std::string>& lines);
    // Adds one line at the end of a list section, before its "[END]". A
    // missing section is appended as an empty line, header as spelled, the
    // line and "[END]".
    void AppendListLine(std::string_view header, std::string_view line);
    // key=value in [section], above any line of the section that opens with
    // "[" (the profile rules end the section there). Any other line of that
    // key in the section, or in a later section of its name, goes: it would
    // be read after this one.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, long long value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // A ready-made line for key in the section with the bracketed header
    // (the "KEY, value" lines of [環境変数]).
    void WriteLine(std::string_view header, std::string_view key, std::string_view line);

    // Inserts the marker as the first line (once).
    void InsertMarker();

private:
    TSettingsFile() = default;
    // Every change of the lines goes through these, which keep the
    // normalised lines (comment cut, trimmed, upper-cased) beside them.
    const std::vector<std::string>& Norm() const;
    void Insert(std::size_t pos, std::vector<std::string> lines);
    void Erase(std::size_t from, std::size_t to);
    void Replace(std::size_t pos, std::string line);
    std::size_t FindHeader(const std::string& header, std::size_t from = 0) const;
    SectionExtent Extent(std::size_t header) const;
    // Inserts "[END]" at the end of a section that has none; returns the
    // index of its "[END]" line.
    std::size_t CloseSection(std::size_t header);
    bool HasKey(std::size_t line, const std::string& keyU, char sep) const;
    void WriteKey(std::string_view header, std::string_view key, std::string_view line, char sep);

    std::string path_;
    std::vector<std::string> lines_;
    bool semicolonMode_ = false;
    FileState state_ = FileState::Missing;
    mutable std::vector<std::string> norm_;
    mutable bool normValid_ = false;
};

}  // namespace kestrum
