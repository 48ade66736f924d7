// A file system held in memory for the cores' tests: drives, directories and
// files made by the test, every call logged, and calls that fail on demand
// (a given path, or the n-th call that changes something) so that a test
// can show what a failure leaves behind. Names compare as the platform
// compares them (ASCII case ignored), and a search returns a directory's
// entries in the order they came into it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/file_system.h"
#include "common/sjis.h"

namespace kestrum::test {

class MemFileSystem : public FileSystem {
public:
    enum class Op { Find, Attributes, Stat, Identity, ReadAll, MakeDir, RemoveDir, Remove, Move, Copy, WriteAll };
    struct Call {
        Op op;
        std::string path;
        std::string to;  // Move and Copy
    };
    // The platform's codes the fake answers with.
    static constexpr int kNotFound = 2;
    static constexpr int kPathNotFound = 3;
    static constexpr int kAccessDenied = 5;
    static constexpr int kNotSameDevice = 17;
    static constexpr int kFileExists = 80;
    static constexpr int kDirNotEmpty = 145;
    static constexpr int kAlreadyExists = 183;

    MemFileSystem() {
        AddDir("C:\\");
        current_ = "C:\\";
    }

    // ---- set-up: neither logged nor ever failing --------------------------------

    // A directory with every missing level above it.
    void AddDir(const std::string& path, std::uint32_t attributes = kAttrDirectory) {
        const std::string full = Resolve(path);
        const std::string parent = Parent(full);
        if (!parent.empty() && !Has(parent)) AddDir(parent);
        Node& n = Put(full, true);
        n.attributes = attributes | kAttrDirectory;
    }
    // A file (its directory is made when missing); content defaults to its name.
    void AddFile(const std::string& path, std::optional<std::string> content = std::nullopt, std::uint64_t lastWrite = 0,
                 std::uint32_t attributes = kAttrArchive) {
        const std::string full = Resolve(path);
        if (!Has(Parent(full))) AddDir(Parent(full));
        Node& n = Put(full, false);
        n.content = content ? *content : ExtractFileName(full);
        n.lastWrite = lastWrite;
        n.attributes = attributes;
    }
    // A link to a directory: a directory with the reparse-point attribute.
    void AddDirLink(const std::string& path) { AddDir(path, kAttrDirectory | kAttrReparsePoint); }
    void SetLastWrite(const std::string& path, std::uint64_t t) { At(path).lastWrite = t; }
    void SetAttributes(const std::string& path, std::uint32_t a) { At(path).attributes = a; }
    void SetDriveType(char letter, int type) { driveTypes_[Upper(letter)] = type; }
    // The current directory (made when missing); the other drives' current
    // directories are their roots.
    void SetCurrentDir(const std::string& dir) {
        AddDir(dir);
        current_ = Resolve(dir);
    }
    // Takes path away with everything below it, as something else would.
    void Erase(const std::string& path) { EraseTree(Key(Resolve(path))); }

    // ---- what a test looks at ------------------------------------------------------

    bool Has(const std::string& path) const { return nodes_.count(Key(Resolve(path))) != 0; }
    bool IsDir(const std::string& path) const {
        const Node* n = Get(path);
        return n && n->dir;
    }
    // The content of a file; "<missing>" when there is no such file.
    std::string Content(const std::string& path) const {
        const Node* n = Get(path);
        return n && !n->dir ? n->content : std::string("<missing>");
    }
    // The names in a directory in search order ("." and ".." left out).
    std::vector<std::string> Names(const std::string& dir) const {
        std::vector<std::string> out;
        for (const Node* n : Children(Key(Resolve(dir)))) out.push_back(ExtractFileName(n->path));
        return out;
    }
    const std::vector<Call>& Calls() const { return calls_; }
    // The calls of one kind: their paths, "from -> to" for Move and Copy.
    std::vector<std::string> Log(Op op) const {
        std::vector<std::string> out;
        for (const Call& c : calls_) {
            if (c.op == op) out.push_back(c.to.empty() && op != Op::Move && op != Op::Copy ? c.path : c.path + " -> " + c.to);
        }
        return out;
    }
    void ClearLog() { calls_.clear(); }

    // ---- faults -------------------------------------------------------------------

    // The call numbered n (from 0) of those that change something fails
    // with code and changes nothing.
    void FailChange(std::size_t n, int code = kAccessDenied) { failChange_[n] = code; }
    // Every call of op on path (or, for Move and Copy, from path) fails.
    void FailOn(Op op, const std::string& path, int code = kAccessDenied) {
        failOn_[{op, Key(Resolve(path))}] = code;
    }
    // Every call succeeds again.
    void ClearFaults() {
        failChange_.clear();
        failOn_.clear();
    }
    // Changing calls made so far (the numbers FailChange counts).
    std::size_t Changes() const { return changes_; }

