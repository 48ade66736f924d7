// TfrmFM: the letter actions and the other actions that work on files:
// copy, move, delete, rename, duplicate, mask, directories, running and
// editing, the clipboard, shortcuts, registrations and dropped files.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "common/clipboard_win.h"
#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "common/history.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "common/split.h"
#include "config/action_table.h"
#include "config/aliases.h"
#include "config/cfg_form_win.h"
#include "config/list_editor_win.h"
#include "config/mask.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "fileops/attrib_dialog_win.h"
#include "fileops/change_dir_win.h"
#include "fileops/copy_list_win.h"
#include "fileops/date_change_win.h"
#include "fileops/delete_win.h"
#include "fileops/file_copy_win.h"
#include "fileops/format_dialog_win.h"
#include "fileops/path_utils.h"
#include "fileops/shortcut_win.h"
#include "fileops/split_join_win.h"
#include "fileops/verbs_win.h"
#include "filer/frm_fm_win.h"
#include "filer/sort_write_win.h"

namespace kestrum {

using Code = FilerActionCode;

namespace {

Prompter& Ask() { return CurrentPrompter(); }

// Line-input mode bits as the filer's questions use them.
constexpr int kFree = amFreeText;            // 1
constexpr int kNoBrowse = amNoBrowse;        // 4
constexpr int kPlainHistory = amPlainHistory;  // 16
constexpr int kSelectAll = amSelectAll;      // 32

bool AskFor(const std::string& title, const std::string& prompt, std::string& text, int mode,
            std::vector<std::string>* history, const std::vector<std::string>* registered = nullptr,
            int registeredKind = 2) {
    LineQuestion q;
    q.title = title;
    q.prompt = prompt;
    q.text = text;
    q.mode = mode;
    q.history = history;
    q.registered = registered;
    q.registeredKind = registeredKind;
    if (!Ask().AskLine(q)) return false;
    text = q.text;
    return true;
}

// The extension of a name without its dot.
std::string BareExt(const std::string& name) {
    std::string ext = ExtractFileExt(name);
    if (!ext.empty()) ext.erase(0, 1);
    return ext;
}

// The association entry for an extension (without dot) in a table.
const ExtEntry* FindExt(const std::vector<ExtEntry>& table, const std::string& ext) {
    for (const ExtEntry& e : table) {
        const std::string key = !e.ext.empty() && e.ext[0] == '.' ? e.ext.substr(1) : e.ext;
        if (SameText(key, ext)) return &e;
    }
    return nullptr;
}

}  // namespace

// ---- selection -----------------------------------------------------------------

std::vector<std::size_t> TfrmFM::Selection() const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < model_.Count(); ++i) {
        // "." and ".." are never operands, even marked.
        if (model_.Marked(i) && !model_.IsDots(i)) out.push_back(i);
    }
    if (out.empty() && model_.Count() > 0) out.push_back(static_cast<std::size_t>(model_.CursorIndex()));
    return out;
}

bool TfrmFM::RefuseDotEntry(const char* what, bool cursorOnly) const {
    if (!cursorOnly && model_.MarkedCount() > 0) return false;
    const std::string name = CursorName();
    if (name != "." && name != "..") return false;
    Ask().ShowMessage(std::string(name == "." ? "カレントディレクトリ" : "親ディレクトリ") + what);
    return true;
}

std::vector<std::string> TfrmFM::SelectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i : Selection()) names.emplace_back(model_.Name(i));
    return names;
}

std::string TfrmFM::SubjectText() const {
    if (model_.MarkedCount() > 0) return "マークファイルを";
    if (model_.Count() == 0) return std::string();
    return model_.Entry(static_cast<std::size_t>(model_.CursorIndex())).find.name + "を";
}

std::string TfrmFM::CursorName() const {
    if (model_.Count() == 0) return std::string();
    return model_.Entry(static_cast<std::size_t>(model_.CursorIndex())).find.name;
}

void TfrmFM::RelistKeepingCursor() { Relist(model_.CursorIndex()); }

