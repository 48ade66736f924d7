// The filer's listing model: the add rule, texts, paging, marks and totals.
#include "filer/file_list.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

FindRecord File(const std::string& name, std::uint64_t size = 1, std::uint32_t attr = 0) {
    FindRecord f;
    f.name = name;
    f.size = size;
    f.attributes = attr;
    f.lastWriteTime = 1;
    return f;
}
FindRecord Dir(const std::string& name, std::uint32_t attr = 0) { return File(name, 0, attr | kAttrDirectory); }

DisplayOptions Options(int mode = 0, int width = 18) {
    DisplayOptions o;
    o.mode = mode;
    o.columnChars = width;
    o.localTime = [](std::uint64_t, int* minute) {
        *minute = 7;
        return LocalDate{2026, 12, 8, 9};
    };
    return o;
}

std::vector<std::string> Names(const FileListModel& m) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < m.Count(); ++i) out.push_back(m.Entry(i).find.name);
    return out;
}

TEST(FileListTest, AddRuleMasksFilesButNeverDirectories) {
    const std::vector<std::string> masks = {"0*.TXT"};
    FileListModel m;
    FileListModel::AddRules rules{true, &masks};
    for (const FindRecord& f : {Dir("."), Dir(".."), Dir("SRC"), File("A.TXT"), File("A.B.TXT"), File("B.DOC")}) {
        m.Offer(f, rules, Options());
    }
    EXPECT_EQ(Names(m), (std::vector<std::string>{".", "..", "SRC", "A.TXT"}));
    const std::vector<std::string> prefix = {"0A*"};
    FileListModel p;
    p.Offer(File("ABC.DOC"), {true, &prefix}, Options());
    EXPECT_EQ(p.Count(), 1u);
    const std::vector<std::string> none;
    FileListModel q;
    q.Offer(File("X"), {true, &none}, Options());
    EXPECT_EQ(q.Count(), 0u);
}

TEST(FileListTest, HiddenEntriesIncludingDirectories) {
    const std::vector<std::string> masks = {"0*.*"};
    FileListModel m;
    m.Offer(Dir("HIDE", kAttrHidden), {false, &masks}, Options());
    m.Offer(File("h.txt", 1, kAttrHidden), {false, &masks}, Options());
    m.Offer(File("v.txt"), {false, &masks}, Options());
    EXPECT_EQ(Names(m), (std::vector<std::string>{"v.txt"}));
}

TEST(FileListTest, DateMasks) {
    const std::vector<std::string> masks = {std::string("1\x07\xEA\x0C\x08\xFF", 6)};  // 2026-12-08, any hour
    FileListModel m;
    EXPECT_TRUE(m.Offer(File("today.txt"), {true, &masks}, Options()));
    DisplayOptions other = Options();
    other.localTime = [](std::uint64_t, int*) { return LocalDate{2026, 12, 7, 9}; };
    EXPECT_FALSE(m.Offer(File("old.txt"), {true, &masks}, other));
}

TEST(FileListTest, EntryTexts) {
    DisplayOptions o = Options();
    o.fileNameStyle = 2;
    EXPECT_EQ(NameText(Dir("Src"), o), " <src>");
    o.folderStyle = false;
    o.fileNameStyle = 1;
    EXPECT_EQ(NameText(Dir("Src"), o), " SRC");
    // A 5 GB file shows its true size; the date is yy/mm/dd hh:mm.
    EXPECT_EQ(SizeDateText(File("big", 5368709120ULL), Options()), "5368709120 26/12/08 09:07");
    EXPECT_EQ(SizeDateText(File("small", 42), Options()), "       42 26/12/08 09:07");
    EXPECT_EQ(SizeDateText(Dir("d"), Options()), "26/12/08 09:07");
    // Mode 1 texts are exactly W characters when the name is short enough.
    EXPECT_EQ(ListText(File("a.txt", 5), Options(1, 39)).size(), 39u);
    EXPECT_EQ(ListText(Dir("dir"), Options(1, 39)).size(), 39u);
    EXPECT_EQ(ListText(File("a-very-long-file-name-indeed.txt", 5), Options(1, 39)).size(), 39u);
    // Cutting never splits a double-byte character.
    EXPECT_EQ(ListText(File("表表表"), Options(0, 4)), " 表");
}

TEST(FileListTest, ThousandsFormat) {
    EXPECT_EQ(FormatThousands(0), "");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(5368709120LL), "5,368,709,120");
    EXPECT_EQ(FormatThousands(-1234), "-1,234");
}

FileListModel Listing(int count) {
    const std::vector<std::string> masks = {"0*.*"};
    FileListModel m;
    for (int i = 0; i < count; ++i) m.Offer(File("f" + std::to_string(i)), {true, &masks}, Options());
    return m;
}

