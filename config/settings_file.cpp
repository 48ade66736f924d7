// TSettingsFile: in-place rewriting of keys and list sections.
#include "config/settings_file.h"

#include "common/sjis.h"

namespace kestrum {

namespace {
bool HasMarker(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) {
        if (l == kCfgMarker) return true;
    }
    return false;
}

std::ptrdiff_t At(std::size_t i) { return static_cast<std::ptrdiff_t>(i); }
}  // namespace

TSettingsFile::TSettingsFile(std::string path, bool semicolonMode) : path_(std::move(path)) {
    FileContents c = ReadWholeFile(path_);
    state_ = c.state;
    if (c.state == FileState::Read) lines_ = SplitLines(c.bytes);
    semicolonMode_ = semicolonMode || HasMarker(lines_);
}

TSettingsFile TSettingsFile::FromLines(std::vector<std::string> lines, bool semicolonMode) {
    TSettingsFile f;
    f.lines_ = std::move(lines);
    f.semicolonMode_ = semicolonMode || HasMarker(f.lines_);
    return f;
}

SaveResult TSettingsFile::Commit() const {
    if (path_.empty()) return SaveResult::Failed;
    if (state_ == FileState::Unreadable) return SaveResult::Unreadable;
    return SaveFileBytes(path_, JoinLinesCrLf(lines_));
}

bool TSettingsFile::SaveOrSay() const { return ReportSave(Commit(), "設定ファイル", path_); }

std::vector<std::string>& TSettingsFile::MutableLines() {
    normValid_ = false;
    return lines_;
}

// ---- the lines and their normalised form, kept side by side ----

const std::vector<std::string>& TSettingsFile::Norm() const {
    if (!normValid_) {
        norm_.clear();
        norm_.reserve(lines_.size());
        for (const std::string& l : lines_) norm_.push_back(NormalizeLine(l, semicolonMode_));
        normValid_ = true;
    }
    return norm_;
}

void TSettingsFile::Insert(std::size_t pos, std::vector<std::string> lines) {
    Norm();
    std::vector<std::string> norm;
    for (const std::string& l : lines) norm.push_back(NormalizeLine(l, semicolonMode_));
    lines_.insert(lines_.begin() + At(pos), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    norm_.insert(norm_.begin() + At(pos), std::make_move_iterator(norm.begin()), std::make_move_iterator(norm.end()));
}

void TSettingsFile::Erase(std::size_t from, std::size_t to) {
    Norm();
    lines_.erase(lines_.begin() + At(from), lines_.begin() + At(to));
    norm_.erase(norm_.begin() + At(from), norm_.begin() + At(to));
}

void TSettingsFile::Replace(std::size_t pos, std::string line) {
    Norm();
    norm_[pos] = NormalizeLine(line, semicolonMode_);
    lines_[pos] = std::move(line);
}

std::size_t TSettingsFile::FindHeader(const std::string& header, std::size_t from) const {
    const std::vector<std::string>& norm = Norm();
    for (std::size_t i = from; i < norm.size(); ++i) {
        if (norm[i] == header) return i;
    }
    return norm.size();
}

SectionExtent TSettingsFile::Extent(std::size_t header) const { return FindSectionExtentNormalized(Norm(), header); }

std::size_t TSettingsFile::CloseSection(std::size_t header) {
    const SectionExtent e = Extent(header);
    // A section that lost its [END] is closed where it ends, never inside
    // the section that follows.
    if (!e.hasEnd) Insert(e.end, {"[END]"});
    return e.end;
}

bool TSettingsFile::HasKey(std::size_t line, const std::string& keyU, char sep) const {
    const std::string& n = Norm()[line];
    // The line is trimmed already: only blanks before sep can follow the key.
    if (n.size() <= keyU.size() || n.compare(0, keyU.size(), keyU) != 0) return false;
    const std::size_t p = FindChar(n, sep);
    return p != std::string::npos && p >= keyU.size() && Trim(std::string_view(n).substr(keyU.size(), p - keyU.size())).empty();
}

// ---- writing ----

void TSettingsFile::WriteKey(std::string_view header, std::string_view key, std::string_view line, char sep) {
    const std::string hdr = UpperAscii(Trim(header));
    const std::string keyU = UpperAscii(Trim(key));
    const std::size_t h = FindHeader(hdr);
    if (h == lines_.size()) {
        Insert(lines_.size(), {std::string(), hdr, std::string(line), "[END]"});
        return;
    }
    const SectionExtent e = Extent(h);
    // key=value lines are read back under the profile rules, where any line
    // that opens with "[" starts another section: the key is looked for,
    // and a new one put, above the first such line.
    std::size_t end = h + 1;
    while (end < e.end && !(sep == '=' && Norm()[end].starts_with('['))) ++end;
    std::size_t j = h + 1;
    while (j < end && !HasKey(j, keyU, sep)) ++j;
    if (j < end) {
        Replace(j, std::string(line));
    } else {
        j = end < e.end ? end : CloseSection(h);
        Insert(j, {std::string(line)});
    }
    // The same key further on in this section, or in a later section of
    // this name, would be read after this line and win: it goes.
    for (std::size_t k = h; k < lines_.size(); k = FindHeader(hdr, k + 1)) {
        const SectionExtent d = Extent(k);
        for (std::size_t i = d.end; i-- > k + 1;) {
            if (i != j && HasKey(i, keyU, sep)) {
                Erase(i, i + 1);
                if (i < j) --j;
            }
        }
    }
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
    std::vector<std::string> block(list);
    if (h == lines_.size()) {
        block.insert(block.begin(), {std::string(), hdr});
        block.push_back("[END]");
        Insert(lines_.size(), std::move(block));
        return;
    }
    const SectionExtent e = Extent(h);
    Erase(h + 1, e.end);
    if (!e.hasEnd) block.push_back("[END]");
    Insert(h + 1, std::move(block));
    // A second section of the same name was read into the same list, which
    // is now written above: its entries would come back again at every load
    // and save. It is emptied; its header and "[END]" stay, so that the
    // sections around it keep their bounds.
    for (std::size_t k = FindHeader(hdr, h + 1 + list.size()); k < lines_.size(); k = FindHeader(hdr, k + 1)) {
        const SectionExtent d = Extent(k);
        Erase(k + 1, d.end);
        if (!d.hasEnd) Insert(k + 1, {"[END]"});
    }
}

void TSettingsFile::AppendListLine(std::string_view header, std::string_view line) {
    const std::size_t h = FindHeader(UpperAscii(Trim(header)));
    if (h == lines_.size()) {
        Insert(lines_.size(), {std::string(), std::string(header), std::string(line), "[END]"});
        return;
    }
    Insert(CloseSection(h), {std::string(line)});
}

void TSettingsFile::InsertMarker() {
    if (!lines_.empty() && lines_.front() == kCfgMarker) return;
    lines_.insert(lines_.begin(), std::string(kCfgMarker));
    semicolonMode_ = true;
    normValid_ = false;
}

}  // namespace kestrum
