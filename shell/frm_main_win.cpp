// TfrmMain: creation, layout, menus, activation, dropped files and closing.
#include "shell/frm_main_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "common/menu_table_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/list_editor_win.h"
#include "config/profile.h"
#include "config/session.h"
#include "config/window_placement_win.h"
#include "fileops/change_dir_win.h"
#include "shell/command_box_win.h"
#include "shell/drop_text.h"
#include "shell/frm_edit_win.h"
#include "shell/version.h"

namespace kestrum {

namespace {

constexpr int kDesignClientWidth = 353;
constexpr int kDesignClientHeight = 131;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_ACCEPTFILES;
const char kFormFontName[] = "ＭＳ Ｐゴシック";

}  // namespace

bool TShellPanel::Create(HWND parent) {
    RegisterWindowClass("TShellPanel", nullptr, nullptr);
    return CreateWin("TShellPanel", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, "", 0, 0, 0, 0,
                     parent);
}

LRESULT TShellPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto answer = AnswerSlotColors(Handle(), msg, wp, lp, kColShellDirBack)) return *answer;
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_COMMAND: return SendMessageA(GetParent(Handle()), msg, wp, lp);
    default: return Default(msg, wp, lp);
    }
}

TfrmMain::TfrmMain() = default;

TfrmMain::~TfrmMain() = default;

bool TfrmMain::Create(HWND owner) {
    Session& session = TheSession();
    // Steps 4 to 7 of creation need no window: the paths and the geometry.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    session.programDir = IncludeTrailingBackslash(ExtractFilePath(exe));
    session.helpFile = session.programDir + "Kestrum.HLP";
    if (session.settingsPath.empty()) {
        std::string settingsArg = __argc > 1 ? __argv[1] : "";
        if (!settingsArg.empty()) {
            // Kept as a full path: the current directory changes later.
            char full[MAX_PATH] = {};
            if (GetFullPathNameA(settingsArg.c_str(), MAX_PATH, full, nullptr) > 0) settingsArg = full;
            session.settingsPath = settingsArg;
        } else {
            session.settingsPath = session.programDir + "Kestrum.Cfg";
        }
    }
    const ProfileReader profile = ProfileReader::FromFile(session.settingsPath, session.settings.semicolonMode);
    const SIZE design = OuterSizeForClient(kDesignClientWidth, kDesignClientHeight, kStyle, kExStyle, true);
    const Geometry g{profile.ReadInteger("FORM_LS", "mTop", CW_USEDEFAULT),
                     profile.ReadInteger("FORM_LS", "mLeft", CW_USEDEFAULT),
                     profile.ReadInteger("FORM_LS", "mHeight", design.cy),
                     profile.ReadInteger("FORM_LS", "mWidth", design.cx)};
    // Without a position the system places the window; the size is kept on
    // the desktop all the same.
    const bool placed = g.left != CW_USEDEFAULT && g.top != CW_USEDEFAULT;
    const Geometry visible = OnVisibleDesktop(placed ? g : Geometry{0, 0, g.height, g.width},
                                              Geometry{0, 0, design.cy, design.cx});
    const int width = visible.width;
    const int height = visible.height;
    const int top = placed ? visible.top : CW_USEDEFAULT;
    const int left = placed ? visible.left : CW_USEDEFAULT;
    e1Font_ = ReadFont(profile, "FORM_LS", "e1FontName", "e1FontSize", "e1FontStyle",
                       FontSpec{kFormFontName, 10, 0});

    BuildMenus();
    RegisterWindowClass("TfrmMain", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    const int x = left == CW_USEDEFAULT || top == CW_USEDEFAULT ? CW_USEDEFAULT : left;
    const int y = x == CW_USEDEFAULT ? 0 : top;
    if (!CreateWin("TfrmMain", kExStyle, kStyle, "Kestrum", x, y, width, height, owner, mainMenu_.Get())) {
        return false;
    }
    mainMenu_.CreatedWith();
    session.menuBarShown = true;
    FormCreate();
    return true;
}

void TfrmMain::BuildMenus() {
    mainMenu_ = MenuBar(CreateMenu());
    action11_ = AppendMenuTable(mainMenu_.Get(), MainMenuTable())[kMainMenuAction2];
    popupMenu1_.Reset(CreatePopupMenu());
    AppendMenuEntries(popupMenu1_.Get(), TrayMenuEntries());
}

void TfrmMain::FormCreate() {
    HWND wnd = Handle();
    HINSTANCE inst = GetModuleHandleA(nullptr);
    panel1_.Create(wnd);
    HWND panel = panel1_.Handle();
    dirName_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, 0, 0, 0, panel,
                               nullptr, inst, nullptr);
    edit1_ = CreateCommandEdit(panel, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 1);
    label1_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                              wnd, nullptr, inst, nullptr);
    CommandBox::For(edit1_, kShellBox).HandleOwnKeys(true);

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

    SetActiveEdit(edit1_, kShellBox);
    Layout();

    // The settings dialog's OK: the menu bar and the prompt at once.
    subscriptions_.push_back(AddCfgAppliedListener([this](const Settings&) {
        const Settings& s = TheSession().settings;
        if (s.menuBar) {
            MenuOn();
        } else {
            MenuOff();
        }
        ShowDirName(s.dirWindow);
    }));
    // A change of directory: the caption and the prompt.
    subscriptions_.push_back(AddDirectoryListener([this](const std::string& dir) {
        SetWindowTextA(Handle(), TheSession().title.c_str());
        SetPrompt(dir);
    }));
}

