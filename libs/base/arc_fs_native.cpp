// The archiver file system on a POSIX host.
#include "libs/base/arc_platform_fs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>

#include "libs/base/arc_path.h"

namespace kestrum::arc {

namespace {

std::string HostPath(const std::string& path) { return ToSlashes(path); }

}  // namespace

bool PlatformFs::ReadAll(const std::string& path, std::vector<std::uint8_t>& out) {
    FILE* f = std::fopen(HostPath(path).c_str(), "rb");
    if (!f) return false;
    out.clear();
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

namespace {
class NativeWriter : public FileWriter {
public:
    NativeWriter(FILE* f, std::string path) : f_(f), path_(std::move(path)) {}
    ~NativeWriter() override {
        if (f_) {
            std::fclose(f_);
            std::remove(path_.c_str());
        }
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        return std::fwrite(data, 1, size, f_) == size;
    }
    bool Close() override {
        bool ok = std::fclose(f_) == 0;
        f_ = nullptr;
        if (!ok) std::remove(path_.c_str());
        return ok;
    }

private:
    FILE* f_;
    std::string path_;
};
}  // namespace

std::unique_ptr<FileWriter> PlatformFs::Create(const std::string& path) {
    std::string host = HostPath(path);
    FILE* f = std::fopen(host.c_str(), "wb");
    if (!f) return nullptr;
    return std::make_unique<NativeWriter>(f, host);
}

std::unique_ptr<FileWriter> PlatformFs::CreateNew(const std::string& path) {
    std::string host = HostPath(path);
    FILE* f = std::fopen(host.c_str(), "wbx");
    if (!f) return nullptr;
    return std::make_unique<NativeWriter>(f, host);
}

bool PlatformFs::MakeDir(const std::string& path) {
    std::string host = HostPath(path);
    if (::mkdir(host.c_str(), 0777) == 0) return true;
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileStat PlatformFs::Stat(const std::string& path) {
    FileStat r;
    struct stat st;
    if (::lstat(HostPath(path).c_str(), &st) != 0) return r;
    r.exists = true;
    r.isLink = S_ISLNK(st.st_mode);
    r.isDir = S_ISDIR(st.st_mode);
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.mtime = st.st_mtime;
    r.attrib = r.isDir ? kAttrDirectory : kAttrArchive;
    if (!(st.st_mode & S_IWUSR)) r.attrib |= kAttrReadOnly;
    return r;
}

std::vector<DirEntry> PlatformFs::List(const std::string& dir) {
    std::vector<DirEntry> out;
    DIR* d = ::opendir(HostPath(dir.empty() ? "." : dir).c_str());
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        DirEntry de;
        de.name = name;
        de.stat = Stat(JoinPath(dir, name));
        out.push_back(de);
    }
    ::closedir(d);
    return out;
}

bool PlatformFs::SetTimeAndAttributes(const std::string& path, std::int64_t mtime, std::uint32_t, bool) {
    struct timeval tv[2];
    tv[0].tv_sec = tv[1].tv_sec = static_cast<time_t>(mtime);
    tv[0].tv_usec = tv[1].tv_usec = 0;
    return ::utimes(HostPath(path).c_str(), tv) == 0;
}

bool PlatformFs::Remove(const std::string& path) { return std::remove(HostPath(path).c_str()) == 0; }

bool PlatformFs::Replace(const std::string& from, const std::string& to) {
    return std::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0;
}

}  // namespace kestrum::arc
