// The interpreter's platform side: the ShellHost of the running program,
// and the services through which the windows reach the interpreter, the
// viewers and the application.
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "app/app_win.h"
#include "app/app_window_win.h"
#include "app/forms_win.h"
#include "archive/archive_service_win.h"
#include "common/handles_win.h"
#include "common/history.h"
#include "common/prompter_win.h"
#include "common/sjis.h"
#include "config/colors_win.h"
#include "config/file_commit_win.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "fileops/change_dir_win.h"
#include "fileops/verbs_win.h"
#include "filer/frm_fm_win.h"
#include "shell/command_box_win.h"
#include "shell/frm_main_win.h"
#include "shell/interpreter.h"
#include "viewers/text_viewer_win.h"

namespace kestrum {

AppState& App() {
    static AppState state;
    return state;
}

namespace {

class WinShellHost : public ShellHost {
public:
    bool Exists(const std::string& path) override {
        if (path.empty()) return false;
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string FullPath(const std::string& path) override {
        char full[MAX_PATH * 2] = {};
        const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
        return n > 0 && n < sizeof full ? std::string(full) : path;
    }
    std::string ShortPath(const std::string& path) override {
        char s[MAX_PATH * 2] = {};
        const DWORD n = GetShortPathNameA(path.c_str(), s, sizeof s);
        return n > 0 && n < sizeof s ? std::string(s) : std::string();
    }
    long long StartFile(const std::string& verb, const std::string& file, const std::string& params,
                           const std::string& dir) override {
        HWND owner = App().main ? App().main->Handle() : nullptr;
        return reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                                       params.empty() ? nullptr : params.c_str(),
                                                       dir.empty() ? nullptr : dir.c_str(), SW_SHOWNORMAL));
    }
    bool OpenWithPlatform(const std::string& file) override {
        const std::string verb = DefaultVerb(file);
        if (verb.empty()) return false;
        HWND owner = App().filer ? App().filer->Handle() : nullptr;
        return reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, verb.c_str(), file.c_str(), nullptr, nullptr,
                                                       SW_SHOW)) > 32;
    }
    void StartAndWait(const std::string& program, const std::string& params, const std::string& dir) override {
        std::string cmd = program + " " + params;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
            return;  // a program that cannot start is simply not waited for
        }
        const UniqueHandle process(pi.hProcess);
        const UniqueHandle thread(pi.hThread);
        while (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) ::Sleep(500);
    }
    void Sleep(int ms) override { ::Sleep(static_cast<DWORD>(ms)); }
    LocalDate Today() override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return LocalDate{t.wYear, t.wMonth, t.wDay, t.wHour};
    }
    bool ChangeDirectory(const std::string& path) override {
        // Only the directory asked for counts: falling back to the drive's
        // root is no success.
        const bool bareDrive = path.size() == 2 && path[1] == ':';
        const DWORD a = GetFileAttributesA(path.c_str());
        const bool isDirectory = bareDrive || (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY));
        return kestrum::ChangeDirectory(path) && isDirectory;
    }
    bool ShellShowing() override { return App().main && App().main->Visible(); }
    void ShowVersion() override { ShowVersionWindow(); }
    void ShowHelp(int topic) override {
        HWND owner = App().main ? App().main->Handle() : nullptr;
        WinHelpA(owner, TheSession().helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(topic));
    }
    void SetStatus(const std::string& text) override {
        if (App().main) App().main->SetStatus(text);
    }
    void MenuOn() override {
        if (App().main) App().main->MenuOn();
    }
    void MenuOff() override {
        if (App().main) App().main->MenuOff();
    }
    void Exit() override {
        if (ActiveEdit()) AddToHistory(TheSession().lists.exeHistory, GetText(ActiveEdit()));
        if (App().main) SendMessageA(App().main->Handle(), WM_CLOSE, 0, 0);
    }
    void HideAfterStart() override {
        AppState& app = App();
        if (app.main && TheSession().activeEditTag == 0 && GetForegroundWindow() == app.main->Handle()) {
            app.main->HotKeyMsg1HotKey();
        }
    }
    bool ReloadConfiguration() override {
        Session& session = TheSession();
        // Read into copies: a file that cannot be read changes nothing.
        Settings settings = session.settings;
        SettingsLists lists = session.lists;
        if (!LoadSettingsFile(session.settingsPath, settings, lists)) return false;
        session.settings = std::move(settings);
        session.lists = std::move(lists);
        ApplyLoadedSettings();
        LoadKeyFiles();
        LoadColorFile();
        if (App().filer && App().filer->Visible()) App().filer->ShowList();
        return true;
    }
};

// The filer and the shell window made at start, whichever are made now:
// each call goes to the window, or does nothing without one.
class AppFiler : public FilerService {
public:
    bool Present() const override { return App().filer != nullptr; }
    bool Showing() const override { return Filer().Showing(); }
    void Show() override { Filer().Show(); }
    void FocusCommandLine() override { Filer().FocusCommandLine(); }
    std::string CurrentFile() const override { return Filer().CurrentFile(); }
    void Hide() override { Filer().Hide(); }
    void Close() override { Filer().Close(); }
    bool RunAction(int code) override { return Filer().RunAction(code); }
    FontSpec Font(int which) const override { return Filer().Font(which); }
    void SetFont(int which, const FontSpec& font) override { Filer().SetFont(which, font); }
    void RefreshListing() override { Filer().RefreshListing(); }

private:
    static FilerService& Filer() {
        static FilerService none;
        return App().filer ? static_cast<FilerService&>(*App().filer) : none;
    }
};

