// The two text splitters of the command language and the settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrum {

// Leading blanks removed, then cut at the first separator (outside double-byte
// characters). Without the separator the head is the whole text and the tail
// is empty. Neither part is trimmed.
struct HeadTail {
    std::string head;
    std::string tail;
};
HeadTail SplitFirst(std::string_view text, char sep);

// Field n (from 0) of text split at sep; double quotes open a stretch where
// sep does not count and "" stands for one quote. The field is trimmed and,
// when it then starts with a quote, its first and last characters go.
// A text with fewer than n + 1 fields gives nullopt, which is not "".
std::optional<std::string> SplitField(char sep, std::string_view text, int n);

// All fields of text, with the same rules (at least one field).
std::vector<std::string> SplitFields(char sep, std::string_view text);

// A field as the settings writer stores it: inside double quotes, with each
// quote doubled, when it contains sep or would not read back as itself
// otherwise (a leading quote, quotes that open a stretch, blanks at either
// end); as it stands otherwise.
// With always set the field is quoted in any case.
std::string QuoteField(std::string_view field, char sep = ',', bool always = false);

}  // namespace kestrum
