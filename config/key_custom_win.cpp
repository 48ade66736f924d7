// TKCForm: the key customisation dialog, built in code.
#include "config/key_custom_win.h"

#include "common/prompter.h"
#include "config/session.h"

namespace kestrum {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 330;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

Registry<KeyCustomRunner>& Runners() {
    static Registry<KeyCustomRunner> runners;
    return runners;
}

bool Down(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

bool TKCForm::Create(HWND owner, TKeyX& keyx, const std::string& caption, std::function<void()> onSave,
                     int helpIndex) {
    keyx_ = &keyx;
    work_.Assign(keyx.KeyXUserKey);
    onSave_ = std::move(onSave);
    helpIndex_ = helpIndex;
    RegisterWindowClass("TKCForm");
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, WS_EX_DLGMODALFRAME, false);
    if (!CreateWin("TKCForm", WS_EX_DLGMODALFRAME, kStyle, caption.empty() ? kKeyCustomDefaultCaption : caption, 0,
                   0, outer.cx, outer.cy, owner)) {
        return false;
    }
    Centre(owner);
    FormCreate();
    return true;
}

void TKCForm::FormCreate() {
    auto make = [&](DWORD ex, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        return AddChild(cls, text, style, x, y, w, h, id, ex);
    };
    list_ = make(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                 kIdList, 8, 8, 270, kClientHeight - 16);
    make(0, "STATIC", "キー", SS_NOPREFIX, 0, 290, 8, 160, 18);
    field_ = make(WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, kIdField, 290, 28, 160,
                  24);
    shift_ = make(0, "BUTTON", "SHIFT", WS_TABSTOP | BS_AUTOCHECKBOX, kIdShift, 290, 62, 100, 20);
    ctrl_ = make(0, "BUTTON", "CTRL", WS_TABSTOP | BS_AUTOCHECKBOX, kIdCtrl, 290, 86, 100, 20);
    alt_ = make(0, "BUTTON", "ALT", WS_TABSTOP | BS_AUTOCHECKBOX, kIdAlt, 290, 110, 100, 20);
    update_ = make(0, "BUTTON", "更新", WS_TABSTOP | BS_DEFPUSHBUTTON, kIdUpdate, 290, 150, 90, 25);
    save_ = make(0, "BUTTON", "保存", WS_TABSTOP, kIdSave, 290, 184, 90, 25);
    cancel_ = make(0, "BUTTON", "Cancel", WS_TABSTOP, kIdCancel, 290, 218, 90, 25);
    help_ = make(0, "BUTTON", "Help", WS_TABSTOP, kIdHelp, 290, 252, 90, 25);

    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("なし"));
    for (const KeyAction& a : keyx_->Actions()) {
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(a.name.c_str()));
    }
    SendMessageA(list_, LB_SETCURSEL, 0, 0);
    EnableWindow(update_, FALSE);
    fieldSubclass_.Attach(field_, this, &TKCForm::FieldProc);
}

int TKCForm::ShowModal() {
    BeginModal();
    SetFocus(field_);
    if (!RunModal(nullptr)) EndModal(mrCancel);
    return ModalResult() == mrOk ? mrOk : mrCancel;
}

unsigned char TKCForm::TickedModifiers() const {
    return ModifierBits(IsChecked(shift_), IsChecked(ctrl_), IsChecked(alt_));
}

void TKCForm::Reselect() {
    int entry = 0;
    const int r = work_.Find(capturedKey_, TickedModifiers());
    if (capturedKey_ != 0 && r >= 0) {
        const int n = keyx_->IndexOfId(work_.Get(r).action);
        if (n >= 0) entry = n + 1;
    }
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}

void TKCForm::CaptureKeyDown(int key, unsigned char modifiers) {
    if (modifiers == 0 && (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN)) {
        // Paging and moving stay with the list.
        SendMessageA(list_, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        return;
    }
    if (modifiers == 0 && key == VK_RETURN) {
        Update();  // the default button
        return;
    }
    SetChecked(shift_, (modifiers & kModShift) != 0);
    SetChecked(ctrl_, (modifiers & kModCtrl) != 0);
    SetChecked(alt_, (modifiers & kModAlt) != 0);
    if ((modifiers & kModAlt) && keyx_->OnAltKey) keyx_->OnAltKey();
    key = MainRowKey(key);
    const unsigned ch = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0x7FFF;
    const std::string name = CapturedKeyName(key, ch);
    SetWindowTextA(field_, name.c_str());
    capturedKey_ = name.empty() ? 0 : key;
    Reselect();
    EnableWindow(update_, FALSE);
}

void TKCForm::Update() {
    EnableWindow(update_, FALSE);
    const LRESULT entry = SendMessageA(list_, LB_GETCURSEL, 0, 0);
    if (entry == LB_ERR || capturedKey_ == 0) return;
    std::optional<int> action;
    if (entry > 0) action = keyx_->Id(static_cast<int>(entry) - 1);
    UpdateBinding(work_, capturedKey_, GetText(field_), TickedModifiers(), action);
}

void TKCForm::Save() {
    Update();
    keyx_->KeyXUserKey.Assign(work_);
    if (onSave_) onSave_();
    keyx_->RefreshCaptions();
    Close(mrOk);
}

void TKCForm::Close(int result) {
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT TKCForm::FieldProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Every key but a plain Tab is captured (Return, Escape, arrows).
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_TAB && !Down(VK_SHIFT) && !Down(VK_CONTROL)) break;
        return DLGC_WANTALLKEYS | Subclass::CallNext(wnd, msg, wp, lp);
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // WM_SYSKEYDOWN is also how Alt+F4 arrives: taken here, it never closes the dialog.
        const bool alt = msg == WM_SYSKEYDOWN ? (lp & (1 << 29)) != 0 || Down(VK_MENU) : Down(VK_MENU);
        CaptureKeyDown(static_cast<int>(wp), ModifierBits(Down(VK_SHIFT), Down(VK_CONTROL), alt));
        return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_SYSKEYUP: return 0;  // typed characters are discarded
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

LRESULT TKCForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kIdList:
            if (HIWORD(wp) == LBN_SELCHANGE) EnableWindow(update_, TRUE);
            return 0;
        case kIdShift:
        case kIdCtrl:
        case kIdAlt:
            if (HIWORD(wp) == BN_CLICKED) Reselect();
            return 0;
        case IDOK:
        case kIdUpdate: Update(); return 0;
        case kIdSave: Save(); return 0;
        case IDCANCEL:
        case kIdCancel: Close(mrCancel); return 0;
        case kIdHelp:
            if (!TheSession().helpFile.empty()) {
                WinHelpA(Handle(), TheSession().helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(helpIndex_));
            }
            return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Close(mrCancel); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

int ShowKeyCustomDialog(HWND owner, TKeyX& keyx, const std::string& caption, std::function<void()> onSave,
                        int helpIndex) {
    TKCForm form;
    if (!form.Create(owner, keyx, caption, std::move(onSave), helpIndex)) return mrCancel;
    if (const KeyCustomRunner* runner = Runners().Current(); runner && *runner) {
        const KeyCustomRunner run = *runner;  // a copy: the runner may change the registrations
        return run(form);
    }
    return form.ShowModal();
}

Subscription InstallKeyCustomRunner(KeyCustomRunner runner) { return Runners().Register(std::move(runner)); }

}  // namespace kestrum
