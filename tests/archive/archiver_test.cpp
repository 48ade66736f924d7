// Packing and unpacking against recording libraries: the order of the calls,
// the command lines, the messages, and what counts as failure.
#include "archive/archiver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "config/commands.h"
#include "config/session.h"

namespace kestrum {
namespace {

// Every call made to any library, in order.
struct Calls {
    std::vector<std::string> log;
    void Add(const std::string& s) { log.push_back(s); }
};

class FakeCommandLibrary : public LhaLibrary {
public:
    FakeCommandLibrary(Calls& calls, std::string name) : calls_(calls), name_(std::move(name)) {}
    int running = 0;
    bool modeOk = true;
    int result = 0;
    std::string output;
    int GetRunning() override {
        calls_.Add(name_ + " running");
        return running;
    }
    bool SetBackGroundMode(bool on) override {
        calls_.Add(name_ + " background " + (on ? "on" : "off"));
        return modeOk;
    }
    int Run(const std::string& command, std::string* out, std::size_t size) override {
        calls_.Add(name_ + " " + command + (out ? " [" + std::to_string(size) + "]" : ""));
        if (out) *out = output.substr(0, size);
        return result;
    }
    // The members it lists (none: the archive cannot be opened).
    std::vector<std::string> members;
    bool OpenArchive(const std::string&, unsigned) override {
        next_ = 0;
        return !members.empty();
    }
    int FindFirst(const std::string&, unsigned char* record) override {
        next_ = 0;
        return FindNext(record);
    }
    int FindNext(unsigned char* record) override {
        if (next_ >= members.size()) return -1;
        std::memset(record, 0, kListingRecordSize);
        std::strcpy(reinterpret_cast<char*>(record + 26), members[next_++].c_str());
        return 0;
    }
    void CloseArchive() override {}

private:
    Calls& calls_;
    std::string name_;
    std::size_t next_ = 0;
};

class FakeIsh : public IshLibrary {
public:
    explicit FakeIsh(Calls& calls) : calls_(calls) {}
    int running = 0;
    int result = 0;
    int GetRunning() override { return running; }
    int Run(const std::string& command) override {
        calls_.Add("ish " + command);
        return result;
    }

private:
    Calls& calls_;
};

// The plug-in lists entries, failing at offset 0 when told so.
class FakeZip : public ZipPlugin {
public:
    struct Entry {
        std::string path, name;
        int result = 0;
    };
    FakeZip(Calls& calls, std::vector<Entry> entries, bool failAtZero, bool failAt128)
        : calls_(calls), entries_(std::move(entries)), failAtZero_(failAtZero), failAt128_(failAt128) {}
    // At offset 0: an empty listing (an archive behind a header read as
    // one without entries), or the records with the code of a damaged one.
    bool emptyAtZero = false, brokenAtZero = false;
    int GetArchiveInfo(const std::string& path, long offset, std::vector<unsigned char>& block) override {
        calls_.Add("info " + path + " " + std::to_string(offset));
        if ((offset == 0 && failAtZero_) || (offset == 128 && failAt128_)) return 2;
        if (offset == 0 && emptyAtZero) {
            block.assign(kPluginRecordSize, 0);
            return 0;
        }
        if (offset == 128 && brokenAtZero) return 2;
        block.assign((entries_.size() + 1) * kPluginRecordSize, 0);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            unsigned char* r = block.data() + i * kPluginRecordSize;
            r[0] = 'D';
            r[8] = static_cast<unsigned char>(i + 1);
            std::strcpy(reinterpret_cast<char*>(r + 24), entries_[i].path.c_str());
            std::strcpy(reinterpret_cast<char*>(r + 224), entries_[i].name.c_str());
        }
        return offset == 0 && brokenAtZero ? 3 : 0;
    }
    int GetFile(const std::string& path, long position, const std::string& dest) override {
        calls_.Add("getfile " + path + " " + std::to_string(position) + " " + dest);
        return entries_[static_cast<std::size_t>(position - 1)].result;
    }

private:
    Calls& calls_;
    std::vector<Entry> entries_;
    bool failAtZero_, failAt128_;
};

class FakeHost : public ArchiverHost {
public:
    Calls calls;
    LibraryLoad lhaLoad = LibraryLoad::Loaded, tarLoad = LibraryLoad::Loaded, ishLoad = LibraryLoad::Loaded,
                zipLoad = LibraryLoad::Loaded;
    std::string zipMissing;
    FakeCommandLibrary lha{calls, "lha"};
    // What the next tar / ish / zip loaded will be like.
    int tarRunning = 0, tarResult = 0, ishRunning = 0, ishResult = 0;
    std::string tarOutput;
    std::vector<FakeZip::Entry> zipEntries;
    bool zipFailAtZero = false, zipFailAt128 = false, zipEmptyAtZero = false, zipBrokenAtZero = false;
    bool refuseDirs = false;
    bool noTempFile = false;
    std::vector<std::string> tempTexts;
    int tarFreed = 0;

