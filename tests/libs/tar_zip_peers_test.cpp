// TAR32's and AXZIP's cores against independent tools: archives made by
// tar, gzip and Python's zipfile list and extract byte-exact, and the tar
// archives we make are read back by tar.
#include <gtest/gtest.h>
#include <algorithm>

#include "libs/base/arc_platform_fs.h"
#include "libs/base/arc_names.h"
#include "libs/base/arc_result.h"
#include "libs/tar/tar_command.h"
#include "libs/zip/axzip.h"
#include "tests/libs/peer_util.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using arc::test::ExpectSameFiles;
using arc::test::IconvToSjis;
using arc::test::MakeMixedTree;
using arc::test::Shell;
using arc::test::Slurp;
using arc::test::Spit;

const std::string kLongDir(70, 'd');
const std::string kLongName = kLongDir + "/" + std::string(60, 'n') + ".txt";

TEST(TarPeers, TarAndGzipArchivesExtractByteExact) {
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    Spit(src / kLongName, "a name over 100 bytes\n");
    arc::PlatformFs nfs;
    struct Case { const char* file; const char* make; const char* command; };
    const Case cases[] = {
        {"gnu.tar", "tar --format=gnu -cf", "xf"},
        {"ustar.tar", "tar --format=ustar -cf", "xf"},  // the long name goes into the prefix field
        {"pax.tar", "tar --format=pax -cf", "xf"},      // and here into a path= record
        {"gnu.tgz", "tar --format=gnu -czf", "xzf"},
        {"plain-as-z.tar", "tar --format=gnu -cf", "xzf"},  // "z" on a plain tar: detected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string archive = tmp.Path() + "/" + c.file;
        ASSERT_EQ(Shell("cd '" + src.string() + "' && " + c.make + " '" + archive + "' ."), 0);
        fs::path out = fs::path(tmp.Path()) / (std::string("out-") + c.file);
        std::string text;
        ASSERT_EQ(tar::RunTar(nfs, std::string(c.command) + " " + archive + " -o " + out.string() + "\\", text), 0)
            << text;
        ExpectSameFiles(src, out);
        std::vector<arc::ListEntry> entries;
        ASSERT_TRUE(tar::ListTar(nfs, archive, entries));
        bool sawLong = false;
        for (auto& e : entries) sawLong = sawLong || e.name.find(std::string(60, 'n')) != std::string::npos;
        EXPECT_TRUE(sawLong);
    }
}

TEST(TarPeers, SeveralGzipMembers) {
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    std::string t = tmp.Path() + "/all.tar";
    ASSERT_EQ(Shell("cd '" + src.string() + "' && tar -cf '" + t + "' ."), 0);
    // A tar cut in two, each half gzipped on its own, the two joined.
    std::string bytes = Slurp(t);
    std::size_t half = bytes.size() / 2;
    Spit(tmp.Path() + "/a", bytes.substr(0, half));
    Spit(tmp.Path() + "/b", bytes.substr(half));
    std::string joined = tmp.Path() + "/joined.tgz";
    ASSERT_EQ(Shell("gzip -c '" + tmp.Path() + "/a' > '" + joined + "' && gzip -c '" + tmp.Path() + "/b' >> '" + joined + "'"), 0);
    arc::PlatformFs nfs;
    std::string text;
    fs::path out = fs::path(tmp.Path()) / "out";
    ASSERT_EQ(tar::RunTar(nfs, "xzf " + joined + " -o " + out.string() + "\\", text), 0) << text;
    ExpectSameFiles(src, out);
    // A gzip file that holds no tar unpacks to one file, every member in order.
    std::string plain = tmp.Path() + "/notes.txt.gz";
    ASSERT_EQ(Shell("cd '" + src.string() + "' && gzip -c text.txt > '" + plain + "' && gzip -c sub/small.txt >> '" + plain + "'"), 0);
    fs::path out2 = fs::path(tmp.Path()) / "out2";
    ASSERT_EQ(tar::RunTar(nfs, "xzf " + plain + " -o " + out2.string() + "\\", text), 0) << text;
    EXPECT_TRUE(Slurp(out2 / "text.txt") == Slurp(src / "text.txt") + "hello\n");
}

