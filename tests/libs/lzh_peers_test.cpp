// The LHA core against independent tools: archives made by jlha (levels
// 0-2, -lh5- to -lh7-) list and extract byte-exact through our library,
// and archives we pack pass lhasa's test and extract byte-exact with it.
#include <gtest/gtest.h>

#include "libs/base/arc_platform_fs.h"
#include "libs/lzh/unlha_command.h"
#include "tests/libs/peer_util.h"
#include "tests/test_util.h"

namespace kestrum::lzh {
namespace {

namespace fs = std::filesystem;
using arc::test::ExpectSameFiles;
using arc::test::MakeMixedTree;
using arc::test::Shell;

TEST(LzhPeers, JlhaArchivesListAndExtractByteExact) {
    ASSERT_TRUE(arc::test::HaveTool("jlha")) << "jlha-utils is not installed (tools/setup.sh installs it)";
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    arc::PlatformFs nfs;
    for (int level = 0; level <= 2; ++level) {
        for (int method = 5; method <= 7; ++method) {
            SCOPED_TRACE("level " + std::to_string(level) + " -lh" + std::to_string(method) + "-");
            std::string name = "j" + std::to_string(level) + std::to_string(method) + ".lzh";
            fs::path arcPath = fs::path(tmp.Path()) / name;
            ASSERT_EQ(Shell("cd '" + src.string() + "' && jlha c" + std::to_string(level) + "o" +
                          std::to_string(method) + " '" + arcPath.string() + "' text.txt far.dat noise.bin empty.txt sub"),
                      0);
            std::vector<arc::ListEntry> entries;
            ASSERT_TRUE(ListLzh(nfs, arcPath.string(), entries));
            bool sawMethod = false;
            for (auto& e : entries) {
                if (e.name == "far.dat") {
                    EXPECT_EQ(e.mode, "-lh" + std::to_string(method) + "-");
                    EXPECT_EQ(e.original, fs::file_size(src / "far.dat"));
                    sawMethod = true;
                }
            }
            EXPECT_TRUE(sawMethod);
            fs::path out = fs::path(tmp.Path()) / ("out" + name);
            std::string text;
            ASSERT_EQ(RunUnlha(nfs, "x -m1 \"" + arcPath.string() + "\" " + out.string() + "\\", text), 0) << text;
            ExpectSameFiles(src, out);
        }
    }
}

TEST(LzhPeers, OurArchivesPassLhasa) {
    ASSERT_TRUE(arc::test::HaveTool("lhasa")) << "lhasa is not installed (tools/setup.sh installs it)";
    test::TempDir tmp;
    fs::path src = fs::path(tmp.Path()) / "src";
    MakeMixedTree(src);
    arc::PlatformFs nfs;
    std::string arcPath = tmp.Path() + "/ours.lzh";
    std::string text;
    ASSERT_EQ(RunUnlha(nfs, "a -d1 -a1 " + arcPath + " " + src.string() + "\\ text.txt far.dat noise.bin empty.txt sub", text),
              0)
        << text;
    std::vector<arc::ListEntry> entries;
    ASSERT_TRUE(ListLzh(nfs, arcPath, entries));
    for (auto& e : entries) {
        // Random bytes do not shrink and are stored.
        if (e.name == "noise.bin") {
            EXPECT_EQ(e.mode, "-lh0-");
        } else if (e.name == "text.txt") {
            EXPECT_EQ(e.mode, "-lh5-");
        } else if (e.name == "sub\\") {
            EXPECT_EQ(e.mode, "-lhd-");
        }
    }
    EXPECT_EQ(Shell("lhasa t '" + arcPath + "'"), 0);
    fs::path out = fs::path(tmp.Path()) / "lhasa-out";
    fs::create_directories(out);
    ASSERT_EQ(Shell("cd '" + out.string() + "' && lhasa xq '" + arcPath + "'"), 0);
    ExpectSameFiles(src, out);
    // Adding to the archive keeps what was there and replaces same names.
    arc::test::Spit(src / "text.txt", "replaced\n");
    ASSERT_EQ(RunUnlha(nfs, "a " + arcPath + " " + src.string() + "\\ text.txt", text), 0) << text;
    fs::path out2 = fs::path(tmp.Path()) / "lhasa-out2";
    fs::create_directories(out2);
    ASSERT_EQ(Shell("cd '" + out2.string() + "' && lhasa xq '" + arcPath + "'"), 0);
    ExpectSameFiles(src, out2);
}

}  // namespace
}  // namespace kestrum::lzh
