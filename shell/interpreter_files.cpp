// The shell's file commands: CP, BP, MV, RM, DELETE, REN, MREN, MKDIR,
// REMOVEDIR, SPLIT, COMBINE, EJECT, CHWP and the archiver commands.
#include <cstdlib>

#include "common/prompter.h"
#include "common/sjis.h"
#include "common/split.h"
#include "common/wildmatch.h"
#include "config/services.h"
#include "fileops/path_utils.h"
#include "shell/interpreter.h"

namespace kestrum {

namespace {

Prompter& Ask() { return CurrentPrompter(); }

// The usage texts, after "Usage " and the command's current name.
const char* UsageText(int n) {
    switch (n) {
    case cmdCP: return " FileName Dir:ファイルをDirにコピーします";
    case cmdBP: return " FileName1 FileName2:ファイルをバックします";
    case cmdMV: return " FileName Dir:ファイルを移動します";
    case cmdRM: return " FileName\r\nファイルをごみ箱に移動します";
    case cmdREN: return " FileName1 FileName2\r\nファイル名を変更します";
    case cmdDELETE: return " FileName\r\nファイルを抹殺します";
    case cmdMREN: return " OldName NewName\r\nファイル名変更。ワイルドカードの対象をマークファイルに限定";
    default: return "";
    }
}

}  // namespace

void Interpreter::Usage(int n, const std::string& text) { Ask().ShowMessage("Usage " + Name(n) + text); }

int Interpreter::RunFileCommand(int n, const std::string& arg) {
    switch (n) {
    case cmdDISH:
    case cmdDLHA:
    case cmdDTAR:
    case cmdLZH2EXE:
        // The text after the command word goes to the library unchanged.
        TheArchives().RunLibraryCommand(n, arg);
        TheFiler().RefreshListing();
        return n == cmdDLHA || n == cmdDTAR ? rrWindow : rrInternal;
    case cmdCOMBINE: Ask().ShowMessage("まだ作っていません(__)"); return rrInternal;
    default: break;
    }
    if (!files_) return rrInternal;
    switch (n) {
    case cmdCHWP: return CmdChwp(arg);
    case cmdCP:
    case cmdBP:
    case cmdMV: return CmdCopyMove(n, arg);
    case cmdRM:
    case cmdDELETE: return CmdDelete(n, arg);
    case cmdREN: return CmdRen(arg);
    case cmdMREN: return CmdMren(arg);
    case cmdMKDIR:
        if (files_->MakeDirectory(arg)) {
            TheFiler().RefreshListing();
        } else {
            Ask().MessageDlg("ディレクトリの作成に失敗しました。", MsgType::Warning, MsgButtons::Ok);
        }
        return rrInternal;
    case cmdREMOVEDIR:
        files_->RemoveTree(arg);
        TheFiler().RefreshListing();
        return rrInternal;
    case cmdSPLIT: return CmdSplit(arg);
    case cmdEJECT: files_->EjectMedia(arg); return rrInternal;
    default: return rrInternal;
    }
}

int Interpreter::CmdCopyMove(int n, const std::string& arg) {
    const auto [from, to] = SplitTwoNames(arg, [this](const std::string& p) { return files_->AnyMatch(p); });
    if (from.empty() || to.empty()) {
        Usage(n, UsageText(n));
        return rrInternal;
    }
    if (n == cmdBP) {
        files_->CopyPath(from, to);
    } else {
        files_->CopyListTo(host_.FullPath(from) + '\0', to, n == cmdMV);
    }
    TheFiler().RefreshListing();
    return rrInternal;
}

int Interpreter::CmdDelete(int n, const std::string& arg) {
    if (arg.empty()) {
        Usage(n, UsageText(n));
        return rrInternal;
    }
    // Only fully qualified names reach the recycle bin.
    files_->DeleteFiles(host_.FullPath(arg) + '\0', n == cmdDELETE);
    TheFiler().RefreshListing();
    return rrInternal;
}

bool Interpreter::RenameEntry(const std::string& dir, const std::string& from, const std::string& to) {
    if (!IsValidFileName(to)) {
        Ask().ShowMessage(kBadNameMessage);
        return true;
    }
    if (!files_->Rename(dir + from, dir + to)) {
        Ask().ShowMessage("リネームに失敗しました ->" + from);
        return false;
    }
    return true;
}

int Interpreter::CmdRen(const std::string& arg) {
    const auto [oldPattern, newPattern] =
        SplitTwoNames(arg, [this](const std::string& p) { return files_->AnyMatch(p); });
    if (oldPattern.empty() || newPattern.empty()) {
        Usage(cmdREN, UsageText(cmdREN));
        return rrInternal;
    }
    // Names are found and renamed in the directory the old pattern names.
    const std::string dir = ExtractFilePath(oldPattern);
    const std::string match = ExtractFileName(oldPattern);
    const bool wildNew = FindAnyChar(newPattern, "?*") != std::string::npos;
    // Everything is found first, so that renamed entries are not met again.
    for (const FoundEntry& e : files_->FindAll(oldPattern)) {
        if (e.directory && wildNew) continue;
        if (!WildMatch(e.name, match)) continue;
        const std::optional<std::string> to = MapWildName(e.name, newPattern);
        if (!to) {
            Ask().MessageDlg("無効なファイル名です", MsgType::Warning, MsgButtons::Ok);
            Ask().ShowMessage("リネームを中断しました");
            break;
        }
        RenameEntry(dir, e.name, *to);
    }
    TheFiler().RefreshListing();
    return rrInternal;
}

int Interpreter::CmdMren(const std::string& arg) {
    const auto [oldPattern, newPattern] =
        SplitTwoNames(arg, [this](const std::string& p) { return files_->AnyMatch(p); });
    if (oldPattern.empty() || newPattern.empty()) {
        Usage(cmdMREN, UsageText(cmdMREN));
        return rrInternal;
    }
    const std::vector<std::string> marked = files_->MarkedNames();
    if (marked.empty()) {
        Ask().ShowMessage("ファイルがマークされていません。");
        return rrInternal;
    }
    for (const std::string& name : marked) {
        if (!WildMatch(name, oldPattern)) continue;
        const std::optional<std::string> to = MapWildName(name, newPattern);
        if (!to) {
            Ask().MessageDlg("無効なファイル名です", MsgType::Warning, MsgButtons::Ok);
            Ask().ShowMessage("リネームを中断しました");
            break;
        }
        RenameEntry(state_.currentDir, name, *to);
    }
    TheFiler().RefreshListing();
    return rrInternal;
}

int Interpreter::CmdSplit(const std::string& arg) {
    const std::optional<std::string> file = SplitField(',', arg, 0);
    const std::optional<std::string> size = SplitField(',', arg, 1);
    const std::optional<std::string> dir = SplitField(',', arg, 2);
    long long pieceSize = 0;
    if (size) {
        const std::string digits = Trim(*size);
        char* end = nullptr;
        pieceSize = std::strtoll(digits.c_str(), &end, 10);
        if (digits.empty() || *end != '\0') pieceSize = 0;
    }
    // A missing file and a size that is not a positive number are refused alike.
    if (!file || Trim(*file).empty() || pieceSize <= 0) {
        Ask().ShowMessage("文法が違います");
        return rrInternal;
    }
    files_->SplitFile(Trim(*file), pieceSize, dir ? Trim(*dir) : state_.currentDir);
    TheFiler().RefreshListing();
    return rrInternal;
}

int Interpreter::CmdChwp(const std::string& arg) {
    std::string file = Trim(arg);
    if (file.empty()) return rrInternal;
    const bool hasDrive = file.size() > 2 && file[1] == ':' && !IsLeadByte(static_cast<unsigned char>(file[0]));
    const std::string root = hasDrive ? file.substr(0, 2) + "\\" : std::string();
    if (UpperAscii(ExtractFileExt(file)) != ".BMP") {
        const std::string bitmap = state_.programDir + "Kestrum壁紙.BMP";
        if (!files_->PictureToBitmap(file, bitmap)) {
            Ask().MessageDlg(file + "を壁紙にできませんでした", MsgType::Warning, MsgButtons::Ok);
            return rrInternal;
        }
        file = bitmap;
    } else if (files_->DriveType(root) != 3) {
        const int answer = Ask().MessageDlg("このドライブは固定ドライブじゃありません\r\nコピーしますか？",
                                            MsgType::Confirmation, MsgButtons::YesNoCancel);
        if (answer == mrCancel) return rrInternal;
        if (answer == mrYes) {
            LineQuestion q;
            q.title = "壁紙コピー";
            q.prompt = "コピー先ディレクトリを指定してください";
            q.text = state_.settings.wallPicturePath;
            q.history = &state_.lists.dirHistory;
            if (!Ask().AskLine(q)) return rrInternal;
            if (files_->CopyListTo(host_.FullPath(file) + '\0', q.text, false) != 0) return rrInternal;
            std::string dir = q.text;
            if (!EndsWithBackslash(dir) && (dir.empty() || dir.back() != ':')) dir += '\\';
            file = dir + ExtractFileName(file);
        }
    }
    files_->SetWallpaper(file);
    return rrInternal;
}

}  // namespace kestrum
