// The ish core: the files a converter of the format wrote (with their
// originals, in the shared data folder) decode byte-exact through the
// command line over an in-memory file system; damaged lines are rebuilt
// from the check lines or reported; volumes join in any order; names stay
// inside the target; what our encoder writes is what the converter
// writes and decodes to the same header and contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "libs/base/arc_names.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"
#include "libs/base/arc_time.h"
#include "libs/ish/ish_codec.h"
#include "libs/ish/ish_command.h"
#include "libs/ish/ish_decode.h"
#include "libs/ish/ish_encode.h"
#include "tests/libs/mem_fs.h"
#include "tests/libs/peer_util.h"

namespace kestrum {
namespace {

using arc::test::IconvToSjis;
using arc::test::MemFs;
using ish::Variant;

const std::string kData = KESTRUM_ISH_DATA;

std::string Vector(const std::string& name) {
    std::ifstream in(kData + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test vector " << kData << "/" << name;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }


// Runs the command line with the given texts in C:\IN; returns the result.
int RunLine(MemFs& fs, const std::string& line, std::string& text) {
    return ish::RunIsh(fs, line, text, IconvToSjis);
}

// 1996-03-17 12:34:56 in Japan, as every vector made here says.
constexpr std::int64_t kVectorTime = 827033696;

TEST(IshVectors, TheDataFolderIsThere) {
    // The vectors live beside the repository (../shared/data/ish); without
    // them every test here would pass for nothing.
    std::ifstream manifest(kData + "/MANIFEST.md");
    ASSERT_TRUE(manifest.good()) << "the ish test vectors are missing: " << kData;
}

TEST(IshVectors, EveryFileDecodesByteExact) {
    struct Case { const char* ish; const char* original; const char* name; };
    const char* hyouji = "\xE8\xA1\xA8\xE7\xA4\xBA.lzh";  // the original's name on disk is UTF-8
    const Case cases[] = {
        {"test.ish", "test.txt", "test.txt"},
        {"empty.jis7.ish", "empty.bin", "empty.bin"},
        {"empty.jis8.ish", "empty.bin", "empty.bin"},
        {"empty.sjis.ish", "empty.bin", "empty.bin"},
        {"empty.nonkana.ish", "empty.bin", "empty.bin"},
        {"one.jis7.ish", "one.bin", "one.bin"},
        {"one.jis8.ish", "one.bin", "one.bin"},
        {"one.sjis.ish", "one.bin", "one.bin"},
        {"one.nonkana.ish", "one.bin", "one.bin"},
        {"text.jis7.ish", "text.txt", "text.txt"},
        {"text.jis8.ish", "text.txt", "text.txt"},
        {"text.sjis.ish", "text.txt", "text.txt"},
        {"text.nonkana.ish", "text.txt", "text.txt"},
        {"text.jis7.esc.ish", "text.txt", "text.txt"},
        {"text.sjis.msdos.ish", "text.txt", "text.txt"},
        {"text.jis7.damaged.ish", "text.txt", "text.txt"},
        {"text.jis8.damaged.ish", "text.txt", "text.txt"},
        {"text.sjis.damaged.ish", "text.txt", "text.txt"},
        {"text.nonkana.damaged.ish", "text.txt", "text.txt"},
        {"rand.jis7.ish", "rand.bin", "rand.bin"},
        {"rand.jis8.ish", "rand.bin", "rand.bin"},
        {"rand.sjis.ish", "rand.bin", "rand.bin"},
        {"rand.nonkana.ish", "rand.bin", "rand.bin"},
        {"big.jis7.ish", "big.bin", "big.bin"},
        {"hyouji-utf8name.jis7.ish", hyouji, "表示.lzh"},
        {"hyouji-utf8name.jis8.ish", hyouji, "表示.lzh"},
        {"hyouji-utf8name.sjis.ish", hyouji, "表示.lzh"},
        {"hyouji-utf8name.nonkana.ish", hyouji, "表示.lzh"},
        {"hyouji-sjisname.jis7.ish", hyouji, "表示.lzh"},
        {"hyouji-sjisname.jis8.ish", hyouji, "表示.lzh"},
        {"hyouji-sjisname.sjis.ish", hyouji, "表示.lzh"},
        {"hyouji-sjisname.nonkana.ish", hyouji, "表示.lzh"},
        {"edge0058.jis7.ish", "edge0058.bin", "edge0058.bin"},
        {"edge0059.jis7.ish", "edge0059.bin", "edge0059.bin"},
        {"edge3598.jis7.ish", "edge3598.bin", "edge3598.bin"},
        {"edge3599.jis7.ish", "edge3599.bin", "edge3599.bin"},
        {"edge0064.jis8.ish", "edge0064.bin", "edge0064.bin"},
        {"edge0064.nonkana.ish", "edge0064.bin", "edge0064.bin"},
        {"edge0065.jis8.ish", "edge0065.bin", "edge0065.bin"},
        {"edge0065.nonkana.ish", "edge0065.bin", "edge0065.bin"},
        {"edge4354.jis8.ish", "edge4354.bin", "edge4354.bin"},
        {"edge4354.nonkana.ish", "edge4354.bin", "edge4354.bin"},
        {"edge4355.jis8.ish", "edge4355.bin", "edge4355.bin"},
        {"edge4355.nonkana.ish", "edge4355.bin", "edge4355.bin"},
        {"edge0068.sjis.ish", "edge0068.bin", "edge0068.bin"},
        {"edge0069.sjis.ish", "edge0069.bin", "edge0069.bin"},
        {"edge4898.sjis.ish", "edge4898.bin", "edge4898.bin"},
        {"edge4899.sjis.ish", "edge4899.bin", "edge4899.bin"},
    };
    for (const Case& c : cases) {
        MemFs fs;
        fs.AddFile("C:\\IN\\x.ish", Vector(c.ish));
        std::string text;
        EXPECT_EQ(RunLine(fs, "C:\\IN\\x.ish /f=C:\\OUT", text), 0) << c.ish << "\n" << text;
        const std::string want = Vector(c.original);
        const std::string out = std::string("C:\\OUT\\") + c.name;
        EXPECT_TRUE(fs.Content(out) == want) << c.ish << " -> " << out << "\n" << text;
        // Nothing but the target and the file.
        EXPECT_EQ(fs.Written(), (std::vector<std::string>{"C:\\OUT", out})) << c.ish;
    }
}

TEST(IshVectors, HeaderGivesTheNameAndTheTime) {
    MemFs fs;
    fs.AddFile("C:\\IN\\a.ish", Vector("text.sjis.ish"));
    fs.AddFile("C:\\IN\\b.ish", Vector("test.ish"));
    std::string text;
    ASSERT_EQ(RunLine(fs, "C:\\IN\\a.ish C:\\IN\\b.ish /f=C:\\OUT", text), 0) << text;
    ASSERT_NE(fs.Get("C:\\OUT\\text.txt"), nullptr);
    // Local time with the encoder's zone (JST): the same instant anywhere.
    EXPECT_EQ(fs.Get("C:\\OUT\\text.txt")->mtime, kVectorTime);
    // 2020-10-29 19:47:14 in Japan.
    ASSERT_NE(fs.Get("C:\\OUT\\test.txt"), nullptr);
    EXPECT_EQ(fs.Get("C:\\OUT\\test.txt")->mtime, 1603968434);

    // A title line that does not agree with the header is not believed.
    std::string other = Vector("text.jis7.ish");
    other.replace(4, 8, "evil.exe");
    std::vector<ish::Found> found = ish::FindIsh(other);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].titleName, "");
    EXPECT_EQ(ish::ChooseName(found[0], IconvToSjis).name, "text.txt");

    found = ish::FindIsh(Vector("text.sjis.msdos.ish"));
    ASSERT_EQ(found.size(), 1u);
    const ish::Header& h = found[0].header;
    EXPECT_EQ(h.variant, Variant::kSjis);
    EXPECT_EQ(h.os, ish::kOsMsDos);
    EXPECT_EQ(h.size, 20062u);
    EXPECT_EQ(h.shortName, "text.txt");
    EXPECT_EQ(h.zone, -32400);
    EXPECT_EQ(found[0].titleName, "text.txt");
}

TEST(IshVectors, DamagedLinesAreRebuiltFromTheCheckLines) {
    for (const char* name : {"text.jis7.damaged.ish", "text.jis8.damaged.ish", "text.sjis.damaged.ish",
                             "text.nonkana.damaged.ish"}) {
        std::vector<ish::Found> found = ish::FindIsh(Vector(name));
        ASSERT_EQ(found.size(), 1u) << name;
        EXPECT_TRUE(found[0].complete) << name;
        EXPECT_GE(found[0].repaired, 6) << name;
        EXPECT_TRUE(found[0].data == Bytes(Vector("text.txt"))) << name;
    }
}

// The text's lines, and back with LF ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}
std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

TEST(IshVectors, DamageBeyondTheCheckLinesIsReported) {
    // Three data lines of the first block gone: two can be rebuilt, three not.
    std::vector<std::string> lines = Lines(Vector("text.jis7.ish"));
    ASSERT_GT(lines.size(), 13u);
    lines.erase(lines.begin() + 10, lines.begin() + 13);
    MemFs fs;
    fs.AddFile("C:\\IN\\x.ish", Join(lines));
    std::string text;
    EXPECT_EQ(RunLine(fs, "C:\\IN\\x.ish /f=C:\\OUT", text), arc::kErrFileCrc);
    EXPECT_NE(text.find("復元できません: text.txt: ブロック 1 の 3 行が直せません"), std::string::npos) << text;
    EXPECT_FALSE(fs.Has("C:\\OUT\\text.txt"));

    // A character changed in two lines of one block and in the vertical
    // check line of another: rebuilt.
    lines = Lines(Vector("text.sjis.ish"));
    ASSERT_GT(lines.size(), 150u);
    for (int at : {6, 40, 120, 150}) std::swap(lines[at][20], lines[at][21]);
    MemFs fs2;
    fs2.AddFile("C:\\IN\\x.ish", Join(lines));
    EXPECT_EQ(RunLine(fs2, "C:\\IN\\x.ish /f=C:\\OUT", text), 0) << text;
    EXPECT_TRUE(fs2.Content("C:\\OUT\\text.txt") == Vector("text.txt"));
    EXPECT_NE(text.find("行を直しました"), std::string::npos) << text;

    // The file's CRC catches what the lines' CRCs let through.
    ish::EncodeOptions o;
    o.name = "a.bin";
    std::string good = ish::EncodeIsh(Bytes("abc"), o);
    std::vector<ish::Found> found = ish::FindIsh(good);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].complete);
    // A truncated text.
    lines = Lines(Vector("rand.jis8.ish"));
    lines.resize(200);
    found = ish::FindIsh(Join(lines));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(found[0].complete);
    EXPECT_FALSE(found[0].problems.empty());
}

