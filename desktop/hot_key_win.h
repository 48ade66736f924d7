// THotKeyMsg: one system-wide hot key, delivered as an event. The key is
// registered under a global atom made from the component's name, with a
// hidden message window of its own that receives WM_HOTKEY; everything is
// released when the object goes away.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "desktop/hot_key.h"

namespace kestrum {

// A hot key that could not be registered; what() is the text for the user.
class EHotKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class THotKeyMsg {
public:
    // name: the component's name, from which the global atom is made.
    explicit THotKeyMsg(std::string name);
    ~THotKeyMsg();
    THotKeyMsg(const THotKeyMsg&) = delete;
    THotKeyMsg& operator=(const THotKeyMsg&) = delete;

    ShortCut HotKey() const { return hotKey_; }
    // Registers the shortcut (0: releases the key held now and registers
    // nothing). A key held before is unregistered first and the atom is
    // reused as the identifier. Throws EHotKeyError with the text for the
    // user when the atom or the key cannot be had; the key held before is
    // then registered again, so the program keeps the key it had.
    void SetHotKey(ShortCut shortCut);
    // Unregisters the key: 0, or the platform's error code. HotKey becomes 0.
    DWORD DeleteHotKey();

    // The event fires only while enabled (initially not).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    std::function<void()> OnHotKey;

    // The identifier of the registration (the atom); 0 while there is none.
    ATOM Id() const { return atom_; }
    // The window WM_HOTKEY goes to.
    HWND WindowHandle() const;

private:
    class HotKeyWindow;
    bool Register(ShortCut shortCut);
    void OnWmHotKey();

    std::string name_;
    std::unique_ptr<HotKeyWindow> window_;
    ATOM atom_ = 0;
    ShortCut hotKey_ = 0;
    bool registered_ = false;
    bool enabled_ = false;
};

}  // namespace kestrum
