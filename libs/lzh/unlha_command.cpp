// The UNLHA32 commands.
#include "libs/lzh/unlha_command.h"

#include <cstdio>
#include <cstring>

#include "libs/base/arc_command.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"
#include "libs/base/arc_time.h"
#include "libs/lzh/lzh_archive.h"
#include "libs/lzh/lzh_codec.h"

namespace kestrum::lzh {

using arc::ArcFs;
using arc::JoinPath;
using arc::ResultKeeper;
using arc::TextOut;

int UnlhaCommand::Value(const std::string& sw, int absent) const {
    auto it = switches.find(sw);
    if (it == switches.end()) return absent;
    const std::string& v = it->second;
    if (v.empty() || v == "+") return 1;
    if (v == "-") return 0;
    return std::atoi(v.c_str());
}

namespace {

bool IsBaseDir(const std::string& s) {
    if (s.empty()) return false;
    return arc::EndsWithSeparator(s) || (s.size() == 2 && s[1] == ':');
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

std::int64_t MemberTime(const Member& m) { return m.timeIsDos ? arc::DosToUnix(m.dosTime) : m.mtime; }
std::uint32_t MemberDosTime(const Member& m) { return m.timeIsDos ? m.dosTime : arc::UnixToDos(m.mtime); }

// The archive as named, or with ".lzh" added when the name has no
// extension and the plain name does not exist.
std::string ArchiveName(ArcFs& fs, const std::string& name, bool creating) {
    if (!arc::FileExtension(name).empty()) return name;
    if (!creating && fs.Stat(name).exists) return name;
    return name + ".lzh";
}

bool Selected(const UnlhaCommand& cmd, const std::string& name) { return arc::SelectedByPatterns(cmd.names, name); }

std::string MethodText(const Member& m) { return std::string(m.method, 5); }

void ListLine(TextOut& out, const Member& m) {
    char buf[160];
    std::uint32_t dos = MemberDosTime(m);
    unsigned date = dos >> 16, time = dos & 0xFFFF;
    std::uint16_t ratio = arc::RatioPerMille(m.packed, m.original);
    std::snprintf(buf, sizeof buf, " %10llu %10llu %3u.%u%% %04u-%02u-%02u %02u:%02u:%02u %-4s %s %04X %u ",
                  static_cast<unsigned long long>(m.original), static_cast<unsigned long long>(m.packed),
                  ratio / 10, ratio % 10, 1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11,
                  (time >> 5) & 63, (time & 31) * 2, arc::AttributeLetters(m.attrib).c_str(),
                  MethodText(m).c_str(), m.crc, static_cast<unsigned>(m.level));
    out.Line(std::string(buf) + m.name);
}

int DoList(ArcFs& fs, const UnlhaCommand& cmd, TextOut& out) {
    std::string path = ArchiveName(fs, cmd.archive, false);
    std::vector<std::uint8_t> data;
    if (!fs.Stat(path).exists) {
        out.Line("書庫が見つかりません: " + path);
        return arc::kErrNotFindArcFile;
    }
    if (!fs.ReadAll(path, data)) {
        out.Line("書庫が読めません: " + path);
        return arc::kErrArcFileOpen;
    }
    Scan scan = ScanArchive(data.data(), data.size());
    if (!scan.foundHeader) {
        out.Line("LHA の書庫ではありません: " + path);
        return arc::kErrNotArcFile;
    }
    out.Line("   Original     Packed  Ratio Date       Time     Attr Method CRC  Lv Name");
    out.Line("---------- ---------- ------ ---------- -------- ---- ----- ---- -- ----------------");
    std::uint64_t orig = 0, packed = 0;
    unsigned count = 0;
    for (const Member& m : scan.members) {
        if (!Selected(cmd, m.name)) continue;
        ListLine(out, m);
        orig += m.original;
        packed += m.packed;
        ++count;
    }
    out.Line("---------- ---------- ------ ---------- -------- ---- ----- ---- -- ----------------");
    char buf[120];
    std::uint16_t ratio = arc::RatioPerMille(packed, orig);
    std::snprintf(buf, sizeof buf, " %10llu %10llu %3u.%u%%  %u file(s)", static_cast<unsigned long long>(orig),
                  static_cast<unsigned long long>(packed), ratio / 10, ratio % 10, count);
    out.Line(buf);
    if (scan.damaged) {
        out.Line("書庫が壊れています: " + scan.problem);
        return arc::kErrHeaderBroken;
    }
    return arc::kOk;
}

enum class UnpackStatus { kOk, kMethod, kBroken, kCrc, kWriteFailed };

// Decodes one member's data into sink, checking its CRC.
UnpackStatus Unpack(const Member& m, const std::vector<std::uint8_t>& data, const ByteSink& sink) {
    std::size_t avail = m.dataOffset <= data.size() ? data.size() - m.dataOffset : 0;
    std::size_t packed = m.packed < avail ? static_cast<std::size_t>(m.packed) : avail;
    const std::uint8_t* in = data.data() + (m.dataOffset <= data.size() ? m.dataOffset : data.size());
    std::uint16_t crc = 0;
    auto counting = [&](const std::uint8_t* p, std::size_t n) {
        crc = Crc16(crc, p, n);
        return sink(p, n);
    };
    if (std::memcmp(m.method, "-lh0-", 5) == 0 || std::memcmp(m.method, "-lz4-", 5) == 0) {
        if (m.truncated || m.packed != m.original) return UnpackStatus::kBroken;
        if (packed > 0 && !counting(in, packed)) return UnpackStatus::kWriteFailed;
    } else {
        int dicbit = DictionaryBits(m.method);
        if (dicbit == 0) return UnpackStatus::kMethod;
        DecodeStatus st = Decode(dicbit, in, packed, m.original, counting);
        if (st == DecodeStatus::kSinkFailed) return UnpackStatus::kWriteFailed;
        if (st != DecodeStatus::kOk) return UnpackStatus::kBroken;
    }
    if (m.hasCrc && crc != m.crc) return UnpackStatus::kCrc;
    return UnpackStatus::kOk;
}

bool ReadArchive(ArcFs& fs, const std::string& path, std::vector<std::uint8_t>& data, TextOut& out, int& result) {
    if (!fs.Stat(path).exists) {
        out.Line("書庫が見つかりません: " + path);
        result = arc::kErrNotFindArcFile;
        return false;
    }
    if (!fs.ReadAll(path, data)) {
        out.Line("書庫が読めません: " + path);
        result = arc::kErrArcFileOpen;
        return false;
    }
    return true;
}

void ReportUnpack(UnpackStatus st, const Member& m, TextOut& out, ResultKeeper& result) {
    switch (st) {
        case UnpackStatus::kOk: break;
        case UnpackStatus::kMethod:
            out.Line("対応していない圧縮法です: " + m.name + " (" + MethodText(m) + ")");
            result.Note(arc::kErrMethod);
            break;
        case UnpackStatus::kBroken:
            out.Line("データが壊れています: " + m.name);
            result.Note(arc::kErrFileCrc);
            break;
        case UnpackStatus::kCrc:
            out.Line("CRC が合いません: " + m.name);
            result.Note(arc::kErrFileCrc);
            break;
        case UnpackStatus::kWriteFailed:
            out.Line("書き込めません: " + m.name);
            result.Note(arc::kErrCannotWrite);
            break;
    }
}

// e, x and t: every selected member that is intact is written (or, for t,
// checked); the rest is reported and the most serious problem returned.
int DoExtract(ArcFs& fs, const UnlhaCommand& cmd, TextOut& out, bool testOnly) {
    std::string path = ArchiveName(fs, cmd.archive, false);
    std::vector<std::uint8_t> data;
    int openResult = 0;
    if (!ReadArchive(fs, path, data, out, openResult)) return openResult;
    Scan scan = ScanArchive(data.data(), data.size());
    if (!scan.foundHeader) {
        out.Line("LHA の書庫ではありません: " + path);
        return arc::kErrNotArcFile;
    }
    ResultKeeper result;
    const bool keepPaths = cmd.command == 'x' || cmd.Value("x", 0) != 0;
    const bool stripRoot = cmd.Has("jf");
    const bool restoreAttrib = cmd.Value("a", 0) != 0;
    const arc::Overwrite overwrite = cmd.Value("m", 0) != 0 ? arc::Overwrite::kAllow : arc::Overwrite::kRefuse;
    if (!testOnly && !arc::EnsureDirectory(fs, cmd.baseDir)) {
        out.Line("展開先のディレクトリが作れません: " + cmd.baseDir);
        return arc::kErrMakeDirectory;
    }
    arc::MemberFile files(fs, out, result);
    for (const Member& m : scan.members) {
        if (!Selected(cmd, m.name)) continue;
        if (m.isLink) {
            out.Line("シンボリックリンクは作りません: " + m.name);
            result.Note(arc::kErrUnknownType);
            continue;
        }
        if (testOnly) {
            UnpackStatus st = UnpackStatus::kOk;
            if (!m.isDir) st = Unpack(m, data, [](const std::uint8_t*, std::size_t) { return true; });
            if (st == UnpackStatus::kOk) out.Line("正常: " + m.name);
            ReportUnpack(st, m, out, result);
            continue;
        }
        arc::ExtractTarget target;
        if (m.isDir && !keepPaths) continue;
        if (!files.Prepare(m.name, cmd.baseDir, keepPaths, stripRoot, target)) continue;
        target.mtime = MemberTime(m);
        target.attrib = m.attrib;
        target.restoreAttrib = restoreAttrib;
        if (m.isDir) {
            files.MakeDirectory(target);
            continue;
        }
        auto w = files.Open(target, overwrite);
        if (!w) continue;
        UnpackStatus st = Unpack(m, data, [&](const std::uint8_t* p, std::size_t n) { return w->Write(p, n); });
        if (st != UnpackStatus::kOk) {
            ReportUnpack(st, m, out, result);
            continue;  // the partial file goes with the writer
        }
        if (files.Finish(std::move(w), target)) out.Line("展開: " + target.relPath);
    }
    if (scan.damaged) {
        out.Line("書庫が壊れています: " + scan.problem);
        result.Note(arc::kErrHeaderBroken);
    }
    return result.Get();
}

// ---- adding ----

struct Input {
    std::string source;  // path to read
    std::string stored;  // name in the archive ("\" separators; directories end in "\")
    arc::FileStat stat;
};

bool HasWildcard(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); i += arc::SjisCharLen(s, i)) {
        if (s[i] == '*' || s[i] == '?') return true;
    }
    return false;
}

// The stored form of a typed name: no drive, no leading separators, no "."
// or ".." components.
std::string StoredName(const std::string& typed) {
    std::string s = arc::ToBackslashes(typed);
    if (s.size() >= 2 && s[1] == ':') s.erase(0, 2);
    std::string out, comp;
    auto flush = [&]() {
        if (!comp.empty() && comp != "." && comp != "..") {
            if (!out.empty()) out += '\\';
            out += comp;
        }
        comp.clear();
    };
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = arc::SjisCharLen(s, i);
        if (n == 1 && s[i] == '\\') {
            flush();
        } else {
            comp.append(s, i, n);
        }
        i += n;
    }
    flush();
    return out;
}

