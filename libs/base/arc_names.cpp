// UTF-8 member names.
#include "libs/base/arc_names.h"

#include <cstdio>

namespace kestrum::arc {

namespace {

bool AsciiOnly(const std::string& utf8, std::string& sjis) {
    if (HasHighBytes(utf8)) return false;
    sjis = utf8;
    return true;
}

Utf8ToSjisFn gConvert = AsciiOnly;

// The length of the UTF-8 sequence at i and its code point; 0 when none.
std::size_t Sequence(std::string_view s, std::size_t i, char32_t& cp) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
    return n;
}

}  // namespace

void SetUtf8Conversion(Utf8ToSjisFn convert) { gConvert = convert ? convert : AsciiOnly; }

bool Utf8ToSjis(const std::string& utf8, std::string& sjis) {
    if (!IsUtf8(utf8)) return false;
    return gConvert(utf8, sjis);
}

bool IsUtf8(std::string_view s) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Sequence(s, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

bool HasHighBytes(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

bool IsCp932(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= s.size()) return false;
            unsigned char t = static_cast<unsigned char>(s[++i]);
            if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
            continue;
        }
        return false;
    }
    return true;
}

std::string Utf8ForMessage(const std::string& utf8) {
    std::string out;
    char32_t cp = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = Sequence(utf8, i, cp);
        if (n == 0) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", static_cast<unsigned char>(utf8[i]));
            out += buf;
            ++i;
            continue;
        }
        std::string sjis;
        if (gConvert(utf8.substr(i, n), sjis)) {
            out += sjis;
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "<U+%04X>", static_cast<unsigned>(cp));
            out += buf;
        }
        i += n;
    }
    return out;
}

}  // namespace kestrum::arc
