// Faults injected into the file operations at every step. Each scenario is
// run once for every n: the n-th call of the file system fails (disk full,
// write-protected, locked, or its source taken away by another program),
// and again with the n-th entry of the transfer batches failing those ways
// or cancelled by the user, from n = 1 until a run ends without reaching the
// fault. After every run the disk is compared with the one before: every
// source file is at its place or whole at its destination, files already at
// the destination are kept unless the policy replaces them, and nothing
// outside the operation's folders changed.
//
// Figures of one pass (runs = scenarios x faults x every n):
//   copy and move engine, file-system faults:  13 scenarios x 4 faults
//   copy and move engine, batch faults:        13 scenarios x 5 faults,
//                                              a move of 301 files x 3 faults
//   sort-order writing, file-system faults:     1 scenario  x 4 faults
//   making directory levels:                    1 scenario  x 4 faults
// The run counts are printed by each test ("runs: ...").
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "fileops/file_copy.h"
#include "fileops/path_utils.h"
#include "filer/sort_write.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/fault_injection.h"

namespace kestrum {
namespace {

using test::Fault;
using test::FaultyBatches;
using test::FaultyFileSystem;
using test::MemFileSystem;
using test::Snapshot;
using test::TransferPlan;

using test::Bystanders;
using test::Joined;
using test::kBatchFaults;
using test::kDiskFaults;
using test::kMaxN;
using test::Tally;

struct EngineScenario {
    std::string name;
    std::function<void(MemFileSystem&)> setUp;
    TransferPlan plan;
    CopyMode mode = cmOverwrite;
    // The new names typed at the rename policy's questions, in order.
    std::vector<std::string> newNames;
};

// A merge into a destination that holds some of the names already: files
// new and old, directories to merge and directories to make.
void MergeTree(MemFileSystem& fs) {
    Bystanders(fs);
    fs.AddFile("C:\\src\\a.txt", "new a", 100);
    fs.AddFile("C:\\src\\b.txt", "b", 100);
    fs.AddFile("C:\\src\\d\\c.txt", "new c", 100);
    fs.AddFile("C:\\src\\d\\e\\f.txt", "f", 100);
    fs.AddFile("C:\\src\\new\\g.txt", "g", 100);
    fs.AddFile("C:\\src\\new\\h\\i.txt", "i", 100);
    fs.AddDir("C:\\src\\new\\empty");
    fs.AddFile("C:\\src\\unnamed.txt", "not in the operation", 100);
    fs.AddFile("C:\\dst\\a.txt", "old a", 50);
    fs.AddFile("C:\\dst\\d\\c.txt", "old c", 500);
    fs.AddFile("C:\\dst\\keep.txt", "keep", 10);
}

std::vector<EngineScenario> EngineScenarios() {
    const std::vector<std::string> merged{"a.txt", "b.txt", "d", "new"};
    std::vector<EngineScenario> out;
    for (bool move : {false, true}) {
        const std::string op = move ? "move" : "copy";
        out.push_back({op + " merge, overwrite", MergeTree, {"C:\\src", "C:\\dst", merged, move, true, false},
                       cmOverwrite});
        out.push_back({op + " merge, skip", MergeTree, {"C:\\src", "C:\\dst", merged, move, false, false}, cmSkip});
        out.push_back({op + " merge, newer", MergeTree, {"C:\\src", "C:\\dst", merged, move, true, true}, cmNewer});
        // a.txt is first given a taken name, then b.txt's, which b.txt then
        // meets as queued and is renamed in turn.
        TransferPlan rename{"C:\\src", "C:\\dst", merged, move, false, false};
        rename.renames = true;
        out.push_back({op + " merge, rename", MergeTree, rename, cmRename, {"keep.txt", "b.txt", "b2.txt", "c2.txt"}});
        out.push_back({op + " into a directory to make",
                       [](MemFileSystem& fs) {
                           MergeTree(fs);
                           fs.Erase("C:\\dst");
                       },
                       {"C:\\src", "C:\\made\\deep", merged, move, false, false},
                       cmOverwrite});
        out.push_back({op + " to another drive", MergeTree, {"C:\\src", "D:\\dst", merged, move, true, false},
                       cmOverwrite});
        if (!move) continue;
        out.push_back({op + " of a directory link and a file",
                       [](MemFileSystem& fs) {
                           Bystanders(fs);
                           fs.AddDirLink("C:\\src\\link");
                           fs.AddFile("C:\\src\\t\\u.txt", "u");
                           fs.AddFile("C:\\dst\\t\\v.txt", "v");
                       },
                       {"C:\\src", "C:\\dst", {"link", "t"}, move, true, false},
                       cmOverwrite});
    }
    return out;
}

// 301 files: two batches.
EngineScenario TwoBatches(bool move) {
    return {std::string(move ? "move" : "copy") + " of 301 files in two batches",
            [](MemFileSystem& fs) {
                Bystanders(fs);
                for (int i = 0; i < 301; ++i) fs.AddFile("C:\\src\\many\\f" + std::to_string(i), std::to_string(i));
                fs.AddFile("C:\\dst\\many\\f7", "old 7");
            },
            {"C:\\src", "C:\\dst", {"many"}, move, true, false},
            cmOverwrite};
}

// Runs s once for every n with fault at the n-th file-system call (inBatch:
// the n-th batch entry) and checks each outcome.
void RunEngineForEveryN(const EngineScenario& s, Fault fault, bool inBatch, Tally& tally) {
    for (std::size_t n = 1;; ++n) {
        ASSERT_LT(n, kMaxN) << s.name;
        MemFileSystem mem;
        s.setUp(mem);
        const Snapshot before = test::Snap(mem);
        FaultyFileSystem fs(mem);
        FaultyBatches batches(fs);
        if (inBatch) {
            batches.failAt = n;
            batches.fault = fault;
        } else {
            fs.failAt = n;
            fs.fault = fault;
        }
        ScriptedPrompter prompter;
        for (const std::string& name : s.newNames) prompter.AnswerLine(name);
        const Subscription scoped = InstallPrompter(prompter);
        FileCopyEngine engine(fs, batches);
        engine.OnExistsDir = [](bool& flag) { flag = true; };
        if (s.plan.move) {
            engine.MoveX(s.plan.names, s.plan.srcDir, s.mode, s.plan.dstDir);
        } else {
            engine.CopyX(s.plan.names, s.plan.srcDir, s.mode, s.plan.dstDir);
        }
        const bool reached = inBatch ? batches.Reached() : fs.Reached();
        ++tally.runs;
        if (reached) ++tally.reached;
        const Snapshot after = test::Snap(mem);
        const auto losses = test::TransferLosses(before, after, s.plan, fs.Vanished());
        EXPECT_TRUE(losses.empty()) << s.name << ", " << test::FaultName(fault) << " at "
                                    << (inBatch ? "batch entry " : "call ") << n << ":" << Joined(losses)
                                    << Joined(std::vector<std::string>(fs.Vanished().begin(), fs.Vanished().end()));
        if (!reached) {
            EXPECT_EQ(engine.Result(), 0) << s.name << " without a fault";
            return;
        }
        if (!losses.empty()) return;  // one report per scenario and fault
    }
}

TEST(FaultInjectionTest, CopyAndMoveLoseNothingWhicheverFileSystemCallFails) {
    Tally tally;
    for (const EngineScenario& s : EngineScenarios()) {
        for (Fault f : kDiskFaults) RunEngineForEveryN(s, f, false, tally);
    }
    std::printf("runs: %zu (faults reached: %zu)\n", tally.runs, tally.reached);
}

TEST(FaultInjectionTest, CopyAndMoveLoseNothingWhereverABatchStopsOrIsCancelled) {
    Tally tally;
    for (const EngineScenario& s : EngineScenarios()) {
        for (Fault f : kBatchFaults) RunEngineForEveryN(s, f, true, tally);
    }
    // A move in two batches, stopped at each of its entries: by a failure
    // (write-protected and locked stop a batch as disk full does), by a
    // source gone meanwhile and by the user. The deletions must wait.
    for (Fault f : {Fault::DiskFull, Fault::SourceVanished, Fault::UserCancel}) {
        RunEngineForEveryN(TwoBatches(true), f, true, tally);
    }
    std::printf("runs: %zu (faults reached: %zu)\n", tally.runs, tally.reached);
}

TEST(FaultInjectionTest, SortOrderWritingLeavesEveryEntryInItsDirectoryOrNamedInTheTemporaryOne) {
    Tally tally;
    for (Fault fault : kDiskFaults) {
        for (std::size_t n = 1;; ++n) {
            ASSERT_LT(n, kMaxN);
            MemFileSystem mem;
            Bystanders(mem);
            mem.AddFile("C:\\work\\a.txt", "a");
            mem.AddFile("C:\\work\\b.txt", "b");
            mem.AddFile("C:\\work\\sub\\c.txt", "c");
            mem.AddFile("C:\\work\\sys.dat", "s", 0, kAttrSystem);
            mem.AddFile("C:\\work\\z.txt", "z");
            const Snapshot before = test::Snap(mem);
            FaultyFileSystem fs(mem);
            fs.failAt = n;
            fs.fault = fault;
            ScriptedPrompter prompter;
            prompter.Answer(mrYes);
            const Subscription scoped = InstallPrompter(prompter);
            const SortWriteReport r =
                WriteSortOrder("C:\\work\\", {"..", "z.txt", "sub", "sys.dat", "b.txt", "a.txt"}, "C:\\WINDOWS", fs);
            ++tally.runs;
            const Snapshot after = test::Snap(mem);
            // An entry stranded in the temporary directory is named to the user.
            std::vector<std::string> losses;
            for (const auto& [key, e] : before) {
                if (e.dir) continue;
                // Taken away by another program, from its place or from the
                // temporary directory.
                bool excused = false;
                for (const std::string& v : fs.Vanished()) {
                    excused = excused || test::IsAtOrBelow(key, v) ||
                              (test::IsAtOrBelow(key, "C:\\WORK") &&
                               test::IsAtOrBelow(UpperAscii(r.tempDir) + "\\" + key.substr(8), v));
                }
                if (excused) continue;
                const auto here = after.find(key);
                if (here != after.end() && here->second == e) continue;
                bool named = false;
                if (test::IsAtOrBelow(key, "C:\\WORK")) {
                    const std::string rest = key.substr(8);
                    const std::string top = rest.substr(0, rest.find('\\'));
                    for (const std::string& s : r.stranded) named = named || UpperAscii(s) == top;
                    const auto there = after.find(UpperAscii(r.tempDir) + "\\" + rest);
                    if (named && there != after.end() && there->second.content == e.content) continue;
                }
                losses.push_back(key);
            }
            for (const auto& [key, e] : after) {
                if (!before.count(key) && !test::IsAtOrBelow(key, UpperAscii(r.tempDir))) losses.push_back("new " + key);
            }
            EXPECT_TRUE(losses.empty()) << test::FaultName(fault) << " at call " << n << ":" << Joined(losses);
            if (!fs.Reached()) {
                EXPECT_EQ(r.result, SortWriteResult::Finished);
                break;
            }
            ++tally.reached;
        }
    }
    std::printf("runs: %zu (faults reached: %zu)\n", tally.runs, tally.reached);
}

TEST(FaultInjectionTest, MakingDirectoryLevelsChangesNothingElseAndSaysWhetherItWorked) {
    Tally tally;
    for (Fault fault : kDiskFaults) {
        for (std::size_t n = 1;; ++n) {
            ASSERT_LT(n, kMaxN);
            MemFileSystem mem;
            Bystanders(mem);
            mem.AddFile("C:\\top\\f.txt", "f");
            const Snapshot before = test::Snap(mem);
            FaultyFileSystem fs(mem);
            fs.failAt = n;
            fs.fault = fault;
            const bool made = ForceDirs(fs, "C:\\top\\a\\b\\c");
            ++tally.runs;
            const Snapshot after = test::Snap(mem);
            // Where the last check itself fails the levels may be there
            // unannounced; never announced and missing.
            if (made) {
                EXPECT_TRUE(mem.IsDir("C:\\top\\a\\b\\c")) << test::FaultName(fault) << " at call " << n;
            }
            for (const auto& [key, e] : before) {
                bool excused = false;
                for (const std::string& v : fs.Vanished()) excused = excused || test::IsAtOrBelow(key, v);
                if (excused) continue;
                const auto it = after.find(key);
                EXPECT_TRUE(it != after.end() && it->second == e) << key << " changed at call " << n;
            }
            for (const auto& [key, e] : after) {
                EXPECT_TRUE(before.count(key) || (e.dir && test::IsAtOrBelow(key, "C:\\TOP\\A")))
                    << key << " made at call " << n;
            }
            if (!fs.Reached()) {
                EXPECT_TRUE(made);
                break;
            }
            ++tally.reached;
        }
    }
    std::printf("runs: %zu (faults reached: %zu)\n", tally.runs, tally.reached);
}

}  // namespace
}  // namespace kestrum
