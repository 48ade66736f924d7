// ProfileReader.
#include "config/profile.h"

#include "common/sjis.h"
#include "config/settings_loader.h"
#include "config/text_file.h"

namespace kestrum {

ProfileReader::ProfileReader(const std::vector<std::string>& lines, bool semicolonMode) {
    for (const std::string& l : lines) semicolonMode = semicolonMode || l == kCfgMarker;
    std::string section;
    int index = -1;
    for (const std::string& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const std::size_t close = FindChar(line, ']');
            section = UpperAscii(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            ++index;
            headers_.push_back(NormalizeLine(raw, semicolonMode));
            continue;
        }
        if (index < 0) continue;
        const std::size_t eq = FindChar(line, '=');
        if (eq == std::string::npos) continue;
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\''))) {
            value = value.substr(1, value.size() - 2);
        }
        entries_.push_back({index, section, UpperAscii(Trim(line.substr(0, eq))), value});
    }
}

ProfileReader ProfileReader::FromFile(const std::string& path, bool semicolonMode) {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    return bytes ? ProfileReader(SplitLines(*bytes), semicolonMode) : ProfileReader();
}

std::optional<std::string> ProfileReader::Find(std::string_view section, std::string_view key) const {
    const std::string s = UpperAscii(section);
    const std::string k = UpperAscii(key);
    // Only one section of a name counts: the first the writer would find,
    // else the first the platform's reader would.
    const std::string written = "[" + s + "]";
    int chosen = -1;
    for (std::size_t i = 0; i < headers_.size() && chosen < 0; ++i) {
        if (headers_[i] == written) chosen = static_cast<int>(i);
    }
    for (const Entry& e : entries_) {
        if (e.section != s) continue;
        if (chosen < 0) chosen = e.index;
        if (e.index == chosen && e.key == k) return e.value;
    }
    return std::nullopt;
}

std::string ProfileReader::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const std::optional<std::string> v = Find(section, key);
    return v ? *v : std::string(def);
}

int ProfileReader::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::optional<std::string> v = Find(section, key);
    if (!v) return def;
    return ParseInt(*v).value_or(def);
}

}  // namespace kestrum
