// The archive viewer window under the null display driver with the
// program's own LHA library: a nested archive listed and entered with
// Enter, left with Backspace, an entry extracted once however often it is
// opened, and the working directory gone when the viewer closes.
#include "archive/frm_lzhv_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "archive/archiver_win.h"
#include "common/prompter.h"
#include "config/session.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

void UseBuiltLibraries() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));
    dir = dir.substr(0, dir.find_last_of('\\')) + "\\bin";
    SetDllDirectoryA(dir.c_str());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ArchiveViewerTest : public testing::Test {
protected:
    void SetUp() override {
        UseBuiltLibraries();
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        // top.lzh holds x.txt, 日本語.txt and in.lzh, which holds y.txt and
        // deep.lzh, which holds z.txt.
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
        test::WriteFile(dir_.File("z.txt"), "zzz");
        test::WriteFile(dir_.File("y.txt"), "yyy");
        test::WriteFile(dir_.File("x.txt"), "xxx");
        test::WriteFile(dir_.File("日本語.txt"), "にほんご");
        Pack("deep.lzh", "\"z.txt\"");
        Pack("in.lzh", "\"y.txt\" \"deep.lzh\"");
        Pack("top.lzh", "\"x.txt\" \"日本語.txt\" \"in.lzh\"");
        const std::string cfg = dir_.File("k.cfg");
        test::WriteFile(cfg, "[LVIEW]\r\nTop=40\r\nLeft=30\r\nHeight=300\r\nWidth=500\r\nFontSize=12\r\n");
        viewer_ = std::make_unique<TfrmLZHV>(TheArchiverHost());
        ASSERT_TRUE(viewer_->Create(nullptr, ProfileReader::FromFile(cfg)));
    }
    void TearDown() override {
        viewer_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    void Pack(const std::string& archive, const std::string& files) {
        LibraryLoad load = LibraryLoad::Missing;
        LhaLibrary* lha = TheArchiverHost().Lha(load);
        ASSERT_TRUE(lha);
        ASSERT_EQ(lha->Run("a " + archive + " " + files, nullptr, 0), 0) << archive;
    }
    // The row whose text starts with name.
    int Row(const std::string& name) {
        const std::vector<std::string>& items = viewer_->List().Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].rfind(name, 0) == 0) return static_cast<int>(i);
        }
        ADD_FAILURE() << "no row " << name;
        return -1;
    }
    void Key(WPARAM key) { SendMessageA(viewer_->List().Handle(), WM_KEYDOWN, key, 0); }
    void EnterOn(const std::string& name) {
        viewer_->List().SetItemIndex(Row(name));
        Key(VK_RETURN);
    }

    ScriptedPrompter prompter_;
    ScopedPrompter scope_{prompter_};
    test::TempDir dir_;
    std::string saved_;
    std::unique_ptr<TfrmLZHV> viewer_;
};

