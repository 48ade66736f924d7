// The filer's listing model.
#include "filer/file_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

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

namespace {

// Patterns that accept every name (a name is never empty).
bool AcceptsEveryName(std::string_view pattern) { return pattern == "*" || pattern == "*.*"; }

}  // namespace

bool MaskAccepts(const std::string& mask, const FindRecord& f,
                 const std::function<LocalDate(std::uint64_t, int*)>& localTime) {
    if (mask.empty()) return false;
    switch (mask[0]) {
    case '0': {
        const std::string_view pattern = std::string_view(mask).substr(1);
        if (AcceptsEveryName(pattern)) return !f.name.empty();
        return WildMatch(f.name, pattern);
    }
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

FileListModel::FileListModel(const FileListModel& other) { *this = other; }

FileListModel& FileListModel::operator=(const FileListModel& other) {
    if (this == &other) return *this;
    Clear();
    for (std::size_t i = 0; i < other.count_; ++i) {
        const Slot& s = other.At(i);
        Append(other.Name(i), s.attributes, s.size, s.lastWriteTime);
        At(i).marked = s.marked;
    }
    options_ = other.options_;
    markedCount_ = other.markedCount_;
    rows_ = other.rows_;
    cols_ = other.cols_;
    pageTop_ = other.pageTop_;
    pageBottom_ = other.pageBottom_;
    cursorCol_ = other.cursorCol_;
    cursorRow_ = other.cursorRow_;
    anchor_ = other.anchor_;
    markedTotal_ = other.markedTotal_;
    clusterSize_ = other.clusterSize_;
    return *this;
}

FileListModel::FileListModel(FileListModel&& other) noexcept { *this = std::move(other); }

FileListModel& FileListModel::operator=(FileListModel&& other) noexcept {
    if (this == &other) return *this;
    // The blocks move as they are, so the name pointers stay good.
    slots_ = std::move(other.slots_);
    names_ = std::move(other.names_);
    count_ = std::exchange(other.count_, 0);
    nameFree_ = std::exchange(other.nameFree_, 0);
    nameNext_ = std::exchange(other.nameNext_, nullptr);
    options_ = std::move(other.options_);
    markedCount_ = std::exchange(other.markedCount_, 0);
    rows_ = other.rows_;
    cols_ = other.cols_;
    pageTop_ = other.pageTop_;
    pageBottom_ = other.pageBottom_;
    cursorCol_ = other.cursorCol_;
    cursorRow_ = other.cursorRow_;
    anchor_ = other.anchor_;
    markedTotal_ = std::exchange(other.markedTotal_, 0);
    clusterSize_ = other.clusterSize_;
    other.slots_.clear();
    other.names_.clear();
    other.pageTop_ = 0;
    other.RecomputeBottom();
    return *this;
}

void FileListModel::Clear() {
    slots_.clear();
    names_.clear();
    count_ = 0;
    nameFree_ = 0;
    nameNext_ = nullptr;
    markedCount_ = 0;
    markedTotal_ = 0;
    pageTop_ = 0;
    RecomputeBottom();
}

const char* FileListModel::StoreName(std::string_view name) {
    const std::size_t need = name.size() + 1;
    if (need > nameFree_) {
        // A name longer than a block gets a block of its own.
        const std::size_t size = std::max(kNameBlock, need);
        names_.emplace_back(new char[size]);
        nameNext_ = names_.back().get();
        nameFree_ = size;
    }
    char* at = nameNext_;
    if (!name.empty()) std::memcpy(at, name.data(), name.size());
    at[name.size()] = '\0';
    nameNext_ += need;
    nameFree_ -= need;
    return at;
}

void FileListModel::Append(std::string_view name, std::uint32_t attributes, std::uint64_t size,
                           std::uint64_t lastWriteTime) {
    if ((count_ & (kSlotBlock - 1)) == 0 && (count_ >> kSlotShift) == slots_.size()) {
        slots_.emplace_back(new Slot[kSlotBlock]);
    }
    Slot& s = At(count_);
    s.size = size;
    s.lastWriteTime = lastWriteTime;
    s.name = StoreName(name);
    s.attributes = attributes;
    s.nameLength = name.size() < kLongName ? static_cast<std::uint16_t>(name.size()) : kLongName;
    s.marked = false;
    ++count_;
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
    if (count_ == 0) options_ = o;
    Append(f.name, f.attributes, f.size, f.lastWriteTime);
    RecomputeBottom();
    return true;
}

void FileListModel::RebuildTexts(const DisplayOptions& o) { options_ = o; }

std::string_view FileListModel::Name(std::size_t i) const {
    const Slot& s = At(i);
    return s.nameLength != kLongName ? std::string_view(s.name, s.nameLength) : std::string_view(s.name);
}

bool FileListModel::IsDots(std::size_t i) const {
    const std::string_view n = Name(i);
    return n == "." || n == "..";
}

FindRecord FileListModel::Record(std::size_t i) const {
    const Slot& s = At(i);
    FindRecord r;
    r.attributes = s.attributes;
    r.size = s.size;
    r.lastWriteTime = s.lastWriteTime;
    r.name = Name(i);
    return r;
}

std::string FileListModel::Text(std::size_t i) const {
    std::string t = ListText(Record(i), options_);
    if (!t.empty()) t[0] = Marked(i) ? '*' : ' ';
    return t;
}

FileEntry FileListModel::Entry(std::size_t i) const {
    FileEntry e;
    e.marked = Marked(i);
    e.find = Record(i);
    e.text = ListText(e.find, options_);
    if (e.marked && !e.text.empty()) e.text[0] = '*';
    return e;
}

void FileListModel::Reorder(const std::vector<std::uint32_t>& from) {
    if (from.size() != count_) return;
    // Follow each cycle of the permutation once, moving every slot once.
    std::vector<bool> placed(count_, false);
    for (std::size_t start = 0; start < count_; ++start) {
        if (placed[start]) continue;
        placed[start] = true;
        if (from[start] == start) continue;
        const Slot held = At(start);
        std::size_t at = start;
        for (std::size_t next = from[at]; next != start; next = from[at]) {
            At(at) = At(next);
            at = next;
            placed[at] = true;
        }
        At(at) = held;
    }
}

void FileListModel::SetGrid(int rows, int cols) {
    rows_ = std::max(rows, 1);
    cols_ = std::max(cols, 1);
    RecomputeBottom();
}

void FileListModel::RecomputeBottom() {
    const long long count = static_cast<long long>(count_);
    pageBottom_ = count - pageTop_ > PageSize() ? pageTop_ + PageSize() - 1 : count - 1;
}

long long FileListModel::CursorIndex() const {
    return static_cast<long long>(cursorCol_) * rows_ + cursorRow_ + pageTop_;
}

void FileListModel::PlaceCursor(long long index) {
    const long long count = static_cast<long long>(count_);
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
    if (pageBottom_ >= static_cast<long long>(count_) - 1) return false;
    pageTop_ += PageSize();
    RecomputeBottom();
    return true;
}

void FileListModel::SetCursorCell(int col, int row) {
    cursorCol_ = std::clamp(col, 0, cols_ - 1);
    cursorRow_ = std::clamp(row, 0, rows_ - 1);
    if (CursorIndex() >= static_cast<long long>(count_)) {
        cursorCol_ = 0;
        cursorRow_ = 0;
    }
}

long long FileListModel::StartingCursor(std::string& returningFrom) const {
    if (!returningFrom.empty()) {
        long long found = -1;
        for (std::size_t i = 0; i < count_; ++i) {
            if (SameText(Name(i), returningFrom)) found = static_cast<long long>(i);
        }
        returningFrom.clear();
        if (found >= 0) return found;
    }
    if (count_ > 1 && Name(1) == "..") return 1;
    return 0;
}

long long FileListModel::RoundToCluster(long long size) const {
    if (size <= 0) return 0;
    return (size + clusterSize_ - 1) / clusterSize_ * clusterSize_;
}

long long FileListModel::SetMark(std::size_t i, bool marked,
                                 const std::function<long long(const FindRecord&)>& contentSize) {
    if (i >= count_) return 0;
    Slot& s = At(i);
    if (s.marked == marked || IsDots(i)) return 0;
    long long delta = 0;
    if (s.attributes & kAttrDirectory) {
        delta = contentSize ? contentSize(Record(i)) : 0;
    } else {
        delta = RoundToCluster(static_cast<long long>(s.size));
    }
    s.marked = marked;
    if (marked) {
        ++markedCount_;
    } else {
        --markedCount_;
    }
    markedTotal_ += marked ? delta : -delta;
    return delta;
}

std::string FileListModel::MarkedSizeText() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Size%15s ", FormatThousands(markedTotal_).c_str());
    return buf;
}

std::string FileListModel::CountText() const {
    return std::to_string(MarkedCount()) + "/" + std::to_string(count_) + " ";
}

}  // namespace kestrum
