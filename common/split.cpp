// SplitFirst, SplitField and field quoting.
#include "common/split.h"

#include "common/sjis.h"

namespace kestrum {

HeadTail SplitFirst(std::string_view text, char sep) {
    const std::string s = TrimLeft(text);
    const std::size_t p = FindChar(s, sep);
    if (p == std::string::npos) return {s, std::string()};
    return {s.substr(0, p), s.substr(p + 1)};
}

namespace {

// Raw (unfinished) fields: separators outside quotes split; inside quotes a
// doubled quote is one quote character. The quote characters themselves that
// open and close a stretch are kept so that the finishing step can strip them.
std::vector<std::string> RawFields(char sep, std::string_view text) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLen(text, i);
        if (n == 2) {
            fields.back().append(text.substr(i, 2));
            i += 2;
            continue;
        }
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    fields.back() += '"';
                    i += 2;
                    continue;
                }
                quoted = false;
            }
            fields.back() += c;
        } else if (c == '"') {
            quoted = true;
            fields.back() += c;
        } else if (c == sep) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
        ++i;
    }
    return fields;
}

std::string FinishField(std::string_view raw) {
    std::string f = Trim(raw);
    if (!f.empty() && f[0] == '"') {
        f = f.size() >= 2 ? f.substr(1, f.size() - 2) : std::string();
    }
    return f;
}

}  // namespace

std::optional<std::string> SplitField(char sep, std::string_view text, int n) {
    if (n < 0) return std::nullopt;
    const std::vector<std::string> raw = RawFields(sep, text);
    if (static_cast<std::size_t>(n) >= raw.size()) return std::nullopt;
    return FinishField(raw[static_cast<std::size_t>(n)]);
}

std::vector<std::string> SplitFields(char sep, std::string_view text) {
    std::vector<std::string> out;
    for (const std::string& r : RawFields(sep, text)) out.push_back(FinishField(r));
    return out;
}

std::string QuoteField(std::string_view field, char sep, bool always) {
    // As it stands when it reads back as itself and leaves the separator
    // after it alone; otherwise (it holds sep, starts with a quote or blank,
    // ends with a blank, or its quotes would open a stretch or pair up) quoted.
    std::string probe(field);
    probe += sep;
    const std::vector<std::string> back = SplitFields(sep, probe);
    if (!always && back.size() == 2 && back[0] == field && back[1].empty()) return std::string(field);
    std::string out = "\"";
    for (std::size_t i = 0; i < field.size();) {
        const std::size_t n = CharLen(field, i);
        if (n == 1 && field[i] == '"') out += '"';
        out.append(field.substr(i, n));
        i += n;
    }
    out += '"';
    return out;
}

}  // namespace kestrum
