// The global hot key as the settings hold it: the shortcut text of HOTTEXT
// ("CTRL+ALT+K"), the 16-bit shortcut value, and the modifier flags and
// virtual key that the platform's registration takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

// A shortcut: the virtual key in the low byte, the modifiers above it.
using ShortCut = std::uint16_t;
enum : ShortCut { kScShift = 0x2000, kScCtrl = 0x4000, kScAlt = 0x8000 };

// Modifier flags of the platform's hot-key registration.
enum : unsigned { kHotModAlt = 1, kHotModControl = 2, kHotModShift = 4 };

// The shortcut named by a shortcut text: modifiers SHIFT, CTRL and ALT in
// any case and order, joined by "+", then one letter, one digit or F1..F24.
// 0 when the text names no key the hot key can take (empty, unknown key,
// unknown modifier, modifiers only).
ShortCut TextToShortCut(std::string_view text);

// The shortcut as HOTTEXT writes it ("SHIFT+CTRL+ALT+F3"); empty for 0 or a
// key without a name.
std::string ShortCutToText(ShortCut shortCut);

struct HotKeyParts {
    unsigned modifiers = 0;  // kHotModAlt | kHotModControl | kHotModShift
    unsigned virtualKey = 0;
};
// The registration's modifiers and virtual key of a shortcut.
HotKeyParts SplitShortCut(ShortCut shortCut);

}  // namespace kestrum
