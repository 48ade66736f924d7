// Reader for the window-geometry sections ([FORM_LS], [LVIEW], [TVIEW]) under
// the platform's profile rules: key=value, section and key names compared
// without regard to case, the first matching section and key win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class ProfileReader {
public:
    ProfileReader() = default;
    explicit ProfileReader(const std::vector<std::string>& lines);
    // A missing file reads as empty: every lookup gives its default.
    static ProfileReader FromFile(const std::string& path);

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
};

}  // namespace kestrum