bool Skippable(const arc::FileStat& st, bool allAttributes) {
    if (st.isLink) return true;  // links are never followed or stored
    return !allAttributes && (st.attrib & (arc::kAttrHidden | arc::kAttrSystem));
}

void AddTree(ArcFs& fs, const std::string& source, const std::string& stored, bool allAttributes,
             std::vector<Input>& inputs, int depth) {
    if (depth > 64) return;
    for (const arc::DirEntry& e : fs.List(source)) {
        if (Skippable(e.stat, allAttributes)) continue;
        std::string src = JoinPath(source, e.name);
        std::string st = stored.empty() ? e.name : stored + "\\" + e.name;
        if (e.stat.isDir) {
            inputs.push_back({src, st + "\\", e.stat});
            AddTree(fs, src, st, allAttributes, inputs, depth + 1);
        } else {
            inputs.push_back({src, st, e.stat});
        }
    }
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

int CollectInputs(ArcFs& fs, const UnlhaCommand& cmd, std::vector<Input>& inputs, TextOut& out) {
    const bool recurse = cmd.Value("d", 0) != 0;
    const bool allAttributes = cmd.Value("a", 0) != 0;
    ResultKeeper result;
    for (const std::string& typed : cmd.names) {
        std::string source = JoinPath(cmd.baseDir, typed);
        std::string stored = StoredName(typed);
        if (HasWildcard(typed)) {
            std::size_t cut = arc::NameStart(source);
            std::string dir = source.substr(0, cut);
            std::string pattern = source.substr(cut);
            std::string storedDir = StoredName(typed.substr(0, arc::NameStart(typed)));
            bool any = false;
            for (const arc::DirEntry& e : fs.List(dir)) {
                if (!arc::MatchWild(pattern, e.name) || Skippable(e.stat, allAttributes)) continue;
                any = true;
                std::string st = storedDir.empty() ? e.name : storedDir + "\\" + e.name;
                std::string src = dir + e.name;
                if (e.stat.isDir) {
                    if (!recurse) continue;
                    inputs.push_back({src, st + "\\", e.stat});
                    AddTree(fs, src, st, allAttributes, inputs, 0);
                } else {
                    inputs.push_back({src, st, e.stat});
                }
            }
            if (!any) {
                out.Line("該当するファイルがありません: " + typed);
                result.Note(arc::kErrNotFindFile);
            }
            continue;
        }
        arc::FileStat st = fs.Stat(source);
        if (!st.exists || st.isLink) {
            out.Line("ファイルが見つかりません: " + typed);
            result.Note(arc::kErrNotFindFile);
            continue;
        }
        if (st.isDir) {
            if (recurse) {
                if (!stored.empty()) inputs.push_back({source, stored + "\\", st});
                AddTree(fs, source, stored, allAttributes, inputs, 0);
            } else {
                // Without -d1 a named directory gives the files directly in it.
                for (const arc::DirEntry& e : fs.List(source)) {
                    if (e.stat.isDir || Skippable(e.stat, allAttributes)) continue;
                    inputs.push_back({JoinPath(source, e.name), stored.empty() ? e.name : stored + "\\" + e.name, e.stat});
                }
            }
        } else if (!stored.empty()) {
            inputs.push_back({source, stored, st});
        }
    }
    return result.Get();
}

int DoAdd(ArcFs& fs, const UnlhaCommand& cmd, TextOut& out) {
    std::string path = ArchiveName(fs, cmd.archive, true);
    if (cmd.names.empty()) {
        out.Line("書庫に入れるファイルが指定されていません");
        return arc::kErrNotFileName;
    }
    std::vector<std::uint8_t> old;
    Scan scan;
    arc::FileStat arcStat = fs.Stat(path);
    if (arcStat.exists) {
        if (!fs.ReadAll(path, old)) {
            out.Line("書庫が読めません: " + path);
            return arc::kErrArcFileOpen;
        }
        scan = ScanArchive(old.data(), old.size());
        if (!old.empty() && (!scan.foundHeader || scan.damaged)) {
            out.Line("書庫が壊れているので追加しません: " + path);
            return arc::kErrHeaderBroken;
        }
    }
    // The new archive is written beside the old one, under a name nothing has.
    std::string temp;
    auto w = arc::CreateTempBeside(fs, path, temp);
    if (!w) {
        out.Line("作業ファイルが作れません: " + path + ".$$$");
        return arc::kErrTmpOpen;
    }
    std::vector<Input> inputs;
    ResultKeeper result;
    result.Note(CollectInputs(fs, cmd, inputs, out));
    // The archive itself (and its temporary copy) is never packed into itself.
    std::vector<Input> kept;
    for (const Input& in : inputs) {
        std::string full = arc::ToBackslashes(in.source);
        if (SameName(full, arc::ToBackslashes(path)) || SameName(full, arc::ToBackslashes(temp))) continue;
        bool dup = false;
        for (const Input& k : kept) dup = dup || SameName(k.stored, in.stored);
        if (!dup) kept.push_back(in);
    }
    if (kept.empty()) {
        out.Line("書庫に入れるファイルがありません");
        result.Note(arc::kErrNotFindFile);
        return result.Get();
    }
    bool ok = true;
    // Members already in the archive stay, in their order, unless replaced.
    for (const Member& m : scan.members) {
        bool replaced = false;
        for (const Input& in : kept) replaced = replaced || SameName(in.stored, m.name);
        if (replaced) continue;
        ok = ok && w->Write(old.data() + m.headerOffset, m.headerSize + static_cast<std::size_t>(m.packed));
    }
    for (const Input& in : kept) {
        Member m;
        m.name = in.stored;
        m.isDir = in.stat.isDir;
        m.mtime = in.stat.mtime;
        m.attrib = (in.stat.attrib & (arc::kAttrReadOnly | arc::kAttrHidden | arc::kAttrSystem | arc::kAttrArchive)) |
                   (m.isDir ? std::uint32_t{arc::kAttrDirectory} : 0u);
        m.osId = 'W';
        std::vector<std::uint8_t> body, packed;
        if (m.isDir) {
            std::memcpy(m.method, "-lhd-", 5);
        } else {
            if (!fs.ReadAll(in.source, body)) {
                out.Line("ファイルが読めません: " + in.source);
                result.Note(arc::kErrFileOpen);
                continue;
            }
            m.original = body.size();
            m.crc = Crc16(0, body.data(), body.size());
            if (!body.empty()) packed = EncodeLh5(body.data(), body.size());
            if (!body.empty() && packed.size() < body.size()) {
                std::memcpy(m.method, "-lh5-", 5);
            } else {
                // A member that does not shrink is stored as it is.
                std::memcpy(m.method, "-lh0-", 5);
                packed = std::move(body);
            }
            m.packed = packed.size();
            if (m.original > 0xFFFFFFFFu) {
                out.Line("4 GB を超えるファイルは入れられません: " + in.source);
                result.Note(arc::kErrCannotWrite);
                continue;
            }
        }
        std::vector<std::uint8_t> header = BuildLevel2Header(m);
        ok = ok && w->Write(header.data(), header.size()) && (packed.empty() || w->Write(packed.data(), packed.size()));
        out.Line("格納: " + m.name + " (" + MethodText(m) + ")");
    }
    const std::uint8_t endMark = 0;
    ok = ok && w->Write(&endMark, 1);
    if (!ok || !w->Close()) {
        out.Line("書庫が書けません: " + path);
        return arc::kErrCannotWrite;
    }
    w.reset();
    if (!fs.Replace(temp, path)) {
        fs.Remove(temp);
        out.Line("書庫が書けません: " + path);
        return arc::kErrCannotWrite;
    }
    return result.Get();
}

}  // namespace

