// The settings loader: sections, the comment rule and normalisation.
#include "config/settings_loader.h"

#include <charconv>

#include "common/history.h"
#include "common/sjis.h"
#include "common/split.h"
#include "config/text_file.h"

namespace kestrum {

std::optional<int> ParseInt(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    const char* b = t.data();
    const char* e = t.data() + t.size();
    if (*b == '+') {
        ++b;
        if (b == e || *b == '-' || *b == '+') return std::nullopt;
    }
    int v = 0;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e) return std::nullopt;
    return v;
}

bool ApplyEnvValue(Settings& s, std::string_view key, std::string_view value) {
    const EnvKey* k = FindEnvKey(key);
    if (!k) return false;
    switch (k->kind) {
    case EnvKey::Kind::Text: s.*k->text = std::string(value); return true;
    case EnvKey::Kind::Bool: s.*k->flag = Trim(value) == "1"; return true;
    case EnvKey::Kind::Int: {
        std::string_view v = value;
        if (k->number == &Settings::sort) {
            // SORT may carry auto-sort and reverse as two more fields.
            const std::vector<std::string> f = SplitFields(',', value);
            if (f.size() > 1) s.autoSort = UpperAscii(f[1]) == "TRUE";
            if (f.size() > 2) s.revSort = UpperAscii(f[2]) == "TRUE";
            const std::optional<int> n = ParseInt(f[0]);
            s.sort = n && *n >= k->min && *n <= k->max ? *n : k->outOfRange;
            return n.has_value();
        }
        const std::optional<int> n = ParseInt(v);
        if (n && *n >= k->min && *n <= k->max) {
            s.*k->number = *n;
            return true;
        }
        if (!k->keepOnBad) s.*k->number = k->outOfRange;
        return false;
    }
    }
    return false;
}

namespace {

// Walks the lines of one section: yields each raw line after the header up
// to where the section ends (see FindSectionExtent); its [END] is consumed.
class SectionReader {
public:
    SectionReader(const std::vector<std::string>& lines, std::size_t& pos, bool semicolonMode)
        : lines_(lines), pos_(pos), semicolon_(semicolonMode),
          extent_(FindSectionExtent(lines, pos - 1, semicolonMode)) {}

    // Next line of the section, comment cut and trimmed; false at its end.
    bool Next(std::string& line) {
        if (pos_ >= extent_.end) {
            if (extent_.hasEnd && pos_ == extent_.end) ++pos_;
            return false;
        }
        line = Trim(CutComment(lines_[pos_], semicolon_));
        ++pos_;
        return true;
    }
    // Skips the rest of the section.
    void SkipRest() {
        std::string dummy;
        while (Next(dummy)) {
        }
    }

private:
    const std::vector<std::string>& lines_;
    std::size_t& pos_;
    bool semicolon_;
    SectionExtent extent_;
};

void ReadHistory(SectionReader& r, std::vector<std::string>& list) {
    if (!list.empty()) {
        r.SkipRest();
        return;
    }
    std::string line;
    while (r.Next(line)) {
        // The writer leaves such an entry out; taking it in would show a
        // history that the next save does not keep.
        if (!line.empty() && !ReadsAsSectionHeader(line) && list.size() < kHistoryLimit) list.push_back(line);
    }
}

void ReadAliases(SectionReader& r, std::vector<AliasEntry>& aliases) {
    std::string line;
    while (r.Next(line)) {
        if (line.empty()) continue;
        AliasEntry a;
        a.name = SplitField(',', line, 0).value_or(std::string());
        a.expansion = SplitField(',', line, 1).value_or(std::string());
        a.directory = SplitField(',', line, 2).value_or(std::string());
        aliases.push_back(std::move(a));
    }
}

void ReadExt(SectionReader& r, std::vector<ExtEntry>& ext) {
    std::string line;
    while (r.Next(line)) {
        if (line.empty()) continue;
        const HeadTail ht = SplitFirst(line, ',');
        ext.push_back({UpperAscii(Trim(ht.head)), Trim(ht.tail)});
    }
}

void ReadCommandNames(SectionReader& r, std::vector<std::string>& table) {
    std::string line;
    for (std::size_t n = 0; n < table.size() && r.Next(line); ++n) {
        if (!line.empty()) table[n] = UpperAscii(line);
    }
}

void ReadEnv(SectionReader& r, Settings& s) {
    std::string line;
    while (r.Next(line)) {
        const std::string u = UpperAscii(line);
        const std::size_t p = FindChar(u, ',');
        if (p == std::string::npos) continue;
        ApplyEnvValue(s, Trim(u.substr(0, p)), Trim(u.substr(p + 1)));
    }
}

void ReadKeyedList(SectionReader& r, std::vector<std::string>& list) {
    std::string line;
    char nextDigit = '0';
    // A keyless entry never gets a digit an earlier entry has: that key
    // would call the earlier one. Once the editor has written every key out,
    // an entry whose key was left blank so reads back blank.
    std::string taken;
    while (r.Next(line)) {
        if (line.empty()) continue;
        const std::string u = UpperAscii(line);
        const std::size_t p = FindChar(u, ',');
        const std::string path = Trim(p == std::string::npos ? u : u.substr(0, p));
        std::string key = p == std::string::npos ? std::string() : Trim(u.substr(p + 1));
        if (key.empty()) {
            while (nextDigit <= '9' && taken.find(nextDigit) != std::string::npos) ++nextDigit;
            if (nextDigit <= '9') {
                key = std::string(1, nextDigit++);
            } else {
                key = " ";
            }
        } else {
            key = key.substr(0, CharLen(key, 0));
        }
        taken += key;
        list.push_back(key + " " + path);
    }
}

void ReadPlainList(SectionReader& r, std::vector<std::string>& list) {
    std::string line;
    while (r.Next(line)) {
        if (!line.empty()) list.push_back(line);
    }
}

void ReadFunctions(SectionReader& r, std::vector<FunctionKey>& keys) {
    std::string line;
    while (r.Next(line)) {
        if (line.empty()) continue;
        if (keys.size() >= static_cast<std::size_t>(kFunctionKeyCount)) continue;
        const std::string u = UpperAscii(line);
        const std::size_t p = FindChar(u, ']');
        if (p == std::string::npos) {
            keys.push_back({std::string(), u});
        } else {
            keys.push_back({u.substr(0, p + 1), Trim(u.substr(p + 1))});
        }
    }
}

}  // namespace

