// Tag-jump parsing and jump-to-line arithmetic.
#include "viewers/tag_jump.h"

#include <limits>

#include "common/sjis.h"

namespace kestrum {

std::optional<long long> ParseLineNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = text.size();
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == end) return std::nullopt;
    long long n = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        if (n > (std::numeric_limits<long long>::max() - (text[i] - '0')) / 10) return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return negative ? -n : n;
}

TagJump ParseTagLine(std::string_view text) {
    TagJump jump;
    std::size_t numberFrom = std::string_view::npos;
    if (!text.empty() && text[0] == '"') {
        const std::size_t close = FindChar(text, '"', 1);
        if (close == std::string_view::npos) {
            jump.file = std::string(text.substr(1));
            return jump;
        }
        jump.file = std::string(text.substr(1, close - 1));
        numberFrom = close + 1;
    } else {
        const std::size_t blank = FindChar(text, ' ');
        jump.file = std::string(text.substr(0, blank));
        if (blank == std::string_view::npos) return jump;
        numberFrom = blank;
    }
    const std::size_t colon = FindChar(text, ':', numberFrom);
    const std::size_t end = colon == std::string_view::npos ? text.size() : colon;
    jump.line = ParseLineNumber(text.substr(numberFrom, end - numberFrom));
    return jump;
}

std::string TagFilePath(std::string_view file, std::string_view viewedFile) {
    const bool rooted = !file.empty() && (file[0] == '\\' || file[0] == '/');
    const bool drive = file.size() >= 2 && file[1] == ':';
    if (rooted || drive || viewedFile.empty()) return std::string(file);
    return ExtractFilePath(viewedFile) + std::string(file);
}

std::size_t DisplayLineOfSourceLine(const TLightStrings& lines, long long n) {
    if (n <= 1) return 0;
    return lines.FirstLineOfParagraph(static_cast<std::size_t>(n - 1));
}

}  // namespace kestrum
