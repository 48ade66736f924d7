// The commit's steps on the host: open, write, fsync, rename.
#include "config/file_commit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace kestrum {

namespace {

class PosixCommitSteps final : public CommitSteps {
public:
    ~PosixCommitSteps() override {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Create(const std::string& path) override {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return fd_ >= 0;
    }
    std::size_t Write(std::string_view bytes) override {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    bool Flush() override { return ::fsync(fd_) == 0; }
    bool Close() override {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    bool Replace(const std::string& temp, const std::string& target) override {
        return std::rename(temp.c_str(), target.c_str()) == 0;
    }
    void Remove(const std::string& path) override {
        if (fd_ >= 0) Close();
        std::remove(path.c_str());
    }

private:
    int fd_ = -1;
};

}  // namespace

bool CommitFile(const std::string& temp, const std::string& target, std::string_view bytes) {
    PosixCommitSteps steps;
    return CommitFile(steps, temp, target, bytes);
}

std::unique_ptr<CommitSteps> PlatformCommitSteps() { return std::make_unique<PosixCommitSteps>(); }

}  // namespace kestrum
