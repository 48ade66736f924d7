// The platform-free rules of changing directory: a bare drive with FLAGDCD,
// the root a failed change falls back to, and the directories kept per drive.
#include "fileops/change_dir.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(ChangeDirRulesTest, ABareDriveNamesItsLastDirectoryOnlyWithDcd) {
    Session s;
    s.settings.flagDcd = false;
    s.driveDirs[3] = "WORK\\SUB";
    EXPECT_EQ(WithDriveDirectory("D:", s), "D:");
    s.settings.flagDcd = true;
    EXPECT_EQ(WithDriveDirectory("D:", s), "D:\\WORK\\SUB");
    EXPECT_EQ(WithDriveDirectory("d:", s), "d:\\WORK\\SUB");
    EXPECT_EQ(WithDriveDirectory("E:", s), "E:\\");  // never visited: its root
    for (const char* other : {"D:\\", "D:X", "D", "..", "1:", "\x83:", ""}) {
        EXPECT_EQ(WithDriveDirectory(other, s), other) << other;
    }
}

TEST(ChangeDirRulesTest, OnlyAPathStartingWithADriveFallsBackToItsRoot) {
    EXPECT_EQ(FallbackRoot("D:\\NO\\SUCH"), "D:\\");
    EXPECT_EQ(FallbackRoot("e:rel"), "e:\\");
    EXPECT_EQ(FallbackRoot("docs"), "");  // not the root of drive D
    EXPECT_EQ(FallbackRoot("\\\\server\\share"), "");
    EXPECT_EQ(FallbackRoot("D"), "");
}

TEST(ChangeDirRulesTest, EachDriveKeepsItsLastDirectoryWithoutTheRoot) {
    Session s;
    RememberDriveDirectory(s, "C:\\WINDOWS\\表\\");
    RememberDriveDirectory(s, "z:\\");
    RememberDriveDirectory(s, "\\\\server\\share\\");
    EXPECT_EQ(s.driveDirs[2], "WINDOWS\\表\\");
    EXPECT_EQ(s.driveDirs[25], "");
    for (std::size_t i = 0; i < s.driveDirs.size(); ++i) {
        if (i != 2) {
            EXPECT_EQ(s.driveDirs[i], "") << i;
        }
    }
    EXPECT_EQ(DriveIndex('a'), 0);
    EXPECT_EQ(DriveIndex('Z'), 25);
    EXPECT_EQ(DriveIndex('@'), -1);
    EXPECT_EQ(DriveIndex('['), -1);
}

}  // namespace
}  // namespace kestrum
