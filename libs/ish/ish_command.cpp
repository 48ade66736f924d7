// The ISH32 command line: restoring the ish files of texts, and encoding.
#include "libs/ish/ish_command.h"

#include <cstdio>

#include "libs/base/arc_command.h"
#include "libs/base/arc_names.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"
#include "libs/base/arc_time.h"
#include "libs/ish/ish_encode.h"

namespace kestrum::ish {

namespace {

std::string TrimBlanks(std::string s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    return s.substr(i);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where a word starting at i is a switch: "-" or "/" after a blank or at
// the start of the line.
bool SwitchAt(std::string_view line, std::size_t i) {
    return (line[i] == '/' || line[i] == '-') && (i == 0 || IsBlank(line[i - 1]));
}

bool ParseEncodeSwitch(const std::string& w, IshCommand& cmd) {
    if (w.size() < 2 || (w[0] != '-' && w[0] != '/') || (w[1] != 's' && w[1] != 'S') || w.size() > 3) return false;
    const char k = w.size() == 3 ? static_cast<char>(w[2] | 0x20) : '7';
    switch (k) {
        case '7': cmd.variant = Variant::kJis7; break;
        case '8': cmd.variant = Variant::kJis8; break;
        case 's': cmd.variant = Variant::kSjis; break;
        case 'n': cmd.variant = Variant::kNonKana; break;
        default: return false;
    }
    cmd.encode = true;
    return true;
}

// The bytes outside printable ASCII as %XX, for naming a name that
// cannot be shown as it is.
std::string Escaped(std::string_view s) {
    std::string out;
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '%') {
            out += ch;
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

std::int64_t FileTime(const Header& h, std::int64_t fallback) {
    if (h.dosTime == 0) return fallback;
    if (h.hasZone) return arc::DosToUnixUtc(h.dosTime) + h.zone;
    return arc::DosToUnix(h.dosTime);
}

class Restorer {
public:
    Restorer(arc::ArcFs& fs, arc::TextOut& out, arc::ResultKeeper& result, const IshCommand& cmd,
             const Utf8ToSjis& convert)
        : fs_(fs), out_(out), result_(result), cmd_(cmd), convert_(convert) {}

    void Write(const Found& f, const std::vector<std::uint8_t>& data, std::int64_t fallbackTime) {
        // The same file posted twice in a log is restored once.
        const Done mark{f.header.raw, data.size(), ~Crc32(data.data(), data.size())};
        for (const Done& d : done_) {
            if (d.raw == mark.raw && d.size == mark.size && d.crc == mark.crc) return;
        }
        OutputName n = ChooseName(f, convert_);
        if (!n.ok) {
            out_.Line("展開しません: " + n.shown + " (" + n.reason + ")");
            result_.Note(arc::kErrFileStyle);
            return;
        }
        arc::MemberFile files(fs_, out_, result_);
        arc::ExtractTarget t;
        if (!files.Prepare(n.name, cmd_.outDir, false, false, t)) return;
        t.mtime = FileTime(f.header, fallbackTime);
        std::unique_ptr<arc::FileWriter> w = files.Open(t, arc::Overwrite::kRefuse);
        if (!w) return;
        if (!data.empty() && !w->Write(data.data(), data.size())) {
            out_.Line("書き込めません: " + t.relPath);
            result_.Note(arc::kErrCannotWrite);
            return;
        }
        if (!files.Finish(std::move(w), t)) return;
        done_.push_back(mark);
        std::string line = "復元しました: " + t.relPath + " (" + std::to_string(data.size()) + " バイト";
        if (f.repaired > 0) line += ", 壊れた " + std::to_string(f.repaired) + " 行を直しました";
        out_.Line(line + ")");
    }

    void Report(const Found& f, const std::vector<std::string>& problems, int code) {
        const OutputName n = ChooseName(f, convert_);
        const std::string name = n.ok ? n.name : n.shown;
        for (const std::string& p : problems) out_.Line("復元できません: " + name + ": " + p);
        result_.Note(code);
    }

private:
    arc::ArcFs& fs_;
    arc::TextOut& out_;
    arc::ResultKeeper& result_;
    const IshCommand& cmd_;
    const Utf8ToSjis& convert_;
    struct Done {
        std::vector<std::uint8_t> raw;  // the header
        std::size_t size;
        std::uint32_t crc;
    };
    std::vector<Done> done_;
};

void Restore(arc::ArcFs& fs, const IshCommand& cmd, const Utf8ToSjis& convert, arc::TextOut& out,
             arc::ResultKeeper& result) {
    if (!cmd.outDir.empty() && !arc::EnsureDirectory(fs, cmd.outDir)) {
        out.Line("ディレクトリが作れません: " + cmd.outDir);
        result.Note(arc::kErrMakeDirectory);
        return;
    }
    struct Text {
        std::vector<Found> found;
        std::int64_t mtime = 0;
    };
    std::vector<Text> texts;
    texts.reserve(cmd.files.size());
    for (const std::string& file : cmd.files) {
        std::vector<std::uint8_t> bytes;
        const arc::FileStat st = fs.Stat(file);
        if (!st.exists || st.isDir) {
            out.Line("ファイルが見つかりません: " + file);
            result.Note(arc::kErrNotFindArcFile);
            continue;
        }
        if (!fs.ReadAll(file, bytes)) {
            out.Line("読めません: " + file);
            result.Note(arc::kErrArcFileOpen);
            continue;
        }
        Text t;
        t.found = FindIsh(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        t.mtime = st.mtime;
        if (t.found.empty()) {
            out.Line("ish のデータが見つかりません: " + file);
            result.Note(arc::kErrNotArcFile);
        }
        texts.push_back(std::move(t));
    }
    Restorer restorer(fs, out, result, cmd, convert);
    std::vector<const Found*> volumes;
    std::int64_t volumeTime = 0;
    for (const Text& t : texts) {
        for (const Found& f : t.found) {
            if (f.header.volume != 0) {
                volumes.push_back(&f);
                volumeTime = t.mtime;
            } else if (f.complete) {
                restorer.Write(f, f.data, t.mtime);
            } else {
                restorer.Report(f, f.problems, arc::kErrFileCrc);
            }
        }
    }
    for (const Joined& j : JoinVolumes(volumes)) {
        if (j.complete) {
            restorer.Write(*j.first, j.data, volumeTime);
        } else {
            restorer.Report(*j.first, j.problems, arc::kErrFileCrc);
        }
    }
}

// The zone the platform's local time is in, from the conversion the
// library uses: seconds west of UTC, to the minute.
bool LocalZone(std::int64_t t, std::int32_t& zone) {
    const std::int64_t local = arc::DosToUnixUtc(arc::UnixToDos(t));
    const std::int64_t west = t - local;
    const std::int64_t minutes = (west >= 0 ? west + 30 : west - 30) / 60;
    if (minutes < -16 * 60 || minutes > 16 * 60) return false;
    zone = static_cast<std::int32_t>(minutes * 60);
    return true;
}

void Encode(arc::ArcFs& fs, const IshCommand& cmd, arc::TextOut& out, arc::ResultKeeper& result) {
    if (!cmd.outDir.empty() && !arc::EnsureDirectory(fs, cmd.outDir)) {
        out.Line("ディレクトリが作れません: " + cmd.outDir);
        result.Note(arc::kErrMakeDirectory);
        return;
    }
    for (const std::string& file : cmd.files) {
        const arc::FileStat st = fs.Stat(file);
        std::vector<std::uint8_t> data;
        if (!st.exists || st.isDir || !fs.ReadAll(file, data)) {
            out.Line("ファイルが見つかりません: " + file);
            result.Note(arc::kErrNotFindFile);
            continue;
        }
        if (data.size() > 0xFFFFFFFFu) {
            out.Line("大きすぎます: " + file);
            result.Note(arc::kErrNotSupport);
            continue;
        }
        EncodeOptions o;
        o.variant = cmd.variant;
        o.name = file.substr(arc::NameStart(file));
        o.os = kOsMsDos;
        o.dosTime = arc::UnixToDos(st.mtime);
        o.hasZone = LocalZone(st.mtime, o.zone);
        const std::string ext = arc::FileExtension(o.name);
        const std::string ishName = o.name.substr(0, o.name.size() - ext.size()) + ".ish";
        const std::string dir = cmd.outDir.empty() ? file.substr(0, arc::NameStart(file)) : cmd.outDir;
        const std::string path = arc::JoinPath(dir, ishName);
        if (fs.Stat(path).exists) {
            out.Line("既に存在するので作りません: " + path);
            result.Note(arc::kErrAlreadyExist);
            continue;
        }
        const std::string text = EncodeIsh(data, o);
        std::unique_ptr<arc::FileWriter> w = fs.CreateNew(path);
        if (!w || !w->Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) || !w->Close()) {
            out.Line("書き込めません: " + path);
            result.Note(arc::kErrCannotWrite);
            continue;
        }
        out.Line("作成しました: " + path + " (" + VariantName(o.variant) + ")");
    }
}

}  // namespace

int ParseIshCommand(std::string_view line, IshCommand& cmd, std::string& error) {
    // "/f=DIR" runs to the next "/", as the program reads it to make the
    // directory first: DIR may hold blanks.
    std::string rest;
    for (std::size_t i = 0; i < line.size();) {
        if (SwitchAt(line, i) && i + 2 < line.size() && (line[i + 1] == 'f' || line[i + 1] == 'F') &&
            line[i + 2] == '=') {
            std::size_t end = i + 3;
            while (end < line.size() && line[end] != '/') end += arc::SjisCharLen(line, end);
            std::string dir;
            for (char c : TrimBlanks(std::string(line.substr(i + 3, end - i - 3)))) {
                if (c != '"') dir += c;
            }
            cmd.outDir = dir;
            i = end;
            continue;
        }
        const std::size_t n = arc::SjisCharLen(line, i);
        rest.append(line, i, n);
        i += n;
    }
    std::vector<std::string> words;
    for (const std::string& w : arc::SplitArgs(rest)) {
        if (ParseEncodeSwitch(w, cmd)) continue;
        if (w.size() > 1 && (w[0] == '-' || (w[0] == '/' && arc::NameStart(w) == 1))) continue;
        cmd.files.push_back(w);
        words.push_back(w);
    }
    for (std::size_t i = 0; i < words.size(); ++i) cmd.joined += (i ? " " : "") + words[i];
    if (cmd.files.empty()) {
        error = "ISH ファイルが指定されていません";
        return arc::kErrNotFileName;
    }
    return 0;
}

OutputName ChooseName(const Found& f, const Utf8ToSjis& convert) {
    OutputName n;
    const std::string raw = f.titleName.empty() ? f.header.shortName : f.titleName;
    n.shown = raw;
    const bool utf8 = arc::HasHighBytes(raw) && arc::IsUtf8(raw) && (f.header.os != kOsMsDos || !arc::IsCp932(raw));
    if (utf8) {
        std::string sjis;
        if (!convert || !convert(raw, sjis)) {
            n.shown = Escaped(raw);
            n.reason = "Shift-JIS にない文字を含む名前です";
            return n;
        }
        n.name = sjis;
    } else if (!arc::IsCp932(raw)) {
        n.shown = Escaped(raw);
        n.reason = "文字コードのわからない名前です";
        return n;
    } else {
        n.name = raw;
    }
    n.shown = n.name;
    if (n.name.empty()) {
        n.reason = "名前がありません";
        return n;
    }
    if (arc::NameStart(n.name) != 0) {
        n.reason = "パスを含む名前です";
        return n;
    }
    const arc::MemberPath mp = arc::CheckMemberPath(n.name, false);
    if (!mp.ok) {
        n.reason = mp.reason;
        return n;
    }
    n.ok = true;
    return n;
}

int RunIsh(arc::ArcFs& fs, std::string_view line, std::string& text, const Utf8ToSjis& convert) {
    arc::TextOut out;
    IshCommand cmd;
    std::string error;
    int r = ParseIshCommand(line, cmd, error);
    if (r != 0) {
        out.Line(error);
        text = out.Text();
        return r;
    }
    // A path with blanks given unquoted comes as several words.
    if (cmd.files.size() > 1) {
        bool all = true;
        for (const std::string& f : cmd.files) all = all && fs.Stat(f).exists;
        if (!all && fs.Stat(cmd.joined).exists) cmd.files = {cmd.joined};
    }
    arc::ResultKeeper result;
    if (cmd.encode) {
        Encode(fs, cmd, out, result);
    } else {
        Restore(fs, cmd, convert, out, result);
    }
    text = out.Text();
    return result.Get();
}

}  // namespace kestrum::ish
