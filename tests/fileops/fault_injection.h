// Fault injection for the file operations' cores: a file system that fails
// its n-th call the way a disk fails (full, write-protected, a file locked by
// another program, a source taken away meanwhile), transfer batches that stop
// at their n-th entry the same ways or because the user cancelled, snapshots
// of the in-memory disk, and the checks that prove nothing was lost.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "common/pathlist.h"
#include "common/sjis.h"
#include "fileops/file_copy.h"
#include "fileops/split_join.h"
#include "tests/common/mem_file_system.h"

namespace kestrum::test {

enum class Fault { DiskFull, WriteProtected, Locked, SourceVanished, UserCancel };

inline const char* FaultName(Fault f) {
    switch (f) {
    case Fault::DiskFull: return "disk full";
    case Fault::WriteProtected: return "write-protected";
    case Fault::Locked: return "locked";
    case Fault::SourceVanished: return "source vanished";
    case Fault::UserCancel: return "user cancel";
    }
    return "?";
}

inline constexpr Fault kDiskFaults[] = {Fault::DiskFull, Fault::WriteProtected, Fault::Locked,
                                        Fault::SourceVanished};
inline constexpr Fault kBatchFaults[] = {Fault::DiskFull, Fault::WriteProtected, Fault::Locked,
                                         Fault::SourceVanished, Fault::UserCancel};
// Far more calls than any scenario makes: a run that never ends is a fault.
inline constexpr std::size_t kMaxN = 20000;

// Runs, and runs that reached their fault.
struct Tally {
    std::size_t runs = 0;
    std::size_t reached = 0;
    void Print() const { std::printf("runs: %zu (faults reached: %zu)\n", runs, reached); }
};

// Calls run(n) for n = 1, 2, ... until it answers false (its fault was not
// reached: the operation ran to its end).
template <class Run>
void ForEveryN(Tally& tally, Run run) {
    for (std::size_t n = 1; n < kMaxN; ++n) {
        ++tally.runs;
        if (!run(n)) return;
        ++tally.reached;
    }
    ADD_FAILURE() << "still reaching the fault after " << kMaxN << " runs";
}

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "\n  " + l;
    return out;
}

// The platform's code for each fault.
inline int FaultCode(Fault f) {
    switch (f) {
    case Fault::DiskFull: return 112;        // ERROR_DISK_FULL
    case Fault::WriteProtected: return 19;   // ERROR_WRITE_PROTECT
    case Fault::Locked: return 32;           // ERROR_SHARING_VIOLATION
    case Fault::SourceVanished: return 2;    // ERROR_FILE_NOT_FOUND
    case Fault::UserCancel: return 1223;     // ERROR_CANCELLED
    }
    return 0;
}

// Every entry of the in-memory disk: upper-cased full path -> what is there.
struct SnapEntry {
    bool dir = false;
    std::string content;
    std::uint64_t lastWrite = 0;
    bool operator==(const SnapEntry&) const = default;
};
using Snapshot = std::map<std::string, SnapEntry>;

inline void SnapDir(MemFileSystem& fs, const std::string& dir, Snapshot& out) {
    for (const FindRecord& r : fs.Find(IncludeTrailingBackslash(dir) + "*")) {
        if (r.IsDots()) continue;
        const std::string path = IncludeTrailingBackslash(dir) + r.name;
        SnapEntry e;
        e.dir = r.IsDirectory();
        e.lastWrite = r.lastWriteTime;
        if (e.dir) {
            out[UpperAscii(path)] = e;
            if (IsRealDirectory(r.attributes)) SnapDir(fs, path, out);
        } else {
            e.content = fs.Content(path);
            out[UpperAscii(path)] = e;
        }
    }
}

// What the drives C: and D: hold (taken with every fault cleared).
inline Snapshot Snap(MemFileSystem& fs) {
    Snapshot s;
    for (const char* root : {"C:\\", "D:\\"}) {
        if (fs.Has(root)) SnapDir(fs, root, s);
    }
    return s;
}

inline bool IsAtOrBelow(const std::string& key, const std::string& dir) {
    const std::string d = UpperAscii(dir);
    return key == d || (key.size() > d.size() && key.compare(0, d.size(), d) == 0 && key[d.size()] == '\\');
}

// Files outside every scenario's folders: they must never change.
inline void Bystanders(MemFileSystem& fs) {
    fs.AddFile("C:\\else\\x.txt", "x");
    fs.AddFile("C:\\srcx\\y.txt", "y");  // a name sharing the source's prefix
    fs.AddDir("D:\\");
    fs.AddFile("D:\\keep\\z.txt", "z");
}

