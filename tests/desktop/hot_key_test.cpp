// The hot key's shortcut text: what HOTTEXT may hold, the shortcut made of
// it, and the modifiers and key handed to the platform.
#include "desktop/hot_key.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(HotKeyTextTest, TextBecomesAShortcut) {
    struct Case {
        const char* text;
        ShortCut expected;
    };
    const Case cases[] = {
        {"CTRL+ALT+K", kScCtrl | kScAlt | 'K'},
        // After a reload every value is upper case; typed by hand it may not be.
        {"ctrl+alt+k", kScCtrl | kScAlt | 'K'},
        {"Alt+Ctrl+K", kScCtrl | kScAlt | 'K'},
        {" SHIFT + CTRL + 7 ", kScShift | kScCtrl | '7'},
        {"SHIFT+CTRL+ALT+F12", kScShift | kScCtrl | kScAlt | 0x7B},
        {"F1", 0x70},
        {"ALT+F24", kScAlt | 0x87},
        {"Z", 'Z'},
        // Nothing the platform could register: no shortcut at all.
        {"", 0},
        {"CTRL+ALT+", 0},
        {"CTRL+ALT", 0},
        {"CTRL+ALT+KK", 0},
        {"CTRL+ALT+F25", 0},
        {"CTRL+ALT+F0", 0},
        {"WIN+K", 0},
        {"CTRL+表", 0},
        {"SHIFT++", 0},
        {"K+CTRL", 0},
        {"\x83", 0},  // half a double-byte character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToShortCut(c.text), c.expected) << c.text;
    }
}

TEST(HotKeyTextTest, ShortcutTextReadsBackTheSame) {
    for (const char* text : {"CTRL+ALT+K", "SHIFT+F3", "SHIFT+CTRL+ALT+0", "F24", "ALT+Q"}) {
        const ShortCut sc = TextToShortCut(text);
        ASSERT_NE(sc, 0) << text;
        EXPECT_EQ(ShortCutToText(sc), text);
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc);
    }
    EXPECT_EQ(ShortCutToText(0), "");
    // A key without a name the settings can hold has no text.
    EXPECT_EQ(ShortCutToText(kScCtrl | 0x0D), "");
}

TEST(HotKeyTextTest, ModifiersForThePlatform) {
    const HotKeyParts all = SplitShortCut(TextToShortCut("SHIFT+CTRL+ALT+K"));
    EXPECT_EQ(all.modifiers, kHotModAlt | kHotModControl | kHotModShift);
    EXPECT_EQ(all.modifiers, 7u);
    EXPECT_EQ(all.virtualKey, static_cast<unsigned>('K'));
    const HotKeyParts ctrlAlt = SplitShortCut(TextToShortCut("CTRL+ALT+F5"));
    EXPECT_EQ(ctrlAlt.modifiers, 3u);  // MOD_ALT | MOD_CONTROL
    EXPECT_EQ(ctrlAlt.virtualKey, 0x74u);
    const HotKeyParts shift = SplitShortCut(TextToShortCut("SHIFT+1"));
    EXPECT_EQ(shift.modifiers, 4u);  // MOD_SHIFT
    EXPECT_EQ(shift.virtualKey, static_cast<unsigned>('1'));
}

}  // namespace
}  // namespace kestrum
