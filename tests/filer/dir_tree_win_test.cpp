// The directory picker without its modal loop, on a temporary directory
// tree: placement, lazy expansion in the control, the current directory,
// the divider, the tree's keys and the results.
#include "filer/dir_tree_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/session.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

std::string Cwd() {
    char buf[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char buf[MAX_PATH] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = MAX_PATH;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return buf;
}

HTREEITEM FirstChild(HWND tree, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

std::vector<std::string> ChildTexts(HWND tree, HTREEITEM item) {
    std::vector<std::string> out;
    for (HTREEITEM c = FirstChild(tree, item); c;
         c = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c)))) {
        out.push_back(ItemText(tree, c));
    }
    return out;
}

bool Expanded(HWND tree, HTREEITEM item) {
    return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int Width(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r.right - r.left;
}

class DirPickerTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        saved_ = Cwd();
        for (const char* d : {"WORK", "WORK\\SRC", "WORK\\表", "WORK\\表\\ソフト", "EMPTY"}) {
            ASSERT_TRUE(CreateDirectoryA(dir_.File(d).c_str(), nullptr)) << d;
        }
        test::WriteFile(dir_.File("WORK\\SRC\\b.txt"), "b");
        test::WriteFile(dir_.File("WORK\\SRC\\A.txt"), "a");
        test::WriteFile(dir_.File("EMPTY\\only.txt"), "x");
        char full[MAX_PATH] = {};
        GetLongPathNameA(dir_.Path().c_str(), full, MAX_PATH);
        root_ = full;
        ASSERT_TRUE(form_.Create(nullptr, DirDirGeometry{40, 50, 320, 500, 200}));
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved_.c_str());
        TheSession() = Session();
    }
    HWND Tree() { return form_.Tree().Handle(); }
    HTREEITEM Item(const std::string& rel) {
        return form_.Tree().ItemOfPath(root_ + "\\" + rel);
    }
    void Key(WPARAM vk) { SendMessageA(Tree(), WM_KEYDOWN, vk, 0); }

    test::TempDir dir_;
    std::string saved_;
    std::string root_;
    TfrmDirDir form_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(DirPickerTest, PlacementCaptionsAndLayout) {
    DirDirGeometry g = form_.GeometryToKeep();
    EXPECT_EQ(g.ddTop, 40);
    EXPECT_EQ(g.ddLeft, 50);
    EXPECT_EQ(g.ddHeight, 320);
    EXPECT_EQ(g.ddWidth, 500);
    EXPECT_EQ(g.dsLeft, 200);
    EXPECT_EQ(GetText(form_.Handle()), "Kestrum");
    HWND ok = GetDlgItem(form_.Handle(), IDOK);
    HWND cancel = GetDlgItem(form_.Handle(), IDCANCEL);
    EXPECT_EQ(GetText(ok), "OK");
    EXPECT_EQ(GetText(cancel), "Cancel");
    EXPECT_TRUE(GetWindowLongA(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_FALSE(GetWindowLongA(ok, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongA(cancel, GWL_STYLE) & WS_TABSTOP);

    // The panel is 16 narrower and 48 lower than the client area, the tree
    // on its left, the divider next to it and the file list in the rest.
    RECT client{}, panel{};
    GetClientRect(form_.Handle(), &client);
    GetClientRect(form_.Panel(), &panel);
    EXPECT_EQ(panel.right, client.right - 16);
    EXPECT_EQ(panel.bottom, client.bottom - 48);
    EXPECT_EQ(Width(form_.Splitter().Handle()), 4);
    EXPECT_EQ(Width(form_.FileList()), panel.right - 200 - 4);
    EXPECT_EQ(form_.Splitter().HostComponent(), Tree());
    EXPECT_EQ(form_.Splitter().Align(), TAlign::Left);

    SetWindowPos(form_.Handle(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(form_.Handle(), &client);
    GetClientRect(form_.Panel(), &panel);
    EXPECT_EQ(panel.right, client.right - 16);
    EXPECT_EQ(form_.GeometryToKeep().ddWidth, 600);
}

TEST_F(DirPickerTest, OpensOnTheStartDirectoryAndLoadsLevelsLazily) {
    form_.Begin(root_ + "\\WORK\\SRC\\");
    EXPECT_FALSE(form_.Finished());
    EXPECT_TRUE(SameText(form_.Tree().SelectedPath(), root_ + "\\WORK\\SRC"));
    EXPECT_TRUE(Expanded(Tree(), Item("WORK")));
    EXPECT_EQ(form_.Files(), (std::vector<std::string>{"A.txt", "b.txt"}));
    // The drive node is the root of the tree.
    HTREEITEM top = FirstChild(Tree(), TVI_ROOT);
    EXPECT_EQ(ItemText(Tree(), top), std::string(1, root_[0]) + ":");

    // 表 has a subdirectory it has never shown: an expand button only.
    HTREEITEM hyo = Item("WORK\\表");
    ASSERT_NE(hyo, nullptr);
    EXPECT_EQ(ChildTexts(Tree(), hyo), std::vector<std::string>{"???"});
    EXPECT_EQ(form_.Tree().NodeOf(FirstChild(Tree(), hyo)), -1);
    EXPECT_TRUE(ChildTexts(Tree(), Item("EMPTY")).empty());
    SendMessageA(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hyo));
    EXPECT_EQ(ChildTexts(Tree(), hyo), std::vector<std::string>{"ソフト"});

    SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Item("WORK\\表\\ソフト")));
    EXPECT_TRUE(SameText(form_.Tree().SelectedPath(), root_ + "\\WORK\\表\\ソフト"));
    EXPECT_TRUE(form_.Files().empty());
}

TEST_F(DirPickerTest, ShowsTheDrivesCurrentDirectoryAfterLoading) {
    TfrmDirDir fresh;
    ASSERT_TRUE(fresh.Create(nullptr, DirDirGeometry{}));
    ASSERT_TRUE(SetCurrentDirectoryA((root_ + "\\WORK\\SRC").c_str()));
    fresh.Tree().SetDrive(root_[0]);
    EXPECT_TRUE(SameText(fresh.Tree().SelectedPath(), root_ + "\\WORK\\SRC"));
    EXPECT_EQ(fresh.Files().size(), 2u);

    // Without the drive node, the root selects nothing but is still heard.
    TfrmDirDir plain;
    ASSERT_TRUE(plain.Create(nullptr, DirDirGeometry{}));
    std::vector<std::string> heard;
    plain.Tree().OnChange = [&](TDirTreeView&, const std::string& p) { heard.push_back(p); };
    plain.Tree().DriveCurrentDir = [](char d) { return std::string(1, d) + ":\\"; };
    plain.Tree().SetShowDrive(false);
    plain.Tree().SetDrive(root_[0]);
    EXPECT_EQ(plain.Tree().SelectedPath(), "");
    EXPECT_EQ(heard, std::vector<std::string>{std::string(1, root_[0]) + ":"});
}

TEST_F(DirPickerTest, DraggingTheDividerWidensTheTree) {
    form_.Begin(root_);
    HWND split = form_.Splitter().Handle();
    const int before = Width(Tree());
    int ended = 0;
    form_.Splitter().OnEndSizing = [&](TSplitPanel&) { ++ended; };
    SendMessageA(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageA(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 12));
    SendMessageA(split, WM_LBUTTONUP, 0, MAKELPARAM(51, 12));
    EXPECT_EQ(Width(Tree()), before + 50);
    EXPECT_EQ(form_.GeometryToKeep().dsLeft, before + 50);
    EXPECT_EQ(ended, 1);
    RECT tree{}, list{};
    GetWindowRect(Tree(), &tree);
    GetWindowRect(form_.FileList(), &list);
    EXPECT_EQ(list.left, tree.right + 4);
    EXPECT_NE(GetCapture(), split);

    // Dragging back to the left, past the panel's edge, leaves no width.
    SendMessageA(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    SendMessageA(split, WM_LBUTTONUP, 0, MAKELPARAM(-1000, 10));
    EXPECT_EQ(Width(Tree()), 0);

    try {
        form_.Splitter().SetAlign(TAlign::Client);
        ADD_FAILURE() << "client alignment accepted";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "AlignにalClientは選択できません。");
    }
    EXPECT_EQ(form_.Splitter().Align(), TAlign::Left);
}

TEST_F(DirPickerTest, KeysOnTheTree) {
    form_.Begin(root_);
    SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Item("WORK")));
    Key(VK_RIGHT);
    EXPECT_TRUE(Expanded(Tree(), Item("WORK")));
    Key(VK_LEFT);
    EXPECT_FALSE(Expanded(Tree(), Item("WORK")));
    EXPECT_TRUE(SameText(form_.Tree().SelectedPath(), root_ + "\\WORK"));

    // The filer's key map: a drive action switches the drive; action 6 asks.
    std::vector<std::pair<int, unsigned>> asked;
    form_.keyLookup = [&](int vk, unsigned mods) {
        asked.emplace_back(vk, mods);
        if (vk == '3') return 403;  // D:
        if (vk == VK_F5) return kActionAskDrive;
        return -1;
    };
    Key(VK_NUMPAD3);
    EXPECT_EQ(asked.back(), (std::pair<int, unsigned>{'3', 0u}));
    EXPECT_EQ(form_.Tree().Drive(), 'D');
    EXPECT_EQ(SendMessageA(Tree(), TVM_GETCOUNT, 0, 0) > 0, true);  // at least the drive node

    prompter_.AnswerLine(std::string(1, static_cast<char>(root_[0] | 0x20)) + ":\\");
    Key(VK_F5);
    ASSERT_EQ(prompter_.LineQuestions().size(), 1u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "ドライブ移動");
    EXPECT_EQ(prompter_.LineQuestions()[0].prompt, "移動先のドライブを入力してください");
    EXPECT_EQ(form_.Tree().Drive(), root_[0] & ~0x20);

    prompter_.AnswerLine(std::nullopt);  // cancelled: nothing changes
    Key(VK_F5);
    EXPECT_EQ(form_.Tree().Drive(), root_[0] & ~0x20);
}

