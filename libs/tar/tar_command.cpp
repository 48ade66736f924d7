// The TAR32 commands.
#include "libs/tar/tar_command.h"

#include <algorithm>
#include <cstdio>

#include "libs/base/arc_command.h"
#include "libs/base/arc_names.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"
#include "libs/base/arc_time.h"
#include "libs/tar/byte_source.h"
#include "libs/tar/tar_format.h"

namespace kestrum::tar {

using arc::ArcFs;
using arc::ResultKeeper;
using arc::TextOut;

namespace {

// The archive opened for reading: a tar stream, or the contents of a gzip
// file that holds no tar (listed as one entry).
struct Input {
    std::vector<std::uint8_t> data;
    Compression compression = Compression::kNone;
    bool plainGzip = false;
    std::string gzipName;  // the one entry of a plain gzip file
    std::unique_ptr<ByteSource> Open() const {
        return compression == Compression::kGzip ? GzipSource(data.data(), data.size())
                                                 : MemorySource(data.data(), data.size());
    }
};

// The name a plain gzip file unpacks to: the stored one (its last part
// only), else the archive's name without ".gz".
std::string PlainGzipName(const std::string& archive, const std::vector<std::uint8_t>& data) {
    std::string stored = GzipStoredName(data.data(), data.size());
    stored = stored.substr(arc::NameStart(stored));
    if (!stored.empty()) return stored;
    std::string name = archive.substr(arc::NameStart(archive));
    std::string ext = arc::FileExtension(name);
    std::string lower = ext;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower == ".gz" || lower == ".gzip" || lower == ".z") return name.substr(0, name.size() - ext.size());
    if (lower == ".tgz") return name.substr(0, name.size() - ext.size()) + ".tar";
    return name + ".out";
}

int OpenInput(ArcFs& fs, const std::string& path, Input& in, TextOut& out) {
    if (!fs.Stat(path).exists) {
        out.Line("書庫が見つかりません: " + path);
        return arc::kErrNotFindArcFile;
    }
    if (!fs.ReadAll(path, in.data)) {
        out.Line("書庫が読めません: " + path);
        return arc::kErrArcFileOpen;
    }
    in.compression = DetectCompression(in.data.data(), in.data.size());
    if (in.compression != Compression::kNone && in.compression != Compression::kGzip) {
        out.Line("対応していない圧縮形式です: " + path);
        return arc::kErrNotSupport;
    }
    auto src = in.Open();
    std::uint8_t first[512];
    std::size_t got = 0;
    while (got < 512) {
        std::size_t k = src->Read(first + got, 512 - got);
        if (k == 0) break;
        got += k;
    }
    bool tar = got == 512 && IsTarHeader(first);
    if (!tar && in.compression == Compression::kGzip && (got > 0 || !src->Broken())) {
        in.plainGzip = true;
        in.gzipName = PlainGzipName(path, in.data);
        return 0;
    }
    if (!tar && !(got == 512 && std::all_of(first, first + 512, [](std::uint8_t c) { return c == 0; }))) {
        out.Line("tar 書庫ではありません: " + path);
        return arc::kErrNotArcFile;
    }
    return 0;
}

std::string ModeText(const Entry& e) {
    std::string s = e.IsDir() ? "d" : e.type == '2' ? "l" : "-";
    const char* rwx = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) s += (e.mode >> (8 - i)) & 1 ? rwx[i] : '-';
    return s;
}

void ListLine(TextOut& out, const Entry& e) {
    char buf[96];
    std::uint32_t dos = arc::UnixToDos(e.mtime);
    unsigned date = dos >> 16, time = dos & 0xFFFF;
    std::snprintf(buf, sizeof buf, "%s %12llu %04u-%02u-%02u %02u:%02u ", ModeText(e).c_str(),
                  static_cast<unsigned long long>(e.size), 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                  time >> 11, (time >> 5) & 63);
    std::string line = std::string(buf) + e.name;
    if (e.type == '2') line += " -> " + e.linkName;
    if (e.type == '1') line += " link to " + e.linkName;
    out.Line(line);
}

// How the plain names of an archive are written: in UTF-8 when every one
// that is not ASCII is valid UTF-8 (and there is one), as archives made on
// Linux or macOS are; else in Shift-JIS, as before. Names from pax records
// are UTF-8 whatever the rest is.
bool PlainNamesAreUtf8(const Input& in) {
    if (in.plainGzip) return false;
    auto src = in.Open();
    TarReader reader(*src);
    bool any = false;
    Entry e;
    while (reader.Read(e) == Next::kEntry) {
        if (!e.paxName && arc::HasHighBytes(e.name)) {
            if (!arc::IsUtf8(e.name)) return false;
            any = true;
        }
        if (!reader.SkipData(e)) break;
        e = Entry{};
    }
    return any;
}