TEST(FileListTest, CursorAndPages) {
    FileListModel m = Listing(25);
    m.SetGrid(5, 2);  // pages of 10, filled column by column
    m.PlaceCursor(13);
    EXPECT_EQ(m.PageTop(), 10);
    EXPECT_EQ(m.PageBottom(), 19);
    EXPECT_EQ(m.CursorCol(), 0);
    EXPECT_EQ(m.CursorRow(), 3);
    EXPECT_EQ(m.CursorIndex(), 13);
    m.PlaceCursor(25 + 5);
    EXPECT_EQ(m.CursorIndex(), 24);
    EXPECT_EQ(m.PageBottom(), 24);
    EXPECT_FALSE(m.PageForward());
    EXPECT_TRUE(m.PageBack());
    EXPECT_EQ(m.PageTop(), 10);
    EXPECT_TRUE(m.PageBack());
    EXPECT_FALSE(m.PageBack());
    // A cell past the last entry snaps to cell 0 of the page.
    m.PlaceCursor(24);
    m.SetCursorCell(1, 4);
    EXPECT_EQ(m.CursorIndex(), 20);
    FileListModel empty;
    empty.PlaceCursor(7);
    EXPECT_EQ(empty.CursorIndex(), 0);
}

TEST(FileListTest, ZeroSizedGridsAndLongListings) {
    FileListModel m = Listing(40000);
    m.SetGrid(0, 0);  // a minimised window
    EXPECT_EQ(m.PageSize(), 1);
    m.SetGrid(20, 5);
    m.PlaceCursor(39999);
    EXPECT_EQ(m.PageTop(), 39900);
    EXPECT_EQ(m.CursorIndex(), 39999);
    EXPECT_EQ(m.ScrollPosition(), 3990);
    int pages = 0;
    while (m.PageBack()) ++pages;
    EXPECT_EQ(pages, 399);
}

// Names of every length the platform gives, some double-byte, some long
// enough that the name store needs many blocks.
std::string LongListingName(int i) {
    std::string name = "f" + std::to_string(i);
    if (i % 7 == 0) name += ".txt";
    if (i % 11 == 0) name = "\x95\x5C" + name;  // 表: a trail byte that is a backslash
    if (i % 13 == 0) name += std::string(200 + i % 50, 'x');
    return name;
}

