// The settings dialog's pages as data: every key has its control, the pages
// fit, values are checked and stored, and OK writes exactly its lines.
#include "config/cfg_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/sjis.h"
#include "config/settings_loader.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

bool KindFits(CfgKind kind, EnvKey::Kind key) {
    switch (kind) {
    case CfgKind::Check: return key == EnvKey::Kind::Bool;
    case CfgKind::Radio:
    case CfgKind::Number: return key == EnvKey::Kind::Int;
    case CfgKind::Text:
    case CfgKind::HotKey: return key == EnvKey::Kind::Text;
    default: return false;
    }
}

TEST(CfgPagesTest, EveryWrittenKeyHasOneControlOfItsKind) {
    std::set<std::string> seen;
    for (const CfgItem& i : CfgItems()) {
        if (i.key.empty()) continue;
        const EnvKey* k = FindEnvKey(i.key);
        ASSERT_NE(k, nullptr) << i.key;
        EXPECT_EQ(k->name, i.key) << "spelled as the table spells it";
        EXPECT_TRUE(KindFits(i.kind, k->kind)) << i.key;
        EXPECT_TRUE(seen.insert(UpperAscii(i.key)).second) << i.key << " has two controls";
        EXPECT_TRUE(i.inlineItem || !i.caption.empty()) << i.key;
        EXPECT_GE(i.page, 1);
        EXPECT_LT(i.page, kCfgPageCount);
    }
    for (const EnvKey* k : CfgWrittenKeys()) {
        // CUTCOMMENT is carried by the semicolon option, not by a control.
        if (k->flag == &Settings::cutComment) continue;
        EXPECT_EQ(seen.count(UpperAscii(k->name)), 1u) << k->name << " has no control";
    }
    EXPECT_EQ(CfgWrittenKeys().size(), EnvKeys().size() - 2);  // HOMESHIFTMODE and AUTONAME stay file-only
    EXPECT_EQ(FindCfgItem("HOMESHIFTMODE"), nullptr);
    EXPECT_EQ(FindCfgItem("AUTONAME"), nullptr);
}

TEST(CfgPagesTest, ItemsEnabledByAnotherNameACheckBoxOfTheSamePage) {
    for (const CfgItem& i : CfgItems()) {
        if (i.enabledBy.empty()) continue;
        const CfgItem* by = FindCfgItem(i.enabledBy);
        ASSERT_NE(by, nullptr) << i.key;
        EXPECT_EQ(by->kind, CfgKind::Check);
        EXPECT_EQ(by->page, i.page);
    }
}

