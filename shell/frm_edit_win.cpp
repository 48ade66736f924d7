// TfrmEdit: creation, menus, the question's before and after, browsing and
// the editing actions.
#include "shell/frm_edit_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include "common/history.h"
#include "common/modal_loop_win.h"
#include "common/signal.h"
#include "common/sjis.h"
#include "config/colors_win.h"
#include "config/key_custom_win.h"
#include "config/key_files_win.h"
#include "config/key_map.h"
#include "config/session.h"
#include "config/window_placement_win.h"
#include "shell/command_box.h"
#include "shell/command_box_win.h"
#include "shell/frm_main_win.h"

namespace kestrum {

namespace {

constexpr int kClientWidth = 330;
constexpr int kClientHeight = 149;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
constexpr int kIdEdit = 10;
constexpr int kIdBrowse = 3;
constexpr int kIdSpeed1 = 11;
constexpr int kIdSpeed2 = 12;
constexpr int kIdSpeed3 = 13;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

TfrmEdit* g_current = nullptr;

// The line-input map runs and captions the menu entries of the line-input
// window of the running program, whichever it is.
void ConnectEditKeyMap() {
    static const Subscription run = EditKeyX().runCommand.Connect([](int command) {
        TfrmEdit* form = TfrmEdit::Current();
        if (form && form->Handle()) SendMessageA(form->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    });
    static const Subscription captions = EditKeyX().setCaption.Connect([](int command, const std::string& caption) {
        TfrmEdit* form = TfrmEdit::Current();
        if (!form || !form->Menu()) return;
        ModifyMenuA(form->Menu(), static_cast<UINT>(command), MF_BYCOMMAND | MF_STRING,
                    static_cast<UINT_PTR>(command), caption.c_str());
        if (form->Handle() && !EditKeyX().RefreshingCaptions()) DrawMenuBar(form->Handle());
    });
    static const Subscription refreshed = EditKeyX().captionsRefreshed.Connect([] {
        TfrmEdit* form = TfrmEdit::Current();
        if (form && form->Handle() && form->Menu()) DrawMenuBar(form->Handle());
    });
}

}  // namespace

const char* EditActionName(int n) { return EditKeyActionName(n); }

TfrmEdit::~TfrmEdit() {
    if (g_current == this) g_current = nullptr;
}

TfrmEdit* TfrmEdit::Current() { return g_current; }

bool TfrmEdit::Create(HWND owner, const ProfileReader& profile) {
    BuildMenu();
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, WS_EX_DLGMODALFRAME, true);
    const Geometry def{200, 200, outer.cy, outer.cx};
    const Geometry g = OnVisibleDesktop(ReadGeometry(profile, "FORM_LS", "we", def), def);
    RegisterWindowClass("TfrmEdit", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmEdit", WS_EX_DLGMODALFRAME, kStyle, "Kestrum", g.left, g.top, g.width, g.height, owner,
                   menu_)) {
        DestroyMenu(menu_);
        menu_ = nullptr;
        return false;
    }
    FormCreate();
    g_current = this;
    ConnectEditKeyMap();
    return true;
}

void TfrmEdit::BuildMenu() {
    menu_ = CreateMenu();
    basic_ = CreatePopupMenu();
    for (int n = 0; n <= 6; ++n) AppendMenuA(basic_, MF_STRING, kEditAction0 + n, EditActionName(n));
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(basic_), "基本操作");
    // The user-defined functions fill this menu when they are loaded.
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "ユーザー定義(&U)");
    HMENU edit = CreatePopupMenu();
    for (int n = 7; n < kEditActionCount; ++n) AppendMenuA(edit, MF_STRING, kEditAction0 + n, EditActionName(n));
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "編集");
    HMENU cfg = CreatePopupMenu();
    AppendMenuA(cfg, MF_STRING, kEditKeyCustomize, "キーカスタマイズ");
    AppendMenuA(cfg, MF_STRING, kEditUserMenuEdit, "ユーザー定義編集");
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(cfg), "設定'(&C)");
}

