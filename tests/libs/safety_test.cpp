// Hostile archives: no member is written outside its target, links are
// never made, damage is reported while the intact members still come out,
// and an existing file is only replaced when the switch says so.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"
#include "libs/lzh/lzh_archive.h"
#include "libs/lzh/lzh_codec.h"
#include "libs/lzh/unlha_command.h"
#include "libs/tar/tar_command.h"
#include "libs/tar/tar_format.h"
#include "libs/zip/axzip.h"
#include "tests/libs/mem_fs.h"

namespace kestrum {
namespace {

using arc::test::MemFs;

TEST(MemberPath, RefusesWhatLeavesTheTarget) {
    struct Case { const char* raw; bool strip; const char* path; };  // path null: refused
    const Case cases[] = {
        {"a/b/c.txt", false, "a\\b\\c.txt"},
        {"a\\.\\b", false, "a\\b"},
        {"表\\示.txt", false, "表\\示.txt"},      // 表 ends in 0x5C: not a separator
        {"表.txt", false, "表.txt"},
        {"../../x", false, nullptr},
        {"D/../../D/x", false, nullptr},
        {"a/../b", false, nullptr},
        {"/WORK/x", false, nullptr},
        {"/WORK/x", true, "WORK\\x"},
        {"\\\\server\\share\\x", false, nullptr},
        {"C:\\x", false, nullptr},
        {"C:x", false, nullptr},
        {"C:\\x", true, "x"},
        {"a:stream", false, nullptr},
        {"CON", false, nullptr},
        {"dir/aux.txt", false, nullptr},
        {"com1", false, nullptr},
        {"com10", false, "com10"},
        {"trail.", false, nullptr},
        {"trail ", false, nullptr},
        {"ctl\x01", false, nullptr},
        {"what?", false, nullptr},
        {"a|b", false, nullptr},
    };
    for (const Case& c : cases) {
        arc::MemberPath mp = arc::CheckMemberPath(c.raw, c.strip);
        if (c.path) {
            EXPECT_TRUE(mp.ok) << c.raw;
            EXPECT_EQ(mp.path, c.path) << c.raw;
        } else {
            EXPECT_FALSE(mp.ok) << c.raw << " -> " << mp.path;
            EXPECT_FALSE(mp.reason.empty());
        }
    }
    EXPECT_FALSE(arc::CheckMemberPath(std::string(1000, 'x'), false).ok);
}

// A lead byte without its trail byte means different things to different
// conversions (dropped, or taking the next byte with it): such names are
// refused, wherever the half character stands.
TEST(MemberPath, RefusesHalfACharacter) {
    const char* const refused[] = {"..\x82", "..\x82/x", "a/..\x82", "a\x82/b", "x\x82", "\x81 .txt", "\xFC"};
    for (const char* raw : refused) {
        for (bool strip : {false, true}) {
            const arc::MemberPath mp = arc::CheckMemberPath(raw, strip);
            EXPECT_FALSE(mp.ok) << raw << " -> " << mp.path;
            EXPECT_FALSE(mp.reason.empty());
        }
    }
    // Whole characters pass, whatever their trail byte.
    EXPECT_EQ(arc::CheckMemberPath("\x82\xA0\x95\\x/\x81\x40", false).path, "\x82\xA0\x95\\x\\\x81\x40");
}

TEST(MemberPath, WildcardsAndSelection) {
    EXPECT_TRUE(arc::MatchWild("*.txt", "A.TXT"));
    EXPECT_TRUE(arc::MatchWild("*.*", "noext"));
    EXPECT_TRUE(arc::MatchWild("name.*", "name"));
    EXPECT_FALSE(arc::MatchWild("*.txt", "a.txt.bak"));
    EXPECT_TRUE(arc::MatchWild("?.txt", "表.txt"));  // ? is one character, two bytes here
    EXPECT_TRUE(arc::SelectedByPatterns({"dir\\"}, "dir/sub/a.txt"));
    EXPECT_TRUE(arc::SelectedByPatterns({"a.txt"}, "dir\\a.txt"));
    EXPECT_FALSE(arc::SelectedByPatterns({"x\\a.txt"}, "dir\\a.txt"));
    auto words = arc::SplitArgs("e -x1 \"C:\\My Dir\\a.lzh\" out\\ \"表 示.txt\"");
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[2], "C:\\My Dir\\a.lzh");
    EXPECT_EQ(words[4], "表 示.txt");
    auto resp = arc::SplitResponseFile("\"a b.txt\"\r\nc.txt\r\n\r\n");
    EXPECT_EQ(resp, (std::vector<std::string>{"a b.txt", "c.txt"}));
}

// An LHA archive of stored members with the given names (level-2 headers).
std::string LzhArchive(const std::vector<std::pair<std::string, std::string>>& members, bool dirs = false) {
    std::string out;
    for (auto& [name, body] : members) {
        lzh::Member m;
        std::memcpy(m.method, dirs && body.empty() ? "-lhd-" : "-lh0-", 5);
        m.name = name;
        m.isDir = dirs && body.empty();
        m.original = m.packed = body.size();
        m.crc = lzh::Crc16(0, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
        m.mtime = 1700000000;
        auto h = lzh::BuildLevel2Header(m);
        out.append(h.begin(), h.end());
        out += body;
    }
    out += '\0';
    return out;
}

bool AllUnder(const MemFs& fs, const std::string& target) {
    for (const std::string& p : fs.Written()) {
        if (p.compare(0, target.size() + 1, target + "\\") != 0 && p != target) {
            ADD_FAILURE() << "written outside the target: " << p;
            return false;
        }
    }
    return true;
}

TEST(LzhSafety, TraversalAbsoluteAndLongNamesWriteNothingOutside) {
    MemFs fs;
    fs.AddDir("C:\\out");
    fs.AddFile("C:\\arc.lzh", LzhArchive({
        {"..\\..\\evil.txt", "x"},
        {"\\abs.txt", "x"},
        {"C:\\drive.txt", "x"},
        {"D\\..\\..\\D\\x.txt", "x"},
        {std::string(1000, 'n'), "x"},
        {"sub\\" + std::string(250, 'm'), "x"},  // each part fits, the whole path does not
        {"ok\\good.txt", "good"},
    }));
    std::string text;
    int r = lzh::RunUnlha(fs, "e -x1 -a1 -m1 C:\\arc.lzh \"C:\\out\\\"", text);
    EXPECT_NE(r, 0);
    EXPECT_FALSE(arc::IsWarning(r));
    EXPECT_TRUE(AllUnder(fs, "C:\\out"));
    EXPECT_EQ(fs.Content("C:\\out\\ok\\good.txt"), "good");
    EXPECT_FALSE(fs.Has("C:\\evil.txt"));
    EXPECT_FALSE(fs.Has("C:\\abs.txt"));
    // With -jf0 the root is dropped instead: the member lands inside.
    MemFs fs2;
    fs2.AddDir("out");
    fs2.AddFile("arc.lzh", LzhArchive({{"\\abs.txt", "a"}, {"C:\\drive.txt", "d"}}));
    EXPECT_EQ(lzh::RunUnlha(fs2, "e -x1 -m1 -jf0 arc.lzh out\\", text), 0) << text;
    EXPECT_EQ(fs2.Content("out\\abs.txt"), "a");
    EXPECT_EQ(fs2.Content("out\\drive.txt"), "d");
    EXPECT_TRUE(AllUnder(fs2, "out"));
}

TEST(LzhSafety, LinksAreNeitherMadeNorFollowed) {
    MemFs fs;
    fs.AddDir("out");
    fs.AddLink("out\\lnk");  // points anywhere: never written through
    fs.AddFile("arc.lzh", LzhArchive({{"link|/etc/passwd", ""}, {"lnk\\x.txt", "x"}, {"lnk", "y"}}, true));
    std::string text;
    EXPECT_NE(lzh::RunUnlha(fs, "x -m1 arc.lzh out\\", text), 0);
    EXPECT_TRUE(fs.Written().empty()) << fs.Written().front();
}

TEST(LzhSafety, ExistingFilesFollowTheOverwriteSwitch) {
    MemFs fs;
    fs.AddDir("out");
    fs.AddFile("out\\a.txt", "old");
    fs.AddFile("arc.lzh", LzhArchive({{"a.txt", "new"}, {"b.txt", "b"}}));
    std::string text;
    EXPECT_EQ(lzh::RunUnlha(fs, "e arc.lzh out\\", text), arc::kErrAlreadyExist);
    EXPECT_EQ(fs.Content("out\\a.txt"), "old");
    EXPECT_EQ(fs.Content("out\\b.txt"), "b");  // the rest still comes out
    EXPECT_EQ(lzh::RunUnlha(fs, "e -m1 arc.lzh out\\", text), 0);
    EXPECT_EQ(fs.Content("out\\a.txt"), "new");
}

// A file kept because it was there is the least of the problems: a later
// member that fails (its CRC, its file) is what the result says.
TEST(LzhSafety, AKeptFileDoesNotHideALaterFailure) {
    std::string arcBytes = LzhArchive({{"a.txt", "new"}, {"b.txt", "bbbb"}, {"c.txt", "c"}});
    std::string crcBroken = arcBytes;
    crcBroken[crcBroken.find("bbbb")] = 'X';
    struct Case { const char* what; std::string bytes; int want; bool blockB; };
    const Case cases[] = {{"crc", crcBroken, arc::kErrFileCrc, false},
                          {"open", arcBytes, arc::kErrFileOpen, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemFs fs;
        fs.AddDir("out");
        fs.AddFile("out\\a.txt", "old");
        if (c.blockB) fs.failCreate = "out\\b.txt";
        fs.AddFile("arc.lzh", c.bytes);
        std::string text;
        EXPECT_EQ(lzh::RunUnlha(fs, "e arc.lzh out\\", text), c.want) << text;
        EXPECT_EQ(fs.Content("out\\a.txt"), "old");
        EXPECT_EQ(fs.Content("out\\c.txt"), "c");
    }
    // The order does not matter: a failure before the kept file wins too.
    MemFs fs;
    fs.AddDir("out");
    fs.AddFile("out\\c.txt", "old");
    fs.AddFile("arc.lzh", crcBroken);
    std::string text;
    EXPECT_EQ(lzh::RunUnlha(fs, "e arc.lzh out\\", text), arc::kErrFileCrc) << text;
}

TEST(LzhSafety, DamagedArchivesGiveWhatIsIntact) {
    std::string good = LzhArchive({{"one.txt", "1111"}, {"two.txt", "2222"}});
    good.pop_back();  // no end mark
    struct Case { const char* what; std::string bytes; };
    std::string badHeader = good + "\x30\x00-lh5-garbage";
    std::string hugeSize = good;
    {
        lzh::Member m;
        std::memcpy(m.method, "-lh5-", 5);
        m.name = "huge.txt";
        m.original = 0xFFFFFFFF;
        m.packed = 0xFFFFFFF0;
        auto h = lzh::BuildLevel2Header(m);
        hugeSize.append(h.begin(), h.end());
        hugeSize += "\x00\x01\x00\x00";
    }
    std::string zeroTables = good;
    {
        // One block whose tables are all of one symbol, claiming far more
        // bytes than it holds.
        lzh::Member m;
        std::memcpy(m.method, "-lh7-", 5);
        m.name = "zero.txt";
        m.original = 100000;
        std::string body("\x00\x01\x00\x00\x10\x40\x00\x00", 8);
        m.packed = body.size();
        auto h = lzh::BuildLevel2Header(m);
        zeroTables.append(h.begin(), h.end());
        zeroTables += body + '\0';
    }
    std::string cutHeader = good + std::string(LzhArchive({{"three.txt", "3"}}), 0, 15);
    const Case cases[] = {{"broken header", badHeader}, {"huge sizes", hugeSize},
                          {"zero-length tables", zeroTables}, {"cut header", cutHeader}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemFs fs;
        fs.AddDir("out");
        fs.AddFile("arc.lzh", c.bytes);
        std::string text;
        int r = lzh::RunUnlha(fs, "e -m1 arc.lzh out\\", text);
        EXPECT_NE(r, 0) << text;
        EXPECT_EQ(fs.Content("out\\one.txt"), "1111");
        EXPECT_EQ(fs.Content("out\\two.txt"), "2222");
        EXPECT_FALSE(fs.Has("out\\huge.txt"));
        EXPECT_FALSE(fs.Has("out\\zero.txt"));  // a partial file does not stay
        EXPECT_TRUE(AllUnder(fs, "out"));
        std::vector<arc::ListEntry> entries;
        EXPECT_TRUE(lzh::ListLzh(fs, "arc.lzh", entries));
        EXPECT_GE(entries.size(), 2u);
    }
}

// Packing writes the new archive beside the old one first: a file of the
// user's with the name that temporary would have stays as it is.
TEST(PackSafety, AFileNamedLikeTheTemporaryIsNeverWrittenOver) {
    struct Case { const char* what; const char* line; const char* archive; bool tar; };
    const Case cases[] = {{"lzh", "a C:\\w\\out.lzh C:\\w\\ in.txt", "C:\\w\\out.lzh", false},
                          {"tar", "cf C:\\w\\out.tar -o C:\\w\\ in.txt", "C:\\w\\out.tar", true},
                          {"tar.gz", "czf C:\\w\\out.tgz -o C:\\w\\ in.txt", "C:\\w\\out.tgz", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemFs fs;
        fs.AddDir("C:\\w");
        fs.AddFile("C:\\w\\in.txt", "packed");
        const std::string archive = c.archive;
        fs.AddFile(archive + ".$$$", "mine");
        fs.AddFile(archive + ".$1$", "mine too");
        std::string text;
        const int r = c.tar ? tar::RunTar(fs, c.line, text) : lzh::RunUnlha(fs, c.line, text);
        EXPECT_EQ(r, 0) << text;
        EXPECT_EQ(fs.Content(archive + ".$$$"), "mine");
        EXPECT_EQ(fs.Content(archive + ".$1$"), "mine too");
        EXPECT_TRUE(fs.Has(archive));
        EXPECT_FALSE(fs.Has(archive + ".$2$"));  // the temporary went
        std::vector<arc::ListEntry> entries;
        ASSERT_TRUE(c.tar ? tar::ListTar(fs, archive, entries) : lzh::ListLzh(fs, archive, entries));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, "in.txt");
    }
}

std::string TarArchive(const std::vector<tar::Entry>& entries, const std::string& body) {
    std::string out;
    for (tar::Entry e : entries) {
        e.size = e.IsFile() ? body.size() : 0;
        auto h = tar::BuildHeader(e);
        out.append(h.begin(), h.end());
        if (e.IsFile()) {
            out += body;
            out.append((512 - body.size() % 512) % 512, '\0');
        }
    }
    out.append(1024, '\0');
    return out;
}

TEST(TarSafety, HostileNamesAndLinks) {
    auto entry = [](const char* name, char type = '0', const char* link = "") {
        tar::Entry e;
        e.name = name;
        e.type = type;
        e.linkName = link;
        return e;
    };
    MemFs fs;
    fs.AddDir("out");
    fs.AddFile("a.tar", TarArchive({entry("../../evil"), entry("/etc/evil"), entry("C:/evil"),
                                    entry("sl", '2', "/etc"), entry("hl", '1', "/etc/passwd"),
                                    entry("sl/inside"), entry("ok/fine.txt")}, "data"));
    std::string text;
    EXPECT_NE(tar::RunTar(fs, "xf a.tar -o out\\", text), 0);
    EXPECT_TRUE(AllUnder(fs, "out"));
    EXPECT_FALSE(fs.Has("out\\sl") && fs.Get("out\\sl")->link);
    EXPECT_EQ(fs.Content("out\\ok\\fine.txt"), "data");
    // A header whose checksum is wrong ends the walk; what came before stays.
    std::string bytes = TarArchive({entry("first.txt"), entry("second.txt")}, "x");
    bytes[1024 + 148] ^= 1;
    MemFs fs2;
    fs2.AddFile("b.tar", bytes);
    EXPECT_EQ(tar::RunTar(fs2, "xf b.tar out\\", text), arc::kErrHeaderBroken);
    EXPECT_EQ(fs2.Content("out\\first.txt"), "x");
    EXPECT_FALSE(fs2.Has("out\\second.txt"));
}

TEST(ZipSafety, UnsafeNamesAreNeverExtracted) {
    // A stored ZIP by hand: local headers, central directory, end record.
    auto le16 = [](std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF); s += static_cast<char>(v >> 8); };
    auto le32 = [&](std::string& s, unsigned v) { le16(s, v & 0xFFFF); le16(s, v >> 16); };
    std::vector<std::string> names = {"../x.txt", "/abs.txt", "C:/d.txt", "fine.txt"};
    std::string local, central;
    for (const std::string& n : names) {
        std::size_t off = local.size();
        le32(local, 0x04034b50); le16(local, 10); le16(local, 0); le16(local, 0); le32(local, 0);
        le32(local, 0); le32(local, 0); le32(local, 0); le16(local, static_cast<unsigned>(n.size())); le16(local, 0);
        local += n;
        le32(central, 0x02014b50); le16(central, 20); le16(central, 10); le16(central, 0); le16(central, 0);
        le32(central, 0); le32(central, 0); le32(central, 0); le32(central, 0);
        le16(central, static_cast<unsigned>(n.size())); le16(central, 0); le16(central, 0); le16(central, 0);
        le16(central, 0); le32(central, 0); le32(central, static_cast<unsigned>(off));
        central += n;
    }
    std::string zip = local + central;
    le32(zip, 0x06054b50); le16(zip, 0); le16(zip, 0); le16(zip, 4); le16(zip, 4);
    le32(zip, static_cast<unsigned>(central.size())); le32(zip, static_cast<unsigned>(local.size())); le16(zip, 0);
    std::vector<arc::SpiFileInfo> infos;
    auto* d = reinterpret_cast<const std::uint8_t*>(zip.data());
    ASSERT_EQ(zip::BuildFileInfo(d, zip.size(), nullptr, infos), zip::kSpiOk);
    // Listed whole, so that the host can name them; only fine.txt is split.
    ASSERT_EQ(infos.size(), 5u);
    EXPECT_STREQ(infos[0].filename, "..\\x.txt");
    EXPECT_STREQ(infos[3].filename, "fine.txt");
    // Asking for a refused entry by its position gets nothing.
    zip::ZipEntry e;
    std::string file;
    EXPECT_NE(zip::FindEntry(d, zip.size(), 0, nullptr, e, file), zip::kSpiOk);
    // Cut anywhere: never a crash, never an entry outside the bytes.
    for (std::size_t cut = 0; cut < zip.size(); cut += 7) {
        std::vector<arc::SpiFileInfo> part;
        zip::BuildFileInfo(d, cut, nullptr, part);
    }
}


// A stored ZIP by hand; each entry's central record may carry an
// extended-time field (its seconds as the format writes them).
struct HandZipEntry {
    std::string name, data;
    std::uint32_t dos = 0x5A216000;  // 2025-01-01 12:00
    bool unixTime = false;
    std::uint32_t seconds = 0;
};
std::string HandZip(const std::vector<HandZipEntry>& entries, std::size_t prefix = 0,
                    std::size_t damageRecord = SIZE_MAX) {
    auto le16 = [](std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF); s += static_cast<char>(v >> 8); };
    auto le32 = [&](std::string& s, std::uint32_t v) { le16(s, v & 0xFFFF); le16(s, v >> 16); };
    std::string local, central;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const HandZipEntry& e = entries[i];
        const std::uint32_t off = static_cast<std::uint32_t>(local.size());
        const std::uint32_t crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        std::string extra;
        if (e.unixTime) {
            le16(extra, 0x5455); le16(extra, 5); extra += '\x01'; le32(extra, e.seconds);
        }
        le32(local, 0x04034b50); le16(local, 10); le16(local, 0); le16(local, 0); le32(local, e.dos);
        le32(local, crc); le32(local, static_cast<std::uint32_t>(e.data.size()));
        le32(local, static_cast<std::uint32_t>(e.data.size())); le16(local, static_cast<unsigned>(e.name.size()));
        le16(local, 0);
        local += e.name + e.data;
        le32(central, 0x02014b50); le16(central, 20); le16(central, 10); le16(central, 0); le16(central, 0);
        le32(central, e.dos); le32(central, crc); le32(central, static_cast<std::uint32_t>(e.data.size()));
        le32(central, static_cast<std::uint32_t>(e.data.size()));
        le16(central, static_cast<unsigned>(e.name.size()));
        // A damaged record says its name runs past the directory.
        le16(central, i == damageRecord ? 0xFFFF : static_cast<unsigned>(extra.size()));
        le16(central, 0); le16(central, 0); le16(central, 0); le32(central, 0); le32(central, off);
        central += e.name + extra;
    }
    std::string zip = std::string(prefix, 'H') + local + central;
    le32(zip, 0x06054b50); le16(zip, 0); le16(zip, 0); le16(zip, static_cast<unsigned>(entries.size()));
    le16(zip, static_cast<unsigned>(entries.size()));
    le32(zip, static_cast<std::uint32_t>(central.size())); le32(zip, static_cast<std::uint32_t>(local.size()));
    le16(zip, 0);
    return zip;
}

