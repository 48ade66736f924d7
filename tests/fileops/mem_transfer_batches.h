// The copy engine's batches carried out on an in-memory file system: every
// batch recorded, and one that stops part-way with a failure or an abort
// when asked, leaving what it did before in place as the platform does.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/pathlist.h"
#include "fileops/file_copy.h"
#include "tests/common/mem_file_system.h"

namespace kestrum::test {

class MemTransferBatches : public TransferBatches {
public:
    struct Batch {
        Kind kind;
        std::vector<std::string> from;
        std::vector<std::string> to;
        std::string title;
    };

    explicit MemTransferBatches(MemFileSystem& fs) : fs_(fs) {}

    // The batch numbered failBatch (from 0) does its first doneBeforeFailure
    // entries only and then reports failCode, aborted when abort is set.
    int failBatch = -1;
    std::size_t doneBeforeFailure = 0;
    int failCode = 0x4C7;
    bool abort = false;

    const std::vector<Batch>& Batches() const { return batches_; }
    void Clear() { batches_.clear(); }

    Outcome Perform(Kind kind, const std::string& from, const std::string& to, const std::string& title) override {
        Batch b{kind, PathList::Parse(from.data(), from.size()), PathList::Parse(to.data(), to.size()), title};
        EXPECT_EQ(from.substr(from.size() - 2), std::string(2, '\0')) << "the list ends in two NULs";
        if (kind != kDelete) {
            EXPECT_EQ(b.from.size(), b.to.size()) << "one destination for every source";
        }
        batches_.push_back(b);
        const bool failing = failBatch == static_cast<int>(batches_.size()) - 1;
        const std::size_t n = failing && doneBeforeFailure < b.from.size() ? doneBeforeFailure : b.from.size();
        for (std::size_t i = 0; i < n; ++i) {
            bool ok = false;
            switch (kind) {
            case kCopy: ok = fs_.Copy(b.from[i], b.to[i], true); break;
            case kMove: ok = fs_.Move(b.from[i], b.to[i], kMoveReplace | kMoveAcrossVolumes); break;
            case kDelete: ok = fs_.Remove(b.from[i]); break;
            }
            if (!ok) return Outcome{fs_.LastError(), false};
        }
        if (failing) return Outcome{failCode, abort};
        return {};
    }

private:
    MemFileSystem& fs_;
    std::vector<Batch> batches_;
};

}  // namespace kestrum::test
