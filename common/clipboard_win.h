// The clipboard, opened by one owner at a time.
#pragma once

#include <windows.h>

#include <string>

namespace kestrum {

// The clipboard opened for one window for the lifetime of the object;
// closed again by the destructor. Nothing is read or written when the open
// failed (another program holds it): Open() says so.
class ClipboardLock {
public:
    explicit ClipboardLock(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardLock() {
        if (open_) ::CloseClipboard();
    }
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

// Puts Shift-JIS text on the clipboard as CF_TEXT with CF_LOCALE Japanese,
// so that the Unicode form the system makes from it is right whatever the
// user's locale. False when it cannot be opened or emptied, or the text's
// block cannot be allocated, locked or handed over.
bool SetClipboardText(HWND owner, const std::string& text);

// The CF_TEXT on the clipboard; empty when there is none or it cannot be
// opened.
std::string GetClipboardText(HWND owner);

}  // namespace kestrum