    // ---- FileSystem -----------------------------------------------------------------

    std::vector<FindRecord> Find(const std::string& pattern) override {
        if (Fails(Op::Find, pattern)) return {};
        const std::string dirPart = ExtractFilePath(pattern);
        const std::string namePart = ExtractFileName(pattern);
        const std::string dir = Resolve(dirPart.empty() ? std::string(".") : dirPart);
        const Node* d = Get(dir);
        std::vector<FindRecord> out;
        lastError_ = 0;
        if (!d || !d->dir) {
            lastError_ = kPathNotFound;
            return out;
        }
        if (namePart.empty()) return out;
        if (namePart.find_first_of("*?") == std::string::npos && namePart != "." && namePart != "..") {
            // One name: looked up, not searched for.
            if (const Node* n = Get(IncludeTrailingBackslash(dir) + namePart)) {
                out.push_back(Record(*n, ExtractFileName(n->path)));
            }
            return out;
        }
        if (!IsRoot(dir)) {
            for (const char* dots : {".", ".."}) {
                if (Matches(dots, namePart)) out.push_back(Record(*d, dots));
            }
        }
        for (const Node* n : Children(Key(dir))) {
            const std::string name = ExtractFileName(n->path);
            if (Matches(name, namePart)) out.push_back(Record(*n, name));
        }
        return out;
    }
    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        if (Fails(Op::Attributes, path)) return std::nullopt;
        const Node* n = Get(path);
        if (!n) return std::nullopt;
        return n->attributes;
    }
    std::optional<FindRecord> Stat(const std::string& path) override {
        if (Fails(Op::Stat, path)) return std::nullopt;
        const Node* n = Get(path);
        if (!n) return std::nullopt;
        return Record(*n, ExtractFileName(ExcludeTrailingBackslash(path)));
    }
    std::optional<FileId> Identity(const std::string& path) override {
        if (Fails(Op::Identity, path)) return std::nullopt;
        const Node* n = Get(path);
        if (!n) return std::nullopt;
        return FileId{static_cast<unsigned long>(Upper(n->path[0])), n->id};
    }
    std::string FullPath(const std::string& path) override {
        if (path.empty()) return std::string();
        const std::string full = Resolve(path);
        return EndsWithBackslash(path) ? IncludeTrailingBackslash(full) : full;
    }
    std::string LongPath(const std::string& full) override { return full; }
    int DriveTypeOf(char letter) override {
        const auto it = driveTypes_.find(Upper(letter));
        if (it != driveTypes_.end()) return it->second;
        return Has(std::string(1, letter) + ":\\") ? kDriveFixed : kDriveNoRoot;
    }
    std::optional<std::string> ReadAll(const std::string& path) override {
        if (Fails(Op::ReadAll, path)) return std::nullopt;
        const Node* n = Get(path);
        if (!n || n->dir) {
            Fail(kNotFound);
            return std::nullopt;
        }
        return n->content;
    }

