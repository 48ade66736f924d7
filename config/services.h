// How the subsystems reach one another: small interfaces declared here, below
// all of them, and implemented by the subsystem that owns the thing asked
// for. The application installs the implementations at start-up
// (InstallService). Until one is installed (a test of one window alone) its calls do nothing and answer
// "no", so that every subsystem can run without the others.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include "common/installed.h"
#include "config/commands.h"
#include "config/window_state.h"

namespace kestrum {

// Runs command lines: the shell's interpreter in the running program.
// Without one, nothing runs and every line fails.
class CommandService {
public:
    virtual ~CommandService() = default;
    // Runs a full command line (aliases, ";" sequences, macros); a RunResult.
    virtual int Execute(const std::string& /*line*/) { return rrFailed; }
    // Opens a document by association: SETEXT, then [EXT], then the
    // platform's verb; candidate 0 is Return's, 1 Shift+Return's. A RunResult.
    virtual int OpenByAssociation(const std::string& /*file*/, int /*candidate*/) { return rrFailed; }
    // Expands the "/$" macros of text with file as the one-shot current
    // file, whatever MACROFLAG says.
    virtual void ExpandMacrosFor(const std::string& /*file*/, std::string& /*text*/) {}
};

// The filer window, as the shell window, the command boxes and the settings
// dialog see it.
class FilerService {
public:
    virtual ~FilerService() = default;
    // A filer exists (shown or not).
    virtual bool Present() const { return false; }
    virtual bool Showing() const { return false; }
    // Shows the filer as LS does: listed, in front, its grid focused.
    virtual void Show() {}
    // Moves the focus to the filer's command line.
    virtual void FocusCommandLine() {}
    // Full path of the entry under the cursor, empty when none.
    virtual std::string CurrentFile() const { return {}; }
    // Hides it and leaves its listing as it is.
    virtual void Hide() {}
    // Closes it as Escape does when confirmed (the shell window comes back).
    virtual void Close() {}
    // Runs a filer action by code; false when there is no such action here.
    virtual bool RunAction(int /*code*/) { return false; }
    // The fonts of the file-name area (0), drive bar (1), function-key bar
    // (2) and command line (3); a new one is applied at once.
    virtual FontSpec Font(int /*which*/) const { return {}; }
    virtual void SetFont(int /*which*/, const FontSpec& /*font*/) {}
    // Lists the directory again when the filer shows, the cursor kept (after
    // a file was written or edited elsewhere).
    virtual void RefreshListing() {}
};

// The shell window, as the filer, the settings dialog and the system menus
// see it.
class ShellWindowService {
public:
    virtual ~ShellWindowService() = default;
    virtual bool Present() const { return false; }
    // Shows the shell with its command box focused, as the tray entry
    // "シェル" does (closing the filer under HAITAHYOJI).
    virtual void ShowShell() {}
    // Brings the shell to the front with the focus in its command box.
    virtual void FocusCommandBox() {}
    // Shows or hides the window and nothing more.
    virtual void Show() {}
    virtual void Hide() {}
    // Closes the shell window, which ends the program (posted).
    virtual void Close() {}
    // What the hot key does: hides the program's window when it is active,
    // else brings it back.
    virtual void HotKeyToggle() {}
    // The prompt in front of the command box shows dir.
    virtual void SetPrompt(const std::string& /*dir*/) {}
    // The command box's font; a new one is applied at once.
    virtual FontSpec Font() const { return {}; }
    virtual void SetFont(const FontSpec& /*font*/) {}
};

// The viewer windows.
class ViewerService {
public:
    virtual ~ViewerService() = default;
    // Hides the image and the text viewer.
    virtual void HideImageAndText() {}
    // PVIEW: shows the image viewer (on file, when one is named).
    virtual void ShowImage(const std::string& /*file*/) {}
    // The client size of the image viewer; false without one.
    virtual bool ImageViewerClientSize(int& /*width*/, int& /*height*/) const { return false; }
    // Shows a text that is not a file (an archive's listing, a command's
    // output) in the text viewer under `title`; false without a text viewer,
    // and the caller shows it some other way.
    virtual bool ShowText(const std::string& /*title*/, const std::string& /*text*/) { return false; }
    // Loads a file into the text viewer and shows it; false without a text
    // viewer or when the file is refused or cannot be read (the viewer has
    // told why).
    virtual bool ViewFile(const std::string& /*path*/) { return false; }
};

// Packing and unpacking, the archiver libraries' own commands and the
// archive viewer. Without one nothing is packed or unpacked and every
// call fails.
class ArchiveService {
public:
    virtual ~ArchiveService() = default;
    // Packs names (entries of the current directory) into the LHA archive
    // named as typed. 0 on success; a failure has been reported.
    virtual int Pack(const std::string& /*archive*/, const std::vector<std::string>& /*names*/) { return 1; }
    // Unpacks archive into dir with the library its extension names; 0 on
    // success.
    virtual int Extract(const std::string& /*archive*/, const std::string& /*dir*/) { return 1; }
    // The shell's DLHA, DTAR, DISH and LZH2EXE (by command number) with the
    // text after the command word; false when the command is none of them.
    virtual bool RunLibraryCommand(int /*command*/, const std::string& /*text*/) { return false; }
    // LVIEW: shows the archive viewer on the argument ("/V" and a path).
    virtual void ShowViewer(const std::string& /*arg*/) {}
    // The archive the viewer shows while it is showing, else empty.
    virtual std::string ViewerFile() const { return {}; }
};

// What only the application can do: it owns the task-bar window and knows
// every window made at start.
class ApplicationService {
public:
    virtual ~ApplicationService() = default;
    // Applies what the settings loader read to the windows (menu bar,
    // prompt, hot key, tray icon, task bar).
    virtual void ApplyLoadedSettings() {}
    // TASKTRAY and TASKSHOW: whether the task-bar button shows now.
    virtual void UpdateTaskBar() {}
    // The hidden window that carries the task-bar button to the front.
    virtual void BringTaskWindowToFront() {}
    // What closing the shell writes: the colour file and the close state of
    // every window.
    virtual void SaveStateAtClose() {}
    // FILERAUTO: opens the filer through the shell's LS menu command.
    virtual void OpenFilerAtStart() {}
};

// Installs impl as the service S in force until the subscription goes (S
// named explicitly: an implementation of several installs once for each).
template <typename S>
[[nodiscard]] Subscription InstallService(std::type_identity_t<S>& impl) {
    return Install<S>(impl);
}

// The one installed last and still installed, or one that does nothing.
CommandService& TheCommands();
FilerService& TheFiler();
ShellWindowService& TheShellWindow();
ViewerService& TheViewers();
ArchiveService& TheArchives();
ApplicationService& TheApplication();

// Runs a command line (the interpreter's entry point) through TheCommands().
int Execute_t(const std::string& line);
// Name of internal command n as the settings call it now.
const std::string& CommandName(int n);
// Runs one of the system-menu entries; false for other ids.
bool HandleSystemMenuCommand(unsigned id);

}  // namespace kestrum