// A name of the archive as the program's Shift-JIS; false when it has none
// (name then holds a form for messages).
bool ProgramName(std::string& name, bool utf8) {
    if (!utf8 || !arc::HasHighBytes(name) || !arc::IsUtf8(name)) return true;
    std::string sjis;
    if (arc::Utf8ToSjis(name, sjis)) {
        name = sjis;
        return true;
    }
    name = arc::Utf8ForMessage(name);
    return false;
}

// Walks the entries (or the one entry of a plain gzip file), their names
// in Shift-JIS.
template <typename Visit>
int Walk(const Input& in, Visit visit, TextOut& out) {
    const bool plainUtf8 = PlainNamesAreUtf8(in);
    auto src = in.Open();
    if (in.plainGzip) {
        Entry e;
        e.name = in.gzipName;
        e.size = 0;
        e.mtime = 0;
        if (in.data.size() >= 8) {
            e.mtime = static_cast<std::int64_t>(in.data[4] | (in.data[5] << 8) | (in.data[6] << 16) |
                                                (static_cast<std::uint32_t>(in.data[7]) << 24));
            std::size_t n = in.data.size();
            e.size = in.data[n - 4] | (in.data[n - 3] << 8) | (in.data[n - 2] << 16) |
                     (static_cast<std::uint32_t>(in.data[n - 1]) << 24);
        }
        if (e.mtime == 0) e.mtime = 315532800;
        return visit(e, *src, nullptr);
    }
    TarReader reader(*src);
    ResultKeeper result;
    for (;;) {
        Entry e;
        Next n = reader.Read(e);
        if (n == Next::kEnd) break;
        if (n == Next::kBroken) {
            out.Line("書庫が壊れています: " + reader.Problem());
            result.Note(arc::kErrHeaderBroken);
            break;
        }
        e.noSjisName = !ProgramName(e.name, e.paxName || plainUtf8);
        ProgramName(e.linkName, plainUtf8);
        int r = visit(e, *src, &reader);
        if (r < 0) {
            out.Line("書庫が壊れています: " + reader.Problem());
            result.Note(arc::kErrHeaderBroken);
            break;
        }
        result.Note(r);
    }
    return result.Get();
}

int DoList(ArcFs& fs, const TarCommand& cmd, TextOut& out) {
    Input in;
    if (int r = OpenInput(fs, cmd.archive, in, out)) return r;
    return Walk(in, [&](const Entry& e, ByteSource&, TarReader* reader) {
        if (arc::SelectedByPatterns(cmd.names, e.name)) ListLine(out, e);
        return reader && !reader->SkipData(e) ? -1 : 0;
    }, out);
}

int DoExtract(ArcFs& fs, const TarCommand& cmd, TextOut& out) {
    Input in;
    if (int r = OpenInput(fs, cmd.archive, in, out)) return r;
    if (!arc::EnsureDirectory(fs, cmd.outDir)) {
        out.Line("展開先のディレクトリが作れません: " + cmd.outDir);
        return arc::kErrMakeDirectory;
    }
    ResultKeeper result;
    arc::MemberFile files(fs, out, result);
    int walked = Walk(in, [&](const Entry& e, ByteSource& src, TarReader* reader) {
        auto skip = [&]() { return reader && !reader->SkipData(e) ? -1 : 0; };
        if (!arc::SelectedByPatterns(cmd.names, e.name)) return skip();
        if (e.noSjisName) {
            // Never written under a garbled name.
            out.Line("Shift-JIS で表せない文字を含む名前なので展開しません: " + e.name);
            result.Note(arc::kErrFileStyle);
            return skip();
        }
        if (e.IsLink()) {
            out.Line("リンクは作りません: " + e.name);
            result.Note(arc::kErrUnknownType);
            return skip();
        }
        if (!e.IsDir() && !e.IsFile()) {
            out.Line("展開しない種類のエントリーです: " + e.name);
            result.Note(arc::kErrUnknownType);
            return skip();
        }
        arc::ExtractTarget target;
        if (!files.Prepare(e.name, cmd.outDir, true, false, target)) return skip();
        target.mtime = e.mtime;
        if (e.IsDir()) {
            files.MakeDirectory(target);
            return skip();
        }
        // tar replaces files that exist, as the tar tools do.
        auto w = files.Open(target, arc::Overwrite::kAllow);
        if (!w) return skip();
        bool ok;
        if (reader) {
            ok = reader->ReadData(e, [&](const std::uint8_t* p, std::size_t n) { return w->Write(p, n); });
        } else {
            std::uint8_t buf[65536];
            std::size_t n;
            ok = true;
            while (ok && (n = src.Read(buf, sizeof buf)) > 0) ok = w->Write(buf, n);
            ok = ok && !src.Broken();
        }
        if (!ok) {
            out.Line("データが壊れているので展開しません: " + e.name);
            result.Note(arc::kErrFileCrc);
            return reader ? -1 : 0;
        }
        if (files.Finish(std::move(w), target)) out.Line("展開: " + target.relPath);
        return 0;
    }, out);
    result.Note(walked);
    return result.Get();
}

