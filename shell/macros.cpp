// Macro expansion.
#include "shell/macros.h"

#include <cstdio>

#include "common/sjis.h"

namespace kestrum {

std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value) {
    if (token.empty()) return text;
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, token.size(), token) == 0) {
            out += value;
            i += token.size();
        } else {
            const std::size_t n = CharLen(text, i);
            out.append(text, i, n);
            i += n;
        }
    }
    return out;
}

void ExpandMacroText(std::string& text, const Settings& s, const MacroContext& ctx, bool forced) {
    if (!s.macroFlag && !forced) return;
    auto on = [&](bool sw) { return sw || forced; };
    const std::string& file = ctx.currentFile;
    char two[8];
    if (on(s.edmcf)) text = ReplaceToken(text, s.fmc, file);
    if (on(s.edmdf)) {
        std::snprintf(two, sizeof two, "%02d", ctx.day);
        text = ReplaceToken(text, s.fmd, two);
    }
    if (on(s.edmmf)) {
        std::snprintf(two, sizeof two, "%02d", ctx.month);
        text = ReplaceToken(text, s.fmm, two);
    }
    if (on(s.edmsf)) text = ReplaceToken(text, s.fms, s.fms2);
    if (on(s.edmpf)) text = ReplaceToken(text, "/$P", IncludeTrailingBackslash(ExtractFilePath(file)));
    if (on(s.edmxf)) {
        const std::string ext = ExtractFileExt(file);
        std::string base = file.substr(0, file.size() - ext.size());
        base = base.substr(ExtractFilePath(base).size());
        if (!base.empty() && base[0] == '\\') base.erase(0, 1);
        text = ReplaceToken(text, "/$X", base);
    }
    if (on(s.edmef)) {
        std::string ext = ExtractFileExt(file);
        if (!ext.empty()) ext.erase(0, 1);
        text = ReplaceToken(text, "/$E", ext);
    }
    if (on(s.edmsnf)) {
        const std::string shortPath = ctx.shortPath && !file.empty() ? ctx.shortPath(file) : std::string();
        text = ReplaceToken(text, "/$S", shortPath);
    }
}

}  // namespace kestrum
