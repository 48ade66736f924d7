// Our archiver libraries as the program uses them: loaded by name with
// LoadLibraryA, their functions found with GetProcAddress, called with
// the program's command lines and records, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "libs/base/arc_records.h"
#include "libs/lzh/lzh_archive.h"
#include "libs/lzh/lzh_codec.h"
#include "tests/test_util.h"

namespace {

using kestrum::arc::IndividualInfo;
using kestrum::arc::SpiFileInfo;
using kestrum::test::ReadFile;
using kestrum::test::TempDir;
using kestrum::test::WriteFile;

// The libraries are built into bin\ beside the tests' folder.
HMODULE Load(const char* name) {
    static bool once = [] {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dir(exe);
        dir = dir.substr(0, dir.find_last_of('\\'));
        dir = dir.substr(0, dir.find_last_of('\\')) + "\\bin";
        return SetDllDirectoryA(dir.c_str()) != 0;
    }();
    (void)once;
    return LoadLibraryA(name);
}

template <typename F>
F Fn(HMODULE m, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

using CommandFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using RunningFn = BOOL(WINAPI*)();
using OpenFn = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using CloseFn = int(WINAPI*)(HANDLE);
using FirstFn = int(WINAPI*)(HANDLE, LPCSTR, IndividualInfo*);
using NextFn = int(WINAPI*)(HANDLE, IndividualInfo*);

struct ArchiverLib {
    HMODULE m = nullptr;
    CommandFn run = nullptr;
    RunningFn running = nullptr;
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    FirstFn first = nullptr;
    NextFn next = nullptr;
    ArchiverLib(const char* dll, const std::string& prefix) {
        m = Load(dll);
        if (!m) return;
        run = Fn<CommandFn>(m, prefix.c_str());
        running = Fn<RunningFn>(m, (prefix + "GetRunning").c_str());
        open = Fn<OpenFn>(m, (prefix + "OpenArchive").c_str());
        close = Fn<CloseFn>(m, (prefix + "CloseArchive").c_str());
        first = Fn<FirstFn>(m, (prefix + "FindFirst").c_str());
        next = Fn<NextFn>(m, (prefix + "FindNext").c_str());
    }
    ~ArchiverLib() {
        if (m) FreeLibrary(m);
    }
    bool Complete() const { return m && run && running && open && close && first && next; }
    std::vector<IndividualInfo> List(const std::string& path, const char* pattern, DWORD mode) {
        std::vector<IndividualInfo> out;
        HANDLE h = open(nullptr, path.c_str(), mode);
        EXPECT_NE(h, nullptr) << path;
        if (!h) return out;
        IndividualInfo info;
        for (int r = first(h, pattern, &info); r == 0; r = next(h, &info)) out.push_back(info);
        EXPECT_EQ(close(h), 0);
        return out;
    }
};

void MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "line " + std::to_string(i % 97) + " 表示\r\n";
    std::string noise(20000, '\0');
    unsigned x = 1;
    for (auto& c : noise) c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
    WriteFile(root + "\\text.txt", text);
    WriteFile(root + "\\noise.bin", noise);
    WriteFile(root + "\\sub\\表.txt", "in a sub folder\r\n");
}

TEST(ArchiverDlls, UnlhaPacksUnpacksAndListsLikeTheProgramAsks) {
    ArchiverLib lha("UNLHA32.DLL", "Unlha");
    ASSERT_TRUE(lha.Complete());
    auto setBackground = Fn<BOOL(WINAPI*)(BOOL)>(lha.m, "UnlhaSetBackGroundMode");
    ASSERT_NE(setBackground, nullptr);
    TempDir tmp;
    std::string src = tmp.Path() + "\\src";
    MakeTree(src);
    // PackLzh: not busy, background off, "a -d1 -a1 " + archive + " " + a response file of quoted names.
    EXPECT_FALSE(lha.running());
    EXPECT_TRUE(setBackground(FALSE));
    WriteFile(tmp.Path() + "\\pkd.tmp", "\"text.txt\"\r\n\"noise.bin\"\r\n\"sub\"\r\n");
    std::string archive = tmp.Path() + "\\packed.lzh";
    char out[4096] = {};
    SetCurrentDirectoryA(src.c_str());
    ASSERT_EQ(lha.run(nullptr, ("a -d1 -a1 " + archive + " @" + tmp.Path() + "\\pkd.tmp").c_str(), out, sizeof out), 0)
        << out;
    SetCurrentDirectoryA(tmp.Path().c_str());
    // The listing the archive viewer reads.
    auto entries = lha.List(archive, "*.*", 0x400000);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_STREQ(entries[0].szFileName, "text.txt");
    EXPECT_STREQ(entries[0].szMode, "-lh5-");
    EXPECT_EQ(entries[0].dwOriginalSize, ReadFile(src + "\\text.txt").size());
    EXPECT_LT(entries[0].wRatio, 500);
    EXPECT_STREQ(entries[1].szMode, "-lh0-");  // noise does not shrink
    EXPECT_STREQ(entries[2].szFileName, "sub\\");
    EXPECT_STREQ(entries[3].szFileName, "sub\\表.txt");
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(1980 + (entries[0].wDate >> 9), now.wYear);
    // UnpackLzh: "e -x1 -a1 -m1 " + spec + " " + a quoted destination with a blank.
    std::string dest = tmp.Path() + "\\with blank\\";
    ASSERT_EQ(lha.run(nullptr, ("e -x1 -a1 -m1 " + archive + " \"" + dest + "\"").c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadFile(dest + "text.txt"), ReadFile(src + "\\text.txt"));
    EXPECT_EQ(ReadFile(dest + "noise.bin"), ReadFile(src + "\\noise.bin"));
    EXPECT_EQ(ReadFile(dest + "sub\\表.txt"), "in a sub folder\r\n");
    // The viewer's one-entry extraction: "e -x1 -m1 -a2 -jf0 "archive" D\ "name"".
    std::string work = tmp.Path() + "\\kad0.TMP";
    CreateDirectoryA(work.c_str(), nullptr);
    ASSERT_EQ(lha.run(nullptr, ("e -x1 -m1 -a2 -jf0 \"" + archive + "\" " + work + "\\ \"sub\\表.txt\"").c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadFile(work + "\\sub\\表.txt"), "in a sub folder\r\n");
    EXPECT_EQ(GetFileAttributesA((work + "\\text.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    // Without -m1 an existing file stays and the library says so.
    WriteFile(dest + "text.txt", "mine");
    EXPECT_EQ(lha.run(nullptr, ("e -x1 " + archive + " \"" + dest + "\"").c_str(), out, sizeof out), 0x8010);
    EXPECT_EQ(ReadFile(dest + "text.txt"), "mine");
    // With it, a read-only file is replaced whole and nothing is left beside it.
    SetFileAttributesA((dest + "text.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(lha.run(nullptr, ("e -x1 -m1 " + archive + " \"" + dest + "\" text.txt").c_str(), out, sizeof out), 0);
    EXPECT_EQ(ReadFile(dest + "text.txt"), ReadFile(src + "\\text.txt"));
    EXPECT_EQ(GetFileAttributesA((dest + "~kx0.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    // DLHA's listing text, and the answer for a self-extracting archive.
    ASSERT_EQ(lha.run(nullptr, ("l " + archive).c_str(), out, sizeof out), 0);
    EXPECT_NE(std::strstr(out, "-lh5-"), nullptr);
    EXPECT_NE(std::strstr(out, "4 file(s)"), nullptr);
    EXPECT_EQ(lha.run(nullptr, ("s -gw " + archive).c_str(), out, sizeof out), 0x8023);
    EXPECT_GT(std::strlen(out), 10u);
    // A small buffer is cut and terminated.
    char small[8];
    std::memset(small, 'x', sizeof small);
    lha.run(nullptr, ("l " + archive).c_str(), small, sizeof small);
    EXPECT_LT(std::strlen(small), sizeof small);
}

TEST(ArchiverDlls, ListingHandlesAreChecked) {
    ArchiverLib lha("UNLHA32.DLL", "Unlha");
    ASSERT_TRUE(lha.Complete());
    TempDir tmp;
    WriteFile(tmp.Path() + "\\a.txt", "a");
    std::string archive = tmp.Path() + "\\x.lzh";
    ASSERT_EQ(lha.run(nullptr, ("a " + archive + " " + tmp.Path() + "\\ a.txt").c_str(), nullptr, 0), 0);
    HANDLE h = lha.open(nullptr, archive.c_str(), 0x400000);
    ASSERT_NE(h, nullptr);
    IndividualInfo info;
    EXPECT_EQ(lha.next(h, &info), 0x8022);  // FindNext before FindFirst
    EXPECT_EQ(lha.first(h, "", nullptr), 0);  // a null record is tolerated
    EXPECT_EQ(lha.next(h, &info), -1);
    EXPECT_EQ(lha.close(h), 0);
    EXPECT_EQ(lha.first(h, "", &info), 0x8021);  // closed
    EXPECT_EQ(lha.close(reinterpret_cast<HANDLE>(0x1234)), 0x8021);
    EXPECT_EQ(lha.open(nullptr, (tmp.Path() + "\\a.txt").c_str(), 0x400000), nullptr);  // not an archive
}

TEST(ArchiverDlls, UnlhaWritesNothingOutsideTheTarget) {
    ArchiverLib lha("UNLHA32.DLL", "Unlha");
    ASSERT_TRUE(lha.Complete());
    TempDir tmp;
    std::string bytes;
    for (const char* name : {"..\\..\\evil1.txt", "\\evil2.txt", "C:\\evil3.txt", "ok.txt"}) {
        kestrum::lzh::Member m;
        std::memcpy(m.method, "-lh0-", 5);
        m.name = name;
        m.original = m.packed = 1;
        m.crc = kestrum::lzh::Crc16(0, reinterpret_cast<const std::uint8_t*>("x"), 1);
        auto hdr = kestrum::lzh::BuildLevel2Header(m);
        bytes.append(hdr.begin(), hdr.end());
        bytes += "x";
    }
    bytes += '\0';
    std::string deep = tmp.Path() + "\\a\\b";
    CreateDirectoryA((tmp.Path() + "\\a").c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    WriteFile(deep + "\\evil.lzh", bytes);
    EXPECT_NE(lha.run(nullptr, ("e -x1 -a1 -m1 " + deep + "\\evil.lzh " + deep + "\\out\\").c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadFile(deep + "\\out\\ok.txt"), "x");
    EXPECT_EQ(GetFileAttributesA((tmp.Path() + "\\evil1.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((deep + "\\evil2.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("C:\\evil2.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("C:\\evil3.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST(ArchiverDlls, TarCreatesExtractsAndLists) {
    ArchiverLib tar("TAR32.DLL", "Tar");
    ASSERT_TRUE(tar.Complete());
    auto query = Fn<BOOL(WINAPI*)(int)>(tar.m, "TarQueryFunctionList");
    ASSERT_NE(query, nullptr);
    EXPECT_TRUE(query(23));   // OpenArchive
    EXPECT_FALSE(query(99));
    TempDir tmp;
    std::string src = tmp.Path() + "\\src";
    MakeTree(src);
    std::string archive = tmp.Path() + "\\t.tgz";
    char out[4096] = {};
    ASSERT_EQ(tar.run(nullptr, ("czf " + archive + " -o " + src + "\\ text.txt noise.bin sub").c_str(), out, sizeof out), 0)
        << out;
    // ExtractArchive: "xzf " + archive + " -o " + a quoted destination.
    std::string dest = tmp.Path() + "\\to here";
    ASSERT_EQ(tar.run(nullptr, ("xzf " + archive + " -o \"" + dest + "\"").c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadFile(dest + "\\text.txt"), ReadFile(src + "\\text.txt"));
    EXPECT_EQ(ReadFile(dest + "\\sub\\表.txt"), "in a sub folder\r\n");
    auto entries = tar.List(archive, "", 0x401101);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_STREQ(entries[3].szFileName, "sub/表.txt");
    // The viewer's extraction of one entry.
    std::string work = tmp.Path() + "\\kad0.TMP";
    ASSERT_EQ(tar.run(nullptr, ("xzf \"" + archive + "\" -o " + work + " \"sub/表.txt\"").c_str(), nullptr, 0), 0);
    EXPECT_EQ(ReadFile(work + "\\sub\\表.txt"), "in a sub folder\r\n");
    EXPECT_EQ(GetFileAttributesA((work + "\\text.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ArchiverDlls, ZipPluginListsAndExtracts) {
    HMODULE m = Load("AXZIP.SPI");
    ASSERT_NE(m, nullptr);
    auto info = Fn<int(WINAPI*)(int, LPSTR, int)>(m, "GetPluginInfo");
    auto supported = Fn<int(WINAPI*)(LPCSTR, void*)>(m, "IsSupported");
    auto archiveInfo = Fn<int(WINAPI*)(LPCSTR, LONG_PTR, unsigned, HLOCAL*)>(m, "GetArchiveInfo");
    auto getFile = Fn<int(WINAPI*)(LPCSTR, LONG_PTR, LPSTR, unsigned, void*, LONG_PTR)>(m, "GetFile");
    ASSERT_TRUE(info && supported && archiveInfo && getFile && GetProcAddress(m, "GetFileInfo"));
    char buf[8];
    EXPECT_EQ(info(0, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "00AM");
    // A stored entry whose UTF-8 name (flag bit 11) is 日本/表.txt.
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC/\xE8\xA1\xA8.txt";
    const std::string body = "zip body\r\n";
    auto le16 = [](std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF); s += static_cast<char>(v >> 8); };
    auto le32 = [&](std::string& s, unsigned v) { le16(s, v & 0xFFFF); le16(s, v >> 16); };
    unsigned crc = 0xFFFFFFFF;
    for (unsigned char c : body) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFF;
    std::string zip;
    le32(zip, 0x04034b50); le16(zip, 20); le16(zip, 0x800); le16(zip, 0); le16(zip, 0); le16(zip, 0x5821);
    le32(zip, crc); le32(zip, static_cast<unsigned>(body.size())); le32(zip, static_cast<unsigned>(body.size()));
    le16(zip, static_cast<unsigned>(name.size())); le16(zip, 0);
    zip += name + body;
    std::string central;
    le32(central, 0x02014b50); le16(central, 20); le16(central, 20); le16(central, 0x800); le16(central, 0);
    le16(central, 0); le16(central, 0x5821); le32(central, crc); le32(central, static_cast<unsigned>(body.size()));
    le32(central, static_cast<unsigned>(body.size())); le16(central, static_cast<unsigned>(name.size()));
    le16(central, 0); le16(central, 0); le16(central, 0); le16(central, 0); le32(central, 0); le32(central, 0);
    central += name;
    std::size_t cdOffset = zip.size();
    zip += central;
    le32(zip, 0x06054b50); le16(zip, 0); le16(zip, 0); le16(zip, 1); le16(zip, 1);
    le32(zip, static_cast<unsigned>(central.size())); le32(zip, static_cast<unsigned>(cdOffset)); le16(zip, 0);
    TempDir tmp;
    std::string archive = tmp.Path() + "\\j.zip";
    WriteFile(archive, zip);
    std::string head = zip.substr(0, 4) + std::string(2044, '\0');
    EXPECT_EQ(supported(archive.c_str(), head.data()), 1);
    HLOCAL h = nullptr;
    ASSERT_EQ(archiveInfo(archive.c_str(), 0, 0, &h), 0);
    ASSERT_NE(h, nullptr);
    auto* records = static_cast<SpiFileInfo*>(LocalLock(h));
    EXPECT_STREQ(records[0].path, "日本\\");
    EXPECT_STREQ(records[0].filename, "表.txt");
    EXPECT_EQ(records[0].filesize, body.size());
    EXPECT_EQ(records[1].method[0], 0);
    // ExtractZip: GetFile(archive, position, dest + the entry's path, 0, no callback, 0).
    std::string dest = tmp.Path() + "\\out\\" + records[0].path;
    EXPECT_EQ(getFile(archive.c_str(), records[0].position, dest.data(), 0, nullptr, 0), 0);
    LocalUnlock(h);
    LocalFree(h);
    EXPECT_EQ(ReadFile(tmp.Path() + "\\out\\日本\\表.txt"), body);
    // The same archive behind a 128-byte header: found from the file's start
    // and past the header alike, its position counted from the file's start,
    // where GetFile reads from.
    const std::string prefixed = tmp.Path() + "\\p.zip";
    WriteFile(prefixed, std::string(128, 'M') + zip);
    for (LONG_PTR offset : {LONG_PTR{0}, LONG_PTR{128}}) {
        SCOPED_TRACE(offset);
        HLOCAL ph = nullptr;
        ASSERT_EQ(archiveInfo(prefixed.c_str(), offset, 0, &ph), 0);
        auto* pr = static_cast<SpiFileInfo*>(LocalLock(ph));
        EXPECT_STREQ(pr[0].filename, "表.txt");
        EXPECT_EQ(pr[0].position, 128u);
        std::string pdest = tmp.Path() + "\\p" + std::to_string(offset) + "\\";
        EXPECT_EQ(getFile(prefixed.c_str(), pr[0].position, pdest.data(), 0, nullptr, 0), 0);
        EXPECT_EQ(ReadFile(pdest + "表.txt"), body);
        LocalUnlock(ph);
        LocalFree(ph);
    }
    FreeLibrary(m);
}

// Archive names with blanks come quoted in command lines and may come
// quoted to OpenArchive: both libraries take them.
TEST(ArchiverDlls, QuotedNamesWithBlanks) {
    ArchiverLib lha("UNLHA32.DLL", "Unlha");
    ArchiverLib tar("TAR32.DLL", "Tar");
    ASSERT_TRUE(lha.Complete() && tar.Complete());
    TempDir tmp;
    const std::string dir = tmp.Path() + "\\my files";
    CreateDirectoryA(dir.c_str(), nullptr);
    WriteFile(dir + "\\a.txt", "aaa");
    const std::string lzh = dir + "\\my arc.lzh", tgz = dir + "\\my arc.tgz";
    char out[4096] = {};
    ASSERT_EQ(lha.run(nullptr, ("a -d1 -a1 \"" + lzh + "\" \"" + dir + "\\\" a.txt").c_str(), out, sizeof out), 0) << out;
    ASSERT_EQ(tar.run(nullptr, ("czf \"" + tgz + "\" -o \"" + dir + "\\\" a.txt").c_str(), out, sizeof out), 0) << out;
    ASSERT_EQ(lha.run(nullptr, ("e -x1 -a1 -m1 \"" + lzh + "\"  \"" + tmp.Path() + "\\out 1\\\"").c_str(), out, sizeof out), 0)
        << out;
    EXPECT_EQ(ReadFile(tmp.Path() + "\\out 1\\a.txt"), "aaa");
    ASSERT_EQ(tar.run(nullptr, ("xzf \"" + tgz + "\" -o \"" + tmp.Path() + "\\out 2\"").c_str(), out, sizeof out), 0) << out;
    EXPECT_EQ(ReadFile(tmp.Path() + "\\out 2\\a.txt"), "aaa");
    EXPECT_EQ(lha.List("\"" + lzh + "\"", "*.*", 0x400000).size(), 1u);
    EXPECT_EQ(tar.List("\"" + tgz + "\"", "", 0x401101).size(), 1u);
}

// The program's U on an .ish file: Ish(0, "FILE /f=DIR"), the result
// alone telling success. A vector another converter wrote, read in place.
TEST(ArchiverDlls, IshDecodesThroughItsExport) {
    HMODULE m = Load("ISH32.DLL");
    ASSERT_NE(m, nullptr);
    auto ish = Fn<int(WINAPI*)(HWND, LPCSTR)>(m, "Ish");
    auto running = Fn<RunningFn>(m, "IshGetRunning");
    ASSERT_TRUE(ish && running);
    EXPECT_FALSE(running());
    std::string data = KESTRUM_ISH_DATA;
    for (char& c : data) c = c == '/' ? '\\' : c;
    data = "Z:" + data;  // Wine's drive for the host's root
    const std::string original = ReadFile(data + "\\text.txt");
    ASSERT_EQ(original.size(), 20062u) << "the ish test vectors are missing: " << data;
    TempDir tmp;
    WriteFile(tmp.Path() + "\\a.ish", ReadFile(data + "\\text.sjis.damaged.ish"));
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\a.ish /f=" + tmp.Path() + "\\out dir").c_str()), 0);
    EXPECT_EQ(ReadFile(tmp.Path() + "\\out dir\\text.txt"), original);
    // The header's time (1996-03-17 12:34:56 in Japan) on the file.
    WIN32_FILE_ATTRIBUTE_DATA attr;
    ASSERT_TRUE(GetFileAttributesExA((tmp.Path() + "\\out dir\\text.txt").c_str(), GetFileExInfoStandard, &attr));
    ULARGE_INTEGER t;
    t.LowPart = attr.ftLastWriteTime.dwLowDateTime;
    t.HighPart = attr.ftLastWriteTime.dwHighDateTime;
    EXPECT_EQ(t.QuadPart / 10000000ULL - 11644473600ULL, 827033696ULL);
    // Once more: the file is there, so it stays and the result says so.
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\a.ish /f=" + tmp.Path() + "\\out dir").c_str()), 0x8010);
    // A UTF-8 name comes out in Shift-JIS.
    WriteFile(tmp.Path() + "\\b.ish", ReadFile(data + "\\hyouji-utf8name.jis8.ish"));
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\b.ish /f=" + tmp.Path() + "\\out dir").c_str()), 0);
    EXPECT_EQ(ReadFile(tmp.Path() + "\\out dir\\表示.lzh").size(), 30000u);
    // Encoding, and the file it writes decodes to the same bytes.
    WriteFile(tmp.Path() + "\\c.txt", original);
    EXPECT_EQ(ish(nullptr, ("-ss " + tmp.Path() + "\\c.txt").c_str()), 0);
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\c.ish /f=" + tmp.Path() + "\\back").c_str()), 0);
    EXPECT_EQ(ReadFile(tmp.Path() + "\\back\\c.txt"), original);
    WriteFile(tmp.Path() + "\\x.ish", "not ish\r\n");
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\x.ish /f=" + tmp.Path() + "\\out").c_str()), 0x8019);
    EXPECT_EQ(ish(nullptr, (tmp.Path() + "\\missing.ish").c_str()), 0x8029);
    FreeLibrary(m);
}

}  // namespace