class AppShellWindow : public ShellWindowService {
public:
    bool Present() const override { return App().main != nullptr; }
    void ShowShell() override { Shell().ShowShell(); }
    void FocusCommandBox() override { Shell().FocusCommandBox(); }
    void Show() override { Shell().Show(); }
    void Hide() override { Shell().Hide(); }
    void Close() override { Shell().Close(); }
    void HotKeyToggle() override { Shell().HotKeyToggle(); }
    void SetPrompt(const std::string& dir) override { Shell().SetPrompt(dir); }
    FontSpec Font() const override { return Shell().Font(); }
    void SetFont(const FontSpec& font) override { Shell().SetFont(font); }

private:
    static ShellWindowService& Shell() {
        static ShellWindowService none;
        return App().main ? static_cast<ShellWindowService&>(*App().main) : none;
    }
};

// Command lines go to the interpreter; the line's origin is the box that
// had the focus last.
class AppCommands : public CommandService {
public:
    int Execute(const std::string& line) override {
        TheSession().lineOrigin = TheSession().activeEditTag;
        return TheInterpreter().Execute_t(line);
    }
    int OpenByAssociation(const std::string& file, int candidate) override {
        return TheInterpreter().OpenByAssociation(file, candidate);
    }
    void ExpandMacrosFor(const std::string& file, std::string& text) override {
        Interpreter& interpreter = TheInterpreter();
        interpreter.SetOneShotFile(file);
        interpreter.ForceMacros();
        interpreter.ExpandMacros(text);
    }
};

// The viewers are the thin forms made at start.
class AppViewers : public ViewerService {
public:
    void HideImageAndText() override {
        AppState& app = App();
        if (app.imageViewer) ShowWindow(app.imageViewer->Handle(), SW_HIDE);
        if (app.textViewer) ShowWindow(app.textViewer->Handle(), SW_HIDE);
    }
    void ShowImage(const std::string&) override {
        if (App().imageViewer) App().imageViewer->Show();
    }
    bool ImageViewerClientSize(int& width, int& height) const override {
        const AppState& app = App();
        if (!app.imageViewer) return false;
        RECT rc{};
        GetClientRect(app.imageViewer->Handle(), &rc);
        width = rc.right - rc.left;
        height = rc.bottom - rc.top;
        return true;
    }
    bool ShowText(const std::string& title, const std::string& text) override {
        if (!App().textViewer) return false;
        App().textViewer->ShowText(title, text);
        return true;
    }
    bool ViewFile(const std::string& path) override {
        return App().textViewer && App().textViewer->ViewFile(path);
    }
};

class AppApplication : public ApplicationService {
public:
    void ApplyLoadedSettings() override { kestrum::ApplyLoadedSettings(); }
    void UpdateTaskBar() override { ApplyTaskBar(); }
    void BringTaskWindowToFront() override {
        if (App().app) SetForegroundWindow(App().app->Handle());
    }
    void SaveStateAtClose() override {
        const Session& session = TheSession();
        // Step 1: the task-bar window to the front.
        BringTaskWindowToFront();
        // Step 2: the colour file.
        SaveColorFileAtClose();
        TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
        CloseState state = CollectCloseState();
        WriteCloseState(file, state);
        file.SaveOrSay();
    }
    void OpenFilerAtStart() override {
        Session& session = TheSession();
        TfrmMain* main = App().main;
        if (!main) return;
        // Open the filer through the same menu command as LS; a menu bar that
        // is configured off is attached only for that and detached again.
        const bool menuWasOff = !session.menuBarShown;
        main->MenuOn();
        PostMessageA(main->Handle(), WM_COMMAND, kKls1, 0);
        if (menuWasOff) session.menuOffAfterLs = true;
    }
};

}  // namespace

Interpreter& TheInterpreter() {
    static WinShellHost host;
    static Interpreter interpreter = [] {
        Interpreter i(TheSession(), host);
        i.SetFileHost(&TheFileCommandHost());
        return i;
    }();
    return interpreter;
}

std::vector<Subscription> InstallAppServices() {
    static AppCommands commands;
    static AppFiler filer;
    static AppShellWindow shell;
    static AppViewers viewers;
    static AppApplication application;
    std::vector<Subscription> installed;
    installed.push_back(InstallService<CommandService>(commands));
    installed.push_back(InstallService<FilerService>(filer));
    installed.push_back(InstallService<ShellWindowService>(shell));
    installed.push_back(InstallService<ViewerService>(viewers));
    installed.push_back(InstallService<ArchiveService>(TheArchiveService()));
    installed.push_back(InstallService<ApplicationService>(application));
    return installed;
}

std::vector<Subscription> InstallPlatform() {
    std::vector<Subscription> installed;
    installed.push_back(InstallPrompter(PlatformPrompter()));
    installed.push_back(InstallCommitPlatform(PlatformCommit()));
    return installed;
}

}  // namespace kestrum