    bool MakeDir(const std::string& path) override {
        if (Fails(Op::MakeDir, path)) return false;
        const std::string full = Resolve(path);
        if (Has(full)) return Fail(kAlreadyExists);
        if (!IsDir(Parent(full))) return Fail(kPathNotFound);
        Put(full, true).attributes = kAttrDirectory;
        return true;
    }
    bool RemoveDir(const std::string& path) override {
        if (Fails(Op::RemoveDir, path)) return false;
        const std::string full = Resolve(path);
        const Node* n = Get(full);
        if (!n || !n->dir) return Fail(n ? kAccessDenied : kNotFound);
        // A link goes whatever the directory it points to holds (what is
        // below it here stands for that directory).
        const bool link = (n->attributes & kAttrReparsePoint) != 0;
        if (IsRoot(full) || (!link && !Children(Key(full)).empty())) return Fail(kDirNotEmpty);
        EraseTree(Key(full));
        return true;
    }
    bool Remove(const std::string& path) override {
        if (Fails(Op::Remove, path)) return false;
        const Node* n = Get(path);
        if (!n || n->dir) return Fail(n ? kAccessDenied : kNotFound);
        nodes_.erase(Key(Resolve(path)));
        return true;
    }
    bool Move(const std::string& from, const std::string& to, unsigned flags) override {
        if (Fails(Op::Move, from, to)) return false;
        const std::string src = Resolve(from);
        const std::string dst = Resolve(to);
        const Node* s = Get(src);
        if (!s) return Fail(kNotFound);
        if (!IsDir(Parent(dst))) return Fail(kPathNotFound);
        const bool sameEntry = Key(src) == Key(dst);
        if (!sameEntry && IsSameOrBelow(Key(dst), Key(src))) return Fail(kAccessDenied);
        if (Upper(src[0]) != Upper(dst[0]) && (s->dir || !(flags & kMoveAcrossVolumes))) return Fail(kNotSameDevice);
        if (const Node* d = Get(dst); d && !sameEntry) {
            if (d->dir || s->dir || !(flags & kMoveReplace)) return Fail(kAlreadyExists);
            nodes_.erase(Key(dst));
        }
        // The entry and everything below it take the new name; the entry
        // comes last in its new directory.
        if (!s->dir) {
            Node n = *s;
            nodes_.erase(Key(src));
            n.path = dst;
            n.seq = ++seq_;
            nodes_[Key(dst)] = std::move(n);
            return true;
        }
        std::vector<std::pair<std::string, Node>> moved;
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            if (IsSameOrBelow(it->first, Key(src))) {
                Node n = it->second;
                n.path = dst + n.path.substr(src.size());
                moved.emplace_back(Key(n.path), std::move(n));
                it = nodes_.erase(it);
            } else {
                ++it;
            }
        }
        for (auto& [key, n] : moved) {
            if (key == Key(dst)) n.seq = ++seq_;
            nodes_[key] = std::move(n);
        }
        return true;
    }
    bool Copy(const std::string& from, const std::string& to, bool replace) override {
        if (Fails(Op::Copy, from, to)) return false;
        const Node* s = Get(from);
        if (!s || s->dir) return Fail(s ? kAccessDenied : kNotFound);
        const std::string dst = Resolve(to);
        if (!IsDir(Parent(dst))) return Fail(kPathNotFound);
        if (const Node* d = Get(dst)) {
            if (d->dir) return Fail(kAccessDenied);
            if (!replace) return Fail(kFileExists);
        }
        const Node source = *s;
        Node& n = Put(dst, false);
        n.content = source.content;
        n.attributes = source.attributes;
        n.lastWrite = source.lastWrite;
        return true;
    }
    bool WriteAll(const std::string& path, std::string_view content) override {
        if (Fails(Op::WriteAll, path)) return false;
        const std::string full = Resolve(path);
        if (const Node* d = Get(full); d && d->dir) return Fail(kAccessDenied);
        if (!IsDir(Parent(full))) return Fail(kPathNotFound);
        Node& n = Put(full, false);
        n.content = std::string(content);
        n.attributes = kAttrArchive;
        return true;
    }
    // Every directory lies on one disk of the space SetSpace gave.
    void SetSpace(const DiskSpace& space) { space_ = space; }
    DiskSpace SpaceOf(const std::string& /*dir*/) override { return space_; }
    int LastError() const override { return lastError_; }

