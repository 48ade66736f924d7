// Faults injected into the remaining file operations, run once for every n
// as in fault_injection_test.cpp: the n-th call of the file system fails
// (disk full, write-protected, locked, or its source taken away by another
// program) from n = 1 until a run ends without reaching the fault. Each
// operation has its own property: a removal that failed says so and leaves
// every file it did not delete whole, a rename never replaces or loses a
// file, a failed split or join leaves no piece or target claiming to be
// whole. (Archive extraction has its own in tests/libs/safety_test.cpp.)
// The run counts are printed by each test ("runs: ...").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/prompter.h"
#include "config/settings_loader.h"
#include "fileops/path_utils.h"
#include "fileops/remove_tree.h"
#include "fileops/split_join.h"
#include "shell/interpreter.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/fault_injection.h"
#include "tests/shell/fake_hosts.h"

namespace kestrum {
namespace {

using test::Fault;
using test::FaultyFileSystem;
using test::MemFileSystem;
using test::Snapshot;
using test::Tally;

// Every call of the in-memory disk that changed something below dir.
std::vector<std::string> ChangesBelow(const MemFileSystem& mem, const std::string& dir) {
    std::vector<std::string> out;
    for (const MemFileSystem::Call& c : mem.Calls()) {
        const bool change = c.op == MemFileSystem::Op::Remove || c.op == MemFileSystem::Op::RemoveDir ||
                            c.op == MemFileSystem::Op::Move || c.op == MemFileSystem::Op::WriteAll ||
                            c.op == MemFileSystem::Op::Copy || c.op == MemFileSystem::Op::MakeDir;
        auto below = [&](const std::string& p) { return UpperAscii(p) != dir && test::IsAtOrBelow(UpperAscii(p), dir); };
        if (change && (below(c.path) || below(c.to))) {
            out.push_back(c.path);
        }
    }
    return out;
}

// A tree to remove: files at every level, an empty directory, and a link
// whose directory (the file below it) belongs elsewhere.
void RemovalTree(MemFileSystem& fs) {
    test::Bystanders(fs);
    fs.AddFile("C:\\tree\\a.txt", "a");
    fs.AddFile("C:\\tree\\sub\\b.txt", "b");
    fs.AddFile("C:\\tree\\sub\\deep\\c.txt", "c");
    fs.AddDir("C:\\tree\\empty");
    fs.AddDirLink("C:\\tree\\link");
    fs.AddFile("C:\\tree\\link\\elsewhere.txt", "not the tree's");
    fs.AddFile("C:\\treex\\y.txt", "y");
}

TEST(MoreFaultInjectionTest, RemovingATreeDeletesOnlyItsOwnFilesAndSaysWhetherItWorked) {
    Tally tally;
    for (bool verbose : {true, false}) {
        for (Fault fault : test::kDiskFaults) {
            test::ForEveryN(tally, [&](std::size_t n) {
                MemFileSystem mem;
                RemovalTree(mem);
                // The clean-up after deletion meets only emptied directories.
                if (!verbose) {
                    for (const char* f : {"C:\\tree\\a.txt", "C:\\tree\\sub\\b.txt", "C:\\tree\\sub\\deep\\c.txt"}) {
                        mem.Erase(f);
                    }
                }
                const Snapshot before = test::Snap(mem);
                mem.ClearLog();
                FaultyFileSystem fs(mem);
                fs.failAt = n;
                fs.fault = fault;
                ScriptedPrompter prompter;
                bool removed = false;
                bool stopped = false;
                try {
                    removed = RemoveTree(fs, prompter, "C:\\tree", verbose);
                } catch (const RemoveTreeStopped&) {
                    stopped = true;
                }
                const std::string at = std::string(verbose ? "verbose, " : "quiet, ") + test::FaultName(fault) +
                                       " at call " + std::to_string(n);
                std::vector<std::string> losses = test::ChangesOutside(before, test::Snap(mem), {"C:\\TREE"}, fs.Vanished());
                // Files inside are deleted whole or left whole.
                for (const auto& [key, e] : test::Snap(mem)) {
                    const auto it = before.find(key);
                    if (it == before.end() || !(it->second == e)) losses.push_back("changed: " + key);
                }
                // The link goes; the directory it points to is never entered.
                for (const std::string& p : ChangesBelow(mem, "C:\\TREE\\LINK")) losses.push_back("through the link: " + p);
                EXPECT_TRUE(losses.empty()) << at << test::Joined(losses);
                EXPECT_FALSE(stopped) << at;
                if (!fs.Vanished().count("C:\\TREE")) {
                    EXPECT_EQ(removed, !mem.Has("C:\\tree")) << at;
                }
                if (!fs.Reached()) {
                    EXPECT_TRUE(removed) << at;
                }
                // A removal that failed midway says so.
                if (verbose && !removed) {
                    EXPECT_FALSE(prompter.Questions().empty()) << at;
                }
                return fs.Reached();
            });
        }
    }
    // Quiet, a file left anywhere stops the clean-up before it is touched.
    for (Fault fault : test::kDiskFaults) {
        test::ForEveryN(tally, [&](std::size_t n) {
            MemFileSystem mem;
            RemovalTree(mem);
            mem.ClearLog();
            FaultyFileSystem fs(mem);
            fs.failAt = n;
            fs.fault = fault;
            ScriptedPrompter prompter;
            bool removed = false;
            try {
                removed = RemoveTree(fs, prompter, "C:\\tree", false);
            } catch (const RemoveTreeStopped&) {
            }
            EXPECT_FALSE(removed);
            EXPECT_TRUE(mem.Log(MemFileSystem::Op::Remove).empty()) << test::FaultName(fault) << " at call " << n;
            return fs.Reached();
        });
    }
    tally.Print();
}

// Bytes that tell every position apart.
std::string Pattern(std::size_t n, char seed) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(seed + i % 23);
    return s;
}

// Whether anything but an overwrite question was shown: a failure's report.
bool Reported(const ScriptedPrompter& p) {
    for (const auto& q : p.Questions()) {
        if (q.text.find("上書きしますか") == std::string::npos) return true;
    }
    return false;
}

// What every run of an operation that reports its outcome must show: a
// failure is told, and a run the fault never reached succeeds.
void ExpectOutcome(FileOpOutcome r, const ScriptedPrompter& prompter, const FaultyFileSystem& fs,
                   const std::string& at) {
    if (r != FileOpOutcome::Done) {
        EXPECT_TRUE(Reported(prompter)) << at;
    }
    if (!fs.Reached()) {
        EXPECT_EQ(r, FileOpOutcome::Done) << at;
    }
}

// Whether the user was asked about path.
bool AskedAbout(const ScriptedPrompter& p, const std::string& path) {
    for (const auto& q : p.Questions()) {
        if (q.text.find(path) != std::string::npos) return true;
    }
    return false;
}

TEST(MoreFaultInjectionTest, ASplitNeverTouchesItsSourceAndLeavesOnlyWholePieces) {
    const std::string data = Pattern(2500, 'a');
    Tally tally;
    for (Fault fault : test::kDiskFaults) {
        test::ForEveryN(tally, [&](std::size_t n) {
            MemFileSystem mem;
            test::Bystanders(mem);
            mem.AddFile("C:\\work\\big.dat", data);
            mem.AddFile("C:\\out\\big.001", "old piece");
            mem.AddFile("C:\\out\\other.txt", "other");
            const Snapshot before = test::Snap(mem);
            FaultyFileSystem fs(mem);
            fs.failAt = n;
            fs.fault = fault;
            test::FaultyBlockFiles files(fs, mem, 300);
            ScriptedPrompter prompter;
            prompter.Answer(mrYes);
            const FileOpOutcome r = SplitFile(fs, files, prompter, "C:\\work\\big.dat", 1000, "C:\\out");
            const std::string at = std::string(test::FaultName(fault)) + " at call " + std::to_string(n);
            const Snapshot after = test::Snap(mem);
            std::vector<std::string> losses =
                test::ChangesOutside(before, after, {"C:\\OUT", "C:\\WORK"}, fs.Vanished());
            if (!fs.Vanished().count("C:\\WORK\\BIG.DAT") && mem.Content("C:\\work\\big.dat") != data) {
                losses.push_back("source changed");
            }
            bool whole = true;
            for (int i = 0; i < 3; ++i) {
                const std::string piece = SplitPieceName("C:\\out", "big.dat", i);
                const std::string content = mem.Content(piece);
                const auto old = before.find(UpperAscii(piece));
                whole = whole && content == data.substr(i * 1000, 1000);
                if (content == data.substr(i * 1000, 1000)) {
                    if (old != before.end() && !AskedAbout(prompter, piece) && !fs.Vanished().count(UpperAscii(piece))) {
                        losses.push_back("replaced unasked: " + piece);
                    }
                } else if (old == before.end() ? content != "<missing>" : content != old->second.content) {
                    losses.push_back("not a whole piece: " + piece);
                }
            }
            for (const auto& [key, e] : after) {
                if (test::IsAtOrBelow(key, "C:\\OUT") && !before.count(key) && key.find("\\BIG.00") == std::string::npos) {
                    losses.push_back("left behind: " + key);
                }
            }
            EXPECT_TRUE(losses.empty()) << at << test::Joined(losses);
            if (r == FileOpOutcome::Done) {
                EXPECT_TRUE(whole) << at;
            }
            ExpectOutcome(r, prompter, fs, at);
            return fs.Reached();
        });
    }
    tally.Print();
}

TEST(MoreFaultInjectionTest, AFailedJoinOrAppendLeavesTheTargetAsItWasAndThePiecesUntouched) {
    const std::vector<std::string> pieces{Pattern(700, 'a'), Pattern(700, 'A'), Pattern(300, '0')};
    const std::string joined = pieces[0] + pieces[1] + pieces[2];
    Tally tally;
    // 0: join into a new target, 1: join over an old one, 2: append.
    for (int how = 0; how < 3; ++how) {
        for (Fault fault : test::kDiskFaults) {
            test::ForEveryN(tally, [&](std::size_t n) {
                MemFileSystem mem;
                test::Bystanders(mem);
                for (std::size_t i = 0; i < pieces.size(); ++i) {
                    mem.AddFile("C:\\p\\a.00" + std::to_string(i + 1), pieces[i]);
                }
                if (how == 1) mem.AddFile("C:\\p\\whole.dat", "old whole");
                const std::string target = how == 2 ? "C:\\p\\a.001" : "C:\\p\\whole.dat";
                const Snapshot before = test::Snap(mem);
                FaultyFileSystem fs(mem);
                fs.failAt = n;
                fs.fault = fault;
                test::FaultyBlockFiles files(fs, mem, 256);
                ScriptedPrompter prompter;
                prompter.Answer(mrYes);
                const FileOpOutcome r =
                    how == 2 ? AppendFile(fs, files, prompter, target, "C:\\p\\a.002")
                             : JoinFiles(fs, files, prompter, target, {"C:\\p\\a.001", "C:\\p\\a.002", "C:\\p\\a.003"});
                const std::string at = std::to_string(how) + ", " + test::FaultName(fault) + " at call " + std::to_string(n);
                const Snapshot after = test::Snap(mem);
                std::vector<std::string> losses = test::ChangesOutside(before, after, {UpperAscii(target)}, fs.Vanished());
                const std::string whole = how == 2 ? pieces[0] + pieces[1] : joined;
                const auto old = before.find(UpperAscii(target));
                const std::string oldContent = old == before.end() ? "<missing>" : old->second.content;
                const std::string now = mem.Content(target);
                const bool gone = fs.Vanished().count(UpperAscii(target)) && now == "<missing>";
                if (now != whole && now != oldContent && !gone) {
                    losses.push_back("target half-written: " + std::to_string(now.size()));
                }
                if (how == 1 && now == whole && !AskedAbout(prompter, target) && !fs.Vanished().count(UpperAscii(target))) {
                    losses.push_back("replaced unasked");
                }
                EXPECT_TRUE(losses.empty()) << at << test::Joined(losses);
                if (r == FileOpOutcome::Done) {
                    EXPECT_EQ(now, whole) << at;
                }
                ExpectOutcome(r, prompter, fs, at);
                return fs.Reached();
            });
        }
    }
    tally.Print();
}

// The shell's file commands on a file system: searches and renames.
class FileSystemCommands : public test::FakeFiles {
public:
    explicit FileSystemCommands(FileSystem& fs) : fs_(fs) {}
    bool AnyMatch(const std::string& pattern) override { return !FindAll(pattern).empty(); }
    std::vector<FoundEntry> FindAll(const std::string& pattern) override {
        std::vector<FoundEntry> out;
        for (const FindRecord& r : fs_.Find(pattern)) {
            if (!r.IsDots()) out.push_back({r.name, r.IsDirectory()});
        }
        return out;
    }
    bool Rename(const std::string& from, const std::string& to) override { return RenameNoReplace(fs_, from, to); }

private:
    FileSystem& fs_;
};

TEST(MoreFaultInjectionTest, RenAndMrenLeaveEveryFileUnderItsOldOrNewNameAndNameEachFailure) {
    Tally tally;
    for (bool marked : {false, true}) {
        for (Fault fault : test::kDiskFaults) {
            test::ForEveryN(tally, [&](std::size_t n) {
                MemFileSystem mem;
                test::Bystanders(mem);
                const std::vector<std::string> names{"A.TXT", "B.TXT", "C.TXT", "D.DOC", "E.TXT"};
                for (const std::string& name : names) mem.AddFile("C:\\WORK\\" + name, name);
                mem.AddFile("C:\\WORK\\B.BAK", "old B.BAK");  // B.TXT must not take its place
                mem.AddDir("C:\\WORK\\SUB.TXT");
                const Snapshot before = test::Snap(mem);
                FaultyFileSystem fs(mem);
                fs.failAt = n;
                fs.fault = fault;
                Session state;
                LoadSettingsLines({}, state.settings, state.lists);
                state.currentDir = "C:\\WORK\\";
                test::FakeHost host;
                FileSystemCommands files(fs);
                files.marked = {"A.TXT", "B.TXT", "C.TXT", "D.DOC"};
                Interpreter interp(state, host);
                interp.SetFileHost(&files);
                ScriptedPrompter prompter;
                const Subscription scoped = InstallPrompter(prompter);
                interp.Execute_t(marked ? "MREN *.TXT *.BAK" : "REN C:\\WORK\\*.TXT *.BAK");
                const std::string at = std::string(marked ? "MREN, " : "REN, ") + test::FaultName(fault) +
                                       " at call " + std::to_string(n);
                const Snapshot after = test::Snap(mem);
                std::vector<std::string> losses = test::ChangesOutside(before, after, {"C:\\WORK"}, fs.Vanished());
                for (const auto& [key, e] : before) {
                    if (!test::IsAtOrBelow(key, "C:\\WORK") || e.dir) continue;
                    bool vanished = false;
                    for (const std::string& v : fs.Vanished()) vanished = vanished || test::IsAtOrBelow(key, v);
                    if (vanished) continue;
                    const auto here = after.find(key);
                    const bool old = here != after.end() && here->second.content == e.content;
                    const std::string renamed = ChangeFileExt(key, ".BAK");
                    const auto there = after.find(renamed);
                    const bool moved = key != renamed && there != after.end() && there->second.content == e.content;
                    if (old == moved) losses.push_back((old ? "under both names: " : "lost: ") + key);
                    // One the command set out to rename and did not is named
                    // (REN sets out only when its search worked).
                    const bool meant = ExtractFileExt(key) == ".TXT" && (!marked || key != "C:\\WORK\\E.TXT");
                    const bool attempted = marked || !mem.Log(MemFileSystem::Op::Move).empty();
                    if (meant && attempted && old && !AskedAbout(prompter, "->" + ExtractFileName(key))) {
                        losses.push_back("failed unannounced: " + key);
                    }
                }
                EXPECT_TRUE(losses.empty()) << at << test::Joined(losses);
                return fs.Reached();
            });
        }
    }
    tally.Print();
}

}  // namespace
}  // namespace kestrum
