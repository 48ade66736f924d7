#include "shell/file_commands.h"

#include "common/sjis.h"

namespace kestrum {

std::pair<std::string, std::string> SplitTwoNames(std::string_view arg,
                                                  const std::function<bool(const std::string&)>& exists) {
    std::vector<std::size_t> blanks;
    for (std::size_t i = FindChar(arg, ' '); i != std::string_view::npos; i = FindChar(arg, ' ', i + 1)) {
        blanks.push_back(i);
    }
    if (blanks.empty()) return {Trim(arg), std::string()};
    std::size_t cut = blanks.front();
    for (std::size_t k = blanks.size(); k-- > 1;) {
        if (exists && exists(std::string(arg.substr(0, blanks[k])))) {
            cut = blanks[k];
            break;
        }
    }
    return {Trim(arg.substr(0, cut)), Trim(arg.substr(cut + 1))};
}

namespace {

// The characters of s, each a one- or two-byte piece.
std::vector<std::string_view> Chars(std::string_view s) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = CharLen(s, i);
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

std::string MapPart(std::string_view pattern, std::string_view name) {
    const std::vector<std::string_view> p = Chars(pattern);
    const std::vector<std::string_view> n = Chars(name);
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == "*") {
            for (std::size_t k = i; k < n.size(); ++k) out += n[k];
            return out;
        }
        if (p[i] == "?") {
            out += i < n.size() ? n[i] : p[i];
        } else {
            out += p[i];
        }
    }
    return out;
}

void AppendPart(std::string& result, const std::string& part) {
    if (!result.empty() && !part.empty()) result += '.';
    result += part;
}

}  // namespace

std::optional<std::string> MapWildName(std::string_view name, std::string_view pattern) {
    std::string result;
    for (std::size_t dot = FindChar(pattern, '.'); dot != std::string_view::npos; dot = FindChar(pattern, '.')) {
        const std::size_t nameDot = FindChar(name, '.');
        AppendPart(result, MapPart(pattern.substr(0, dot), name.substr(0, nameDot)));
        pattern.remove_prefix(dot + 1);
        name = nameDot == std::string_view::npos ? std::string_view() : name.substr(nameDot + 1);
    }
    AppendPart(result, MapPart(pattern, name));
    if (FindAnyChar(result, "?*") != std::string::npos) return std::nullopt;
    return result;
}

}  // namespace kestrum