TEST(IshVectors, VolumesJoinInAnyOrder) {
    const std::string big = Vector("big.bin");
    std::vector<std::string> parts;
    for (int i = 1; i <= 7; ++i) parts.push_back(Vector("big.i0" + std::to_string(i)));
    {
        MemFs fs;
        std::string line;
        for (int i = 0; i < 7; ++i) {
            const std::string f = "C:\\IN\\big.i0" + std::to_string(i + 1);
            fs.AddFile(f, parts[static_cast<std::size_t>(i)]);
            line += f + " ";
        }
        std::string text;
        EXPECT_EQ(RunLine(fs, line + "/f=C:\\OUT", text), 0) << text;
        ASSERT_TRUE(fs.Content("C:\\OUT\\big.bin") == big);
        EXPECT_EQ(fs.Get("C:\\OUT\\big.bin")->mtime, kVectorTime);
    }
    {
        // Shuffled files, and all seven shuffled into one text.
        MemFs fs;
        const int order[] = {5, 2, 7, 1, 4, 6, 3};
        std::string line, all;
        for (int i : order) {
            const std::string f = "C:\\IN\\p" + std::to_string(i);
            fs.AddFile(f, parts[static_cast<std::size_t>(i - 1)]);
            line += f + " ";
            all += parts[static_cast<std::size_t>(i - 1)];
        }
        fs.AddFile("C:\\IN\\all.txt", all);
        std::string text;
        EXPECT_EQ(RunLine(fs, line + "/f=C:\\OUT", text), 0) << text;
        EXPECT_TRUE(fs.Content("C:\\OUT\\big.bin") == big);
        EXPECT_EQ(RunLine(fs, "C:\\IN\\all.txt /f=C:\\OUT2", text), 0) << text;
        EXPECT_TRUE(fs.Content("C:\\OUT2\\big.bin") == big);
    }
    {
        // One volume missing: reported by number, nothing written.
        MemFs fs;
        std::string line;
        for (int i = 1; i <= 7; ++i) {
            if (i == 4) continue;
            const std::string f = "C:\\IN\\p" + std::to_string(i);
            fs.AddFile(f, parts[static_cast<std::size_t>(i - 1)]);
            line += f + " ";
        }
        std::string text;
        EXPECT_NE(RunLine(fs, line + "/f=C:\\OUT", text), 0);
        EXPECT_NE(text.find("big.bin: ボリューム 4/7 がありません"), std::string::npos) << text;
        EXPECT_FALSE(fs.Has("C:\\OUT\\big.bin"));
    }
}

