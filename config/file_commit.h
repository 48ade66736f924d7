// The platform step of a safe save: a new file written beside the old one
// takes its place in one step.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/signal.h"

namespace kestrum {

// The platform's calls a commit is made of, one file at a time.
class CommitSteps {
public:
    virtual ~CommitSteps() = default;
    // Creates path, or empties it when it exists, and opens it for writing.
    virtual bool Create(const std::string& path) = 0;
    // Writes from the start of bytes; how many were written, 0 on failure.
    virtual std::size_t Write(std::string_view bytes) = 0;
    virtual bool Flush() = 0;
    virtual bool Close() = 0;
    // Moves temp over target in one step, replacing target when it exists.
    virtual bool Replace(const std::string& temp, const std::string& target) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// Writes bytes to temp, flushes them to the disk and moves temp over
// target. False when any step fails; temp is then removed and target is as
// it was.
bool CommitFile(CommitSteps& steps, const std::string& temp, const std::string& target, std::string_view bytes);

// Where the steps of each commit come from.
class CommitPlatform {
public:
    virtual ~CommitPlatform() = default;
    // Fresh steps for one commit.
    virtual std::unique_ptr<CommitSteps> MakeSteps() = 0;
};

// Installs the platform's steps until the subscription goes; the
// application installs the platform's own at start-up.
[[nodiscard]] Subscription InstallCommitPlatform(CommitPlatform& platform);
// The steps of the platform in force, else plain ones over the standard
// library (a rename that replaces the target by removing it first); for a
// caller that puts faults between them.
std::unique_ptr<CommitSteps> PlatformCommitSteps();
// The same through PlatformCommitSteps().
bool CommitFile(const std::string& temp, const std::string& target, std::string_view bytes);

}  // namespace kestrum
