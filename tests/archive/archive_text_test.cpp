// The archive texts: extensions, command lines, member-name checks, the
// libraries' records, time and ratio arithmetic, the listing line.
#include "archive/archive_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kestrum {
namespace {

TEST(ArchiveText, KindsByExtension) {
    struct Row {
        const char* name;
        ArchiveKind extract;
        ListingKind listing;
    };
    const Row rows[] = {
        {"a.lzh", ArchiveKind::Lzh, ListingKind::Lha},   {"A.ZIP", ArchiveKind::Zip, ListingKind::Zip},
        {"a.tar.gz", ArchiveKind::TarGz, ListingKind::Tar}, {"a.tgz", ArchiveKind::TarGz, ListingKind::Tar},
        {"a.Taz", ArchiveKind::TarGz, ListingKind::Tar}, {"a.gzip", ArchiveKind::TarGz, ListingKind::Lha},
        {"a.tar", ArchiveKind::Tar, ListingKind::Tar},   {"a.ish", ArchiveKind::Ish, ListingKind::Lha},
        {"noext", ArchiveKind::Ish, ListingKind::Lha},   {"dir.zip\\file", ArchiveKind::Ish, ListingKind::Lha},
        {"a.exe", ArchiveKind::Ish, ListingKind::Lha},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(KindForExtract(r.name), r.extract) << r.name;
        EXPECT_EQ(KindForListing(r.name), r.listing) << r.name;
    }
    EXPECT_TRUE(IsNestedArchiveName("in\\inner.LZH"));
    EXPECT_TRUE(IsNestedArchiveName("x.tgz"));
    EXPECT_FALSE(IsNestedArchiveName("x.taz"));
    EXPECT_FALSE(IsNestedArchiveName("x.txt"));
}

// The destination is quoted unless empty or already quoted by the user;
// the archive and the file specification go as typed.
TEST(ArchiveText, CommandLines) {
    EXPECT_EQ(PackCommand("out", "\"a b.txt\""), "a -d1 -a1 out \"a b.txt\"");
    EXPECT_EQ(PackCommand("out.lzh", "@C:\\T\\pkd1.tmp"), "a -d1 -a1 out.lzh @C:\\T\\pkd1.tmp");
    EXPECT_EQ(UnpackCommand("a.lzh ", "C:\\my dir\\"), "e -x1 -a1 -m1 a.lzh  \"C:\\my dir\\\"");
    EXPECT_EQ(UnpackCommand("a.lzh ", "\"C:\\x\\"), "e -x1 -a1 -m1 a.lzh  \"C:\\x\\");
    EXPECT_EQ(TarExtractCommand(true, "a.tgz", "C:\\out\\"), "xzf a.tgz -o \"C:\\out\\\"");
    EXPECT_EQ(TarExtractCommand(false, "a.tar", ""), "xf a.tar -o ");
    EXPECT_EQ(IshExtractCommand("a.ish", "C:\\out\\"), "a.ish /f=C:\\out\\");
    EXPECT_EQ(IshExtractCommand("a.ish", ""), "a.ish");
    EXPECT_EQ(LhaMemberCommand("C:\\a b.lzh", "C:\\T\\kad0.TMP", "/dir/x.txt"),
              "e -x1 -m1 -a2 -jf0 \"C:\\a b.lzh\" C:\\T\\kad0.TMP\\ \"dir/x.txt\"");
    EXPECT_EQ(LhaMemberCommand("a.lzh", "C:\\Local Settings\\kad0.TMP", "x"),
              "e -x1 -m1 -a2 -jf0 \"a.lzh\" \"C:\\Local Settings\\kad0.TMP\\\" \"x\"");
    EXPECT_EQ(TarMemberCommand("a.tgz", "C:\\T\\kad1.TMP", "d/x"), "xzf \"a.tgz\" -o C:\\T\\kad1.TMP \"d/x\"");
    EXPECT_EQ(ResponseFileText({"a.txt", "my file", "表"}), "\"a.txt\"\r\n\"my file\"\r\n\"表\"\r\n");
}

TEST(ArchiveText, IshDestination) {
    EXPECT_EQ(IshDestination("a.ish /f=C:\\out"), "C:\\out");
    EXPECT_EQ(IshDestination("a.ish /F= C:\\out  /x"), "C:\\out");
    EXPECT_EQ(IshDestination("a.ish"), "");
    EXPECT_EQ(IshDestination("表.ish /f=C:\\表\\"), "C:\\表\\");
}

// Names that would leave the directory they are extracted to, and names
// that are fine.
TEST(ArchiveText, SafeMemberPaths) {
    EXPECT_EQ(SafeMemberPath("dir/sub/x.txt"), "dir\\sub\\x.txt");
    EXPECT_EQ(SafeMemberPath("/top.txt"), "top.txt");
    EXPECT_EQ(SafeMemberPath("\\top.txt"), "top.txt");
    EXPECT_EQ(SafeMemberPath("dir/"), "dir\\");
    EXPECT_EQ(SafeMemberPath("表\\ソ.txt"), "表\\ソ.txt");  // trail bytes 0x5C are no separators
    EXPECT_EQ(SafeMemberPath("..a/b..c"), "..a\\b..c");
    for (const char* bad : {"../../x", "..\\x", "a/../../b", "D/../../D/x", "//WORK/x", "\\\\server\\x", "C:\\x",
                            "C:x", "a//b", "", "/", "a\x01" "b", "x/..", "..", "a:b"}) {
        EXPECT_FALSE(SafeMemberPath(bad).has_value()) << bad;
    }
    // Names the platform would make as something else, or not at all.
    for (const char* bad : {"CON", "nul.txt", "dir/com1", "Lpt9.log/x", "x.", "dir /x", "a<b", "a>b", "a|b", "a?b",
                            "a*b", "a\"b"}) {
        EXPECT_FALSE(SafeMemberPath(bad).has_value()) << bad;
    }
    for (const char* fine : {"console.txt", "com10", "a.b", "./a", "nul_x", "ポ"}) {
        EXPECT_TRUE(SafeMemberPath(fine).has_value()) << fine;
    }
    EXPECT_FALSE(SafeMemberPath(std::string(1000, 'a')).has_value());
    EXPECT_TRUE(SafeMemberPath(std::string(255, 'a')).has_value());
}

TEST(ArchiveText, ListingRecord) {
    unsigned char r[kListingRecordSize] = {};
    const unsigned char head[] = {0x10, 0x27, 0, 0,  // 10000
                                  0xE8, 0x03, 0, 0,  // 1000
                                  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0x64, 0x00,  // 100 per mille
                                  0x21, 0x2C,  // 2002-01-01
                                  0x60, 0x6B}; // 13:27
    std::memcpy(r, head, sizeof head);
    std::strcpy(reinterpret_cast<char*>(r + 26), "dir/表.txt");
    const MemberInfo m = ParseListingRecord(r, sizeof r);
    EXPECT_EQ(m.uncompressedSize, 10000u);
    EXPECT_EQ(m.compressedSize, 1000u);
    EXPECT_EQ(m.ratio, 100);
    EXPECT_EQ(m.year, 2002);
    EXPECT_EQ(m.month, 1);
    EXPECT_EQ(m.day, 1);
    EXPECT_EQ(m.hour, 13);
    EXPECT_EQ(m.minute, 27);
    EXPECT_EQ(m.name, "dir/表.txt");
    // A name that fills its field without a terminator stops at the field.
    std::memset(r + 26, 'n', 513);
    EXPECT_EQ(ParseListingRecord(r, sizeof r).name.size(), 513u);
    EXPECT_EQ(ParseListingRecord(r, 10).name, "");
}

TEST(ArchiveText, PluginRecords) {
    std::vector<unsigned char> block(kPluginRecordSize * 3 + 100, 0);
    auto put = [&](std::size_t i, std::uint32_t pos, const char* path, const char* name) {
        unsigned char* r = block.data() + i * kPluginRecordSize;
        std::memcpy(r, "Deflate", 7);
        r[8] = static_cast<unsigned char>(pos);
        r[9] = static_cast<unsigned char>(pos >> 8);
        r[16] = 5;
        std::strcpy(reinterpret_cast<char*>(r + 24), path);
        std::strcpy(reinterpret_cast<char*>(r + 224), name);
    };
    put(0, 0, "", "a.txt");
    put(1, 300, "dir\\", "");
    put(2, 500, "dir\\", "b.txt");
    const std::vector<PluginEntry> e = ParsePluginEntries(block.data(), block.size());
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].fileName, "a.txt");
    EXPECT_EQ(e[1].fileName, "");
    EXPECT_EQ(e[1].position, 300u);
    EXPECT_EQ(e[2].path, "dir\\");
    EXPECT_EQ(e[2].uncompressedSize, 5u);
    // A block cut inside a record, and one ended by a zero byte.
    EXPECT_EQ(ParsePluginEntries(block.data(), kPluginRecordSize * 2 + 10).size(), 2u);
    block[kPluginRecordSize] = 0;
    EXPECT_EQ(ParsePluginEntries(block.data(), block.size()).size(), 1u);
    EXPECT_TRUE(ParsePluginEntries(block.data(), 0).empty());
}