TEST(IshVectors, ALogWithFourFilesGivesAllFour) {
    MemFs fs;
    fs.AddFile("C:\\IN\\log.txt", Vector("log.mixed.crlf.txt"));
    std::string text;
    EXPECT_EQ(RunLine(fs, "C:\\IN\\log.txt /f=C:\\OUT", text), 0) << text;
    for (const char* name : {"edge0059.bin", "edge0065.bin", "edge0069.bin", "one.bin"}) {
        EXPECT_TRUE(fs.Content(std::string("C:\\OUT\\") + name) == Vector(name)) << name;
    }
    EXPECT_EQ(ish::FindIsh(Vector("log.mixed.crlf.txt")).size(), 4u);
    // The same log saved twice in one file: each file once, no complaint.
    MemFs twice;
    twice.AddFile("C:\\IN\\log.txt", Vector("log.mixed.crlf.txt") + Vector("log.mixed.crlf.txt"));
    EXPECT_EQ(RunLine(twice, "C:\\IN\\log.txt /f=C:\\OUT", text), 0) << text;
    EXPECT_EQ(twice.List("C:\\OUT").size(), 4u);
}

TEST(IshCommand, OutputDirectoryAndExistingFiles) {
    const std::string body = Vector("one.jis7.ish");
    {
        // "/f=" runs to the next "/", blanks and all, and is made.
        MemFs fs;
        fs.AddFile("C:\\IN\\a.ish", body);
        std::string text;
        EXPECT_EQ(RunLine(fs, "C:\\IN\\a.ish /f=C:\\My Files\\out /r", text), 0) << text;
        EXPECT_TRUE(fs.Has("C:\\My Files\\out\\one.bin"));
    }
    {
        // No /f=: the current directory. An unquoted path with blanks.
        MemFs fs;
        fs.AddFile("C:\\My Docs\\a.ish", body);
        std::string text;
        EXPECT_EQ(RunLine(fs, "C:\\My Docs\\a.ish", text), 0) << text;
        EXPECT_TRUE(fs.Has("one.bin"));
    }
    {
        // An existing file stays; the result says so.
        MemFs fs;
        fs.AddFile("C:\\IN\\a.ish", body);
        fs.AddFile("C:\\OUT\\one.bin", "mine");
        std::string text;
        EXPECT_EQ(RunLine(fs, "C:\\IN\\a.ish /f=C:\\OUT", text), arc::kErrAlreadyExist);
        EXPECT_EQ(fs.Content("C:\\OUT\\one.bin"), "mine");
        EXPECT_NE(text.find("one.bin"), std::string::npos);
    }
    {
        MemFs fs;
        fs.AddFile("C:\\IN\\a.txt", "no ish here\r\n");
        std::string text;
        EXPECT_EQ(RunLine(fs, "C:\\IN\\a.txt /f=C:\\OUT", text), arc::kErrNotArcFile);
        EXPECT_EQ(RunLine(fs, "C:\\IN\\missing.ish", text), arc::kErrNotFindArcFile);
        EXPECT_EQ(RunLine(fs, "/f=C:\\OUT", text), arc::kErrNotFileName);
    }
}

