// Shortcut text, shortcut values and the hot key's registration parts.
#include "desktop/hot_key.h"

#include "common/sjis.h"
#include "config/cfg_pages.h"

namespace kestrum {

namespace {

constexpr unsigned kVkF1 = 0x70;

// The virtual key of a key name the hot key accepts; 0 for none.
unsigned VirtualKeyOf(std::string_view name) {
    if (!IsHotKeyName(name)) return 0;
    const std::string key = UpperAscii(name);
    if (key.size() == 1) return static_cast<unsigned char>(key[0]);  // 'A'..'Z', '0'..'9'
    unsigned n = 0;
    for (std::size_t i = 1; i < key.size(); ++i) n = n * 10 + static_cast<unsigned>(key[i] - '0');
    return kVkF1 + n - 1;
}

std::string KeyNameOf(unsigned vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= kVkF1 && vk < kVkF1 + 24) return "F" + std::to_string(vk - kVkF1 + 1);
    return std::string();
}

}  // namespace

ShortCut TextToShortCut(std::string_view text) {
    const HotKeyText h = ParseHotText(text);
    const unsigned vk = VirtualKeyOf(h.key);
    if (vk == 0) return 0;
    ShortCut sc = static_cast<ShortCut>(vk);
    if (h.shift) sc |= kScShift;
    if (h.ctrl) sc |= kScCtrl;
    if (h.alt) sc |= kScAlt;
    return sc;
}

std::string ShortCutToText(ShortCut shortCut) {
    HotKeyText h;
    h.shift = (shortCut & kScShift) != 0;
    h.ctrl = (shortCut & kScCtrl) != 0;
    h.alt = (shortCut & kScAlt) != 0;
    h.key = KeyNameOf(shortCut & 0xFF);
    return FormatHotText(h);
}

HotKeyParts SplitShortCut(ShortCut shortCut) {
    HotKeyParts p;
    p.virtualKey = shortCut & 0xFF;
    if (shortCut & kScAlt) p.modifiers |= kHotModAlt;
    if (shortCut & kScCtrl) p.modifiers |= kHotModControl;
    if (shortCut & kScShift) p.modifiers |= kHotModShift;
    return p;
}

}  // namespace kestrum
