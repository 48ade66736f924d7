// The filer's commands over its listing, the disk and the user's answers.
#include "filer/filer_commands.h"

#include <algorithm>

#include "common/history.h"
#include "common/sjis.h"
#include "config/aliases.h"
#include "config/mask.h"
#include "config/settings_file.h"
#include "fileops/change_dir.h"
#include "fileops/path_utils.h"

namespace kestrum {

namespace {
// Line-input mode bits as the filer's questions use them.
constexpr int kFree = amFreeText;
constexpr int kNoBrowse = amNoBrowse;
constexpr int kPlainHistory = amPlainHistory;
constexpr int kSelectAll = amSelectAll;

// A row picked from a list, trimmed; nullopt when the pick was cancelled.
std::optional<std::string> Pick(Prompter& ask, const std::vector<std::string>& rows, ListStyle style) {
    const ListPick pick = ask.ShowList(rows, style);
    if (pick.result != ListResult::Ok) return std::nullopt;
    return Trim(pick.text);
}
}  // namespace

bool AskLineFor(Prompter& ask, const std::string& title, const std::string& prompt, std::string& text, int mode,
                std::vector<std::string>* history, const std::vector<std::string>* registered, int registeredKind) {
    LineQuestion q;
    q.title = title;
    q.prompt = prompt;
    q.text = text;
    q.mode = mode;
    q.history = history;
    q.registered = registered;
    q.registeredKind = registeredKind;
    if (!ask.AskLine(q)) return false;
    text = q.text;
    return true;
}

// ---- the selection ----------------------------------------------------------------

std::vector<std::size_t> Selection(const FileListModel& model) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < model.Count(); ++i) {
        if (model.Marked(i) && !model.IsDots(i)) out.push_back(i);
    }
    if (out.empty() && model.Count() > 0) out.push_back(static_cast<std::size_t>(model.CursorIndex()));
    return out;
}

std::vector<std::string> SelectionNames(const FileListModel& model) {
    std::vector<std::string> names;
    for (std::size_t i : Selection(model)) names.emplace_back(model.Name(i));
    return names;
}

std::string CursorName(const FileListModel& model) {
    if (model.Count() == 0) return std::string();
    return std::string(model.Name(static_cast<std::size_t>(model.CursorIndex())));
}

std::string SubjectText(const FileListModel& model) {
    if (model.MarkedCount() > 0) return "マークファイルを";
    if (model.Count() == 0) return std::string();
    return CursorName(model) + "を";
}

bool RefuseDotEntry(const FileListModel& model, Prompter& ask, const char* what, bool cursorOnly) {
    if (!cursorOnly && model.MarkedCount() > 0) return false;
    const std::string name = CursorName(model);
    if (name != "." && name != "..") return false;
    ask.ShowMessage(std::string(name == "." ? "カレントディレクトリ" : "親ディレクトリ") + what);
    return true;
}

// ---- marks ------------------------------------------------------------------------

long long DirectoryContentSize(FileSystem& files, const std::string& dir, const FileListModel& model) {
    long long total = 0;
    for (const FindRecord& r : files.Find(dir + "*.*")) {
        if (r.IsDots()) continue;
        if (r.IsDirectory()) {
            // Junctions and other reparse points are not followed.
            if (IsRealDirectory(r.attributes)) total += DirectoryContentSize(files, dir + r.name + "\\", model);
        } else {
            total += model.RoundToCluster(static_cast<long long>(r.size));
        }
    }
    return total;
}

void MarkAllOrNone(FileListModel& model, const ContentSize& size) {
    const bool any = model.MarkedCount() > 0;
    for (std::size_t i = 0; i < model.Count(); ++i) {
        if (any) {
            model.SetMark(i, false, size);
        } else if (!model.IsDirectory(i)) {
            model.SetMark(i, true, nullptr);
        }
    }
}

void MarkFromCursor(FileListModel& model, bool filesOnly, const ContentSize& size) {
    if (model.Count() == 0) return;
    for (std::size_t i = static_cast<std::size_t>(model.CursorIndex()); i < model.Count(); ++i) {
        if (filesOnly && model.IsDirectory(i)) continue;
        model.SetMark(i, true, size);
    }
}

void InvertMarks(FileListModel& model, bool filesOnly, const ContentSize& size) {
    for (std::size_t i = 0; i < model.Count(); ++i) {
        if (filesOnly && model.IsDirectory(i)) continue;
        model.SetMark(i, !model.Marked(i), size);
    }
}

