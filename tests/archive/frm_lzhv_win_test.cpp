// The archive viewer window under the null display driver with the
// program's own LHA library: a nested archive listed and entered with
// Enter, left with Backspace, an entry extracted once however often it is
// opened, and the working directory gone when the viewer closes.
#include "archive/frm_lzhv_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "archive/archiver_win.h"
#include "common/prompter.h"
#include "tests/fakes/scripted_config_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "config/colors.h"
#include "config/colors_win.h"
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

void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& s, unsigned long v) {
    Put16(s, static_cast<unsigned>(v & 0xFFFF));
    Put16(s, static_cast<unsigned>(v >> 16 & 0xFFFF));
}
unsigned long Crc32(const std::string& data) {
    unsigned long crc = 0xFFFFFFFFUL;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320UL : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFUL;
}

// A ZIP of stored members (name, content), names in code page 932.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string out, central;
    for (const auto& [name, data] : members) {
        const unsigned long offset = static_cast<unsigned long>(out.size());
        const unsigned long crc = Crc32(data);
        std::string common;
        Put16(common, 20);
        Put16(common, 0);       // flags
        Put16(common, 0);       // stored
        Put16(common, 0x6000);  // 12:00
        Put16(common, 0x5A21);  // 2025-01-01
        Put32(common, crc);
        Put32(common, static_cast<unsigned long>(data.size()));
        Put32(common, static_cast<unsigned long>(data.size()));
        Put16(common, static_cast<unsigned>(name.size()));
        Put16(common, 0);
        Put32(out, 0x04034B50UL);
        out += common + name + data;
        Put32(central, 0x02014B50UL);
        Put16(central, 20);
        central += common;
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, 0);  // external attributes
        Put32(central, offset);
        central += name;
    }
    const unsigned long cdOffset = static_cast<unsigned long>(out.size());
    out += central;
    Put32(out, 0x06054B50UL);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(members.size()));
    Put16(out, static_cast<unsigned>(members.size()));
    Put32(out, static_cast<unsigned long>(central.size()));
    Put32(out, cdOffset);
    Put16(out, 0);
    return out;
}

