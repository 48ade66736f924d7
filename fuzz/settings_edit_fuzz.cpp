// TSettingsFile's edits over any file: after any sequence of the writes the
// program makes, the file still loads the same after a round trip, and a
// key written into a geometry section reads back through the profile reader.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>

#include "common/sjis.h"
#include "config/profile.h"
#include "config/settings_file.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"
#include "tests/config/settings_round_trip.h"

using namespace kestrum;

namespace {

// A section or key name as the program spells its own: letters, digits, "_".
bool PlainName(std::string_view s) {
    if (s.empty()) return false;
    for (unsigned char c : s) {
        if (!(std::isalnum(c) || c == '_')) return false;
    }
    return true;
}

// A value that the profile rules give back as it is: no line break, no
// blanks at either end, no quotes around it, no ";" (a comment outside the
// semicolon mode).
bool PlainValue(std::string_view s) {
    for (unsigned char c : s) {
        if (c == '\r' || c == '\n' || c == ';' || c == 0) return false;
    }
    if (Trim(s) != s) return false;
    return s.size() < 2 || !((s.front() == '"' && s.back() == '"') || (s.front() == '\'' && s.back() == '\''));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int edits = in.ConsumeIntegralInRange(0, 6);
    struct Edit {
        int op;
        std::string a, b, c;
        long long n;
    };
    std::vector<Edit> script;
    for (int i = 0; i < edits; ++i) {
        Edit e;
        e.op = in.ConsumeIntegralInRange(0, 7);
        e.n = in.ConsumeIntegral<long long>();
        e.a = in.ConsumeRandomLengthString(24);
        e.b = in.ConsumeRandomLengthString(24);
        e.c = in.ConsumeRandomLengthString(48);
        script.push_back(std::move(e));
    }
    const bool semicolon = in.ConsumeBool();
    const std::vector<std::string> original = SplitLines(in.ConsumeRemainingBytesAsString());

    TSettingsFile f = TSettingsFile::FromLines(original, semicolon);
    for (const Edit& e : script) {
        switch (e.op) {
        case 0: f.WriteString(e.a, e.b, e.c); break;
        case 1: f.WriteInteger(e.a, e.b, e.n); break;
        case 2: f.WriteBool(e.a, e.b, e.n & 1); break;
        case 3: f.WriteLine("[" + e.a + "]", e.b, e.b + ", " + e.c); break;
        case 4: f.AppendListLine("[" + e.a + "]", e.c); break;
        case 5: f.WriteListSection(e.a, SplitLines(e.c)); break;
        case 6: f.InsertMarker(); break;
        case 7: {
            // What the geometry writers rely on: the key reads back.
            if (!PlainName(e.a) || !PlainName(e.b) || !PlainValue(e.c)) break;
            f.WriteString(e.a, e.b, e.c);
            const ProfileReader profile(f.Lines(), semicolon);
            const std::optional<std::string> back = profile.Find(e.a, e.b);
            FUZZ_CHECK(back == e.c, "[" + e.a + "] " + e.b + "=" + fuzz::Printable(e.c) + " read back as " +
                                        fuzz::Printable(back.value_or("<none>")) + "\nin " + test::ShowLines(f.Lines()));
            break;
        }
        }
    }

    // The edited file, saved and loaded again, keeps its settings across
    // the program's own round trip.
    const std::vector<std::string> saved = SplitLines(JoinLinesCrLf(f.Lines()));
    const test::LoadedSettings first = test::LoadLines(saved);
    const test::LoadedSettings second = test::LoadLines(test::WriteBack(saved, first));
    const std::vector<std::string> diff = test::LoadDifferences(first, second);
    FUZZ_CHECK(diff.empty(), diff.front() + "\nin " + test::ShowLines(saved));
    return 0;
}
