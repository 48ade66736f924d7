// TfrmEdit: creation, menus, the question's before and after, browsing and
// the editing actions.
#include "shell/frm_edit_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include "common/history.h"
#include "common/menu_table_win.h"
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

// The line-input windows made, the newest in force.
Registry<TfrmEdit*>& EditForms() {
    static Registry<TfrmEdit*> forms;
    return forms;
}

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

TfrmEdit::~TfrmEdit() = default;

TfrmEdit* TfrmEdit::Current() {
    TfrmEdit* const* form = EditForms().Current();
    return form ? *form : nullptr;
}

bool TfrmEdit::Create(HWND owner, const ProfileReader& profile) {
    BuildMenu();
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, WS_EX_DLGMODALFRAME, true);
    const Geometry def{200, 200, outer.cy, outer.cx};
    const Geometry g = OnVisibleDesktop(ReadGeometry(profile, "FORM_LS", "we", def), def);
    RegisterWindowClass("TfrmEdit", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmEdit", WS_EX_DLGMODALFRAME, kStyle, "Kestrum", g.left, g.top, g.width, g.height, owner,
                   menu_.Get())) {
        menu_ = MenuBar();
        return false;
    }
    menu_.CreatedWith();
    FormCreate();
    current_ = EditForms().Register(this);
    ConnectEditKeyMap();
    return true;
}

void TfrmEdit::BuildMenu() {
    menu_ = MenuBar(CreateMenu());
    basic_ = AppendMenuTable(menu_.Get(), EditMenuTable())[kEditMenuBasic];
}

void TfrmEdit::FormCreate() {
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    labelFont_.Reset(CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"));
    label1_ = AddChild("STATIC", "", SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, 0);
    edit1_ = CreateCommandEdit(Handle(), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kIdEdit);
    auto button = [&](const char* text, int id, DWORD extra) {
        return AddChild("BUTTON", text, WS_TABSTOP | extra, 0, 0, 0, 0, id);
    };
    button1_ = button("OK", IDOK, BS_DEFPUSHBUTTON);
    button2_ = button("Cancel", IDCANCEL, 0);
    button3_ = button("参照(&R)", kIdBrowse, 0);
    speed1_ = button("登", kIdSpeed1, 0);
    speed2_ = button("参", kIdSpeed2, 0);
    speed3_ = button("履", kIdSpeed3, 0);
    SendMessageA(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);
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
    constexpr UINT toStart = kEditAction0 + EditKeyAction::CaretToStart;
    constexpr UINT toEnd = kEditAction0 + EditKeyAction::CaretToEnd;
    ModifyMenuA(basic_, toStart, MF_BYCOMMAND | MF_STRING, toStart, CaretToStartCaption(homeMode));
    ModifyMenuA(basic_, toEnd, MF_BYCOMMAND | MF_STRING, toEnd, CaretToEndCaption(homeMode));
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
    if (!fileFilter_.empty()) TheSession().completionMask = fileFilter_;

    // Centred over the window active at the call (the screen without one).
    HWND active = GetActiveWindow();
    Centre(active != Handle() ? active : nullptr);

    WriteBoxText(edit1_, BoxText{q.text, static_cast<int>(q.text.size())});
    box.Logic().Browser().Reset(q.text);
    EnableWindow(speed1_, registered_ != nullptr);
    const bool browse = !(mode_ & amNoBrowse);
    EnableWindow(button3_, browse);
    EnableWindow(speed2_, browse);
    if (mode_ & amSelectAll) SendMessageW(edit1_, EM_SETSEL, 0, -1);
    BeginModal();
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
    if (!fileFilter_.empty()) TheSession().completionMask = "*.*";
    fileFilter_.clear();
    EndModal(ModalResult());
    ShowWindow(Handle(), SW_HIDE);
    return ok;
}

bool TfrmEdit::AskLine(LineQuestion& q) {
    HWND active = GetActiveWindow();
    BeginQuestion(q);
    if (!RunModal(nullptr)) EndModal(mrCancel);
    const bool ok = EndQuestion(ModalResult() == mrOk);
    ActivateAgain(active);
    return ok;
}

void TfrmEdit::Close(int result) {
    if (Finished()) return;
    EndModal(result);
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
    if (pick.result != ListResult::Ok) return;
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
    case EditKeyAction::Complete:
        SendMessageA(target, WM_KEYDOWN, CompletionKeyFor(TheSession().settings.autoName), 0);
        break;
    case EditKeyAction::History: SendMessageA(target, WM_KEYDOWN, VK_UP, 0); break;
    case EditKeyAction::HistoryReturn: SendMessageA(target, WM_KEYDOWN, VK_DOWN, 0); break;
    case EditKeyAction::CaretToStart: SetBoxCaret(target, 0); break;
    case EditKeyAction::CaretToEnd: SetBoxCaretToEnd(target); break;
    case EditKeyAction::Browse: Browse(); break;
    case EditKeyAction::PickRegistered: PickRegistered(); break;
    case EditKeyAction::DeleteToEnd:
        b = read();
        DeleteAfterCaret(b);
        write(b, true);
        break;
    case EditKeyAction::Copy: SendMessageA(target, WM_COPY, 0, 0); break;
    case EditKeyAction::Paste: SendMessageA(target, WM_PASTE, 0, 0); break;
    case EditKeyAction::Cut: SendMessageA(target, WM_CUT, 0, 0); break;
    case EditKeyAction::DeleteBefore:
        b = read();
        DeleteCharBeforeCaret(b);
        write(b, true);
        break;
    case EditKeyAction::Undo: SendMessageA(target, EM_UNDO, 0, 0); break;
    case EditKeyAction::CaretLeft:
        b = read();
        CaretLeft(b);
        write(b, false);
        break;
    case EditKeyAction::CaretRight:
        b = read();
        CaretRight(b);
        write(b, false);
        break;
    default: break;
    }
}

LRESULT TfrmEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The colours of the shell window's counterparts: the form, the input
    // and the line above it.
    if (auto answer = AnswerSlotColors(Handle(), msg, wp, lp, kColShellForm,
                                       {{edit1_, kColShellEditText, kColShellEditBack},
                                        {label1_, kColShellLabelText, kColShellLabelBack}})) {
        return *answer;
    }
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
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
        labelFont_.Reset();
        break;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