TFileCopy& TfrmFM::Copier() {
    if (!copierReady_) {
        UseCopyDialog(copier_, "Kestrum");
        copierReady_ = true;
    }
    copier_.owner = Handle();
    return copier_;
}

// ---- letter actions ------------------------------------------------------------

void TfrmFM::RunLetter(char letter) {
    Session& session = TheSession();
    const char c = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 32) : letter;
    switch (c) {
    case '2': SetDisplayMode(1); return;
    case '5': SetDisplayMode(0); return;
    case 'H': TheShellWindow().FocusCommandBox(); return;
    case 'Q': TheViewers().HideImageAndText(); return;
    case 'F': MaskAction(); return;
    case 'L': ChangeDirectoryAction(); return;
    case 'K': MakeDirectoryAction(); return;
    case 'X': RunCommandAction(); return;
    case 'S': SortAction(); return;
    default: break;
    }
    if (model_.Count() == 0) return;  // the rest need an entry
    switch (c) {
    case 'B': Duplicate(); break;
    case 'C': CopyOrMove(false); break;
    case 'M': CopyOrMove(true); break;
    case 'D': DeleteAction(); break;
    case 'R': RenameAction(); break;
    case 'E':
        Execute_t(CommandName(cmdEDIT) + " " + CurrentFile());
        RelistKeepingCursor();
        break;
    case 'V': {
        // The built-in viewer when it is chosen, else the configured one.
        const std::string viewer = session.settings.viewMode ? CommandName(cmdTVIEW) : session.settings.viewer;
        Execute_t(viewer + " " + CurrentFile());
        RelistKeepingCursor();
        break;
    }
    case 'P': PackAction(); break;
    case 'U': UnpackAction(); break;
    default: break;
    }
}

void TfrmFM::PackAction() {
    if (RefuseDotEntry("をPackすることは出来ません")) return;
    Session& session = TheSession();
    std::string archive = ChangeFileExt(CursorName(), "");
    if (!AskFor(SubjectText() + "Ｐａｃｋします", "アーカイブ名を入力してください", archive, kFree | kSelectAll,
                &session.lists.exeHistory)) {
        return;
    }
    if (Trim(archive).empty()) return;
    const std::vector<std::string> names = SelectionNames();
    TheArchives().Pack(archive, names);
    RelistKeepingCursor();
}

void TfrmFM::UnpackAction() {
    if (RefuseDotEntry("を解凍することは出来ません")) return;
    Session& session = TheSession();
    std::string dir;
    if (!AskFor(SubjectText() + "解凍します", "ディレクトリを入力してください", dir, kPlainHistory,
                &session.lists.dirHistory, &session.lists.copyList)) {
        return;
    }
    dir = Trim(dir);
    if (dir.empty()) dir = session.currentDir;
    if (!EndsWithBackslash(dir) && !EndsWithColon(dir)) dir += "\\";
    for (const std::string& name : SelectionNames()) {
        if (TheArchives().Extract(name, dir) != 0) break;
    }
    RelistKeepingCursor();
}

void TfrmFM::Duplicate() {
    if (RefuseDotEntry("を複製することは出来ません")) return;
    const Session& session = TheSession();
    const bool marked = model_.MarkedCount() > 0;
    for (const std::string& name : SelectionNames()) {
        std::string text = ChangeFileExt(name, ".BAK");
        if (!marked && !session.settings.backupName.empty()) {
            text = session.settings.backupName;
            TheCommands().ExpandMacrosFor(session.currentDir + name, text);
        }
        if (!AskFor(name + "をバックアップします", "新しい名前を入力してください", text, kFree | kSelectAll,
                    &TheSession().lists.exeHistory)) {
            break;
        }
        CopyPath(session.currentDir + name, text, Handle(), &Copier());
    }
    RelistKeepingCursor();
}

