// The settings dialog's pages as data: controls, layout, values and writing.
#include "config/cfg_pages.h"

#include <algorithm>

#include "common/sjis.h"
#include "config/colors.h"
#include "config/settings_loader.h"

namespace kestrum {

const std::array<std::string_view, kCfgPageCount>& CfgPageNames() {
    static constexpr std::array<std::string_view, kCfgPageCount> kNames = {
        "Main",         "ファイラー",       "テキストビューワー", "画像ビューワー", "エルビュー",
        "ディレクトリ", "ファイラーの画面", "Mainの画面",         "動作設定",       "マクロ",
    };
    return kNames;
}

namespace {

CfgItem Check(int page, int column, std::string_view key, std::string_view caption, int width = 0) {
    CfgItem i;
    i.kind = CfgKind::Check;
    i.page = page;
    i.column = column;
    i.key = key;
    i.caption = caption;
    i.width = width;
    return i;
}
CfgItem Radio(int page, int column, std::string_view key, std::string_view caption,
              std::vector<std::string_view> options, std::vector<int> values = {}) {
    CfgItem i;
    i.kind = CfgKind::Radio;
    i.page = page;
    i.column = column;
    i.key = key;
    i.caption = caption;
    i.options = std::move(options);
    i.values = std::move(values);
    return i;
}
CfgItem Number(int page, int column, std::string_view key, std::string_view caption, int min, int max) {
    CfgItem i;
    i.kind = CfgKind::Number;
    i.page = page;
    i.column = column;
    i.key = key;
    i.caption = caption;
    i.min = min;
    i.max = max;
    return i;
}
CfgItem Text(int page, int column, std::string_view key, std::string_view caption, CfgPick pick = CfgPick::None) {
    CfgItem i;
    i.kind = CfgKind::Text;
    i.page = page;
    i.column = column;
    i.key = key;
    i.caption = caption;
    i.pick = pick;
    return i;
}
// An edit box to the right of the item before it (the macro texts).
CfgItem InlineText(int page, std::string_view key, int width) {
    CfgItem i = Text(page, 0, key, "");
    i.inlineItem = true;
    i.width = width;
    return i;
}
CfgItem InlineLabel(int page, std::string_view caption, int width) {
    CfgItem i;
    i.kind = CfgKind::Label;
    i.page = page;
    i.caption = caption;
    i.inlineItem = true;
    i.width = width;
    return i;
}
CfgItem Button(int page, int column, std::string_view caption, CfgAction action, int arg = 0) {
    CfgItem i;
    i.kind = CfgKind::Button;
    i.page = page;
    i.column = column;
    i.caption = caption;
    i.action = action;
    i.arg = arg;
    return i;
}
CfgItem EnabledBy(CfgItem i, std::string_view key) {
    i.enabledBy = key;
    return i;
}

const std::vector<std::string_view> kCursorShapes = {"四角", "アンダーバー", "反転", "破線四角"};

std::vector<CfgItem> MakeItems() {
    constexpr int kMacroCheckWidth = 170;
    constexpr int kMacroTextWidth = 64;
    return {
        // ファイラー
        Radio(kPageFiler, 0, "Style", "ファイル情報の表示形式", {"ファイル名のみ", "詳細"}),
        Radio(kPageFiler, 0, "Sort", "ソートの方法", {"名前順", "サイズ順", "日付順", "拡張子順"}),
        Check(kPageFiler, 0, "AutoSort", "常にソート"),
        Check(kPageFiler, 0, "RevSort", "普段と逆に"),
        Check(kPageFiler, 0, "SortDir", "ディレクトリ最優先"),
        Check(kPageFiler, 0, "SortAttr", "属性ファイル優先"),
        Radio(kPageFiler, 1, "FILERESCMODE", "コマンド入力部でのESC", {"ファイル操作部に戻る", "ファイラーを閉じる"}),
        Check(kPageFiler, 1, "FESCHIDE", "ESCで非表示に"),
        Check(kPageFiler, 1, "fmESCMode", "ＥＳＣで閉じるとき確認する"),
        Check(kPageFiler, 1, "FilerAuto", "Kestrum起動時に同時に起動"),
        Check(kPageFiler, 1, "SubDirSize", "マーク時ディレクトリのサイズも計算"),
        Check(kPageFiler, 1, "HIDDENFILE", "隠しファイルを表示する"),
        Button(kPageFiler, 1, "キーカスタマイズ", CfgAction::FilerKeys),
        Check(kPageFiler, 2, "DIRDELMODE", "ディレクトリ削除時の読み込み違反対策をする"),

        // テキストビューワー
        Check(kPageTextViewer, 0, "ViewMode", "内蔵のものを使う"),
        Text(kPageTextViewer, 0, "Viewer", "テキストビューワー", CfgPick::Program),
        Text(kPageTextViewer, 0, "Editer", "エディター", CfgPick::Program),
        Check(kPageTextViewer, 0, "EditOption", "\"\"で囲ってファイル名を渡す"),
        Check(kPageTextViewer, 0, "tvCloseReturn", "[RET]で閉じる"),
        Number(kPageTextViewer, 0, "TVSPSC", "スクロールの速さ(1-9)", 1, 9),
        Number(kPageTextViewer, 0, "TabWidth", "タブの幅(0-9)", 0, 9),
        Button(kPageTextViewer, 1, "文字の色", CfgAction::Color, kColViewerText),
        Button(kPageTextViewer, 1, "背景の色", CfgAction::Color, kColViewerBack),
        Button(kPageTextViewer, 1, "フォントの変更", CfgAction::Font, kFontTextViewer),
        Button(kPageTextViewer, 1, "キーカスタマイズ", CfgAction::ViewerKeys),

        // 画像ビューワー
        Check(kPageImageViewer, 0, "PVCLOSERETURN", "[RET]で閉じる"),
        Number(kPageImageViewer, 0, "PVMaxX", "ウインドウの最大幅", 1, 100000),
        Number(kPageImageViewer, 0, "PVMaxY", "ウインドウの最大高さ", 1, 100000),
        Button(kPageImageViewer, 0, "現在のウインドウをウインドウの最大値にする", CfgAction::ViewerSize),
        Number(kPageImageViewer, 1, "SCSP1", "カーソルキーのスクロール量", 1, 10000),
        Number(kPageImageViewer, 1, "SCSP2", "SHIFT+カーソルキーのスクロール量", 1, 10000),

        // エルビュー
        Check(kPageArchiveViewer, 0, "lvCursorLoop", "カーソルを端から端へ移動する"),
        Check(kPageArchiveViewer, 0, "BSClose", "BSで閉じる"),
        Button(kPageArchiveViewer, 1, "一覧の文字の色", CfgAction::Color, kColPickerText),
        Button(kPageArchiveViewer, 1, "一覧の背景の色", CfgAction::Color, kColPickerBack),
        Button(kPageArchiveViewer, 1, "フォントの変更", CfgAction::Font, kFontArchiveViewer),

        // ディレクトリ
        Text(kPageDirectories, 2, "HomeDir", "ホームディレクトリ", CfgPick::Directory),
        Text(kPageDirectories, 2, "WallPicturePath", "壁紙のコピー先ディレクトリ", CfgPick::Directory),
        Text(kPageDirectories, 2, "KeyCustomFile", "キー設定ファイル", CfgPick::File),
        Text(kPageDirectories, 2, "ColorCustomFile", "色設定ファイル", CfgPick::File),

        // ファイラーの画面
        Radio(kPageFilerScreen, 0, "CURSORSTYLE", "カーソルの形", kCursorShapes),
        Radio(kPageFilerScreen, 0, "CURSORSTYLE2", "非アクティブ時のカーソルの形", kCursorShapes),
        Radio(kPageFilerScreen, 0, "FILENAMESTYLE", "ファイル名の表示", {"そのまま表示", "大文字で表示", "小文字で表示"}),
        Check(kPageFilerScreen, 1, "FolderStyle", "フォルダは<>で括って表示"),
        Check(kPageFilerScreen, 1, "FGUIDE", "ファンクションキーを表示"),
        Check(kPageFilerScreen, 1, "LSMENU", "メニューバーを表示"),
        Check(kPageFilerScreen, 1, "FILEINFO1", "カレントファイルの情報を１行で表示"),
        Radio(kPageFilerScreen, 1, "FUNCTIONKAZU", "ファンクションキーの数", {"10個", "12個"}, {10, 12}),
        Number(kPageFilerScreen, 1, "FilePitch", "行間(0-4)", 0, 4),
        Button(kPageFilerScreen, 1, "色の変更", CfgAction::FilerColors),
        Button(kPageFilerScreen, 1, "ファイル一覧のフォント", CfgAction::Font, kFontFilerList),
        Button(kPageFilerScreen, 1, "ドライブ表示のフォント", CfgAction::Font, kFontFilerDrives),
        Button(kPageFilerScreen, 1, "ファンクションキーのフォント", CfgAction::Font, kFontFilerFunctions),
        Button(kPageFilerScreen, 1, "コマンド入力部のフォント", CfgAction::Font, kFontFilerCommand),

        // Mainの画面
        Check(kPageMainScreen, 2, "DirWindow", "カレントディレクトリをコマンド入力部にも表示"),
        Check(kPageMainScreen, 0, "MenuBar", "メニューバーを表示"),
        Check(kPageMainScreen, 0, "MENUHISTORY", "ヒストリーを一覧表示"),
        Check(kPageMainScreen, 0, "TASKTRAY", "タスクトレイに常駐"),
        EnabledBy(Check(kPageMainScreen, 0, "TASKSHOW", "常駐時常にタスクバーには非表示"), "TASKTRAY"),
        Check(kPageMainScreen, 0, "HOTKEYFLAG", "ホットキーを利用する"),
        [] {
            CfgItem h;
            h.kind = CfgKind::HotKey;
            h.page = kPageMainScreen;
            h.key = "HOTTEXT";
            h.caption = "ホットキー";
            return EnabledBy(h, "HOTKEYFLAG");
        }(),
        Button(kPageMainScreen, 1, "フォームの色", CfgAction::Color, kColShellForm),
        Button(kPageMainScreen, 1, "ディレクトリ表示の背景色", CfgAction::Color, kColShellDirBack),
        Button(kPageMainScreen, 1, "ディレクトリ表示の文字色", CfgAction::Color, kColShellDirText),
        Button(kPageMainScreen, 1, "コマンド入力部の背景色", CfgAction::Color, kColShellEditBack),
        Button(kPageMainScreen, 1, "コマンド入力部の文字色", CfgAction::Color, kColShellEditText),
        Button(kPageMainScreen, 1, "ステータス行の背景色", CfgAction::Color, kColShellLabelBack),
        Button(kPageMainScreen, 1, "ステータス行の文字色", CfgAction::Color, kColShellLabelText),
        Button(kPageMainScreen, 1, "フォントの変更", CfgAction::Font, kFontShell),

        // 動作設定 (the semicolon option is the window's own check box, first on the page)
        Check(kPageBehaviour, 0, "FLAGDCD", "カレントディレクトリをエミュレート"),
        Check(kPageBehaviour, 0, "RetTree", "ファイル名入力時空白で[RET]で参照"),
        Check(kPageBehaviour, 0, "HAITAHYOJI", "ファイラーとの排他表示"),
        Check(kPageBehaviour, 0, "MainClose", "ファイラーを閉じたときに同時に閉じる"),
        Check(kPageBehaviour, 0, "HIDEFLAG", "アプリを起動後非表示に"),
        Check(kPageBehaviour, 1, "CursorMode", "カーソルキーの上下でページ移動する"),
        Check(kPageBehaviour, 1, "CursorKeyMode", "カーソルキーの左右でページ移動する"),
        Check(kPageBehaviour, 1, "CursorKeyMode2", "左右でページ移動時上下位置を保存する"),
        Check(kPageBehaviour, 1, "CursorLoop", "カーソルを端から端へ移動する"),

        // マクロ
        Check(kPageMacros, 0, "MACROFLAG", "以下のマクロを利用する"),
        Check(kPageMacros, 0, "EDMCF", "カーソル位置のファイル", kMacroCheckWidth),
        InlineText(kPageMacros, "FMC", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMMF", "月", kMacroCheckWidth),
        InlineText(kPageMacros, "FMM", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMDF", "日", kMacroCheckWidth),
        InlineText(kPageMacros, "FMD", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMSF", "特別マクロ", kMacroCheckWidth),
        InlineText(kPageMacros, "FMS", kMacroTextWidth),
        InlineText(kPageMacros, "FMS2", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMPF", "カレントディレクトリ", kMacroCheckWidth),
        InlineLabel(kPageMacros, "/$P", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMXF", "拡張子を除くファイル名", kMacroCheckWidth),
        InlineLabel(kPageMacros, "/$X", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMEF", "拡張子", kMacroCheckWidth),
        InlineLabel(kPageMacros, "/$E", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMNF", "なし", kMacroCheckWidth),
        InlineLabel(kPageMacros, "/$N", kMacroTextWidth),
        Check(kPageMacros, 0, "EDMSNF", "ショートファイル名", kMacroCheckWidth),
        InlineLabel(kPageMacros, "/$S", kMacroTextWidth),
        Text(kPageMacros, 2, "BACKUPNAME", "ファイルの複製時のディフォルトの名前を指定する"),
    };
}

}  // namespace

const std::vector<CfgItem>& CfgItems() {
    static const std::vector<CfgItem> kItems = MakeItems();
    return kItems;
}

const CfgItem* FindCfgItem(std::string_view key) {
    for (const CfgItem& i : CfgItems()) {
        if (!i.key.empty() && SameText(i.key, key)) return &i;
    }
    return nullptr;
}

const std::array<CfgCommandRow, kCfgCommandRows>& CfgCommandRows() {
    static constexpr std::array<CfgCommandRow, kCfgCommandRows> kRows = {{
        {"ディレクトリ移動", 0},
        {"ファイラー起動", 1},
        {"Ｋｅｓｔｒｕｍ終了", 2},
        {"ファイルのコピー", 9},
        {"ファイルのバックアップ", 10},
        {"ファイルの移動", 11},
        {"ファイルの削除", 12},
        {"ファイル名変更", 13},
        {"ISH32.DLLを呼び出す", 14},
        {"UNLHA32.DLLを呼を出す", 15},
        {"TAR32.DLLを呼び出す", 16},
        {"CFG再読み込み", 20},
        {"一時的な関連付けを設定", 21},
        {"一時的な関連付けを取消", 22},
        {"エイリアス登録", 23},
        {"エイリアス登録の削除", 24},
        {"ファイルの削除", 25},
        {"マークファイルのリネーム", 26},
        {"ディレクトリ作成", 27},
        {"メニューバーのON/OFF", 30},
        {"バージョン表示", 31},
        {"ソフトの終了を待つ", 38},
    }};
    return kRows;
}

const std::vector<const EnvKey*>& CfgWrittenKeys() {
    static const std::vector<const EnvKey*> kKeys = [] {
        std::vector<const EnvKey*> keys;
        for (const EnvKey& k : EnvKeys()) {
            // Kept only in the file: the caret keys and the completion key.
            if (k.number == &Settings::homeShiftMode || k.number == &Settings::autoName) continue;
            keys.push_back(&k);
        }
        return keys;
    }();
    return kKeys;
}

// ---- layout ----------------------------------------------------------------

namespace {

constexpr int kGap = 8;
constexpr int kSpacing = 4;

int ItemHeight(const CfgItem& i) {
    switch (i.kind) {
    case CfgKind::Check: return kCfgRowHeight;
    case CfgKind::Radio: return 20 + 18 * static_cast<int>(i.options.size()) + 6;
    case CfgKind::Number: return 24;
    case CfgKind::Text: return i.inlineItem ? 22 : 18 + 24;
    case CfgKind::HotKey: return 24;
    case CfgKind::Label: return kCfgRowHeight;
    case CfgKind::Button: return 26;
    }
    return kCfgRowHeight;
}

}  // namespace

std::vector<CfgPlaced> LayoutCfgPage(int page, int width, int height) {
    (void)height;
    const int colWidth = (width - 3 * kGap) / 2;
    const int colX[2] = {kGap, 2 * kGap + colWidth};
    int y[2] = {kGap, kGap};
    // The behaviour page starts with the window's own semicolon box.
    if (page == kPageBehaviour) y[0] += kCfgRowHeight + kSpacing;
    std::vector<CfgPlaced> out;
    const std::vector<CfgItem>& items = CfgItems();
    for (std::size_t n = 0; n < items.size(); ++n) {
        const CfgItem& i = items[n];
        if (i.page != page) continue;
        CfgRect r;
        r.h = ItemHeight(i);
        if (i.inlineItem && !out.empty()) {
            const CfgRect& prev = out.back().rect;
            r.x = prev.x + prev.w + kSpacing;
            r.y = prev.y;
            r.w = i.width;
            r.h = std::min(r.h, prev.h + 2);
        } else if (i.column == 2) {
            r.x = kGap;
            r.y = std::max(y[0], y[1]);
            r.w = width - 2 * kGap;
            y[0] = y[1] = r.y + r.h + kSpacing;
        } else {
            const int c = i.column == 1 ? 1 : 0;
            r.x = colX[c];
            r.y = y[c];
            r.w = i.width > 0 ? i.width : colWidth;
            y[c] += r.h + kSpacing;
        }
        out.push_back({n, r});
    }
    return out;
}

CfgCommandLayout LayoutCfgCommands(int width, int height) {
    (void)height;
    constexpr int kRowPitch = 24;
    constexpr int kPerColumn = kCfgCommandRows / 2;
    CfgCommandLayout l;
    l.group = CfgRect{kGap, kGap, width - 2 * kGap, 22 + kPerColumn * kRowPitch + 6};
    const int half = (l.group.w - 3 * 10) / 2;
    const int labelWidth = half - 96;
    for (int r = 0; r < kCfgCommandRows; ++r) {
        const int col = r < kPerColumn ? 0 : 1;
        const int x = l.group.x + 10 + col * (half + 10);
        const int y = l.group.y + 22 + (r % kPerColumn) * kRowPitch;
        l.labels[static_cast<std::size_t>(r)] = CfgRect{x, y + 3, labelWidth, 18};
        l.edits[static_cast<std::size_t>(r)] = CfgRect{x + labelWidth + 4, y, 92, 22};
    }
    return l;
}

// ---- values ----------------------------------------------------------------

CfgValues CfgFill(const Settings& s) {
    CfgValues v;
    for (const CfgItem& i : CfgItems()) {
        if (i.key.empty()) continue;
        if (const EnvKey* k = FindEnvKey(i.key)) v[std::string(i.key)] = EnvValueText(s, *k);
    }
    return v;
}

namespace {

std::optional<std::string> Refuse(const CfgItem& i, std::string_view value) {
    switch (i.kind) {
    case CfgKind::Number: {
        const std::optional<int> n = ParseInt(value);
        if (n && *n >= i.min && *n <= i.max) return std::nullopt;
        return "「" + std::string(i.caption) + "」には" + std::to_string(i.min) + "から" + std::to_string(i.max) +
               "までの数値を入力してください";
    }
    case CfgKind::Radio: {
        const std::optional<int> n = ParseInt(value);
        const bool ok = n && (i.values.empty() ? *n >= 0 && *n < static_cast<int>(i.options.size())
                                               : std::find(i.values.begin(), i.values.end(), *n) != i.values.end());
        if (ok) return std::nullopt;
        return "「" + std::string(i.caption) + "」を選んでください";
    }
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> CfgValidate(const CfgValues& v) {
    for (const CfgItem& i : CfgItems()) {
        if (i.key.empty()) continue;
        const auto it = v.find(i.key);
        if (it == v.end()) continue;
        if (auto why = Refuse(i, it->second)) return why;
    }
    // The hot key needs a key when it is used, and never a key it cannot register.
    const auto hot = v.find("HOTTEXT");
    if (hot != v.end()) {
        const auto flag = v.find("HOTKEYFLAG");
        const bool used = flag != v.end() && flag->second == "1";
        const HotKeyText h = ParseHotText(hot->second);
        if ((used || !h.key.empty()) && !IsHotKeyName(h.key)) {
            return std::string("ホットキーのキーには英数字１文字かF1からF24を指定してください");
        }
    }
    return std::nullopt;
}

void CfgStore(const CfgValues& v, Settings& s) {
    for (const CfgItem& i : CfgItems()) {
        if (i.key.empty()) continue;
        const auto it = v.find(i.key);
        if (it == v.end()) continue;
        const EnvKey* k = FindEnvKey(i.key);
        if (!k) continue;
        switch (k->kind) {
        case EnvKey::Kind::Text: s.*k->text = Trim(it->second); break;
        case EnvKey::Kind::Bool: s.*k->flag = it->second == "1"; break;
        case EnvKey::Kind::Int:
            if (const std::optional<int> n = ParseInt(it->second)) s.*k->number = *n;
            break;
        }
    }
}

std::optional<std::string> ValidateCommandNames(const std::vector<std::string>& table) {
    auto label = [](std::size_t n) -> std::string {
        for (const CfgCommandRow& r : CfgCommandRows()) {
            if (static_cast<std::size_t>(r.command) == n) return std::string(r.label);
        }
        return n < DefaultCommandNames().size() ? std::string(DefaultCommandNames()[n]) : std::string();
    };
    for (std::size_t n = 0; n < table.size(); ++n) {
        const std::string name = Trim(table[n]);
        if (name.empty()) return "「" + label(n) + "」のコマンド名が入力されていません";
        if (FindAnyChar(name, " \t;") != std::string::npos) {
            return "コマンド名" + name + "には空白や；を使えません";
        }
        for (std::size_t m = 0; m < n; ++m) {
            if (SameText(Trim(table[m]), name)) return "コマンド名" + name + "が重複しています";
        }
    }
    return std::nullopt;
}

HotKeyText ParseHotText(std::string_view text) {
    HotKeyText h;
    std::string rest = Trim(text);
    for (;;) {
        const std::size_t plus = FindChar(rest, '+');
        // A "+" at the very end is the key itself.
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        const std::string mod = UpperAscii(Trim(rest.substr(0, plus)));
        if (mod == "SHIFT") {
            h.shift = true;
        } else if (mod == "CTRL") {
            h.ctrl = true;
        } else if (mod == "ALT") {
            h.alt = true;
        } else {
            break;
        }
        rest = rest.substr(plus + 1);
    }
    h.key = UpperAscii(Trim(rest));
    return h;
}

std::string FormatHotText(const HotKeyText& h) {
    if (h.key.empty()) return std::string();
    std::string t;
    if (h.shift) t += "SHIFT+";
    if (h.ctrl) t += "CTRL+";
    if (h.alt) t += "ALT+";
    return t + UpperAscii(h.key);
}

bool IsHotKeyName(std::string_view key) {
    if (key.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(key[0]);
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }
    if (key.size() < 2 || (key[0] != 'F' && key[0] != 'f') || key[1] == '0') return false;
    const std::optional<int> n = ParseInt(key.substr(1));
    return n && *n >= 1 && *n <= 24 && FindAnyChar(key.substr(1), "+- ") == std::string::npos;
}

// ---- writing ---------------------------------------------------------------

std::string CfgWrittenValue(const Settings& s, const EnvKey& key, std::string_view tviewName) {
    if (key.text == &Settings::viewer && s.viewMode) return std::string(tviewName);
    return EnvValueText(s, key);
}

void WriteCfgDialog(TSettingsFile& f, const Settings& s, const std::vector<std::string>& commandTable) {
    f.WriteListSection("内部コマンド", commandTable);
    const std::string tview = commandTable.size() > 4 ? commandTable[4] : std::string(DefaultCommandNames()[4]);
    for (const EnvKey* k : CfgWrittenKeys()) {
        f.WriteLine("[環境変数]", k->name, std::string(k->name) + ", " + CfgWrittenValue(s, *k, tview));
    }
}

}  // namespace kestrum