// Entries outside dirs (upper-cased) that changed, went or came between
// before and after, except those that vanished.
inline std::vector<std::string> ChangesOutside(const Snapshot& before, const Snapshot& after,
                                               const std::vector<std::string>& dirs,
                                               const std::set<std::string>& vanished = {}) {
    auto outside = [&](const std::string& key) {
        for (const std::string& d : dirs) {
            if (IsAtOrBelow(key, d)) return false;
        }
        for (const std::string& v : vanished) {
            if (IsAtOrBelow(key, v)) return false;
        }
        return true;
    };
    std::vector<std::string> out;
    for (const auto& [key, e] : before) {
        if (!outside(key)) continue;
        const auto it = after.find(key);
        if (it == after.end() || !(it->second == e)) out.push_back("changed outside: " + key);
    }
    for (const auto& [key, e] : after) {
        if (outside(key) && !before.count(key)) out.push_back("made outside: " + key);
    }
    return out;
}

// A file system over a MemFileSystem whose call numbered failAt (from 1,
// every call of the interface counted; 0: none) fails with fault. A failing
// query answers as if nothing were there; a failing change changes nothing.
// A vanished source is taken away first, so the call finds nothing.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(MemFileSystem& mem) : mem_(mem) {}

    std::size_t failAt = 0;
    Fault fault = Fault::DiskFull;

    bool Reached() const { return reached_; }
    std::size_t Calls() const { return calls_; }
    // Paths taken away by a vanished-source fault (upper-cased).
    const std::set<std::string>& Vanished() const { return vanished_; }
    // Takes path away as another program would; the checks excuse it.
    void Vanish(const std::string& path) {
        const std::string full = ExcludeTrailingBackslash(mem_.FullPath(path));
        if (full.size() <= 3) return;
        vanished_.insert(UpperAscii(full));
        mem_.Erase(full);
    }

    std::vector<FindRecord> Find(const std::string& pattern) override {
        if (Hit(ExcludeTrailingBackslash(ExtractFilePath(pattern)))) return {};
        return mem_.Find(pattern);
    }
    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        if (Hit(path)) return std::nullopt;
        return mem_.Attributes(path);
    }
    std::optional<FindRecord> Stat(const std::string& path) override {
        if (Hit(path)) return std::nullopt;
        return mem_.Stat(path);
    }
    std::optional<FileId> Identity(const std::string& path) override {
        if (Hit(path)) return std::nullopt;
        return mem_.Identity(path);
    }
    std::string FullPath(const std::string& path) override {
        if (Hit(std::string())) return std::string();
        return mem_.FullPath(path);
    }
    std::string LongPath(const std::string& full) override {
        if (Hit(std::string())) return full;
        return mem_.LongPath(full);
    }
    int DriveTypeOf(char letter) override {
        if (Hit(std::string())) return kDriveUnknown;
        return mem_.DriveTypeOf(letter);
    }
    std::optional<std::string> ReadAll(const std::string& path) override {
        if (Hit(path)) return std::nullopt;
        return mem_.ReadAll(path);
    }
    bool MakeDir(const std::string& path) override { return !Hit(std::string()) && mem_.MakeDir(path); }
    bool RemoveDir(const std::string& path) override { return !Hit(std::string()) && mem_.RemoveDir(path); }
    bool Remove(const std::string& path) override { return !Hit(path) && mem_.Remove(path); }
    bool Move(const std::string& from, const std::string& to, unsigned flags) override {
        return !Hit(from) && mem_.Move(from, to, flags);
    }
    bool Copy(const std::string& from, const std::string& to, bool replace) override {
        return !Hit(from) && mem_.Copy(from, to, replace);
    }
    bool WriteAll(const std::string& path, std::string_view content) override {
        return !Hit(std::string()) && mem_.WriteAll(path, content);
    }
    DiskSpace SpaceOf(const std::string& dir) override { return mem_.SpaceOf(dir); }
    int LastError() const override { return code_ ? code_ : mem_.LastError(); }

    // True when this call is the one to fail. source: what the call reads
    // (empty when it reads nothing), the one that vanishes.
    bool Hit(const std::string& source) {
        code_ = 0;
        if (++calls_ != failAt) return false;
        reached_ = true;
        if (fault == Fault::SourceVanished) {
            // Gone before the call: the call itself runs and finds nothing.
            if (!source.empty()) Vanish(source);
            return false;
        }
        code_ = FaultCode(fault);
        return true;
    }

private:
    MemFileSystem& mem_;
    std::size_t calls_ = 0;
    bool reached_ = false;
    int code_ = 0;
    std::set<std::string> vanished_;
};

// Transfer batches carried out entry by entry over a file system, as the
// platform's file operation does: the entry numbered failAt (from 1, counted
// over every batch; 0: none) fails with fault, or the user cancels there;
// what was done before it stays done.
class FaultyBatches : public TransferBatches {
public:
    explicit FaultyBatches(FaultyFileSystem& fs) : fs_(fs) {}

