// Ordering of the listing: group ranks, the four keys, reverse, Shift-JIS
// names, and the sort that follows a listing or the sort dialog.
#include "filer/sort.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/settings.h"
#include "tests/fakes/scripted_filer_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

FindRecord File(const std::string& name, std::uint64_t size = 0, std::uint32_t attr = 0, std::uint64_t time = 0) {
    FindRecord f;
    f.name = name;
    f.size = size;
    f.attributes = attr;
    f.lastWriteTime = time;
    return f;
}
FindRecord Dir(const std::string& name, std::uint32_t attr = 0) { return File(name, 0, attr | kAttrDirectory); }

FileListModel Model(const std::vector<FindRecord>& records) {
    const std::vector<std::string> all = {"0*.*"};
    DisplayOptions o;
    FileListModel m;
    for (const FindRecord& f : records) m.Offer(f, {true, &all}, o);
    return m;
}

std::vector<std::string> Names(const FileListModel& m) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < m.Count(); ++i) out.push_back(m.Entry(i).find.name);
    return out;
}

std::vector<std::string> Sorted(const std::vector<FindRecord>& records, SortSpec spec) {
    FileListModel m = Model(records);
    SortFileList(m, spec);
    return Names(m);
}

using Names_t = std::vector<std::string>;

TEST(SortTest, GroupRanksComeBeforeEveryKeyAndAreNeverReversed) {
    const std::vector<FindRecord> mixed = {
        File("b.txt"),           File("SYS.DAT", 0, kAttrSystem), Dir("zdir"), Dir(".."),
        File("ro.txt", 0, kAttrReadOnly), Dir("adir"),            File("a.txt"), Dir("."),
        File("hid.txt", 0, kAttrHidden | kAttrReadOnly),
    };
    EXPECT_EQ(Sorted(mixed, {kSortName, false, true, true}),
              (Names_t{".", "..", "adir", "zdir", "SYS.DAT", "hid.txt", "ro.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(Sorted(mixed, {kSortName, true, true, true}),
              (Names_t{".", "..", "zdir", "adir", "SYS.DAT", "hid.txt", "ro.txt", "b.txt", "a.txt"}));
    for (int key : {kSortSize, kSortDate, kSortExt}) {
        for (bool reverse : {false, true}) {
            const Names_t n = Sorted(mixed, {key, reverse, true, true});
            EXPECT_EQ(n[0], ".");
            EXPECT_EQ(n[1], "..");
            EXPECT_TRUE((n[2] == "adir" && n[3] == "zdir") || (n[2] == "zdir" && n[3] == "adir")) << key;
        }
    }
}

TEST(SortTest, WithoutDirectoriesFirstADirectoryRanksJustAboveNormalFiles) {
    const std::vector<FindRecord> mixed = {File("a.txt"), Dir("DIR"), File("ro.txt", 0, kAttrReadOnly), Dir("..")};
    EXPECT_EQ(Sorted(mixed, {kSortName, false, false, true}), (Names_t{"..", "ro.txt", "DIR", "a.txt"}));
    // Without attribute groups a read-only file is a normal file.
    EXPECT_EQ(Sorted(mixed, {kSortName, false, false, false}), (Names_t{"..", "DIR", "a.txt", "ro.txt"}));
    EXPECT_EQ(SortRank(Dir("HID", kAttrHidden), true, true), 132);
    EXPECT_EQ(SortRank(Dir("HID", kAttrHidden), false, false), 1);
}

TEST(SortTest, NamesFoldAsciiLettersOnly) {
    EXPECT_EQ(Sorted({File("banana"), File("Apple"), File("APRICOT"), File("apple2")}, {}),
              (Names_t{"Apple", "apple2", "APRICOT", "banana"}));
    EXPECT_EQ(CompareNamesNoCase("README", "readme"), 0);
    EXPECT_LT(CompareNamesNoCase("A", "AB"), 0);
    // Bytes above 0x7F compare unsigned: a kana name after every ASCII one.
    EXPECT_LT(CompareNamesNoCase("Z", "\xB1"), 0);
    EXPECT_LT(CompareNamesNoCase("Z", "\x83\x41"), 0);
    // A trail byte in the letter range is never folded: ア (83 41) and
    // ャ (83 61) stay different, and 表 (95 5C) sorts by its own bytes.
    EXPECT_LT(CompareNamesNoCase("\x83\x41", "\x83\x61"), 0);
    EXPECT_GT(CompareNamesNoCase("\x83\x61", "\x83\x41"), 0);
    EXPECT_EQ(CompareNamesNoCase("\x83\x61" "a", "\x83\x61" "A"), 0);
    EXPECT_EQ(Sorted({File("\x95\x5C" "b"), File("\x95\x5C" "A"), File("\x83\x61"), File("\x83\x41")}, {}),
              (Names_t{"\x83\x41", "\x83\x61", "\x95\x5C" "A", "\x95\x5C" "b"}));
}

TEST(SortTest, ExtensionsFromTheLastDotWithNoneFirst) {
    EXPECT_EQ(Sorted({File("A.C"), File("MAKEFILE")}, {kSortExt}), (Names_t{"MAKEFILE", "A.C"}));
    EXPECT_EQ(Sorted({File("z.txt"), File("b.TXT"), File("a.b.c"), File("x.Bat"), File("noext")}, {kSortExt}),
              (Names_t{"noext", "x.Bat", "a.b.c", "b.TXT", "z.txt"}));
    EXPECT_EQ(Sorted({File("z.txt"), File("b.TXT"), File("a.b.c"), File("x.Bat"), File("noext")}, {kSortExt, true}),
              (Names_t{"z.txt", "b.TXT", "a.b.c", "x.Bat", "noext"}));
    EXPECT_EQ(SortExtension("a.b.txt"), ".txt");
    EXPECT_EQ(SortExtension("\x95\x5C.\x83\x41"), ".\x83\x41");
    EXPECT_EQ(SortExtension("noext"), "");
}

TEST(SortTest, SizesCompareAllSixtyFourBits) {
    const std::uint64_t fourGiB = 1ULL << 32;
    const std::vector<FindRecord> files = {File("two", 2), File("big", fourGiB + 1), File("zero", 0),
                                           File("huge", fourGiB * 3)};
    EXPECT_EQ(Sorted(files, {kSortSize}), (Names_t{"huge", "big", "two", "zero"}));
    EXPECT_EQ(Sorted(files, {kSortSize, true}), (Names_t{"zero", "two", "big", "huge"}));
}

TEST(SortTest, DatesNewestFirstByTheWholeFileTime) {
    const std::uint64_t high = 1ULL << 32;
    const std::vector<FindRecord> files = {File("low", 0, 0, 0xFFFFFFFFULL), File("newest", 0, 0, 2 * high),
                                           File("mid", 0, 0, high + 1)};
    EXPECT_EQ(Sorted(files, {kSortDate}), (Names_t{"newest", "mid", "low"}));
    EXPECT_EQ(Sorted(files, {kSortDate, true}), (Names_t{"low", "mid", "newest"}));
}

TEST(SortTest, TextsAndMarksTravelWithTheirEntriesAndTheCursorCellStays) {
    FileListModel m = Model({Dir(".."), File("c"), File("b"), File("a")});
    m.SetGrid(2, 2);
    m.SetMark(3, true, {});
    m.PlaceCursor(3);
    SortFileList(m, {kSortName});
    EXPECT_EQ(Names(m), (Names_t{"..", "a", "b", "c"}));
    EXPECT_TRUE(m.Entry(1).marked);
    EXPECT_EQ(m.Entry(1).text.substr(0, 2), "*a");
    EXPECT_EQ(m.Entry(3).text.substr(0, 2), " c");
    EXPECT_EQ(m.CursorIndex(), 3);
}

// The order spelled out plainly, to check the sort against.
int PlainCompare(const FindRecord& x, const FindRecord& y, const SortSpec& spec) {
    const int rx = SortRank(x, spec.sortAttr, spec.sortDir);
    const int ry = SortRank(y, spec.sortAttr, spec.sortDir);
    if (rx != ry) return ry - rx;
    auto cmp = [](const std::string& a, const std::string& b) { return UpperAscii(a).compare(UpperAscii(b)); };
    int c = 0;
    switch (spec.key) {
    case kSortSize: c = x.size == y.size ? 0 : (x.size > y.size ? -1 : 1); break;
    case kSortDate: c = x.lastWriteTime == y.lastWriteTime ? 0 : (x.lastWriteTime > y.lastWriteTime ? -1 : 1); break;
    case kSortExt:
        c = cmp(std::string(SortExtension(x.name)), std::string(SortExtension(y.name)));
        if (c == 0) c = cmp(x.name, y.name);
        break;
    default: c = cmp(x.name, y.name); break;
    }
    return spec.reverse ? -c : c;
}

TEST(SortTest, RandomEntriesComeOutInThePlainOrder) {
    std::mt19937 rng(7);
    // Shared beginnings longer than eight bytes, one ending on a lead byte.
    const char* starts[] = {"", "LongPrefix", "longprefiX.", "x.Extension", "\x95\x5C\x95\x5C\x95\x5C\x95"};
    const char letters[] = "aAbB.~_\x83\x41\x95\x5C";
    std::vector<FileEntry> entries(4000);
    for (FileEntry& e : entries) {
        e.find.name = starts[rng() % 5];
        const int len = static_cast<int>(rng() % 5);
        for (int i = 0; i < len; ++i) e.find.name += letters[rng() % (sizeof letters - 1)];
        if (e.find.name.empty()) e.find.name = "e";
        e.find.size = rng() % 4 * (1ULL << 31);
        e.find.lastWriteTime = rng() % 5 * (1ULL << 32) + rng() % 3;
        e.find.attributes = rng() % 4 == 0 ? kAttrDirectory : static_cast<std::uint32_t>(rng() % 8);
    }
    for (int key = 0; key < 4; ++key) {
        for (bool reverse : {false, true}) {
            const SortSpec spec{key, reverse, key % 2 == 0, key < 2};
            std::vector<FileEntry> sorted = entries;
            SortEntries(sorted, spec);
            ASSERT_EQ(sorted.size(), entries.size());
            for (std::size_t i = 1; i < sorted.size(); ++i) {
                ASSERT_LE(PlainCompare(sorted[i - 1].find, sorted[i].find, spec), 0)
                    << key << reverse << " " << sorted[i - 1].find.name << " / " << sorted[i].find.name;
                ASSERT_LE(CompareForSort(sorted[i - 1].find, sorted[i].find, spec), 0);
            }
        }
    }
}

// A listing sorted in place keeps every entry whole: name, size, date,
// attributes and mark travel together, whatever the key.
TEST(SortTest, ALongListingSortsWithEveryEntryWhole) {
    std::mt19937 rng(11);
    const char letters[] = "aAbB.~_\x83\x41\x95\x5C";
    const std::vector<std::string> all = {"0*.*"};
    FileListModel m;
    FindRecord f;
    for (int i = 0; i < 40000; ++i) {
        // Few distinct names, so that ties are common; every tenth one long.
        f.name.clear();
        const int len = 1 + static_cast<int>(rng() % 3);
        for (int k = 0; k < len; ++k) f.name += letters[rng() % (sizeof letters - 1)];
        if (i % 10 == 0) f.name += std::string(30, 'q');
        f.size = rng() % 4 * (1ULL << 31);
        f.lastWriteTime = rng() % 5 * (1ULL << 32);
        f.attributes = rng() % 4 == 0 ? kAttrDirectory : static_cast<std::uint32_t>(rng() % 8);
        m.Offer(f, {true, &all}, DisplayOptions{});
    }
    for (std::size_t i = 0; i < m.Count(); i += 3) m.SetMark(i, true, [](const FindRecord&) { return 5LL; });
    using Whole = std::tuple<std::string, std::uint64_t, std::uint64_t, std::uint32_t, bool>;
    auto wholes = [](const FileListModel& model) {
        std::vector<Whole> out;
        for (std::size_t i = 0; i < model.Count(); ++i) {
            out.emplace_back(std::string(model.Name(i)), model.Size(i), model.LastWriteTime(i), model.Attributes(i),
                             model.Marked(i));
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<Whole> before = wholes(m);
    const std::size_t marked = m.MarkedCount();
    const long long total = m.MarkedTotal();
    for (int key = 0; key < 4; ++key) {
        for (bool reverse : {false, true}) {
            const SortSpec spec{key, reverse, key % 2 == 0, key < 2};
            SortFileList(m, spec);
            for (std::size_t i = 1; i < m.Count(); ++i) {
                ASSERT_LE(PlainCompare(m.Record(i - 1), m.Record(i), spec), 0) << key << reverse << " " << i;
            }
            ASSERT_EQ(wholes(m), before) << key << reverse;
            EXPECT_EQ(m.MarkedCount(), marked);
            EXPECT_EQ(m.MarkedTotal(), total);
        }
    }
}

TEST(SortTest, AlwaysSortAfterListingAndTheSortDialog) {
    Settings s;
    s.sort = kSortSize;
    FileListModel m = Model({File("small", 1), File("large", 9)});
    SortAfterListing(m, s);
    EXPECT_EQ(Names(m), (Names_t{"small", "large"}));
    s.autoSort = true;
    SortAfterListing(m, s);
    EXPECT_EQ(Names(m), (Names_t{"large", "small"}));

    ScriptedPrompter prompter;
    const Subscription scope = InstallPrompter(prompter);
    ScriptedFilerQuestions filerQuestions;
    filerQuestions.AnswerSort(std::nullopt);
    EXPECT_FALSE(RunSortDialog(m, s));
    EXPECT_EQ(s.sort, kSortSize);
    EXPECT_EQ(Names(m), (Names_t{"large", "small"}));
    filerQuestions.AnswerSort(FilerQuestions::SortChoice{kSortName, false, true});
    EXPECT_TRUE(RunSortDialog(m, s));
    EXPECT_EQ(Names(m), (Names_t{"small", "large"}));
    EXPECT_EQ(s.sort, kSortName);
    EXPECT_FALSE(s.autoSort);
    EXPECT_TRUE(s.revSort);
    ASSERT_EQ(filerQuestions.SortsAsked().size(), 2u);
    EXPECT_EQ(filerQuestions.SortsAsked()[0].key, kSortSize);
    EXPECT_TRUE(filerQuestions.SortsAsked()[0].autoSort);
}

}  // namespace
}  // namespace kestrum
