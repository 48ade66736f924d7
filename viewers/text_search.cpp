// Searching the text view's lines forwards and backwards.
#include "viewers/text_search.h"

#include <cstring>

#include "common/sjis.h"

namespace kestrum {

namespace {

constexpr bool IsAsciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

// The display line (from first) that holds byte pos of the joined lines.
std::size_t LineOfJoined(const TLightStrings& lines, std::size_t first, std::size_t end, std::size_t pos) {
    std::size_t k = first;
    while (k + 1 < end && pos >= lines.Get(k).size()) {
        pos -= lines.Get(k).size();
        ++k;
    }
    return k;
}

}  // namespace

TextFinder::TextFinder(std::string_view pattern, bool ignoreCase)
    : pattern_(pattern), ignoreCase_(ignoreCase) {
    usable_ = !pattern.empty() && pattern.find_first_of("\r\n") == std::string_view::npos;
    folded_ = pattern_;
    foldMask_.assign(pattern_.size(), '\0');
    for (std::size_t i = 0; i < pattern_.size(); i = NextChar(pattern_, i)) {
        const auto b = static_cast<unsigned char>(pattern_[i]);
        if (CharLen(pattern_, i) == 1 && IsAsciiLetter(b)) {
            foldMask_[i] = 1;
            folded_[i] = static_cast<char>(b & 0xDF);
        }
    }
    if (ignoreCase_) {
        std::size_t plain = pattern_.size();
        for (std::size_t i = 0; i < pattern_.size(); ++i) {
            if (foldMask_[i]) continue;
            if (plain == pattern_.size()) plain = i;
            if (pattern_[i] != ' ') {
                plain = i;
                break;
            }
        }
        if (plain < pattern_.size()) anchor_ = plain;
    }
}

bool TextFinder::Equal(const unsigned char* at) const {
    const std::size_t m = pattern_.size();
    if (!ignoreCase_) return std::memcmp(at, pattern_.data(), m) == 0;
    const auto* f = reinterpret_cast<const unsigned char*>(folded_.data());
    for (std::size_t i = 0; i < m; ++i) {
        // A letter matches its other case only where the string has a letter
        // character (0xDF clears only the case bit of the two letters).
        const unsigned char b = foldMask_[i] ? at[i] & 0xDF : at[i];
        if (b != f[i]) return false;
    }
    return true;
}

bool TextFinder::OnBoundaries(std::string_view text, std::size_t known, std::size_t pos) const {
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    // Right after a byte that cannot start a double-byte character a new
    // character starts; look back to one (or to the known boundary) and
    // walk forward from there.
    std::size_t s = pos;
    while (s > known && IsLeadByte(t[s - 1])) --s;
    while (s < pos) s = NextChar(text, s);
    if (s != pos) return false;
    const std::size_t end = pos + pattern_.size();
    while (s < end) s = NextChar(text, s);
    return s == end;
}

std::size_t TextFinder::Scan(const unsigned char* text, std::size_t pos, std::size_t end, unsigned char b) {
    if (pos >= end) return end;
    const void* hit = std::memchr(text + pos, b, end - pos);
    return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text) : end;
}

std::optional<std::size_t> SearchForward(const TLightStrings& lines, std::size_t top, const TextFinder& finder) {
    if (!finder.Usable() || top + 1 >= lines.Count()) return std::nullopt;
    if (lines.Pristine()) {
        // The lines are the text in order: one scan of its bytes.
        const std::size_t pos = finder.FindFirst(lines.Text(), lines.Offset(top + 1), [&](std::size_t p) {
            return lines.Offset(lines.LineAtOffset(p));
        });
        if (pos == std::string_view::npos) return std::nullopt;
        return lines.LineAtOffset(pos);
    }
    std::string scratch;
    for (std::size_t first = top + 1; first < lines.Count();) {
        const std::size_t end = lines.EndOfParagraph(first);
        const std::size_t pos = finder.FindFirst(lines.JoinLines(first, end, scratch));
        if (pos != std::string_view::npos) return LineOfJoined(lines, first, end, pos);
        first = end;
    }
    return std::nullopt;
}

std::optional<std::size_t> SearchBackward(const TLightStrings& lines, std::size_t top, const TextFinder& finder) {
    if (!finder.Usable() || top == 0 || lines.Empty()) return std::nullopt;
    if (top > lines.Count()) top = lines.Count();
    if (lines.Pristine()) {
        const std::size_t limit = top < lines.Count() ? lines.Offset(top) : lines.Text().size();
        const std::size_t pos = finder.FindLast(lines.Text(), limit, [&](std::size_t p) {
            return lines.Offset(lines.LineAtOffset(p));
        });
        if (pos == std::string_view::npos) return std::nullopt;
        return lines.LineAtOffset(pos);
    }
    // The lines above top in its own paragraph, then each earlier paragraph.
    std::string scratch;
    for (std::size_t end = top; end > 0;) {
        const std::size_t first = lines.FirstLineOfParagraph(lines.Paragraph(end - 1));
        const std::size_t pos = finder.FindLast(lines.JoinLines(first, end, scratch));
        if (pos != std::string_view::npos) return LineOfJoined(lines, first, end, pos);
        end = first;
    }
    return std::nullopt;
}

}  // namespace kestrum