void TfrmFM::CopyOrMove(bool move) {
    if (RefuseDotEntry(move ? "を移動することは出来ません" : "をコピーすることは出来ません")) return;
    Session& session = TheSession();
    const std::string verb = move ? "移動" : "コピー";
    std::string dest;
    if (shiftDown_) {
        const ListPick pick = Ask().ShowList(session.lists.copyList, ListStyle::Keyed);
        if (pick.result != ListResult::Ok) return;
        dest = Trim(pick.text);
        AddToHistory(session.lists.dirHistory, dest);
    } else {
        if (!AskFor(SubjectText() + verb + "します。", verb + "先のディレクトリを入れて下さい", dest, kPlainHistory,
                    &session.lists.dirHistory, &session.lists.copyList)) {
            return;
        }
    }
    dest = Trim(dest);
    if (dest.empty()) return;
    const bool letter = dest.size() == 1 && !IsLeadByte(static_cast<unsigned char>(dest[0]));
    if (session.settings.flagDcd && dest.size() == 2 && dest[1] == ':') {
        const char d = static_cast<char>(dest[0] & ~0x20);
        if (d >= 'A' && d <= 'Z') dest += "\\" + session.driveDirs[static_cast<std::size_t>(d - 'A')];
    } else if (letter) {
        dest += ":\\";
    }
    const std::vector<std::string> names = SelectionNames();
    dest = IncludeTrailingBackslash(dest);
    if (SameText(dest, session.currentDir) || dest == ".\\") {
        // Onto the current directory a copy duplicates and a move renames.
        if (move) {
            RenameAction();
        } else {
            Duplicate();
        }
        return;
    }
    if (move) {
        Copier().MoveX(names, session.currentDir, 0, dest);
    } else {
        Copier().CopyX(names, session.currentDir, 0, dest);
    }
    RelistKeepingCursor();
}

void TfrmFM::DeleteAction() {
    const Session& session = TheSession();
    if (RefuseDotEntry("を削除することは出来ません")) return;
    std::vector<std::string> list;
    for (const std::string& name : SelectionNames()) list.push_back(session.currentDir + name);
    if (list.empty()) return;
    if (shiftDown_) {
        EraseFiles(list, Handle(), session.settings.dirDelMode);
    } else {
        DeleteToRecycleBin(list, Handle(), session.settings.dirDelMode);
    }
    RelistKeepingCursor();
}

void TfrmFM::RenameAction() {
    if (RefuseDotEntry("の名前を変更することは出来ません")) return;
    const Session& session = TheSession();
    for (const std::string& name : SelectionNames()) {
        std::string text = name;
        if (!AskFor("Rename", "新しい名前を入れてください", text, kFree | kSelectAll, &TheSession().lists.exeHistory)) break;
        if (!IsValidFileName(text)) {
            Ask().ShowMessage(kBadNameMessage);
            continue;
        }
        if (text == name) continue;
        if (!RenameNoReplace(CurrentFileSystem(), session.currentDir + name, session.currentDir + text)) {
            Ask().ShowMessage("リネームに失敗しました ->" + session.currentDir + name);
        }
    }
    RelistKeepingCursor();
}

void TfrmFM::MaskAction() {
    Session& session = TheSession();
    std::string mask;
    if (shiftDown_) {
        const ListPick pick = Ask().ShowList(session.lists.findList, ListStyle::Numbered);
        if (pick.result != ListResult::Ok) return;
        mask = Trim(pick.text);
        AddToHistory(session.maskHistory, mask);
    } else {
        std::string text;
        if (session.maskText != "*.*") {
            text = "*.*";
        } else if (model_.MarkedCount() > 0) {
            text = "[";
            for (std::size_t i : Selection()) text += "*" + ExtractFileExt(model_.Entry(i).find.name) + ",";
            text.back() = ']';
        } else {
            text = "*" + ExtractFileExt(CursorName());
        }
        if (!AskFor("Find", "マスク名を入れてください", text, kFree | kNoBrowse | kSelectAll, &session.maskHistory,
                    &session.lists.findList, 3)) {
            return;
        }
        mask = Trim(text);
    }
    if (mask.empty()) mask = "*.*";
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SetMask(mask, LocalDate{now.wYear, now.wMonth, now.wDay, now.wHour}, session.masks, session.maskText);
    ShowList();
}

