// Reader for the window-geometry sections ([FORM_LS], [LVIEW], [TVIEW]) under
// the platform's profile rules: key=value, section and key names compared
// without regard to case, the first matching section and key win. One
// exception keeps what the program writes readable: a header the settings
// file's writer would find ("[FORM_LS]" as a line of its own) is preferred
// to an earlier one that only the profile rules read as the same section
// ("[ form_ls ]", "[FORM_LS] window", "[FORM_LS"), under which nothing is
// ever written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class ProfileReader {
public:
    ProfileReader() = default;
    // semicolonMode: the mode the settings file's writer works in (the
    // marker in the file sets it too), so that headers are found alike.
    explicit ProfileReader(const std::vector<std::string>& lines, bool semicolonMode = false);
    // A missing file reads as empty: every lookup gives its default.
    static ProfileReader FromFile(const std::string& path, bool semicolonMode = false);

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // A value that is not a whole number gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

private:
    struct Entry {
        int index;            // which header it follows
        std::string section;  // upper case
        std::string key;      // upper case
        std::string value;
    };
    std::vector<Entry> entries_;
    std::vector<std::string> headers_;  // each header line, normalised as the writer sees it
};

}  // namespace kestrum