// 64-bit arithmetic: no overflow after 2038 or for members over 4 MB.
TEST(ArchiveText, TimesAndRatios) {
    struct Row {
        std::int64_t t;
        CivilTime c;
    };
    const Row rows[] = {
        {0, {1970, 1, 1, 0, 0}},
        {951782400, {2000, 2, 29, 0, 0}},
        {2147483647, {2038, 1, 19, 3, 14}},
        {4102444800 + 3600 * 5 + 60 * 7, {2100, 1, 1, 5, 7}},
        {4107542400, {2100, 3, 1, 0, 0}},  // 2100 is no leap year
        {-60, {1969, 12, 31, 23, 59}},
    };
    for (const Row& r : rows) {
        const CivilTime c = CivilFromUnix(r.t);
        EXPECT_EQ(c.year, r.c.year) << r.t;
        EXPECT_EQ(c.month, r.c.month) << r.t;
        EXPECT_EQ(c.day, r.c.day) << r.t;
        EXPECT_EQ(c.hour, r.c.hour) << r.t;
        EXPECT_EQ(c.minute, r.c.minute) << r.t;
    }
    EXPECT_EQ(RatioPerMille(0, 0), 0);
    EXPECT_EQ(RatioPerMille(50, 100), 500);
    EXPECT_EQ(RatioPerMille(4000000000u, 4200000000u), 952);
    EXPECT_EQ(RatioPerMille(300, 100), 3000);
}

TEST(ArchiveText, ListingLine) {
    MemberInfo m;
    m.name = "a.txt";
    m.compressedSize = 120;
    m.uncompressedSize = 1000;
    m.ratio = 120;
    m.year = 2024;
    m.month = 3;
    m.day = 5;
    m.hour = 7;
    m.minute = 9;
    EXPECT_EQ(ListingLine(m), "a.txt               120      1000  12.0％ 2024/ 3/ 5  7: 9");
    m.name = "a-long-name-of-twenty.txt";
    EXPECT_EQ(ListingLine(m).substr(0, 35), "a-long-name-of-twenty.txt       120");
}

}  // namespace
}  // namespace kestrum
