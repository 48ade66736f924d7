// The shell window under the null display driver: menus, menu bar on and
// off, layout, fonts and dropped files.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "config/cfg_form_win.h"
#include "config/session.h"
#include "config/settings_loader.h"
#include "fileops/change_dir_win.h"
#include "shell/command_box_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"
#include "shell/frm_main_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char buf[256] = {};
    GetMenuStringA(menu, item, buf, sizeof buf, flags);
    return buf;
}

class FrmMainTest : public testing::Test {
protected:
    void SetUp() override {
        Session& session = TheSession();
        session = Session();
        session.settingsPath = dir_.File("Kestrum.Cfg");
        test::WriteFile(session.settingsPath,
                        "[FORM_LS]\r\nmWidth=420\r\nmHeight=200\r\nmTop=30\r\nmLeft=40\r\n"
                        "e1FontName=ＭＳ ゴシック\r\ne1FontSize=12\r\ne1FontStyle=1\r\n[END]\r\n");
        form_ = std::make_unique<TfrmMain>();
        ASSERT_TRUE(form_->Create(nullptr));
        ShowWindow(form_->Handle(), SW_SHOW);
    }
    void TearDown() override {
        form_.reset();
        TheSession() = Session();
    }
    int ClientHeight() const {
        RECT rc{};
        GetClientRect(form_->Handle(), &rc);
        return rc.bottom;
    }
    test::TempDir dir_;
    std::unique_ptr<TfrmMain> form_;
};

TEST_F(FrmMainTest, MenuCaptionsAreExact) {
    HMENU bar = form_->MainMenu();
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), "&Font");
    EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), "Action&1");
    EXPECT_EQ(MenuText(bar, 2, MF_BYPOSITION), "Action&2");
    EXPECT_EQ(MenuText(bar, 3, MF_BYPOSITION), "設定(&C)");
    // The leading backspace right-justifies the entry; the platform may keep
    // it in the text or turn it into the right-justify flag.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(bar, 4, TRUE, &info);
    const std::string help = MenuText(bar, 4, MF_BYPOSITION);
    EXPECT_TRUE(help == "\b&Help" || (help == "&Help" && (info.fType & MFT_RIGHTJUSTIFY))) << help;
    EXPECT_EQ(MenuText(bar, kKls1, MF_BYCOMMAND), "ファイラーの起動  LS");
    EXPECT_EQ(MenuText(bar, kClose1, MF_BYCOMMAND), "Ｋｅｓｔｒｕｍを閉じる(&X)");
    EXPECT_EQ(MenuText(bar, kK16, MF_BYCOMMAND), "ファイラーにフォーカス移動\tCTRL + ↑");
    EXPECT_EQ(MenuText(bar, kK9, MF_BYCOMMAND), "ＬＯＧＬＩＳＴ編集");
    HMENU tray = form_->TrayMenu();
    ASSERT_EQ(GetMenuItemCount(tray), 5);
    EXPECT_EQ(MenuText(tray, 0, MF_BYPOSITION), "シェル");
    EXPECT_EQ(MenuText(tray, 4, MF_BYPOSITION), "常駐終了");
    HMENU sys = GetSystemMenu(form_->Handle(), FALSE);
    EXPECT_EQ(MenuText(sys, kSysText, MF_BYCOMMAND), "&2 テキストビューワー");
    EXPECT_EQ(MenuText(sys, kSysImage, MF_BYCOMMAND), "&3 画像ビューワー");
    EXPECT_EQ(MenuText(sys, kSysFiler, MF_BYCOMMAND), "&4 ファイラー");
}

TEST_F(FrmMainTest, HomeShiftModeCaptions) {
    HMENU bar = form_->MainMenu();
    form_->ApplyHomeShiftMode(1);
    EXPECT_EQ(MenuText(bar, kKSHIFT2, MF_BYCOMMAND), "カーソルを文字列の先頭に移動     HOMECLR");
    EXPECT_EQ(MenuText(bar, kKSHIFT1, MF_BYCOMMAND), "カーソルを文字列の最後に移動     HELP");
    EXPECT_EQ(GetMenuState(bar, kKHOMECLR1, MF_BYCOMMAND), static_cast<UINT>(-1));
    form_->ApplyHomeShiftMode(0);
    EXPECT_EQ(MenuText(bar, kKSHIFT2, MF_BYCOMMAND), "カーソルを文字列の先頭に移動     SHIFT +←");
    EXPECT_EQ(MenuText(bar, kKSHIFT1, MF_BYCOMMAND), "カーソルを文字列の最後に移動     SHIFT +→");
    HMENU action2 = GetSubMenu(bar, 2);
    EXPECT_EQ(GetMenuItemID(action2, 5), static_cast<UINT>(kKHOMECLR1));
    form_->ApplyHomeShiftMode(0);
    EXPECT_EQ(GetMenuItemCount(action2), 8);
}

