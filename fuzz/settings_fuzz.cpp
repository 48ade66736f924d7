// The settings file: whatever a file holds, loading it, writing it back with
// every writer of the program and loading again gives the same settings;
// sections the program does not know come through untouched, and a second
// write changes nothing but the case of values.
#include "common/sjis.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"
#include "tests/config/settings_round_trip.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> original = SplitLines(fuzz::AsText(data, size));
    const test::LoadedSettings first = test::LoadLines(original);
    const std::vector<std::string> written = test::WriteBack(original, first);
    const test::LoadedSettings second = test::LoadLines(written);

    const std::vector<std::string> diff = test::LoadDifferences(first, second);
    FUZZ_CHECK(diff.empty(), diff.front() + "\nin " + test::ShowLines(original));
    FUZZ_CHECK(test::UnknownSections(original) == test::UnknownSections(written),
               test::ShowLines(original) + "\nwritten " + test::ShowLines(written));

    const std::vector<std::string> again = test::WriteBack(written, second);
    FUZZ_CHECK(again.size() == written.size(), test::ShowLines(written) + "\nagain " + test::ShowLines(again));
    for (std::size_t i = 0; i < again.size(); ++i) {
        FUZZ_CHECK(SameText(again[i], written[i]), test::ShowLines(written) + "\nagain " + test::ShowLines(again));
    }
    return 0;
}
