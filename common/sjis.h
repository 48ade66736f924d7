// Shift-JIS (code page 932) scanning: lead bytes, character-wise search,
// ASCII-only case folding and the small path-text helpers built on them.
// Text stays as bytes; positions and lengths are byte counts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Half-width katakana and its punctuation (0xA1-0xDF).
constexpr bool IsHalfKana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

// Length in bytes of the character starting at pos: 2 for a lead byte that
// is followed by a byte that can be a trail byte (0x40-0x7E, 0x80-0xFC; so
// never NUL, CR, LF, a blank, "," or a quote), else 1.
std::size_t CharLen(std::string_view s, std::size_t pos);

// Position of the character after the one at pos (never past s.size()).
inline std::size_t NextChar(std::string_view s, std::size_t pos) {
    return pos + CharLen(s, pos);
}

// True when pos falls on the start of a character (not on a trail byte).
bool IsCharBoundary(std::string_view s, std::size_t pos);

// First / last position of the single-byte character c, scanning character
// by character so that a trail byte never matches. npos when absent.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0);
std::size_t FindLastChar(std::string_view s, char c);
// First position of any of the single-byte characters in set.
std::size_t FindAnyChar(std::string_view s, std::string_view set, std::size_t from = 0);
// Last position of any of the single-byte characters in set.
std::size_t FindLastAnyChar(std::string_view s, std::string_view set);

// True when the text holds a double-byte character or starts with a
// half-width katakana byte (the completion filter for Japanese names).
bool HasJapanese(std::string_view s);

// ASCII letters a-z to A-Z outside double-byte characters; trail bytes
// (0x61-0x7A can be trail bytes) stay as they are.
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);
// Case-insensitive equality under the same rule.
bool SameText(std::string_view a, std::string_view b);

// Leading and trailing blanks and control characters (bytes <= 0x20).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// A typed path trimmed and without the double quotes round it: a leading
// one, and a trailing one after it ("\"C:\out\" and "\"C:\out\\"" give
// "C:\out\").
std::string Unquoted(std::string_view path);

// Every "/" becomes "\" (a "/" is never a trail byte in Shift-JIS, but the
// scan still walks characters so that the rule holds in one place).
std::string SlashesToBackslashes(std::string_view s);

// Path text helpers (Shift-JIS aware: the trail byte of 表 or ソ is 0x5C).
bool EndsWithBackslash(std::string_view path);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);
// Directory part up to and including the last "\" or ":"; empty when none.
std::string ExtractFilePath(std::string_view path);
// Name after the last "\" or ":".
std::string ExtractFileName(std::string_view path);
// Extension of the name part, with its dot; empty when none.
std::string ExtractFileExt(std::string_view path);
// Path with the extension of its name part replaced (ext includes the dot).
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// A name given in a settings file: as it stands when its second character
// is ":", otherwise relative to base (which ends in "\").
std::string ResolveConfigPath(std::string_view name, std::string_view base);

}  // namespace kestrum
