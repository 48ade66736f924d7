// What the writers write, the readers read back the same: the settings file,
// key files and colour files, loaded, written with the program's own writers
// and loaded again, over hand-picked cases and over generated files.
#include <gtest/gtest.h>

#include <random>

#include "common/sjis.h"
#include "common/split.h"
#include "config/cfg_pages.h"
#include "config/colors.h"
#include "config/key_map.h"
#include "config/list_editor.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "config/window_state.h"
#include "tests/config/settings_round_trip.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;
using Loaded = test::LoadedSettings;
using test::ShowLines;
using test::UnknownSections;
using test::WriteBack;

Loaded Load(const Lines& lines) { return test::LoadLines(lines); }

// Compares two loads; "what" names the case in failures.
void ExpectSameLoad(const Loaded& a, const Loaded& b, const std::string& what) {
    EXPECT_EQ(test::LoadDifferences(a, b), std::vector<std::string>{}) << what;
}

// ---- hand-picked cases ----------------------------------------------------------

TEST(RoundTrip, QuotedFieldsReadBackAsWritten) {
    const std::string fields[] = {
        "z\"\"\"\"", "\"", "\"\"", "a\"b", "a\"\"b", "\"lead", "trail\"", " blank", "blank ", "a,b", "\"a,b\"",
        "x\x81", "\x81\"", "\x81 ", "表,ソ", "", "plain", "notepad \"a b.txt\"",
    };
    for (const std::string& f : fields) {
        const std::string line = QuoteField(f) + "," + QuoteField("next");
        const std::vector<std::string> back = SplitFields(',', line);
        ASSERT_EQ(back.size(), 2u) << line;
        EXPECT_EQ(back[0], f) << line;
        EXPECT_EQ(back[1], "next") << line;
    }
    // A field that reads back as it stands is not quoted.
    EXPECT_EQ(QuoteField("notepad \"a b.txt\""), "notepad \"a b.txt\"");
    EXPECT_EQ(QuoteField("plain"), "plain");
}

TEST(RoundTrip, KeyNamesThatNeedQuotesOrFollowALoneLeadByte) {
    const char* names[] = {"\"", "\"\"", "A\x81", "\x81", "\"A", "表", "，"};
    for (const char* name : names) {
        KeyBinding b;
        b.action = 5;
        b.key = 222;
        b.name = name;
        b.modifiers = kModCtrl | kModAlt;
        const std::string line = BindingLine(b);
        EXPECT_EQ(ParseBindingLine(line), b) << line;
    }
    // A lone lead byte before a blank: the name loses the blank when read,
    // and reads back the same after it is written.
    const std::optional<KeyBinding> first = ParseBindingLine("5, 65, A\x81 , 1, 0, 0, 0");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, "A\x81");
    EXPECT_EQ(first->modifiers, kModShift);
    EXPECT_EQ(ParseBindingLine(BindingLine(*first)), first);
}

TEST(RoundTrip, SettingsLinesThatChangedAcrossASave) {
    const Lines cases[] = {
        // a lone lead byte before the blank in front of a comma
        {"[ALIAS]", "x\x81 ,y", "[END]"},
        {"[ALIAS]", "a,b\x81 ,c", "[END]"},
        // quotes that pair up inside a quoted stretch
        {"[ALIAS]", "n,\"z\"\"\"\"\"\"\"\"\"", "[END]"},
        // an alias whose fields would form a section header
        {"[ALIAS]", "\"[A\",B]", "[END]"},
        // a function key without a title, and one without brackets
        {"[FUNCTION]", "LSHELP", "ABC]LS", "[F3]", "[END]"},
        // an env value with a lone lead byte at its end
        {"[環境変数]", "FMC, /$C\x81 ", "[END]"},
        // more keyless directory entries than digits: the last one's blank
        // key is written as "K, " and must not come back as a digit
        {"[LOGDISKLIST]", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "[END]"},
        {"[COPYDIRLIST]", "A,0", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "[END]"},
        // the marker below a section the aliases are written into
        {"[ALIAS]", "[CFG Ver1.1]", "[ALIAS]", ";", "x,a;b"},
        // the marker where a function key's title could stand
        {"[FUNCTION]", "[F3]", "[CFG Ver1.1]", "x;y", "[END]"},
    };
    for (const Lines& original : cases) {
        const Loaded first = Load(original);
        const Loaded second = Load(WriteBack(original, first));
        ExpectSameLoad(first, second, ShowLines(original));
    }
    const Loaded f = Load({"[FUNCTION]", "LSHELP", "[END]"});
    ASSERT_EQ(f.l.functions.size(), 1u);
    EXPECT_EQ(FormatFunctionLine(f.l.functions[0]), "LSHELP");
}

