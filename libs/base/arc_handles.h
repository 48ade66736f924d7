// Listing handles of the archiver-library interface: OpenArchive makes
// one, FindFirst/FindNext walk it, CloseArchive frees it. A handle the
// library did not make (or already freed) is refused, never dereferenced.
#pragma once

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "libs/base/arc_records.h"
#include "libs/base/arc_result.h"

namespace kestrum::arc {

struct Listing {
    std::string archive;
    std::vector<ListEntry> entries;
    std::string pattern;
    std::size_t next = 0;
    bool searching = false;
};

class ListingTable {
public:
    Listing* Add(Listing l) {
        std::lock_guard<std::mutex> lock(mutex_);
        Listing* p = new Listing(std::move(l));
        live_.insert(p);
        return p;
    }
    bool Remove(void* h) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = live_.find(static_cast<Listing*>(h));
        if (it == live_.end()) return false;
        delete *it;
        live_.erase(it);
        return true;
    }
    Listing* Find(void* h) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = live_.find(static_cast<Listing*>(h));
        return it == live_.end() ? nullptr : *it;
    }

private:
    std::mutex mutex_;
    std::set<Listing*> live_;
};

// FindFirst: an empty or missing pattern means every member; a pattern is
// matched against the whole name and, without a directory, the name alone.
int ListingFindFirst(Listing* l, const char* pattern, IndividualInfo* info);
int ListingFindNext(Listing* l, IndividualInfo* info);

}  // namespace kestrum::arc
