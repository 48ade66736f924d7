// Ordering of the filer's listing.
#include "filer/sort.h"

#include <algorithm>

#include "common/sjis.h"
#include "config/settings.h"
#include "filer/filer_questions.h"

namespace kestrum {

namespace {

constexpr unsigned char FoldAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

template <typename T>
int Compare(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The first eight bytes of a text with ASCII letters folded, big-endian,
// zero-padded: when two of these differ they order the texts as
// CompareNamesNoCase does (file names hold no NUL).
std::uint64_t FoldedPrefix(std::string_view s) {
    std::uint64_t v = 0;
    bool trail = false;
    for (std::size_t i = 0; i < 8; ++i) {
        unsigned char c = 0;
        if (i < s.size()) {
            c = static_cast<unsigned char>(s[i]);
            if (!trail) c = FoldAscii(c);
            trail = !trail && IsLeadByte(c);
        }
        v = v << 8 | c;
    }
    return v;
}

// Group rank from a name and attributes (see SortRank).
int RankOf(std::string_view name, std::uint32_t attributes, bool sortAttr, bool sortDir) {
    if (name == ".") return 10000;
    if (name == "..") return 5000;
    int a = 0;
    if (sortAttr) {
        if (attributes & kAttrSystem) {
            a = 8;
        } else if (attributes & kAttrHidden) {
            a = 4;
        } else if (attributes & kAttrReadOnly) {
            a = 2;
        }
    }
    if (attributes & kAttrDirectory) a += sortDir ? 128 : 1;
    return a;
}

// What a comparison needs of one entry, worked out once per sort, so that
// most comparisons never reach the entries themselves; a tie reads the
// names through the source.
struct SortItem {
    std::uint64_t lead;    // size, time, or the folded prefix of name or extension
    std::uint64_t second;  // by extension: the folded prefix of the name
    std::uint32_t index;   // position before the sort
    std::int32_t rank;
};

// The entries a sort reads: Count(), Name(i), Attributes(i), Size(i),
// LastWriteTime(i).
struct RecordSource {
    const FindRecord* const* records;
    std::size_t count;
    std::size_t Count() const { return count; }
    std::string_view Name(std::size_t i) const { return records[i]->name; }
    std::uint32_t Attributes(std::size_t i) const { return records[i]->attributes; }
    std::uint64_t Size(std::size_t i) const { return records[i]->size; }
    std::uint64_t LastWriteTime(std::size_t i) const { return records[i]->lastWriteTime; }
};

struct EntrySource {
    const std::vector<FileEntry>& entries;
    std::size_t Count() const { return entries.size(); }
    std::string_view Name(std::size_t i) const { return entries[i].find.name; }
    std::uint32_t Attributes(std::size_t i) const { return entries[i].find.attributes; }
    std::uint64_t Size(std::size_t i) const { return entries[i].find.size; }
    std::uint64_t LastWriteTime(std::size_t i) const { return entries[i].find.lastWriteTime; }
};

template <typename Source>
SortItem MakeItem(const Source& src, std::uint32_t index, const SortSpec& spec) {
    const std::string_view name = src.Name(index);
    SortItem item{0, 0, index, RankOf(name, src.Attributes(index), spec.sortAttr, spec.sortDir)};
    switch (spec.key) {
    case kSortSize: item.lead = src.Size(index); break;
    case kSortDate: item.lead = src.LastWriteTime(index); break;
    case kSortExt:
        item.lead = FoldedPrefix(SortExtension(name));
        item.second = FoldedPrefix(name);
        break;
    default: item.lead = FoldedPrefix(name); break;
    }
    return item;
}

template <typename Source>
int CompareItems(const Source& src, const SortItem& x, const SortItem& y, const SortSpec& spec) {
    if (x.rank != y.rank) return y.rank - x.rank;
    int c = 0;
    switch (spec.key) {
    case kSortSize:
    case kSortDate: c = Compare(y.lead, x.lead); break;  // largest, newest first
    case kSortExt:
        c = Compare(x.lead, y.lead);
        if (c == 0) {
            // Equal prefixes of extensions that fit in them are equal extensions.
            const std::string_view xe = SortExtension(src.Name(x.index));
            const std::string_view ye = SortExtension(src.Name(y.index));
            if (xe.size() > 8 || ye.size() > 8) c = CompareNamesNoCase(xe, ye);
        }
        if (c == 0) c = Compare(x.second, y.second);
        if (c == 0) c = CompareNamesNoCase(src.Name(x.index), src.Name(y.index));
        break;
    default:
        c = Compare(x.lead, y.lead);
        if (c == 0) c = CompareNamesNoCase(src.Name(x.index), src.Name(y.index));
        break;
    }
    return spec.reverse ? -c : c;
}

// The sorted order: position i takes the entry now at the result's [i].
template <typename Source>
std::vector<std::uint32_t> SortedOrder(const Source& src, const SortSpec& spec) {
    const std::size_t n = src.Count();
    std::vector<SortItem> items;
    items.reserve(n);
    for (std::size_t i = 0; i < n; ++i) items.push_back(MakeItem(src, static_cast<std::uint32_t>(i), spec));
    std::sort(items.begin(), items.end(),
              [&](const SortItem& x, const SortItem& y) { return CompareItems(src, x, y, spec) < 0; });
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = items[i].index;
    return order;
}

}  // namespace

SortSpec MakeSortSpec(int key, bool reverse, const Settings& s) {
    return SortSpec{key, reverse, s.sortDir, s.sortAttr};
}

int SortRank(const FindRecord& f, bool sortAttr, bool sortDir) {
    return RankOf(f.name, f.attributes, sortAttr, sortDir);
}

int CompareNamesNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    // Up to the first difference both texts hold the same characters, so
    // one lead/trail state serves both.
    bool trail = false;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            x = FoldAscii(x);
            y = FoldAscii(y);
        }
        if (x != y) return x < y ? -1 : 1;
        // (A lead byte before NUL, CR or LF stands alone, but pairing it
        // would change nothing: those bytes do not fold.)
        trail = !trail && IsLeadByte(x);
    }
    return Compare(a.size(), b.size());
}

