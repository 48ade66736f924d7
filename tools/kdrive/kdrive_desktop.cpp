// kdrive commands for the global hot key and the tray icon: keys pressed
// through the system's input, as a hot key needs them, and the icon's
// notifications and presence in the notification area.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "tools/kdrive/kdrive.h"

namespace kdrive {

namespace {

// The icons' notification message and the window that receives it.
constexpr UINT kTrayMessage = WM_USER + 200;

struct CallbackFind {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindCallback(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<CallbackFind*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == d->pid && std::string(cls) == "TCallbackWindow") {
        d->found = w;
        return FALSE;
    }
    return TRUE;
}

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// hotkey [SHIFT+][CTRL+][ALT+]KEY: the keys go down and up in order.
std::string PressThroughSystem(const std::string& spec) {
    std::vector<WORD> keys;
    std::string rest = spec;
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        const std::string mod = Upper(rest.substr(0, plus));
        if (mod == "SHIFT") {
            keys.push_back(VK_SHIFT);
        } else if (mod == "CTRL") {
            keys.push_back(VK_CONTROL);
        } else if (mod == "ALT") {
            keys.push_back(VK_MENU);
        } else {
            return "unknown modifier " + mod;
        }
        rest = rest.substr(plus + 1);
    }
    const int vk = KeyCode(rest);
    if (vk < 0) return "unknown key " + rest;
    keys.push_back(static_cast<WORD>(vk));
    std::vector<INPUT> in;
    for (WORD k : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        in.push_back(i);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size()) return "the keys were not sent";
    Sleep(300);
    return {};
}

}  // namespace

std::string Driver::RunDesktop(const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    if (cmd == "hotkey") return a.size() < 2 ? "usage: hotkey [SHIFT+][CTRL+][ALT+]KEY" : PressThroughSystem(a[1]);
    if (!process_) return "no program";
    CallbackFind find{pid_, nullptr};
    EnumWindows(FindCallback, reinterpret_cast<LPARAM>(&find));
    if (!find.found) return "the program has no tray icon window";
    const UINT id = a.size() > 2 ? static_cast<UINT>(std::atoi(a[2].c_str())) : 1;
    if (cmd == "tray") {
        // tray left|right|middle|double|move [ID]: what the notification area
        // posts for that mouse action on the icon.
        const std::string what = a.size() > 1 ? Upper(a[1]) : "";
        std::vector<UINT> mouse;
        if (what == "LEFT") {
            mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP};
        } else if (what == "RIGHT") {
            mouse = {WM_RBUTTONDOWN, WM_RBUTTONUP};
        } else if (what == "MIDDLE") {
            mouse = {WM_MBUTTONDOWN, WM_MBUTTONUP};
        } else if (what == "DOUBLE") {
            mouse = {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
        } else if (what == "MOVE") {
            mouse = {WM_MOUSEMOVE};
        } else {
            return "usage: tray left|right|middle|double|move [ID]";
        }
        for (UINT m : mouse) PostMessageA(find.found, kTrayMessage, id, static_cast<LPARAM>(m));
        Sleep(300);
        return {};
    }
    // expect-tray on|off [ID]: asks the notification area about the icon
    // without changing it.
    if (a.size() < 2) return "usage: expect-tray on|off [ID]";
    NOTIFYICONDATAA d{};
    d.cbSize = NOTIFYICONDATAA_V1_SIZE;
    d.hWnd = find.found;
    d.uID = id;
    const bool there = Shell_NotifyIconA(NIM_MODIFY, &d) != FALSE;
    const bool want = Upper(a[1]) == "ON";
    return there == want ? std::string() : std::string(want ? "the icon is not in the tray" : "the icon is in the tray");
}

}  // namespace kdrive
