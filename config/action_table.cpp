// The filer's action table and the drive-change action names.
#include "config/action_table.h"

#include <array>

namespace kestrum {

namespace {

// The order is the table's; codes are not in order.
constexpr std::array<FilerAction, kFilerActionCount> kActions = {{
    {0, "[ファイルのコピー]コピー先を入力", "KC1"},  // 0
    {1, "[ファイルの削除]ごみ箱へ", "KD"},  // 1
    {2, "[ファイルの移動]移動先を入力", "KM1"},  // 2
    {3, "[ファイル]名前の変更", "KR1"},  // 3
    {4, "[ファイル]解凍", "KU1"},  // 4
    {5, "[ファイル]圧縮", "KP1"},  // 5
    {6, "[表示ディレクトリの変更]変更先を入力", "KandL1"},  // 6
    {7, "ディレクトリ作成", "KK1"},  // 7
    {8, "アプリケーションの実行", "KX1"},  // 8
    {9, "[ファイル]閲覧", "KView1"},  // 9
    {10, "[ファイル]編集", "KEdit1"},  // 10
    {56, "[ファイル]属性の変更", "KAttribute1"},  // 11
    {78, "ソート結果書き込み", "K49"},  // 12
    {51, "エイリアス登録", "K2"},  // 13
    {11, "ビューワーを閉じる", "KpviewtviewQ1"},  // 14
    {12, "[表示するファイルの指定]入力する", "KFind1"},  // 15
    {13, "ファイルのソート", "KS1"},  // 16
    {14, "[ファイル]複製", "KBackup1"},  // 17
    {59, "[ファイル]日付の変更", "K39"},  // 18
    {60, "[DRAG AND DROP]普通にDRAG AND DROP", "KDragDrop1"},  // 19
    {61, "[DRAG AND DROP]フォーカスを移動", "KDragDrop2"},  // 20
    {63, "シェル部に移動", "TOSH2"},  // 21
    {62, "シェル部に移動(ファイル名込)", "toSH1"},  // 22
    {65, "結合(Binary)", "K50"},  // 23
    {15, "ファイル名のみ表示", "K51"},  // 24
    {16, "ファイル名＋サイズ＋日付表示", "K21"},  // 25
    {17, "コマンドシェルに移動", "KsHell1"},  // 26
    {18, "親ディレクトリに変更", "KBS1"},  // 27
    {19, "次のページを表示", "KROLLUP1"},  // 28
    {20, "前のページを表示", "KROLLDOWN1"},  // 29
    {21, "カーソル位置のファイルをマーク", "KSpace1"},  // 30
    {22, "全てのファイルをマーク", "KHOMECLR1"},  // 31
    {23, "[関連付け実行]第一候補", "KRETURN1"},  // 32
    {57, "先頭のファイルに移動", "K34"},  // 33
    {58, "最後のファイルに移動", "K33"},  // 34
    {66, "[全マーク反転]ファイルのみ", "K53"},  // 35
    {67, "[全マーク反転]フォルダ含む", "K54"},  // 36
    {68, "ポップアップメニューを表示", "K55"},  // 37
    {69, "コンテキストメニューを表示", "K56"},  // 38
    {79, "プロパティを表示", "K10"},  // 39
    {70, "[カーソル以降マーク]ファイルのみ", "K57"},  // 40
    {71, "[カーソル以降マーク]フォルダ含む", "K58"},  // 41
    {25, "[表示ディレクトリの変更]登録リストから選択", "KSHIFTLogdisk1"},  // 42
    {26, "[ファイルのコピー]COPYLISTから選択", "KCOPYLIST4"},  // 43
    {27, "[ファイルの移動]COPYLISTから選択", "KCOPYLISTSHIFTM1"},  // 44
    {28, "[表示するファイルの指定]登録リストから選択", "KSHIFTF1"},  // 45
    {29, "[ファイルの削除]抹殺", "K8"},  // 46
    {30, "[関連付け実行]第２候補", "KSHIFTRETURN1"},  // 47
    {55, "[関連付け実行]一覧", "KCTRLRETURN1"},  // 48
    {31, "アプリケーションの実行(空ウインドウ)", "KSHIFTX1"},  // 49
    {64, "[エイリアス登録]空ウインドウ", "K41"},  // 50
    {32, "フォーマット", "Format1"},  // 51
    {33, "[ショートカット]デスクトップ", "K20"},  // 52
    {34, "[ショートカット]スタートアップ ", "K22"},  // 53
    {35, "[ショートカット]プログラム", "K23"},  // 54
    {36, "[ショートカット]スタートメニュー", "K31"},  // 55
    {37, "[ショートカット]現在のディレクトリ", "K24"},  // 56
    {38, "[ショートカット]指定する", "K30"},  // 57
    {39, "[ショートカット]COPYLISTから選択", "KCOPYLIST2"},  // 58
    {40, "[クリップボード]ファイル名", "FileClipbd"},  // 59
    {41, "[クリップボード]ファイル名＋ファイルサイズ＋日付", "FullFileClipbd"},  // 60
    {42, "[クリップボード]フルファイル名", "K13"},  // 61
    {43, "[クリップボード]フルファイル名＋ファイルサイズ＋日付", "K14"},  // 62
    {44, "[クリップボード]カレントディレクトリ名をクリップボードにコピー", "DirClipbBD"},  // 63
    {72, "ネットワークドライブの割り当て", "K60"},  // 64
    {73, "ネットワークドライブの切断", "K61"},  // 65
    {45, "動作設定(&E)", "KE3"},  // 66
    {46, "[関連付け]新規", "K32"},  // 67
    {47, "[関連付け]編集", "Edit1"},  // 68
    {48, "&L現在のディレクトリをLOGLISTに登録", "K1"},  // 69
    {49, "&C現在のディレクトリをCOPYLISTに登録", "KCOPYLIST1"},  // 70
    {50, " 現在のディレクトリをホームディレクトリに", "K4"},  // 71
    {52, "   コンフィグ編集", "AddCurrentDir1"},  // 72
    {53, "&Rコンフィグ再読込", "K3"},  // 73
    {80, "ユーザー定義編集", "K62"},  // 74
    {81, "エイリアス編集", "aa1"},  // 75
    {82, "LOGLIST編集", "KLOGLIST1"},  // 76
    {83, "COPYLIST編集", "KCOPYLIST5"},  // 77
    {84, "FUNCTION編集", "KFUNCTION1"},  // 78
    {85, "関連付け編集", "K74"},  // 79
    {54, "ＫＥＳＴＲＵＭ実行時にファイラーも起動する", "LSAuto"},  // 80
    {74, "カーソルを下に移動", "K63"},  // 81
    {75, "カーソルを上に移動", "K64"},  // 82
    {76, "カーソルを右に移動", "K65"},  // 83
    {77, "カーソルを左に移動", "K66"},  // 84
    {24, "ファイラーを閉じる", "KESC1"},  // 85
}};

}  // namespace

std::span<const FilerAction> FilerActions() { return kActions; }

int FilerActionIndex(int code) {
    for (std::size_t i = 0; i < kActions.size(); ++i) {
        if (kActions[i].code == code) return static_cast<int>(i);
    }
    return -1;
}

const FilerAction* FindFilerAction(int code) {
    const int i = FilerActionIndex(code);
    return i < 0 ? nullptr : &kActions[static_cast<std::size_t>(i)];
}

namespace {
// Action code -> tag and character of the letter items.
struct CodeRoute {
    int code;
    LetterRoute route;
};
constexpr CodeRoute kLetterRoutes[] = {
    {0, {0, 'C', false}},   {1, {1, 'D', false}},   {2, {2, 'M', false}},   {3, {3, 'R', false}},
    {4, {4, 'U', false}},   {5, {5, 'P', false}},   {6, {6, 'L', false}},   {7, {7, 'K', false}},
    {8, {8, 'X', false}},   {9, {9, 'V', false}},   {10, {10, 'E', false}}, {11, {11, 'Q', false}},
    {12, {12, 'F', false}}, {13, {13, 'S', false}}, {14, {14, 'B', false}}, {15, {15, '5', false}},
    {16, {16, '2', false}}, {25, {17, 'L', true}},  {28, {18, 'F', true}},  {29, {19, 'D', true}},
    {30, {20, 0, true}},    {31, {21, 'X', true}},  {26, {22, 'C', true}},  {27, {23, 'M', true}},
};
// Action code -> built-in key of the navigation items.
constexpr int kNavigation[][2] = {
    {18, 8}, {19, 34}, {20, 33}, {21, 32}, {22, 36}, {23, 13}, {24, 27},
};
}  // namespace

const LetterRoute* LetterRouteForCode(int code) {
    for (const CodeRoute& r : kLetterRoutes) {
        if (r.code == code) return &r.route;
    }
    return nullptr;
}

int NavigationKeyForCode(int code) {
    for (const auto& n : kNavigation) {
        if (n[0] == code) return n[1];
    }
    return 0;
}

std::string DriveCaption(char letter, int driveType) {
    std::string caption{letter, ':'};
    switch (driveType) {
    case kDriveRemovable: caption += "  リムーバブルディスク"; break;
    case kDriveRemote: caption += "  ネットワークドライブ"; break;
    case kDriveCdRom: caption += "  CDROM               "; break;
    case kDriveRamDisk: caption += "  RAMDISK             "; break;
    default: caption += std::string(22, ' '); break;
    }
    return caption;
}

std::string DriveActionName(char letter, int driveType) {
    return "[ドライブ移動]" + DriveCaption(letter, driveType);
}

}  // namespace kestrum