// Everything a ZIP reader could take for success: an archive behind a
// header is found there, positions count from the file's start and lead
// GetFile to the right data; a damaged record and refused names are said.
TEST(ZipSafety, PrefixedDamagedAndRefusedArchivesAreNoSilentSuccess) {
    const std::vector<HandZipEntry> two{{"a.txt", "aaa"}, {"dir/b.txt", "bbbb"}};
    for (std::size_t prefix : {std::size_t{0}, std::size_t{128}}) {
        SCOPED_TRACE(prefix);
        const std::string zip = HandZip(two, prefix);
        auto* d = reinterpret_cast<const std::uint8_t*>(zip.data());
        // Read from the start, and from past the header as the retry does.
        for (std::size_t skip : {std::size_t{0}, prefix}) {
            std::vector<arc::SpiFileInfo> infos;
            ASSERT_EQ(zip::BuildFileInfo(d + skip, zip.size() - skip, nullptr, infos, skip), zip::kSpiOk);
            ASSERT_EQ(infos.size(), 3u);
            EXPECT_STREQ(infos[1].path, "dir\\");
            EXPECT_STREQ(infos[1].filename, "b.txt");
            // GetFile reads the file from its start with the position given.
            zip::ZipEntry e;
            std::string file;
            ASSERT_EQ(zip::FindEntry(d, zip.size(), infos[1].position, nullptr, e, file), zip::kSpiOk);
            std::string got;
            EXPECT_EQ(zip::UnpackEntry(d, zip.size(), e, [&](const std::uint8_t* p, std::size_t n) {
                got.append(reinterpret_cast<const char*>(p), n);
                return true;
            }), zip::kSpiOk);
            EXPECT_EQ(got, "bbbb");
        }
    }
    // A damaged second record: the first is still listed, and the code says so.
    const std::string damaged = HandZip({{"a.txt", "aaa"}, {"b.txt", "b"}, {"c.txt", "c"}}, 0, 1);
    std::vector<arc::SpiFileInfo> infos;
    EXPECT_EQ(zip::BuildFileInfo(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size(), nullptr,
                                 infos), zip::kSpiBroken);
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_STREQ(infos[0].filename, "a.txt");
    // Refused names are listed whole, so that the host can name them; GetFile refuses them.
    const std::string refused = HandZip({{"../up.txt", "u"}, {"CON", "c"}, {"ok.txt", "o"}});
    auto* r = reinterpret_cast<const std::uint8_t*>(refused.data());
    infos.clear();
    ASSERT_EQ(zip::BuildFileInfo(r, refused.size(), nullptr, infos), zip::kSpiOk);
    ASSERT_EQ(infos.size(), 4u);
    EXPECT_STREQ(infos[0].path, "");
    EXPECT_STREQ(infos[0].filename, "..\\up.txt");
    EXPECT_STREQ(infos[1].filename, "CON");
    zip::ZipEntry e;
    std::string file;
    EXPECT_NE(zip::FindEntry(r, refused.size(), infos[0].position, nullptr, e, file), zip::kSpiOk);
    EXPECT_NE(zip::FindEntry(r, refused.size(), infos[1].position, nullptr, e, file), zip::kSpiOk);
    EXPECT_EQ(zip::FindEntry(r, refused.size(), infos[2].position, nullptr, e, file), zip::kSpiOk);
}

