// The archive viewer without its window, against a listing library and a
// platform that record what they are asked: nested levels and going back,
// extracting once, working directories, the automatic walk.
#include "archive/archive_browser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "config/services.h"
#include "config/session.h"

namespace kestrum {
namespace {

using Log = std::vector<std::string>;

// Lists the archives it knows by path; extraction is recorded.
class ListingLibrary : public LhaLibrary {
public:
    std::map<std::string, std::vector<std::string>> archives;
    Log runs;
    int GetRunning() override { return 0; }
    bool SetBackGroundMode(bool) override { return true; }
    int Run(const std::string& command, std::string*, std::size_t) override {
        runs.push_back(command);
        return 0;
    }
    bool OpenArchive(const std::string& path, unsigned) override {
        auto it = archives.find(path);
        if (it == archives.end()) return false;
        open_ = &it->second;
        next_ = 0;
        return true;
    }
    int FindFirst(const std::string&, unsigned char* record) override {
        next_ = 0;
        return FindNext(record);
    }
    int FindNext(unsigned char* record) override {
        if (!open_ || next_ >= open_->size()) return -1;
        std::memset(record, 0, kListingRecordSize);
        record[0] = 100;
        record[4] = 50;
        record[20] = 0xF4;  // 500 per mille
        record[21] = 0x01;
        std::strcpy(reinterpret_cast<char*>(record + 26), (*open_)[next_++].c_str());
        return 0;
    }
    void CloseArchive() override { open_ = nullptr; }

private:
    const std::vector<std::string>* open_ = nullptr;
    std::size_t next_ = 0;
};

class Libraries : public ArchiverHost {
public:
    ListingLibrary lha;
    LhaLibrary* Lha(LibraryLoad& load) override {
        load = LibraryLoad::Loaded;
        return &lha;
    }
    // The tar archives it knows (none: the library is missing).
    std::map<std::string, std::vector<std::string>> tarArchives;
    std::unique_ptr<TarLibrary> LoadTar(LibraryLoad& load) override {
        load = tarArchives.empty() ? LibraryLoad::Missing : LibraryLoad::Loaded;
        if (tarArchives.empty()) return nullptr;
        auto tar = std::make_unique<ListingLibrary>();
        tar->archives = tarArchives;
        return tar;
    }
    std::unique_ptr<IshLibrary> LoadIsh(LibraryLoad& load) override {
        load = LibraryLoad::Missing;
        return nullptr;
    }
    std::unique_ptr<ZipPlugin> LoadZip(LibraryLoad& load, std::string&) override {
        load = LibraryLoad::Missing;
        return nullptr;
    }
    bool EnsureDirectory(std::string&) override { return true; }
    std::string WriteTempFile(const std::string&, const std::string&) override { return {}; }
    void RemoveFile(const std::string&) override {}
    bool Exists(const std::string&) override { return false; }
};

class Platform : public ArchiveBrowserHost {
public:
    std::map<std::string, int> made;  // next number per prefix
    Log log;
    int launchResult = 2;
    int autoSteps = 0;
    bool noTemp = false;
    std::string TempDirectory() override { return "C:\\T"; }
    std::string MakeTempDir(const std::string& prefix) override {
        if (noTemp) return {};
        const std::string dir = prefix + std::to_string(made[prefix]++) + ".TMP";
        log.push_back("mkdir " + dir);
        return dir;
    }
    void RemoveTree(const std::string& dir) override { log.push_back("rmtree " + dir); }
    int Launch(const std::string& path) override {
        log.push_back("launch " + path);
        return launchResult;
    }
    void RunCommand(const std::string& line) override { log.push_back("run " + line); }
    bool EnsureDirectory(std::string& dir) override {
        log.push_back("ensure " + dir);
        return true;
    }
    void CopyListTo(const std::string& list, const std::string& dir) override {
        std::string shown = list;
        for (char& c : shown) {
            if (c == '\0') c = '|';
        }
        log.push_back("copy " + shown + " -> " + dir);
    }
    CivilTime LocalTime(std::int64_t t) override { return CivilFromUnix(t); }
    void PostAutoStep() override { ++autoSteps; }
};

// The filer, logging each time it is listed again.
class ListedFiler : public FilerService {
public:
    explicit ListedFiler(Log& log) : log_(log) {}
    void RefreshListing() override { log_.push_back("refresh"); }

private:
    Log& log_;
};

class ArchiveBrowserTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        libs_.lha.archives["C:\\a.lzh"] = {"x.txt", "dir/in.lzh", "c.txt"};
        libs_.lha.archives["C:\\T\\kad0.TMP\\dir\\in.lzh"] = {"y.txt", "deep.lzh"};
        libs_.lha.archives["C:\\T\\kad0.TMP\\kad0.TMP\\deep.lzh"] = {"z.txt"};
    }
    void TearDown() override { TheSession() = Session(); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }
    // The names at the start of the rows.
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const std::string& r : browser_.Rows()) out.push_back(r.substr(0, r.find(' ')));
        return out;
    }
    Libraries libs_;
    Platform platform_;
    ListedFiler filer_{platform_.log};
    const Subscription filerInstalled_ = InstallService<FilerService>(filer_);
    TArchiveBrowser browser_{libs_, platform_};
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