TEST_F(FrmMainTest, MenuOffAndOnKeepTheClientHeight) {
    const int before = ClientHeight();
    form_->MenuOff();
    EXPECT_FALSE(form_->MenuAttached());
    EXPECT_FALSE(TheSession().menuBarShown);
    EXPECT_EQ(ClientHeight(), before);
    form_->MenuOff();
    EXPECT_EQ(ClientHeight(), before);
    form_->MenuOn();
    EXPECT_TRUE(form_->MenuAttached());
    EXPECT_TRUE(TheSession().menuBarShown);
    EXPECT_EQ(ClientHeight(), before);
}

TEST_F(FrmMainTest, GeometryAndFontComeFromTheSettingsFile) {
    const Geometry g = form_->NormalGeometry();
    EXPECT_EQ(g.width, 420);
    EXPECT_EQ(g.height, 200);
    EXPECT_EQ(g.top, 30);
    EXPECT_EQ(g.left, 40);
    EXPECT_EQ(form_->ShellFont().name, "ＭＳ ゴシック");
    EXPECT_EQ(form_->ShellFont().size, 12);
    EXPECT_EQ(form_->ShellFont().style, 1);
    char face[LF_FACESIZE] = {};
    HDC dc = GetDC(form_->Edit1());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(form_->Edit1(), WM_GETFONT, 0, 0)));
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(form_->Edit1(), dc);
    EXPECT_STREQ(face, "ＭＳ ゴシック");
}

TEST_F(FrmMainTest, PanelFollowsTheWindowWidth) {
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 500, 220, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    RECT edit{};
    GetWindowRect(form_->Edit1(), &edit);
    POINT right{edit.right, 0};
    ScreenToClient(form_->Handle(), &right);
    // The edit ends inside the panel, which ends 8 pixels from the right edge.
    EXPECT_LE(right.x, client.right - 8);
    EXPECT_GE(right.x, client.right - 8 - 4);
    RECT label{};
    GetWindowRect(form_->Label1(), &label);
    POINT bottom{0, label.bottom};
    ScreenToClient(form_->Handle(), &bottom);
    EXPECT_EQ(bottom.y, client.bottom);
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string block;
    for (const std::string& p : paths) block += p + '\0';
    block += '\0';
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + block.size());
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), block.data(), block.size());
    GlobalUnlock(mem);
    return static_cast<HDROP>(mem);
}

TEST_F(FrmMainTest, DroppedFilesGoToTheCaret) {
    SetWindowTextA(form_->Edit1(), "copy  to");
    SetBoxCaret(form_->Edit1(), 5);
    SendMessageA(form_->Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.txt", "C:\\表 x.txt", "C:\\c"})), 0);
    char text[256] = {};
    GetWindowTextA(form_->Edit1(), text, sizeof text);
    EXPECT_STREQ(text, "copy  C:\\a.txt C:\\表 x.txt C:\\c  to");
    EXPECT_EQ(ReadBoxText(form_->Edit1()).caret,
              static_cast<int>(std::strlen("copy  C:\\a.txt C:\\表 x.txt C:\\c ")));
}

// The window a click at the point reaches: down from top through the visible
// children that contain it, the topmost sibling first.
HWND DeepestChildAt(HWND top, POINT screen) {
    HWND w = top;
    for (;;) {
        POINT p = screen;
        ScreenToClient(w, &p);
        HWND c = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE);
        if (!c || c == w) return w;
        w = c;
    }
}

TEST_F(FrmMainTest, PanelHoldsThePromptAndTheBoxInsteadOfCoveringThem) {
    form_->SetPrompt("C:\\WORK\\");
    form_->ShowDirName(true);
    for (HWND child : {form_->DirName(), form_->Edit1()}) {
        EXPECT_EQ(GetParent(child), form_->Panel1());
        RECT r{};
        GetWindowRect(child, &r);
        ASSERT_GT(r.right - r.left, 0);
        const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_EQ(DeepestChildAt(form_->Handle(), middle), child);
    }
    // Side by side: the box starts where the prompt ends.
    RECT prompt{};
    RECT box{};
    GetWindowRect(form_->DirName(), &prompt);
    GetWindowRect(form_->Edit1(), &box);
    EXPECT_EQ(box.left, prompt.right);
}

