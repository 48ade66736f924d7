// TTrayIcon, its registry and TCallbackWindow, the window that receives the
// notifications of every icon.
#include "desktop/tray_icon_win.h"

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "common/message_pump_win.h"
#include "common/sjis.h"
#include "common/window_win.h"

namespace kestrum {

namespace {

const char kCannotRegister[] = "タスクトレイにアイコンを登録できません。";
constexpr UINT kMaxId = 999;

void RunPlatformPopup(const TrayPopupMenu& popup, POINT at) {
    // The menu closes when the user clicks elsewhere only if its window is
    // in front; the empty message afterwards lets the next one open.
    SetForegroundWindow(popup.commandWindow);
    TrackPopupMenu(popup.menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, popup.commandWindow, nullptr);
    PostMessageA(popup.commandWindow, WM_NULL, 0, 0);
}

std::string CutTip(std::string_view tip) {
    std::size_t end = 0;
    while (end < tip.size()) {
        const std::size_t next = NextChar(tip, end);
        if (next > kTipMax) break;
        end = next;
    }
    return std::string(tip.substr(0, end));
}

}  // namespace

// The hidden window that receives the notifications of every icon. It is a
// top-level window of its own (no owner), so that it outlives any form and
// hears the task bar announce that it was created again.
class TCallbackWindow : public Window {
public:
    TCallbackWindow() : taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
        RegisterWindowClass("TCallbackWindow");
        CreateWin("TCallbackWindow", WS_EX_TOOLWINDOW, WS_POPUP, "", 0, 0, 0, 0, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    UINT taskbarCreated_;
};

namespace {

struct Registry {
    std::map<UINT, TTrayIcon*> icons;
    std::unique_ptr<TCallbackWindow> window;
    TTrayIcon::Notifier notifier = [](DWORD message, NOTIFYICONDATAA& data) {
        return Shell_NotifyIconA(message, &data);
    };
    TTrayIcon::PopupRunner popup = RunPlatformPopup;
};

// Never destroyed: icons owned by static objects may outlive any static here.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

LRESULT TCallbackWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTrayMessage) {
        if (TTrayIcon* icon = TTrayIcon::Find(static_cast<UINT>(wp))) icon->Dispatch(static_cast<UINT>(lp));
        return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        // The notification area was made again (its program restarted): the
        // shown icons are added once more.
        // By identifier: an error box runs messages that may remove icons.
        std::vector<UINT> ids;
        for (const auto& entry : TheRegistry().icons) ids.push_back(entry.first);
        for (const UINT id : ids) {
            TTrayIcon* icon = TTrayIcon::Find(id);
            if (!icon) continue;
            try {
                icon->ReAdd();
            } catch (const ETrayError& e) {
                ShowErrorBox(e.what());
            }
        }
        return 0;
    }
    return Default(msg, wp, lp);
}

TTrayIcon::TTrayIcon() {
    Registry& r = TheRegistry();
    UINT id = r.icons.empty() ? 1 : r.icons.rbegin()->first + 1;
    if (id > kMaxId) {
        id = 1;
        while (id <= kMaxId && r.icons.count(id)) ++id;
        if (id > kMaxId) throw ETrayError(kCannotRegister);
    }
    id_ = id;
    if (!r.window) r.window = std::make_unique<TCallbackWindow>();
    r.icons[id_] = this;
}

TTrayIcon::~TTrayIcon() {
    Registry& r = TheRegistry();
    if (registered_) Delete();
    r.icons.erase(id_);
    if (r.icons.empty()) r.window.reset();
}

HWND TTrayIcon::CallbackWindow() {
    const Registry& r = TheRegistry();
    return r.window ? r.window->Handle() : nullptr;
}

TTrayIcon* TTrayIcon::Find(UINT id) {
    const Registry& r = TheRegistry();
    const auto it = r.icons.find(id);
    return it == r.icons.end() ? nullptr : it->second;
}

TTrayIcon::Notifier TTrayIcon::SetNotifier(Notifier notifier) {
    Notifier previous = std::move(TheRegistry().notifier);
    TheRegistry().notifier = std::move(notifier);
    return previous;
}

TTrayIcon::PopupRunner TTrayIcon::SetPopupRunner(PopupRunner runner) {
    PopupRunner previous = std::move(TheRegistry().popup);
    TheRegistry().popup = std::move(runner);
    return previous;
}

NOTIFYICONDATAA TTrayIcon::Record() const {
    NOTIFYICONDATAA d{};
    d.cbSize = NOTIFYICONDATAA_V1_SIZE;
    d.hWnd = CallbackWindow();
    d.uID = id_;
    d.uFlags = NIF_MESSAGE | NIF_ICON | (tip_.empty() ? 0 : NIF_TIP);
    d.uCallbackMessage = kTrayMessage;
    d.hIcon = icon_;
    std::memcpy(d.szTip, tip_.data(), tip_.size() < sizeof d.szTip ? tip_.size() : sizeof d.szTip - 1);
    return d;
}

void TTrayIcon::Add() {
    NOTIFYICONDATAA d = Record();
    if (!TheRegistry().notifier(NIM_ADD, d)) throw ETrayError(kCannotRegister);
    registered_ = true;
}

void TTrayIcon::Modify() {
    NOTIFYICONDATAA d = Record();
    if (!TheRegistry().notifier(NIM_MODIFY, d)) throw ETrayError(kCannotRegister);
}

void TTrayIcon::Delete() {
    NOTIFYICONDATAA d = Record();
    TheRegistry().notifier(NIM_DELETE, d);
    registered_ = false;
}

void TTrayIcon::ReAdd() {
    if (!visible_) return;
    registered_ = false;
    try {
        Add();
    } catch (const ETrayError&) {
        visible_ = false;
        throw;
    }
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (visible) {
        // An icon without a picture cannot be shown.
        if (!icon_) return;
        Add();
        visible_ = true;
    } else {
        visible_ = false;
        if (registered_) Delete();
    }
}

void TTrayIcon::SetIcon(HICON icon) {
    if (!icon) {
        SetVisible(false);
        icon_ = nullptr;
        return;
    }
    icon_ = icon;
    if (registered_) Modify();
}

void TTrayIcon::SetTipHelp(std::string_view tip) {
    std::string cut = CutTip(tip);
    if (cut == tip_) return;
    tip_ = std::move(cut);
    if (registered_) Modify();
}

void TTrayIcon::MouseDown(MouseButton button, unsigned shift, const TrayPopupMenu& popup, POINT at) {
    if (popup.menu && AutoPopup) {
        if (popup.commandWindow) SetForegroundWindow(popup.commandWindow);
        // What is waiting is handled first, as before any pop-up menu.
        PumpPendingMessages();
        TheRegistry().popup(popup, at);
        return;
    }
    if (OnMouseDown) OnMouseDown(button, shift, at.x, at.y);
}

void TTrayIcon::Dispatch(UINT mouseMessage) {
    POINT at{};
    GetCursorPos(&at);
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(0, at.x, at.y);
        break;
    case WM_LBUTTONDOWN: MouseDown(MouseButton::Left, ssLeft, LBPopupMenu, at); break;
    case WM_LBUTTONUP:
        if (OnMouseUp) OnMouseUp(MouseButton::Left, 0, at.x, at.y);
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) OnDblClick();
        break;
    case WM_RBUTTONDOWN: MouseDown(MouseButton::Right, ssRight, RBPopupMenu, at); break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(MouseButton::Right, 0, at.x, at.y);
        break;
    case WM_MBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(MouseButton::Middle, ssMiddle, at.x, at.y);
        break;
    case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(MouseButton::Middle, 0, at.x, at.y);
        break;
    default: break;
    }
}

}  // namespace kestrum
