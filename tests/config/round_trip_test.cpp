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

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

struct Loaded {
    Settings s;
    SettingsLists l;
};

Loaded Load(const Lines& lines) {
    Loaded r;
    LoadSettingsLines(lines, r.s, r.l);
    return r;
}

// Everything the program writes into the settings file, as each writer
// writes it: the settings dialog, the shell's close, the alias, directory
// list and function-key editors.
Lines WriteBack(const Lines& original, const Loaded& r) {
    TSettingsFile f = TSettingsFile::FromLines(original);
    WriteCfgDialog(f, r.s, r.l.commandTable);
    CloseState close;
    close.menuBarShown = r.s.menuBar;
    close.dirHistory = r.l.dirHistory;  // no current directory: nothing added
    close.exeHistory = r.l.exeHistory;
    WriteCloseState(f, close);
    Lines aliases;
    for (const AliasEntry& a : r.l.aliases) aliases.push_back(FormatAliasLine(a));
    f.WriteListSection("ALIAS", aliases);
    Lines logs;
    for (const std::string& e : r.l.logList) logs.push_back(TDirListEditor::SectionLine(e));
    f.WriteListSection("LOGDISKLIST", logs);
    Lines copies;
    for (const std::string& e : r.l.copyList) copies.push_back(TDirListEditor::SectionLine(e));
    f.WriteListSection("COPYDIRLIST", copies);
    Lines functions;
    for (const FunctionKey& k : r.l.functions) functions.push_back(FormatFunctionLine(k));
    f.WriteListSection("FUNCTION", functions);
    return f.Lines();
}

// The lines of the sections the program does not know, in order, blank
// lines left out (a removed section may leave its neighbour one more).
Lines UnknownSections(const Lines& lines) {
    const bool semicolon = std::find(lines.begin(), lines.end(), std::string(kCfgMarker)) != lines.end();
    Lines out;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string n = NormalizeLine(lines[i], semicolon);
        if (!LooksLikeSectionHeader(n)) {
            ++i;
            continue;
        }
        const SectionExtent e = FindSectionExtent(lines, i, semicolon);
        const std::size_t end = e.hasEnd ? e.end + 1 : e.end;
        if (!IsKnownSectionHeader(n) && n != "[CFG VER1.1]") {
            for (std::size_t k = i; k < end; ++k) {
                if (!Trim(lines[k]).empty()) out.push_back(lines[k]);
            }
        }
        i = std::max(end, i + 1);
    }
    return out;
}

// Compares two loads; "what" names the case in failures.
void ExpectSameLoad(const Loaded& a, const Loaded& b, const std::string& what) {
    EXPECT_TRUE(a.l == b.l) << what;
    for (const EnvKey& k : EnvKeys()) {
        // With the built-in viewer chosen the dialog writes the TVIEW name as
        // the viewer, which then reads back as "NOTEPAD".
        if (k.text == &Settings::viewer && a.s.viewMode) continue;
        // Text values come back upper-cased from the file.
        if (k.kind == EnvKey::Kind::Text) {
            EXPECT_TRUE(SameText(EnvValueText(a.s, k), EnvValueText(b.s, k))) << k.name << " " << what;
        } else {
            EXPECT_EQ(EnvValueText(a.s, k), EnvValueText(b.s, k)) << k.name << " " << what;
        }
    }
    EXPECT_EQ(a.s.semicolonMode, b.s.semicolonMode) << what;
    EXPECT_EQ(a.s.effectiveViewer, b.s.effectiveViewer) << what;
}

// Printable form of a generated file for failure messages.
std::string Show(const Lines& lines) {
    std::string out;
    for (const std::string& l : lines) {
        for (unsigned char c : l) {
            if (c < 0x20 || c >= 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
        out += " | ";
    }
    return out;
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
    };
    for (const Lines& original : cases) {
        const Loaded first = Load(original);
        const Loaded second = Load(WriteBack(original, first));
        ExpectSameLoad(first, second, Show(original));
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
        ExpectSameLoad(first, second, Show(original));
        // Sections the program does not know come through untouched.
        EXPECT_EQ(UnknownSections(original), UnknownSections(written)) << Show(original);
        // Writing again changes nothing but the case of values that came
        // from memory the first time (they come back upper-cased).
        const Lines again = WriteBack(written, second);
        EXPECT_EQ(again.size(), written.size()) << Show(original);
        for (std::size_t i = 0; i < std::min(again.size(), written.size()); ++i) {
            EXPECT_TRUE(SameText(again[i], written[i])) << again[i] << " / " << written[i] << " in " << Show(original);
        }
        if (HasFailure()) break;
    }
}

TEST(RoundTrip, GeneratedKeyFilesLoadTheSameAfterBeingWritten) {
    Generator gen(77);
    TKeyX keyx;
    for (int id = 0; id < 18; ++id) keyx.AddAction("action" + std::to_string(id), 100 + id, id);
    keyx.KeepUnknownId = [](int id) { return id >= 1000 && id < 2000; };
    // The comma key is written with the full-width comma on purpose.
    auto commaAsWritten = [](TUserKey map) {
        for (int i = 0; i < map.Count(); ++i) {
            KeyBinding b = map.Get(i);
            std::string name;
            for (std::size_t p = 0; p < b.name.size(); p += CharLen(b.name, p)) {
                name += CharLen(b.name, p) == 1 && b.name[p] == ',' ? std::string("，") : b.name.substr(p, CharLen(b.name, p));
            }
            b.name = name;
            map.Set(i, b);
        }
        return map;
    };
    for (int round = 0; round < 3000; ++round) {
        const Lines original = gen.KeyFile("#TEST");
        keyx.KeyXUserKey.Clear();
        ASSERT_EQ(LoadKeyLines(keyx, original, "#TEST"), KeyFileResult::Loaded);
        TUserKey first = commaAsWritten(keyx.KeyXUserKey);
        // Bindings without a name are not written.
        for (int i = first.Count(); i-- > 0;) {
            if (Trim(first.Get(i).name).empty()) first.Delete(i);
        }
        const std::string text = keyx.KeyXUserKey.FileText("#TEST");
        keyx.KeyXUserKey.Clear();
        ASSERT_EQ(LoadKeyLines(keyx, SplitLines(text), "#TEST"), KeyFileResult::Loaded);
        EXPECT_EQ(keyx.KeyXUserKey.Records(), first.Records()) << Show(original) << "\n" << text;
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
        EXPECT_EQ(first, second) << Show(original);
        EXPECT_EQ(FormatColorFile(second), text);
    }
}

}  // namespace
}  // namespace kestrum
