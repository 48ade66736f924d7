// TfrmCopyDialog: controls and the modal question.
#include "fileops/copy_dialog_win.h"

#include <string>

#include "common/modal_loop_win.h"

namespace kestrum {

namespace {

enum : int { kIdRadio0 = 101 };
// No WS_CLIPCHILDREN: the group box leaves its inside to the dialog.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
constexpr int kClientWidth = 336;
constexpr int kClientHeight = 196;

struct RadioTexts {
    const char* moving;
    const char* copying;
};
constexpr RadioTexts kRadioText[TfrmCopyDialog::kRadioCount] = {
    {"日付が新しいファイルを移動。古いファイルは削除", "日付が新しいファイルをコピー"},
    {"名前を変えて移動", "名前を変えてコピー"},
    {"全て上書き移動。", "全て上書きコピー。"},
    {"同名は移動しない。", "同名はコピーしない。"},
};

TfrmCopyDialog* g_current = nullptr;

bool Checked(HWND w) { return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

TfrmCopyDialog::~TfrmCopyDialog() {
    if (g_current == this) g_current = nullptr;
}

TfrmCopyDialog* TfrmCopyDialog::Current() { return g_current; }

bool TfrmCopyDialog::Create(HWND owner) {
    RegisterWindowClass("TfrmCopyDialog");
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, WS_EX_DLGMODALFRAME, false);
    if (!CreateWin("TfrmCopyDialog", WS_EX_DLGMODALFRAME, kStyle, "Kestrum", 0, 0, outer.cx, outer.cy, owner)) {
        return false;
    }
    FormCreate();
    Center();
    g_current = this;
    return true;
}

void TfrmCopyDialog::FormCreate() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    auto make = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return c;
    };
    label1_ = make("STATIC", "同名のファイルがあります。", SS_LEFT | SS_NOPREFIX, -1, 12, 10, 312, 18);
    panel1_ = make("BUTTON", "", BS_GROUPBOX, -1, 8, 30, 320, 118);
    for (int i = 0; i < kRadioCount; ++i) {
        const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        radios_[i] = make("BUTTON", kRadioText[i].copying, style, kIdRadio0 + i, 20, 44 + 25 * i, 300, 22);
    }
    ok_ = make("BUTTON", "ＯＫ", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, IDOK, 148, 158, 84, 28);
    cancel_ = make("BUTTON", "Ｃａｎｃｅｌ", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 240, 158, 84, 28);
    SendMessageA(radios_[0], BM_SETCHECK, BST_CHECKED, 0);
}

void TfrmCopyDialog::Center() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TfrmCopyDialog::CheckedMode() const {
    for (int i = kRadioCount - 1; i > 0; --i) {
        if (Checked(radios_[i])) return i + 1;
    }
    return 1;
}

void TfrmCopyDialog::Begin(std::string_view prefix, int state) {
    const bool moving = state == 1;
    const std::string caption = std::string(prefix) + (moving ? " 移動" : " コピー");
    SetWindowTextA(Handle(), caption.c_str());
    for (int i = 0; i < kRadioCount; ++i) {
        SetWindowTextA(radios_[i], moving ? kRadioText[i].moving : kRadioText[i].copying);
    }
    finished_ = false;
    result_ = 0;
    Center();
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(radios_[CheckedMode() - 1]);
}

int TfrmCopyDialog::Execute(std::string_view prefix, int state) {
    HWND active = GetActiveWindow();
    Begin(prefix, state);
    if (!RunModalLoop(Handle(), finished_)) result_ = 0;
    finished_ = true;
    if (active && IsWindow(active) && active != Handle()) SetActiveWindow(active);
    return result_;
}

void TfrmCopyDialog::Close(int result) {
    if (finished_) return;
    result_ = result;
    finished_ = true;
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT TfrmCopyDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: Close(CheckedMode()); return 0;
        case IDCANCEL: Close(0); return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Close(0); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