    std::size_t failAt = 0;
    Fault fault = Fault::DiskFull;

    bool Reached() const { return reached_; }
    std::size_t Entries() const { return entries_; }

    Outcome Perform(Kind kind, const std::string& from, const std::string& to, const std::string&) override {
        const std::vector<std::string> src = PathList::Parse(from.data(), from.size());
        const std::vector<std::string> dst = PathList::Parse(to.data(), to.size());
        for (std::size_t i = 0; i < src.size(); ++i) {
            if (++entries_ == failAt) {
                reached_ = true;
                if (fault == Fault::UserCancel) return Outcome{FaultCode(fault), true};
                if (fault == Fault::SourceVanished) {
                    fs_.Vanish(src[i]);
                } else {
                    return Outcome{FaultCode(fault), false};
                }
            }
            bool ok = false;
            switch (kind) {
            case kCopy: ok = fs_.Copy(src[i], dst.at(i), true); break;
            case kMove: ok = fs_.Move(src[i], dst.at(i), kMoveReplace | kMoveAcrossVolumes); break;
            case kDelete: ok = fs_.Remove(src[i]); break;
            }
            if (!ok) return Outcome{fs_.LastError(), false};
        }
        return {};
    }

private:
    FaultyFileSystem& fs_;
    std::size_t entries_ = 0;
    bool reached_ = false;
};

// Block files over the in-memory disk, every open, read, write and cut
// counted as a call of fs (and failing with it). A failing write lands
// half of its block, as on a disk that fills up.
class FaultyBlockFiles : public BlockFiles {
public:
    FaultyBlockFiles(FaultyFileSystem& fs, MemFileSystem& mem, std::size_t blockSize)
        : fs_(fs), mem_(mem), blockSize_(blockSize) {}

    std::unique_ptr<Reader> OpenRead(const std::string& path) override {
        if (fs_.Hit(path)) return nullptr;
        std::optional<std::string> content = mem_.ReadAll(path);
        if (!content) return nullptr;
        return std::make_unique<MemReader>(*this, path, std::move(*content));
    }
    std::unique_ptr<Writer> Create(const std::string& path, bool replace) override {
        if (fs_.Hit(std::string())) return nullptr;
        if (mem_.Has(path) && (!replace || mem_.IsDir(path))) return nullptr;
        if (!mem_.WriteAll(path, "")) return nullptr;
        return std::make_unique<MemWriter>(*this, path);
    }
    std::unique_ptr<Writer> OpenAppend(const std::string& path) override {
        if (fs_.Hit(std::string()) || !mem_.Has(path) || mem_.IsDir(path)) return nullptr;
        return std::make_unique<MemWriter>(*this, path);
    }
    std::size_t BlockSize() const override { return blockSize_; }

private:
    class MemReader : public Reader {
    public:
        MemReader(FaultyBlockFiles& files, std::string path, std::string content)
            : files_(files), path_(std::move(path)), content_(std::move(content)) {}
        std::optional<std::uint64_t> Size() override {
            if (files_.fs_.Hit(path_)) return std::nullopt;
            return content_.size();
        }
        std::int64_t Read(char* buf, std::size_t size) override {
            if (files_.fs_.Hit(path_)) return -1;
            const std::size_t n = std::min(size, content_.size() - at_);
            content_.copy(buf, n, at_);
            at_ += n;
            return static_cast<std::int64_t>(n);
        }

    private:
        FaultyBlockFiles& files_;
        std::string path_;
        std::string content_;  // an open file reads on when its name goes
        std::size_t at_ = 0;
    };
    class MemWriter : public Writer {
    public:
        MemWriter(FaultyBlockFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
        bool Write(const char* data, std::size_t size) override {
            const bool fails = files_.fs_.Hit(std::string());
            const std::string now = files_.mem_.Content(path_);
            if (now == "<missing>") return false;
            files_.mem_.WriteAll(path_, now + std::string(data, fails ? size / 2 : size));
            return !fails;
        }
        bool Truncate(std::uint64_t size) override {
            if (files_.fs_.Hit(std::string())) return false;
            const std::string now = files_.mem_.Content(path_);
            return now != "<missing>" && files_.mem_.WriteAll(path_, now.substr(0, size));
        }

    private:
        FaultyBlockFiles& files_;
        std::string path_;
    };

