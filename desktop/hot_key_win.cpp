// THotKeyMsg: the atom, the registration and the window that receives it.
#include "desktop/hot_key_win.h"

#include "common/window_win.h"

namespace kestrum {

// A message-only window: it receives WM_HOTKEY and nothing else of interest.
class THotKeyMsg::HotKeyWindow : public Window {
public:
    explicit HotKeyWindow(THotKeyMsg& owner) : owner_(owner) {
        RegisterWindowClass("THotKeyMsgWindow");
        CreateWin("THotKeyMsgWindow", 0, WS_POPUP, "", 0, 0, 0, 0, HWND_MESSAGE);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        // An exception from the handler reaches the error box through Window.
        if (msg == WM_HOTKEY) {
            owner_.OnWmHotKey();
            return 0;
        }
        return Default(msg, wp, lp);
    }

private:
    THotKeyMsg& owner_;
};

THotKeyMsg::THotKeyMsg(std::string name) : name_(std::move(name)), window_(std::make_unique<HotKeyWindow>(*this)) {}

THotKeyMsg::~THotKeyMsg() {
    if (registered_) UnregisterHotKey(WindowHandle(), atom_);
    if (atom_) GlobalDeleteAtom(atom_);
}

HWND THotKeyMsg::WindowHandle() const { return window_->Handle(); }

bool THotKeyMsg::Register(ShortCut shortCut) {
    const HotKeyParts p = SplitShortCut(shortCut);
    registered_ = RegisterHotKey(WindowHandle(), atom_, p.modifiers, p.virtualKey) != FALSE;
    return registered_;
}

void THotKeyMsg::SetHotKey(ShortCut shortCut) {
    const ShortCut old = registered_ ? hotKey_ : 0;
    if (registered_) {
        UnregisterHotKey(WindowHandle(), atom_);
        registered_ = false;
    }
    hotKey_ = 0;
    if (shortCut == 0) return;
    if (!atom_) {
        atom_ = GlobalAddAtomA(name_.c_str());
        if (!atom_) throw EHotKeyError("ホットキーを登録できません(ATOM):" + std::to_string(GetLastError()));
    }
    if (Register(shortCut)) {
        hotKey_ = shortCut;
        return;
    }
    const DWORD error = GetLastError();
    if (old != 0 && Register(old)) hotKey_ = old;
    if (error == ERROR_HOTKEY_ALREADY_REGISTERED) throw EHotKeyError("指定されたホットキーは他のプログラムが使用しています");
    throw EHotKeyError("ホットキーを登録できません:" + ShortCutToText(shortCut) + ":" + std::to_string(error));
}

DWORD THotKeyMsg::DeleteHotKey() {
    DWORD result = 0;
    if (registered_ && !UnregisterHotKey(WindowHandle(), atom_)) result = GetLastError();
    registered_ = false;
    hotKey_ = 0;
    return result;
}

void THotKeyMsg::OnWmHotKey() {
    if (enabled_ && OnHotKey) OnHotKey();
}

}  // namespace kestrum
