// Test helpers for the global hot key: whether a shortcut is held by anyone,
// and a shortcut pressed through the system's input.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop/hot_key.h"

namespace kestrum::test {

// Whether another registration of the shortcut is refused now. Leaves
// nothing registered.
inline bool Taken(ShortCut sc) {
    const HotKeyParts p = SplitShortCut(sc);
    if (RegisterHotKey(nullptr, 0xBEEF, p.modifiers, p.virtualKey)) {
        UnregisterHotKey(nullptr, 0xBEEF);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

// Presses the shortcut as the keyboard would, then lets the messages
// through for a moment.
inline void Press(ShortCut sc) {
    std::vector<WORD> keys;
    if (sc & kScCtrl) keys.push_back(VK_CONTROL);
    if (sc & kScAlt) keys.push_back(VK_MENU);
    if (sc & kScShift) keys.push_back(VK_SHIFT);
    keys.push_back(static_cast<WORD>(sc & 0xFF));
    std::vector<INPUT> in;
    for (std::size_t n = 0; n < 2 * keys.size(); ++n) {
        const bool up = n >= keys.size();
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = up ? keys[2 * keys.size() - 1 - n] : keys[n];
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 300) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

}  // namespace kestrum::test