// A ustar archive of regular files.
std::string UstarArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string out;
    for (const auto& [name, data] : members) {
        std::string h(512, '\0');
        h.replace(0, name.size(), name);
        auto octal = [&h](std::size_t at, std::size_t width, unsigned long v) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%0*lo", static_cast<int>(width - 1), v);
            h.replace(at, width - 1, buf);
        };
        octal(100, 8, 0644);
        octal(108, 8, 0);
        octal(116, 8, 0);
        octal(124, 12, static_cast<unsigned long>(data.size()));
        octal(136, 12, 1735732800UL);
        h[156] = '0';
        h.replace(257, 6, std::string("ustar\0", 6));
        h.replace(263, 2, "00");
        h.replace(148, 8, "        ");
        unsigned long sum = 0;
        for (unsigned char c : h) sum += c;
        char buf[8];
        std::snprintf(buf, sizeof buf, "%06lo", sum);
        h.replace(148, 7, std::string(buf, 6) + '\0');
        out += h + data + std::string((512 - data.size() % 512) % 512, '\0');
    }
    return out + std::string(1024, '\0');
}

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
    // What the program's message loop does with the queue, until it is empty.
    static void Pump() {
        MSG m;
        for (int i = 0; i < 1000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    // The program comes back to the front, as the platform tells it.
    void Reactivate() {
        SendMessageA(viewer_->Handle(), WM_ACTIVATEAPP, TRUE, 0);
        SendMessageA(viewer_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    void EnterOn(const std::string& name) {
        viewer_->List().SetItemIndex(Row(name));
        Key(VK_RETURN);
    }

    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    ScriptedConfigQuestions config_;
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
    // The font menu item asks for a font; the list takes it too.
    const int rowHeight = viewer_->List().RowHeight();
    config_.AnswerFont(FontSpec{"ＭＳ ゴシック", 24, 0});
    SendMessageA(viewer_->Handle(), WM_COMMAND, TfrmLZHV::kFont, 0);
    EXPECT_EQ(viewer_->Font().size, 24);
    EXPECT_GT(viewer_->List().RowHeight(), rowHeight);
    // The list takes the list colours at once when they change.
    SetColor(kColPickerBack, 0x123456);
    EXPECT_EQ(viewer_->List().clBack, static_cast<COLORREF>(0x123456));
    SetColor(kColPickerBack, DefaultColors()[kColPickerBack]);
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
    // Shift at the last key press shows it for the user, and so does "/V".
    TheSession().shiftFlag = true;
    viewer_->Begin(dir_.File("top.lzh"));
    EXPECT_FALSE(viewer_->Browser().AutoMode());
    viewer_->CloseViewer();
    TheSession().shiftFlag = false;
    // "/V" shows the same archive for the user.
    viewer_->Begin("/V " + dir_.File("top.lzh"));
    EXPECT_FALSE(viewer_->Browser().AutoMode());
    EXPECT_TRUE(IsWindowEnabled(viewer_->List().Handle()));
    viewer_->CloseViewer();
}

// Showing, and each return of the program to the front, bring several
// activations at once: the walk still takes one step for each, as the
// queue shows when it is pumped.
TEST_F(ArchiveViewerTest, AutoWalkTakesOneStepPerActivation) {
    TheSession().lautoOn = true;
    TheSession().lautoList = {"*.TXT"};
    viewer_->Begin(dir_.File("top.lzh"));
    Pump();
    const std::string work = viewer_->Browser().TopWorkDir();
    ASSERT_FALSE(work.empty());
    EXPECT_TRUE(Exists(work + "\\x.txt"));
    EXPECT_FALSE(Exists(work + "\\日本語.txt"));
    Reactivate();
    Pump();
    EXPECT_TRUE(Exists(work + "\\日本語.txt"));
    EXPECT_TRUE(viewer_->Browser().Stopped());
    EXPECT_FALSE(viewer_->Finished());
    Reactivate();
    Pump();
    EXPECT_TRUE(viewer_->Finished());
    EXPECT_FALSE(Exists(work));
}

// A member extracted with its read-only attribute does not keep the
// working directory from going when the viewer closes.
TEST_F(ArchiveViewerTest, ClosingRemovesReadOnlyMembers) {
    const std::string ro = dir_.File("ro.txt");
    test::WriteFile(ro, "ro");
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    Pack("ro.lzh", "\"ro.txt\"");
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
    viewer_->Begin(dir_.File("ro.lzh"));
    EnterOn("ro.txt");
    const std::string work = viewer_->Browser().TopWorkDir();
    ASSERT_FALSE(work.empty());
    ASSERT_TRUE(Exists(work + "\\ro.txt"));
    EXPECT_TRUE(GetFileAttributesA((work + "\\ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    Key(VK_ESCAPE);
    EXPECT_TRUE(viewer_->Finished());
    EXPECT_FALSE(Exists(work));
    std::vector<std::string> said;
    for (const auto& q : prompter_.Questions()) said.push_back(q.text);
    EXPECT_TRUE(said.empty()) << said.front();
}

// ZIP members come through the archive plug-in (directories left out, the
// name made of the directory and the file name), tar members through the
// tar library; each opens into the working directory under its path.
TEST_F(ArchiveViewerTest, ZipAndTarArchives) {
    test::WriteFile(dir_.File("x.zip"), StoredZip({{"a.txt", "aaa"}, {"dir/", ""}, {"dir/表.txt", "hyou"}}));
    viewer_->Begin(dir_.File("x.zip"));
    ASSERT_EQ(viewer_->List().Items().size(), 2u);
    EXPECT_EQ(viewer_->List().Items()[0].substr(0, 5), "a.txt");
    EXPECT_NE(viewer_->List().Items()[1].find("表.txt"), std::string::npos) << viewer_->List().Items()[1];
    viewer_->List().SetItemIndex(1);
    Key(VK_RETURN);
    const std::string work = viewer_->Browser().TopWorkDir();
    EXPECT_EQ(test::ReadFile(work + "\\dir\\表.txt"), "hyou");
    EXPECT_FALSE(Exists(work + "\\a.txt"));
    viewer_->CloseViewer();
    EXPECT_FALSE(Exists(work));

    test::WriteFile(dir_.File("y.tar"), UstarArchive({{"t/one.txt", "111"}, {"two.txt", "22"}}));
    viewer_->Begin(dir_.File("y.tar"));
    ASSERT_EQ(viewer_->List().Items().size(), 2u);
    EnterOn("t/one.txt");
    EnterOn("two.txt");
    const std::string tarWork = viewer_->Browser().TopWorkDir();
    EXPECT_EQ(test::ReadFile(tarWork + "\\t\\one.txt"), "111");
    EXPECT_EQ(test::ReadFile(tarWork + "\\two.txt"), "22");
    viewer_->CloseViewer();
    std::vector<std::string> said;
    for (const auto& q : prompter_.Questions()) said.push_back(q.text);
    EXPECT_TRUE(said.empty()) << said.front();
}

}  // namespace
}  // namespace kestrum
