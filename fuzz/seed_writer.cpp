// Writes the part of the seed corpus that the program itself writes: the
// settings, key and colour files as its writers save them, and archives as
// our LHA and tar libraries pack them, with hostile ones built from their
// header writers. fuzz/make_corpus.sh adds the shipped files, the peers'
// archives and the broken ones.
//   seed_writer CORPUS-DIR DEFAULTS-DIR SCRATCH-DIR
// DEFAULTS-DIR holds the shipped files as installed (Shift-JIS, CR LF).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/colors.h"
#include "config/key_map.h"
#include "config/semicolon_option.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "libs/base/arc_platform_fs.h"
#include "libs/lzh/lzh_archive.h"
#include "libs/lzh/lzh_codec.h"
#include "libs/lzh/unlha_command.h"
#include "libs/tar/tar_command.h"
#include "libs/tar/tar_format.h"
#include "tests/config/settings_round_trip.h"

using namespace kestrum;
namespace fs = std::filesystem;

namespace {

fs::path corpus;

std::string Read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) {
        std::fprintf(stderr, "seed_writer: cannot read %s\n", p.c_str());
        std::exit(1);
    }
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void Write(const fs::path& p, std::string_view bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
        std::fprintf(stderr, "seed_writer: cannot write %s\n", p.c_str());
        std::exit(1);
    }
}

// A seed for a target that takes one selector byte before the file.
void Seed(const std::string& target, const std::string& name, std::string_view bytes, int selector = -1) {
    std::string s = selector < 0 ? std::string() : std::string(1, static_cast<char>(selector));
    s.append(bytes);
    Write(corpus / target / name, s);
}

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

void SettingsSeeds(const fs::path& defaults) {
    const std::vector<std::string> shipped = SplitLines(Read(defaults / "Kestrum.Cfg"));
    const test::LoadedSettings loaded = test::LoadLines(shipped);
    const std::string written = JoinLinesCrLf(test::WriteBack(shipped, loaded));

    // The alias editor's and the settings dialog's writes over the shipped file.
    TSettingsFile f = TSettingsFile::FromLines(shipped);
    f.WriteListSection("ALIAS", {"ed,notepad \"a b.txt\"", "\"x,y\",cd 表\\ソ,C:\\WORK\\", "ll,ls;mask *.TXT"});
    f.AppendListLine("[EXEHISTORY]", "CP *.TXT D:\\BACKUP");
    f.WriteString("FORM_LS", "Top", "120");
    f.WriteLine("[環境変数]", "VIEWER", "VIEWER, TVIEW");
    const std::string edited = JoinLinesCrLf(f.Lines());

    // The file after the semicolon option cut its comments.
    std::vector<std::string> cut = f.Lines();
    cut.insert(cut.begin(), std::string(kCfgMarker));
    CutCfgComments(cut);
    const std::string semicolon = JoinLinesCrLf(cut);

    for (const char* target : {"settings", "settings_edit", "semicolon", "profile"}) {
        Seed(target, "written.cfg", written);
        Seed(target, "edited.cfg", edited);
        Seed(target, "semicolon.cfg", semicolon);
    }
}

void KeySeeds(const fs::path& defaults) {
    struct Kind {
        const char* file;
        std::string_view header;
    };
    const Kind kinds[] = {{"Kestrum.Key", kFilerKeyHeader}, {"Kestrum.WK", kEditKeyHeader}, {"Kestrum.TVK", kViewerKeyHeader}};
    for (int k = 0; k < 3; ++k) {
        TKeyX keyx;
        if (k == 0) SetUpFilerKeyX(keyx, [](char) { return 3; }, [] {});
        if (k == 1) SetUpEditKeyX(keyx, 9000);
        if (k == 2) SetUpViewerKeyX(keyx, 9100);
        LoadKeyLines(keyx, SplitLines(Read(defaults / kinds[k].file)), kinds[k].header);
        // The customisation dialog's update, then the save.
        UpdateBinding(keyx.KeyXUserKey, 188, CapturedKeyName(188, ','), kModCtrl, keyx.Id(0));
        UpdateBinding(keyx.KeyXUserKey, 112, "F1", kModShift | kModAlt, keyx.Id(keyx.Count() - 1));
        Seed("key_file", std::string(kinds[k].file) + "-written", keyx.KeyXUserKey.FileText(kinds[k].header), k);
    }
}

void ColorSeeds() {
    ColorSlots c = DefaultColors();
    Seed("color_file", "written.col", FormatColorFile(c), 0);
    c[kColListBack] = 0x00FFEEDD;
    c[kColFilerCmdText] = static_cast<ColorValue>(0x80000005u);
    Seed("color_file", "changed.col", FormatColorFile(c), 0);
}

// A small tree to pack: text with repeats (so that -lh5- finds matches),
// Shift-JIS names, an empty file and a subfolder.
void MakeTree(const fs::path& root) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i % 7) + " of the seed text 表示 ソフト\r\n";
    Write(root / "text.txt", text);
    Write(root / "\x95\x5C.txt", "sjis name\r\n");
    Write(root / "empty.txt", "");
    Write(root / "sub" / "small.txt", "hello\n");
}

