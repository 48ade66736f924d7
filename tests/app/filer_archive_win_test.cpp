// Packing and unpacking from the filer with the program's own archiver
// libraries (built into bin\ beside the tests' folder): P on marked entries
// makes an LHA archive, U unpacks it byte for byte; the shell's DLHA shows
// the library's output.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/forms_win.h"
#include "archive/archive_service_win.h"
#include "common/prompter.h"
#include "config/action_table.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/frm_fm_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"
#include "viewers/text_viewer_win.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

// The libraries are found in bin\ beside the tests' folder.
void UseBuiltLibraries() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));
    dir = dir.substr(0, dir.find_last_of('\\')) + "\\bin";
    SetDllDirectoryA(dir.c_str());
}

std::vector<std::string> Messages(const ScriptedPrompter& p) {
    std::vector<std::string> out;
    for (const auto& q : p.Questions()) out.push_back(q.text);
    return out;
}

class FilerArchiveTest : public testing::Test {
protected:
    void SetUp() override {
        UseBuiltLibraries();
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath,
                        "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.File("home") + "\r\n[END]\r\n");
        CreateDirectoryA(dir_.File("home").c_str(), nullptr);
        CreateDirectoryA(dir_.File("home\\ソフト").c_str(), nullptr);
        text_ = std::string(20000, 'a');
        for (int i = 0; i < 3000; ++i) text_ += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
        noise_.resize(30000);
        unsigned v = 7;
        for (char& c : noise_) {
            v = v * 1103515245 + 12345;
            c = static_cast<char>(v >> 16);
        }
        test::WriteFile(dir_.File("home\\ソフト\\表.txt"), text_);
        test::WriteFile(dir_.File("home\\a b.txt"), text_.substr(0, 777));
        test::WriteFile(dir_.File("home\\noise.bin"), noise_);
        test::WriteFile(dir_.File("home\\left.txt"), "not packed");
        filer_ = std::make_unique<TfrmFM>();
        App().filer = filer_.get();
        services_ = InstallAppServices();
        ASSERT_TRUE(filer_->Create(nullptr));
        MakeFilerCommandLine(*filer_);
        filer_->ShowFiler();
        prompter_.Clear();
    }
    void TearDown() override {
        services_.clear();
        App() = AppState();
        filer_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    FileListModel& Model() { return filer_->Model(); }
    std::optional<std::size_t> Find(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) return i;
        }
        return std::nullopt;
    }
    void Mark(const std::string& name) {
        const std::optional<std::size_t> i = Find(name);
        ASSERT_TRUE(i) << name;
        Model().SetMark(*i, true, nullptr);
    }
    void PlaceOn(const std::string& name) {
        const std::optional<std::size_t> i = Find(name);
        ASSERT_TRUE(i) << name;
        Model().PlaceCursor(static_cast<long long>(*i));
    }
    void UnmarkAll() {
        for (std::size_t i = 0; i < Model().Count(); ++i) Model().SetMark(i, false, nullptr);
    }
    // Packs the marked entries of home into home\packed.lzh.
    void PackMarked() {
        Mark("ソフト");
        Mark("a b.txt");
        Mark("noise.bin");
        prompter_.AnswerLine("packed");
        filer_->RunAction(Code::Pack);
        ASSERT_EQ(prompter_.LineQuestions().size(), 1u);
        EXPECT_EQ(prompter_.LineQuestions()[0].title, "マークファイルをＰａｃｋします");
        EXPECT_EQ(prompter_.LineQuestions()[0].prompt, "アーカイブ名を入力してください");
        EXPECT_EQ(Messages(prompter_), std::vector<std::string>{});
        ASSERT_TRUE(Find("packed.lzh")) << "the filer re-lists with the new archive";
    }

    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    test::TempDir dir_;
    std::string saved_, text_, noise_;
    std::unique_ptr<TfrmFM> filer_;
    std::vector<Subscription> services_;
};

