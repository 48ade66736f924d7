// The clipboard's text.
#include "common/clipboard_win.h"

#include <cstring>

namespace kestrum {

namespace {

// A moveable global block handed to the clipboard, which owns it once
// SetClipboardData succeeded; freed here otherwise.
class GlobalBlock {
public:
    explicit GlobalBlock(std::size_t size) : mem_(::GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalBlock() {
        if (mem_) ::GlobalFree(mem_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    // Copies size bytes in; false when the block is missing or cannot be locked.
    bool Fill(const void* data, std::size_t size) {
        if (!mem_) return false;
        void* p = ::GlobalLock(mem_);
        if (!p) return false;
        std::memcpy(p, data, size);
        ::GlobalUnlock(mem_);
        return true;
    }
    // Hands the block to the clipboard as format.
    bool SetAs(UINT format) {
        if (!mem_ || !::SetClipboardData(format, mem_)) return false;
        mem_ = nullptr;
        return true;
    }

private:
    HGLOBAL mem_;
};

bool PutBlock(UINT format, const void* data, std::size_t size) {
    GlobalBlock block(size);
    return block.Fill(data, size) && block.SetAs(format);
}

}  // namespace

bool SetClipboardText(HWND owner, const std::string& text) {
    ClipboardLock lock(owner);
    if (!lock.Open() || !::EmptyClipboard()) return false;
    if (!PutBlock(CF_TEXT, text.c_str(), text.size() + 1)) return false;
    // Without the locale the system reads the text in the user's code page:
    // the text is there all the same.
    const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);
    PutBlock(CF_LOCALE, &japanese, sizeof japanese);
    return true;
}

std::string GetClipboardText(HWND owner) {
    ClipboardLock lock(owner);
    if (!lock.Open()) return {};
    HANDLE h = ::GetClipboardData(CF_TEXT);
    if (!h) return {};
    const char* p = static_cast<const char*>(::GlobalLock(h));
    if (!p) return {};
    // The block may lack its terminating zero: read no further than its size.
    const std::size_t size = ::GlobalSize(h);
    const std::string text(p, strnlen(p, size));
    ::GlobalUnlock(h);
    return text;
}

}  // namespace kestrum