bool TfrmMain::TrayIconVisible() const { return residency_ && residency_->TrayIconVisible(); }

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
    MoveWindow(panel1_.Handle(), 8, 8, panelWidth, panelHeight_, TRUE);
    // The prompt and the box share the panel's inside, the prompt as wide as
    // its text.
    RECT inner{};
    GetClientRect(panel1_.Handle(), &inner);
    int x = 0;
    if (dirNameShown_) {
        const std::string text = GetText(dirName_);
        WindowDc dc(dirName_);
        SelectGuard font(dc.Get(), e1FontHandle_.Get());
        SIZE sz{};
        GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &sz);
        x = std::min<int>(sz.cx, inner.right);
        MoveWindow(dirName_, 0, 0, x, inner.bottom, TRUE);
    }
    MoveWindow(edit1_, x, 2, std::max<int>(inner.right - x, 0), std::max<int>(inner.bottom - 2, 0), TRUE);
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
    ModifyMenuA(action11_, kKSHIFT2, MF_BYCOMMAND | MF_STRING, kKSHIFT2, CaretToStartCaption(homeMode));
    ModifyMenuA(action11_, kKSHIFT1, MF_BYCOMMAND | MF_STRING, kKSHIFT1, CaretToEndCaption(homeMode));
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
        TheSession().menuBarShown = false;
        return;
    }
    RECT rc{};
    GetClientRect(Handle(), &rc);
    mainMenu_.Show(Handle(), false);
    const SIZE outer = OuterSizeForClient(rc.right, rc.bottom, kStyle, kExStyle, false);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TheSession().menuBarShown = false;
}

void TfrmMain::MenuOn() {
    if (MenuAttached()) {
        TheSession().menuBarShown = true;
        return;
    }
    RECT rc{};
    GetClientRect(Handle(), &rc);
    mainMenu_.Show(Handle(), true);
    const SIZE outer = OuterSizeForClient(rc.right, rc.bottom, kStyle, kExStyle, true);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TheSession().menuBarShown = true;
}

Geometry TfrmMain::NormalGeometry() const { return WindowGeometry(Handle()); }

void TfrmMain::ShowShell() {
    ShowWindow(Handle(), SW_SHOW);
    if (TheSession().settings.haitaHyoji) TheFiler().Close();
    SetForegroundWindow(Handle());
    SetFocus(edit1_);
}

void TfrmMain::FocusCommandBox() {
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

void RefocusLastActive() {
    HWND last = LastActiveForm();
    if (last && IsWindowVisible(last)) SetForegroundWindow(last);
}
}  // namespace

void SetLastActiveForm(HWND wnd) { TheEditBoxes().lastActiveForm = wnd; }
HWND LastActiveForm() { return TheEditBoxes().lastActiveForm; }

void ShowVersionWindow() {
    CurrentPrompter().MessageDlg("Kestrum Version " KESTRUM_VERSION_TEXT, MsgType::Information, MsgButtons::Ok);
}

void TfrmMain::HotKeyMsg1HotKey() {
    const Session& session = TheSession();
    const Settings& s = session.settings;
    ApplicationService& application = TheApplication();
    FilerService& filer = TheFiler();
    const bool foreground = ProgramIsForeground();
    if (!s.haitaHyoji) {
        if (Visible() && foreground) {
            ShowWindow(Handle(), SW_HIDE);
            application.UpdateTaskBar();
        } else {
            ShowWindow(Handle(), SW_SHOW);
            application.UpdateTaskBar();
            SetForegroundWindow(Handle());
        }
    } else if (session.filerLastActive && filer.Present()) {
        if (filer.Showing() && foreground) {
            filer.Hide();
            application.UpdateTaskBar();
        } else {
            if (Visible()) ShowWindow(Handle(), SW_HIDE);
            application.BringTaskWindowToFront();
            filer.Show();
            RefocusLastActive();
            application.UpdateTaskBar();
        }
    } else {
        if (Visible() && foreground) {
            ShowWindow(Handle(), SW_HIDE);
            application.UpdateTaskBar();
        } else {
            filer.Close();
            application.BringTaskWindowToFront();
            ShowWindow(Handle(), SW_SHOW);
            SetForegroundWindow(Handle());
            application.UpdateTaskBar();
            RefocusLastActive();
        }
    }
}

