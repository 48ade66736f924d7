// TfrmFormat, built in code.
#include "fileops/format_dialog_win.h"

#include <shlobj.h>

#include "common/prompter.h"

namespace kestrum {

namespace {

constexpr int kClientWidth = 260;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kKindIdBase = 300;
constexpr const char* kKindCaptions[3] = {"クイックフォーマット", "通常フォーマット", "起動専用"};

}  // namespace

bool TfrmFormat::Create(HWND owner) {
    owner_ = owner;
    formatter_ = [](HWND wnd, UINT drive, UINT id, UINT options) { return SHFormatDrive(wnd, drive, id, options); };
    RegisterWindowClass("TfrmFormat1", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!CreateWin("TfrmFormat1", WS_EX_DLGMODALFRAME, style, "Format", CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                   owner)) {
        return false;
    }
    FormCreate();
    return true;
}

void TfrmFormat::FormCreate() {
    auto child = [this](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return AddChild(cls, text, style, x, y, w, h, id);
    };
    constexpr int inner = kClientWidth - 2 * kMargin;
    int y = kMargin;
    drives_ = child("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kMargin, y, inner, 200, 100);
    y += 32;
    constexpr int groupHeight = 20 + 3 * 22;
    child("BUTTON", "フォーマットの種類", BS_GROUPBOX, kMargin, y, inner, groupHeight, -1);
    AddRadioGroup(kinds_, kKindCaptions, kKindIdBase, kMargin + 12, y + 20, inner - 24, 20, 22);
    y += groupHeight + 12;
    ok_ = child("BUTTON", "ＯＫ", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, kClientWidth - kMargin - 2 * kButtonWidth - 8,
                y, kButtonWidth, kButtonHeight, IDOK);
    child("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, kClientWidth - kMargin - kButtonWidth, y, kButtonWidth,
          kButtonHeight, IDCANCEL);
    SetClientSize(kClientWidth, y + kButtonHeight + kMargin);
    FillDrives();
}

// The drives present now, as "A:" ... with the drive index as item data;
// the current directory's drive selected.
void TfrmFormat::FillDrives() {
    SendMessageA(drives_, CB_RESETCONTENT, 0, 0);
    const DWORD mask = GetLogicalDrives();
    for (int d = 0; d < 26; ++d) {
        if (!(mask & (1u << d))) continue;
        const char text[3] = {static_cast<char>('A' + d), ':', '\0'};
        const LRESULT i = SendMessageA(drives_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (i >= 0) SendMessageA(drives_, CB_SETITEMDATA, static_cast<WPARAM>(i), d);
    }
    char cur[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof cur, cur);
    const char letter = n >= 2 && cur[1] == ':' ? cur[0] : 'C';
    const int d = (letter >= 'a' && letter <= 'z') ? letter - 'a' : letter - 'A';
    if (!SelectDrive(d)) SendMessageA(drives_, CB_SETCURSEL, 0, 0);
}

bool TfrmFormat::SelectDrive(int drive) {
    const LRESULT count = SendMessageA(drives_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(drives_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == drive) {
            SendMessageA(drives_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    return false;
}

int TfrmFormat::SelectedDrive() const {
    const LRESULT i = SendMessageA(drives_, CB_GETCURSEL, 0, 0);
    if (i < 0) return -1;
    return static_cast<int>(SendMessageA(drives_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
}

int TfrmFormat::SelectedKind() const {
    for (int k = 0; k < 3; ++k) {
        if (IsChecked(kinds_[k])) return k;
    }
    return 0;
}

void TfrmFormat::Begin() {
    FillDrives();
    BeginModal();
    ShowWindow(Handle(), SW_SHOWNA);
}

void TfrmFormat::ShowModal() {
    Centre(owner_);
    Begin();
    HWND active = GetActiveWindow();
    SetForegroundWindow(Handle());
    SetFocus(drives_);
    if (!RunModal(active)) EndModal(0);
}

// Asks before anything happens; a cancelled question leaves the dialog open.
void TfrmFormat::OkClick() {
    const int drive = SelectedDrive();
    if (drive < 0) return;
    const int kind = SelectedKind();
    const std::string text =
        std::string(1, static_cast<char>('A' + drive)) + "ドライブを" + kKindCaptions[kind] + "で初期化します。";
    if (CurrentPrompter().MessageDlg(text, MsgType::Plain, MsgButtons::OkCancel) != mrOk) return;
    if (formatter_) formatter_(Handle(), static_cast<UINT>(drive), 0, static_cast<UINT>(kind));
    Finish();
}

void TfrmFormat::Finish() {
    ShowWindow(Handle(), SW_HIDE);
    EndModal(0);
}

LRESULT TfrmFormat::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: OkClick(); return 0;
        case IDCANCEL: Finish(); return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Finish(); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