private:
    DiskSpace space_;
    struct Node {
        std::string path;  // full, as made
        bool dir = false;
        std::uint32_t attributes = 0;
        std::string content;
        std::uint64_t lastWrite = 0;
        unsigned long long id = 0;
        unsigned long long seq = 0;  // order of coming into the directory
    };

    static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
    static std::string Key(const std::string& full) { return UpperAscii(full); }
    static bool IsRoot(const std::string& full) { return full.size() == 3 && full[1] == ':'; }
    static bool IsSameOrBelow(const std::string& key, const std::string& dirKey) {
        if (key == dirKey) return true;
        const std::string prefix = IncludeTrailingBackslash(dirKey);
        return key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0;
    }
    // The directory holding a full path; empty for a root.
    static std::string Parent(const std::string& full) {
        if (IsRoot(full)) return std::string();
        const std::string up = ExcludeTrailingBackslash(ExtractFilePath(full));
        return up.size() == 2 ? up + "\\" : up;
    }

    // A full path: the drive, then each level ("." and ".." resolved, the
    // dots and blanks that end a name dropped as the platform drops them).
    std::string Resolve(const std::string& path) const {
        std::string p = SlashesToBackslashes(path);
        std::string base;
        if (p.size() >= 2 && p[1] == ':') {
            const char drive = Upper(p[0]);
            p.erase(0, 2);
            if (p.empty() || p[0] != '\\') base = drive == Upper(current_[0]) ? current_ : std::string(1, drive) + ":\\";
            else base = std::string(1, drive) + ":\\";
        } else if (!p.empty() && p[0] == '\\') {
            base = current_.substr(0, 3);
        } else {
            base = current_;
        }
        std::vector<std::string> parts;
        auto add = [&](std::string_view text) {
            std::size_t start = 0;
            while (start <= text.size()) {
                const std::size_t cut = FindChar(text, '\\', start);
                std::string part(text.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start));
                if (part == "..") {
                    if (!parts.empty()) parts.pop_back();
                } else if (!part.empty() && part != ".") {
                    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
                    if (!part.empty()) parts.push_back(part);
                }
                if (cut == std::string_view::npos) break;
                start = cut + 1;
            }
        };
        add(std::string_view(base).substr(3));
        add(p);
        std::string full = base.substr(0, 3);
        full[0] = Upper(full[0]);
        for (std::size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
        return full;
    }

    const Node* Get(const std::string& path) const {
        const auto it = nodes_.find(Key(Resolve(path)));
        return it == nodes_.end() ? nullptr : &it->second;
    }
    Node& At(const std::string& path) { return nodes_.at(Key(Resolve(path))); }
    Node& Put(const std::string& full, bool dir) {
        Node& n = nodes_[Key(full)];
        if (n.path.empty()) {
            n.id = ++ids_;
            n.seq = ++seq_;
        }
        n.path = full;
        n.dir = dir;
        return n;
    }
    std::vector<const Node*> Children(const std::string& dirKey) const {
        std::vector<const Node*> out;
        for (const auto& [key, n] : nodes_) {
            if (!IsRoot(n.path) && Key(Parent(n.path)) == dirKey) out.push_back(&n);
        }
        std::sort(out.begin(), out.end(), [](const Node* a, const Node* b) { return a->seq < b->seq; });
        return out;
    }
    void EraseTree(const std::string& key) {
        for (auto it = nodes_.begin(); it != nodes_.end();) it = IsSameOrBelow(it->first, key) ? nodes_.erase(it) : std::next(it);
    }
    static FindRecord Record(const Node& n, const std::string& name) {
        FindRecord r;
        r.attributes = n.attributes;
        r.lastWriteTime = n.lastWrite;
        r.size = n.dir ? 0 : n.content.size();
        r.name = name;
        return r;
    }

    // "*" any run of characters, "?" one; ASCII case ignored; a pattern
    // ending in ".*" also takes a name without a dot, as the platform's does.
    static bool Matches(const std::string& name, const std::string& pattern) {
        const std::string n = UpperAscii(name);
        const std::string p = UpperAscii(pattern);
        if (Glob(n, 0, p, 0)) return true;
        return p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0 && FindChar(n, '.') == std::string::npos &&
               Glob(n, 0, p.substr(0, p.size() - 2), 0);
    }
    static bool Glob(const std::string& n, std::size_t i, const std::string& p, std::size_t j) {
        if (j == p.size()) return i == n.size();
        if (p[j] == '*') {
            for (std::size_t k = i;; k = NextChar(n, k)) {
                if (Glob(n, k, p, j + 1)) return true;
                if (k >= n.size()) return false;
            }
        }
        if (i == n.size()) return false;
        const std::size_t ni = NextChar(n, i);
        const std::size_t pj = NextChar(p, j);
        if (p[j] == '?') return Glob(n, ni, p, j + 1);
        return n.compare(i, ni - i, p, j, pj - j) == 0 && Glob(n, ni, p, pj);
    }

    bool Fail(int code) {
        lastError_ = code;
        return false;
    }
    // Logs a call and tells whether it is made to fail.
    bool Fails(Op op, const std::string& path, const std::string& to = std::string()) {
        calls_.push_back(Call{op, path, to});
        const bool changes = op == Op::MakeDir || op == Op::RemoveDir || op == Op::Remove || op == Op::Move ||
                             op == Op::Copy || op == Op::WriteAll;
        if (changes) {
            const auto it = failChange_.find(changes_++);
            if (it != failChange_.end()) return !Fail(it->second);
        }
        const auto it = failOn_.find({op, Key(Resolve(path))});
        if (it != failOn_.end()) return !Fail(it->second);
        return false;
    }

    std::map<std::string, Node> nodes_;
    std::string current_;
    std::map<char, int> driveTypes_;
    std::vector<Call> calls_;
    std::map<std::size_t, int> failChange_;
    std::map<std::pair<Op, std::string>, int> failOn_;
    std::size_t changes_ = 0;
    int lastError_ = 0;
    unsigned long long ids_ = 0;
    unsigned long long seq_ = 0;
};

}  // namespace kestrum::test