TEST(TarPeers, OurArchivesReadByTar) {
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    Spit(src / kLongName, "long\n");
    arc::PlatformFs nfs;
    // Named entries, or "." for everything in the folder.
    const std::string named = "text.txt far.dat noise.bin empty.txt sub " + kLongDir;
    for (auto [flags, names] : {std::pair{"cf", named}, std::pair{"czf", named}, std::pair{"czf", std::string(".")}}) {
        SCOPED_TRACE(std::string(flags) + " " + names);
        std::string archive = tmp.Path() + "/ours-" + flags + (names == "." ? "-dot" : "");
        std::string text;
        ASSERT_EQ(tar::RunTar(nfs, std::string(flags) + " " + archive + " -o " + src.string() + "\\ " + names, text), 0)
            << text;
        fs::path out = fs::path(tmp.Path()) / ("out-" + fs::path(archive).filename().string());
        fs::create_directories(out);
        ASSERT_EQ(Shell("tar -xf '" + archive + "' -C '" + out.string() + "'"), 0);
        ExpectSameFiles(src, out);
    }
}

// The script's own text is Shift-JIS, like every literal here.
const char* kZipScript = R"PY(# -*- coding: cp932 -*-
import io, sys, zipfile
out = sys.argv[1]
data = {'text': open(sys.argv[2], 'rb').read(), 'noise': open(sys.argv[3], 'rb').read()}
class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
# UTF-8 names (flag bit 11), stored and deflated entries, a directory.
with zipfile.ZipFile(out + '/utf8.zip', 'w') as z:
    z.writestr('日本語/説明.txt', data['text'], zipfile.ZIP_DEFLATED)
    z.writestr('日本語/noise.bin', data['noise'], zipfile.ZIP_STORED)
    z.writestr('空/', b'')
# Data descriptors: written to a stream that cannot seek back.
with open(out + '/dd.zip', 'wb') as f:
    with zipfile.ZipFile(Unseekable(f), 'w', zipfile.ZIP_DEFLATED) as z:
        with z.open('stream.txt', 'w') as w: w.write(data['text'])
        with z.open('noise.bin', 'w') as w: w.write(data['noise'])