std::string_view SortExtension(std::string_view name) {
    const std::size_t dot = FindLastChar(name, '.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

int CompareForSort(const FindRecord& x, const FindRecord& y, const SortSpec& spec) {
    const FindRecord* both[] = {&x, &y};
    const RecordSource src{both, 2};
    return CompareItems(src, MakeItem(src, 0, spec), MakeItem(src, 1, spec), spec);
}

void SortEntries(std::vector<FileEntry>& entries, const SortSpec& spec) {
    if (entries.size() < 2) return;
    const std::vector<std::uint32_t> order = SortedOrder(EntrySource{entries}, spec);
    // Position i takes the entry from order[i]: follow each cycle of that
    // permutation once, moving every entry once.
    std::vector<bool> placed(entries.size(), false);
    for (std::size_t start = 0; start < entries.size(); ++start) {
        if (placed[start]) continue;
        placed[start] = true;
        if (order[start] == start) continue;
        FileEntry held = std::move(entries[start]);
        std::size_t at = start;
        for (std::size_t from = order[at]; from != start; from = order[at]) {
            entries[at] = std::move(entries[from]);
            at = from;
            placed[at] = true;
        }
        entries[at] = std::move(held);
    }
}

void SortFileList(FileListModel& model, const SortSpec& spec) {
    if (model.Count() < 2) return;
    model.Reorder(SortedOrder(model, spec));
}

void SortFileList(FileListModel& model, int key, bool reverse, const Settings& s) {
    SortFileList(model, MakeSortSpec(key, reverse, s));
}

void SortAfterListing(FileListModel& model, const Settings& s) {
    if (s.autoSort) SortFileList(model, s.sort, s.revSort, s);
}

bool RunSortDialog(FileListModel& model, Settings& s) {
    FilerQuestions::SortChoice choice{s.sort, s.autoSort, s.revSort};
    if (!FilerAsk().AskSort(choice)) return false;
    s.sort = choice.key >= kSortName && choice.key <= kSortExt ? choice.key : kSortName;
    s.autoSort = choice.autoSort;
    s.revSort = choice.reverse;
    SortFileList(model, s.sort, s.revSort, s);
    return true;
}

}  // namespace kestrum