void MarkByClick(FileListModel& model, long long index, bool shift, bool ctrl, const ContentSize& size) {
    if (!shift) {
        model.SetAnchor(index);
    } else {
        if (!ctrl) {
            for (std::size_t i = 0; i < model.Count(); ++i) model.SetMark(i, false, size);
        }
        const long long a = std::min(model.Anchor(), index);
        const long long b = std::max(model.Anchor(), index);
        for (long long i = a; i <= b; ++i) model.SetMark(static_cast<std::size_t>(i), true, size);
    }
    if (ctrl) {
        const std::size_t i = static_cast<std::size_t>(index);
        model.SetMark(i, !model.Marked(i), size);
    }
}

// ---- listing ----------------------------------------------------------------------

DriveTexts DriveSpaceTexts(const DiskSpace& space) {
    if (!space.known) return DriveTexts{"Total   ---", "Used    ---", "Free    ---"};
    return DriveTexts{"Total " + FormatThousands(static_cast<long long>(space.total)),
                      "Used " + FormatThousands(static_cast<long long>(space.total - space.free)),
                      "Free " + FormatThousands(static_cast<long long>(space.free))};
}

DriveTexts ListDirectory(FileSystem& files, const std::string& dir, FileListModel& model,
                         const FileListModel::AddRules& rules, const DisplayOptions& options) {
    model.Clear();
    for (const FindRecord& r : files.Find(dir + "*.*")) model.Offer(r, rules, options);
    const DiskSpace space = files.SpaceOf(dir);
    model.SetClusterSize(space.clusterBytes > 0 ? static_cast<long long>(space.clusterBytes) : 1);
    return DriveSpaceTexts(space);
}

// ---- commands on the selection ----------------------------------------------------

TransferOutcome CopyOrMoveSelection(FilerContext& c, FileCopyEngine& engine, bool move, bool fromList) {
    if (RefuseDotEntry(c.model, c.ask, move ? "を移動することは出来ません" : "をコピーすることは出来ません")) {
        return TransferOutcome::Cancelled;
    }
    Session& session = c.session;
    const std::string verb = move ? "移動" : "コピー";
    std::string dest;
    if (fromList) {
        const std::optional<std::string> picked = Pick(c.ask, session.lists.copyList, ListStyle::Keyed);
        if (!picked) return TransferOutcome::Cancelled;
        dest = *picked;
        AddToHistory(session.lists.dirHistory, dest);
    } else if (!AskLineFor(c.ask, SubjectText(c.model) + verb + "します。", verb + "先のディレクトリを入れて下さい", dest,
                           kPlainHistory, &session.lists.dirHistory, &session.lists.copyList)) {
        return TransferOutcome::Cancelled;
    }
    dest = Trim(dest);
    if (dest.empty()) return TransferOutcome::Cancelled;
    if (dest.size() == 1 && !IsLeadByte(static_cast<unsigned char>(dest[0]))) {
        dest += ":\\";
    } else {
        dest = WithDriveDirectory(dest, session);
    }
    dest = IncludeTrailingBackslash(dest);
    // Onto the current directory a copy duplicates and a move renames.
    if (SameText(dest, session.currentDir) || dest == ".\\") {
        return move ? TransferOutcome::Rename : TransferOutcome::Duplicate;
    }
    const std::vector<std::string> names = SelectionNames(c.model);
    if (move) {
        engine.MoveX(names, session.currentDir, cmAsk, dest);
    } else {
        engine.CopyX(names, session.currentDir, cmAsk, dest);
    }
    return TransferOutcome::Done;
}

void RenameSelection(FilerContext& c) {
    if (RefuseDotEntry(c.model, c.ask, "の名前を変更することは出来ません")) return;
    const std::string& dir = c.session.currentDir;
    for (const std::string& name : SelectionNames(c.model)) {
        std::string text = name;
        if (!AskLineFor(c.ask, "Rename", "新しい名前を入れてください", text, kFree | kSelectAll,
                        &c.session.lists.exeHistory)) {
            break;
        }
        if (!IsValidFileName(text)) {
            c.ask.ShowMessage(kBadNameMessage);
            continue;
        }
        if (text == name) continue;
        if (!RenameNoReplace(c.files, dir + name, dir + text)) c.ask.ShowMessage("リネームに失敗しました ->" + dir + name);
    }
}