# ZIP64 extra fields on small entries.
with zipfile.ZipFile(out + '/z64.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    with z.open('big.txt', 'w', force_zip64=True) as w: w.write(data['text'])
# Code page 932 names without the UTF-8 flag, as Japanese Windows tools write them.
zipfile.ZipInfo._encodeFilenameFlags = lambda self: (self.filename.encode('cp932'), self.flag_bits)
with zipfile.ZipFile(out + '/cp932.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('表示/ソース.txt', data['text'])
)PY";

struct Unpacked {
    std::string name;  // path + file name, Shift-JIS
    std::string data;
};

std::vector<Unpacked> UnpackAll(const std::string& path) {
    std::vector<Unpacked> out;
    std::string bytes = Slurp(path);
    auto* d = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::vector<arc::SpiFileInfo> infos;
    EXPECT_EQ(zip::BuildFileInfo(d, bytes.size(), IconvToSjis, infos), zip::kSpiOk);
    for (const auto& fi : infos) {
        if (fi.method[0] == 0) break;
        if (fi.filename[0] == 0) continue;  // a directory
        zip::ZipEntry e;
        std::string file;
        EXPECT_EQ(zip::FindEntry(d, bytes.size(), fi.position, IconvToSjis, e, file), zip::kSpiOk);
        Unpacked u{std::string(fi.path) + fi.filename, ""};
        EXPECT_EQ(zip::UnpackEntry(d, bytes.size(), e, [&](const std::uint8_t* p, std::size_t n) {
            u.data.append(reinterpret_cast<const char*>(p), n);
            return true;
        }), zip::kSpiOk) << u.name;
        EXPECT_EQ(fi.filesize, u.data.size());
        out.push_back(u);
    }
    return out;
}

TEST(ZipPeers, PythonArchivesListAndExtractByteExact) {
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    Spit(tmp.Path() + "/make.py", kZipScript);
    ASSERT_EQ(Shell("python3 '" + tmp.Path() + "/make.py' '" + tmp.Path() + "' '" + (src / "text.txt").string() +
                    "' '" + (src / "noise.bin").string() + "'"), 0);
    const std::string text = Slurp(src / "text.txt"), noise = Slurp(src / "noise.bin");

    auto utf8 = UnpackAll(tmp.Path() + "/utf8.zip");
    ASSERT_EQ(utf8.size(), 2u);
    EXPECT_EQ(utf8[0].name, "日本語\\説明.txt");
    EXPECT_TRUE(utf8[0].data == text);
    EXPECT_EQ(utf8[1].name, "日本語\\noise.bin");
    EXPECT_TRUE(utf8[1].data == noise);

    auto cp932 = UnpackAll(tmp.Path() + "/cp932.zip");
    ASSERT_EQ(cp932.size(), 1u);
    EXPECT_EQ(cp932[0].name, "表示\\ソース.txt");  // 表 and ソ end in 0x5C: no separator there
    EXPECT_TRUE(cp932[0].data == text);

    auto dd = UnpackAll(tmp.Path() + "/dd.zip");
    ASSERT_EQ(dd.size(), 2u);
    EXPECT_TRUE(dd[0].data == text);
    EXPECT_TRUE(dd[1].data == noise);

    auto z64 = UnpackAll(tmp.Path() + "/z64.zip");
    ASSERT_EQ(z64.size(), 1u);
    EXPECT_TRUE(z64[0].data == text);
}

TEST(ZipPeers, EncryptedEntriesListedButNotUnpacked) {
    test::TempDir tmp;
    Spit(tmp.Path() + "/secret.txt", "secret\n");
    ASSERT_EQ(Shell("cd '" + tmp.Path() + "' && zip -q -P pass enc.zip secret.txt"), 0);
    std::string bytes = Slurp(tmp.Path() + "/enc.zip");
    auto* d = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::vector<arc::SpiFileInfo> infos;
    ASSERT_EQ(zip::BuildFileInfo(d, bytes.size(), IconvToSjis, infos), zip::kSpiOk);
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_STREQ(infos[0].filename, "secret.txt");
    zip::ZipEntry e;
    std::string file;
    ASSERT_EQ(zip::FindEntry(d, bytes.size(), infos[0].position, IconvToSjis, e, file), zip::kSpiOk);
    EXPECT_EQ(zip::UnpackEntry(d, bytes.size(), e, [](const std::uint8_t*, std::size_t) { return true; }),
              zip::kSpiUnknownFormat);
}

// Tar archives made on Linux or macOS hold UTF-8 names, in plain headers
// and in pax records: they arrive in Shift-JIS. A name with no Shift-JIS
// form is said, and never written under a garbled name.
TEST(TarPeers, Utf8NamesArriveInShiftJis) {
    arc::SetUtf8Conversion(IconvToSjis);
    struct Restore {
        ~Restore() { arc::SetUtf8Conversion(nullptr); }
    } restore;
    test::TempDir tmp;
    const fs::path src = fs::path(tmp.Path()) / "src";
    // The names in UTF-8 on the disk: 表示.txt, データ/中.txt, a long one of
    // 日本語 (over 100 bytes: a long-name block or a pax record), 한.txt.
    const std::string hyouji = "\xE8\xA1\xA8\xE7\xA4\xBA.txt";
    const std::string data = "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF";
    const std::string naka = "\xE4\xB8\xAD.txt";
    std::string nihongo;
    for (int i = 0; i < 15; ++i) nihongo += "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    const std::string korean = "\xED\x95\x9C.txt";
    Spit(src / hyouji, "hyouji\n");
    Spit(src / data / naka, "naka\n");
    Spit(src / (nihongo + ".txt"), "long\n");
    Spit(src / korean, "korean\n");
    std::string longSjis;
    for (int i = 0; i < 15; ++i) longSjis += "日本語";
    longSjis += ".txt";
    const std::string py = tmp.Path() + "/make.py";
    Spit(py, "import sys, tarfile\n"
             "fmt = {'gnu': tarfile.GNU_FORMAT, 'pax': tarfile.PAX_FORMAT}[sys.argv[3]]\n"
             "with tarfile.open(sys.argv[1], 'w', format=fmt, encoding='utf-8') as t:\n"
             "    t.add(sys.argv[2], arcname='.')\n");
    struct Case { const char* file; std::string make; };
    const Case cases[] = {
        {"gnu.tar", "LC_ALL=C.UTF-8 tar --format=gnu -cf"},
        {"pax.tar", "LC_ALL=C.UTF-8 tar --format=pax -cf"},
        {"py-gnu.tar", "python3 '" + py + "' ARCHIVE . gnu"},
        {"py-pax.tar", "python3 '" + py + "' ARCHIVE . pax"},
    };
    arc::PlatformFs nfs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string archive = tmp.Path() + "/" + c.file;
        std::string make = c.make;
        const std::size_t at = make.find("ARCHIVE");
        if (at != std::string::npos) {
            make.replace(at, 7, "'" + archive + "'");
        } else {
            make += " '" + archive + "' .";
        }
        ASSERT_EQ(Shell("cd '" + src.string() + "' && " + make), 0) << make;
        const fs::path out = fs::path(tmp.Path()) / (std::string("out-") + c.file);
        std::string text;
        EXPECT_EQ(tar::RunTar(nfs, "xf " + archive + " -o " + out.string() + "\\", text), arc::kErrFileStyle) << text;
        EXPECT_EQ(Slurp(out / "表示.txt"), "hyouji\n");
        EXPECT_EQ(Slurp(out / "データ" / "中.txt"), "naka\n");
        EXPECT_EQ(Slurp(out / longSjis), "long\n");
        EXPECT_NE(text.find("<U+D55C>.txt"), std::string::npos) << text;
        // Nothing else was written: no garbled name, no UTF-8 one.
        int files = 0;
        for (auto& e : fs::recursive_directory_iterator(out)) files += e.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, 3);
        std::vector<arc::ListEntry> entries;
        ASSERT_TRUE(tar::ListTar(nfs, archive, entries));
        std::vector<std::string> names;
        for (auto& e : entries) names.push_back(e.name);
        EXPECT_NE(std::find(names.begin(), names.end(), "./表示.txt"), names.end()) << ::testing::PrintToString(names);
        // A member asked for by its Shift-JIS name is found.
        const fs::path one = fs::path(tmp.Path()) / (std::string("one-") + c.file);
        EXPECT_EQ(tar::RunTar(nfs, "xf " + archive + " -o " + one.string() + "\\ \"./データ/中.txt\"", text), 0) << text;
        EXPECT_EQ(Slurp(one / "データ" / "中.txt"), "naka\n");
    }
    // An archive of Shift-JIS names (as Windows tools write them) stays as it was.
    const fs::path sjisSrc = fs::path(tmp.Path()) / "sjis";
    Spit(sjisSrc / "表示.txt", "s\n");
    Spit(sjisSrc / "ﾃｽ.txt", "t\n");  // C3 BD: valid UTF-8 on its own, but not every name is
    const std::string sjisTar = tmp.Path() + "/sjis.tar";
    std::string text;
    ASSERT_EQ(tar::RunTar(nfs, "cf " + sjisTar + " -o " + sjisSrc.string() + "\\ .", text), 0) << text;
    const fs::path out = fs::path(tmp.Path()) / "out-sjis";
    EXPECT_EQ(tar::RunTar(nfs, "xf " + sjisTar + " -o " + out.string() + "\\", text), 0) << text;
    EXPECT_EQ(Slurp(out / "表示.txt"), "s\n");
    EXPECT_EQ(Slurp(out / "ﾃｽ.txt"), "t\n");
}

}  // namespace
}  // namespace kestrum
