// Cutting the comments out of a settings file when ";" becomes a command
// separator: the file with the marker and without its comments means what
// it meant before, and cutting again changes nothing.
#include "config/semicolon_option.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"
#include "tests/config/settings_round_trip.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> original = SplitLines(fuzz::AsText(data, size));
    // The option is only offered for a file that is not yet in the mode.
    for (const std::string& l : original) {
        if (l == kCfgMarker) return 0;
    }
    std::vector<std::string> cut = original;
    cut.insert(cut.begin(), std::string(kCfgMarker));
    CutCfgComments(cut);
    std::vector<std::string> twice = cut;
    CutCfgComments(twice);
    FUZZ_CHECK(twice == cut, test::ShowLines(original));

    const test::LoadedSettings before = test::LoadLines(original);
    test::LoadedSettings after = test::LoadLines(cut);
    FUZZ_CHECK(after.s.semicolonMode, test::ShowLines(cut));
    after.s.semicolonMode = before.s.semicolonMode;
    const std::vector<std::string> diff = test::LoadDifferences(before, after);
    FUZZ_CHECK(diff.empty(), diff.front() + "\nin " + test::ShowLines(original) + "\ncut " + test::ShowLines(cut));
    return 0;
}