bool MakeDirectoryCommand(FilerContext& c) {
    Session& session = c.session;
    std::string name;
    if (!AskLineFor(c.ask, "mKdir", "新しいディレクトリ名を入れてください", name, 0, &session.lists.dirHistory)) return false;
    name = Trim(name);
    if (name.empty()) return false;
    const bool absolute = (name.size() > 1 && name[1] == ':') || name.rfind("\\\\", 0) == 0;
    if (!ForceDirs(c.files, absolute ? name : session.currentDir + name)) {
        c.ask.MessageDlg("ディレクトリの作成に失敗しました。", MsgType::Warning, MsgButtons::Ok);
        return false;
    }
    return true;
}

bool PackSelection(FilerContext& c, ArchiveService& archives) {
    if (RefuseDotEntry(c.model, c.ask, "をPackすることは出来ません")) return false;
    std::string archive = ChangeFileExt(CursorName(c.model), "");
    if (!AskLineFor(c.ask, SubjectText(c.model) + "Ｐａｃｋします", "アーカイブ名を入力してください", archive,
                    kFree | kSelectAll, &c.session.lists.exeHistory)) {
        return false;
    }
    if (Trim(archive).empty()) return false;
    archives.Pack(archive, SelectionNames(c.model));
    return true;
}

bool UnpackSelection(FilerContext& c, ArchiveService& archives) {
    if (RefuseDotEntry(c.model, c.ask, "を解凍することは出来ません")) return false;
    Session& session = c.session;
    std::string dir;
    if (!AskLineFor(c.ask, SubjectText(c.model) + "解凍します", "ディレクトリを入力してください", dir, kPlainHistory,
                    &session.lists.dirHistory, &session.lists.copyList)) {
        return false;
    }
    dir = Trim(dir);
    if (dir.empty()) dir = session.currentDir;
    if (!EndsWithBackslash(dir) && !EndsWithColon(dir)) dir += "\\";
    for (const std::string& name : SelectionNames(c.model)) {
        if (archives.Extract(name, dir) != 0) break;
    }
    return true;
}

// ---- the listing's directory and mask ---------------------------------------------

std::string ProposedMask(const Session& session, const FileListModel& model) {
    if (session.maskText != "*.*") return "*.*";
    if (model.MarkedCount() == 0) return "*" + ExtractFileExt(CursorName(model));
    std::string text = "[";
    for (std::size_t i : Selection(model)) text += "*" + ExtractFileExt(model.Name(i)) + ",";
    text.back() = ']';
    return text;
}

bool AskAndSetMask(FilerContext& c, bool fromList, const LocalDate& today) {
    Session& session = c.session;
    std::string mask;
    if (fromList) {
        const std::optional<std::string> picked = Pick(c.ask, session.lists.findList, ListStyle::Numbered);
        if (!picked) return false;
        mask = *picked;
        AddToHistory(session.maskHistory, mask);
    } else {
        std::string text = ProposedMask(session, c.model);
        if (!AskLineFor(c.ask, "Find", "マスク名を入れてください", text, kFree | kNoBrowse | kSelectAll,
                        &session.maskHistory, &session.lists.findList, 3)) {
            return false;
        }
        mask = Trim(text);
    }
    if (mask.empty()) mask = "*.*";
    SetMask(mask, today, session.masks, session.maskText);
    return true;
}

std::optional<std::string> AskDirectoryTarget(FilerContext& c, bool fromList) {
    Session& session = c.session;
    std::string target;
    if (fromList) {
        const std::optional<std::string> picked = Pick(c.ask, session.lists.logList, ListStyle::Keyed);
        if (!picked) return std::nullopt;
        target = *picked;
    } else if (!AskLineFor(c.ask, "Logdisk カレントディレクトリの変更", "ディレクトリ名を入力してください", target, 0,
                           &session.lists.dirHistory, &session.lists.logList)) {
        return std::nullopt;
    }
    target = UpperAscii(Trim(target));
    if (target.size() == 1) target += ':';
    return target;
}

// ---- shortcuts --------------------------------------------------------------------

std::optional<std::string> AskShortcutDirectory(FilerContext& c, const std::string& name, bool listed) {
    Session& session = c.session;
    std::string dir;
    if (listed) {
        const std::optional<std::string> picked = Pick(c.ask, session.lists.copyList, ListStyle::Keyed);
        if (!picked) return std::nullopt;
        dir = *picked;
        AddToHistory(session.lists.dirHistory, dir);
    } else if (!AskLineFor(c.ask, name + "ショートカットの作成", "作成するディレクトリを入力してください。", dir, 0,
                           &session.lists.dirHistory)) {
        return std::nullopt;
    }
    if (dir.empty()) return std::nullopt;
    return IncludeTrailingBackslash(dir);
}