// A level-2 LHA member stored as it is (-lh0-) under any name.
std::string StoredMember(const std::string& name, const std::string& data, bool dir = false) {
    lzh::Member m;
    std::memcpy(m.method, dir ? "-lhd-" : "-lh0-", 5);
    m.name = name;
    m.isDir = dir;
    m.packed = m.original = data.size();
    m.crc = lzh::Crc16(0, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    m.hasCrc = true;
    m.mtime = 1700000000;
    return Bytes(lzh::BuildLevel2Header(m)) + data;
}

std::string TarMember(const std::string& name, char type, const std::string& data, const std::string& link = "") {
    tar::Entry e;
    e.name = name;
    e.type = type;
    e.size = data.size();
    e.mtime = 1700000000;
    e.linkName = link;
    std::string s = Bytes(tar::BuildHeader(e)) + data;
    s.append((512 - data.size() % 512) % 512, '\0');
    return s;
}

void ArchiveSeeds(const fs::path& scratch) {
    const fs::path src = scratch / "src";
    MakeTree(src);
    arc::PlatformFs nfs;
    std::string text;
    const std::string lzh = (scratch / "ours.lzh").string();
    const std::string files = " text.txt \x95\x5C.txt empty.txt sub";
    if (lzh::RunUnlha(nfs, "a -d1 " + lzh + " " + src.string() + "\\" + files, text) != 0) {
        std::fprintf(stderr, "seed_writer: packing failed: %s\n", text.c_str());
        std::exit(1);
    }
    const std::string ours = Read(lzh);
    Seed("lzh_header", "ours.lzh", ours);
    Seed("extract", "ours.lzh", ours, 1 | 2 | 4 | 32);

    // The packed data of the -lh5- member, as the decoder gets it.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(ours.data());
    for (const lzh::Member& m : lzh::ScanArchive(bytes, ours.size()).members) {
        if (std::string(m.method) != "-lh5-" || m.original > 0xFFFF) continue;
        std::string seed = {1, static_cast<char>(m.original >> 8), static_cast<char>(m.original & 0xFF), 0};
        seed.append(ours.substr(m.dataOffset, m.packed));
        Write(corpus / "lzh_decode" / "ours-lh5", seed);
    }

    // Hostile names, each in a member of its own, and a member written
    // through the link the extraction target holds.
    std::string hostile;
    for (const char* name : {"..\\evil.txt", "C:\\evil.txt", "\\root.txt", "ok\\..\x82\\x.txt", "a\\..\\..\\b.txt",
                             "11\\through-link.txt", "KEEP.TXT", "con.txt", "trail.", "good\\file.txt"}) {
        hostile += StoredMember(name, "data\r\n");
    }
    hostile += StoredMember("dir\\", "", true);
    hostile += '\0';
    Seed("lzh_header", "hostile.lzh", hostile);
    Seed("extract", "hostile-x.lzh", hostile, 1 | 2 | 4);
    Seed("extract", "hostile-jf0.lzh", hostile, 1 | 2 | 4 | 8 | 32);

    const std::string tarPath = (scratch / "ours.tar").string();
    const std::string tgzPath = (scratch / "ours.tgz").string();
    for (const auto& [flags, path] : {std::pair{"cf", tarPath}, std::pair{"czf", tgzPath}}) {
        if (tar::RunTar(nfs, std::string(flags) + " " + path + " -o " + src.string() + "\\" + files, text) != 0) {
            std::fprintf(stderr, "seed_writer: tar failed: %s\n", text.c_str());
            std::exit(1);
        }
    }
    Seed("tar", "ours.tar", Read(tarPath));
    Seed("tar", "ours.tgz", Read(tgzPath));
    Seed("extract", "ours.tgz", Read(tgzPath), 2);

    std::string hostileTar;
    hostileTar += TarMember("../evil.txt", '0', "data\n");
    hostileTar += TarMember("/abs.txt", '0', "data\n");
    hostileTar += TarMember("a/../../b.txt", '0', "data\n");
    hostileTar += TarMember("11/through-link.txt", '0', "data\n");
    hostileTar += TarMember("link", '2', "", "/etc/passwd");
    hostileTar += TarMember("hard", '1', "", "../x");
    hostileTar += TarMember(std::string(150, 'n') + ".txt", '0', "long name\n");
    hostileTar += TarMember("good/file.txt", '0', "data\n");
    hostileTar.append(1024, '\0');
    Seed("tar", "hostile.tar", hostileTar);
    Seed("extract", "hostile.tar", hostileTar, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: seed_writer CORPUS-DIR DEFAULTS-DIR SCRATCH-DIR\n");
        return 2;
    }
    corpus = argv[1];
    SettingsSeeds(argv[2]);
    KeySeeds(argv[2]);
    ColorSeeds();
    ArchiveSeeds(argv[3]);
    return 0;
}