void TfrmFM::ChangeDirectoryAction() {
    Session& session = TheSession();
    std::string target;
    if (shiftDown_) {
        const ListPick pick = Ask().ShowList(session.lists.logList, ListStyle::Keyed);
        if (pick.result != ListResult::Ok) return;
        target = Trim(pick.text);
    } else if (!AskFor("Logdisk カレントディレクトリの変更", "ディレクトリ名を入力してください", target, 0,
                       &session.lists.dirHistory, &session.lists.logList)) {
        return;
    }
    target = UpperAscii(Trim(target));
    if (target.size() == 1) target += ':';
    const std::string old = session.currentDir;
    if (ChangeDirectory(target)) AddToHistory(session.lists.dirHistory, old);
    ShowList();
}

void TfrmFM::MakeDirectoryAction() {
    Session& session = TheSession();
    std::string name;
    if (!AskFor("mKdir", "新しいディレクトリ名を入れてください", name, 0, &session.lists.dirHistory)) return;
    name = Trim(name);
    if (name.empty()) return;
    const bool absolute = (name.size() > 1 && name[1] == ':') || name.rfind("\\\\", 0) == 0;
    if (!ForceDirs(absolute ? name : session.currentDir + name)) {
        Ask().MessageDlg("ディレクトリの作成に失敗しました。", MsgType::Warning, MsgButtons::Ok);
        return;
    }
    RelistKeepingCursor();
}

void TfrmFM::RunCommandAction() {
    std::string text = shiftDown_ || model_.Count() == 0 ? std::string() : CurrentFile();
    if (!AskFor("eXecute", "コマンドを入力してください", text, kFree, &TheSession().lists.exeHistory)) return;
    if (Execute_t(text) != rrWindow) FocusGrid();
}

void TfrmFM::SortAction() {
    if (RunSortDialog()) {
        UpdateStatus();  // the cursor cell now shows another entry
        InvalidateGrid();
    }
}

// ---- other actions ---------------------------------------------------------------

bool TfrmFM::RunFileAction(int code) {
    Session& session = TheSession();
    switch (code) {
    case Code::ClipNames:
    case Code::ClipNamesSizesDates:
    case Code::ClipFullNames:
    case Code::ClipFullNamesSizesDates: CopyNamesToClipboard(code); return true;
    case Code::ClipDirectory: SetClipboardText(Handle(), session.currentDir); return true;
    case Code::ShortcutOnDesktop:
    case Code::ShortcutInStartup:
    case Code::ShortcutInPrograms:
    case Code::ShortcutInStartMenu:
    case Code::ShortcutHere:
    case Code::ShortcutTyped:
    case Code::ShortcutListed: MakeShortcut(code); return true;
    case Code::RegisterInLogList:
    case Code::RegisterInCopyList: RegisterDirectory(code == Code::RegisterInLogList); return true;
    case Code::MakeHomeDirectory: {
        TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
        file.WriteLine("[環境変数]", "HOMEDIR", "HomeDir, " + session.currentDir);
        file.SaveOrSay();
        session.settings.homeDir = session.currentDir;
        return true;
    }
    case Code::RegisterAlias:
    case Code::RegisterAliasEmpty: RegisterAlias(code == Code::RegisterAlias); return true;
    case Code::EditSettingsFile:
        Execute_t(CommandName(cmdEDIT) + " " + session.settingsPath);
        RelistKeepingCursor();
        return true;
    case Code::OpenList: ShowCandidates(); return true;
    case Code::Attributes: {
        if (model_.Count() == 0 || RefuseDotEntry("の属性を変更することは出来ません")) return true;
        std::vector<std::string> paths;
        for (const std::string& n : SelectionNames()) paths.push_back(session.currentDir + n);
        ChangeAttributes(paths);
        RelistKeepingCursor();
        return true;
    }
    case Code::Dates: ChangeDates(); return true;
    case Code::SettingsDialog:
        ShowSettingsDialog(Handle(), kPageFiler);
        ShowList();
        return true;
    case Code::Format:
        if (format_.Handle()) format_.ShowModal();
        return true;
    case Code::WriteSortOrder: {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < model_.Count(); ++i) names.emplace_back(model_.Name(i));
        WriteSortOrderToDisk(session.currentDir, names);
        return true;
    }
    case Code::Join: JoinAction(); return true;
    default: return false;
    }
}