void TfrmEdit::FormCreate() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HWND wnd = Handle();
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    labelFont_ = CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
    label1_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, wnd,
                              nullptr, inst, nullptr);
    edit1_ = CreateCommandEdit(wnd, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kIdEdit);
    auto button = [&](const char* text, int id, DWORD extra) {
        HWND b = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extra, 0, 0, 0, 0, wnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
        return b;
    };
    button1_ = button("OK", IDOK, BS_DEFPUSHBUTTON);
    button2_ = button("Cancel", IDCANCEL, 0);
    button3_ = button("参照(&R)", kIdBrowse, 0);
    speed1_ = button("登", kIdSpeed1, 0);
    speed2_ = button("参", kIdSpeed2, 0);
    speed3_ = button("履", kIdSpeed3, 0);
    SendMessageA(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), FALSE);
    SendMessageA(edit1_, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);

    CommandBox& box = CommandBox::For(edit1_, kLineInputBox);
    box.HandleOwnKeys(true);
    box.SetHistory(&history_);
    box.onAccept = [this] { Close(mrOk); };
    box.onBrowse = [this] { Browse(); };
    Layout();
}

Geometry TfrmEdit::NormalGeometry() const { return WindowGeometry(Handle()); }

void TfrmEdit::Layout() {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const int w = rc.right;
    const int inner = w - 16 > 0 ? w - 16 : 0;
    MoveWindow(label1_, 8, 8, inner, 20, TRUE);
    MoveWindow(edit1_, 8, 36, inner, 24, TRUE);
    MoveWindow(speed1_, 8, 70, 24, 22, TRUE);
    MoveWindow(speed2_, 34, 70, 24, 22, TRUE);
    MoveWindow(speed3_, 60, 70, 24, 22, TRUE);
    const int top = rc.bottom - 37 > 96 ? rc.bottom - 37 : 96;
    MoveWindow(button3_, w - 8 - 75, top, 75, 25, TRUE);
    MoveWindow(button2_, w - 16 - 150, top, 75, 25, TRUE);
    MoveWindow(button1_, w - 24 - 225, top, 75, 25, TRUE);
}

void TfrmEdit::ApplyHomeShiftMode(int mode) {
    const bool homeMode = mode != 0;
    ModifyMenuA(basic_, kEditAction0 + 3, MF_BYCOMMAND | MF_STRING, kEditAction0 + 3,
                homeMode ? "カーソルを文字列の先頭に移動     HOMECLR" : "カーソルを文字列の先頭に移動     SHIFT +←");
    ModifyMenuA(basic_, kEditAction0 + 4, MF_BYCOMMAND | MF_STRING, kEditAction0 + 4,
                homeMode ? "カーソルを文字列の最後に移動     HELP" : "カーソルを文字列の最後に移動     SHIFT +→");
    DrawMenuBar(Handle());
}