TEST_F(DirPickerTest, OkGivesTheSelectedDirectoryCancelGivesTwo) {
    TheSession().currentDir = root_ + "\\WORK\\";
    form_.Begin(root_ + "\\WORK\\表");
    SetCurrentDirectoryA((root_ + "\\EMPTY").c_str());
    SendMessageA(form_.Handle(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.ModalResult(), 1);
    EXPECT_TRUE(SameText(form_.Result(), root_ + "\\WORK\\表"));
    // Closing puts the process back in the filer's directory.
    EXPECT_TRUE(SameText(IncludeTrailingBackslash(Cwd()), TheSession().currentDir));
    EXPECT_FALSE(IsWindowVisible(form_.Handle()));

    // The drive node gives the root, never a bare "X:".
    form_.Begin(root_);
    SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FirstChild(Tree(), TVI_ROOT)));
    SendMessageA(form_.Handle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(form_.Result(), std::string(1, root_[0]) + ":\\");

    form_.Begin(root_);
    SendMessageA(form_.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(form_.ModalResult(), 2);
    EXPECT_TRUE(form_.Result().empty());
    form_.Begin(root_);
    SendMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form_.ModalResult(), 2);
    EXPECT_TRUE(IsWindow(form_.Handle()));
}

}  // namespace
}  // namespace kestrum