// Enter on an archive inside the archive descends into it, twice; BS twice
// comes back to the top with the cursor on the entry that was opened; the
// nested working directories lie inside the top one, which closing removes.
TEST_F(ArchiveBrowserTest, NestedLevelsAndBack) {
    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, false));
    EXPECT_EQ(Names(), (Log{"x.txt", "dir/in.lzh", "c.txt"}));
    EXPECT_EQ(browser_.Rows()[0], "x.txt                50       100  50.0％ 1980/ 0/ 0  0: 0");
    EXPECT_FALSE(browser_.Nested());
    ASSERT_TRUE(browser_.ItemSelected(1, 0));
    EXPECT_EQ(Names(), (Log{"y.txt", "deep.lzh", ">>"}));
    EXPECT_EQ(browser_.Rows().back(), ">> 戻る");
    browser_.SetCursor(1);
    ASSERT_TRUE(browser_.ItemSelected(1, 0));
    EXPECT_EQ(Names(), (Log{"z.txt", ">>"}));
    EXPECT_EQ(browser_.Cursor(), 0);
    // Enter on ">> 戻る" goes back like BS.
    ASSERT_TRUE(browser_.ItemSelected(1, 0));
    EXPECT_EQ(Names(), (Log{"y.txt", "deep.lzh", ">>"}));
    EXPECT_EQ(browser_.Cursor(), 1);
    ASSERT_TRUE(browser_.GoBack());
    EXPECT_EQ(Names(), (Log{"x.txt", "dir/in.lzh", "c.txt"}));
    EXPECT_EQ(browser_.Cursor(), 1);
    EXPECT_FALSE(browser_.GoBack());
    // Going in again lists nothing again and extracts nothing again.
    const std::size_t runs = libs_.lha.runs.size();
    ASSERT_TRUE(browser_.ItemSelected(1, 0));
    EXPECT_EQ(Names(), (Log{"y.txt", "deep.lzh", ">>"}));
    EXPECT_EQ(libs_.lha.runs.size(), runs);
    EXPECT_EQ(libs_.lha.runs,
              (Log{"e -x1 -m1 -a2 -jf0 \"C:\\a.lzh\" C:\\T\\kad0.TMP\\ \"dir/in.lzh\"",
                   "e -x1 -m1 -a2 -jf0 \"C:\\T\\kad0.TMP\\dir\\in.lzh\" C:\\T\\kad0.TMP\\kad0.TMP\\ \"deep.lzh\""}));
    browser_.Close();
    EXPECT_EQ(platform_.log,
              (Log{"mkdir C:\\T\\kad0.TMP", "mkdir C:\\T\\kad0.TMP\\kad0.TMP", "rmtree C:\\T\\kad0.TMP"}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(browser_.Rows().empty());
}

// Opening an entry twice extracts it once and launches it twice; viewing
// runs the configured viewer on the extracted file.
TEST_F(ArchiveBrowserTest, TheSameEntryIsExtractedOnce) {
    TheSession().settings.viewer = "VIEW";
    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, false));
    ASSERT_TRUE(browser_.ItemSelected(0, 0));
    ASSERT_TRUE(browser_.ItemSelected(0, 0));
    ASSERT_TRUE(browser_.ItemSelected(0, 1));
    EXPECT_EQ(libs_.lha.runs, (Log{"e -x1 -m1 -a2 -jf0 \"C:\\a.lzh\" C:\\T\\kad0.TMP\\ \"x.txt\""}));
    EXPECT_EQ(platform_.log, (Log{"mkdir C:\\T\\kad0.TMP", "launch C:\\T\\kad0.TMP\\x.txt",
                                  "launch C:\\T\\kad0.TMP\\x.txt", "run VIEW C:\\T\\kad0.TMP\\x.txt"}));
    // Without a working directory the viewer closes; nothing is removed.
    TArchiveBrowser other(libs_, platform_);
    platform_.noTemp = true;
    platform_.log.clear();
    ASSERT_TRUE(other.Show("C:\\a.lzh", false, false));
    EXPECT_FALSE(other.ItemSelected(0, 0));
    other.Close();
    EXPECT_TRUE(platform_.log.empty());
    EXPECT_EQ(Messages(), (Log{"テンプディレクトリが作れません"}));
}