TEST_F(ArchiveViewerTest, NestedArchivesEnterAndBackspace) {
    viewer_->Begin(dir_.File("top.lzh"));
    ASSERT_FALSE(viewer_->Finished());
    char caption[64] = {};
    GetWindowTextA(viewer_->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Kestrum LVIEW");
    ASSERT_EQ(viewer_->List().Items().size(), 3u);
    Row("日本語.txt");
    EnterOn("in.lzh");
    ASSERT_EQ(viewer_->List().Items().size(), 3u);
    EXPECT_EQ(viewer_->List().Items().back(), ">> 戻る");
    EnterOn("deep.lzh");
    ASSERT_EQ(viewer_->List().Items().size(), 2u);
    Row("z.txt");
    Key(VK_BACK);
    EXPECT_EQ(viewer_->List().itemindex(), Row("deep.lzh"));
    Key(VK_BACK);
    ASSERT_EQ(viewer_->List().Items().size(), 3u);
    EXPECT_EQ(viewer_->List().itemindex(), Row("in.lzh"));
    EXPECT_TRUE(prompter_.Questions().empty());
}

// The second open finds the file already extracted: a change made to it
// in between stays. Escape closes the viewer and removes the working
// directory with everything in it, nested levels included.
TEST_F(ArchiveViewerTest, ExtractsOnceAndClosingRemovesTheWorkingDirectory) {
    viewer_->Begin(dir_.File("top.lzh"));
    EnterOn("x.txt");
    const std::string work = viewer_->Browser().TopWorkDir();
    ASSERT_FALSE(work.empty());
    EXPECT_EQ(test::ReadFile(work + "\\x.txt"), "xxx");
    test::WriteFile(work + "\\x.txt", "changed");
    EnterOn("x.txt");
    EXPECT_EQ(test::ReadFile(work + "\\x.txt"), "changed");
    EnterOn("日本語.txt");
    EXPECT_EQ(test::ReadFile(work + "\\日本語.txt"), "にほんご");
    EnterOn("in.lzh");
    EnterOn("y.txt");
    const std::string nested = viewer_->Browser().WorkDir();
    EXPECT_EQ(nested.rfind(work + "\\kad", 0), 0u) << nested;
    EXPECT_EQ(test::ReadFile(nested + "\\y.txt"), "yyy");
    Key(VK_ESCAPE);
    EXPECT_TRUE(viewer_->Finished());
    EXPECT_FALSE(IsWindowVisible(viewer_->Handle()));
    EXPECT_FALSE(Exists(work));
    EXPECT_TRUE(viewer_->List().Items().empty());
}

// U copies the chosen entries out of the working directory to the
// directory asked for.
TEST_F(ArchiveViewerTest, IndividualExtraction) {
    viewer_->Begin(dir_.File("top.lzh"));
    viewer_->List().SetItemIndex(0);
    Key(VK_SPACE);  // x.txt chosen, the cursor moves on
    Key(VK_SPACE);  // 日本語.txt chosen
    EXPECT_EQ(viewer_->List().SelCount(), 2);
    prompter_.AnswerLine(dir_.File("out"));
    prompter_.Answer(mrYes);  // create it
    Key('U');
    EXPECT_EQ(test::ReadFile(dir_.File("out\\x.txt")), "xxx");
    EXPECT_EQ(test::ReadFile(dir_.File("out\\日本語.txt")), "にほんご");
    EXPECT_FALSE(Exists(dir_.File("out\\in.lzh")));
    viewer_->CloseViewer();
}

// The placement and font come from [LVIEW]; the list control checks the
// values it is given.
TEST_F(ArchiveViewerTest, PlacementAndListProperties) {
    const Geometry g = viewer_->NormalGeometry();
    EXPECT_EQ(g.top, 40);
    EXPECT_EQ(g.left, 30);
    EXPECT_EQ(g.height, 300);
    EXPECT_EQ(g.width, 500);
    EXPECT_EQ(viewer_->Font().size, 12);
    viewer_->List().SetCursorStyle(4);
    viewer_->List().Selected(7);
    std::vector<std::string> said;
    for (const auto& q : prompter_.Questions()) said.push_back(q.text);
    EXPECT_EQ(said, (std::vector<std::string>{"無効な値です。> CursorStyle", "無効な値です。> Selected"}));
    // Down on the last row wraps round only with Loop.
    viewer_->Begin(dir_.File("top.lzh"));
    viewer_->List().Loop = false;
    viewer_->List().SetItemIndex(2);
    Key(VK_DOWN);
    EXPECT_EQ(viewer_->List().itemindex(), 2);
    viewer_->List().Loop = true;
    Key(VK_DOWN);
    EXPECT_EQ(viewer_->List().itemindex(), 0);
    Key(VK_UP);
    EXPECT_EQ(viewer_->List().itemindex(), 2);
    viewer_->CloseViewer();
}

// LAUTO: the list is not for the user; each F12 opens the next matching
// entry; after the last one the viewer stays (the entry did not go to a
// viewer of the program) until the next step, which closes it.
TEST_F(ArchiveViewerTest, AutoWalkWithF12) {
    TheSession().lautoOn = true;
    TheSession().lautoList = {"*.TXT"};
    viewer_->Begin(dir_.File("top.lzh"));
    ASSERT_TRUE(viewer_->Browser().AutoMode());
    EXPECT_FALSE(IsWindowEnabled(viewer_->List().Handle()));
    Key(VK_F12);
    const std::string work = viewer_->Browser().TopWorkDir();
    ASSERT_FALSE(work.empty());
    EXPECT_TRUE(Exists(work + "\\x.txt"));
    EXPECT_FALSE(Exists(work + "\\日本語.txt"));
    Key(VK_F12);
    EXPECT_TRUE(Exists(work + "\\日本語.txt"));
    EXPECT_TRUE(viewer_->Browser().Stopped());
    EXPECT_FALSE(viewer_->Finished());
    Key(VK_F12);
    EXPECT_TRUE(viewer_->Finished());
    EXPECT_FALSE(Exists(work));
    // "/V" shows the same archive for the user.
    viewer_->Begin("/V " + dir_.File("top.lzh"));
    EXPECT_FALSE(viewer_->Browser().AutoMode());
    EXPECT_TRUE(IsWindowEnabled(viewer_->List().Handle()));
    viewer_->CloseViewer();
}

}  // namespace
}  // namespace kestrum