void LoadSettingsLines(const std::vector<std::string>& lines, Settings& s, SettingsLists& lists) {
    s.autoName = 2;
    s.pvMaxX = 800;
    s.pvMaxY = 600;
    s.homeShiftMode = 1;
    lists.commandTable.assign(DefaultCommandNames().begin(), DefaultCommandNames().end());
    lists.aliases.clear();
    lists.ext.clear();
    lists.logList.clear();
    lists.copyList.clear();
    lists.findList.clear();
    lists.functions.clear();

    // The marker counts for the whole file, as it does for TSettingsFile,
    // which writes the lists: a list written above a marker further down
    // would otherwise read back cut at its ";".
    for (const std::string& line : lines) {
        if (line == kCfgMarker) s.semicolonMode = true;
    }
    std::size_t pos = 0;
    while (pos < lines.size()) {
        const std::string& raw = lines[pos];
        ++pos;
        if (raw == kCfgMarker) continue;
        const std::string n = NormalizeLine(raw, s.semicolonMode);
        if (!IsKnownSectionHeader(n)) continue;
        SectionReader r(lines, pos, s.semicolonMode);
        if (n == "[DIRHISTORY]") {
            ReadHistory(r, lists.dirHistory);
        } else if (n == "[EXEHISTORY]") {
            ReadHistory(r, lists.exeHistory);
        } else if (n == "[ALIAS]") {
            ReadAliases(r, lists.aliases);
        } else if (n == "[EXT]") {
            ReadExt(r, lists.ext);
        } else if (n == "[内部コマンド]") {
            ReadCommandNames(r, lists.commandTable);
        } else if (n == "[環境変数]") {
            ReadEnv(r, s);
        } else if (n == "[LOGDISKLIST]") {
            ReadKeyedList(r, lists.logList);
        } else if (n == "[COPYDIRLIST]") {
            ReadKeyedList(r, lists.copyList);
        } else if (n == "[FINDLIST]") {
            ReadPlainList(r, lists.findList);
        } else if (n == "[FUNCTION]") {
            ReadFunctions(r, lists.functions);
        }
        r.SkipRest();
        // The profile sections ([FORM_LS] ...) belong to the profile reader.
    }
    ResolveViewer(s, lists.commandTable[4]);
}

bool LoadSettingsFile(const std::string& path, Settings& s, SettingsLists& lists) {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    LoadSettingsLines(bytes ? SplitLines(*bytes) : std::vector<std::string>(), s, lists);
    return bytes.has_value();
}

void ResolveViewer(Settings& s, std::string_view tviewName) {
    s.effectiveViewer = s.viewMode ? std::string(tviewName) : s.viewer;
    if (!s.viewer.empty() && UpperAscii(Trim(s.viewer)) == UpperAscii(tviewName)) {
        s.viewMode = true;
        s.viewer = "NOTEPAD";
        s.effectiveViewer = std::string(tviewName);
    }
}

}  // namespace kestrum
