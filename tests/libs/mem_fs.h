// An in-memory file system for the archiver cores: every file and
// directory they make is recorded, so a test can check that nothing was
// written outside the target, and writes can be made to fail.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "libs/base/arc_fs.h"
#include "libs/base/arc_path.h"

namespace kestrum::arc::test {

class MemFs : public ArcFs {
public:
    struct Node {
        bool dir = false;
        bool link = false;
        std::vector<std::uint8_t> data;
        std::int64_t mtime = 0;
        std::uint32_t attrib = kAttrArchive;
    };

    void AddFile(const std::string& path, const std::string& content, std::int64_t mtime = 1700000000) {
        Node n;
        n.data.assign(content.begin(), content.end());
        n.mtime = mtime;
        nodes_[Key(path)] = n;
    }
    void AddDir(const std::string& path) {
        Node n;
        n.dir = true;
        n.attrib = kAttrDirectory;
        nodes_[Key(path)] = n;
    }
    void AddLink(const std::string& path) {
        Node n;
        n.link = true;
        n.dir = true;
        nodes_[Key(path)] = n;
    }
    bool Has(const std::string& path) const { return nodes_.count(Key(path)) != 0; }
    std::string Content(const std::string& path) const {
        auto it = nodes_.find(Key(path));
        return it == nodes_.end() ? std::string("<missing>") : std::string(it->second.data.begin(), it->second.data.end());
    }
    const Node* Get(const std::string& path) const {
        auto it = nodes_.find(Key(path));
        return it == nodes_.end() ? nullptr : &it->second;
    }
    // Every path created (files and directories), in order.
    const std::vector<std::string>& Written() const { return written_; }
    void FailWritesAfter(std::size_t bytes) { failAfter_ = bytes; }
    // A path whose file cannot be created.
    std::string failCreate;

    bool ReadAll(const std::string& path, std::vector<std::uint8_t>& out) override {
        auto it = nodes_.find(Key(path));
        if (it == nodes_.end() || it->second.dir) return false;
        out = it->second.data;
        return true;
    }
    std::unique_ptr<FileWriter> Create(const std::string& path) override;
    std::unique_ptr<FileWriter> CreateNew(const std::string& path) override {
        return Has(path) ? nullptr : Create(path);
    }
    bool MakeDir(const std::string& path) override {
        std::string k = Key(path);
        auto it = nodes_.find(k);
        if (it != nodes_.end()) return it->second.dir;
        written_.push_back(k);
        AddDir(k);
        return true;
    }
    FileStat Stat(const std::string& path) override {
        FileStat st;
        auto it = nodes_.find(Key(path));
        if (it == nodes_.end()) return st;
        st.exists = true;
        st.isDir = it->second.dir;
        st.isLink = it->second.link;
        st.size = it->second.data.size();
        st.mtime = it->second.mtime;
        st.attrib = it->second.attrib;
        return st;
    }
    std::vector<DirEntry> List(const std::string& dir) override {
        std::vector<DirEntry> out;
        std::string prefix = Key(dir);
        if (!prefix.empty()) prefix += '\\';
        for (auto& [k, n] : nodes_) {
            if (k.size() <= prefix.size() || k.compare(0, prefix.size(), prefix) != 0) continue;
            std::string rest = k.substr(prefix.size());
            if (rest.find('\\') != std::string::npos) continue;
            out.push_back(DirEntry{rest, Stat(k)});
        }
        return out;
    }
    bool SetTimeAndAttributes(const std::string& path, std::int64_t mtime, std::uint32_t attrib,
                              bool setAttrib) override {
        auto it = nodes_.find(Key(path));
        if (it == nodes_.end()) return false;
        it->second.mtime = mtime;
        if (setAttrib) it->second.attrib = attrib;
        return true;
    }
    bool Remove(const std::string& path) override { return nodes_.erase(Key(path)) != 0; }
    bool Replace(const std::string& from, const std::string& to) override {
        auto it = nodes_.find(Key(from));
        if (it == nodes_.end()) return false;
        Node n = it->second;
        nodes_.erase(it);
        nodes_[Key(to)] = n;
        return true;
    }