TEST(IshCommand, UnsafeNamesAreRefused) {
    const char* names[] = {"..\\..\\evil.txt", "x\\y.txt", "C:evil.txt", "aux.txt", "trail.", "a?b.txt"};
    for (const char* name : names) {
        ish::EncodeOptions o;
        o.name = name;
        MemFs fs;
        fs.AddFile("C:\\IN\\a.ish", ish::EncodeIsh(Bytes("payload"), o));
        std::string text;
        EXPECT_NE(RunLine(fs, "C:\\IN\\a.ish /f=C:\\OUT", text), 0) << name;
        EXPECT_NE(text.find("展開しません"), std::string::npos) << name << "\n" << text;
        for (const std::string& w : fs.Written()) EXPECT_TRUE(w == "C:\\OUT") << name << " wrote " << w;
    }
}

TEST(IshCommand, Utf8NamesBecomeShiftJis) {
    // With no Shift-JIS form (or no converter) the name is refused and
    // shown by its bytes, never written garbled.
    MemFs fs;
    fs.AddFile("C:\\IN\\a.ish", Vector("hyouji-utf8name.sjis.ish"));
    std::string text;
    auto refuse = [](const std::string&, std::string&) { return false; };
    EXPECT_EQ(ish::RunIsh(fs, "C:\\IN\\a.ish /f=C:\\OUT", text, refuse), arc::kErrFileStyle);
    EXPECT_NE(text.find("%E8%A1%A8%E7%A4%BA.lzh"), std::string::npos) << text;
    EXPECT_EQ(fs.List("C:\\OUT").size(), 0u);

    // A Shift-JIS name that is also valid UTF-8 stays Shift-JIS when the
    // header was written on MS-DOS.
    ish::EncodeOptions o;
    o.name = "\xE8\xA1\xA8.txt";  // 陦 and a half-width kana in Shift-JIS; 表 in UTF-8
    o.os = ish::kOsMsDos;
    std::vector<ish::Found> found = ish::FindIsh(ish::EncodeIsh(Bytes("x"), o));
    ASSERT_EQ(found.size(), 1u);
    ish::OutputName n = ish::ChooseName(found[0], IconvToSjis);
    EXPECT_TRUE(n.ok);
    EXPECT_EQ(n.name, o.name);
    o.os = ish::kOsUnix;
    found = ish::FindIsh(ish::EncodeIsh(Bytes("x"), o));
    n = ish::ChooseName(found[0], IconvToSjis);
    EXPECT_EQ(n.name, "表.txt");
}

