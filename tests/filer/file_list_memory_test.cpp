// What a long listing costs in memory: the heap the listing model holds per
// entry, its peak while filling and sorting, and how often it allocates.
// This file replaces the global operator new and delete of the test program
// with ones that count while a Tally is alive.
#include "filer/file_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "filer/sort.h"

namespace {

// Every block carries its size in front, so that frees can be counted.
constexpr std::size_t kHeader = 16;

bool counting = false;
long long liveBytes = 0;
long long peakBytes = 0;
long long allocations = 0;

void* Allocate(std::size_t n) {
    void* p = std::malloc(n + kHeader);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    if (counting) {
        liveBytes += static_cast<long long>(n);
        if (liveBytes > peakBytes) peakBytes = liveBytes;
        ++allocations;
    }
    return static_cast<char*>(p) + kHeader;
}

void Free(void* q) noexcept {
    if (!q) return;
    void* p = static_cast<char*>(q) - kHeader;
    if (counting) liveBytes -= static_cast<long long>(*static_cast<std::size_t*>(p));
    std::free(p);
}

}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }

namespace kestrum {
namespace {

// Counts the heap from its construction on; the figures are relative to
// what was live then.
class Tally {
public:
    Tally() {
        liveBytes = 0;
        peakBytes = 0;
        allocations = 0;
        counting = true;
    }
    ~Tally() { counting = false; }
    long long Live() const { return liveBytes; }
    long long Peak() const { return peakBytes; }
    long long Allocations() const { return allocations; }
    void RestartPeak() { peakBytes = liveBytes; }
};

constexpr int kCount = 100000;

// Names longer than a string keeps inside itself, so that a model storing
// one string per entry would allocate for each.
std::string Name(int i) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%06d.txt", i % 2 ? "a-rather-long-file-name-" : "f", (i * 7919) % kCount);
    return buf;
}

TEST(FileListMemoryTest, ALongListingHoldsFewBytesAndAllocatesInBlocks) {
    const std::vector<std::string> masks = {"0*.*"};
    std::vector<std::string> names;
    names.reserve(kCount);
    std::size_t nameBytes = 0;
    for (int i = 0; i < kCount; ++i) {
        names.push_back(Name(i));
        nameBytes += names.back().size() + 1;
    }
    DisplayOptions o;
    FindRecord f;
    f.name.reserve(64);
    FileListModel m;
    {
        Tally tally;
        for (int i = 0; i < kCount; ++i) {
            f.name.assign(names[static_cast<std::size_t>(i)]);
            f.size = static_cast<std::uint64_t>(i) * 1000;
            f.lastWriteTime = static_cast<std::uint64_t>(i);
            m.Offer(f, {true, &masks}, o);
        }
        ASSERT_EQ(m.Count(), static_cast<std::size_t>(kCount));
        // The names themselves, and at most 40 bytes per entry besides.
        const long long budget = static_cast<long long>(nameBytes) + 40LL * kCount;
        EXPECT_LE(tally.Live(), budget) << tally.Live() / kCount << " bytes per entry";
        EXPECT_LE(tally.Peak(), budget) << "growing the listing copied it";
        EXPECT_LE(tally.Allocations(), kCount / 1000) << "an allocation per entry";

        // Sorting borrows at most 32 bytes per entry for a while.
        tally.RestartPeak();
        const long long before = tally.Live();
        SortFileList(m, SortSpec{kSortName, false, true, true});
        EXPECT_LE(tally.Peak() - before, 32LL * kCount);
        EXPECT_EQ(tally.Live(), before);
    }
    EXPECT_EQ(m.Entry(0).find.name.substr(0, 2), "a-");
    EXPECT_LT(CompareNamesNoCase(m.Entry(0).find.name, m.Entry(1).find.name), 0);
}

}  // namespace
}  // namespace kestrum