int ParseUnlhaCommand(ArcFs& fs, std::string_view line, UnlhaCommand& cmd, std::string& error) {
    std::vector<std::string> words = arc::SplitArgs(line);
    bool haveArchive = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.empty()) continue;
        if (w.size() > 1 && (w[0] == '-' || (w[0] == '/' && arc::NameStart(w) == 1))) {
            std::size_t k = 1;
            std::string key;
            while (k < w.size() && ((w[k] >= 'a' && w[k] <= 'z') || (w[k] >= 'A' && w[k] <= 'Z'))) key += w[k++];
            cmd.switches[Lower(key)] = w.substr(k);
            continue;
        }
        if (cmd.command == 0) {
            if (w.size() != 1) {
                error = "コマンドが正しくありません: " + w;
                return arc::kErrCommandName;
            }
            cmd.command = Lower(w)[0];
            continue;
        }
        if (!haveArchive) {
            cmd.archive = w;
            haveArchive = true;
            continue;
        }
        if (cmd.baseDir.empty() && cmd.names.empty() && IsBaseDir(w)) {
            cmd.baseDir = w;
            continue;
        }
        if (w[0] == '@' && w.size() > 1) {
            std::vector<std::uint8_t> text;
            if (!fs.ReadAll(w.substr(1), text)) {
                error = "レスポンスファイルが読めません: " + w.substr(1);
                return arc::kErrResponseRead;
            }
            for (auto& name : arc::SplitResponseFile(std::string(text.begin(), text.end()))) {
                cmd.names.push_back(name);
            }
            continue;
        }
        cmd.names.push_back(w);
    }
    if (cmd.command == 0) {
        error = "コマンドがありません";
        return arc::kErrCommandName;
    }
    if (!haveArchive) {
        error = "書庫の名前がありません";
        return arc::kErrNotFindArcFile;
    }
    return 0;
}

