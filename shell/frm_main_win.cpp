// TfrmMain: creation, layout, menus, activation, dropped files and closing.
#include "shell/frm_main_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "common/history.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/profile.h"
#include "config/settings_file.h"
#include "filer/frm_fm_win.h"
#include "shell/app_win.h"
#include "shell/app_window_win.h"
#include "shell/command_box_win.h"
#include "shell/drop_text.h"
#include "shell/forms_win.h"
#include "shell/list_editor_win.h"
#include "shell/version.h"

namespace kestrum {

namespace {

constexpr int kDesignClientWidth = 353;
constexpr int kDesignClientHeight = 131;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_ACCEPTFILES;
const char kFormFontName[] = "ＭＳ Ｐゴシック";

void Append(HMENU menu, UINT id, const char* caption) { AppendMenuA(menu, MF_STRING, id, caption); }

}  // namespace

TfrmMain::TfrmMain() = default;

TfrmMain::~TfrmMain() {
    // The menu not attached at the end is ours to free.
    if (mainMenu_ && !MenuAttached()) DestroyMenu(mainMenu_);
    if (popupMenu1_) DestroyMenu(popupMenu1_);
}

bool TfrmMain::Create(HWND owner) {
    AppState& app = App();
    // Steps 4 to 7 of creation need no window: the paths and the geometry.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    app.programDir = IncludeTrailingBackslash(ExtractFilePath(exe));
    app.helpFile = app.programDir + "Kestrum.HLP";
    if (app.settingsPath.empty()) {
        std::string settingsArg = __argc > 1 ? __argv[1] : "";
        if (!settingsArg.empty()) {
            // Kept as a full path: the current directory changes later.
            char full[MAX_PATH] = {};
            if (GetFullPathNameA(settingsArg.c_str(), MAX_PATH, full, nullptr) > 0) settingsArg = full;
            app.settingsPath = settingsArg;
        } else {
            app.settingsPath = app.programDir + "Kestrum.Cfg";
        }
    }
    const ProfileReader profile = ProfileReader::FromFile(app.settingsPath);
    const SIZE design = OuterSizeForClient(kDesignClientWidth, kDesignClientHeight, kStyle, kExStyle, true);
    const int width = profile.ReadInteger("FORM_LS", "mWidth", design.cx);
    const int height = profile.ReadInteger("FORM_LS", "mHeight", design.cy);
    const int top = profile.ReadInteger("FORM_LS", "mTop", CW_USEDEFAULT);
    const int left = profile.ReadInteger("FORM_LS", "mLeft", CW_USEDEFAULT);
    e1Font_ = ReadFont(profile, "FORM_LS", "e1FontName", "e1FontSize", "e1FontStyle",
                       FontSpec{kFormFontName, 10, 0});

    BuildMenus();
    RegisterWindowClass("TfrmMain", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    const int x = left == CW_USEDEFAULT || top == CW_USEDEFAULT ? CW_USEDEFAULT : left;
    const int y = x == CW_USEDEFAULT ? 0 : top;
    if (!CreateWin("TfrmMain", kExStyle, kStyle, "Kestrum", x, y, width, height, owner, mainMenu_)) return false;
    app.menuBarShown = true;
    FormCreate();
    return true;
}

void TfrmMain::BuildMenus() {
    mainMenu_ = CreateMenu();
    HMENU font1 = CreatePopupMenu();
    Append(font1, kKFont1, "Font変更");
    Append(font1, kClose1, "Ｋｅｓｔｒｕｍを閉じる(&X)");
    AppendMenuA(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(font1), "&Font");

    action1_ = CreatePopupMenu();
    Append(action1_, kKls1, "ファイラーの起動  LS");
    Append(action1_, kKEXIT1, "終了                               EXIT");
    Append(action1_, kK2, "コマンド一覧");
    Append(action1_, kK1, "説明を見る");
    AppendMenuA(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(action1_), "Action&1");

    action11_ = CreatePopupMenu();
    Append(action11_, kKTAB1, "ファイル名自動補充\t[TAB]");
    Append(action11_, kK4, "１つ前の命令に戻る\t†");
    Append(action11_, kK3, "１つ後の命令に戻る\t↓");
    Append(action11_, kKSHIFT2, "カーソルを文字列の先頭に移動\tSHIFT +←");
    Append(action11_, kKSHIFT1, "カーソルを文字列の最後に移動\tSHIFT+→");
    Append(action11_, kKHOMECLR1, "文字列をクリア\t[HOMECLR]");
    Append(action11_, kKGRPHSPACE1, "システムメニューを開く\tALT + SPACE");
    Append(action11_, kK16, "ファイラーにフォーカス移動\tCTRL + ↑");
    AppendMenuA(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(action11_), "Action&2");

    HMENU cfg = CreatePopupMenu();
    Append(cfg, kK7, "動作設定(&E)");
    Append(cfg, kK17, "キーカスタマイズ");
    Append(cfg, kK8, "エイリアス編集");
    Append(cfg, kK9, "ＬＯＧＬＩＳＴ編集");
    Append(cfg, kK10, "ＣＯＰＹＬＩＳＴ編集");
    Append(cfg, kK11, "ＦＵＮＣＴＩＯＮ編集");
    Append(cfg, kK18, "ユーザー定義編集");
    AppendMenuA(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(cfg), "設定(&C)");

    HMENU help1 = CreatePopupMenu();
    Append(help1, kK5, "ヘルプの呼び出し");
    Append(help1, kK6, "バージョン情報");
    // A leading backspace puts the entry at the right end of the menu bar.
    AppendMenuA(mainMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help1), "\b&Help");

    popupMenu1_ = CreatePopupMenu();
    Append(popupMenu1_, kK12, "シェル");
    Append(popupMenu1_, kK13, "テキストビューワー");
    Append(popupMenu1_, kK14, "画像ビューワー");
    Append(popupMenu1_, kK15, "ファイラー");
    Append(popupMenu1_, kExit1, "常駐終了");
}

void TfrmMain::FormCreate() {
    AppState& app = App();
    HWND wnd = Handle();
    HINSTANCE inst = GetModuleHandleA(nullptr);
    panel1_ = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              wnd, nullptr, inst, nullptr);
    dirName_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_CLIPSIBLINGS | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, 0,
                               0, 0, wnd, nullptr, inst, nullptr);
    edit1_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                             0, 0, 0, 0, wnd, reinterpret_cast<HMENU>(1), inst, nullptr);
    label1_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                              wnd, nullptr, inst, nullptr);
    SetWindowLongPtrA(edit1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editDefProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit1_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TfrmMain::EditProc)));

    formFont_ = CreateFontFromSpec(FontSpec{kFormFontName, 9, 0});
    SendMessageA(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.Get()), FALSE);

    // Step 4: the prompt shows the directory current at start.
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetPrompt(IncludeTrailingBackslash(cwd));
    ShellFontSet();

    // Step 9: correct the position for work-area offsets.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    RECT r{};
    if (GetWindowPlacement(wnd, &wp) && GetWindowRect(wnd, &r)) {
        int top = r.top;
        int left = r.left;
        if (top != wp.rcNormalPosition.top) top = 2 * top - wp.rcNormalPosition.top;
        if (left != wp.rcNormalPosition.left) left = 2 * left - wp.rcNormalPosition.left;
        if (top != r.top || left != r.left) SetWindowPos(wnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    // Step 10: the system-menu entries.
    HMENU sys = GetSystemMenu(wnd, FALSE);
    InsertMenuA(sys, 5, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(sys, 6, MF_BYPOSITION | MF_STRING, kSysText, "&2 テキストビューワー");
    InsertMenuA(sys, 7, MF_BYPOSITION | MF_STRING, kSysImage, "&3 画像ビューワー");
    InsertMenuA(sys, 8, MF_BYPOSITION | MF_STRING, kSysFiler, "&4 ファイラー");

    app.activeEdit = edit1_;
    app.activeEditTag = 0;
    Layout();
}

void TfrmMain::SetShellFont(const FontSpec& spec) {
    e1Font_ = spec;
    ShellFontSet();
}

void TfrmMain::ShellFontSet() {
    e1FontHandle_ = CreateFontFromSpec(e1Font_);
    SendMessageA(edit1_, WM_SETFONT, reinterpret_cast<WPARAM>(e1FontHandle_.Get()), TRUE);
    SendMessageA(dirName_, WM_SETFONT, reinterpret_cast<WPARAM>(e1FontHandle_.Get()), TRUE);
    panelHeight_ = TextHeight(e1FontHandle_.Get()) + 8;
    Layout();
}

void TfrmMain::Layout() {
    if (!Handle()) return;
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const int width = rc.right - rc.left;
    const int panelWidth = width - 16 > 0 ? width - 16 : 0;
    MoveWindow(panel1_, 8, 8, panelWidth, panelHeight_, TRUE);
    // The panel's sunken edge is 2 pixels wide.
    const int innerTop = 8 + 2;
    const int innerHeight = panelHeight_ - 4 > 0 ? panelHeight_ - 4 : 0;
    int x = 8 + 2;
    if (dirNameShown_) {
        const std::string text = GetText(dirName_);
        HDC dc = GetDC(dirName_);
        HGDIOBJ old = SelectObject(dc, e1FontHandle_.Get());
        SIZE sz{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
        SelectObject(dc, old);
        ReleaseDC(dirName_, dc);
        MoveWindow(dirName_, x, innerTop, sz.cx, innerHeight, TRUE);
        x += sz.cx;
    }
    const int editWidth = 8 + panelWidth - 2 - x;
    MoveWindow(edit1_, x, innerTop + 2, editWidth > 0 ? editWidth : 0, innerHeight - 2 > 0 ? innerHeight - 2 : 0,
               TRUE);
    const int labelHeight = TextHeight(formFont_.Get()) + 4;
    MoveWindow(label1_, 0, rc.bottom - labelHeight, width, labelHeight, TRUE);
}

void TfrmMain::ShowDirName(bool show) {
    dirNameShown_ = show;
    ShowWindow(dirName_, show ? SW_SHOW : SW_HIDE);
    Layout();
}

void TfrmMain::SetPrompt(const std::string& dir) {
    SetWindowTextA(dirName_, (dir + ">").c_str());
    Layout();
}

void TfrmMain::SetStatus(const std::string& text) { SetWindowTextA(label1_, text.c_str()); }

void TfrmMain::ApplyHomeShiftMode(int mode) {
    const bool homeMode = mode != 0;
    ModifyMenuA(action11_, kKSHIFT2, MF_BYCOMMAND | MF_STRING, kKSHIFT2,
                homeMode ? "カーソルを文字列の先頭に移動     HOMECLR" : "カーソルを文字列の先頭に移動     SHIFT +←");
    ModifyMenuA(action11_, kKSHIFT1, MF_BYCOMMAND | MF_STRING, kKSHIFT1,
                homeMode ? "カーソルを文字列の最後に移動     HELP" : "カーソルを文字列の最後に移動     SHIFT +→");
    // A menu item cannot be hidden: it is taken out and put back in its place.
    if (homeMode && homeClrShown_) {
        DeleteMenu(action11_, kKHOMECLR1, MF_BYCOMMAND);
        homeClrShown_ = false;
    } else if (!homeMode && !homeClrShown_) {
        InsertMenuA(action11_, 5, MF_BYPOSITION | MF_STRING, kKHOMECLR1, "文字列をクリア\t[HOMECLR]");
        homeClrShown_ = true;
    }
    if (MenuAttached()) DrawMenuBar(Handle());
}

void TfrmMain::MenuOff() {
    if (!MenuAttached()) {
        App().menuBarShown = false;
        return;
    }
    RECT rc{};
    GetClientRect(Handle(), &rc);
    SetMenu(Handle(), nullptr);
    const SIZE outer = OuterSizeForClient(rc.right, rc.bottom, kStyle, kExStyle, false);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    App().menuBarShown = false;
}

void TfrmMain::MenuOn() {
    if (MenuAttached()) {
        App().menuBarShown = true;
        return;
    }
    RECT rc{};
    GetClientRect(Handle(), &rc);
    SetMenu(Handle(), mainMenu_);
    const SIZE outer = OuterSizeForClient(rc.right, rc.bottom, kStyle, kExStyle, true);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    App().menuBarShown = true;
}

Geometry TfrmMain::NormalGeometry() const { return WindowGeometry(Handle()); }

void TfrmMain::ShowShell() {
    AppState& app = App();
    ShowWindow(Handle(), SW_SHOW);
    if (app.settings.haitaHyoji) CloseFiler();
    SetForegroundWindow(Handle());
    SetFocus(edit1_);
}

namespace {
// A window counts as active when the program is the foreground application.
bool ProgramIsForeground() {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    return pid == GetCurrentProcessId();
}

void ShowTaskWindow(bool show) {
    if (App().app) App().app->ShowTaskButton(show);
}

void RefocusLastActive() {
    HWND last = LastActiveForm();
    if (last && IsWindowVisible(last)) SetForegroundWindow(last);
}
}  // namespace

void TfrmMain::HotKeyMsg1HotKey() {
    AppState& app = App();
    const Settings& s = app.settings;
    const bool foreground = ProgramIsForeground();
    HWND filer = app.filer ? app.filer->Handle() : nullptr;
    if (!s.haitaHyoji) {
        if (Visible() && foreground) {
            ShowWindow(Handle(), SW_HIDE);
            ShowTaskWindow(false);
        } else {
            ShowWindow(Handle(), SW_SHOW);
            if (!s.taskShow) ShowTaskWindow(true);
            SetForegroundWindow(Handle());
        }
    } else if (app.filerLastActive && filer) {
        if (IsWindowVisible(filer) && foreground) {
            ShowWindow(filer, SW_HIDE);
            ShowTaskWindow(false);
        } else {
            if (Visible()) ShowWindow(Handle(), SW_HIDE);
            if (app.app) SetForegroundWindow(app.app->Handle());
            app.filer->ShowFiler();
            RefocusLastActive();
            if (!s.taskShow) ShowTaskWindow(true);
        }
    } else {
        if (Visible() && foreground) {
            ShowWindow(Handle(), SW_HIDE);
            ShowTaskWindow(false);
        } else {
            CloseFiler();
            if (app.app) SetForegroundWindow(app.app->Handle());
            ShowWindow(Handle(), SW_SHOW);
            SetForegroundWindow(Handle());
            if (!s.taskShow) ShowTaskWindow(true);
            RefocusLastActive();
        }
    }
}

void TfrmMain::RunMenuCommand(UINT id) {
    AppState& app = App();
    switch (id) {
    case kKFont1: {
        FontSpec spec = ShellFont();
        if (PickFont(Handle(), spec)) SetShellFont(spec);
        break;
    }
    case kClose1: PostMessageA(Handle(), WM_CLOSE, 0, 0); break;
    case kKls1:
        Execute_t(CommandName(1));
        if (app.menuOffAfterLs) {
            app.menuOffAfterLs = false;
            MenuOff();
        }
        break;
    case kKEXIT1:
    case kExit1: Execute_t(CommandName(2)); break;
    case kK2: WinHelpA(Handle(), app.helpFile.c_str(), HELP_CONTEXT, 5); break;
    case kK1: WinHelpA(Handle(), app.helpFile.c_str(), HELP_CONTEXT, 62); break;
    case kK5: WinHelpA(Handle(), app.helpFile.c_str(), HELP_CONTEXT, 0); break;
    case kKTAB1: {
        WPARAM key = VK_F6;
        Edit1KeyDown(key);
        break;
    }
    case kK4: {
        WPARAM key = VK_UP;
        Edit1KeyDown(key);
        break;
    }
    case kK3: {
        WPARAM key = VK_DOWN;
        Edit1KeyDown(key);
        break;
    }
    case kKSHIFT2: SendMessageA(edit1_, EM_SETSEL, 0, 0); break;
    case kKSHIFT1: {
        const int n = GetWindowTextLengthA(edit1_);
        SendMessageA(edit1_, EM_SETSEL, n, n);
        break;
    }
    case kKHOMECLR1: {
        WPARAM key = VK_HOME;
        CommandBox::For(edit1_, kShellBox).KeyDown(key, true, false, false);
        break;
    }
    case kK16:
        // No handler of its own: Ctrl+Up in the command box does it.
        break;
    case kKGRPHSPACE1:
        PostMessageA(Handle(), WM_SYSKEYDOWN, VK_F10, 0);
        PostMessageA(Handle(), WM_SYSKEYUP, VK_F10, 0);
        PostMessageA(Handle(), WM_KEYDOWN, VK_SPACE, 0);
        PostMessageA(Handle(), WM_KEYUP, VK_SPACE, 0);
        break;
    case kK6: ShowVersionWindow(); break;
    case kK12: ShowShell(); break;
    case kK13: Execute_t(CommandName(4)); break;
    case kK14: Execute_t(CommandName(3)); break;
    case kK15: Execute_t(CommandName(1)); break;
    case kK8: ShowAliasEditor(Handle()); break;
    case kK9: ShowDirListEditor(Handle(), TDirListEditor::Which::LogList); break;
    case kK10: ShowDirListEditor(Handle(), TDirListEditor::Which::CopyList); break;
    case kK11: ShowFunctionEditor(Handle()); break;
    case kK7: ShowSettingsDialog(Handle(), kPageMain); break;
    default:
        // The settings dialog and the key customisation open from here
        // once they exist.
        break;
    }
}

void TfrmMain::Edit1KeyDown(WPARAM& key) { CommandBox::For(edit1_, kShellBox).KeyDown(key); }

LRESULT CALLBACK TfrmMain::EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(wnd, msg, wp, lp);
    WNDPROC def = self->editDefProc_;
    try {
        switch (msg) {
        case WM_KEYDOWN:
            self->Edit1KeyDown(wp);
            if (wp == 0) return 0;
            break;
        case WM_CHAR:
            // Enter, Ctrl+Enter and TAB were handled at key-down.
            if (CommandBox::For(wnd, kShellBox).KeyPress(wp, GetKeyState(VK_CONTROL) < 0)) return 0;
            break;
        case WM_SETFOCUS:
            App().activeEdit = wnd;
            App().activeEditTag = 0;
            break;
        default: break;
        }
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return 0;
    }
    return CallWindowProcA(def, wnd, msg, wp, lp);
}

void TfrmMain::OnActivate(bool active) {
    AppState& app = App();
    if (!active) {
        DWORD start = 0;
        SendMessageA(edit1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        savedCaret_ = static_cast<int>(start);
        return;
    }
    SetFocus(edit1_);
    SendMessageA(edit1_, EM_SETSEL, savedCaret_, savedCaret_);
    app.activeEdit = edit1_;
    app.activeEditTag = 0;
    app.filerLastActive = false;
    SetLastActiveForm(Handle());
}

void TfrmMain::OnDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        DragQueryFileA(drop, i, path, sizeof path);
        paths.emplace_back(path);
    }
    DragFinish(drop);
    DWORD start = 0;
    SendMessageA(edit1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const BoxText out = InsertDroppedPaths(BoxText{GetText(edit1_), static_cast<int>(start)}, paths);
    SetWindowTextA(edit1_, out.text.c_str());
    SetForegroundWindow(Handle());
    SendMessageA(edit1_, EM_SETSEL, out.caret, out.caret);
}

void TfrmMain::FormCloseQuery() {
    AppState& app = App();
    // Step 1: the task-bar window to the front.
    if (app.app) SetForegroundWindow(app.app->Handle());
    // Step 2: the colour file.
    SaveColorFileAtClose();
    TSettingsFile file(app.settingsPath, app.settings.semicolonMode);
    CloseState state = CollectCloseState();
    WriteCloseState(file, state);
    file.SaveOrSay();
}

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
        if (lp == 0) {
            RunMenuCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if (HandleSystemMenuCommand(static_cast<UINT>(wp & 0xFFF0))) return 0;
        break;
    case WM_ACTIVATE: OnActivate(LOWORD(wp) != WA_INACTIVE); return 0;
    case WM_SHOWWINDOW: DragAcceptFiles(Handle(), wp ? TRUE : FALSE); break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    case WM_ERASEBKGND: {
        RECT rc{};
        GetClientRect(Handle(), &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, SlotBrush(kColShellForm));
        return 1;
    }
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lp) == edit1_) {
            return reinterpret_cast<LRESULT>(
                PrepareSlotColors(reinterpret_cast<HDC>(wp), kColShellEditText, kColShellEditBack));
        }
        break;
    case WM_CTLCOLORSTATIC: {
        const HWND child = reinterpret_cast<HWND>(lp);
        const HDC dc = reinterpret_cast<HDC>(wp);
        if (child == dirName_ || child == panel1_) {
            return reinterpret_cast<LRESULT>(PrepareSlotColors(dc, kColShellDirText, kColShellDirBack));
        }
        if (child == label1_) {
            return reinterpret_cast<LRESULT>(PrepareSlotColors(dc, kColShellLabelText, kColShellLabelBack));
        }
        break;
    }
    case WM_CLOSE:
        FormCloseQuery();
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
