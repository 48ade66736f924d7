// Ordering of the filer's listing: group ranks (".", "..", directories,
// attribute groups) first, then one of four keys, optionally reversed.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "filer/file_list.h"

namespace kestrum {

struct Settings;

// Sort keys as the settings store them (SORT).
enum SortKey : int { kSortName = 0, kSortSize = 1, kSortDate = 2, kSortExt = 3 };

struct SortSpec {
    int key = kSortName;   // a value outside 0..3 sorts by name
    bool reverse = false;  // reverses the key step, never the group ranks
    bool sortDir = true;   // SORTDIR: directories form a group above files
    bool sortAttr = true;  // SORTATTR: system, hidden, read-only above normal
};

// A key and direction with the group rules (SORTDIR, SORTATTR) of s.
SortSpec MakeSortSpec(int key, bool reverse, const Settings& s);

// Group rank: "." 10000, ".." 5000, else the attribute value (8 system,
// 4 hidden, 2 read-only, 0; only with sortAttr) plus 128 for a directory
// (plus 1 without sortDir). Higher ranks come first.
int SortRank(const FindRecord& f, bool sortAttr, bool sortDir);

// Names compared with ASCII letters folded (never a trail byte); other
// bytes compared as unsigned values. Negative, zero or positive.
int CompareNamesNoCase(std::string_view a, std::string_view b);

// Extension of a name for sorting: from its last "." (not a trail byte),
// dot included; empty when there is none.
std::string_view SortExtension(std::string_view name);

// Negative when x belongs before y, positive when after, 0 when the order
// is free. Ranks first; then the key: name A to Z, size largest first
// (the full 64 bits), date newest first (the full 64-bit file time),
// extension (none first) then name; reverse negates the key step.
int CompareForSort(const FindRecord& x, const FindRecord& y, const SortSpec& spec);

// Reorders entries (list texts and marks move with them) by spec in
// O(n log n); entries that compare equal keep no particular order.
void SortEntries(std::vector<FileEntry>& entries, const SortSpec& spec);

// The filer's sort: does nothing for fewer than two entries; the cursor
// cell and the page stay where they are (they now show other entries).
void SortFileList(FileListModel& model, const SortSpec& spec);
void SortFileList(FileListModel& model, int key, bool reverse, const Settings& s);
// The sort that follows every listing: with the key and direction of the
// settings (SORT, REVSORT), only when always-sort (AUTOSORT) is set.
void SortAfterListing(FileListModel& model, const Settings& s);
// The sort action: asks the filer's sort question (FilerAsk()), preset
// from s; on OK stores the key and both options in s and sorts. True when
// the list was sorted (the caller redraws).
bool RunSortDialog(FileListModel& model, Settings& s);

}  // namespace kestrum
