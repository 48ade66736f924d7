// Checked extraction shared by the command-line libraries.
#include "libs/base/arc_command.h"

#include "libs/base/arc_path.h"

namespace kestrum::arc {

bool EnsureDirectory(ArcFs& fs, const std::string& dir) {
    if (dir.empty()) return true;
    FileStat st = fs.Stat(dir);
    if (st.exists) return st.isDir;
    std::string path = dir;
    while (EndsWithSeparator(path) && path.size() > 1) path.pop_back();
    std::size_t cut = NameStart(path);
    if (cut > 0 && cut < path.size()) {
        std::string parent = path.substr(0, cut);
        if (!(parent.size() <= 3 && parent.size() >= 2 && parent[1] == ':') && parent != "\\") {
            if (!EnsureDirectory(fs, parent)) return false;
        }
    }
    return fs.MakeDir(path);
}

std::string FileExtension(std::string_view path) {
    std::size_t start = NameStart(path);
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = start; i < path.size(); i += SjisCharLen(path, i)) {
        if (path[i] == '.') dot = i;
    }
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::unique_ptr<FileWriter> OpenOutput(ArcFs& fs, const std::string& path, bool exists, std::string& temp) {
    temp.clear();
    if (!exists) return fs.CreateNew(path);
    const std::string dir = path.substr(0, NameStart(path));
    for (int n = 0; n < 100 && temp.empty(); ++n) {
        const std::string name = dir + "~kx" + std::to_string(n) + ".tmp";
        if (!fs.Stat(name).exists) temp = name;
    }
    return temp.empty() ? nullptr : fs.CreateNew(temp);
}

std::unique_ptr<FileWriter> CreateTempBeside(ArcFs& fs, const std::string& path, std::string& temp) {
    for (int n = 0; n < 1000; ++n) {
        temp = path + (n == 0 ? std::string(".$$$") : ".$" + std::to_string(n) + "$");
        if (fs.Stat(temp).exists) continue;
        if (auto w = fs.CreateNew(temp)) return w;
    }
    temp.clear();
    return nullptr;
}

bool CloseOutput(ArcFs& fs, std::unique_ptr<FileWriter> w, const std::string& path, const std::string& temp) {
    if (w->Close() && (temp.empty() || fs.Replace(temp, path))) return true;
    if (!temp.empty()) fs.Remove(temp);
    return false;
}

bool MemberFile::Prepare(std::string_view stored, const std::string& dir, bool keepPaths, bool stripRoot,
                         ExtractTarget& target) {
    MemberPath mp = CheckMemberPath(stored, stripRoot);
    if (!mp.ok) {
        out_.Line("展開しません: " + std::string(stored) + " (" + mp.reason + ")");
        result_.Note(kErrFileStyle);
        return false;
    }
    std::string rel = mp.path;
    if (!keepPaths) rel = rel.substr(NameStart(rel));
    if (rel.empty()) return false;
    std::string full = JoinPath(dir, rel);
    if (full.size() > kMaxPath) {
        out_.Line("展開しません: " + std::string(stored) + " (" + LongNameReason() + ")");
        result_.Note(kErrLongFileName);
        return false;
    }
    target.dir = dir;
    target.relPath = rel;
    return true;
}

std::unique_ptr<FileWriter> MemberFile::Open(ExtractTarget& t, Overwrite overwrite) {
    std::size_t cut = NameStart(t.relPath);
    if (cut > 0 && !MakeDirs(fs_, t.dir, t.relPath.substr(0, cut - 1))) {
        out_.Line("ディレクトリが作れません: " + t.relPath);
        result_.Note(kErrMakeDirectory);
        return nullptr;
    }
    std::string full = JoinPath(t.dir, t.relPath);
    FileStat st = fs_.Stat(full);
    if (st.exists) {
        if (st.isLink || st.isDir) {
            out_.Line("展開しません: " + t.relPath + " (同じ名前のリンクかディレクトリがあります)");
            result_.Note(kErrCannotWrite);
            return nullptr;
        }
        if (overwrite == Overwrite::kRefuse) {
            out_.Line("既に存在するので展開しません: " + t.relPath);
            result_.Note(kErrAlreadyExist);
            return nullptr;
        }
    }
    auto w = OpenOutput(fs_, full, st.exists, t.temp);
    if (!w) {
        out_.Line("ファイルが作れません: " + t.relPath);
        result_.Note(kErrFileOpen);
    }
    return w;
}

bool MemberFile::MakeDirectory(const ExtractTarget& t) {
    if (!MakeDirs(fs_, t.dir, t.relPath)) {
        out_.Line("ディレクトリが作れません: " + t.relPath);
        result_.Note(kErrMakeDirectory);
        return false;
    }
    return true;
}

bool MemberFile::Finish(std::unique_ptr<FileWriter> w, const ExtractTarget& t) {
    if (!CloseOutput(fs_, std::move(w), JoinPath(t.dir, t.relPath), t.temp)) {
        out_.Line("書き込めません: " + t.relPath);
        result_.Note(kErrCannotWrite);
        return false;
    }
    fs_.SetTimeAndAttributes(JoinPath(t.dir, t.relPath), t.mtime, t.attrib, t.restoreAttrib);
    return true;
}

}  // namespace kestrum::arc
