// Searching the text view's lines: a string found only where it starts and
// ends on character boundaries (a trail byte equal to the string's first
// byte is never a match), optionally ignoring the case of ASCII letters
// outside double-byte characters. Works on the text's bytes in place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "viewers/light_strings.h"

namespace kestrum {

// A search string prepared once.
class TextFinder {
public:
    TextFinder(std::string_view pattern, bool ignoreCase);

    // An empty string, or one holding CR or LF (which no line holds), is
    // never found.
    bool Usable() const { return usable_; }
    std::size_t Length() const { return pattern_.size(); }

    // First match in text starting at or after from; lineStart(pos) names a
    // character boundary at or before pos (a line start), which bounds the
    // look back that tells whether a position is a boundary. npos if none.
    template <typename LineStart>
    std::size_t FindFirst(std::string_view text, std::size_t from, LineStart lineStart) const;
    // Last match that ends at or before limit. npos if none.
    template <typename LineStart>
    std::size_t FindLast(std::string_view text, std::size_t limit, LineStart lineStart) const;

    // Within text that starts on a boundary.
    std::size_t FindFirst(std::string_view text, std::size_t from = 0) const {
        return FindFirst(text, from, [](std::size_t) { return std::size_t{0}; });
    }
    std::size_t FindLast(std::string_view text) const {
        return FindLast(text, text.size(), [](std::size_t) { return std::size_t{0}; });
    }

private:
    // The bytes at pos equal the string (with the case rule).
    bool Equal(const unsigned char* at) const;
    // pos and pos + Length() are both character boundaries, given that
    // known is one.
    bool OnBoundaries(std::string_view text, std::size_t known, std::size_t pos) const;
    // Position of byte b in text[pos, end), or end.
    static std::size_t Scan(const unsigned char* text, std::size_t pos, std::size_t end, unsigned char b);

    std::string pattern_;
    std::string folded_;       // with ignore case: a-z as A-Z where they are characters
    std::string foldMask_;     // 1 where the byte is an ASCII letter character
    // The byte whose places give the candidates: the first, or with ignore
    // case the first that is not a letter or a blank (one scan, rarer).
    std::size_t anchor_ = 0;
    bool ignoreCase_;
    bool usable_;
};

// Search next: the display line to become the top line, searching from the
// line after top through the rest of its paragraph and then the following
// paragraphs; nullopt when the string is not found.
std::optional<std::size_t> SearchForward(const TLightStrings& lines, std::size_t top, const TextFinder& finder);
// Search previous: the display line, above top, holding the start of the
// last match that ends before the top line; nullopt when there is none
// (always at top line 0).
std::optional<std::size_t> SearchBackward(const TLightStrings& lines, std::size_t top, const TextFinder& finder);

// ---- template definitions ------------------------------------------------------

template <typename LineStart>
std::size_t TextFinder::FindFirst(std::string_view text, std::size_t from, LineStart lineStart) const {
    const std::size_t m = pattern_.size();
    if (!usable_ || text.size() < m || from > text.size() - m) return std::string_view::npos;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t end = text.size() - m + 1;  // one past the last start that fits
    // Candidates come from the places of one byte of the string (of either
    // case when it is a letter), each kind found by its own scan and kept
    // until passed.
    const std::size_t k = anchor_;
    const auto a = static_cast<unsigned char>(pattern_[k]);
    const bool fold = ignoreCase_ && foldMask_[k];
    const unsigned char b = fold ? static_cast<unsigned char>(a ^ 0x20) : a;
    std::size_t nextA = Scan(t, from + k, end + k, a);
    std::size_t nextB = fold ? Scan(t, from + k, end + k, b) : end + k;
    for (;;) {
        const std::size_t hit = nextA < nextB ? nextA : nextB;
        if (hit >= end + k) return std::string_view::npos;
        const std::size_t pos = hit - k;
        if (Equal(t + pos) && OnBoundaries(text, lineStart(pos), pos)) return pos;
        if (hit == nextA) nextA = Scan(t, hit + 1, end + k, a);
        if (fold && hit == nextB) nextB = Scan(t, hit + 1, end + k, b);
    }
}

template <typename LineStart>
std::size_t TextFinder::FindLast(std::string_view text, std::size_t limit, LineStart lineStart) const {
    const std::size_t m = pattern_.size();
    if (limit > text.size()) limit = text.size();
    if (!usable_ || limit < m) return std::string_view::npos;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto first = static_cast<unsigned char>(pattern_[0]);
    const bool fold = ignoreCase_ && foldMask_[0];
    for (std::size_t pos = limit - m + 1; pos-- > 0;) {
        const unsigned char b = t[pos];
        if (fold ? (b | 0x20) != (first | 0x20) : b != first) continue;
        if (Equal(t + pos) && OnBoundaries(text, lineStart(pos), pos)) return pos;
    }
    return std::string_view::npos;
}

}  // namespace kestrum