ish::EncodeOptions VectorOptions(Variant v, const std::string& name) {
    ish::EncodeOptions o;
    o.variant = v;
    o.name = name;
    o.os = ish::kOsUnix;
    o.dosTime = (16u << 25) | (3u << 21) | (17u << 16) | (12u << 11) | (34u << 5) | (56u >> 1);
    o.zone = -32400;
    o.lineEnd = "\n";
    return o;
}

TEST(IshEncode, WritesWhatTheConverterWrites) {
    struct Case { const char* ish; const char* original; Variant v; };
    const Case cases[] = {
        {"text.jis7.ish", "text.txt", Variant::kJis7},     {"text.jis8.ish", "text.txt", Variant::kJis8},
        {"text.sjis.ish", "text.txt", Variant::kSjis},     {"text.nonkana.ish", "text.txt", Variant::kNonKana},
        {"rand.nonkana.ish", "rand.bin", Variant::kNonKana}, {"rand.sjis.ish", "rand.bin", Variant::kSjis},
        {"empty.jis7.ish", "empty.bin", Variant::kJis7},   {"one.sjis.ish", "one.bin", Variant::kSjis},
        {"edge0058.jis7.ish", "edge0058.bin", Variant::kJis7}, {"edge3599.jis7.ish", "edge3599.bin", Variant::kJis7},
        {"edge4355.nonkana.ish", "edge4355.bin", Variant::kNonKana},
        {"edge4898.sjis.ish", "edge4898.bin", Variant::kSjis},
    };
    for (const Case& c : cases) {
        const std::string ours = ish::EncodeIsh(Bytes(Vector(c.original)), VectorOptions(c.v, c.original));
        EXPECT_TRUE(ours == Vector(c.ish)) << c.ish;
    }
    ish::EncodeOptions o = VectorOptions(Variant::kSjis, "text.txt");
    o.os = ish::kOsMsDos;
    EXPECT_TRUE(ish::EncodeIsh(Bytes(Vector("text.txt")), o) == Vector("text.sjis.msdos.ish"));
}

