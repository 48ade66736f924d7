// CommitFile: the order of the steps, the same on every platform.
#include "config/file_commit.h"

#include <algorithm>
#include <cstdio>

#include "common/installed.h"

namespace kestrum {

bool CommitFile(CommitSteps& steps, const std::string& temp, const std::string& target, std::string_view bytes) {
    if (!steps.Create(temp)) {
        // A half-made temporary may be there all the same.
        steps.Remove(temp);
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const std::size_t n = steps.Write(bytes.substr(done, std::min<std::size_t>(bytes.size() - done, 1u << 20)));
        if (n == 0) {
            ok = false;
        } else {
            done += n;
        }
    }
    ok = ok && steps.Flush();
    ok = steps.Close() && ok;
    if (ok && steps.Replace(temp, target)) return true;
    steps.Remove(temp);
    return false;
}

namespace {

// The standard library's calls: no flush to the disk, and a replace that
// is two steps where renaming over a file is refused.
class PlainCommitSteps final : public CommitSteps {
public:
    ~PlainCommitSteps() override {
        if (file_) std::fclose(file_);
    }
    bool Create(const std::string& path) override {
        file_ = std::fopen(path.c_str(), "wb");
        return file_ != nullptr;
    }
    std::size_t Write(std::string_view bytes) override { return std::fwrite(bytes.data(), 1, bytes.size(), file_); }
    bool Flush() override { return std::fflush(file_) == 0; }
    bool Close() override {
        std::FILE* const file = file_;
        file_ = nullptr;
        return std::fclose(file) == 0;
    }
    bool Replace(const std::string& temp, const std::string& target) override {
        if (std::rename(temp.c_str(), target.c_str()) == 0) return true;
        std::remove(target.c_str());
        return std::rename(temp.c_str(), target.c_str()) == 0;
    }
    void Remove(const std::string& path) override {
        if (file_) Close();
        std::remove(path.c_str());
    }

private:
    std::FILE* file_ = nullptr;
};

}  // namespace

Subscription InstallCommitPlatform(CommitPlatform& platform) { return Install<CommitPlatform>(platform); }

std::unique_ptr<CommitSteps> PlatformCommitSteps() {
    if (CommitPlatform* platform = Installed<CommitPlatform>()) return platform->MakeSteps();
    return std::make_unique<PlainCommitSteps>();
}

bool CommitFile(const std::string& temp, const std::string& target, std::string_view bytes) {
    const std::unique_ptr<CommitSteps> steps = PlatformCommitSteps();
    return CommitFile(*steps, temp, target, bytes);
}

}  // namespace kestrum
