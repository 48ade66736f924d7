// The platform's file system behind the seam, in a temporary folder under
// Wine: the same contract the in-memory one keeps.
#include "common/file_system_win.h"

#include <gtest/gtest.h>

#include "tests/common/file_system_contract.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

TEST(PlatformFileSystem, KeepsTheContract) {
    test::TempDir dir;
    test::CheckFileSystemContract(PlatformFileSystem(), dir.Path());
    EXPECT_EQ(PlatformFileSystem().DriveTypeOf('C'), kDriveFixed);
}

}  // namespace
}  // namespace kestrum