    FaultyFileSystem& fs_;
    MemFileSystem& mem_;
    std::size_t blockSize_;
};

// What a copy or move of names from srcDir into dstDir may leave behind.
struct TransferPlan {
    std::string srcDir;
    std::string dstDir;
    std::vector<std::string> names;
    bool move = false;
    // A file already at the destination may take the source's content
    // (with newerOnly: only where it is older than the source).
    bool replaces = false;
    // A moved source may go where the destination already held a file at
    // least as new (only the newer of the two is kept).
    bool newerOnly = false;
    // A source may arrive under another name in its directory (the rename
    // policy: the user types the names).
    bool renames = false;
};

// Whether dir (upper-cased, ending in a backslash) directly holds a file
// with content: any in snap, or one that came (or changed) since before.
inline bool InDirWithContent(const Snapshot& snap, const std::string& dir, const std::string& content) {
    for (const auto& [key, e] : snap) {
        if (!e.dir && e.content == content && ExtractFilePath(key) == dir) return true;
    }
    return false;
}
inline bool NewWithContent(const Snapshot& before, const Snapshot& after, const std::string& dir,
                           const std::string& content) {
    for (const auto& [key, e] : after) {
        if (e.dir || e.content != content || ExtractFilePath(key) != dir) continue;
        const auto old = before.find(key);
        if (old == before.end() || old->second.content != content) return true;
    }
    return false;
}

// The losses after a copy or move: every source file still at its place or
// whole at its destination; every file the destination held before kept, or
// replaced by its source's content where the policy replaces; every new file
// there a whole copy of its source; nothing outside the two folders changed.
// Entries that vanished (taken by another program) are excused.
inline std::vector<std::string> TransferLosses(const Snapshot& before, const Snapshot& after, const TransferPlan& plan,
                                               const std::set<std::string>& vanished) {
    std::vector<std::string> out;
    const std::string src = UpperAscii(plan.srcDir);
    const std::string dst = UpperAscii(plan.dstDir);
    auto excused = [&](const std::string& key) {
        for (const std::string& v : vanished) {
            if (IsAtOrBelow(key, v)) return true;
        }
        return false;
    };
    auto inNamed = [&](const std::string& key) {
        for (const std::string& n : plan.names) {
            if (IsAtOrBelow(key, src + "\\" + UpperAscii(n))) return true;
        }
        return false;
    };
    auto found = [&](const std::string& key) -> const SnapEntry* {
        const auto it = after.find(key);
        return it == after.end() ? nullptr : &it->second;
    };
    auto inside = [&](const std::string& key) { return IsAtOrBelow(key, src) || IsAtOrBelow(key, dst); };

    for (const auto& [key, e] : before) {
        if (!inside(key)) {
            const SnapEntry* a = found(key);
            if (!a || !(*a == e)) out.push_back("changed outside the operation: " + key);
            continue;
        }
        if (e.dir || excused(key)) continue;
        if (IsAtOrBelow(key, src)) {
            const SnapEntry* here = found(key);
            if (here && here->content == e.content) continue;
            if (here) {
                out.push_back("source changed: " + key);
                continue;
            }
            if (!inNamed(key)) {
                out.push_back("source lost, not named: " + key);
                continue;
            }
            const std::string target = dst + key.substr(src.size());
            const SnapEntry* there = found(target);
            if (there && there->content == e.content) continue;
            if (plan.renames && NewWithContent(before, after, ExtractFilePath(target), e.content)) continue;
            if (plan.move && plan.newerOnly) {
                const auto old = before.find(target);
                if (old != before.end() && !old->second.dir && old->second.lastWrite >= e.lastWrite && there &&
                    there->content == old->second.content) {
                    continue;
                }
            }
            out.push_back("source lost: " + key);
        } else {
            // A file the destination held before.
            const SnapEntry* here = found(key);
            if (here && here->content == e.content) continue;
            const auto source = before.find(src + key.substr(dst.size()));
            const bool replaceable =
                plan.replaces && source != before.end() && (!plan.newerOnly || e.lastWrite < source->second.lastWrite);
            if (replaceable && here && here->content == source->second.content) continue;
            out.push_back(here ? "destination file overwritten: " + key : "destination file lost: " + key);
        }
    }
    for (const auto& [key, a] : after) {
        if (before.count(key)) continue;
        if (!inside(key)) {
            // Directories made on the way to a missing destination.
            if (a.dir && IsAtOrBelow(dst, key)) continue;
            out.push_back("made outside the operation: " + key);
        } else if (IsAtOrBelow(key, src)) {
            out.push_back("new entry among the sources: " + key);
        } else if (!a.dir) {
            const auto source = before.find(src + key.substr(dst.size()));
            const bool whole = source != before.end() && source->second.content == a.content;
            const std::string srcDir = src + ExtractFilePath(key).substr(dst.size());
            if (!whole && !(plan.renames && InDirWithContent(before, srcDir, a.content))) {
                out.push_back("destination file not a whole copy: " + key);
            }
        }
    }
    return out;
}

}  // namespace kestrum::test