TEST(RoundTrip, APlusSignIsNotFollowedByAMinus) {
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("-5"), -5);
    EXPECT_EQ(ParseInt("+-5"), std::nullopt);
    EXPECT_EQ(ParseInt("++5"), std::nullopt);
    EXPECT_EQ(ParseInt("+"), std::nullopt);
    Settings s;
    s.filePitch = 3;
    EXPECT_FALSE(ApplyEnvValue(s, "FILEPITCH", "+-1"));
    EXPECT_EQ(s.filePitch, 3);
}

// ---- generated files --------------------------------------------------------

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : rng_() % n; }
    bool OneIn(std::size_t n) { return Below(n) == 0; }
    template <std::size_t N>
    std::string Pick(const char* const (&from)[N]) {
        return from[Below(N)];
    }
    // Pieces of text that stress the readers: quotes, separators, blanks,
    // Shift-JIS characters whose second byte is "\" or "]", lone lead bytes.
    std::string Text(std::size_t maxPieces) {
        static const char* const pieces[] = {
            "a", "B", "cd", "C:\\WORK", "\\", "表", "ソ", "データ", "\x81", "\x95", "\xE0", "\xFC", " ", "  ",
            "\t", ",", ",", "\"", "\"\"", ";", "=", "[", "]", "]", "1", "-2", "+-5", "/$C", "，", "\x81 ",
            "\x81,", "\x81\"", "ｶﾅ", "[END]",
        };
        std::string t;
        const std::size_t n = Below(maxPieces + 1);
        for (std::size_t i = 0; i < n; ++i) t += Pick(pieces);
        return t;
    }

    Lines SettingsFile() {
        static const char* const headers[] = {
            "[DIRHISTORY]", "[EXEHISTORY]", "[ALIAS]", "[alias]", "[EXT]", "[内部コマンド]", "[環境変数]",
            "[LOGDISKLIST]", "[CopyDirList]", "[FINDLIST]", "[FUNCTION]", "[FORM_LS]", "[TVIEW]",
            "[MYSECTION]", "[Other Stuff]", "[ALIAS] ; mine",
        };
        static const char* const envKeys[] = {"VIEWER", "Editer", "HOMEDIR", "SORT", "FILEPITCH", "TabWidth",
                                              "MENUBAR", "HOTTEXT", "FMC", "AUTONAME", "KeyCustomFile"};
        Lines lines;
        if (OneIn(4)) lines.emplace_back(kCfgMarker);
        const std::size_t sections = Below(7);
        for (std::size_t s = 0; s < sections; ++s) {
            if (OneIn(4)) lines.push_back(Text(3));  // stray line between sections
            const std::string header = Pick(headers);
            lines.push_back(header);
            const bool env = header == "[環境変数]";
            const bool profile = header == "[FORM_LS]" || header == "[TVIEW]";
            const std::size_t n = Below(header == "[内部コマンド]" ? 8 : 6);
            for (std::size_t i = 0; i < n; ++i) {
                if (env) {
                    lines.push_back(Pick(envKeys) + std::string(", ") + Text(3));
                } else if (profile) {
                    lines.push_back("Top=" + Text(2));
                } else {
                    lines.push_back(Text(5));
                }
            }
            if (!OneIn(3)) lines.emplace_back(OneIn(5) ? "[end]" : "[END]");
        }
        return lines;
    }

    Lines KeyFile(std::string_view header) {
        static const char* const ids[] = {"0", "1", "2", "17", "99", "-1", "+3", "+-3", "x", ""};
        static const char* const flags[] = {"0", "1", " 1", "01", "+1", "", "x", "2"};
        Lines lines{std::string(header)};
        const std::size_t n = Below(8);
        for (std::size_t i = 0; i < n; ++i) {
            std::string l = Pick(ids) + ", " + std::to_string(static_cast<int>(Below(300)) - 10) + ", " + Text(3);
            const std::size_t more = Below(5);
            for (std::size_t k = 0; k < more; ++k) l += ", " + Pick(flags);
            lines.push_back(OneIn(6) ? Text(6) : l);
        }
        return lines;
    }

    Lines ColorFile() {
        Lines lines{std::string(kColorFileHeader)};
        const std::size_t n = Below(12);
        for (std::size_t i = 0; i < n; ++i) {
            lines.push_back(std::to_string(static_cast<int>(Below(34)) - 1) + "," +
                            (OneIn(4) ? Text(2) : std::to_string(static_cast<long long>(rng_()) - 2147483648LL)));
        }
        return lines;
    }

