// The colour file: any file either fails (colours untouched) or gives
// colours that are written and read back the same.
#include "config/colors.h"
#include "fuzz/fuzz_util.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Most inputs get the header line, so that their lines are read.
    std::string text = data[0] & 1 ? std::string(kColorFileHeader) + "\r\n" : std::string();
    text += fuzz::AsText(data + 1, size - 1);

    ColorSlots colors = DefaultColors();
    if (!ParseColorFile(text, colors)) {
        FUZZ_CHECK(colors == DefaultColors(), fuzz::Printable(text));
        return 0;
    }
    const std::string written = FormatColorFile(colors);
    ColorSlots back{};
    FUZZ_CHECK(ParseColorFile(written, back), written);
    FUZZ_CHECK(back == colors, fuzz::Printable(text));
    FUZZ_CHECK(FormatColorFile(back) == written, written);
    return 0;
}