bool Inside(const CfgRect& r, int w, int h) { return r.x >= 0 && r.y >= 0 && r.x + r.w <= w && r.y + r.h <= h; }
bool Overlap(const CfgRect& a, const CfgRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

TEST(CfgPagesTest, EveryPageFitsWithoutOverlaps) {
    for (int page = 1; page < kCfgPageCount; ++page) {
        const std::vector<CfgPlaced> placed = LayoutCfgPage(page);
        EXPECT_FALSE(placed.empty()) << CfgPageNames()[static_cast<std::size_t>(page)];
        // The behaviour page keeps its first row for the semicolon box.
        if (page == kPageBehaviour) {
            for (const CfgPlaced& p : placed) EXPECT_FALSE(Overlap(p.rect, CfgRect{8, 8, 268, kCfgRowHeight}));
        }
        for (std::size_t a = 0; a < placed.size(); ++a) {
            const CfgItem& item = CfgItems()[placed[a].item];
            EXPECT_EQ(item.page, page);
            EXPECT_TRUE(Inside(placed[a].rect, kCfgPageWidth, kCfgPageHeight))
                << CfgPageNames()[static_cast<std::size_t>(page)] << ": " << item.caption << item.key;
            for (std::size_t b = a + 1; b < placed.size(); ++b) {
                EXPECT_FALSE(Overlap(placed[a].rect, placed[b].rect))
                    << item.caption << item.key << " / " << CfgItems()[placed[b].item].caption
                    << CfgItems()[placed[b].item].key;
            }
        }
    }
    EXPECT_TRUE(LayoutCfgPage(kPageMain).empty());
}

TEST(CfgPagesTest, CommandRowsFillTwoColumnsInsideTheGroup) {
    const CfgCommandLayout l = LayoutCfgCommands();
    EXPECT_TRUE(Inside(l.group, kCfgPageWidth, kCfgPageHeight));
    for (int r = 0; r < kCfgCommandRows; ++r) {
        const CfgRect& label = l.labels[static_cast<std::size_t>(r)];
        const CfgRect& edit = l.edits[static_cast<std::size_t>(r)];
        EXPECT_TRUE(Inside(edit, l.group.x + l.group.w, l.group.y + l.group.h)) << r;
        EXPECT_FALSE(Overlap(label, edit)) << r;
        // Left column rows 0-10, right column 11-21, in order.
        EXPECT_EQ(label.x < l.group.x + l.group.w / 2, r < 11) << r;
        if (r % 11 != 0) {
            EXPECT_GT(label.y, l.labels[static_cast<std::size_t>(r - 1)].y);
        }
    }
    EXPECT_EQ(DefaultCommandNames()[static_cast<std::size_t>(CfgCommandRows()[21].command)], "WAIT");
    EXPECT_EQ(DefaultCommandNames()[static_cast<std::size_t>(CfgCommandRows()[11].command)], "CFGLOAD");
}

TEST(CfgPagesTest, FilledValuesStoreBackUnchanged) {
    Settings s;
    s.viewer = "C:\\TOOLS\\VIEW.EXE";
    s.sort = 3;
    s.functionKazu = 12;
    s.hotText = "CTRL+ALT+K";
    s.cursorLoop = false;
    const CfgValues v = CfgFill(s);
    EXPECT_EQ(v.at("Sort"), "3");
    EXPECT_EQ(v.at("FUNCTIONKAZU"), "12");
    EXPECT_EQ(v.at("CursorLoop"), "0");
    EXPECT_EQ(CfgValidate(v), std::nullopt);
    Settings back;
    CfgStore(v, back);
    EXPECT_EQ(back.viewer, s.viewer);
    EXPECT_EQ(back.sort, 3);
    EXPECT_EQ(back.functionKazu, 12);
    EXPECT_EQ(back.hotText, "CTRL+ALT+K");
    EXPECT_FALSE(back.cursorLoop);
}

TEST(CfgPagesTest, TypedValuesOutsideTheirRangeAreRefused) {
    const CfgValues good = CfgFill(Settings{});
    struct Case {
        const char* key;
        const char* value;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"TabWidth", "9", ""},
        {"TabWidth", "10", "「タブの幅(0-9)」には0から9までの数値を入力してください"},
        {"TabWidth", "", "「タブの幅(0-9)」には0から9までの数値を入力してください"},
        {"TVSPSC", "0", "「スクロールの速さ(1-9)」には1から9までの数値を入力してください"},
        {"FilePitch", "4", ""},
        {"FilePitch", "-1", "「行間(0-4)」には0から4までの数値を入力してください"},
        {"SCSP1", "12a", "「カーソルキーのスクロール量」には1から10000までの数値を入力してください"},
        {"PVMaxX", " 1024 ", ""},
        {"FUNCTIONKAZU", "11", "「ファンクションキーの数」を選んでください"},
        {"HOTTEXT", "CTRL+ALT+KK", "ホットキーのキーには英数字１文字かF1からF24を指定してください"},
        {"HOTTEXT", "CTRL+表", "ホットキーのキーには英数字１文字かF1からF24を指定してください"},
        {"HOTTEXT", "ALT+F12", ""},
        {"HOTTEXT", "", ""},
    };
    for (const Case& c : cases) {
        CfgValues v = good;
        v[c.key] = c.value;
        const std::optional<std::string> why = CfgValidate(v);
        EXPECT_EQ(why.value_or(""), c.message) << c.key << "=" << c.value;
    }
    // A hot key that is used needs its key.
    CfgValues v = good;
    v["HOTKEYFLAG"] = "1";
    v["HOTTEXT"] = "CTRL+ALT+";
    EXPECT_TRUE(CfgValidate(v).has_value());
}

TEST(CfgPagesTest, CommandNamesMustBeFilledSingleWordsAndDistinct) {
    std::vector<std::string> t(DefaultCommandNames().begin(), DefaultCommandNames().end());
    EXPECT_EQ(ValidateCommandNames(t), std::nullopt);
    t[0] = "CHDIR";
    EXPECT_EQ(ValidateCommandNames(t), std::nullopt);
    t[0] = "  ";
    EXPECT_EQ(ValidateCommandNames(t).value_or(""), "「ディレクトリ移動」のコマンド名が入力されていません");
    t[0] = "CH DIR";
    EXPECT_EQ(ValidateCommandNames(t).value_or(""), "コマンド名CH DIRには空白や；を使えません");
    t[0] = "cd;ls";
    EXPECT_TRUE(ValidateCommandNames(t).has_value());
    t[0] = "CD";
    t[38] = "cd";  // WAIT renamed onto CD
    EXPECT_EQ(ValidateCommandNames(t).value_or(""), "コマンド名cdが重複しています");
}

TEST(CfgPagesTest, HotKeyTextRoundTrip) {
    const HotKeyText h = ParseHotText("ctrl+alt+k");
    EXPECT_TRUE(h.ctrl && h.alt && !h.shift);
    EXPECT_EQ(h.key, "K");
    EXPECT_EQ(FormatHotText(h), "CTRL+ALT+K");
    EXPECT_EQ(ParseHotText("SHIFT++").key, "+");
    EXPECT_EQ(ParseHotText("F5").key, "F5");
    EXPECT_EQ(FormatHotText(HotKeyText{true, false, false, ""}), "");
    EXPECT_EQ(FormatHotText(HotKeyText{true, true, true, "f3"}), "SHIFT+CTRL+ALT+F3");
    EXPECT_TRUE(IsHotKeyName("7"));
    EXPECT_TRUE(IsHotKeyName("F24"));
    EXPECT_FALSE(IsHotKeyName("F25"));
    EXPECT_FALSE(IsHotKeyName("F0"));
    EXPECT_FALSE(IsHotKeyName("F+1"));
    EXPECT_FALSE(IsHotKeyName("+"));
    EXPECT_FALSE(IsHotKeyName(""));
}