    static std::string Key(const std::string& path) {
        std::string k = ToBackslashes(path);
        while (EndsWithSeparator(k) && k.size() > 1) k.pop_back();
        return k;
    }

    std::map<std::string, Node> nodes_;
    std::vector<std::string> written_;
    std::size_t failAfter_ = static_cast<std::size_t>(-1);
    std::size_t writtenBytes_ = 0;
};

class MemWriter : public FileWriter {
public:
    MemWriter(MemFs& fs, std::string key) : fs_(fs), key_(std::move(key)) {}
    ~MemWriter() override {
        if (!closed_) fs_.nodes_.erase(key_);
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        fs_.writtenBytes_ += size;
        if (fs_.writtenBytes_ > fs_.failAfter_) return false;
        auto& v = fs_.nodes_[key_].data;
        v.insert(v.end(), data, data + size);
        return true;
    }
    bool Close() override {
        closed_ = true;
        return true;
    }

private:
    MemFs& fs_;
    std::string key_;
    bool closed_ = false;
};

inline std::unique_ptr<FileWriter> MemFs::Create(const std::string& path) {
    std::string k = Key(path);
    auto it = nodes_.find(k);
    if (it != nodes_.end() && (it->second.dir || it->second.link)) return nullptr;
    if (!failCreate.empty() && k == Key(failCreate)) return nullptr;
    written_.push_back(k);
    nodes_[k] = Node{};
    return std::make_unique<MemWriter>(*this, k);
}

// An ArcFs over a MemFs whose call numbered failAt (from 1, every call and
// every write and close of a file counted; 0: none) fails: a query finds
// nothing, a change changes nothing, a write lands half of its data, a
// close loses the file as the platform's writer does.
class FaultyArcFs : public ArcFs {
public:
    explicit FaultyArcFs(MemFs& mem) : mem_(mem) {}

    std::size_t failAt = 0;
    bool Reached() const { return reached_; }

    bool ReadAll(const std::string& path, std::vector<std::uint8_t>& out) override {
        return !Hit() && mem_.ReadAll(path, out);
    }
    std::unique_ptr<FileWriter> Create(const std::string& path) override {
        if (Hit()) return nullptr;
        auto w = mem_.Create(path);
        return w ? std::make_unique<Writer>(*this, std::move(w)) : nullptr;
    }
    std::unique_ptr<FileWriter> CreateNew(const std::string& path) override {
        if (Hit()) return nullptr;
        auto w = mem_.CreateNew(path);
        return w ? std::make_unique<Writer>(*this, std::move(w)) : nullptr;
    }
    bool MakeDir(const std::string& path) override { return !Hit() && mem_.MakeDir(path); }
    FileStat Stat(const std::string& path) override { return Hit() ? FileStat{} : mem_.Stat(path); }
    std::vector<DirEntry> List(const std::string& dir) override {
        return Hit() ? std::vector<DirEntry>{} : mem_.List(dir);
    }
    bool SetTimeAndAttributes(const std::string& path, std::int64_t mtime, std::uint32_t attrib,
                              bool setAttrib) override {
        return !Hit() && mem_.SetTimeAndAttributes(path, mtime, attrib, setAttrib);
    }
    bool Remove(const std::string& path) override { return !Hit() && mem_.Remove(path); }
    bool Replace(const std::string& from, const std::string& to) override { return !Hit() && mem_.Replace(from, to); }

private:
    class Writer : public FileWriter {
    public:
        Writer(FaultyArcFs& fs, std::unique_ptr<FileWriter> inner) : fs_(fs), inner_(std::move(inner)) {}
        bool Write(const std::uint8_t* data, std::size_t size) override {
            if (!fs_.Hit()) return inner_->Write(data, size);
            inner_->Write(data, size / 2);
            return false;
        }
        bool Close() override {
            if (fs_.Hit()) {
                inner_.reset();  // unclosed: the partial file goes
                return false;
            }
            return inner_->Close();
        }

    private:
        FaultyArcFs& fs_;
        std::unique_ptr<FileWriter> inner_;
    };

    bool Hit() {
        if (++calls_ != failAt) return false;
        reached_ = true;
        return true;
    }

    MemFs& mem_;
    std::size_t calls_ = 0;
    bool reached_ = false;
};

}  // namespace kestrum::arc::test