std::optional<std::string> AskShortcutName(FilerContext& c, const std::string& dir, const std::string& name) {
    std::string link = name + "へのｼｮｰﾄｶｯﾄ";
    if (!AskLineFor(c.ask, "ショートカット作成 " + dir, "ショートカット名を入力してください。", link, kFree,
                    &c.session.lists.exeHistory)) {
        return std::nullopt;
    }
    if (UpperAscii(ExtractFileExt(link)) != ".LNK") link += ".LNK";
    return link;
}

// ---- registrations ------------------------------------------------------------------

namespace {
// The list entry and the settings line of a directory registered under key
// (empty: the digit after the highest one listed, or none after "9").
std::pair<std::string, std::string> DirectoryEntry(const std::vector<std::string>& list, const std::string& dir,
                                                   const std::string& key) {
    if (!key.empty()) return {key + " " + dir, dir + "," + key};
    char highest = '0';
    for (const std::string& e : list) {
        if (!e.empty() && e[0] >= '0' && e[0] <= '9' && e[0] > highest) highest = e[0];
    }
    if (highest == '9') return {"  " + dir, dir};
    const std::string next(1, static_cast<char>(highest + 1));
    return {next + " " + dir, dir + "," + next};
}
}  // namespace

void RegisterDirectory(FilerContext& c, bool logList) {
    Session& session = c.session;
    std::string key;
    for (;;) {
        std::string text;
        if (!AskLineFor(c.ask, "Kestrum  呼び出しキー", "呼び出しキーを入力してください(１文字)[省略可]", text,
                        kFree | kNoBrowse, nullptr)) {
            return;
        }
        text = Trim(text);
        if (text.empty() || text.size() <= CharLen(text, 0)) {
            key = UpperAscii(text);
            break;
        }
    }
    std::vector<std::string>& list = logList ? session.lists.logList : session.lists.copyList;
    const auto [entry, line] = DirectoryEntry(list, session.currentDir, key);
    list.push_back(entry);
    TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
    file.AppendListLine(logList ? "[LogDiskList]" : "[CopyDirList]", line);
    file.SaveOrSay();
}

void RegisterAlias(FilerContext& c, bool withFile, const std::string& cursorFile) {
    Session& session = c.session;
    std::string source = withFile && c.model.CursorIndex() > 0 ? cursorFile : std::string();
    if (!AskLineFor(c.ask, "エイリアス元のファイル",
                    "エイリアス元のファイル名を入れてください\r\nオプションも同時に指定出来ます", source, kFree,
                    &session.lists.exeHistory)) {
        return;
    }
    std::string name;
    if (!AskLineFor(c.ask, CursorName(c.model) + "のエイリアス", "エイリアス名を入れてください", name, kFree,
                    &session.lists.exeHistory)) {
        return;
    }
    name = Trim(name);
    if (name.empty()) return;
    const int found = FindAlias(session, name);
    if (found >= 0) {
        const AliasEntry& old = session.lists.aliases[static_cast<std::size_t>(found)];
        const int r = c.ask.MessageDlgCaption(
            "Kestrum Alias", name + "は既に登録されてます\r\n" + (old.directory.empty() ? "指定されていません" : old.directory),
            MsgType::Confirmation, MsgButtons::YesCancel);
        if (r != mrYes) return;
    }
    std::string dir;
    const int r = c.ask.MessageDlg(name + "の起動ディレクトリを指定しますか？", MsgType::Confirmation, MsgButtons::YesNoCancel);
    if (r == mrCancel) return;
    if (r == mrYes) {
        dir = session.currentDir;
        if (!AskLineFor(c.ask, name + "のエイリアス", "起動ディレクトリを入力してください", dir, 0,
                        &session.lists.dirHistory)) {
            return;
        }
    }
    const AliasEntry entry{name, source, dir};
    if (found >= 0) {
        session.lists.aliases[static_cast<std::size_t>(found)] = entry;
    } else {
        session.lists.aliases.push_back(entry);
    }
    SaveAliases(session);
}

void MakeHomeDirectory(Session& session) {
    TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
    file.WriteLine("[環境変数]", "HOMEDIR", "HomeDir, " + session.currentDir);
    file.SaveOrSay();
    session.settings.homeDir = session.currentDir;
}

}  // namespace kestrum
