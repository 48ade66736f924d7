// The text splitters and wildcards of the command language: SplitFirst,
// SplitField, QuoteField, WildMatch, MapWildName and SplitTwoNames, over any
// text, with the rules each of them promises.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>

#include "common/sjis.h"
#include "common/split.h"
#include "common/wildmatch.h"
#include "fuzz/fuzz_util.h"
#include "shell/file_commands.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const char sep = in.PickValueInArray({',', ';', '=', ' ', '\\'});
    const std::string a = in.ConsumeRandomLengthString(64);
    const std::string b = in.ConsumeRandomLengthString(64);
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::string shown = fuzz::Printable(text);

    // SplitFirst: the text without its leading blanks is head, sep, tail.
    const HeadTail ht = SplitFirst(text, sep);
    const std::string left = TrimLeft(text);
    if (FindChar(left, sep) == std::string::npos) {
        FUZZ_CHECK(ht.head == left && ht.tail.empty(), shown);
    } else {
        FUZZ_CHECK(ht.head + sep + ht.tail == left, shown);
        FUZZ_CHECK(FindChar(ht.head, sep) == std::string::npos, shown);
    }

    // SplitField: field n of SplitFields, and nothing past the last one.
    const std::vector<std::string> fields = SplitFields(sep, text);
    FUZZ_CHECK(!fields.empty(), shown);
    for (std::size_t n = 0; n < fields.size() && n < 8; ++n) {
        FUZZ_CHECK(SplitField(sep, text, static_cast<int>(n)) == fields[n], shown);
    }
    FUZZ_CHECK(!SplitField(sep, text, static_cast<int>(fields.size())), shown);
    FUZZ_CHECK(!SplitField(sep, text, -1), shown);

    // QuoteField: two written fields read back as themselves.
    if (sep != ' ' && sep != '"') {
        const std::string line = QuoteField(a, sep) + sep + QuoteField(b, sep, true);
        const std::vector<std::string> back = SplitFields(sep, line);
        FUZZ_CHECK(back.size() == 2 && back[0] == a && back[1] == b,
                   fuzz::Printable(a) + " / " + fuzz::Printable(b) + " written " + fuzz::Printable(line));
    }

    // WildMatch: "*.*" takes every name, a name without wildcards matches
    // itself in any case.
    if (!a.empty()) {
        FUZZ_CHECK(WildMatch(a, "*.*") && WildMatch(a, "*"), fuzz::Printable(a));
        if (FindAnyChar(a, "*?") == std::string::npos) {
            FUZZ_CHECK(WildMatch(a, a) && WildMatch(LowerAscii(a), UpperAscii(a)), fuzz::Printable(a));
        }
    }
    WildMatch(text, a);

    // MapWildName: a result never holds a wildcard.
    const std::optional<std::string> mapped = MapWildName(a, b);
    if (mapped) FUZZ_CHECK(FindAnyChar(*mapped, "*?") == std::string::npos, fuzz::Printable(*mapped));

    // SplitTwoNames: two trimmed names; the first one is the text up to a blank.
    const std::set<std::string> existing = {a, b, Trim(a)};
    int asked = 0;
    const auto names = SplitTwoNames(text, [&](const std::string& p) {
        ++asked;
        return existing.count(p) > 0;
    });
    FUZZ_CHECK(names.first == Trim(names.first) && names.second == Trim(names.second), shown);
    if (FindChar(text, ' ') == std::string::npos) {
        FUZZ_CHECK(names.first == Trim(text) && names.second.empty() && asked == 0, shown);
    } else {
        FUZZ_CHECK(left.compare(0, names.first.size(), names.first) == 0, shown);
    }
    return 0;
}