int RunUnlha(ArcFs& fs, std::string_view line, std::string& text) {
    TextOut out;
    UnlhaCommand cmd;
    std::string error;
    int r = ParseUnlhaCommand(fs, line, cmd, error);
    if (r == 0) {
        switch (cmd.command) {
            case 'a': r = DoAdd(fs, cmd, out); break;
            case 'e':
            case 'x': r = DoExtract(fs, cmd, out, false); break;
            case 't': r = DoExtract(fs, cmd, out, true); break;
            case 'l':
            case 'v': r = DoList(fs, cmd, out); break;
            case 's':
                out.Line("自己解凍書庫は作れません: このライブラリーは自己解凍の実行部を持っていません");
                r = arc::kErrNotSupport;
                break;
            default:
                out.Line(std::string("対応していないコマンドです: ") + cmd.command);
                r = arc::kErrCommandName;
                break;
        }
    } else {
        out.Line(error);
    }
    text = out.Text();
    return r;
}

bool ListLzh(ArcFs& fs, const std::string& path, std::vector<arc::ListEntry>& entries) {
    std::vector<std::uint8_t> data;
    if (!fs.ReadAll(path, data)) return false;
    Scan scan = ScanArchive(data.data(), data.size());
    if (!scan.foundHeader) return false;
    for (const Member& m : scan.members) {
        arc::ListEntry e;
        e.name = m.name;
        e.original = m.original;
        e.packed = m.packed;
        e.crc = m.crc;
        e.osType = ListingOsType(m.osId);
        e.dosDateTime = MemberDosTime(m);
        e.attribute = arc::AttributeLetters(m.attrib);
        e.mode = MethodText(m);
        entries.push_back(e);
    }
    return true;
}

}  // namespace kestrum::lzh