// The [環境変数] lines of a file, as written.
Lines EnvLines(const Lines& file) {
    Lines out;
    bool in = false;
    for (const std::string& l : file) {
        if (l == "[環境変数]") {
            in = true;
        } else if (in && l == "[END]") {
            in = false;
        } else if (in) {
            out.push_back(l);
        }
    }
    return out;
}

TEST(CfgPagesTest, WriteReplacesKeysInPlaceAndKeepsEverythingElse) {
    TSettingsFile f = TSettingsFile::FromLines({"; mine", "[環境変数]", "sort, 1 ; by size", "UNKNOWN, 7",
                                                "HOMESHIFTMODE, 0", "[END]", "[ALIAS]", "a,b", "[END]",
                                                "[内部コマンド]", "", "FILER", "[END]"});
    Settings s;
    s.sort = 2;
    std::vector<std::string> table(DefaultCommandNames().begin(), DefaultCommandNames().end());
    table[0] = "CHDIR";
    WriteCfgDialog(f, s, table);
    const Lines& lines = f.Lines();
    EXPECT_EQ(lines[0], "; mine");
    EXPECT_EQ(lines[1], "[環境変数]");
    EXPECT_EQ(lines[2], "Sort, 2");
    EXPECT_EQ(lines[3], "UNKNOWN, 7");
    EXPECT_EQ(lines[4], "HOMESHIFTMODE, 0");
    const Lines env = EnvLines(lines);
    ASSERT_EQ(env.size(), CfgWrittenKeys().size() + 2);
    // Every written key once as "Key, value"; new ones in the table's order before [END].
    for (const EnvKey* k : CfgWrittenKeys()) {
        const auto hit = std::count_if(env.begin(), env.end(), [&](const std::string& l) {
            return l.rfind(std::string(k->name) + ", ", 0) == 0;
        });
        EXPECT_EQ(hit, 1) << k->name;
    }
    EXPECT_EQ(env[3], "Viewer, ");
    EXPECT_EQ(env[4], "Editer, ");
    EXPECT_EQ(env.back(), "fmESCMode, 0");
    const auto alias = std::find(lines.begin(), lines.end(), "[ALIAS]");
    ASSERT_NE(alias, lines.end());
    EXPECT_EQ(*(alias + 1), "a,b");
    const auto cmds = std::find(lines.begin(), lines.end(), "[内部コマンド]");
    ASSERT_NE(cmds, lines.end());
    EXPECT_EQ(*(cmds + 1), "CHDIR");
    EXPECT_EQ(*(cmds + 2), "LS");
    EXPECT_EQ(*(cmds + kCommandCount), "SHEXE");
    EXPECT_EQ(*(cmds + kCommandCount + 1), "[END]");
}

TEST(CfgPagesTest, WrittenSettingsReadBackTheSame) {
    Settings s;
    s.editer = "C:\\Tools\\Ed.exe";
    s.viewMode = true;
    s.viewer = "C:\\Tools\\View.exe";
    s.style = 1;
    s.sort = 3;
    s.autoSort = true;
    s.sortDir = false;
    s.pvMaxX = 1024;
    s.functionKazu = 12;
    s.tvspsc = 7;
    s.cursorStyle2 = 0;
    s.fmc = "/$F";
    s.hotText = "CTRL+ALT+K";
    s.hotKeyFlag = true;
    s.cutComment = true;
    s.filePitch = 0;
    s.menuBar = false;
    std::vector<std::string> table(DefaultCommandNames().begin(), DefaultCommandNames().end());
    table[4] = "TV";
    TSettingsFile f = TSettingsFile::FromLines({});
    WriteCfgDialog(f, s, table);
    EXPECT_NE(std::find(f.Lines().begin(), f.Lines().end(), "Viewer, TV"), f.Lines().end());

    Settings r;
    SettingsLists lists;
    LoadSettingsLines(f.Lines(), r, lists);
    EXPECT_EQ(lists.commandTable[4], "TV");
    EXPECT_EQ(r.editer, "C:\\TOOLS\\ED.EXE");  // values come back upper-case
    EXPECT_TRUE(r.viewMode);
    EXPECT_EQ(r.effectiveViewer, "TV");
    for (const EnvKey* k : CfgWrittenKeys()) {
        if (k->kind == EnvKey::Kind::Text) continue;
        EXPECT_EQ(EnvValueText(r, *k), EnvValueText(s, *k)) << k->name;
    }
    EXPECT_EQ(r.fmc, "/$F");
    EXPECT_EQ(r.hotText, "CTRL+ALT+K");
}

}  // namespace
}  // namespace kestrum