    LhaLibrary* Lha(LibraryLoad& load) override {
        load = lhaLoad;
        return lhaLoad == LibraryLoad::Loaded ? &lha : nullptr;
    }
    std::unique_ptr<TarLibrary> LoadTar(LibraryLoad& load) override {
        load = tarLoad;
        calls.Add("load tar");
        if (tarLoad != LibraryLoad::Loaded) return nullptr;
        // The library is freed with its owner: the log shows it.
        struct Freed : FakeCommandLibrary {
            Freed(Calls& c) : FakeCommandLibrary(c, "tar"), calls(c) {}
            ~Freed() override { calls.Add("free tar"); }
            Calls& calls;
        };
        auto tar = std::make_unique<Freed>(calls);
        tar->running = tarRunning;
        tar->result = tarResult;
        tar->output = tarOutput;
        tar->members = tarMembers;
        return tar;
    }
    std::unique_ptr<IshLibrary> LoadIsh(LibraryLoad& load) override {
        load = ishLoad;
        if (ishLoad != LibraryLoad::Loaded) return nullptr;
        auto ish = std::make_unique<FakeIsh>(calls);
        ish->running = ishRunning;
        ish->result = ishResult;
        return ish;
    }
    std::unique_ptr<ZipPlugin> LoadZip(LibraryLoad& load, std::string& missing) override {
        load = zipLoad;
        missing = zipMissing;
        if (zipLoad != LibraryLoad::Loaded) return nullptr;
        auto zip = std::make_unique<FakeZip>(calls, zipEntries, zipFailAtZero, zipFailAt128);
        zip->emptyAtZero = zipEmptyAtZero;
        zip->brokenAtZero = zipBrokenAtZero;
        return zip;
    }
    bool EnsureDirectory(std::string& path) override {
        calls.Add("ensure " + path);
        if (refuseDirs) return false;
        if (path.empty() || path.back() != '\\') path += '\\';
        return true;
    }
    std::string WriteTempFile(const std::string& prefix, const std::string& text) override {
        if (noTempFile) return {};
        tempTexts.push_back(text);
        calls.Add("temp " + prefix);
        return "C:\\T\\" + prefix + "1.tmp";
    }
    void RemoveFile(const std::string& path) override { calls.Add("delete " + path); }
    std::vector<std::string> existing;
    bool Exists(const std::string& path) override {
        return std::find(existing.begin(), existing.end(), path) != existing.end();
    }
    std::vector<std::string> tarMembers;
};

class ArchiverTest : public testing::Test {
protected:
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }
    using Log = std::vector<std::string>;
    FakeHost host_;
    Archiver archiver_{host_};
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

TEST_F(ArchiverTest, PackOneNameOrAResponseFile) {
    EXPECT_EQ(archiver_.PackNames("out", {"a b.txt"}), 0);
    EXPECT_EQ(host_.calls.log, (Log{"lha running", "lha background off", "lha a -d1 -a1 out \"a b.txt\""}));
    host_.calls.log.clear();
    EXPECT_EQ(archiver_.PackNames("out.lzh", {"a.txt", "表 ソ", "sub"}), 0);
    EXPECT_EQ(host_.calls.log, (Log{"temp pkd", "lha running", "lha background off",
                                    "lha a -d1 -a1 out.lzh @C:\\T\\pkd1.tmp", "delete C:\\T\\pkd1.tmp"}));
    EXPECT_EQ(host_.tempTexts, (Log{"\"a.txt\"\r\n\"表 ソ\"\r\n\"sub\"\r\n"}));
    EXPECT_TRUE(Messages().empty());

    // Without a temporary file nothing is packed.
    host_.calls.log.clear();
    host_.noTempFile = true;
    EXPECT_NE(archiver_.PackNames("out.lzh", {"a", "b"}), 0);
    EXPECT_TRUE(host_.calls.log.empty());
    EXPECT_EQ(Messages(), (Log{"テンプディレクトリが作れません"}));
}

// A busy library or one that cannot be set up is reported and not called;
// a failed pack is reported with the library's result.
TEST_F(ArchiverTest, PackRefusals) {
    host_.lha.running = 1;
    EXPECT_EQ(archiver_.PackLzh("x", "\"a\""), 1);
    host_.lha.running = 0;
    host_.lha.modeOk = false;
    EXPECT_EQ(archiver_.PackLzh("x", "\"a\""), 1);
    host_.lha.modeOk = true;
    host_.lha.result = 0x8012;
    EXPECT_EQ(archiver_.PackLzh("x", "\"a\""), 0x8012);
    EXPECT_EQ(Messages(), (Log{"UNLHA32.DLLを他のアプリが使ってます", "UNLHA32.DLLの設定に失敗しました。処理を中断します(__)",
                               "Packを中断しました"}));
    EXPECT_EQ(host_.calls.log, (Log{"lha running", "lha running", "lha background off", "lha running",
                                    "lha background off", "lha a -d1 -a1 x \"a\""}));
    // A missing library is said, never a crash.
    prompter_.Clear();
    host_.lhaLoad = LibraryLoad::Missing;
    EXPECT_EQ(archiver_.PackLzh("x", "\"a\""), 1);
    host_.lhaLoad = LibraryLoad::EntryMissing;
    EXPECT_EQ(archiver_.UnpackLzh("x.lzh ", "C:\\o"), 1);
    EXPECT_EQ(Messages(), (Log{"UNLHA32.DLLがオープンできません", "このバージョンのUNLHA32.DLLには対応してません"}));
}

TEST_F(ArchiverTest, UnpackByExtension) {
    EXPECT_EQ(archiver_.ExtractArchive("a.lzh", "C:\\my dir\\"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("a.tar.gz", "C:\\out"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("a.TAR", "\"C:\\q\\"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("a.ish", "C:\\out\\"), 0);
    EXPECT_EQ(host_.calls.log,
              (Log{"lha running", "ensure C:\\my dir\\", "lha e -x1 -a1 -m1 a.lzh  \"C:\\my dir\\\"",
                   // Each tar archive is listed first for files it would replace.
                   "load tar", "tar running", "free tar",
                   "load tar", "tar running", "tar xzf a.tar.gz -o \"C:\\out\"", "free tar",
                   "load tar", "tar running", "free tar",
                   "load tar", "tar running", "tar xf a.TAR -o \"C:\\q\\\"", "free tar",
                   "ensure C:\\out\\", "ish a.ish /f=C:\\out\\"}));
    EXPECT_TRUE(Messages().empty());
}

// Failures are never reported as success: a refused destination, a missing
// or busy tar library, a failing ISH destination.
TEST_F(ArchiverTest, FailuresAreNoSuccess) {
    host_.refuseDirs = true;
    EXPECT_NE(archiver_.UnpackLzh("a.lzh ", "C:\\no"), 0);
    EXPECT_NE(archiver_.RunIsh("a.ish /f=C:\\no"), 0);
    EXPECT_NE(archiver_.ExtractZip("a.zip", "C:\\no"), 0);
    host_.refuseDirs = false;
    host_.tarLoad = LibraryLoad::Missing;
    EXPECT_NE(archiver_.ExtractArchive("a.tgz", "C:\\o"), 0);
    host_.tarLoad = LibraryLoad::EntryMissing;
    EXPECT_NE(archiver_.ExtractArchive("a.tgz", "C:\\o"), 0);
    host_.tarLoad = LibraryLoad::Loaded;
    host_.tarRunning = 1;
    EXPECT_NE(archiver_.ExtractArchive("a.tgz", "C:\\o"), 0);
    host_.tarRunning = 0;
    host_.tarResult = 0x8020;
    EXPECT_EQ(archiver_.ExtractArchive("a.tgz", "C:\\o"), 0x8020);
    host_.ishLoad = LibraryLoad::Missing;
    EXPECT_NE(archiver_.RunIsh("a"), 0);
    host_.ishLoad = LibraryLoad::EntryMissing;
    EXPECT_NE(archiver_.RunIsh("a"), 0);
    host_.ishLoad = LibraryLoad::Loaded;
    host_.ishRunning = 1;
    EXPECT_NE(archiver_.RunIsh("a"), 0);
    EXPECT_EQ(Messages(), (Log{"UnPackを中断しました", "TAR32.DLLがオープンできません",
                               "このバージョンのTar32.DLLには対応してません", "Tar32.DLLを他のアプリが使用中です",
                               "エラーです;_;/", "ISH32.DLLがオープンできません",
                               "このバージョンのISH32.DLLには対応してません", "ISH32.DLLを他のアプリが使用中です"}));
    // No library ran where the destination was refused.
    for (const std::string& call : host_.calls.log) {
        EXPECT_EQ(call.find("lha e"), std::string::npos);
        EXPECT_EQ(call.find("ish a.ish"), std::string::npos);
        EXPECT_EQ(call.find("info"), std::string::npos);
    }
}

// A destination typed with a leading double quote (and perhaps a closing
// one) is made without its quotes and handed to the library quoted once.
TEST_F(ArchiverTest, QuotedDestinationsAreMadeWithoutTheirQuotes) {
    host_.zipEntries = {{"", "a.txt"}};
    EXPECT_EQ(archiver_.ExtractArchive("a.lzh", "\"C:\\out\\"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("a.zip", "\"C:\\z dir\\\""), 0);
    EXPECT_EQ(archiver_.RunIsh("a.ish /f=\"C:\\i dir\\\""), 0);
    EXPECT_EQ(host_.calls.log,
              (Log{"lha running", "ensure C:\\out\\", "lha e -x1 -a1 -m1 a.lzh  \"C:\\out\\\"",
                   "info a.zip 0", "ensure C:\\z dir\\", "info a.zip 0", "getfile a.zip 1 C:\\z dir\\",
                   "ensure C:\\i dir\\", "ish a.ish /f=\"C:\\i dir\\\""}));
    EXPECT_TRUE(Messages().empty());
}

// An archive whose name holds a blank reaches every library in one piece.
TEST_F(ArchiverTest, ArchiveNamesWithBlanksAreQuoted) {
    EXPECT_EQ(archiver_.PackNames("my arc.lzh", {"a.txt"}), 0);
    EXPECT_EQ(archiver_.ExtractArchive("C:\\my files\\a.lzh", "C:\\o"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("C:\\my files\\a.tgz", "C:\\o"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("C:\\my files\\a.ish", "C:\\o d"), 0);
    std::vector<std::string> runs;
    for (const std::string& c : host_.calls.log) {
        if (c.rfind("lha a", 0) == 0 || c.rfind("lha e", 0) == 0 || c.rfind("tar x", 0) == 0 ||
            c.rfind("ish ", 0) == 0) {
            runs.push_back(c);
        }
    }
    EXPECT_EQ(runs, (Log{"lha a -d1 -a1 \"my arc.lzh\" \"a.txt\"",
                         "lha e -x1 -a1 -m1 \"C:\\my files\\a.lzh\"  \"C:\\o\\\"",
                         "tar xzf \"C:\\my files\\a.tgz\" -o \"C:\\o\"",
                         "ish \"C:\\my files\\a.ish\" /f=\"C:\\o d\""}));
}

// An ISH command without "/f=" unpacks into the current directory.
TEST_F(ArchiverTest, IshDestinationDefaultsToTheCurrentDirectory) {
    EXPECT_EQ(archiver_.RunIsh("a.ish"), 0);
    EXPECT_EQ(host_.calls.log, (Log{"ensure .", "ish a.ish"}));
}

TEST_F(ArchiverTest, ZipRetriesAt128AndSkipsDirectories) {
    host_.zipEntries = {{"", "a.txt"}, {"dir\\", ""}, {"dir\\", "b.txt"}, {"d/e/", "c.txt"}};
    host_.zipFailAtZero = true;
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out"), 0);
    EXPECT_EQ(host_.calls.log, (Log{"ensure C:\\out", "info x.zip 0", "info x.zip 128", "getfile x.zip 1 C:\\out\\",
                                    "getfile x.zip 3 C:\\out\\dir\\", "getfile x.zip 4 C:\\out\\d\\e\\"}));
    EXPECT_TRUE(Messages().empty());

    host_.calls.log.clear();
    host_.zipFailAt128 = true;
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out"), 1);
    EXPECT_EQ(Messages(), (Log{"エラーです。解凍に失敗しました。"}));
}

// A plug-in that reads an archive behind a 128-byte header as one without
// entries does not hide it: an empty listing is asked again past the header.
TEST_F(ArchiverTest, AnEmptyListingIsAskedAgainPastTheHeader) {
    host_.zipEntries = {{"", "a.txt"}};
    host_.zipEmptyAtZero = true;
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out"), 0);
    EXPECT_EQ(host_.calls.log, (Log{"ensure C:\\out", "info x.zip 0", "info x.zip 128", "getfile x.zip 1 C:\\out\\"}));
    EXPECT_TRUE(Messages().empty());
}

// What a plug-in could read of a damaged archive comes out, and the damage
// is said: no success.
TEST_F(ArchiverTest, ADamagedZipGivesWhatCouldBeReadAndSaysSo) {
    host_.zipEntries = {{"", "a.txt"}, {"d\\", "b.txt"}};
    host_.zipBrokenAtZero = true;
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out\\"), 1);
    EXPECT_EQ(host_.calls.log, (Log{"ensure C:\\out\\", "info x.zip 0", "info x.zip 128", "getfile x.zip 1 C:\\out\\",
                                    "getfile x.zip 2 C:\\out\\d\\"}));
    EXPECT_EQ(Messages(), (Log{"書庫の一部が壊れています", "エラーです。解凍に失敗しました。"}));
    const ZipListing listing = ListZip(*host_.LoadZip(host_.zipLoad, host_.zipMissing), "x.zip");
    EXPECT_TRUE(listing.ok);
    EXPECT_TRUE(listing.damaged);
    EXPECT_EQ(listing.entries.size(), 2u);
}

TEST_F(ArchiverTest, ZipStopsAtTheFirstFailureAndSaysMissingEntries) {
    host_.zipEntries = {{"", "a.txt", 0}, {"", "b.txt", 7}, {"", "c.txt", 0}};
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out\\"), 7);
    EXPECT_EQ(host_.calls.log.back(), "getfile x.zip 2 C:\\out\\");
    EXPECT_EQ(Messages(), (Log{"エラーです。解凍に失敗しました。"}));
    prompter_.Clear();
    host_.zipLoad = LibraryLoad::Missing;
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out\\"), 1);
    host_.zipLoad = LibraryLoad::EntryMissing;
    host_.zipMissing = "GetArchiveInfo";
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out\\"), 1);
    EXPECT_EQ(Messages(), (Log{"AXZIP.SPIがオープンできません", "GetArchiveInfoが見つかりません"}));
}

// An entry whose directory would lead out of the destination is never
// asked of the plug-in; the others still come out and the result says so.
TEST_F(ArchiverTest, ZipNamesThatLeaveTheDestinationAreNotExtracted) {
    host_.zipEntries = {{"..\\..\\", "evil.txt"}, {"", "good.txt"}, {"C:\\", "abs.txt"}, {"\\\\srv\\", "x.txt"},
                        {"", "..\\up.txt"}, {"", "CON"}, {"", "a|b"}};
    EXPECT_EQ(archiver_.ExtractZip("x.zip", "C:\\out\\"), 1);
    EXPECT_EQ(host_.calls.log, (Log{"ensure C:\\out\\", "info x.zip 0", "getfile x.zip 2 C:\\out\\"}));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].rfind("展開先の外に出る名前は展開しません:", 0), 0u);
    EXPECT_NE(Messages()[0].find("evil.txt"), std::string::npos);
    EXPECT_NE(Messages()[0].find("CON"), std::string::npos);
    EXPECT_NE(Messages()[0].find("a|b"), std::string::npos);
    EXPECT_EQ(Messages()[1], "エラーです。解凍に失敗しました。");
}

// The shell's pass-through commands: the text goes to the library as it
// was typed; DLHA and DTAR hand their output on.
TEST_F(ArchiverTest, LibraryCommands) {
    TheSession() = Session();
    std::vector<std::string> shown;
    const ShowOutput show = [&](const std::string& title, const std::string& text) {
        shown.push_back(title + "|" + text);
    };
    host_.lha.output = std::string(70000, 'x');
    host_.tarOutput = "tar listing";
    EXPECT_TRUE(RunLibraryCommand(archiver_, cmdDLHA, "l a.lzh", show));
    EXPECT_TRUE(RunLibraryCommand(archiver_, cmdDTAR, "tvf a.tar", show));
    EXPECT_TRUE(RunLibraryCommand(archiver_, cmdDISH, "a.ish /f=x", show));
    EXPECT_TRUE(RunLibraryCommand(archiver_, cmdLZH2EXE, "a.lzh", show));
    EXPECT_FALSE(RunLibraryCommand(archiver_, cmdCP, "a b", show));
    EXPECT_EQ(host_.calls.log, (Log{"lha l a.lzh [65534]", "load tar", "tar running", "tar tvf a.tar [65534]",
                                    "free tar", "ensure x", "ish a.ish /f=x", "lha s -gw a.lzh"}));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "DLHA l a.lzh|" + std::string(65534, 'x'));
    EXPECT_EQ(shown[1], "DTAR tvf a.tar|tar listing");
    // A library that cannot be loaded shows its message and no output.
    shown.clear();
    host_.lhaLoad = LibraryLoad::Missing;
    host_.tarLoad = LibraryLoad::Missing;
    RunLibraryCommand(archiver_, cmdDLHA, "l a.lzh", show);
    RunLibraryCommand(archiver_, cmdDTAR, "tvf a.tar", show);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Messages(), (Log{"UNLHA32.DLLがオープンできません", "TAR32.DLLがオープンできません"}));
}

// Members that would replace files already in the destination are asked
// about first: Yes replaces them, No keeps them, Cancel unpacks nothing.
TEST_F(ArchiverTest, OverwritingAsksFirst) {
    host_.lha.members = {"a.txt", "sub/b.txt", "../evil.txt", "sub/"};
    host_.existing = {"C:\\out\\sub\\b.txt", "C:\\evil.txt", "C:\\out\\sub\\"};
    prompter_.Answer(mrYes);
    prompter_.Answer(mrNo);
    prompter_.Answer(mrCancel);
    EXPECT_EQ(archiver_.ExtractArchive("x.lzh", "C:\\out"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("x.lzh", "\"C:\\out\\"), 0);
    EXPECT_EQ(archiver_.ExtractArchive("x.lzh", "C:\\out\\"), 2);
    EXPECT_EQ(Messages(), (Log(3, "展開先に同じ名前のファイルがあります。上書きしますか？\r\n\r\nsub\\b.txt")));
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Confirmation);
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::YesNoCancel);
    std::vector<std::string> runs;
    for (const std::string& c : host_.calls.log) {
        if (c.rfind("lha e", 0) == 0) runs.push_back(c);
    }
    EXPECT_EQ(runs, (Log{"lha e -x1 -a1 -m1 x.lzh  \"C:\\out\\\"", "lha e -x1 -a1 x.lzh  \"C:\\out\\\""}));

    // Nothing there: no question.
    prompter_.Clear();
    host_.existing.clear();
    EXPECT_EQ(archiver_.ExtractArchive("x.lzh", "C:\\out"), 0);
    EXPECT_TRUE(Messages().empty());

    // The plug-in is not asked for the files kept.
    host_.calls.log.clear();
    host_.zipEntries = {{"", "a.txt"}, {"d\\", "b.txt"}};
    host_.existing = {"C:\\out\\d\\b.txt"};
    prompter_.Answer(mrNo);
    EXPECT_EQ(archiver_.ExtractArchive("x.zip", "C:\\out"), 0);
    EXPECT_EQ(host_.calls.log.back(), "getfile x.zip 1 C:\\out\\");
    EXPECT_EQ(std::count_if(host_.calls.log.begin(), host_.calls.log.end(),
                            [](const std::string& c) { return c.rfind("getfile", 0) == 0; }),
              1);

    // A tar archive cannot leave files out: No unpacks nothing.
    host_.calls.log.clear();
    host_.tarMembers = {"d/b.txt"};
    prompter_.Answer(mrNo);
    EXPECT_EQ(archiver_.ExtractArchive("x.tgz", "C:\\out"), 2);
    for (const std::string& c : host_.calls.log) EXPECT_EQ(c.find("tar xzf"), std::string::npos) << c;
}

}  // namespace
}  // namespace kestrum