TEST(IshEncode, RoundTripsThroughTheCommandLine) {
    std::mt19937 rng(11);
    std::string body(5000, '\0');
    for (char& c : body) c = static_cast<char>(rng());
    const std::string longName = "長い名前のファイル.tar.gz";
    struct Case { const char* sw; Variant v; };
    for (const Case& c : {Case{"-s", Variant::kJis7}, Case{"-s7", Variant::kJis7}, Case{"-s8", Variant::kJis8},
                          Case{"/ss", Variant::kSjis}, Case{"-SN", Variant::kNonKana}}) {
        MemFs fs;
        fs.AddFile("C:\\SRC\\" + longName, body, 1700000000);
        std::string text;
        ASSERT_EQ(RunLine(fs, std::string(c.sw) + " C:\\SRC\\" + longName, text), 0) << text;
        const std::string ishPath = "C:\\SRC\\長い名前のファイル.tar.ish";
        ASSERT_TRUE(fs.Has(ishPath)) << text;
        const std::string written = fs.Content(ishPath);
        // The header's fields.
        std::vector<ish::Found> found = ish::FindIsh(written);
        ASSERT_EQ(found.size(), 1u) << c.sw;
        const ish::Header& h = found[0].header;
        EXPECT_EQ(h.variant, c.v);
        EXPECT_EQ(h.size, body.size());
        EXPECT_EQ(h.os, ish::kOsMsDos);
        EXPECT_EQ(h.shortName, "長い名前.gz");
        EXPECT_EQ(h.dosTime, arc::UnixToDos(1700000000));
        EXPECT_TRUE(h.hasZone);
        EXPECT_EQ(found[0].titleName, longName);
        EXPECT_EQ(written.substr(0, 4 + longName.size() + 11), "<<< " + longName + " for MS-DOS");
        // And back: the same name, contents and time.
        ASSERT_EQ(RunLine(fs, ishPath + " /f=C:\\OUT", text), 0) << text;
        ASSERT_TRUE(fs.Content("C:\\OUT\\" + longName) == body) << c.sw;
        EXPECT_EQ(fs.Get("C:\\OUT\\" + longName)->mtime, 1700000000);
        // A second encode keeps the first file.
        EXPECT_EQ(RunLine(fs, std::string(c.sw) + " C:\\SRC\\" + longName, text), arc::kErrAlreadyExist);
    }
    // Into another folder, several files, CR LF lines.
    MemFs fs;
    fs.AddFile("C:\\SRC\\a.txt", "alpha");
    fs.AddFile("C:\\SRC\\b", "");
    std::string text;
    ASSERT_EQ(RunLine(fs, "-ss C:\\SRC\\a.txt C:\\SRC\\b /f=C:\\ISH", text), 0) << text;
    EXPECT_TRUE(fs.Has("C:\\ISH\\a.ish"));
    EXPECT_TRUE(fs.Has("C:\\ISH\\b.ish"));
    EXPECT_NE(fs.Content("C:\\ISH\\a.ish").find(" ( use shift_jis ish ) [ 8 lines ] >>>\r\n"), std::string::npos);
    ASSERT_EQ(RunLine(fs, "C:\\ISH\\a.ish C:\\ISH\\b.ish /f=C:\\BACK", text), 0) << text;
    EXPECT_EQ(fs.Content("C:\\BACK\\a.txt"), "alpha");
    EXPECT_EQ(fs.Content("C:\\BACK\\b"), "");
}

TEST(IshCodec, LinesRoundTripInTheirAlphabets) {
    std::mt19937 rng(5);
    for (Variant v : {Variant::kJis7, Variant::kJis8, Variant::kSjis, Variant::kNonKana}) {
        const std::size_t n = ish::LineBytes(v);
        for (int round = 0; round < 2000; ++round) {
            std::vector<std::uint8_t> line(n);
            for (auto& b : line) b = static_cast<std::uint8_t>(rng());
            line[0] = static_cast<std::uint8_t>(1 + rng() % (n - 1));
            if (round == 0) std::fill(line.begin() + 1, line.end(), 0xFF);
            const std::string chars = ish::EncodeLine(v, line.data());
            std::vector<std::uint8_t> back(n);
            ASSERT_TRUE(ish::DecodeLine(v, chars, back.data())) << ish::VariantName(v) << " " << chars;
            ASSERT_EQ(back, line) << ish::VariantName(v);
            for (std::size_t i = 0; i < chars.size(); i += arc::SjisCharLen(chars, i)) {
                const unsigned char c = static_cast<unsigned char>(chars[i]);
                ASSERT_TRUE(c > 0x20 && c != 0x7F) << ish::VariantName(v);
                if (v == Variant::kJis7) {
                    ASSERT_LT(c, 0x80);
                }
                // non-kana never writes a half-width kana.
                if (v == Variant::kNonKana && arc::SjisCharLen(chars, i) == 1) {
                    ASSERT_FALSE(c >= 0xA1 && c <= 0xDF);
                }
            }
            if (v == Variant::kSjis || v == Variant::kNonKana) {
                ASSERT_TRUE(arc::IsCp932(chars));
            }
            // Broken lines are refused or fail their CRC, never read past.
            std::string cut = chars.substr(0, chars.size() - 1);
            ish::DecodeLine(v, cut, back.data());
        }
    }
}

}  // namespace
}  // namespace kestrum
