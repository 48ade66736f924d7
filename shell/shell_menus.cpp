// The shell window's and the line-input window's menu tables.
#include "shell/shell_menus.h"

namespace kestrum {

MenuTable MainMenuTable() {
    return {
        {"&Font", {{kKFont1, "Font変更"}, {kClose1, "Ｋｅｓｔｒｕｍを閉じる(&X)"}}},
        {"Action&1",
         {{kKls1, "ファイラーの起動  LS"},
          {kKEXIT1, "終了                               EXIT"},
          {kK2, "コマンド一覧"},
          {kK1, "説明を見る"}}},
        {"Action&2",
         {{kKTAB1, "ファイル名自動補充\t[TAB]"},
          {kK4, "１つ前の命令に戻る\t†"},
          {kK3, "１つ後の命令に戻る\t↓"},
          {kKSHIFT2, "カーソルを文字列の先頭に移動\tSHIFT +←"},
          {kKSHIFT1, "カーソルを文字列の最後に移動\tSHIFT+→"},
          {kKHOMECLR1, "文字列をクリア\t[HOMECLR]"},
          {kKGRPHSPACE1, "システムメニューを開く\tALT + SPACE"},
          {kK16, "ファイラーにフォーカス移動\tCTRL + ↑"}}},
        {"設定(&C)",
         {{kK7, "動作設定(&E)"},
          {kK17, "キーカスタマイズ"},
          {kK8, "エイリアス編集"},
          {kK9, "ＬＯＧＬＩＳＴ編集"},
          {kK10, "ＣＯＰＹＬＩＳＴ編集"},
          {kK11, "ＦＵＮＣＴＩＯＮ編集"},
          {kK18, "ユーザー定義編集"}}},
        // A leading backspace puts the entry at the right end of the menu bar.
        {"\b&Help", {{kK5, "ヘルプの呼び出し"}, {kK6, "バージョン情報"}}},
    };
}

std::vector<MenuEntry> TrayMenuEntries() {
    return {{kK12, "シェル"}, {kK13, "テキストビューワー"}, {kK14, "画像ビューワー"}, {kK15, "ファイラー"},
            {kExit1, "常駐終了"}};
}

namespace {

std::vector<MenuEntry> EditActions(int first, int last) {
    std::vector<MenuEntry> out;
    for (int n = first; n <= last; ++n) out.push_back({kEditAction0 + static_cast<unsigned>(n), EditKeyActionName(n)});
    return out;
}

}  // namespace

MenuTable EditMenuTable() {
    return {
        {"基本操作", EditActions(EditKeyAction::Complete, EditKeyAction::PickRegistered)},
        {"ユーザー定義(&U)", {}},
        {"編集", EditActions(EditKeyAction::DeleteToEnd, kEditKeyActionCount - 1)},
        {"設定'(&C)", {{kEditKeyCustomize, "キーカスタマイズ"}, {kEditUserMenuEdit, "ユーザー定義編集"}}},
    };
}

const char* CaretToStartCaption(bool homeMode) {
    return homeMode ? "カーソルを文字列の先頭に移動     HOMECLR" : "カーソルを文字列の先頭に移動     SHIFT +←";
}

const char* CaretToEndCaption(bool homeMode) {
    return homeMode ? "カーソルを文字列の最後に移動     HELP" : "カーソルを文字列の最後に移動     SHIFT +→";
}

}  // namespace kestrum
