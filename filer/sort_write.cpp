// Writing the listing's order into the directory.
#include "filer/sort_write.h"

#include "common/prompter.h"
#include "common/sjis.h"

namespace kestrum {

namespace {

constexpr std::string_view kConfirm =
    "-------ソート結果を書き込み-------\r\n"
    "全ファイルをテンプディレクトリに移動した後\r\n"
    "ソート結果順に戻す事でソート結果を書き込みます。\r\n"
    "ソート結果の書き込み中はこのディレクトリに\r\n"
    "アクセスしないようにして下さい。\r\n"
    "また２００文字を超えるような長い名前のファイルは\r\n"
    "位置を変更する事は出来ません。\r\n"
    "ソート結果を書き込みますか？";
constexpr std::string_view kRefused = "このディレクトリには書き込めません";
constexpr std::string_view kTempExists = "テンプディレクトリが既にあるためソート結果を書き込めません。\r\n>";
constexpr std::string_view kTempFailed = "テンプディレクトリの作成に失敗しました";
constexpr std::string_view kTooLong = "ファイル名が長すぎてソート結果を書き込めません。\r\n>";
constexpr std::string_view kFinished = "ソート書き込みを終了しました";
constexpr std::string_view kStranded = "次のファイルを元に戻せませんでした。\r\nテンプディレクトリに残っています。\r\n>";

// Paths from this length on do not fit the platform's path buffers.
constexpr std::size_t kMaxTargetPath = 256;
// Names listed in the stranded message at most.
constexpr std::size_t kMaxNamesShown = 20;

std::string StrandedMessage(const SortWriteReport& r) {
    std::string text(kStranded);
    text += r.tempDir;
    for (std::size_t i = 0; i < r.stranded.size() && i < kMaxNamesShown; ++i) text += "\r\n  " + r.stranded[i];
    if (r.stranded.size() > kMaxNamesShown) {
        text += "\r\n  ほか" + std::to_string(r.stranded.size() - kMaxNamesShown) + "個";
    }
    return text;
}

}  // namespace

bool TouchesWindowsDirectory(std::string_view currentDir, std::string_view windowsDir) {
    const std::string cur = UpperAscii(currentDir);
    const std::string win = UpperAscii(windowsDir);
    if (cur.empty() || win.empty()) return false;
    return cur.find(win) != std::string::npos || win.find(cur) != std::string::npos;
}

SortWriteReport WriteSortOrder(std::string_view currentDir, const std::vector<std::string>& names,
                               std::string_view windowsDir, FileSystem& fs) {
    Prompter& p = CurrentPrompter();
    SortWriteReport r;
    const std::string dir = IncludeTrailingBackslash(currentDir);
    r.tempDir = dir + std::string(kSortTempDirName);
    if (p.MessageDlg(kConfirm, MsgType::Warning, MsgButtons::YesNo) == mrNo) return r;
    if (TouchesWindowsDirectory(dir, windowsDir)) {
        p.ShowMessage(kRefused);
        r.result = SortWriteResult::Refused;
        return r;
    }
    // A leftover from an earlier run may hold files of its own: never mix
    // this run's entries into it.
    if (fs.Exists(r.tempDir)) {
        p.ShowMessage(std::string(kTempExists) + r.tempDir);
        r.result = SortWriteResult::TempExists;
        return r;
    }
    if (!fs.MakeDir(r.tempDir)) {
        p.ShowMessage(kTempFailed);
        r.result = SortWriteResult::TempNotCreated;
        return r;
    }
    const std::string tempPrefix = r.tempDir + "\\";

    for (const std::string& name : names) {
        if (name.empty() || name == "." || name == "..") continue;
        const std::optional<std::uint32_t> attr = fs.Attributes(dir + name);
        if (!attr || (*attr & kAttrSystem)) continue;
        const std::string target = tempPrefix + name;
        if (target.size() >= kMaxTargetPath) {
            p.ShowMessage(std::string(kTooLong) + name);
            continue;
        }
        if (fs.Move(dir + name, target, kMoveAcrossVolumes)) r.moved.push_back(name);
    }
    // r.moved is in list order: moving back in it writes the order.
    for (const std::string& name : r.moved) {
        if (!fs.Move(tempPrefix + name, dir + name, kMoveAcrossVolumes)) r.stranded.push_back(name);
    }

    if (!r.stranded.empty()) {
        r.result = SortWriteResult::Stranded;
        p.MessageDlg(StrandedMessage(r), MsgType::Warning, MsgButtons::Ok);
        return r;
    }
    fs.RemoveDir(r.tempDir);
    r.result = SortWriteResult::Finished;
    p.ShowMessage(kFinished);
    return r;
}

std::vector<std::string> ListedNames(const FileListModel& model) {
    std::vector<std::string> names;
    names.reserve(model.Count());
    for (std::size_t i = 0; i < model.Count(); ++i) names.emplace_back(model.Name(i));
    return names;
}

}  // namespace kestrum
