// The filer's listing model.
#include "filer/file_list.h"

#include <algorithm>
#include <cstdio>

#include "common/sjis.h"
#include "common/wildmatch.h"

namespace kestrum {

namespace {

// The longest prefix of at most n bytes that ends on a character boundary.
std::string CutBytes(const std::string& s, long long n) {
    if (n <= 0) return {};
    if (static_cast<std::size_t>(n) >= s.size()) return s;
    std::size_t end = 0;
    while (end < s.size()) {
        const std::size_t next = NextChar(s, end);
        if (next > static_cast<std::size_t>(n)) break;
        end = next;
    }
    return s.substr(0, end);
}

std::string PadRight(std::string s, long long width) {
    if (width > 0 && s.size() < static_cast<std::size_t>(width)) s.append(static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

}  // namespace

std::string NameText(const FindRecord& f, const DisplayOptions& o) {
    std::string t = f.IsDirectory() && o.folderStyle ? " <" + f.name + ">" : " " + f.name;
    if (o.fileNameStyle == 1) t = UpperAscii(t);
    if (o.fileNameStyle == 2) t = LowerAscii(t);
    return t;
}

std::string SizeDateText(const FindRecord& f, const DisplayOptions& o) {
    char buf[64];
    std::string t;
    if (!f.IsDirectory()) {
        std::snprintf(buf, sizeof buf, "%9llu ", static_cast<unsigned long long>(f.size));
        t = buf;
    }
    LocalDate d;
    int minute = 0;
    if (o.localTime) d = o.localTime(f.lastWriteTime, &minute);
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d", ((d.year % 100) + 100) % 100, d.month % 100,
                  d.day % 100, d.hour % 100, minute % 100);
    return t + buf;
}

std::string ListText(const FindRecord& f, const DisplayOptions& o) {
    const long long w = o.columnChars;
    const std::string name = NameText(f, o);
    if (o.mode == 0) return CutBytes(name, w);
    if (f.IsDirectory()) return PadRight(CutBytes(name, w - 17), w - 15) + " " + SizeDateText(f, o);
    return PadRight(CutBytes(name, w - 27), w - 25) + " " + SizeDateText(f, o);
}

std::string FormatThousands(long long value) {
    if (value == 0) return {};
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(v);
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

bool MaskAccepts(const std::string& mask, const FindRecord& f,
                 const std::function<LocalDate(std::uint64_t, int*)>& localTime) {
    if (mask.empty()) return false;
    switch (mask[0]) {
    case '0': return WildMatch(f.name, mask.substr(1));
    case '1':
    case '2': {
        if (!localTime) return false;
        int minute = 0;
        const LocalDate d = localTime(mask[0] == '1' ? f.lastWriteTime : f.lastAccessTime, &minute);
        return MatchPackedDate(std::string_view(mask).substr(1), d);
    }
    default: return false;
    }
}

void FileListModel::Clear() {
    entries_.clear();
    markedTotal_ = 0;
    pageTop_ = 0;
    RecomputeBottom();
}

bool FileListModel::Offer(const FindRecord& f, const AddRules& rules, const DisplayOptions& o) {
    if ((f.attributes & kAttrHidden) && !rules.hiddenFiles) return false;
    bool add = f.IsDirectory();
    if (!add && rules.masks) {
        for (const std::string& m : *rules.masks) {
            if (MaskAccepts(m, f, o.localTime)) {
                add = true;
                break;
            }
        }
    }
    if (!add) return false;
    FileEntry e;
    e.find = f;
    e.text = ListText(f, o);
    entries_.push_back(std::move(e));
    RecomputeBottom();
    return true;
}

void FileListModel::RebuildTexts(const DisplayOptions& o) {
    for (FileEntry& e : entries_) {
        e.text = ListText(e.find, o);
        if (e.marked && !e.text.empty()) e.text[0] = '*';
    }
}

void FileListModel::SetGrid(int rows, int cols) {
    rows_ = std::max(rows, 1);
    cols_ = std::max(cols, 1);
    RecomputeBottom();
}

void FileListModel::RecomputeBottom() {
    const long long count = static_cast<long long>(entries_.size());
    pageBottom_ = count - pageTop_ > PageSize() ? pageTop_ + PageSize() - 1 : count - 1;
}

long long FileListModel::CursorIndex() const {
    return static_cast<long long>(cursorCol_) * rows_ + cursorRow_ + pageTop_;
}

void FileListModel::PlaceCursor(long long index) {
    const long long count = static_cast<long long>(entries_.size());
    index = count == 0 ? 0 : std::clamp(index, 0LL, count - 1);
    const long long ps = PageSize();
    pageTop_ = index / ps * ps;
    RecomputeBottom();
    cursorCol_ = static_cast<int>((index % ps) / rows_);
    cursorRow_ = static_cast<int>((index % ps) % rows_);
}

bool FileListModel::PageBack() {
    if (pageTop_ <= 0) return false;
    pageTop_ = std::max(0LL, pageTop_ - PageSize());
    RecomputeBottom();
    return true;
}

bool FileListModel::PageForward() {
    if (pageBottom_ >= static_cast<long long>(entries_.size()) - 1) return false;
    pageTop_ += PageSize();
    RecomputeBottom();
    return true;
}

void FileListModel::SetCursorCell(int col, int row) {
    cursorCol_ = std::clamp(col, 0, cols_ - 1);
    cursorRow_ = std::clamp(row, 0, rows_ - 1);
    if (CursorIndex() >= static_cast<long long>(entries_.size())) {
        cursorCol_ = 0;
        cursorRow_ = 0;
    }
}

long long FileListModel::StartingCursor(std::string& returningFrom) const {
    if (!returningFrom.empty()) {
        long long found = -1;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (SameText(entries_[i].find.name, returningFrom)) found = static_cast<long long>(i);
        }
        returningFrom.clear();
        if (found >= 0) return found;
    }
    if (entries_.size() > 1 && entries_[1].find.name == "..") return 1;
    return 0;
}

long long FileListModel::RoundToCluster(long long size) const {
    if (size <= 0) return 0;
    return (size + clusterSize_ - 1) / clusterSize_ * clusterSize_;
}

long long FileListModel::SetMark(std::size_t i, bool marked,
                                 const std::function<long long(const FindRecord&)>& contentSize) {
    if (i >= entries_.size()) return 0;
    FileEntry& e = entries_[i];
    if (e.find.IsDots() || e.marked == marked) return 0;
    long long delta = 0;
    if (e.find.IsDirectory()) {
        delta = contentSize ? contentSize(e.find) : 0;
    } else {
        delta = RoundToCluster(static_cast<long long>(e.find.size));
    }
    e.marked = marked;
    if (!e.text.empty()) e.text[0] = marked ? '*' : ' ';
    markedTotal_ += marked ? delta : -delta;
    return delta;
}

std::size_t FileListModel::MarkedCount() const {
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(), [](const FileEntry& e) {
        return e.marked;
    }));
}

std::string FileListModel::MarkedSizeText() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Size%15s ", FormatThousands(markedTotal_).c_str());
    return buf;
}

std::string FileListModel::CountText() const {
    return std::to_string(MarkedCount()) + "/" + std::to_string(entries_.size()) + " ";
}

}  // namespace kestrum
