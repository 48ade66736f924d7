// Walking a listing handle.
#include "libs/base/arc_handles.h"

#include "libs/base/arc_path.h"

namespace kestrum::arc {

static bool Matches(const std::string& pattern, const std::string& name) {
    if (pattern.empty()) return true;
    std::string path = name;
    while (EndsWithSeparator(path)) path.pop_back();
    if (MatchWild(pattern, path)) return true;
    return NameStart(pattern) == 0 && MatchWild(pattern, path.substr(NameStart(path)));
}

int ListingFindNext(Listing* l, IndividualInfo* info) {
    if (!l) return kErrHarcIsNotOpened;
    if (!l->searching) return kErrNotSearchMode;
    while (l->next < l->entries.size()) {
        const ListEntry& e = l->entries[l->next++];
        if (Matches(l->pattern, e.name)) {
            FillIndividualInfo(e, info);
            return 0;
        }
    }
    return -1;
}

int ListingFindFirst(Listing* l, const char* pattern, IndividualInfo* info) {
    if (!l) return kErrHarcIsNotOpened;
    l->pattern = pattern ? pattern : "";
    if (l->pattern == "*" || l->pattern == "*.*") l->pattern.clear();
    l->next = 0;
    l->searching = true;
    return ListingFindNext(l, info);
}

}  // namespace kestrum::arc
