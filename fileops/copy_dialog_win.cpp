// TfrmCopyDialog: controls and the modal question.
#include "fileops/copy_dialog_win.h"

#include <string>

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

}  // namespace

bool TfrmCopyDialog::Create(HWND owner) {
    RegisterWindowClass("TfrmCopyDialog");
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, WS_EX_DLGMODALFRAME, false);
    if (!CreateWin("TfrmCopyDialog", WS_EX_DLGMODALFRAME, kStyle, "Kestrum", 0, 0, outer.cx, outer.cy, owner)) {
        return false;
    }
    FormCreate();
    Centre();
    return true;
}

void TfrmCopyDialog::FormCreate() {
    label1_ = AddChild("STATIC", "同名のファイルがあります。", SS_LEFT | SS_NOPREFIX, 12, 10, 312, 18, -1);
    panel1_ = AddChild("BUTTON", "", BS_GROUPBOX, 8, 30, 320, 118, -1);
    const char* captions[kRadioCount];
    for (int i = 0; i < kRadioCount; ++i) captions[i] = kRadioText[i].copying;
    AddRadioGroup(radios_, captions, kIdRadio0, 20, 44, 300, 22, 25);
    ok_ = AddChild("BUTTON", "ＯＫ", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 148, 158, 84, 28, IDOK);
    cancel_ = AddChild("BUTTON", "Ｃａｎｃｅｌ", BS_PUSHBUTTON | WS_TABSTOP, 240, 158, 84, 28, IDCANCEL);
}

CopyMode TfrmCopyDialog::CheckedMode() const {
    for (int i = kRadioCount - 1; i > 0; --i) {
        if (IsChecked(radios_[i])) return static_cast<CopyMode>(i + 1);
    }
    return cmNewer;
}

void TfrmCopyDialog::Begin(std::string_view prefix, int state) {
    const bool moving = state == 1;
    const std::string caption = std::string(prefix) + (moving ? " 移動" : " コピー");
    SetWindowTextA(Handle(), caption.c_str());
    for (int i = 0; i < kRadioCount; ++i) {
        SetWindowTextA(radios_[i], moving ? kRadioText[i].moving : kRadioText[i].copying);
    }
    BeginModal();
    Centre();
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(radios_[CheckedMode() - 1]);
}

CopyMode TfrmCopyDialog::Execute(std::string_view prefix, int state) {
    HWND active = GetActiveWindow();
    Begin(prefix, state);
    if (!RunModal(active)) EndModal(cmCancel);
    return Result();
}

void TfrmCopyDialog::Close(CopyMode result) {
    if (Finished()) return;
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT TfrmCopyDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: Close(CheckedMode()); return 0;
        case IDCANCEL: Close(cmCancel); return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Close(cmCancel); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
