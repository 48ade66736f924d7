// Start-up creation of every window, the thin forms, what the settings
// apply to the windows, and close-time state.
#include "app/forms_win.h"

#include <memory>
#include <vector>

#include "app/app_win.h"
#include "app/app_window_win.h"
#include "app/resident_win.h"
#include "archive/archive_service_win.h"
#include "archive/archiver_win.h"
#include "archive/frm_lzhv_win.h"
#include "app/window_prompter_win.h"
#include "common/questions.h"
#include "common/signal.h"
#include "config/cfg_form_win.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "fileops/file_questions_win.h"
#include "filer/dir_tree_win.h"
#include "filer/filer_questions_win.h"
#include "filer/frm_fm_win.h"
#include "shell/command_box_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"
#include "shell/frm_main_win.h"
#include "viewers/text_viewer_win.h"

namespace kestrum {

TPlaceholderForm::TPlaceholderForm(std::string className, std::string caption, Keys keys)
    : className_(std::move(className)), caption_(std::move(caption)), keys_(keys) {}

bool TPlaceholderForm::Create(HWND owner, const ProfileReader& profile) {
    Geometry g = keys_.defaults;
    if (keys_.positionOnly) {
        g.top = profile.ReadInteger(keys_.section, "PTop", g.top);
        g.left = profile.ReadInteger(keys_.section, "PLeft", g.left);
    } else {
        g = ReadGeometry(profile, keys_.section, keys_.prefix, keys_.defaults);
    }
    g = OnVisibleDesktop(g, keys_.defaults);
    if (keys_.hasFont) {
        font_ = ReadFont(profile, keys_.section, "FontName", "FontSize", "FontStyle", keys_.defaultFont);
    }
    RegisterWindowClass(className_.c_str(), LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    return CreateWin(className_.c_str(), 0, WS_OVERLAPPEDWINDOW, caption_, g.left, g.top, g.width, g.height, owner);
}

void TPlaceholderForm::Show() {
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

LRESULT TPlaceholderForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ShowWindow(Handle(), SW_HIDE);
        return 0;
    }
    return Default(msg, wp, lp);
}

namespace {

// Owned here for the whole run; created in the start-up order.
struct Forms {
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmFM> filer;
    std::unique_ptr<TfrmHistory> picker;
    std::unique_ptr<TfrmLZHV> archiveViewer;
    std::unique_ptr<TfrmEdit> lineInput;
    // The subsystems' questions, answered by their dialogs (made at start).
    std::unique_ptr<WinFilerQuestions> filerQuestions;
    std::unique_ptr<WinFileOpQuestions> fileOpQuestions;
    std::unique_ptr<WindowConfigQuestions> configQuestions;
    std::unique_ptr<TwttForm> textViewer;
    std::vector<std::unique_ptr<TPlaceholderForm>> others;
    // The application's own registrations: the task bar after the settings
    // dialog, the title after a change of directory.
    std::vector<Subscription> subscriptions;
};
Forms& AllForms() {
    static Forms f;
    return f;
}

TPlaceholderForm* MakeForm(HWND owner, const ProfileReader& profile, const char* cls, const char* caption,
                           TPlaceholderForm::Keys keys) {
    auto form = std::make_unique<TPlaceholderForm>(cls, caption, keys);
    if (!form->Create(owner, profile)) return nullptr;
    AllForms().others.push_back(std::move(form));
    return AllForms().others.back().get();
}

}  // namespace

bool CreateAllForms(HWND owner) {
    AppState& app = App();
    Forms& forms = AllForms();
    forms.main = std::make_unique<TfrmMain>();
    app.main = forms.main.get();
    if (!forms.main->Create(owner)) return false;
    MakeShellResident(*forms.main);
    forms.subscriptions.push_back(AddCfgAppliedListener([](const Settings&) { ApplyTaskBar(); }));
    forms.subscriptions.push_back(AddDirectoryListener([](const std::string&) {
        if (App().app) App().app->SetTitle(TheSession().title);
    }));
    const ProfileReader profile = ProfileReader::FromFile(TheSession().settingsPath, TheSession().settings.semicolonMode);

    TPlaceholderForm::Keys image;
    image.section = "TVIEW";
    image.positionOnly = true;
    image.defaults = Geometry{50, 50, 300, 400};
    const TPlaceholderForm::Keys plain;

    app.imageViewer = MakeForm(owner, profile, "TfrmView", "画像ビューワー", image);
    forms.picker = std::make_unique<TfrmHistory>();
    app.picker = forms.picker->Create(owner, profile) ? forms.picker.get() : nullptr;
    forms.archiveViewer = std::make_unique<TfrmLZHV>(TheArchiverHost());
    app.archiveViewer = forms.archiveViewer->Create(owner, profile) ? forms.archiveViewer.get() : nullptr;
    AttachArchiveViewer(app.archiveViewer);
    forms.lineInput = std::make_unique<TfrmEdit>();
    app.lineInput = forms.lineInput->Create(owner, profile) ? forms.lineInput.get() : nullptr;
    forms.textViewer = std::make_unique<TwttForm>();
    app.textViewer = forms.textViewer->Create(owner) ? forms.textViewer.get() : nullptr;
    app.progress = MakeForm(owner, profile, "TprogForm", "Kestrum", plain);
    forms.filerQuestions = std::make_unique<WinFilerQuestions>();
    const bool sortDialogMade = forms.filerQuestions->Create(owner);
    forms.filer = std::make_unique<TfrmFM>();
    app.filer = forms.filer.get();
    if (!forms.filer->Create(owner)) return false;
    MakeFilerCommandLine(*forms.filer);
    forms.fileOpQuestions = std::make_unique<WinFileOpQuestions>();
    const bool copyDialogMade = forms.fileOpQuestions->Create(owner);
    app.userMenuEditor = MakeForm(owner, profile, "TfrmUMEdit", "ユーザー定義編集", plain);
    forms.configQuestions = std::make_unique<WindowConfigQuestions>(app.lineInput);
    return app.imageViewer && app.picker && app.archiveViewer && app.lineInput && app.textViewer &&
           app.progress && sortDialogMade && copyDialogMade && app.userMenuEditor;
}

void InstallWindowQuestions() {
    Forms& forms = AllForms();
    if (forms.filerQuestions) {
        forms.subscriptions.push_back(InstallQuestions<FilerQuestions>(*forms.filerQuestions));
    }
    if (forms.fileOpQuestions) {
        forms.subscriptions.push_back(InstallQuestions<FileOpQuestions>(*forms.fileOpQuestions));
    }
    if (forms.configQuestions) {
        forms.subscriptions.push_back(InstallQuestions<ConfigQuestions>(*forms.configQuestions));
    }
}

CloseState CollectCloseState() {
    const AppState& app = App();
    const Session& session = TheSession();
    CloseState s;
    s.menuBarShown = session.menuBarShown;
    s.currentDir = session.currentDir;
    s.dirHistory = session.lists.dirHistory;
    s.exeHistory = session.lists.exeHistory;
    if (app.filer) {
        s.filer = app.filer->NormalGeometry();
        for (int i = 0; i < 4; ++i) s.filerFonts[i] = app.filer->Font(i);
        const DirDirGeometry& dd = session.dirPicker;
        s.ddTop = dd.ddTop;
        s.ddLeft = dd.ddLeft;
        s.ddHeight = dd.ddHeight;
        s.ddWidth = dd.ddWidth;
        s.dsLeft = dd.dsLeft;
        s.filerMaximised = app.filer->Maximised();
    }
    if (app.lineInput) s.lineInput = app.lineInput->NormalGeometry();
    if (app.picker) s.picker = app.picker->NormalGeometry();
    if (app.archiveViewer) {
        s.archiveViewer = app.archiveViewer->NormalGeometry();
        s.archiveFont = app.archiveViewer->Font();
    }
    if (app.textViewer) {
        s.textViewer = app.textViewer->NormalGeometry();
        s.textFont = app.textViewer->Font();
        s.textViewerMaximised = app.textViewer->Maximised();
    }
    if (app.imageViewer) {
        const Geometry g = app.imageViewer->NormalGeometry();
        s.imageTop = g.top;
        s.imageLeft = g.left;
    }
    if (app.main) {
        s.shell = app.main->NormalGeometry();
        s.shellFont = app.main->ShellFont();
    }
    return s;
}

void ApplyLoadedSettings() {
    AppState& app = App();
    const Settings& s = TheSession().settings;
    if (app.main) {
        app.main->ApplyHomeShiftMode(s.homeShiftMode);
        if (s.menuBar) {
            app.main->MenuOn();
        } else {
            app.main->MenuOff();
        }
        app.main->ShowDirName(s.dirWindow);
        if (TShellResident* resident = ResidentOf(*app.main)) resident->Apply(s);
    }
    if (app.lineInput) app.lineInput->ApplyHomeShiftMode(s.homeShiftMode);
    // The text viewer is made before the filer runs the settings loader.
    if (app.textViewer) app.textViewer->ApplySettings();
    ApplyTaskBar();
}

void ApplyTaskBar() {
    AppState& app = App();
    const Settings& s = TheSession().settings;
    if (app.app) {
        // Task bar: while the icon is in the notification area, TASKSHOW
        // hides the button, and so does having no window showing; without
        // the icon (not wanted, or refused) the button always shows, so the
        // program can always be reached.
        const bool resident = s.taskTray && app.main && app.main->TrayIconVisible();
        const bool anyShown = (app.main && app.main->Visible()) || (app.filer && app.filer->Visible());
        app.app->ShowTaskButton(!(resident && (s.taskShow || !anyShown)));
    }
}

TShellResident& MakeShellResident(TfrmMain& main) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(inst, MAKEINTRESOURCEA(1));
    if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    TfrmMain* shell = &main;
    auto resident =
        std::make_unique<TShellResident>([shell] { shell->HotKeyMsg1HotKey(); }, main.TrayMenu(), main.Handle(), icon);
    TShellResident& ref = *resident;
    main.AttachResidency(std::move(resident));
    return ref;
}

TShellResident* ResidentOf(const TfrmMain& main) { return static_cast<TShellResident*>(main.Residency()); }

void MakeFilerCommandLine(TfrmFM& filer) {
    CommandBox& box = CommandBox::For(filer.CommandLine(), kFilerBox);
    box.HandleOwnKeys(true);
    box.onFocusFiler = [&filer] { filer.FocusGrid(); };
    box.onEscape = [&filer] { filer.EscapeKey(); };
}

}  // namespace kestrum
