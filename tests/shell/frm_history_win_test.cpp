// The list picker without its modal loop: rows, typed keys, results,
// empty lists, placement and the resize rule.
#include "shell/frm_history_win.h"

#include <gtest/gtest.h>

#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

class FrmHistoryTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string cfg = dir_.File("Kestrum.Cfg");
        test::WriteFile(cfg, "[FORM_LS]\r\nhhTop=40\r\nhhLeft=50\r\nhhHeight=260\r\nhhWidth=310\r\n[END]\r\n");
        ASSERT_TRUE(form_.Create(nullptr, ProfileReader::FromFile(cfg)));
    }
    void Char(char c) { SendMessageA(form_.HistoryList(), WM_CHAR, static_cast<unsigned char>(c), 0); }
    void Key(WPARAM vk) { SendMessageA(form_.HistoryList(), WM_KEYDOWN, vk, 0); }
    RECT ChildRect(HWND child) const {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, form_.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    test::TempDir dir_;
    TfrmHistory form_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(FrmHistoryTest, PlacementComesFromTheSettings) {
    const Geometry g = form_.NormalGeometry();
    EXPECT_EQ(g.top, 40);
    EXPECT_EQ(g.left, 50);
    EXPECT_EQ(g.height, 260);
    EXPECT_EQ(g.width, 310);
    char caption[32] = {};
    GetWindowTextA(form_.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Kestrum");
}

TEST_F(FrmHistoryTest, NumberedRowsAndTheirKeys) {
    std::vector<std::string> entries;
    for (int i = 0; i < 11; ++i) entries.push_back("entry" + std::to_string(i));
    form_.Begin(entries, ListStyle::Numbered, false);
    ASSERT_EQ(SendMessageA(form_.HistoryList(), LB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(form_.Rows()[2], "2 entry2");
    EXPECT_EQ(form_.Rows()[10], "  entry10");
    EXPECT_EQ(SendMessageA(form_.HistoryList(), LB_GETCURSEL, 0, 0), 0);
    Char(' ');
    EXPECT_FALSE(form_.Finished());
    Char('2');
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.Result().result, ListResult::Ok);
    EXPECT_EQ(form_.Result().text, "entry2");
    EXPECT_EQ(form_.Result().index, 2);

    form_.Begin(entries, ListStyle::Numbered, false);
    SendMessageA(form_.HistoryList(), LB_SETCURSEL, 10, 0);
    Key(VK_RETURN);
    EXPECT_EQ(form_.Result().text, "entry10");

    form_.Begin(entries, ListStyle::Numbered, false);
    Key(VK_HOME);
    EXPECT_EQ(form_.Result().result, ListResult::Cancel);
    form_.Begin(entries, ListStyle::Numbered, false);
    Key(VK_ESCAPE);
    EXPECT_EQ(form_.Result().result, ListResult::Cancel);
    form_.Begin(entries, ListStyle::Numbered, false);
    SendMessageA(form_.Handle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(form_.Result().result, ListResult::Ok);
    EXPECT_EQ(form_.Result().text, "entry0");
}

TEST_F(FrmHistoryTest, KeyedRowsNarrowOnASharedKey) {
    const std::vector<std::string> keyed = {"a C:\\ALPHA", "b C:\\BETA", "A C:\\AGAIN"};
    form_.Begin(keyed, ListStyle::Keyed, false);
    EXPECT_EQ(form_.Rows(), keyed);
    Char('a');
    EXPECT_FALSE(form_.Finished());
    EXPECT_EQ(form_.Rows(), (std::vector<std::string>{"a C:\\ALPHA", "A C:\\AGAIN"}));
    Key(VK_DOWN);  // the list box's own movement
    Key(VK_RETURN);
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.Result().text, "C:\\AGAIN");
    EXPECT_EQ(form_.Result().index, 2);

    form_.Begin(keyed, ListStyle::Keyed, false);
    Char('B');
    EXPECT_EQ(form_.Result().text, "C:\\BETA");
}

TEST_F(FrmHistoryTest, CompletionModeHandsKeysBack) {
    const std::vector<std::string> cands = {"WINDOWS\\", "WINAPP\\"};
    form_.Begin(cands, ListStyle::Numbered, true);
    Char('d');
    ASSERT_TRUE(form_.Finished());
    EXPECT_EQ(form_.Result().result, ListResult::Typed);
    EXPECT_EQ(form_.Result().typed, 'd');

    form_.Begin(cands, ListStyle::Numbered, true);
    Char('1');  // numbers a row: chosen
    EXPECT_EQ(form_.Result().result, ListResult::Ok);
    EXPECT_EQ(form_.Result().text, "WINAPP\\");

    form_.Begin(cands, ListStyle::Numbered, true);
    Char('7');  // numbers no row: handed back
    EXPECT_EQ(form_.Result().result, ListResult::Typed);

    for (WPARAM vk : {VK_BACK, VK_LEFT, VK_RIGHT, VK_DELETE}) {
        form_.Begin(cands, ListStyle::Numbered, true);
        Key(vk);
        EXPECT_EQ(form_.Result().result, ListResult::Typed);
        EXPECT_EQ(form_.Result().key, static_cast<int>(vk));
    }
    form_.Begin(cands, ListStyle::Numbered, false);
    Key(VK_BACK);
    EXPECT_FALSE(form_.Finished());
}

TEST_F(FrmHistoryTest, EmptyLists) {
    EXPECT_EQ(form_.ShowList({}, ListStyle::Numbered, false).result, ListResult::Cancel);
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(form_.ShowKeyedList({}).result, ListResult::Cancel);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "登録されていません");
    EXPECT_EQ(form_.ShowList({}, ListStyle::NumberedWithMessage, false).result, ListResult::Cancel);
    EXPECT_EQ(prompter_.Questions().size(), 2u);
}

TEST_F(FrmHistoryTest, ResizingKeepsTheMargins) {
    SetWindowPos(form_.Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(form_.Handle(), &client);
    const RECT list = ChildRect(form_.HistoryList());
    EXPECT_EQ(list.left, 8);
    EXPECT_EQ(list.top, 8);
    EXPECT_EQ(list.right - list.left, client.right - 16);
    EXPECT_EQ(list.bottom - list.top, client.bottom - 55);
    const RECT ok = ChildRect(GetDlgItem(form_.Handle(), IDOK));
    EXPECT_EQ(ok.top, client.bottom - 32);
}

}  // namespace
}  // namespace kestrum
