// Ordering of the filer's listing.
#include "filer/sort.h"

#include <algorithm>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/settings.h"

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

// What a comparison needs of one entry, worked out once per sort, so that
// most comparisons never reach the entries themselves.
struct SortItem {
    std::uint64_t lead;  // size, time, or the folded prefix of name or extension
    std::uint64_t name;  // by extension: the folded prefix of the name
    const FindRecord* f;
    std::uint32_t index;  // position before the sort
    int rank;
    std::string_view ext;
};

SortItem MakeItem(const FindRecord& f, std::uint32_t index, const SortSpec& spec) {
    SortItem item{0, 0, &f, index, SortRank(f, spec.sortAttr, spec.sortDir), {}};
    switch (spec.key) {
    case kSortSize: item.lead = f.size; break;
    case kSortDate: item.lead = f.lastWriteTime; break;
    case kSortExt:
        item.ext = SortExtension(f.name);
        item.lead = FoldedPrefix(item.ext);
        item.name = FoldedPrefix(f.name);
        break;
    default: item.lead = FoldedPrefix(f.name); break;
    }
    return item;
}

int CompareItems(const SortItem& x, const SortItem& y, const SortSpec& spec) {
    if (x.rank != y.rank) return y.rank - x.rank;
    int c = 0;
    switch (spec.key) {
    case kSortSize:
    case kSortDate: c = Compare(y.lead, x.lead); break;  // largest, newest first
    case kSortExt:
        c = Compare(x.lead, y.lead);
        // Equal prefixes of extensions that fit in them are equal extensions.
        if (c == 0 && (x.ext.size() > 8 || y.ext.size() > 8)) c = CompareNamesNoCase(x.ext, y.ext);
        if (c == 0) c = Compare(x.name, y.name);
        if (c == 0) c = CompareNamesNoCase(x.f->name, y.f->name);
        break;
    default:
        c = Compare(x.lead, y.lead);
        if (c == 0) c = CompareNamesNoCase(x.f->name, y.f->name);
        break;
    }
    return spec.reverse ? -c : c;
}

}  // namespace

SortSpec MakeSortSpec(int key, bool reverse, const Settings& s) {
    return SortSpec{key, reverse, s.sortDir, s.sortAttr};
}

int SortRank(const FindRecord& f, bool sortAttr, bool sortDir) {
    if (f.name == ".") return 10000;
    if (f.name == "..") return 5000;
    int a = 0;
    if (sortAttr) {
        if (f.attributes & kAttrSystem) {
            a = 8;
        } else if (f.attributes & kAttrHidden) {
            a = 4;
        } else if (f.attributes & kAttrReadOnly) {
            a = 2;
        }
    }
    if (f.IsDirectory()) a += sortDir ? 128 : 1;
    return a;
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
    return CompareItems(MakeItem(x, 0, spec), MakeItem(y, 0, spec), spec);
}

void SortEntries(std::vector<FileEntry>& entries, const SortSpec& spec) {
    if (entries.size() < 2) return;
    std::vector<SortItem> items;
    items.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        items.push_back(MakeItem(entries[i].find, static_cast<std::uint32_t>(i), spec));
    }
    std::sort(items.begin(), items.end(),
              [&spec](const SortItem& x, const SortItem& y) { return CompareItems(x, y, spec) < 0; });
    // Position i takes the entry from items[i].index: follow each cycle of
    // that permutation once, moving every entry once.
    std::vector<bool> placed(entries.size(), false);
    for (std::size_t start = 0; start < entries.size(); ++start) {
        if (placed[start]) continue;
        placed[start] = true;
        if (items[start].index == start) continue;
        FileEntry held = std::move(entries[start]);
        std::size_t at = start;
        for (std::size_t from = items[at].index; from != start; from = items[at].index) {
            entries[at] = std::move(entries[from]);
            at = from;
            placed[at] = true;
        }
        entries[at] = std::move(held);
    }
}

void SortFileList(FileListModel& model, const SortSpec& spec) {
    if (model.Count() < 2) return;
    SortEntries(model.Entries(), spec);
}

void SortFileList(FileListModel& model, int key, bool reverse, const Settings& s) {
    SortFileList(model, MakeSortSpec(key, reverse, s));
}

void SortAfterListing(FileListModel& model, const Settings& s) {
    if (s.autoSort) SortFileList(model, s.sort, s.revSort, s);
}

bool RunSortDialog(FileListModel& model, Settings& s) {
    Prompter::SortChoice choice{s.sort, s.autoSort, s.revSort};
    if (!CurrentPrompter().AskSort(choice)) return false;
    s.sort = choice.key >= kSortName && choice.key <= kSortExt ? choice.key : kSortName;
    s.autoSort = choice.autoSort;
    s.revSort = choice.reverse;
    SortFileList(model, s.sort, s.revSort, s);
    return true;
}

}  // namespace kestrum