// ---- creating ----

struct Source {
    std::string path;
    std::string stored;  // "/" separators
    arc::FileStat stat;
};

std::string StoredForm(const std::string& typed) {
    std::string s = arc::ToSlashes(typed);
    if (s.size() >= 2 && s[1] == ':') s.erase(0, 2);
    std::string out;
    std::size_t i = 0;
    while (i <= s.size()) {
        std::size_t end = s.find('/', i);
        if (end == std::string::npos) end = s.size();
        std::string comp = s.substr(i, end - i);
        if (!comp.empty() && comp != "." && comp != "..") out += (out.empty() ? "" : "/") + comp;
        i = end + 1;
    }
    return out;
}

void AddTree(ArcFs& fs, const std::string& dir, const std::string& stored, std::vector<Source>& list, int depth) {
    if (depth > 64) return;
    for (const arc::DirEntry& e : fs.List(dir)) {
        if (e.stat.isLink) continue;
        std::string path = arc::JoinPath(dir, e.name);
        std::string st = stored.empty() ? e.name : stored + "/" + e.name;
        list.push_back({path, e.stat.isDir ? st + "/" : st, e.stat});
        if (e.stat.isDir) AddTree(fs, path, st, list, depth + 1);
    }
}

int DoCreate(ArcFs& fs, const TarCommand& cmd, TextOut& out) {
    ResultKeeper result;
    std::vector<Source> list;
    for (const std::string& typed : cmd.names) {
        std::string path = arc::JoinPath(cmd.outDir, typed);
        arc::FileStat st = fs.Stat(path);
        std::string stored = StoredForm(typed);
        if (!st.exists || st.isLink || (stored.empty() && !st.isDir)) {
            out.Line("ファイルが見つかりません: " + typed);
            result.Note(arc::kErrNotFindFile);
            continue;
        }
        // "." (or any name that reduces to nothing) stands for the folder's contents.
        if (!stored.empty()) list.push_back({path, st.isDir ? stored + "/" : stored, st});
        if (st.isDir) AddTree(fs, path, stored, list, 0);
    }
    if (list.empty()) {
        out.Line("書庫に入れるファイルがありません");
        return arc::kErrNotFindFile;
    }
    std::vector<std::uint8_t> tarBytes, gz;
    std::unique_ptr<GzipWriter> gzip;
    if (cmd.gzip) gzip = std::make_unique<GzipWriter>(gz);
    std::uint64_t total = 0;
    auto emit = [&](const std::uint8_t* p, std::size_t n) {
        total += n;
        if (gzip) return gzip->Write(p, n);
        tarBytes.insert(tarBytes.end(), p, p + n);
        return true;
    };
    bool ok = true;
    for (const Source& s : list) {
        Entry e;
        e.name = s.stored;
        e.type = s.stat.isDir ? '5' : '0';
        e.mode = s.stat.isDir ? 0755 : (s.stat.attrib & arc::kAttrReadOnly ? 0444 : 0644);
        e.mtime = s.stat.mtime;
        std::vector<std::uint8_t> body;
        if (!s.stat.isDir && !fs.ReadAll(s.path, body)) {
            out.Line("ファイルが読めません: " + s.path);
            result.Note(arc::kErrFileOpen);
            continue;
        }
        e.size = body.size();
        auto header = BuildHeader(e);
        ok = ok && emit(header.data(), header.size());
        if (!body.empty()) {
            body.resize((body.size() + 511) / 512 * 512, 0);
            ok = ok && emit(body.data(), body.size());
        }
        out.Line("格納: " + e.name);
    }
    // Two zero blocks end the archive, padded to a 10 KB record.
    std::vector<std::uint8_t> tail(1024, 0);
    ok = ok && emit(tail.data(), tail.size());
    std::vector<std::uint8_t> pad((10240 - total % 10240) % 10240, 0);
    if (!pad.empty()) ok = ok && emit(pad.data(), pad.size());
    if (gzip) ok = ok && gzip->Finish();
    const std::vector<std::uint8_t>& bytes = gzip ? gz : tarBytes;
    std::string temp;
    auto w = arc::CreateTempBeside(fs, cmd.archive, temp);
    if (!w) {
        out.Line("作業ファイルが作れません: " + cmd.archive + ".$$$");
        return arc::kErrTmpOpen;
    }
    if (!ok || !w->Write(bytes.data(), bytes.size()) || !w->Close()) {
        out.Line("書庫が書けません: " + cmd.archive);
        return arc::kErrCannotWrite;
    }
    w.reset();
    if (!fs.Replace(temp, cmd.archive)) {
        fs.Remove(temp);
        out.Line("書庫が書けません: " + cmd.archive);
        return arc::kErrCannotWrite;
    }
    return result.Get();
}

}  // namespace