TEST(FileListTest, AHundredThousandEntriesKeepEverything) {
    const int count = 100000;
    const std::vector<std::string> masks = {"0*.*"};
    FileListModel m;
    FindRecord f;
    for (int i = 0; i < count; ++i) {
        f.name = LongListingName(i);
        f.attributes = i % 5 == 0 ? kAttrDirectory : 0;
        f.size = (static_cast<std::uint64_t>(i) << 20) + 1;  // past 4 GiB from i = 4096 on
        f.lastWriteTime = 1000 + static_cast<std::uint64_t>(i);
        ASSERT_TRUE(m.Offer(f, {true, &masks}, Options()));
    }
    ASSERT_EQ(m.Count(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(m.Name(i), LongListingName(i)) << i;
        ASSERT_EQ(m.IsDirectory(i), i % 5 == 0) << i;
        ASSERT_EQ(m.Size(i), (static_cast<std::uint64_t>(i) << 20) + 1) << i;
        ASSERT_EQ(m.LastWriteTime(i), 1000 + static_cast<std::uint64_t>(i)) << i;
    }
    const FileEntry e = m.Entry(77777);
    EXPECT_EQ(e.find.name, LongListingName(77777));
    EXPECT_EQ(e.text, ListText(e.find, Options()));

    // Cursor and pages past 32,767.
    m.SetGrid(30, 4);
    m.PlaceCursor(count - 1);
    EXPECT_EQ(m.CursorIndex(), count - 1);
    EXPECT_EQ(m.PageTop(), 99960);
    EXPECT_FALSE(m.PageForward());
    m.PlaceCursor(40000);
    EXPECT_EQ(m.PageTop(), 39960);
    EXPECT_EQ(m.CursorCol(), 1);
    EXPECT_EQ(m.CursorRow(), 10);
    std::string from = LongListingName(65432);
    EXPECT_EQ(m.StartingCursor(from), 65432);

    // Marks and totals on entries far apart.
    m.SetClusterSize(4096);
    auto dirSize = [](const FindRecord& r) { return static_cast<long long>(r.name.size()); };
    auto fileDelta = [&m](long long i) { return m.RoundToCluster((i << 20) + 1); };
    long long expected = 0;
    for (int i : {1, 32767, 32768, 65536, 65538, 99999}) {
        EXPECT_EQ(m.SetMark(i, true, dirSize), fileDelta(i)) << i;
        expected += fileDelta(i);
    }
    // A directory counts the size of its contents.
    EXPECT_EQ(m.SetMark(70000, true, dirSize), static_cast<long long>(LongListingName(70000).size()));
    expected += static_cast<long long>(LongListingName(70000).size());
    EXPECT_EQ(m.MarkedTotal(), expected);
    EXPECT_EQ(m.CountText(), "7/100000 ");
    EXPECT_TRUE(m.Marked(65536));
    EXPECT_FALSE(m.Marked(65537));
    EXPECT_EQ(m.Entry(65538).text[0], '*');
    EXPECT_EQ(m.Text(99999)[0], '*');
    m.SetMark(32768, false, dirSize);
    EXPECT_EQ(m.MarkedCount(), 6u);
    EXPECT_EQ(m.Text(32768)[0], ' ');

    // Both display modes on the last entries.
    m.RebuildTexts(Options(1, 39));
    EXPECT_EQ(m.Text(99998), ListText(m.Record(99998), Options(1, 39)));
    EXPECT_EQ(m.Text(99999), "*" + ListText(m.Record(99999), Options(1, 39)).substr(1));

    // A copy is a deep one; a move leaves an empty model behind.
    FileListModel copy = m;
    m.Clear();
    EXPECT_EQ(m.Count(), 0u);
    EXPECT_EQ(m.MarkedCount(), 0u);
    EXPECT_EQ(copy.Count(), static_cast<std::size_t>(count));
    EXPECT_EQ(copy.Name(99999), LongListingName(99999));
    EXPECT_EQ(copy.MarkedCount(), 6u);
    FileListModel moved = std::move(copy);
    EXPECT_EQ(copy.Count(), 0u);
    EXPECT_EQ(moved.Name(12345), LongListingName(12345));
    EXPECT_EQ(moved.MarkedTotal(), expected - fileDelta(32768));
}

TEST(FileListTest, MasksOverALongListing) {
    const std::vector<std::string> masks = {"0*.TXT", "0F9999*"};
    FileListModel m;
    FindRecord f;
    int expected = 0;
    for (int i = 0; i < 100000; ++i) {
        f.name = LongListingName(i);
        const bool txt = f.name.size() > 4 && f.name.compare(f.name.size() - 4, 4, ".txt") == 0;
        const bool prefix = f.name.rfind("f9999", 0) == 0;
        if (txt || prefix) ++expected;
        m.Offer(f, {true, &masks}, Options());
    }
    EXPECT_EQ(m.Count(), static_cast<std::size_t>(expected));
    EXPECT_EQ(m.Name(m.Count() - 1), "f99999");
}

TEST(FileListTest, StartingCursor) {
    const std::vector<std::string> masks = {"0*.*"};
    FileListModel m;
    for (const FindRecord& f : {Dir("."), Dir(".."), Dir("src"), Dir("SRC2")}) m.Offer(f, {true, &masks}, Options());
    std::string from = "SRC";
    EXPECT_EQ(m.StartingCursor(from), 2);
    EXPECT_TRUE(from.empty());
    EXPECT_EQ(m.StartingCursor(from), 1);  // ".." when nothing to return to
    from = "gone";
    EXPECT_EQ(m.StartingCursor(from), 1);
}

TEST(FileListTest, MarksAndTotals) {
    const std::vector<std::string> masks = {"0*.*"};
    FileListModel m;
    for (const FindRecord& f : {Dir(".."), File("one", 1), File("exact", 8192), File("big", 5368709120ULL), Dir("d")}) {
        m.Offer(f, {true, &masks}, Options());
    }
    m.SetClusterSize(4096);
    auto dirSize = [](const FindRecord&) { return 12288LL; };
    EXPECT_EQ(m.SetMark(0, true, dirSize), 0);  // ".." is never marked
    EXPECT_FALSE(m.Entry(0).marked);
    EXPECT_EQ(m.SetMark(1, true, dirSize), 4096);
    EXPECT_EQ(m.SetMark(1, true, dirSize), 0);  // already marked
    EXPECT_EQ(m.SetMark(2, true, dirSize), 8192);
    EXPECT_EQ(m.SetMark(3, true, dirSize), 5368709120LL);
    EXPECT_EQ(m.SetMark(4, true, dirSize), 12288);
    EXPECT_EQ(m.MarkedTotal(), 4096 + 8192 + 5368709120LL + 12288);
    EXPECT_EQ(m.Entry(1).text[0], '*');
    EXPECT_EQ(m.MarkedCount(), 4u);
    EXPECT_EQ(m.CountText(), "4/5 ");
    m.SetMark(1, false, dirSize);
    EXPECT_EQ(m.Entry(1).text[0], ' ');
    EXPECT_EQ(m.MarkedSizeText(), "Size  5,368,729,600 ");
    // Texts rebuilt for another mode keep the marks.
    m.RebuildTexts(Options(1, 39));
    EXPECT_EQ(m.Entry(2).text[0], '*');
    EXPECT_EQ(m.Entry(1).text[0], ' ');
}

}  // namespace
}  // namespace kestrum