void TfrmFM::CopyNamesToClipboard(int code) {
    const Session& session = TheSession();
    if (model_.Count() == 0) return;
    const bool full = code == Code::ClipFullNames || code == Code::ClipFullNamesSizesDates;
    const bool withSize = code == Code::ClipNamesSizesDates || code == Code::ClipFullNamesSizesDates;
    DisplayOptions o = Options();
    o.mode = 1;
    o.columnChars = full ? std::max<int>(80 - static_cast<int>(session.currentDir.size()), 1) : 80;
    std::string text;
    for (std::size_t i : Selection()) {
        std::string line = withSize ? ListText(model_.Record(i), o) : std::string(model_.Name(i));
        // The list text starts with the mark position.
        if (withSize && !line.empty()) line.erase(0, 1);
        text += (full ? session.currentDir : std::string()) + line + "\r\n";
    }
    if (model_.MarkedCount() == 0 && text.size() >= 2) text.resize(text.size() - 2);
    SetClipboardText(Handle(), text);
}

void TfrmFM::MakeShortcut(int code) {
    Session& session = TheSession();
    // A shortcut always points at the cursor entry, marks or not.
    if (model_.Count() == 0 || RefuseDotEntry("のショートカットを作成することは出来ません", true)) return;
    const std::string name = CursorName();
    std::string dir;
    switch (code) {
    case Code::ShortcutOnDesktop:
    case Code::ShortcutInStartup:
    case Code::ShortcutInPrograms:
    case Code::ShortcutInStartMenu: {
        static const char* const values[] = {"Desktop", "Startup", "programs", "Start Menu"};
        const RegKey key =
            OpenRegKey(HKEY_CURRENT_USER, "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
        if (key) dir = RegString(key.Get(), values[code - Code::ShortcutOnDesktop]);
        break;
    }
    case Code::ShortcutHere: dir = session.currentDir; break;
    case Code::ShortcutTyped:
        if (!AskFor(name + "ショートカットの作成", "作成するディレクトリを入力してください。", dir, 0,
                    &session.lists.dirHistory)) {
            return;
        }
        break;
    case Code::ShortcutListed: {
        const ListPick pick = Ask().ShowList(session.lists.copyList, ListStyle::Keyed);
        if (pick.result != ListResult::Ok) return;
        dir = Trim(pick.text);
        AddToHistory(session.lists.dirHistory, dir);
        break;
    }
    default: return;
    }
    if (dir.empty()) return;
    dir = IncludeTrailingBackslash(dir);
    std::string link = name + "へのｼｮｰﾄｶｯﾄ";
    if (!AskFor("ショートカット作成 " + dir, "ショートカット名を入力してください。", link, kFree,
                &session.lists.exeHistory)) {
        return;
    }
    if (UpperAscii(ExtractFileExt(link)) != ".LNK") link += ".LNK";
    if (!CreateShortcut(dir + link, session.currentDir + name)) {
        Ask().ShowMessage("ショートカットの作成に失敗しました ->" + dir + link);
        return;
    }
    if (code >= Code::ShortcutInStartup && code <= Code::ShortcutInStartMenu) {
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, dir.c_str(), nullptr);
    }
    RelistKeepingCursor();
}