void TfrmEdit::BeginQuestion(LineQuestion& q) {
    question_ = &q;
    mode_ = q.mode;
    SetWindowTextA(Handle(), q.title.c_str());
    SetWindowTextA(label1_, q.prompt.c_str());
    history_ = q.history ? *q.history : std::vector<std::string>{};
    registered_ = q.registered;
    registeredKind_ = q.registeredKind;
    CommandBox& box = CommandBox::For(edit1_, kLineInputBox);
    box.Logic().SetLineMode(mode_);
    // A question for a program completes programs only.
    if (!fileFilter_.empty()) CompletionMask() = fileFilter_;

    // Centred over the window active at the call (the screen without one).
    RECT me{};
    GetWindowRect(Handle(), &me);
    RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND active = GetActiveWindow();
    if (active && active != Handle() && IsWindowVisible(active)) GetWindowRect(active, &over);
    const int w = me.right - me.left;
    const int h = me.bottom - me.top;
    SetWindowPos(Handle(), nullptr, over.left + (over.right - over.left - w) / 2,
                 over.top + (over.bottom - over.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    WriteBoxText(edit1_, BoxText{q.text, static_cast<int>(q.text.size())});
    box.Logic().Browser().Reset(q.text);
    EnableWindow(speed1_, registered_ != nullptr);
    const bool browse = !(mode_ & amNoBrowse);
    EnableWindow(button3_, browse);
    EnableWindow(speed2_, browse);
    if (mode_ & amSelectAll) SendMessageW(edit1_, EM_SETSEL, 0, -1);
    modalResult_ = 0;
    answered_ = false;
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(edit1_);
    SetActiveEdit(edit1_, kLineInputBox);
}

bool TfrmEdit::EndQuestion(bool ok) {
    CommandBox& box = CommandBox::For(edit1_, kLineInputBox);
    HistoryBrowser& browser = box.Logic().Browser();
    if (browser.Browsing() && !history_.empty()) history_.erase(history_.begin());
    browser.Reset();
    if (ok && question_) {
        std::string answer = GetText(edit1_);
        if (!(mode_ & amFreeText)) {
            if (answer.size() == 1 && IsLetter(answer[0])) {
                answer += ':';
            } else if (!(answer.size() == 2 && IsLetter(answer[0]) && answer[1] == ':')) {
                answer = FullPathFromCurrentDir(answer);
            }
        }
        question_->text = answer;
        if (question_->history) AddToHistory(*question_->history, answer, (mode_ & amPlainHistory) != 0);
    }
    SetWindowTextA(edit1_, "");
    registered_ = nullptr;
    registeredKind_ = 2;
    mode_ = 0;
    box.Logic().SetLineMode(0);
    question_ = nullptr;
    if (!fileFilter_.empty()) CompletionMask() = "*.*";
    fileFilter_.clear();
    answered_ = true;
    ShowWindow(Handle(), SW_HIDE);
    return ok;
}

bool TfrmEdit::AskLine(LineQuestion& q) {
    HWND active = GetActiveWindow();
    BeginQuestion(q);
    if (!RunModalLoop(Handle(), answered_)) modalResult_ = mrCancel;
    const bool ok = EndQuestion(modalResult_ == mrOk);
    if (active && IsWindow(active)) SetActiveWindow(active);
    return ok;
}

void TfrmEdit::Close(int result) {
    if (answered_) return;
    modalResult_ = result;
    answered_ = true;
}

std::optional<std::string> TfrmEdit::PlatformPickFile() {
    char file[MAX_PATH * 2] = {};
    const std::string dir = TheSession().currentDir;
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // Pairs of description and pattern, each ended by a zero byte.
    std::string filter;
    if (!fileFilter_.empty()) {
        filter = fileFilter_ + '\0' + fileFilter_ + '\0' + "*.*" + '\0' + "*.*" + '\0';
        ofn.lpstrFilter = filter.c_str();
    }
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

std::optional<std::string> TfrmEdit::PlatformPickFolder() {
    // The directory tree window, starting at the directory typed so far.
    std::string dir = TheSession().currentDir;
    if (edit1_) {
        const std::string typed = Trim(GetText(edit1_));
        if (!typed.empty()) dir = FullPathFromCurrentDir(typed);
    }
    if (!CurrentPrompter().AskDirectory(dir, Handle())) return std::nullopt;
    return dir;
}

void TfrmEdit::Browse() {
    if (mode_ & amNoBrowse) {
        Close(mrOk);
        return;
    }
    if (mode_ & amFreeText) {
        const auto file = pickFile ? pickFile() : PlatformPickFile();
        if (file) {
            std::string text = GetText(edit1_);
            if (mode_ & amReplaceOnBrowse) {
                text = *file;
            } else {
                text += (text.empty() ? "" : " ") + *file;
            }
            SetWindowTextA(edit1_, text.c_str());
        }
    } else {
        const auto dir = pickFolder ? pickFolder() : PlatformPickFolder();
        if (dir) {
            SetWindowTextA(edit1_, dir->c_str());
            Close(mrOk);
        }
    }
    SetBoxCaretToEnd(edit1_);
    SetFocus(edit1_);
}

void TfrmEdit::PickRegistered() {
    if (!registered_) return;
    const ListPick pick =
        CurrentPrompter().ShowList(*registered_, registeredKind_ == 3 ? ListStyle::NumberedWithMessage : ListStyle::Keyed);
    if (pick.result != mrOk) return;
    WriteBoxText(edit1_, BoxText{pick.text, static_cast<int>(pick.text.size())});
    SetFocus(edit1_);
}

void TfrmEdit::OpenKeyCustomize() {
    // The command boxes share this map; a save writes the .WK file.
    ShowKeyCustomDialog(Handle(), EditKeyX(), kKeyCustomCaption, [] { SaveEditKeyFile(); }, 0);
}

void TfrmEdit::HistoryList() { CommandBox::For(edit1_, kLineInputBox).HistoryList(); }

void TfrmEdit::RunEditAction(int n) {
    HWND target = ActiveEdit() && IsWindow(ActiveEdit()) ? ActiveEdit() : edit1_;
    auto read = [&] { return ReadBoxText(target); };
    auto write = [&](const BoxText& b, bool textChanged) {
        if (textChanged) {
            WriteBoxText(target, b);
        } else {
            SetBoxCaret(target, b.caret);
        }
    };
    BoxText b;
    switch (n) {
    case 0: SendMessageA(target, WM_KEYDOWN, CompletionKeyFor(TheSession().settings.autoName), 0); break;
    case 1: SendMessageA(target, WM_KEYDOWN, VK_UP, 0); break;
    case 2: SendMessageA(target, WM_KEYDOWN, VK_DOWN, 0); break;
    case 3: SetBoxCaret(target, 0); break;
    case 4: SetBoxCaretToEnd(target); break;
    case 5: Browse(); break;
    case 6: PickRegistered(); break;
    case 7:
        b = read();
        DeleteAfterCaret(b);
        write(b, true);
        break;
    case 8: SendMessageA(target, WM_COPY, 0, 0); break;
    case 9: SendMessageA(target, WM_PASTE, 0, 0); break;
    case 10: SendMessageA(target, WM_CUT, 0, 0); break;
    case 11:
        b = read();
        DeleteCharBeforeCaret(b);
        write(b, true);
        break;
    case 12: SendMessageA(target, EM_UNDO, 0, 0); break;
    case 13:
        b = read();
        CaretLeft(b);
        write(b, false);
        break;
    case 14:
        b = read();
        CaretRight(b);
        write(b, false);
        break;
    default: break;
    }
}

LRESULT TfrmEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
    // The colours of the shell window's counterparts: the form, the input
    // and the line above it.
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
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == label1_) {
            return reinterpret_cast<LRESULT>(
                PrepareSlotColors(reinterpret_cast<HDC>(wp), kColShellLabelText, kColShellLabelBack));
        }
        break;
    case WM_COMMAND: {
        const UINT id = LOWORD(wp);
        if (id >= kEditAction0 && id < kEditAction0 + kEditActionCount) {
            RunEditAction(static_cast<int>(id - kEditAction0));
            return 0;
        }
        switch (id) {
        case IDOK: Close(mrOk); return 0;
        case IDCANCEL: Close(mrCancel); return 0;
        case kIdBrowse:
        case kIdSpeed2: Browse(); return 0;
        case kIdSpeed1: PickRegistered(); return 0;
        case kIdSpeed3: HistoryList(); return 0;
        case kEditKeyCustomize: OpenKeyCustomize(); return 0;
        case kEditUserMenuEdit:
            // The user-definition editor opens from here once it exists.
            return 0;
        default: break;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) {
            SetActiveEdit(edit1_, kLineInputBox);
            SetLastActiveForm(Handle());
            SetFocus(edit1_);
            return 0;
        }
        break;
    case WM_CLOSE: Close(mrCancel); return 0;
    case WM_DESTROY:
        if (labelFont_) DeleteObject(labelFont_);
        labelFont_ = nullptr;
        break;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
