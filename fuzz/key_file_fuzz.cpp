// The three key files (filer, line input, text viewer): whatever a file
// holds, the map it loads is written and loads back the same, a second
// write gives the same text, and a preview load never asks for a save.
#include "common/prompter.h"
#include "config/key_map.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/config/settings_round_trip.h"

using namespace kestrum;

namespace {

struct Map {
    TKeyX keyx;
    int saves = 0;
};

// The map of one window, set up as the program sets it up.
void SetUp(Map& m, int kind) {
    switch (kind) {
    case 0: SetUpFilerKeyX(m.keyx, [](char letter) { return letter % 7; }, [&m] { ++m.saves; }); break;
    case 1: SetUpEditKeyX(m.keyx, 9000); break;
    default: SetUpViewerKeyX(m.keyx, 9100); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ScriptedPrompter prompter;
    const Subscription scope = InstallPrompter(prompter);
    const int kind = data[0] % 3;
    const std::string_view header = kind == 0 ? kFilerKeyHeader : kind == 1 ? kEditKeyHeader : kViewerKeyHeader;
    // Most inputs get the right header line, so that their lines are read.
    std::string text = data[0] & 4 ? std::string(header) + "\r\n" : std::string();
    text += fuzz::AsText(data + 1, size - 1);
    const std::vector<std::string> lines = SplitLines(text);

    Map preview;
    SetUp(preview, kind);
    const KeyFileResult previewed = LoadKeyLines(preview.keyx, lines, header, true);
    FUZZ_CHECK(preview.saves == 0, fuzz::Printable(text));

    Map first;
    SetUp(first, kind);
    const KeyFileResult loaded = LoadKeyLines(first.keyx, lines, header);
    FUZZ_CHECK(loaded == previewed, fuzz::Printable(text));
    FUZZ_CHECK(first.keyx.KeyXUserKey.Records() == preview.keyx.KeyXUserKey.Records(), fuzz::Printable(text));
    if (loaded != KeyFileResult::Loaded) return 0;
    for (int n = 0; n < first.keyx.Count(); ++n) first.keyx.MenuCaption(n);

    const std::string written = first.keyx.KeyXUserKey.FileText(header);
    Map second;
    SetUp(second, kind);
    FUZZ_CHECK(LoadKeyLines(second.keyx, SplitLines(written), header) == KeyFileResult::Loaded, written);
    FUZZ_CHECK(second.saves == 0, fuzz::Printable(written));
    FUZZ_CHECK(second.keyx.KeyXUserKey.Records() == test::AsWritten(first.keyx.KeyXUserKey).Records(),
               fuzz::Printable(text) + "\nwritten " + fuzz::Printable(written));
    FUZZ_CHECK(second.keyx.KeyXUserKey.FileText(header) == written, fuzz::Printable(written));
    return 0;
}
