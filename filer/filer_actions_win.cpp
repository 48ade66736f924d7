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
#include "filer/filer_commands.h"
#include "filer/filer_routes.h"
#include "filer/frm_fm_win.h"
#include "filer/sort_write_win.h"

namespace kestrum {

using Code = FilerActionCode;

namespace {
Prompter& Ask() { return CurrentPrompter(); }
}  // namespace

// ---- selection -----------------------------------------------------------------

FilerContext TfrmFM::Context() { return FilerContext{TheSession(), Files(), Ask(), model_}; }

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
    FilerContext c = Context();
    if (PackSelection(c, TheArchives())) RelistKeepingCursor();
}

void TfrmFM::UnpackAction() {
    FilerContext c = Context();
    if (UnpackSelection(c, TheArchives())) RelistKeepingCursor();
}

void TfrmFM::Duplicate() {
    if (RefuseDotEntry(model_, Ask(), "を複製することは出来ません")) return;
    const Session& session = TheSession();
    const bool marked = model_.MarkedCount() > 0;
    for (const std::string& name : SelectionNames(model_)) {
        std::string text = DuplicateProposal(session, name, marked);
        if (!marked && !session.settings.backupName.empty()) TheCommands().ExpandMacrosFor(session.currentDir + name, text);
        if (!AskLineFor(Ask(), name + "をバックアップします", "新しい名前を入力してください", text, amFreeText | amSelectAll,
                    &TheSession().lists.exeHistory)) {
            break;
        }
        CopyPath(session.currentDir + name, text, Handle(), &Copier());
    }
    RelistKeepingCursor();
}

void TfrmFM::CopyOrMove(bool move) {
    FilerContext c = Context();
    switch (CopyOrMoveSelection(c, Copier(), move, shiftDown_)) {
    case TransferOutcome::Cancelled: return;
    case TransferOutcome::Duplicate: Duplicate(); return;
    case TransferOutcome::Rename: RenameAction(); return;
    case TransferOutcome::Done: RelistKeepingCursor(); return;
    }
}

void TfrmFM::DeleteAction() {
    const Session& session = TheSession();
    if (RefuseDotEntry(model_, Ask(), "を削除することは出来ません")) return;
    const std::vector<std::string> list = SelectionPaths(model_, session.currentDir);
    if (list.empty()) return;
    if (shiftDown_) {
        EraseFiles(list, Handle(), session.settings.dirDelMode);
    } else {
        DeleteToRecycleBin(list, Handle(), session.settings.dirDelMode);
    }
    RelistKeepingCursor();
}

void TfrmFM::RenameAction() {
    FilerContext c = Context();
    RenameSelection(c);
    RelistKeepingCursor();
}

void TfrmFM::MaskAction() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FilerContext c = Context();
    if (AskAndSetMask(c, shiftDown_, LocalDate{now.wYear, now.wMonth, now.wDay, now.wHour})) ShowList();
}

void TfrmFM::ChangeDirectoryAction() {
    FilerContext c = Context();
    const std::optional<std::string> target = AskDirectoryTarget(c, shiftDown_);
    if (!target) return;
    const std::string old = TheSession().currentDir;
    if (ChangeDirectory(*target)) AddToHistory(TheSession().lists.dirHistory, old);
    ShowList();
}

void TfrmFM::MakeDirectoryAction() {
    FilerContext c = Context();
    if (MakeDirectoryCommand(c)) RelistKeepingCursor();
}