// A member name that points outside the working directory is never
// extracted or opened.
TEST_F(ArchiveBrowserTest, NamesLeavingTheWorkingDirectoryAreRefused) {
    libs_.lha.archives["C:\\evil.lzh"] = {"../../evil.txt", "C:/abs.txt", "ok/"};
    ASSERT_TRUE(browser_.Show("C:\\evil.lzh", false, false));
    for (int row = 0; row < 3; ++row) EXPECT_TRUE(browser_.ItemSelected(row, 0));
    EXPECT_TRUE(libs_.lha.runs.empty());
    EXPECT_TRUE(platform_.log.empty());
    EXPECT_EQ(Messages(), (Log{"展開先の外を指す名前です: ../../evil.txt", "展開先の外を指す名前です: C:/abs.txt"}));
}

// An LHA archive under another extension is listed and extracted by the LHA
// library, not counted as extracted without being so.
TEST_F(ArchiveBrowserTest, AnyArchiveTheLhaLoaderListsIsExtractedByIt) {
    libs_.lha.archives["C:\\sfx.exe"] = {"a.txt"};
    ASSERT_TRUE(browser_.Show("/v C:\\sfx.exe", false, true));
    EXPECT_FALSE(browser_.AutoMode());
    ASSERT_TRUE(browser_.ItemSelected(0, 0));
    EXPECT_EQ(libs_.lha.runs, (Log{"e -x1 -m1 -a2 -jf0 \"C:\\sfx.exe\" C:\\T\\kad0.TMP\\ \"a.txt\""}));
}

// The tar library refuses to extract absolute names, so the viewer lists
// only the members it can open, and names the others.
TEST_F(ArchiveBrowserTest, AbsoluteTarNamesAreNotListed) {
    libs_.tarArchives["C:\\a.tgz"] = {"/etc/passwd", "ok.txt", "\\abs.txt", "C:/d.txt", "dir/b.txt"};
    ASSERT_TRUE(browser_.Show("C:\\a.tgz", false, false));
    EXPECT_EQ(Names(), (Log{"ok.txt", "dir/b.txt"}));
    EXPECT_EQ(Messages(), (Log{"絶対パスの名前は一覧に出しません:\r\n/etc/passwd\r\n\\abs.txt\r\nC:/d.txt"}));
}

TEST_F(ArchiveBrowserTest, ListingMessages) {
    ASSERT_TRUE(browser_.Show("C:\\missing.lzh", false, false));
    EXPECT_TRUE(browser_.Rows().empty());
    libs_.lha.archives["C:\\empty.lzh"] = {};
    ASSERT_TRUE(browser_.Show("C:\\empty.lzh", false, false));
    EXPECT_TRUE(browser_.Rows().empty());
    EXPECT_EQ(Messages(), (Log{"ファイルが開けません", "ファイルが見つかりません"}));
    // A nested archive that cannot be listed keeps the current level.
    prompter_.Clear();
    libs_.lha.archives["C:\\a.lzh"] = {"bad.lzh"};
    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, false));
    ASSERT_TRUE(browser_.ItemSelected(0, 0));
    EXPECT_EQ(Names(), (Log{"bad.lzh"}));
    EXPECT_FALSE(browser_.Nested());
    EXPECT_EQ(Messages(), (Log{"ファイルが開けません"}));
}