void TfrmFM::RegisterDirectory(bool logList) {
    Session& session = TheSession();
    std::string key;
    for (;;) {
        std::string text;
        if (!AskFor("Kestrum  呼び出しキー", "呼び出しキーを入力してください(１文字)[省略可]", text,
                    kFree | kNoBrowse, nullptr)) {
            return;
        }
        text = Trim(text);
        if (text.size() <= CharLen(text, 0) || text.empty()) {
            key = UpperAscii(text);
            break;
        }
    }
    std::vector<std::string>& list = logList ? session.lists.logList : session.lists.copyList;
    const std::string dir = session.currentDir;
    std::string entry;
    std::string line;
    if (!key.empty()) {
        entry = key + " " + dir;
        line = dir + "," + key;
    } else {
        char highest = '0';
        for (const std::string& e : list) {
            if (!e.empty() && e[0] >= '0' && e[0] <= '9' && e[0] > highest) highest = e[0];
        }
        if (highest == '9') {
            entry = "  " + dir;
            line = dir;
        } else {
            const char d = static_cast<char>(highest + 1);
            entry = std::string(1, d) + " " + dir;
            line = dir + "," + std::string(1, d);
        }
    }
    list.push_back(entry);
    TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
    file.AppendListLine(logList ? "[LogDiskList]" : "[CopyDirList]", line);
    file.SaveOrSay();
}

void TfrmFM::RegisterAlias(bool withFile) {
    Session& session = TheSession();
    std::string source = withFile && model_.CursorIndex() > 0 ? CurrentFile() : std::string();
    if (!AskFor("エイリアス元のファイル", "エイリアス元のファイル名を入れてください\r\nオプションも同時に指定出来ます",
                source, kFree, &session.lists.exeHistory)) {
        return;
    }
    std::string name;
    if (!AskFor(CursorName() + "のエイリアス", "エイリアス名を入れてください", name, kFree, &session.lists.exeHistory)) {
        return;
    }
    name = Trim(name);
    if (name.empty()) return;
    const int found = FindAlias(session, name);
    if (found >= 0) {
        const AliasEntry& old = session.lists.aliases[static_cast<std::size_t>(found)];
        const int r = Ask().MessageDlgCaption(
            "Kestrum Alias", name + "は既に登録されてます\r\n" + (old.directory.empty() ? "指定されていません" : old.directory),
            MsgType::Confirmation, MsgButtons::YesCancel);
        if (r != mrYes) return;
    }
    std::string dir;
    const int r = Ask().MessageDlg(name + "の起動ディレクトリを指定しますか？", MsgType::Confirmation,
                                   MsgButtons::YesNoCancel);
    if (r == mrCancel) return;
    if (r == mrYes) {
        dir = session.currentDir;
        if (!AskFor(name + "のエイリアス", "起動ディレクトリを入力してください", dir, 0, &session.lists.dirHistory)) return;
    }
    const AliasEntry entry{name, source, dir};
    if (found >= 0) {
        session.lists.aliases[static_cast<std::size_t>(found)] = entry;
    } else {
        session.lists.aliases.push_back(entry);
    }
    SaveAliases(session);
}

void TfrmFM::ChangeDates() {
    const Session& session = TheSession();
    if (model_.Count() == 0 || RefuseDotEntry("の日付を変更することは出来ません")) return;
    TDateChange change;
    change.Caption = "Kestrum 日付の変更";
    bool hadDirectory = false;
    for (std::size_t i : Selection()) {
        const FileEntry& e = model_.Entry(i);
        if (e.find.IsDirectory()) {
            hadDirectory = true;
            continue;
        }
        change.FileNames.push_back(session.currentDir + e.find.name);
    }
    if (hadDirectory) Ask().ShowMessage("ディレクトリの日付は変更できません");
    if (change.FileNames.empty()) return;
    change.Execute();
    RelistKeepingCursor();
}

void TfrmFM::JoinAction() {
    Session& session = TheSession();
    if (model_.Count() == 0 || RefuseDotEntry("を結合することは出来ません")) return;
    const std::vector<std::string> names = SelectionNames();
    std::string target = ChangeFileExt(names.front(), ".LZH");
    if (!AskFor("結合", "ファイルを結合します。ファイル名を入れて下さい", target, kFree, &session.lists.exeHistory)) return;
    std::vector<std::string> files;
    for (const std::string& n : names) files.push_back(session.currentDir + n);
    const bool absolute = target.size() > 1 && target[1] == ':';
    JoinFiles(absolute ? target : session.currentDir + target, files);
    RelistKeepingCursor();
}

