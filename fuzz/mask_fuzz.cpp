// Filer masks over any specification: each entry is a name pattern in upper
// case or a packed date, "\+" keeps the masks in force, and date conditions
// never read outside their bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include "common/sjis.h"
#include "config/mask.h"
#include "fuzz/fuzz_util.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    LocalDate today;
    today.year = in.ConsumeIntegralInRange(1980, 2107);
    today.month = in.ConsumeIntegralInRange(1, 12);
    today.day = in.ConsumeIntegralInRange(1, 31);
    today.hour = in.ConsumeIntegralInRange(0, 23);
    const std::string before = in.ConsumeRandomLengthString(32);
    const std::string text = in.ConsumeRemainingBytesAsString();

    std::vector<std::string> masks;
    std::string display;
    SetMask(before, today, masks, display);
    const std::vector<std::string> kept = masks;
    SetMask(text, today, masks, display);

    bool add = false;
    for (std::size_t p = FindChar(text, '\\'); p != std::string::npos; p = FindChar(text, '\\', p + 1)) {
        if (p + 1 < text.size() && text[p + 1] == '+') add = true;
    }
    if (add) {
        FUZZ_CHECK(masks.size() >= kept.size() && std::equal(kept.begin(), kept.end(), masks.begin()),
                   fuzz::Printable(text));
    }
    for (const std::string& m : masks) {
        FUZZ_CHECK(m.size() >= 2, fuzz::Printable(text));
        if (m[0] == '0') {
            FUZZ_CHECK(UpperAscii(m) == m, fuzz::Printable(m));
        } else {
            FUZZ_CHECK((m[0] == '1' || m[0] == '2') && m.size() == 6, fuzz::Printable(m));
            FUZZ_CHECK(MatchPackedDate(std::string_view(m).substr(1), today), fuzz::Printable(m));
        }
    }
    MatchPackedDate(text, today);
    ParseBracketList(text);
    return 0;
}