int ParseTarCommand(std::string_view line, TarCommand& cmd, std::string& error) {
    std::vector<std::string> words = arc::SplitArgs(line);
    std::vector<char> wants;  // arguments the flags asked for, in order
    bool first = true;
    for (const std::string& w : words) {
        if (w.empty()) continue;
        bool flags = first || (w[0] == '-' && w.size() > 1 && w[1] != '-');
        if (!wants.empty() && !(w[0] == '-' && w.size() > 1)) {
            char want = wants.front();
            wants.erase(wants.begin());
            (want == 'f' ? cmd.archive : cmd.outDir) = w;
            continue;
        }
        if (flags) {
            first = false;
            for (char c : w) {
                switch (c) {
                    case '-': break;
                    case 'x': case 'c': case 't': cmd.command = c; break;
                    case 'l': cmd.command = 't'; break;
                    case 'z': cmd.gzip = true; break;
                    case 'f': case 'o': wants.push_back(c); break;
                    default: break;  // v, p and the rest change nothing here
                }
            }
            continue;
        }
        if (w[0] == '-') continue;  // long options are not ours
        if (cmd.archive.empty()) {
            cmd.archive = w;
        } else if (cmd.outDir.empty() && arc::EndsWithSeparator(w) && cmd.command != 'c') {
            cmd.outDir = w;
        } else {
            cmd.names.push_back(w);
        }
    }
    if (cmd.command == 0) {
        error = "コマンドがありません (x, c, t のどれか)";
        return arc::kErrCommandName;
    }
    if (cmd.archive.empty()) {
        error = "書庫の名前がありません";
        return arc::kErrNotFindArcFile;
    }
    return 0;
}

int RunTar(ArcFs& fs, std::string_view line, std::string& text) {
    TextOut out;
    TarCommand cmd;
    std::string error;
    int r = ParseTarCommand(line, cmd, error);
    if (r != 0) {
        out.Line(error);
    } else if (cmd.command == 'x') {
        r = DoExtract(fs, cmd, out);
    } else if (cmd.command == 't') {
        r = DoList(fs, cmd, out);
    } else {
        r = DoCreate(fs, cmd, out);
    }
    text = out.Text();
    return r;
}

bool ListTar(ArcFs& fs, const std::string& path, std::vector<arc::ListEntry>& entries) {
    Input in;
    TextOut out;
    if (OpenInput(fs, path, in, out) != 0) return false;
    Walk(in, [&](const Entry& e, ByteSource&, TarReader* reader) {
        arc::ListEntry le;
        le.name = e.name;
        le.original = e.size;
        le.packed = e.size;
        le.osType = arc::kOsUnix;
        le.dosDateTime = arc::UnixToDos(e.mtime);
        le.attribute = arc::AttributeLetters(e.IsDir() ? arc::kAttrDirectory : arc::kAttrArchive);
        le.mode = in.plainGzip ? "-gz-" : in.compression == Compression::kGzip ? "-tgz-" : "-tar-";
        entries.push_back(le);
        return reader && !reader->SkipData(e) ? -1 : 0;
    }, out);
    return true;
}

}  // namespace kestrum::tar