void TfrmFM::RunCommandAction() {
    std::string text = shiftDown_ || model_.Count() == 0 ? std::string() : CurrentFile();
    if (!AskLineFor(Ask(), "eXecute", "コマンドを入力してください", text, amFreeText, &TheSession().lists.exeHistory)) return;
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
    case Code::RegisterInCopyList: {
        FilerContext c = Context();
        RegisterDirectory(c, code == Code::RegisterInLogList);
        return true;
    }
    case Code::MakeHomeDirectory: MakeHomeDirectory(session); return true;
    case Code::RegisterAlias:
    case Code::RegisterAliasEmpty: {
        FilerContext c = Context();
        RegisterAlias(c, code == Code::RegisterAlias, CurrentFile());
        return true;
    }
    case Code::EditSettingsFile:
        Execute_t(CommandName(cmdEDIT) + " " + session.settingsPath);
        RelistKeepingCursor();
        return true;
    case Code::OpenList: ShowCandidates(); return true;
    case Code::Attributes: {
        if (model_.Count() == 0 || RefuseDotEntry(model_, Ask(), "の属性を変更することは出来ません")) return true;
        ChangeAttributes(SelectionPaths(model_, session.currentDir));
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
    if (model_.Count() == 0) return;
    const bool full = code == Code::ClipFullNames || code == Code::ClipFullNamesSizesDates;
    const bool withSize = code == Code::ClipNamesSizesDates || code == Code::ClipFullNamesSizesDates;
    SetClipboardText(Handle(), SelectionClipboardText(model_, TheSession().currentDir, full, withSize, Options()));
}

void TfrmFM::MakeShortcut(int code) {
    Session& session = TheSession();
    // A shortcut always points at the cursor entry, marks or not.
    if (model_.Count() == 0 || RefuseDotEntry(model_, Ask(), "のショートカットを作成することは出来ません", true)) return;
    const std::string name = CursorName(model_);
    FilerContext c = Context();
    std::optional<std::string> dir;
    if (code == Code::ShortcutTyped || code == Code::ShortcutListed) {
        dir = AskShortcutDirectory(c, name, code == Code::ShortcutListed);
    } else if (code == Code::ShortcutHere) {
        dir = session.currentDir;
    } else if (code >= Code::ShortcutOnDesktop && code <= Code::ShortcutInStartMenu) {
        static const char* const values[] = {"Desktop", "Startup", "programs", "Start Menu"};
        const RegKey key =
            OpenRegKey(HKEY_CURRENT_USER, "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
        if (key) dir = RegString(key.Get(), values[code - Code::ShortcutOnDesktop]);
        if (dir && dir->empty()) dir.reset();
    }
    if (!dir) return;
    *dir = IncludeTrailingBackslash(*dir);
    const std::optional<std::string> link = AskShortcutName(c, *dir, name);
    if (!link) return;
    if (!CreateShortcut(*dir + *link, session.currentDir + name)) {
        Ask().ShowMessage("ショートカットの作成に失敗しました ->" + *dir + *link);
        return;
    }
    if (code >= Code::ShortcutInStartup && code <= Code::ShortcutInStartMenu) {
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, dir->c_str(), nullptr);
    }
    RelistKeepingCursor();
}

void TfrmFM::ChangeDates() {
    const Session& session = TheSession();
    if (model_.Count() == 0 || RefuseDotEntry(model_, Ask(), "の日付を変更することは出来ません")) return;
    TDateChange change;
    change.Caption = "Kestrum 日付の変更";
    bool hadDirectory = false;
    change.FileNames = DateChangePaths(model_, session.currentDir, hadDirectory);
    if (hadDirectory) Ask().ShowMessage("ディレクトリの日付は変更できません");
    if (change.FileNames.empty()) return;
    change.Execute();
    RelistKeepingCursor();
}

void TfrmFM::JoinAction() {
    Session& session = TheSession();
    if (model_.Count() == 0 || RefuseDotEntry(model_, Ask(), "を結合することは出来ません")) return;
    const std::vector<std::string> names = SelectionNames(model_);
    std::string target = ChangeFileExt(names.front(), ".LZH");
    if (!AskLineFor(Ask(), "結合", "ファイルを結合します。ファイル名を入れて下さい", target, amFreeText, &session.lists.exeHistory)) return;
    JoinFiles(InDirectory(session.currentDir, target), SelectionPaths(model_, session.currentDir));
    RelistKeepingCursor();
}

void TfrmFM::CopyDirectoryLine() {
    const Session& session = TheSession();
    SetClipboardText(Handle(), session.currentDir + session.maskText);
}

void TfrmFM::ShowCandidates() {
    if (model_.Count() == 0) return;
    const std::string file = CurrentFile();
    const Candidates candidates = AssociationCandidates(TheSession(), file);
    std::vector<std::string> commands = candidates.temporary;
    commands.insert(commands.end(), candidates.configured.begin(), candidates.configured.end());
    const std::vector<std::string> verbs = RegisteredVerbs(file);
    const MenuHandle owned(CreatePopupMenu());
    HMENU menu = owned.Get();
    UINT id = 1;
    for (const std::string& c : candidates.temporary) AppendMenuA(menu, MF_STRING, id++, c.c_str());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (const std::string& c : candidates.configured) AppendMenuA(menu, MF_STRING, id++, c.c_str());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const UINT firstVerb = 1000;
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
    switch (DropPlaceFor(pt.y, top.y, layout_.grid.top)) {
    case DropPlace::CommandLine:
        SendMessageA(cmdLine_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(DroppedText(list).c_str()));
        return;
    case DropPlace::Grid:
        CopyListTo(paths, session.currentDir, Handle());
        RelistKeepingCursor();
        return;
    case DropPlace::Bars: break;
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
