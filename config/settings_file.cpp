// TSettingsFile: in-place rewriting of keys and list sections.
#include "config/settings_file.h"

#include "common/sjis.h"
#include "config/text_file.h"

namespace kestrum {

namespace {
bool HasMarker(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) {
        if (l == kCfgMarker) return true;
    }
    return false;
}
}  // namespace

TSettingsFile::TSettingsFile(std::string path, bool semicolonMode) : path_(std::move(path)) {
    if (auto bytes = ReadFileBytes(path_)) lines_ = SplitLines(*bytes);
    semicolonMode_ = semicolonMode || HasMarker(lines_);
}

TSettingsFile TSettingsFile::FromLines(std::vector<std::string> lines, bool semicolonMode) {
    TSettingsFile f;
    f.lines_ = std::move(lines);
    f.semicolonMode_ = semicolonMode || HasMarker(f.lines_);
    return f;
}

bool TSettingsFile::Save() const {
    if (path_.empty()) return false;
    return WriteFileBytes(path_, JoinLinesCrLf(lines_));
}

std::string TSettingsFile::Normalize(std::string_view line) const {
    return NormalizeLine(line, semicolonMode_);
}

std::size_t TSettingsFile::FindHeader(const std::string& header) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (Normalize(lines_[i]) == header) return i;
    }
    return lines_.size();
}

void TSettingsFile::WriteKey(std::string_view header, std::string_view key, std::string_view line, char sep) {
    const std::string hdr = UpperAscii(Trim(header));
    const std::string keyU = UpperAscii(Trim(key));
    const std::size_t h = FindHeader(hdr);
    if (h == lines_.size()) {
        lines_.insert(lines_.end(), {std::string(), hdr, std::string(line), "[END]"});
        return;
    }
    for (std::size_t j = h + 1; j < lines_.size(); ++j) {
        const std::string n = Normalize(lines_[j]);
        if (n == "[END]") {
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(j), std::string(line));
            return;
        }
        if (IsKnownSectionHeader(n)) {
            // The section lost its [END]: close it here rather than write
            // into the next section.
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(j), {std::string(line), "[END]"});
            return;
        }
        const std::size_t p = FindChar(n, sep);
        if (p != std::string::npos && Trim(n.substr(0, p)) == keyU) {
            lines_[j] = std::string(line);
            return;
        }
    }
    lines_.push_back(std::string(line));
    lines_.push_back("[END]");
}

void TSettingsFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + std::string(value);
    WriteKey("[" + std::string(section) + "]", key, line, '=');
}

void TSettingsFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void TSettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

void TSettingsFile::WriteLine(std::string_view header, std::string_view key, std::string_view line) {
    WriteKey(header, key, line, ',');
}

void TSettingsFile::WriteListSection(std::string_view name, const std::vector<std::string>& list) {
    const std::string hdr = "[" + UpperAscii(Trim(name)) + "]";
    const std::size_t h = FindHeader(hdr);
    if (h == lines_.size()) {
        lines_.push_back(std::string());
        lines_.push_back(hdr);
        lines_.insert(lines_.end(), list.begin(), list.end());
        lines_.push_back("[END]");
        return;
    }
    std::size_t j = h + 1;
    bool hasEnd = false;
    for (; j < lines_.size(); ++j) {
        const std::string n = Normalize(lines_[j]);
        if (n == "[END]") {
            hasEnd = true;
            break;
        }
        if (IsKnownSectionHeader(n)) break;
    }
    auto first = lines_.begin() + static_cast<std::ptrdiff_t>(h + 1);
    auto last = lines_.begin() + static_cast<std::ptrdiff_t>(j);
    auto pos = lines_.erase(first, last);
    pos = lines_.insert(pos, list.begin(), list.end());
    if (!hasEnd) lines_.insert(pos + static_cast<std::ptrdiff_t>(list.size()), "[END]");
}

void TSettingsFile::InsertMarker() {
    if (!lines_.empty() && lines_.front() == kCfgMarker) return;
    lines_.insert(lines_.begin(), std::string(kCfgMarker));
    semicolonMode_ = true;
}

}  // namespace kestrum
