// The command interpreter.
#include "shell/interpreter.h"

#include "common/history.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "common/split.h"
#include "config/aliases.h"
#include "config/services.h"
#include "config/settings_loader.h"
#include "shell/macros.h"

namespace kestrum {

namespace {

Prompter& Ask() { return CurrentPrompter(); }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The alias window's texts.
std::string AliasDetails(const AliasEntry& a) {
    return "ファイル名\r\n    " + a.expansion + "\r\n起動ディレクトリ\r\n    " +
           (a.directory.empty() ? std::string("指定されていません") : a.directory);
}

}  // namespace

const std::string& Interpreter::Name(int n) const { return CommandNameIn(state_.lists, n); }

int Interpreter::FindCommand(const std::string& word) const {
    if (word.empty()) return -1;
    for (int i = 0; i < kCommandCount; ++i) {
        if (SameText(Name(i), word)) return i;
    }
    return -1;
}

int Interpreter::Execute_t(const std::string& input) {
    if (callDepth_ == 0) aborted_ = false;
    if (aborted_) return rrFailed;
    if (callDepth_ >= kMaxCallDepth) {
        aborted_ = true;
        Ask().MessageDlg("コマンドの呼び出しが深すぎます。関連付けやエディタの設定が自分自身を呼んでいないか確かめてください。",
                         MsgType::Error, MsgButtons::Ok);
        return rrFailed;
    }
    struct Nesting {
        int& depth;
        explicit Nesting(int& d) : depth(d) { ++depth; }
        ~Nesting() { --depth; }
    } nesting(callDepth_);

    const std::string line = Trim(input);
    const HeadTail ht = SplitFirst(line, ' ');
    std::string word = ht.head;
    std::string rest = Trim(ht.tail);
    std::string dir;
    std::vector<bool> chain(state_.lists.aliases.size(), false);
    ResolveAliasChain(state_, word, rest, dir, chain);
    if (!state_.settings.semicolonMode) return Execute_t2(word, rest, dir);
    return RunFields(rest.empty() ? word : word + " " + rest, dir, 0, &chain);
}

int Interpreter::RunFields(const std::string& text, std::string& dir, int depth, const std::vector<bool>* headChain) {
    if (depth > kMaxAliasDepth) {
        aborted_ = true;
        Ask().MessageDlg("エイリアスの展開が深すぎます。エイリアスが自分自身を呼んでいないか確かめてください。",
                         MsgType::Error, MsgButtons::Ok);
        return rrFailed;
    }
    int result = rrWindow;
    for (int n = 0;; ++n) {
        const std::optional<std::string> field = SplitField(';', text, n);
        if (!field) break;
        const HeadTail ht = SplitFirst(*field, ' ');
        std::string word = ht.head;
        std::string rest = Trim(ht.tail);
        // The first word of an expansion is already resolved: an alias that
        // starts with its own name resolves once, as outside this mode.
        std::vector<bool> chain = n == 0 && headChain ? *headChain
                                                      : std::vector<bool>(state_.lists.aliases.size(), false);
        std::string aliasDir = dir;
        if (ResolveAliasChain(state_, word, rest, aliasDir, chain) < 0) {
            result = Execute_t2(word, rest, dir);
        } else {
            dir = aliasDir;
            result = RunFields(rest.empty() ? word : word + " " + rest, dir, depth + 1, &chain);
        }
        // A limit hit anywhere ends the whole line.
        if (aborted_) return rrFailed;
    }
    return result;
}

void Interpreter::ExpandMacros(std::string& text) {
    MacroContext ctx;
    if (hasOneShot_) {
        ctx.currentFile = oneShotFile_;
        hasOneShot_ = false;
        oneShotFile_.clear();
    } else {
        ctx.currentFile = TheArchives().ViewerFile();
        if (ctx.currentFile.empty() && TheFiler().Showing()) ctx.currentFile = TheFiler().CurrentFile();
    }
    if (!state_.settings.macroFlag && !forceMacros_) return;
    const LocalDate today = host_.Today();
    ctx.month = today.month;
    ctx.day = today.day;
    ctx.shortPath = [this](const std::string& p) { return host_.ShortPath(p); };
    ExpandMacroText(text, state_.settings, ctx, forceMacros_);
    forceMacros_ = false;
}

int Interpreter::Execute_t2(std::string word, std::string arg, std::string dir) {
    const std::string rawArg = arg;
    arg = ExpandAliasArgument(state_, arg);
    const std::string line = Trim(word + " " + arg);
    if (line.empty()) return rrWindow;
    if (line == "." || line == "..") {
        if (host_.StartFile("", host_.FullPath(line), "", "") > 32) return rrStarted;
    }
    arg = Trim(arg);
    ExpandMacros(word);
    ExpandMacros(arg);
    int n = FindCommand(word);
    // CD\WINDOWS and cd/windows: the change-directory command glued to its path.
    const std::string head = SlashesToBackslashes(word.substr(0, std::min<std::size_t>(3, word.size())));
    if (IsCharBoundary(word, head.size()) && SameText(head, Name(cmdCD) + "\\")) {
        n = cmdCD;
        arg = word.substr(2) + " " + arg;
    }
    // c: and c:\ change the drive; anything after them is dropped.
    if ((word.size() == 2 || (word.size() == 3 && word[2] == '\\')) && IsDriveLetter(word[0]) && word[1] == ':') {
        n = cmdCD;
        arg = word;
    }
    arg = Trim(arg);
    if (n < 0) return StartProgram(word, arg, dir);
    host_.SetStatus(line);
    return RunCommand(n, arg, rawArg, dir);
}

int Interpreter::StartProgram(std::string word, const std::string& arg, const std::string& dir) {
    const std::string full = arg.empty() ? word : word + " " + arg;
    static const char* const kExts[] = {".EXE", ".BAT", ".COM", ".LNK", ".PIF"};
    // The longest leading run of words that names an existing file is the
    // program, so a path with blanks needs no quotes.
    std::string program;
    std::string params;
    std::size_t end = full.size();
    for (;;) {
        const std::string cand = full.substr(0, end);
        std::string found;
        if (host_.Exists(cand)) {
            found = cand;
        } else {
            for (const char* e : kExts) {
                if (host_.Exists(cand + e)) {
                    found = cand + e;
                    break;
                }
            }
        }
        if (!found.empty()) {
            program = found;
            params = Trim(full.substr(end));
            break;
        }
        std::size_t blank = std::string::npos;
        for (std::size_t i = 0; i < end; i = NextChar(full, i)) {
            if (full[i] == ' ') blank = i;
        }
        if (blank == std::string::npos) {
            const std::size_t first = FindChar(full, ' ');
            program = full.substr(0, first);
            params = first == std::string::npos ? std::string() : Trim(full.substr(first));
            break;
        }
        end = blank;
    }
    host_.SetStatus(params.empty() ? program : program + " " + params);

    // A start that fails is told in the status line only, so that scripts
    // and aliases go on without a message box.
    const std::string ext = UpperAscii(ExtractFileExt(program));
    if (!ext.empty() && ext != ".EXE" && ext != ".LNK" && ext != ".PIF" && ext != ".BAT" && ext != ".COM") {
        const int result = OpenByAssociation(program);
        if (result == rrFailed && !aborted_) host_.SetStatus(program + " を開けません");
        return result;
    }
    if (host_.StartFile("", program, params, dir.empty() ? state_.currentDir : host_.FullPath(dir)) <= 32) {
        host_.SetStatus(program + " を起動できません");
        return rrFailed;
    }
    if (state_.settings.hideFlag) host_.HideAfterStart();
    return rrStarted;
}

int Interpreter::OpenByAssociation(const std::string& file, int candidate) {
    if (!openingDocument_.empty() && SameText(openingDocument_, file)) return rrFailed;
    struct Guard {
        std::string& slot;
        ~Guard() { slot.clear(); }
    } guard{openingDocument_};
    openingDocument_ = file;

    std::string ext = UpperAscii(ExtractFileExt(file));
    if (!ext.empty()) ext.erase(0, 1);
    auto lookup = [&](const std::vector<ExtEntry>& table) -> const ExtEntry* {
        for (const ExtEntry& e : table) {
            const std::string key = !e.ext.empty() && e.ext[0] == '.' ? e.ext.substr(1) : e.ext;
            if (key == ext) return &e;
        }
        return nullptr;
    };
    const ExtEntry* entry = lookup(state_.setExt);
    if (!entry) entry = lookup(state_.lists.ext);
    if (entry) {
        const std::optional<std::string> cand = SplitField(',', entry->command, candidate);
        if (cand && !cand->empty()) {
            std::string cmd = *cand;
            if (cmd.find("/$") == std::string::npos && cmd.find(state_.settings.fmc) == std::string::npos) {
                cmd += " " + state_.settings.fmc;
            }
            // The association's own macro must expand whatever MACROFLAG says.
            SetOneShotFile(file);
            ForceMacros();
            ExpandMacros(cmd);
            return Execute_t(cmd);
        }
    }
    return host_.OpenWithPlatform(file) ? rrStarted : rrFailed;
}

int Interpreter::RunCommand(int n, const std::string& arg, const std::string& rawArg, const std::string& dir) {
    (void)dir;
    switch (n) {
    case cmdCD: return CmdCD(arg);
    case cmdLS:
    case cmdDIR:
        if (!arg.empty()) CmdMask(arg);
        ShowFiler(n == cmdDIR);
        return rrInternal;
    case cmdEXIT: host_.Exit(); return rrInternal;
    case cmdPVIEW: TheViewers().ShowImage(Trim(arg)); return rrWindow;
    case cmdTVIEW: TheViewers().ViewFile(arg); return rrWindow;
    case cmdMASK: return CmdMask(arg);
    case cmdLVIEW:
        TheViewers().HideImageAndText();
        TheArchives().ShowViewer(arg);
        return rrInternal;
    case cmdLAUTO: return CmdLauto(arg);
    case cmdLSHELP: host_.ShowHelp(6); return rrInternal;
    case cmdEDIT: {
        std::string a = arg;
        if (state_.settings.editOption && !a.empty() && a[0] != '"') a = "\"" + a + "\"";
        return Execute_t(state_.settings.editer + " " + a);
    }
    case cmdVIEW: {
        const std::string viewer = state_.settings.viewMode ? Name(cmdTVIEW) : state_.settings.viewer;
        return Execute_t(viewer + " " + arg);
    }
    case cmdCFGLOAD: return CmdCfgLoad(arg);
    case cmdSETEXT: return CmdSetExt(arg);
    case cmdUNSETEXT: return CmdUnsetExt(arg);
    case cmdALIAS: return CmdAlias(rawArg);
    case cmdUNALIAS: return CmdUnalias(Trim(rawArg));
    case cmdCLOSE: TheFiler().Close(); return rrWindow;
    case cmdMENU: return CmdMenu(arg);
    case cmdVER: host_.ShowVersion(); return rrInternal;
    case cmdDROP:
    case cmdDROP2:
        Ask().ShowMessage("USAGE:DROP ウインドウキーワード,(起動するアプリ名),（渡すファイル名）");
        return rrInternal;
    case cmdWAIT: return CmdWait(arg);
    case cmdSLEEP: return CmdSleep(arg);
    case cmdSHEXE: return CmdShexe(arg);
    default: return RunFileCommand(n, arg);
    }
}

void Interpreter::ShowFiler(bool focusCommandLine) {
    FilerService& filer = TheFiler();
    filer.Show();
    if (focusCommandLine) filer.FocusCommandLine();
}

int Interpreter::CmdCD(const std::string& arg) {
    std::string target = arg;
    if (target.empty()) {
        if (state_.lists.logList.empty()) {
            Ask().ShowMessage("登録されていません");
            return rrInternal;
        }
        const ListPick pick = Ask().ShowList(state_.lists.logList, ListStyle::Keyed);
        if (pick.result != ListResult::Ok) return rrInternal;
        target = Trim(pick.text);
    }
    // A directory that cannot be entered is told in the status line only.
    if (!host_.ChangeDirectory(target)) host_.SetStatus(target + " に移動できません");
    if (TheFiler().Showing()) {
        TheFiler().RefreshListing();
        ShowFiler(state_.lineOrigin == 1 || !host_.ShellShowing());
    }
    return rrInternal;
}

int Interpreter::CmdMask(const std::string& arg) {
    SetMask(arg.empty() ? std::string("*.*") : arg, host_.Today(), state_.masks, state_.maskText);
    TheFiler().RefreshListing();
    return rrInternal;
}

int Interpreter::CmdLauto(const std::string& arg) {
    const std::string u = UpperAscii(Trim(arg));
    if (u == "OFF") {
        state_.lautoOn = false;
    } else if (u == "ON") {
        if (state_.lautoList.empty()) {
            Ask().ShowMessage("Err:Lautoが以前に設定されていません。");
            state_.lautoOn = false;
        } else {
            state_.lautoOn = true;
        }
    } else {
        const BracketList list = ParseBracketList(Trim(arg));
        state_.lautoList.clear();
        for (const std::string& item : list.items) {
            if (!item.empty()) state_.lautoList.push_back(UpperAscii(item));
        }
        state_.lautoLabel = Trim(list.label);
        state_.lautoOn = !state_.lautoList.empty();
    }
    return rrInternal;
}

int Interpreter::CmdCfgLoad(const std::string& arg) {
    const std::string before = state_.settingsPath;
    if (!arg.empty()) {
        state_.settingsPath = arg.size() < 2 || arg[1] != ':' ? state_.programDir + arg : arg;
    }
    if (!host_.ReloadConfiguration()) {
        // Nothing was read: the settings in force and their file stay.
        const std::string path = state_.settingsPath;
        state_.settingsPath = before;
        Ask().MessageDlg("設定ファイル " + path + (host_.Exists(path) ? " を読み込めません。" : " が見つかりません。") +
                             "\r\n今の設定のままです。",
                         MsgType::Error, MsgButtons::Ok);
    }
    return rrInternal;
}

int Interpreter::CmdSetExt(const std::string& arg) {
    const HeadTail ht = SplitFirst(arg, ',');
    const std::string ext = UpperAscii(Trim(ht.head));
    const std::string command = Trim(ht.tail);
    for (ExtEntry& e : state_.setExt) {
        if (e.ext == ext) {
            e.command = command;
            return rrInternal;
        }
    }
    state_.setExt.push_back({ext, command});
    return rrInternal;
}

int Interpreter::CmdUnsetExt(const std::string& arg) {
    const std::string ext = UpperAscii(Trim(arg));
    for (auto it = state_.setExt.begin(); it != state_.setExt.end(); ++it) {
        if (it->ext == ext) {
            state_.setExt.erase(it);
            return rrInternal;
        }
    }
    Ask().ShowMessage("拡張子" + arg + "は" + Name(cmdSETEXT) + "されていません。");
    return rrInternal;
}

int Interpreter::CmdAlias(const std::string& raw) {
    const AliasEntry entry{SplitField(',', raw, 0).value_or(""), SplitField(',', raw, 1).value_or(""),
                           SplitField(',', raw, 2).value_or("")};
    auto& aliases = state_.lists.aliases;
    const int found = FindAlias(state_, entry.name);
    if (found >= 0) {
        AliasEntry& old = aliases[static_cast<std::size_t>(found)];
        if (!entry.expansion.empty()) {
            const int r = Ask().MessageDlgCaption(
                "Kestrum Alias", entry.name + "は既に登録されてます\r\n" + AliasDetails(old) + "\r\n上書きしますか？",
                MsgType::Confirmation, MsgButtons::YesCancel);
            if (r == mrYes) {
                old = entry;
                SaveAliases(state_);
            }
        } else {
            Ask().MessageDlgCaption("Kestrum Alias", "エイリアス" + old.name + "の情報\r\n" + AliasDetails(old),
                                    MsgType::Information, MsgButtons::Ok);
        }
        return rrInternal;
    }
    if (!entry.expansion.empty()) {
        aliases.push_back(entry);
        SaveAliases(state_);
    } else {
        Ask().ShowMessage(entry.name + "はエイリアス登録されてません");
    }
    return rrInternal;
}

int Interpreter::CmdUnalias(const std::string& name) {
    const int found = FindAlias(state_, name);
    if (found < 0) {
        Ask().ShowMessage(name + "はエイリアス登録されてません");
        return rrInternal;
    }
    if (Ask().MessageDlg("エイリアス" + name + "を削除します\r\nよろしいですか。", MsgType::Confirmation,
                         MsgButtons::YesNo) == mrYes) {
        state_.lists.aliases.erase(state_.lists.aliases.begin() + found);
        SaveAliases(state_);
    }
    return rrInternal;
}

int Interpreter::CmdMenu(const std::string& arg) {
    const std::string u = UpperAscii(Trim(arg));
    if (u == "OFF" || (u != "ON" && state_.menuBarShown)) {
        host_.MenuOff();
    } else {
        host_.MenuOn();
    }
    return rrInternal;
}

int Interpreter::CmdWait(const std::string& arg) {
    if (Trim(arg).empty()) {
        Ask().ShowMessage("アプリケーションを起動し、その終了を待ちます");
        return rrInternal;
    }
    const HeadTail ht = SplitFirst(arg, ' ');
    std::string program = ht.head;
    std::string params = Trim(ht.tail);
    std::string dir;
    ResolveAlias(state_, program, params, dir);
    host_.StartAndWait(program, params, dir.empty() ? state_.currentDir : host_.FullPath(dir));
    return rrInternal;
}

int Interpreter::CmdSleep(const std::string& arg) {
    const std::optional<int> ms = ParseInt(arg);
    if (!ms) {
        Ask().MessageDlg("'" + arg + "' は整数ではありません", MsgType::Error, MsgButtons::Ok);
        return rrInternal;
    }
    if (*ms > 0) host_.Sleep(*ms);
    return rrInternal;
}

int Interpreter::CmdShexe(const std::string& arg) {
    const std::string verb = Trim(SplitField(',', arg, 0).value_or(""));
    const std::string file = SplitField(',', arg, 1).value_or("");
    const HeadTail ht = SplitFirst(file, ' ');
    std::string word = ht.head;
    std::string rest;
    std::string dir;
    ResolveAlias(state_, word, rest, dir);
    host_.StartFile(verb, file, "", dir.empty() ? state_.currentDir : host_.FullPath(dir));
    return rrInternal;
}

}  // namespace kestrum