TEST_F(FrmMainTest, DirNameShowsThePromptOnlyWhenAsked) {
    form_->SetPrompt("C:\\WORK\\");
    char text[64] = {};
    GetWindowTextA(form_->DirName(), text, sizeof text);
    EXPECT_STREQ(text, "C:\\WORK\\>");
    form_->ShowDirName(false);
    EXPECT_FALSE(IsWindowVisible(form_->DirName()));
    form_->ShowDirName(true);
    EXPECT_TRUE(IsWindowVisible(form_->DirName()));
}

// A change of directory made anywhere and the settings dialog's OK reach
// the shell window by themselves.
TEST_F(FrmMainTest, FollowsTheDirectoryAndTheSettingsDialog) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ASSERT_TRUE(ChangeDirectory(dir_.Path()));
    EXPECT_EQ(GetText(form_->Handle()), TheSession().currentDir + " - Kestrum");
    EXPECT_EQ(GetText(form_->DirName()), TheSession().currentDir + ">");
    SetCurrentDirectoryA(cwd);

    TheSession().settings.menuBar = false;
    TheSession().settings.dirWindow = true;
    ApplyDialogSettings(TheSession().settings);
    EXPECT_FALSE(form_->MenuAttached());
    EXPECT_TRUE(IsWindowVisible(form_->DirName()));
    TheSession().settings.menuBar = true;
    TheSession().settings.dirWindow = false;
    ApplyDialogSettings(TheSession().settings);
    EXPECT_TRUE(form_->MenuAttached());
    EXPECT_FALSE(IsWindowVisible(form_->DirName()));
}

TEST_F(FrmMainTest, HotKeyHidesTheActiveShellAndBringsItBack) {
    SetForegroundWindow(form_->Handle());
    form_->HotKeyMsg1HotKey();
    EXPECT_FALSE(IsWindowVisible(form_->Handle()));
    form_->HotKeyMsg1HotKey();
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
}

// Placements in the settings file that lie off the desktop (a monitor
// removed, a hand-edited file) bring the windows back onto it.
TEST(WindowPlacementTest, WindowsReadOffTheDesktopComeBackOntoIt) {
    TheSession() = Session();
    test::TempDir dir;
    TheSession().settingsPath = dir.File("Kestrum.Cfg");
    test::WriteFile(TheSession().settingsPath,
                    "[FORM_LS]\r\nmTop=20000\r\nmLeft=-30000\r\nmWidth=420\r\nmHeight=200\r\n"
                    "weTop=-900\r\nweLeft=9000\r\nhhTop=5000\r\nhhLeft=40\r\nhhHeight=0\r\nhhWidth=0\r\n[END]\r\n");
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    auto expectOnDesktop = [&](const Geometry& g, const char* which) {
        EXPECT_GE(g.left, area.left) << which;
        EXPECT_GE(g.top, area.top) << which;
        EXPECT_LE(g.left + g.width, area.right) << which;
        EXPECT_LE(g.top + g.height, area.bottom) << which;
        EXPECT_GT(g.width, 0) << which;
        EXPECT_GT(g.height, 0) << which;
    };
    TfrmMain shell;
    ASSERT_TRUE(shell.Create(nullptr));
    expectOnDesktop(shell.NormalGeometry(), "shell");
    EXPECT_EQ(shell.NormalGeometry().width, 420);
    const ProfileReader profile = ProfileReader::FromFile(TheSession().settingsPath);
    TfrmEdit lineInput;
    ASSERT_TRUE(lineInput.Create(nullptr, profile));
    expectOnDesktop(lineInput.NormalGeometry(), "line input");
    TfrmHistory picker;
    ASSERT_TRUE(picker.Create(nullptr, profile));
    expectOnDesktop(picker.NormalGeometry(), "list picker");
    EXPECT_EQ(picker.NormalGeometry().left, 40);
    TheSession() = Session();
}

// The frame's caption buttons (and scroll-bar arrows, menu checks) are
// glyphs of the Marlett symbol font: without it they show as the letters
// that code them, "0 1 r".
TEST(WindowFrameTest, CaptionButtonGlyphsHaveTheirFont) {
    LOGFONTA lf{};
    lf.lfHeight = -13;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpyA(lf.lfFaceName, "Marlett");
    GdiObject<HFONT> font(CreateFontIndirectA(&lf));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Get());
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    WORD glyphs[3] = {};
    const DWORD found = GetGlyphIndicesA(dc, "01r", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_STREQ(face, "Marlett");
    EXPECT_EQ(found, 3u);
    for (WORD g : glyphs) EXPECT_NE(g, 0xFFFF);
}

}  // namespace
}  // namespace kestrum
