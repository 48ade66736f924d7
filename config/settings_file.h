// TSettingsFile: edits the settings file as a list of lines and saves it,
// so that every line it does not touch (unknown sections and keys, comments,
// blank lines) survives. One instance per write operation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class TSettingsFile {
public:
    // Loads every line of the file (a missing file gives no lines). Lines
    // are compared with comments cut at ";" unless semicolonMode is on or
    // the file holds the marker line.
    explicit TSettingsFile(std::string path, bool semicolonMode = false);
    // Builds from lines in memory (no path); Save then fails.
    static TSettingsFile FromLines(std::vector<std::string> lines, bool semicolonMode = false);

    bool Save() const;
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string>& MutableLines() { return lines_; }

    // Section name without brackets; the list replaces the section's lines.
    void WriteListSection(std::string_view name, const std::vector<std::string>& lines);
    // key=value in [section].
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
    std::string Normalize(std::string_view line) const;
    std::size_t FindHeader(const std::string& header) const;
    void WriteKey(std::string_view header, std::string_view key, std::string_view line, char sep);

    std::string path_;
    std::vector<std::string> lines_;
    bool semicolonMode_ = false;
};

}  // namespace kestrum
