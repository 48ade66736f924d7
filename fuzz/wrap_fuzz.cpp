// The text view's wrapper and re-joiner over any text and width: joining
// the display lines gives the source back (line breaks as CR LF), every
// line is as long as the width allows and starts on a character, wrapping
// in steps or again at another width changes nothing, and each paragraph
// is its source line.
#include "common/sjis.h"
#include "fuzz/fuzz_util.h"
#include "viewers/light_strings.h"

using namespace kestrum;

namespace {

// The source lines: CR LF, LF or a lone CR ends one; a last line without a
// break is a line too.
std::vector<std::string> SourceLines(std::string_view text) {
    std::vector<std::string> out;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.push_back(cur);
            cur.clear();
        } else {
            cur += text[i];
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

void CheckWrapping(const TLightStrings& s, int width, std::string_view text) {
    const std::string shown = "width " + std::to_string(width) + ": " + fuzz::Printable(text);
    const std::vector<std::string> source = SourceLines(text);
    std::string joined;
    for (const std::string& l : source) joined += l + "\r\n";
    FUZZ_CHECK(s.GetText() == joined, shown);
    FUZZ_CHECK(s.ParagraphCount() == source.size(), shown);
    for (std::size_t p = 0; p < source.size(); ++p) {
        FUZZ_CHECK(s.ParagraphText(p) == source[p], shown + " paragraph " + std::to_string(p));
    }
    std::string paragraph;
    for (std::size_t i = 0; i < s.Count(); ++i) {
        const std::string_view line = s.Get(i);
        FUZZ_CHECK(line.size() <= static_cast<std::size_t>(width) || (width == 1 && line.size() == 2), shown);
        FUZZ_CHECK(!line.empty() || (i == s.Count() - 1 || s.Paragraph(i + 1) != s.Paragraph(i)), shown);
        if (i > 0 && s.Paragraph(i) != s.Paragraph(i - 1)) paragraph.clear();
        paragraph += line;
        FUZZ_CHECK(IsCharBoundary(paragraph, paragraph.size() - line.size()), shown + " line " + std::to_string(i));
        if (i + 1 < s.Count() && s.Paragraph(i + 1) == s.Paragraph(i)) {
            const std::string next(s.Get(i + 1));
            const bool full = line.size() == static_cast<std::size_t>(width) || (width == 1 && line.size() == 2);
            const bool shortBeforePair = line.size() + 1 == static_cast<std::size_t>(width) && CharLen(next, 0) == 2;
            FUZZ_CHECK(full || shortBeforePair, shown + " line " + std::to_string(i) + " cut early");
        }
        if (s.Pristine()) {
            FUZZ_CHECK(s.LineAtOffset(s.Offset(i)) == i || line.empty(), shown);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int width = 1 + data[0] % 120;
    const int second = 1 + data[1] % 120;
    const std::size_t step = 1 + data[2] % 64;
    const std::string_view text = fuzz::AsText(data + 3, size - 3);

    TLightStrings whole;
    whole.SetWrapWidth(width);
    whole.SetText(text);
    CheckWrapping(whole, width, text);

    TLightStrings stepped;
    stepped.SetWrapWidth(width);
    stepped.BeginText(TextBuffer::Copy(text));
    while (!stepped.WrapSome(step)) {
    }
    FUZZ_CHECK(stepped.Count() == whole.Count(), fuzz::Printable(text));
    for (std::size_t i = 0; i < whole.Count(); ++i) {
        FUZZ_CHECK(stepped.Get(i) == whole.Get(i) && stepped.Paragraph(i) == whole.Paragraph(i), fuzz::Printable(text));
    }

    whole.SetWrapWidth(second);
    whole.Rewrap();
    CheckWrapping(whole, second, text);
    return 0;
}
