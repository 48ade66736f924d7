// End to end under the null display driver: the global hot key of a running
// Kestrum.exe pressed through the system's input, the shell hidden after
// starting a program, and a start where the notification area refuses the
// icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/drive.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

class ResidentEndToEndTest : public testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(dir_.File("my.WK"), "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル\r\n");
        test::WriteFile(dir_.File("my.TVK"), "#ＫＥＳＴＲＵＭ TVキー設定ファイル\r\n");
    }
    std::string Start(const std::string& env) {
        test::WriteFile(dir_.File("my.cfg"), "[環境変数]\r\nFILERAUTO, 0\r\n" + env + "[END]\r\n");
        return "start Kestrum.exe \"" + dir_.File("my.cfg") + "\"";
    }
    test::TempDir dir_;
};

TEST_F(ResidentEndToEndTest, HotKeyHidesTheShellAndBringsItBack) {
    const test::DriveResult r = test::Drive(
        dir_, {Start("HOTKEYFLAG, 1\r\nHOTTEXT, CTRL+ALT+K\r\n"), "wait-window TfrmMain", "focus TfrmMain",
               "hotkey CTRL+ALT+K", "wait-gone TfrmMain 5000",
               // Without the tray icon the task-bar button is the way back.
               "expect-visible TApplication", "hotkey CTRL+ALT+K", "wait-window TfrmMain \"\" 5000", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
}

TEST_F(ResidentEndToEndTest, HiddenAfterStartingAProgramTheTaskBarLeadsBack) {
    // HIDEFLAG hides the shell once a program has started; with neither
    // icon nor hot key, restoring from the task-bar button brings it back.
    const test::DriveResult r = test::Drive(
        dir_, {Start("HIDEFLAG, 1\r\n"), "wait-window TfrmMain", "focus TfrmMain",
               "type " + test::BinDir() + "kdrive.exe", "key RETURN", "wait-gone TfrmMain 5000",
               "expect-visible TApplication", "sysmenu TApplication " + std::to_string(SC_RESTORE),
               "wait-window TfrmMain \"\" 5000", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
}

TEST_F(ResidentEndToEndTest, RefusedIconIsToldAndTheProgramGoesOn) {
    // No notification area under the null driver: the icon is refused.
    const test::DriveResult r = test::Drive(
        dir_, {Start("TASKTRAY, 1\r\nTASKSHOW, 1\r\nHOTKEYFLAG, 1\r\nHOTTEXT, CTRL+ALT+K\r\n"), "wait-window #32770",
               "text #32770 Static 1", "press #32770 1", "wait-window TfrmMain", "expect-visible TApplication",
               "focus TfrmMain", "hotkey CTRL+ALT+K", "wait-gone TfrmMain 5000", "expect-visible TApplication",
               "hotkey CTRL+ALT+K", "wait-window TfrmMain \"\" 5000", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_NE(r.output.find("タスクトレイにアイコンを登録できません。"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace kestrum
