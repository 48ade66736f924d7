// THotKeyMsg under the null display driver: the key is really taken from the
// system (another registration of it is refused), a key press reaches the
// event only while enabled, a changed key keeps its identifier, and the
// failures carry the texts the user sees.
#include "desktop/hot_key_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/desktop/hot_key_press.h"

namespace kestrum {
namespace {

const ShortCut kCtrlAltK = kScCtrl | kScAlt | 'K';
const ShortCut kCtrlAltJ = kScCtrl | kScAlt | 'J';

using test::Press;
using test::Taken;

TEST(HotKeyMsgTest, RegisteredKeyIsTakenAndReleasedWithTheObject) {
    ATOM id = 0;
    {
        THotKeyMsg hot("KestrumTestHotKey1");
        EXPECT_EQ(hot.Id(), 0);
        EXPECT_FALSE(Taken(kCtrlAltK));
        hot.SetHotKey(kCtrlAltK);
        EXPECT_EQ(hot.HotKey(), kCtrlAltK);
        EXPECT_TRUE(Taken(kCtrlAltK));
        id = hot.Id();
        // The identifier is the global atom of the component's name.
        EXPECT_NE(id, 0);
        EXPECT_EQ(GlobalFindAtomA("KestrumTestHotKey1"), id);
    }
    EXPECT_FALSE(Taken(kCtrlAltK));
    EXPECT_EQ(GlobalFindAtomA("KestrumTestHotKey1"), 0);
}

TEST(HotKeyMsgTest, KeyPressFiresTheEventOnlyWhileEnabled) {
    THotKeyMsg hot("KestrumTestHotKey2");
    int fired = 0;
    hot.OnHotKey = [&] { ++fired; };
    hot.SetHotKey(kCtrlAltK);
    Press(kCtrlAltK);
    EXPECT_EQ(fired, 0);
    hot.SetEnabled(true);
    Press(kCtrlAltK);
    EXPECT_EQ(fired, 1);
    // Another combination is not ours.
    Press(kCtrlAltJ);
    EXPECT_EQ(fired, 1);
}

TEST(HotKeyMsgTest, ChangedKeyKeepsTheIdentifierAndFreesTheOldOne) {
    THotKeyMsg hot("KestrumTestHotKey3");
    int fired = 0;
    hot.OnHotKey = [&] { ++fired; };
    hot.SetEnabled(true);
    hot.SetHotKey(kCtrlAltK);
    const ATOM id = hot.Id();
    hot.SetHotKey(kCtrlAltJ);
    EXPECT_EQ(hot.Id(), id);
    EXPECT_EQ(hot.HotKey(), kCtrlAltJ);
    EXPECT_FALSE(Taken(kCtrlAltK));
    EXPECT_TRUE(Taken(kCtrlAltJ));
    Press(kCtrlAltK);
    EXPECT_EQ(fired, 0);
    Press(kCtrlAltJ);
    EXPECT_EQ(fired, 1);
}

TEST(HotKeyMsgTest, DeleteAndZeroReleaseTheKey) {
    THotKeyMsg hot("KestrumTestHotKey4");
    hot.SetHotKey(kCtrlAltK);
    EXPECT_EQ(hot.DeleteHotKey(), 0u);
    EXPECT_EQ(hot.HotKey(), 0);
    EXPECT_FALSE(Taken(kCtrlAltK));
    EXPECT_EQ(hot.DeleteHotKey(), 0u);
    hot.SetHotKey(kCtrlAltK);
    const ATOM id = hot.Id();
    hot.SetHotKey(0);
    EXPECT_EQ(hot.HotKey(), 0);
    EXPECT_FALSE(Taken(kCtrlAltK));
    hot.SetHotKey(kCtrlAltK);
    EXPECT_EQ(hot.Id(), id);
    EXPECT_TRUE(Taken(kCtrlAltK));
}

std::string ErrorOf(THotKeyMsg& hot, ShortCut sc) {
    try {
        hot.SetHotKey(sc);
    } catch (const EHotKeyError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(HotKeyMsgTest, KeyHeldElsewhereIsRefusedAndTheOldKeyStays) {
    const HotKeyParts k = SplitShortCut(kCtrlAltK);
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x1234, k.modifiers, k.virtualKey));
    THotKeyMsg hot("KestrumTestHotKey5");
    int fired = 0;
    hot.OnHotKey = [&] { ++fired; };
    hot.SetEnabled(true);
    EXPECT_EQ(ErrorOf(hot, kCtrlAltK), "指定されたホットキーは他のプログラムが使用しています");
    EXPECT_EQ(hot.HotKey(), 0);

    // A working key is not lost to a refused change.
    hot.SetHotKey(kCtrlAltJ);
    EXPECT_EQ(ErrorOf(hot, kCtrlAltK), "指定されたホットキーは他のプログラムが使用しています");
    EXPECT_EQ(hot.HotKey(), kCtrlAltJ);
    EXPECT_TRUE(Taken(kCtrlAltJ));
    Press(kCtrlAltJ);
    EXPECT_EQ(fired, 1);
    UnregisterHotKey(nullptr, 0x1234);
}

TEST(HotKeyMsgTest, OtherFailuresNameTheKeyAndTheErrorNumber) {
    // The platform registers a key only for a window of the calling thread.
    THotKeyMsg hot("KestrumTestHotKey6");
    std::string error;
    std::thread other([&] { error = ErrorOf(hot, kScShift | kScCtrl | 0x71); });
    other.join();
    EXPECT_EQ(error, "ホットキーを登録できません:SHIFT+CTRL+F2:" + std::to_string(ERROR_WINDOW_OF_OTHER_THREAD));

    // A name no atom can be made of.
    THotKeyMsg unnamed(std::string(300, 'x'));
    const std::string atomError = ErrorOf(unnamed, kCtrlAltK);
    EXPECT_EQ(atomError.rfind("ホットキーを登録できません(ATOM):", 0), 0u) << atomError;
    EXPECT_GT(atomError.size(), std::string("ホットキーを登録できません(ATOM):").size());
    EXPECT_EQ(unnamed.Id(), 0);
    EXPECT_FALSE(Taken(kCtrlAltK));
}

}  // namespace
}  // namespace kestrum
