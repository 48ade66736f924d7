// The command interpreter: runs a line of the command language (aliases,
// ";" sequences, macros, the internal commands and program starts) against
// the shell state, reaching the platform only through ShellHost.
#pragma once

#include <string>
#include <vector>

#include "config/commands.h"
#include "config/mask.h"
#include "config/session.h"
#include "shell/file_commands.h"

namespace kestrum {

// What the interpreter asks of the platform and of the other windows.
class ShellHost {
public:
    virtual ~ShellHost() = default;
    // A file or directory of that name exists (relative names against the
    // current directory).
    virtual bool Exists(const std::string& path) = 0;
    virtual std::string FullPath(const std::string& path) = 0;
    virtual std::string ShortPath(const std::string& path) = 0;
    // StartFile: ShellExecute with verb (may be empty), file, parameters, directory; the
    // platform's result (above 32 is success).
    virtual long long StartFile(const std::string& verb, const std::string& file, const std::string& params,
                                   const std::string& dir) = 0;
    // Opens a document with the extension's first registered verb; false
    // when it has none or starting failed.
    virtual bool OpenWithPlatform(const std::string& file) = 0;
    // Starts a program and waits until it ends (the window does not respond).
    virtual void StartAndWait(const std::string& program, const std::string& params, const std::string& dir) = 0;
    virtual void Sleep(int ms) = 0;
    virtual LocalDate Today() = 0;

    virtual bool ChangeDirectory(const std::string& path) = 0;

    // The shell window shows.
    virtual bool ShellShowing() = 0;

    virtual void ShowVersion() = 0;
    virtual void ShowHelp(int topic) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void MenuOn() = 0;
    virtual void MenuOff() = 0;
    // Adds the active box's text to the history and closes the shell.
    virtual void Exit() = 0;
    // After a program started from the shell's own box with HIDEFLAG: hides
    // the shell as the hot key does.
    virtual void HideAfterStart() = 0;
    // Reloads the settings file, the key files and the colour file and
    // applies them (the settings path is already set). False, with nothing
    // changed, when the settings file cannot be read.
    virtual bool ReloadConfiguration() = 0;
};

class Interpreter {
public:
    Interpreter(Session& state, ShellHost& host) : state_(state), host_(host) {}

    // Runs a full command line.
    int Execute_t(const std::string& line);
    // Runs one command word with its argument and start directory.
    int Execute_t2(std::string word, std::string arg, std::string dir);

    // The macros, with the one-shot current file and force flag that the
    // next call consumes.
    void ExpandMacros(std::string& text);
    void SetOneShotFile(const std::string& file) {
        oneShotFile_ = file;
        hasOneShot_ = true;
    }
    void ForceMacros() { forceMacros_ = true; }

    // Opens a document by association: SETEXT, then [EXT], then the
    // platform's verb. candidate 0 is Return's, 1 Shift+Return's.
    int OpenByAssociation(const std::string& file, int candidate = 0);

    // Index of a command word in the table (case-insensitive), or -1.
    int FindCommand(const std::string& word) const;
    const std::string& Name(int n) const;

    // The platform side of the file commands (CP, MV, RM, REN ...); without
    // one they do nothing.
    void SetFileHost(FileCommandHost* files) { files_ = files; }

    // How deep aliases may nest through ";" before the line is refused.
    static constexpr int kMaxAliasDepth = 16;
    // How deep command lines may run one another (an association that opens
    // a file of its own kind, an editor setting naming EDIT) before the line
    // is refused.
    static constexpr int kMaxCallDepth = 16;

private:
    // headChain: the aliases already resolved into the first word of text;
    // they do not resolve again there (nullptr: none).
    int RunFields(const std::string& text, std::string& dir, int depth, const std::vector<bool>* headChain);
    int StartProgram(std::string word, const std::string& arg, const std::string& dir);
    int RunCommand(int n, const std::string& arg, const std::string& rawArg, const std::string& dir);
    void Usage(int n, const std::string& text);

    // LS and DIR, and CD while the filer shows: the filer in front, focused on
    // its command line or its grid.
    void ShowFiler(bool focusCommandLine);
    int CmdCD(const std::string& arg);
    int CmdMask(const std::string& arg);
    int CmdLauto(const std::string& arg);
    int CmdCfgLoad(const std::string& arg);
    int CmdSetExt(const std::string& arg);
    int CmdUnsetExt(const std::string& arg);
    int CmdAlias(const std::string& arg);
    int CmdUnalias(const std::string& arg);
    int CmdMenu(const std::string& arg);
    int CmdWait(const std::string& arg);
    int CmdSleep(const std::string& arg);
    int CmdShexe(const std::string& arg);
    // The file commands.
    int RunFileCommand(int n, const std::string& arg);
    int CmdCopyMove(int n, const std::string& arg);
    int CmdDelete(int n, const std::string& arg);
    int CmdRen(const std::string& arg);
    int CmdMren(const std::string& arg);
    int CmdSplit(const std::string& arg);
    int CmdChwp(const std::string& arg);
    // Renames one entry after the name check; false when the platform refused.
    bool RenameEntry(const std::string& dir, const std::string& from, const std::string& to);

    Session& state_;
    ShellHost& host_;
    FileCommandHost* files_ = nullptr;
    std::string oneShotFile_;
    bool hasOneShot_ = false;
    bool forceMacros_ = false;
    std::string openingDocument_;  // guards against a second request while one is handled
    int callDepth_ = 0;            // Execute_t calls under way
    bool aborted_ = false;         // a nesting limit was hit in this line
};

}  // namespace kestrum
