// Names inside archives: separators, the safety check, wildcards, words.
#include "libs/base/arc_path.h"

#include "common/sjis.h"

namespace kestrum::arc {

std::size_t SjisCharLen(std::string_view s, std::size_t pos) {
    if (pos + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[pos]))) {
        unsigned char t = static_cast<unsigned char>(s[pos + 1]);
        if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) return 2;
    }
    return 1;
}

static std::string MapSeparators(std::string_view s, char from, char to) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i += SjisCharLen(out, i)) {
        if (out[i] == from) out[i] = to;
    }
    return out;
}

std::string ToBackslashes(std::string_view s) { return MapSeparators(s, '/', '\\'); }
std::string ToSlashes(std::string_view s) { return MapSeparators(s, '\\', '/'); }

std::size_t NameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += SjisCharLen(path, i)) {
        if (path[i] == '\\' || path[i] == '/') start = i + 1;
    }
    return start;
}

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && NameStart(path) == path.size();
}

static bool IsDeviceName(std::string_view comp) {
    std::string base;
    for (char c : comp) {
        if (c == '.') break;
        base += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* n : kNames) {
        if (base == n) return true;
    }
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
        return base[3] >= '0' && base[3] <= '9';
    }
    return false;
}

static MemberPath Refuse(const char* reason) {
    MemberPath r;
    r.reason = reason;
    return r;
}

MemberPath CheckMemberPath(std::string_view raw, bool stripRoot) {
    // Half a character (a lead byte without its trail byte) has no one
    // meaning: one conversion drops it, another takes the next byte with it.
    // ".." and a lone lead byte could name the parent folder, and a lone lead
    // byte before "/" could make one name of two.
    for (std::size_t i = 0; i < raw.size(); i += SjisCharLen(raw, i)) {
        if (IsLeadByte(static_cast<unsigned char>(raw[i])) && SjisCharLen(raw, i) == 1) {
            return Refuse("不完全な２バイト文字を含む名前です");
        }
    }
    std::string s = ToBackslashes(raw);
    std::size_t pos = 0;
    // Drive letters, UNC starts and leading separators: refused, or dropped
    // when the caller asked for the root to be stripped.
    while (true) {
        if (s.size() >= pos + 2 && s[pos + 1] == ':' &&
            ((s[pos] >= 'A' && s[pos] <= 'Z') || (s[pos] >= 'a' && s[pos] <= 'z'))) {
            if (!stripRoot) return Refuse("ドライブ名のある名前です");
            pos += 2;
        } else if (pos < s.size() && s[pos] == '\\') {
            if (!stripRoot) return Refuse("絶対パスの名前です");
            ++pos;
        } else {
            break;
        }
    }
    MemberPath out;
    std::string comp;
    auto flush = [&]() -> const char* {
        if (comp.empty() || comp == ".") {
            comp.clear();
            return nullptr;
        }
        if (comp == "..") return "\"..\" を含む名前です";
        if (comp.size() > kMaxComponent) return "名前が長すぎます";
        char last = comp.back();
        if (last == '.' || last == ' ') return "末尾が \".\" か空白の名前です";
        if (IsDeviceName(comp)) return "デバイス名です";
        if (!out.path.empty()) out.path += '\\';
        out.path += comp;
        comp.clear();
        return nullptr;
    };
    for (std::size_t i = pos; i < s.size();) {
        std::size_t n = SjisCharLen(s, i);
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (n == 1) {
            if (c == '\\') {
                if (const char* why = flush()) return Refuse(why);
                ++i;
                continue;
            }
            if (c < 0x20 || c == 0x7F) return Refuse("制御文字を含む名前です");
            if (c == ':') return Refuse("\":\" を含む名前です");
            if (c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') {
                return Refuse("使えない文字を含む名前です");
            }
        }
        comp.append(s, i, n);
        i += n;
    }
    if (const char* why = flush()) return Refuse(why);
    out.ok = true;
    return out;
}

std::string LongNameReason() { return "名前が長すぎます"; }

static unsigned char FoldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Compares the characters at p[pi] and n[ni] (1 or 2 bytes each).
static bool SameChar(std::string_view p, std::size_t pi, std::size_t pl, std::string_view n,
                     std::size_t ni, std::size_t nl) {
    if (pl != nl) return false;
    if (pl == 1) {
        unsigned char a = FoldAscii(static_cast<unsigned char>(p[pi]));
        unsigned char b = FoldAscii(static_cast<unsigned char>(n[ni]));
        if ((a == '\\' || a == '/') && (b == '\\' || b == '/')) return true;
        return a == b;
    }
    return p[pi] == n[ni] && p[pi + 1] == n[ni + 1];
}

bool MatchWild(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") return true;
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            std::size_t pl = SjisCharLen(pattern, p);
            std::size_t nl = SjisCharLen(name, n);
            if (pl == 1 && pattern[p] == '*') {
                starP = ++p;
                starN = n;
                continue;
            }
            if ((pl == 1 && pattern[p] == '?') || SameChar(pattern, p, pl, name, n, nl)) {
                p += pl;
                n += nl;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        starN += SjisCharLen(name, starN);
        n = starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    // "name.*" also matches "name" (no extension), as on the command line.
    if (p + 2 == pattern.size() && pattern[p] == '.' && pattern[p + 1] == '*') return true;
    return p == pattern.size();
}

bool SelectedByPatterns(const std::vector<std::string>& patterns, std::string_view name) {
    if (patterns.empty()) return true;
    std::string path = ToBackslashes(name);
    while (EndsWithSeparator(path)) path.pop_back();
    std::string base = path.substr(NameStart(path));
    for (const std::string& raw : patterns) {
        std::string pattern = ToBackslashes(raw);
        while (!pattern.empty() && pattern[0] == '\\') pattern.erase(0, 1);
        if (EndsWithSeparator(pattern)) {
            if (MatchWild(pattern + "*", path + "\\")) return true;
            continue;
        }
        if (MatchWild(pattern, path)) return true;
        if (NameStart(pattern) == 0 && MatchWild(pattern, base)) return true;
    }
    return false;
}

std::vector<std::string> SplitArgs(std::string_view line) {
    std::vector<std::string> words;
    std::string cur;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = SjisCharLen(line, i);
        char c = line[i];
        if (n == 1 && c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (n == 1 && !quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) words.push_back(cur);
            cur.clear();
            inWord = false;
        } else {
            cur.append(line, i, n);
            inWord = true;
        }
        i += n;
    }
    if (inWord) words.push_back(cur);
    return words;
}

std::string Unquoted(std::string_view name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') return std::string(name.substr(1, name.size() - 2));
    return std::string(name);
}

std::vector<std::string> SplitResponseFile(std::string_view text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        for (auto& w : SplitArgs(text.substr(start, end - start))) words.push_back(std::move(w));
        start = end + 1;
    }
    return words;
}

}  // namespace kestrum::arc