void TfrmMain::RunMenuCommand(UINT id) {
    Session& session = TheSession();
    switch (id) {
    case kKFont1: {
        FontSpec spec = ShellFont();
        if (PickFont(Handle(), spec)) SetShellFont(spec);
        break;
    }
    case kClose1: PostMessageA(Handle(), WM_CLOSE, 0, 0); break;
    case kKls1:
        Execute_t(CommandName(cmdLS));
        if (session.menuOffAfterLs) {
            session.menuOffAfterLs = false;
            MenuOff();
        }
        break;
    case kKEXIT1:
    case kExit1: Execute_t(CommandName(cmdEXIT)); break;
    case kK2: WinHelpA(Handle(), session.helpFile.c_str(), HELP_CONTEXT, 5); break;
    case kK1: WinHelpA(Handle(), session.helpFile.c_str(), HELP_CONTEXT, 62); break;
    case kK5: WinHelpA(Handle(), session.helpFile.c_str(), HELP_CONTEXT, 0); break;
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
    case kKSHIFT2: SetBoxCaret(edit1_, 0); break;
    case kKSHIFT1: SetBoxCaretToEnd(edit1_); break;
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
    case kK13: Execute_t(CommandName(cmdTVIEW)); break;
    case kK14: Execute_t(CommandName(cmdPVIEW)); break;
    case kK15: Execute_t(CommandName(cmdLS)); break;
    case kK8: ShowAliasEditor(Handle()); break;
    case kK9: ShowDirListEditor(Handle(), TDirListEditor::Which::LogList); break;
    case kK10: ShowDirListEditor(Handle(), TDirListEditor::Which::CopyList); break;
    case kK11: ShowFunctionEditor(Handle()); break;
    case kK7: ShowSettingsDialog(Handle(), kPageMain); break;
    case kK17:
        // The command boxes share the line-input window's key map.
        if (TfrmEdit* lineInput = TfrmEdit::Current()) lineInput->OpenKeyCustomize();
        break;
    default: break;
    }
}

void TfrmMain::Edit1KeyDown(WPARAM& key) { CommandBox::For(edit1_, kShellBox).KeyDown(key); }

void TfrmMain::OnActivate(bool active) {
    if (!active) {
        savedCaret_ = ReadBoxText(edit1_).caret;
        return;
    }
    SetFocus(edit1_);
    SetBoxCaret(edit1_, savedCaret_);
    SetActiveEdit(edit1_, kShellBox);
    TheSession().filerLastActive = false;
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
    const BoxText out = InsertDroppedPaths(ReadBoxText(edit1_), paths);
    WriteBoxText(edit1_, out);
    SetForegroundWindow(Handle());
}

void TfrmMain::FormCloseQuery() {
    // The task-bar window to the front, the colour file, and the state of
    // every window: the application knows them all.
    TheApplication().SaveStateAtClose();
}

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto answer = AnswerSlotColors(Handle(), msg, wp, lp, kColShellForm,
                                       {{edit1_, kColShellEditText, kColShellEditBack},
                                        {dirName_, kColShellDirText, kColShellDirBack},
                                        {label1_, kColShellLabelText, kColShellLabelBack}})) {
        return *answer;
    }
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
        if (lp == 0) {
            RunMenuCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if (HandleSystemMenuCommand(static_cast<unsigned>(wp & 0xFFF0))) return 0;
        break;
    case WM_ACTIVATE: OnActivate(LOWORD(wp) != WA_INACTIVE); return 0;
    case WM_SHOWWINDOW: DragAcceptFiles(Handle(), wp ? TRUE : FALSE); break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    case WM_CLOSE:
        // Closing is always allowed: an error while the state is saved is
        // shown, and the program ends all the same.
        try {
            FormCloseQuery();
        } catch (const std::exception& e) {
            ShowErrorBox(e.what());
        }
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        // The icon leaves the notification area and the key is released
        // while the program's windows still exist.
        residency_.reset();
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