// Times: the DOS fields, or the extended-time field's signed seconds.
TEST(ZipSafety, TimeStamps) {
    auto entry = [](const char* name, bool unixTime, std::uint32_t seconds) {
        HandZipEntry e{name, "x"};
        e.unixTime = unixTime;
        e.seconds = seconds;
        return e;
    };
    const HandZipEntry dos = entry("dos.txt", false, 0);
    const HandZipEntry unix2030 = entry("u.txt", true, 1893456000);  // 2030-01-01 00:00 UTC
    // Negative as the field's signed seconds: the DOS fields tell instead.
    const HandZipEntry before1970 = entry("old.txt", true, static_cast<std::uint32_t>(-86400));
    const HandZipEntry wrapped = entry("new.txt", true, 0x80000000u);
    const std::string zip = HandZip({dos, unix2030, before1970, wrapped});
    std::vector<arc::SpiFileInfo> infos;
    ASSERT_EQ(zip::BuildFileInfo(reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size(), nullptr, infos),
              zip::kSpiOk);
    ASSERT_EQ(infos.size(), 5u);
    EXPECT_EQ(infos[0].timestamp, 1735732800u);  // 2025-01-01 12:00, the DOS fields as UTC natively
    EXPECT_EQ(infos[1].timestamp, 1893456000u);
    EXPECT_EQ(infos[2].timestamp, 1735732800u);
    EXPECT_EQ(infos[3].timestamp, 1735732800u);
}