private:
    std::mt19937 rng_;
};

TEST(RoundTrip, GeneratedSettingsFilesLoadTheSameAfterBeingWritten) {
    Generator gen(20240610);
    for (int round = 0; round < 600; ++round) {
        const Lines original = gen.SettingsFile();
        const Loaded first = Load(original);
        const Lines written = WriteBack(original, first);
        const Loaded second = Load(written);
        ExpectSameLoad(first, second, ShowLines(original));
        // Sections the program does not know come through untouched.
        EXPECT_EQ(UnknownSections(original), UnknownSections(written)) << ShowLines(original);
        // Writing again changes nothing but the case of values that came
        // from memory the first time (they come back upper-cased).
        const Lines again = WriteBack(written, second);
        EXPECT_EQ(again.size(), written.size()) << ShowLines(original);
        for (std::size_t i = 0; i < std::min(again.size(), written.size()); ++i) {
            EXPECT_TRUE(SameText(again[i], written[i])) << again[i] << " / " << written[i] << " in " << ShowLines(original);
        }
        if (HasFailure()) break;
    }
}

TEST(RoundTrip, GeneratedKeyFilesLoadTheSameAfterBeingWritten) {
    Generator gen(77);
    TKeyX keyx;
    for (int id = 0; id < 18; ++id) keyx.AddAction("action" + std::to_string(id), 100 + id, id);
    keyx.KeepUnknownId = [](int id) { return id >= 1000 && id < 2000; };
    for (int round = 0; round < 3000; ++round) {
        const Lines original = gen.KeyFile("#TEST");
        keyx.KeyXUserKey.Clear();
        ASSERT_EQ(LoadKeyLines(keyx, original, "#TEST"), KeyFileResult::Loaded);
        // The comma key is written with the full-width comma on purpose;
        // bindings without a name are not written.
        const TUserKey first = test::AsWritten(keyx.KeyXUserKey);
        const std::string text = keyx.KeyXUserKey.FileText("#TEST");
        keyx.KeyXUserKey.Clear();
        ASSERT_EQ(LoadKeyLines(keyx, SplitLines(text), "#TEST"), KeyFileResult::Loaded);
        EXPECT_EQ(keyx.KeyXUserKey.Records(), first.Records()) << ShowLines(original) << "\n" << text;
        EXPECT_EQ(keyx.KeyXUserKey.FileText("#TEST"), text);
        if (HasFailure()) break;
    }
}

TEST(RoundTrip, GeneratedColourFilesLoadTheSameAfterBeingWritten) {
    Generator gen(5);
    for (int round = 0; round < 300; ++round) {
        const Lines original = gen.ColorFile();
        ColorSlots first = DefaultColors();
        ASSERT_TRUE(ParseColorFile(JoinLinesCrLf(original), first));
        const std::string text = FormatColorFile(first);
        ColorSlots second{};
        ASSERT_TRUE(ParseColorFile(text, second));
        EXPECT_EQ(first, second) << ShowLines(original);
        EXPECT_EQ(FormatColorFile(second), text);
    }
}

}  // namespace
}  // namespace kestrum
