// Shift-JIS scanning and path-text helpers.
#include "common/sjis.h"

namespace kestrum {

std::size_t CharLen(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return 0;
    if (!IsLeadByte(static_cast<unsigned char>(s[pos]))) return 1;
    if (pos + 1 >= s.size()) return 1;
    // Only a byte that can follow a lead byte pairs with it: a blank, a
    // control character, a comma or a quote after a lone lead byte stays a
    // character of its own, as the trimmer and the field splitters see it.
    const auto t = static_cast<unsigned char>(s[pos + 1]);
    return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC) ? 2 : 1;
}

bool IsCharBoundary(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return pos == s.size();
    std::size_t i = 0;
    while (i < pos) i = NextChar(s, i);
    return i == pos;
}

std::size_t FindChar(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) {
        if (i >= from && s[i] == c && CharLen(s, i) == 1) return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view s, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) {
        if (s[i] == c && CharLen(s, i) == 1) found = i;
    }
    return found;
}

std::size_t FindAnyChar(std::string_view s, std::string_view set, std::size_t from) {
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) {
        if (i >= from && CharLen(s, i) == 1 && set.find(s[i]) != std::string_view::npos) return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastAnyChar(std::string_view s, std::string_view set) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) {
        if (CharLen(s, i) == 1 && set.find(s[i]) != std::string_view::npos) found = i;
    }
    return found;
}

bool HasJapanese(std::string_view s) {
    if (!s.empty() && IsHalfKana(static_cast<unsigned char>(s[0]))) return true;
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) {
        if (CharLen(s, i) == 2) return true;
    }
    return false;
}

namespace {
std::string MapAscii(std::string_view s, char from, char to, int delta) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = CharLen(out, i);
        if (n == 1 && out[i] >= from && out[i] <= to) out[i] = static_cast<char>(out[i] + delta);
        i += n;
    }
    return out;
}
}  // namespace

std::string UpperAscii(std::string_view s) { return MapAscii(s, 'a', 'z', 'A' - 'a'); }
std::string LowerAscii(std::string_view s) { return MapAscii(s, 'A', 'Z', 'a' - 'A'); }

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
}  // namespace

std::string TrimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    // A trail byte is never <= 0x20, so trimming from the end is safe.
    std::size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string Unquoted(std::string_view path) {
    std::string s = Trim(path);
    if (s.empty() || s[0] != '"') return s;
    s.erase(0, 1);
    if (!s.empty() && s.back() == '"') s.pop_back();
    return s;
}

std::string SlashesToBackslashes(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i = NextChar(out, i)) {
        if (out[i] == '/' && CharLen(out, i) == 1) out[i] = '\\';
    }
    return out;
}

bool EndsWithBackslash(std::string_view path) {
    if (path.empty()) return false;
    const std::size_t last = FindLastChar(path, '\\');
    return last != std::string_view::npos && last == path.size() - 1;
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string out(path);
    if (!EndsWithBackslash(out)) out += '\\';
    return out;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
    if (EndsWithBackslash(path)) return std::string(path.substr(0, path.size() - 1));
    return std::string(path);
}

std::string ExtractFilePath(std::string_view path) {
    const std::size_t p = FindLastAnyChar(path, "\\:");
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view path) {
    const std::size_t p = FindLastAnyChar(path, "\\:");
    return p == std::string_view::npos ? std::string(path) : std::string(path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
    const std::string name = ExtractFileName(path);
    const std::size_t dot = FindLastChar(name, '.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::string dir = ExtractFilePath(path);
    std::string name = ExtractFileName(path);
    const std::size_t dot = FindLastChar(name, '.');
    if (dot != std::string::npos) name.resize(dot);
    return dir + name + std::string(ext);
}

std::string ResolveConfigPath(std::string_view name, std::string_view base) {
    if (name.size() >= 2 && name[1] == ':') return std::string(name);
    return std::string(base) + std::string(name);
}

}  // namespace kestrum
