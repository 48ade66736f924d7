// The text viewer's conversion to Shift-JIS (JIS, EUC-JP, UTF-8, UTF-16)
// over any text: a Shift-JIS text without JIS lines stays as it is,
// converting a few lines at a time gives what converting at once gives, a
// cancelled conversion keeps the unconverted rest as it was, and every
// decoder takes any bytes.
#include "fuzz/fuzz_util.h"
#include "viewers/sjis_convert.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t step = 1 + data[0] % 8;
    const std::size_t stopAfter = data[1] % 16;
    const std::string_view text = fuzz::AsText(data + 2, size - 2);
    const std::string shown = fuzz::Printable(text);

    const TextCode code = ClassifyText(text);
    const std::string whole = ConvertToSjis(text);
    // A Shift-JIS text changes only in lines that are JIS (a Shift-JIS file
    // with one JIS paragraph converts); with none there is nothing to do.
    if (code == TextCode::ShiftJis && !TSjisConverter(text).Converts()) FUZZ_CHECK(whole == text, shown);

    TSjisConverter stepped(text);
    FUZZ_CHECK(stepped.Code() == code, shown);
    std::size_t rounds = 0;
    while (!stepped.StepLines(step)) {
        FUZZ_CHECK(++rounds <= text.size() + 1, shown);
    }
    FUZZ_CHECK(stepped.TakeResult() == whole, shown);

    // Cancelled after some steps: what was not converted follows as it was.
    TSjisConverter cancelled(text);
    for (std::size_t i = 0; i < stopAfter && !cancelled.Done(); ++i) cancelled.StepLines(1);
    const std::size_t done = cancelled.BytesDone();
    FUZZ_CHECK(done <= text.size(), shown);
    const std::string partial = cancelled.TakeResult();
    const std::string_view rest = text.substr(done);
    FUZZ_CHECK(partial.size() >= rest.size() && partial.compare(partial.size() - rest.size(), rest.size(), rest) == 0,
               shown);

    // Every decoder over the same bytes, whatever they are.
    for (TextCode forced : {TextCode::Jis, TextCode::EucJp, TextCode::Utf8, TextCode::Utf8Bom, TextCode::Utf16Le,
                            TextCode::Utf16Be}) {
        TSjisConverter c(text, forced);
        while (!c.StepLines(step)) {
        }
        c.TakeResult();
    }
    return 0;
}