bool TfrmFM::HasAssociation(const std::string& file) const {
    const Session& session = TheSession();
    const std::string ext = BareExt(file);
    return FindExt(session.setExt, ext) || FindExt(session.lists.ext, ext);
}

void TfrmFM::CopyDirectoryLine() {
    const Session& session = TheSession();
    SetClipboardText(Handle(), session.currentDir + session.maskText);
}

void TfrmFM::ShowCandidates() {
    Session& session = TheSession();
    if (model_.Count() == 0) return;
    const std::string file = CurrentFile();
    const std::string ext = BareExt(file);
    std::vector<std::string> commands;
    std::vector<std::string> verbs;
    const MenuHandle owned(CreatePopupMenu());
    HMENU menu = owned.Get();
    UINT id = 1;
    auto addCandidates = [&](const std::vector<ExtEntry>& table) {
        if (const ExtEntry* e = FindExt(table, ext)) {
            for (int i = 0;; ++i) {
                const std::optional<std::string> c = SplitField(',', e->command, i);
                if (!c) break;
                if (Trim(*c).empty()) continue;
                commands.push_back(Trim(*c));
                AppendMenuA(menu, MF_STRING, id++, commands.back().c_str());
            }
        }
    };
    addCandidates(session.setExt);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    addCandidates(session.lists.ext);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const UINT firstVerb = 1000;
    verbs = RegisteredVerbs(file);
    for (std::size_t i = 0; i < verbs.size(); ++i) {
        AppendMenuA(menu, MF_STRING, firstVerb + static_cast<UINT>(i), verbs[i].c_str());
    }
    RECT cell = CursorCellRect();
    POINT pt{cell.left, cell.bottom};
    ClientToScreen(Handle(), &pt);
    const UINT chosen = static_cast<UINT>(Ask().AskPopupMenu(menu, pt.x, pt.y, Handle()));
    if (chosen >= 1 && chosen < id) {
        Execute_t(commands[chosen - 1] + " " + file);
    } else if (chosen >= firstVerb && chosen - firstVerb < verbs.size()) {
        ShellExecuteA(Handle(), verbs[chosen - firstVerb].c_str(), file.c_str(), nullptr, nullptr, SW_SHOW);
    }
}

// ---- dropped files ----------------------------------------------------------------

void TfrmFM::OnDropFiles(HDROP drop) {
    Session& session = TheSession();
    POINT pt{};
    DragQueryPoint(drop, &pt);
    std::string paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> list;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        DragQueryFileA(drop, i, path, MAX_PATH);
        list.push_back(path);
        paths += path;
        paths += '\0';
    }
    DragFinish(drop);
    if (list.empty()) return;
    RECT cmd{};
    GetWindowRect(cmdLine_, &cmd);
    POINT top{cmd.left, cmd.top};
    ScreenToClient(Handle(), &top);
    if (pt.y >= top.y) {
        // Onto the command line: the paths are typed in, each between blanks.
        std::string text;
        for (const std::string& p : list) text += " " + p + " ";
        SendMessageA(cmdLine_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    if (pt.y >= layout_.grid.top) {
        CopyListTo(paths, session.currentDir, Handle());
        RelistKeepingCursor();
        return;
    }
    const MenuHandle owned(CreatePopupMenu());
    HMENU menu = owned.Get();
    AppendMenuA(menu, MF_STRING, 1, "コピー");
    AppendMenuA(menu, MF_STRING, 2, "移動");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 3, "エイリアス登録");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 4, "キャンセル");
    POINT screen = pt;
    ClientToScreen(Handle(), &screen);
    const int chosen = Ask().AskPopupMenu(menu, screen.x, screen.y, Handle());
    if (chosen == 1) CopyListTo(paths, session.currentDir, Handle());
    if (chosen == 2) MoveListTo(paths, session.currentDir, Handle());
    if (chosen == 1 || chosen == 2) RelistKeepingCursor();
}

}  // namespace kestrum
