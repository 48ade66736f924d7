// The filer window on a directory of 40,000 files, more than a 16-bit
// index holds: sorting, the cursor on the last page, marks and their
// sizes, display modes, masks and an action that reads the marked names.
// The directory is made beforehand on the host side (tests/filer/
// long_dir.sh); the test is skipped when KESTRUM_LONG_DIR does not name it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "common/prompter.h"
#include "config/action_table.h"
#include "config/services.h"
#include "config/session.h"
#include "filer/frm_fm_win.h"
#include "filer/sort.h"
#include "tests/fakes/scripted_filer_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

constexpr std::size_t kFiles = 40000;

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

class LongListingTest : public testing::Test {
protected:
    void SetUp() override {
        const char* host = std::getenv("KESTRUM_LONG_DIR");
        if (!host || !*host) GTEST_SKIP() << "KESTRUM_LONG_DIR names no directory";
        std::string dir = std::string("Z:") + host;
        for (char& c : dir) {
            if (c == '/') c = '\\';
        }
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = temp_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir + "\r\n[END]\r\n");
        filer_ = std::make_unique<TfrmFM>();
        services_ = InstallService<FilerService>(*filer_);
        ASSERT_TRUE(filer_->Create(nullptr));
        filer_->ShowFiler();
    }
    void TearDown() override {
        services_.Reset();
        filer_.reset();
        TheSession() = Session();
        if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
    }
    void Draw() { RedrawWindow(filer_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

    // The key and colour files are missing here: their messages are answered.
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    ScriptedFilerQuestions filerQuestions_;
    test::TempDir temp_;
    std::string saved_;
    std::unique_ptr<TfrmFM> filer_;
    Subscription services_;
};

TEST_F(LongListingTest, EveryEntryStaysReachable) {
    FileListModel& m = filer_->Model();
    ASSERT_EQ(m.Count(), kFiles + 3);  // ".", "..", "sub" and the files

    // Sorted by name: the directories, then f00000.txt ... f39999.txt.
    filerQuestions_.AnswerSort(FilerQuestions::SortChoice{kSortName, false, false});
    filer_->RunAction(Code::Sort);
    ASSERT_EQ(m.Name(2), "sub");
    ASSERT_EQ(m.Name(3), "f00000.txt");
    ASSERT_EQ(m.Name(kFiles + 2), "f39999.txt");
    ASSERT_EQ(m.Name(32770), "f32767.txt");

    // The last entry, on a page far past 32,767, drawn with its info line.
    filer_->RunAction(Code::LastEntry);
    EXPECT_EQ(m.CursorIndex(), static_cast<long long>(kFiles + 2));
    EXPECT_EQ(filer_->CurrentFile(), TheSession().currentDir + "f39999.txt");
    Draw();

    // Marking it counts its size (and the cursor wraps to the top); the
    // marked name reaches the clipboard.
    filer_->RunAction(Code::Mark);
    EXPECT_EQ(m.CursorIndex(), 0);
    EXPECT_EQ(m.MarkedCount(), 1u);
    EXPECT_EQ(m.MarkedTotal(), m.RoundToCluster(5000));
    EXPECT_EQ(m.CountText(), "1/40003 ");
    filer_->RunAction(Code::ClipNames);
    EXPECT_EQ(ClipboardText(), "f39999.txt\r\n");

    // Both display modes keep the cursor and show the size.
    filer_->RunAction(Code::LastEntry);
    filer_->RunAction(Code::NamesSizesDates);
    EXPECT_EQ(m.CursorIndex(), static_cast<long long>(kFiles + 2));
    EXPECT_NE(m.Text(kFiles + 2).find("     5000 "), std::string::npos) << m.Text(kFiles + 2);
    EXPECT_EQ(m.Text(kFiles + 2)[0], '*');
    Draw();
    filer_->RunAction(Code::NamesOnly);
    EXPECT_EQ(m.CursorIndex(), static_cast<long long>(kFiles + 2));

    // Inverting the marks of files, then unmarking and marking all.
    filer_->RunAction(Code::InvertMarksFiles);
    EXPECT_EQ(m.MarkedCount(), kFiles - 1);
    EXPECT_FALSE(m.Marked(kFiles + 2));
    EXPECT_TRUE(m.Marked(32770));
    filer_->RunAction(Code::MarkAll);
    EXPECT_EQ(m.MarkedCount(), 0u);
    EXPECT_EQ(m.MarkedTotal(), 0);
    filer_->RunAction(Code::MarkAll);
    EXPECT_EQ(m.MarkedCount(), kFiles);
    EXPECT_EQ(m.MarkedTotal(), m.RoundToCluster(5000));

    // Back a page from the last one, and to the first entry.
    filer_->RunAction(Code::PreviousPage);
    EXPECT_LT(m.PageTop(), static_cast<long long>(kFiles + 2));
    EXPECT_GT(m.PageTop(), 32767);
    filer_->RunAction(Code::FirstEntry);
    EXPECT_EQ(m.CursorIndex(), 0);

    // A mask over the long listing.
    TheSession().masks = {"0F3999*"};
    filer_->ShowList();
    EXPECT_EQ(m.Count(), 3u + 10u);  // the directories and f39990.txt ... f39999.txt
}

}  // namespace
}  // namespace kestrum
