// Saving a settings, key or colour file: every step of the commit failing
// in turn leaves the old file or the new one, never a mix, and never a
// temporary beside it.
#include "config/file_commit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "common/installed.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// A disk of whole files and one open file; the n-th call fails, a write
// failing after half of what it was given, as a full disk does.
class FaultySteps final : public CommitSteps {
public:
    explicit FaultySteps(int failAt) : failAt_(failAt) {}

    std::map<std::string, std::string> disk;
    bool reached = false;

    bool Create(const std::string& path) override {
        if (Fails()) return false;
        open_ = path;
        disk[path].clear();
        return true;
    }
    std::size_t Write(std::string_view bytes) override {
        // At most a few bytes at a time, as a platform may.
        const std::size_t n = std::min<std::size_t>(bytes.size(), 5);
        if (Fails()) {
            disk[*open_].append(bytes.substr(0, n / 2));
            return 0;
        }
        disk[*open_].append(bytes.substr(0, n));
        return n;
    }
    bool Flush() override { return !Fails(); }
    bool Close() override {
        open_.reset();
        return !Fails();
    }
    bool Replace(const std::string& temp, const std::string& target) override {
        if (Fails()) return false;
        disk[target] = disk.at(temp);
        disk.erase(temp);
        return true;
    }
    void Remove(const std::string& path) override {
        open_.reset();
        disk.erase(path);
    }

private:
    bool Fails() {
        if (++calls_ != failAt_) return false;
        reached = true;
        return true;
    }
    int failAt_;
    int calls_ = 0;
    std::optional<std::string> open_;
};

TEST(FileCommitTest, EveryFailingStepLeavesTheOldFileOrTheNewOne) {
    const std::string next = "[環境変数]\r\nSort, 1\r\n[END]\r\n";
    for (const bool existed : {true, false}) {
        int n = 1;
        for (;; ++n) {
            FaultySteps steps(n);
            if (existed) steps.disk["Kestrum.Cfg"] = "old";
            const bool saved = CommitFile(steps, "Kestrum.Cfg.tmp~", "Kestrum.Cfg", next);
            EXPECT_EQ(saved, !steps.reached) << "step " << n;
            EXPECT_FALSE(steps.disk.contains("Kestrum.Cfg.tmp~")) << "step " << n;
            if (saved) {
                EXPECT_EQ(steps.disk["Kestrum.Cfg"], next);
            } else if (existed) {
                EXPECT_EQ(steps.disk["Kestrum.Cfg"], "old") << "step " << n;
            } else {
                EXPECT_FALSE(steps.disk.contains("Kestrum.Cfg")) << "step " << n;
            }
            if (!steps.reached) break;
        }
        // Create, the writes of five bytes, flush, close, replace.
        EXPECT_EQ(n, static_cast<int>(1 + (next.size() + 4) / 5 + 3 + 1));
    }
}

// Without a platform's commit installed the standard library's calls save
// the file, over an old one too, and leave no temporary.
TEST(FileCommitTest, WithoutAPlatformThePlainCommitReplacesTheOldFile) {
    test::TempDir dir;
    const std::string target = dir.File("Kestrum.Cfg");
    const std::string temp = dir.File("Kestrum.Cfg.tmp~");
    ASSERT_EQ(Installed<CommitPlatform>(), nullptr);
    ASSERT_TRUE(CommitFile(temp, target, "old"));
    ASSERT_TRUE(CommitFile(temp, target, std::string(3u << 20, 'n')));  // more than one write
    EXPECT_EQ(test::ReadFile(target), std::string(3u << 20, 'n'));
    std::FILE* const left = std::fopen(temp.c_str(), "rb");
    EXPECT_EQ(left, nullptr);
    if (left) std::fclose(left);
    // A temporary that cannot be made fails the commit and leaves the file.
    EXPECT_FALSE(CommitFile(dir.File("none") + "/x.tmp~", target, "lost"));
    EXPECT_EQ(test::ReadFile(target).size(), 3u << 20);
}

}  // namespace
}  // namespace kestrum
