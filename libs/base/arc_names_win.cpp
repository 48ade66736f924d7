// The platform's UTF-8 to Shift-JIS conversion.
#include "libs/base/arc_names_win.h"

#include <windows.h>

#include "libs/base/arc_names.h"

namespace kestrum::arc {

bool PlatformUtf8ToSjis(const std::string& utf8, std::string& sjis) {
    if (utf8.empty()) {
        sjis.clear();
        return true;
    }
    const int wn =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wn <= 0) return false;
    std::wstring w(static_cast<std::size_t>(wn), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), w.data(), wn);
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w.data(), wn, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    sjis.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w.data(), wn, sjis.data(), n, nullptr, &usedDefault);
    return !usedDefault;
}

void UsePlatformNames() { SetUtf8Conversion(PlatformUtf8ToSjis); }

}  // namespace kestrum::arc