// P on marked entries, then U on the archive into a new directory: the
// same bytes come back, under the same names, and nothing else.
TEST_F(FilerArchiveTest, PackMarkedThenUnpackGivesTheSameFiles) {
    PackMarked();
    // For the check with an independent unpacker after this run.
    if (const char* env = std::getenv("KESTRUM_ARCHIVE_PEER_DIR")) {
        const std::string peer = env;
        ASSERT_TRUE(CopyFileA(dir_.File("home\\packed.lzh").c_str(), (peer + "\\packed.lzh").c_str(), FALSE));
        CreateDirectoryA((peer + "\\src\\ソフト").c_str(), nullptr);
        for (const char* f : {"ソフト\\表.txt", "a b.txt", "noise.bin"}) {
            ASSERT_TRUE(CopyFileA(dir_.File(std::string("home\\") + f).c_str(), (peer + "\\src\\" + f).c_str(), FALSE));
        }
    }
    UnmarkAll();
    PlaceOn("packed.lzh");
    prompter_.Clear();
    prompter_.AnswerLine(dir_.File("out"));
    prompter_.Answer(mrYes);  // create the missing directory
    filer_->RunAction(Code::Unpack);
    ASSERT_EQ(prompter_.LineQuestions().size(), 1u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "packed.lzhを解凍します");
    EXPECT_EQ(prompter_.LineQuestions()[0].prompt, "ディレクトリを入力してください");
    EXPECT_EQ(test::ReadFile(dir_.File("out\\ソフト\\表.txt")), text_);
    EXPECT_EQ(test::ReadFile(dir_.File("out\\a b.txt")), text_.substr(0, 777));
    EXPECT_EQ(test::ReadFile(dir_.File("out\\noise.bin")), noise_);
    EXPECT_EQ(GetFileAttributesA(dir_.File("out\\left.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// One entry is packed without a response file; "." and ".." are refused.
TEST_F(FilerArchiveTest, PackOneEntryAndRefuseDots) {
    PlaceOn("noise.bin");
    prompter_.AnswerLine("one.lzh");
    filer_->RunAction(Code::Pack);
    EXPECT_EQ(prompter_.LineQuestions().at(0).title, "noise.binをＰａｃｋします");
    EXPECT_EQ(prompter_.LineQuestions().at(0).text, "noise");
    ASSERT_TRUE(Find("one.lzh"));
    // Unpacking over the file that is there asks first: No keeps it, Yes
    // replaces it.
    test::WriteFile(dir_.File("home\\noise.bin"), "edited");
    for (const int answer : {mrNo, mrYes}) {
        PlaceOn("one.lzh");
        prompter_.Clear();
        prompter_.AnswerLine("");  // the current directory
        prompter_.Answer(answer);
        filer_->RunAction(Code::Unpack);
        EXPECT_EQ(Messages(prompter_), std::vector<std::string>{
                                           "展開先に同じ名前のファイルがあります。上書きしますか？\r\n\r\nnoise.bin"});
        EXPECT_EQ(test::ReadFile(dir_.File("home\\noise.bin")), answer == mrYes ? noise_ : std::string("edited"));
    }

    ASSERT_TRUE(ChangeDirectory(dir_.File("home\\ソフト")));
    filer_->ShowList();
    PlaceOn("..");
    prompter_.Clear();
    filer_->RunAction(Code::Pack);
    filer_->RunAction(Code::Unpack);
    EXPECT_EQ(Messages(prompter_),
              (std::vector<std::string>{"親ディレクトリをPackすることは出来ません", "親ディレクトリを解凍することは出来ません"}));
    EXPECT_TRUE(prompter_.LineQuestions().empty());
}

// U on an archive that is not there: the library's failure is reported and
// later marked archives are not tried.
TEST_F(FilerArchiveTest, UnpackStopsAtTheFirstFailure) {
    test::WriteFile(dir_.File("home\\bad.lzh"), "this is no archive");
    PackMarked();
    UnmarkAll();
    Mark("bad.lzh");
    Mark("packed.lzh");
    prompter_.Clear();
    prompter_.AnswerLine(dir_.File("home"));
    filer_->RunAction(Code::Unpack);
    EXPECT_EQ(Messages(prompter_), std::vector<std::string>{"UnPackを中断しました"});
}

// DLHA without a text viewer shows the library's listing in a read-only box.
TEST_F(FilerArchiveTest, DlhaShowsTheListing) {
    PackMarked();
    ASSERT_TRUE(TheArchives().RunLibraryCommand(cmdDLHA, "l " + dir_.File("home\\packed.lzh")));
    HWND box = FindWindowA("TKestrumOutputBox", nullptr);
    ASSERT_TRUE(box);
    HWND edit = GetWindow(box, GW_CHILD);
    char text[4096] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_NE(std::string(text).find("noise.bin"), std::string::npos) << text;
    EXPECT_NE(std::string(text).find("表.txt"), std::string::npos) << text;
    ShowWindow(box, SW_HIDE);
}

// With the text viewer there, DLHA's listing is shown in it.
TEST_F(FilerArchiveTest, DlhaShowsTheListingInTheTextViewer) {
    PackMarked();
    TwttForm viewer;
    ASSERT_TRUE(viewer.Create(nullptr));
    App().textViewer = &viewer;
    ASSERT_TRUE(TheArchives().RunLibraryCommand(cmdDLHA, "l " + dir_.File("home\\packed.lzh")));
    EXPECT_TRUE(viewer.Visible());
    const std::string text = viewer.View().GetText();
    EXPECT_NE(text.find("noise.bin"), std::string::npos) << text;
    EXPECT_NE(text.find("表.txt"), std::string::npos) << text;
    App().textViewer = nullptr;
}

}  // namespace
}  // namespace kestrum