// An extraction whose n-th file-system call fails, for every n: nothing is
// written outside the target, a file there is kept unless the switch lets
// it be replaced (and then it is old or new, never cut short), a member is
// whole under its name or not there, and a failure is reported.
TEST(ExtractionFaults, NoFailureLeavesAHalfFileOrLosesAnOldOne) {
    const std::vector<std::pair<std::string, std::string>> members{
        {"a.txt", std::string(3000, 'A')}, {"sub\\b.txt", std::string(5000, 'B')}, {"c.txt", "c"}};
    tar::Entry a, b, c;
    a.name = "a.txt";
    b.name = "sub/b.txt";
    c.name = "c.txt";
    const std::string tarBody(3000, 'T');
    struct Case {
        const char* what;
        bool tar;
        const char* line;
        bool replaces;
    };
    const Case cases[] = {{"lzh, keep", false, "e -x1 C:\\arc\\a.lzh C:\\out\\", false},
                          {"lzh, overwrite", false, "e -x1 -m1 C:\\arc\\a.lzh C:\\out\\", true},
                          {"tar", true, "xf C:\\arc\\a.tar -o C:\\out\\", true}};
    std::size_t runs = 0, reached = 0;
    for (const Case& k : cases) {
        for (std::size_t n = 1; n < 5000; ++n) {
            MemFs mem;
            mem.AddDir("C:\\out");
            mem.AddFile("C:\\out\\a.txt", "old a");
            mem.AddFile("C:\\else\\x.txt", "x");
            mem.AddFile("C:\\arc\\a.lzh", LzhArchive(members));
            mem.AddFile("C:\\arc\\a.tar", TarArchive({a, b, c}, tarBody));
            const auto before = mem.nodes_;
            arc::test::FaultyArcFs fs(mem);
            fs.failAt = n;
            std::string text;
            const int r = k.tar ? tar::RunTar(fs, k.line, text) : lzh::RunUnlha(fs, k.line, text);
            const std::string at = std::string(k.what) + ", call " + std::to_string(n) + "\n" + text;
            std::vector<std::string> losses;
            for (const std::string& w : mem.Written()) {
                if (w.rfind("C:\\out\\", 0) != 0) losses.push_back("written outside: " + w);
            }
            for (const auto& [key, node] : before) {
                if (key.rfind("C:\\out\\", 0) == 0) continue;
                if (!mem.Has(key) || mem.Content(key) != std::string(node.data.begin(), node.data.end())) {
                    losses.push_back("changed: " + key);
                }
            }
            bool whole = true;
            for (const auto& [name, body] : members) {
                const std::string content = mem.Content("C:\\out\\" + name);
                const std::string want = k.tar ? tarBody : body;
                const bool old = name == "a.txt" && content == "old a";
                if (name == "a.txt" && !k.replaces) {
                    if (!old) losses.push_back("replaced without the switch: " + name);
                    continue;
                }
                if (content != want && !old && (content != "<missing>" || name == "a.txt")) {
                    losses.push_back(name + " is " + std::to_string(content.size()) + " bytes");
                }
                whole = whole && content == want;
            }
            for (const auto& [key, node] : mem.nodes_) {
                const bool known = before.count(key) || key == "C:\\out\\sub" || key == "C:\\out\\sub\\b.txt" ||
                                   key == "C:\\out\\c.txt";
                if (!known) losses.push_back("left behind: " + key);
            }
            EXPECT_TRUE(losses.empty()) << at << ::testing::PrintToString(losses);
            if (!whole && k.replaces) {
                EXPECT_NE(r, 0) << at;
            }
            ++runs;
            if (!fs.Reached()) {
                EXPECT_EQ(r, k.replaces ? 0 : arc::kErrAlreadyExist) << at;
                break;
            }
            ++reached;
            if (!losses.empty()) break;  // one report for each case
        }
    }
    std::printf("runs: %zu (faults reached: %zu)\n", runs, reached);
}

}  // namespace
}  // namespace kestrum