// U: the chosen rows are extracted into the working directory and copied
// from there to the directory asked for ("." when left empty).
TEST_F(ArchiveBrowserTest, ExtractChosenRows) {
    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, false));
    prompter_.AnswerLine("C:\\out");
    browser_.ExtractRows({0, 2});
    prompter_.AnswerLine("");
    browser_.SetCursor(2);
    browser_.ExtractRows({});
    ASSERT_EQ(prompter_.LineQuestions().size(), 2u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "展開します");
    EXPECT_EQ(prompter_.LineQuestions()[0].prompt, "展開先のディレクトリを入れて下さい");
    EXPECT_EQ(platform_.log, (Log{"ensure C:\\out", "mkdir C:\\T\\kad0.TMP",
                                  "copy C:\\T\\kad0.TMP\\x.txt|C:\\T\\kad0.TMP\\c.txt| -> C:\\out", "refresh",
                                  "ensure .", "copy C:\\T\\kad0.TMP\\c.txt| -> .", "refresh"}));
    EXPECT_EQ(libs_.lha.runs.size(), 2u);  // c.txt came out once
}

// LAUTO: two matches at the top: the first step opens the first, the next
// step the second and stops; the viewer closes when that one went to a
// viewer of the program.
TEST_F(ArchiveBrowserTest, AutoWalkOpensEachMatchThenStops) {
    TheSession().lautoList = {"*.TXT"};
    libs_.lha.archives["C:\\b.lzh"] = {"a.txt", "b.bin", "c.txt"};
    for (int launched : {3, 2}) {
        SCOPED_TRACE(launched);
        ASSERT_TRUE(browser_.Show("C:\\b.lzh", false, true));
        platform_.log.clear();
        ASSERT_TRUE(browser_.AutoMode());
        platform_.launchResult = launched;
        EXPECT_FALSE(browser_.AutoStep(false));
        EXPECT_FALSE(browser_.Stopped());
        EXPECT_EQ(browser_.AutoStep(false), launched == 3);
        EXPECT_TRUE(browser_.Stopped());
        EXPECT_EQ(platform_.log, (Log{"mkdir C:\\T\\kad" + std::to_string(launched == 3 ? 0 : 1) + ".TMP",
                                      "launch " + browser_.WorkDir() + "\\a.txt",
                                      "launch " + browser_.WorkDir() + "\\c.txt"}));
        // Once stopped, the next step closes.
        EXPECT_TRUE(browser_.AutoStep(false));
    }
    // Shift or "/V" shows without the walk.
    ASSERT_TRUE(browser_.Show("C:\\b.lzh", true, true));
    EXPECT_FALSE(browser_.AutoMode());
    ASSERT_TRUE(browser_.Show("/V  C:\\b.lzh", false, true));
    EXPECT_FALSE(browser_.AutoMode());
    EXPECT_EQ(browser_.ArchivePath(), "C:\\b.lzh");
}

// The walk goes into nested archives and comes back out of them; F8 stops
// it at once.
TEST_F(ArchiveBrowserTest, AutoWalkDescendsAndF8Stops) {
    TheSession().lautoList = {"*.LZH", "Z.TXT"};
    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, true));
    EXPECT_FALSE(browser_.AutoStep(false));  // into dir/in.lzh
    EXPECT_TRUE(browser_.Nested());
    EXPECT_EQ(platform_.autoSteps, 1);
    EXPECT_FALSE(browser_.AutoStep(false));  // into deep.lzh
    EXPECT_EQ(Names(), (Log{"z.txt", ">>"}));
    EXPECT_FALSE(browser_.AutoStep(false));  // z.txt
    EXPECT_EQ(platform_.log.back(), "launch C:\\T\\kad0.TMP\\kad0.TMP\\kad0.TMP\\z.txt");
    // Nothing more down there: back out to the top, where nothing is left.
    EXPECT_TRUE(browser_.AutoStep(false));
    EXPECT_FALSE(browser_.Nested());
    EXPECT_TRUE(browser_.Stopped());

    ASSERT_TRUE(browser_.Show("C:\\a.lzh", false, true));
    EXPECT_TRUE(browser_.AutoStep(true));
    EXPECT_TRUE(browser_.Stopped());
}

}  // namespace
}  // namespace kestrum
