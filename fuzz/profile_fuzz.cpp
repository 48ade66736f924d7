// The profile reader of the geometry sections over any file and any
// section and key asked for: no fault, and its three readers agree.
#include <fuzzer/FuzzedDataProvider.h>

#include "config/profile.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const ProfileReader p(SplitLines(in.ConsumeRemainingBytesAsString()));
    for (const std::string_view s : {std::string_view(section), std::string_view("FORM_LS"), std::string_view("TVIEW")}) {
        for (const std::string_view k : {std::string_view(key), std::string_view("Top"), std::string_view("FontName")}) {
            const std::optional<std::string> v = p.Find(s, k);
            FUZZ_CHECK(p.ReadString(s, k, "\x01") == v.value_or("\x01"), fuzz::Printable(s));
            const int n = p.ReadInteger(s, k, -7);
            FUZZ_CHECK(n == (v ? ParseInt(*v).value_or(-7) : -7), fuzz::Printable(v.value_or("")));
        }
    }
    return 0;
}
