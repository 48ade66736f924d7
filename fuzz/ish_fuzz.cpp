// The ish reader over any text: every file found is whole (its data the
// size its header gives) or reported, volumes join or are reported, the
// command line writes nothing outside its target, and the first byte
// chooses a variant in which the rest encodes and decodes back unchanged.
#include "fuzz/fuzz_util.h"
#include "libs/ish/ish_command.h"
#include "libs/ish/ish_decode.h"
#include "libs/ish/ish_encode.h"
#include "tests/libs/mem_fs.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::vector<ish::Found> found = ish::FindIsh(text);
    std::vector<const ish::Found*> volumes;
    for (const ish::Found& f : found) {
        FUZZ_CHECK(!f.complete || f.data.size() == f.header.DataSize(), f.header.shortName);
        FUZZ_CHECK(f.complete || !f.problems.empty(), f.header.shortName);
        FUZZ_CHECK(f.data.size() <= size * 64, "more data than the text can hold");
        if (f.header.volume != 0) volumes.push_back(&f);
    }
    for (const ish::Joined& j : ish::JoinVolumes(volumes)) {
        FUZZ_CHECK(!j.complete || j.data.size() == j.first->header.size, j.first->header.shortName);
    }

    arc::test::MemFs fs;
    fs.AddFile("C:\\IN\\X.ISH", std::string(text));
    std::string out;
    auto convert = [](const std::string& utf8, std::string& sjis) {
        sjis = utf8.size() % 2 ? utf8 : std::string();
        return !sjis.empty();
    };
    ish::RunIsh(fs, "C:\\IN\\X.ISH /f=C:\\OUT", out, convert);
    for (const std::string& w : fs.Written()) {
        FUZZ_CHECK(w.rfind("C:\\OUT", 0) == 0 && (w.size() == 6 || w[6] == '\\'), fuzz::Printable(w));
        FUZZ_CHECK(w.find('\\', 7) == std::string::npos, fuzz::Printable(w));
    }

    if (size > 0) {
        const ish::Variant variants[] = {ish::Variant::kJis7, ish::Variant::kJis8, ish::Variant::kSjis,
                                         ish::Variant::kNonKana};
        ish::EncodeOptions o;
        o.variant = variants[data[0] % 4];
        o.name = "fuzz.bin";
        const std::vector<std::uint8_t> body(data + 1, data + size);
        const std::vector<ish::Found> back = ish::FindIsh(ish::EncodeIsh(body, o));
        FUZZ_CHECK(back.size() == 1 && back[0].complete && back[0].data == body, "round trip");
    }
    return 0;
}
