// Start-up creation of every window, the thin forms, and close-time state.
#include "shell/forms_win.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "common/prompter.h"
#include "filer/dir_tree_win.h"
#include "filer/frm_fm_win.h"
#include "filer/frm_sort_win.h"
#include "fileops/copy_dialog_win.h"
#include "fileops/format_dialog_win.h"
#include "shell/app_win.h"
#include "shell/app_window_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"
#include "shell/frm_main_win.h"
#include "shell/resident_win.h"
#include "shell/version.h"

namespace kestrum {

Geometry WindowGeometry(HWND wnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!wnd || !GetWindowPlacement(wnd, &wp)) return Geometry{};
    const RECT& r = wp.rcNormalPosition;
    return Geometry{r.top, r.left, r.bottom - r.top, r.right - r.left};
}

Geometry OnVisibleDesktop(const Geometry& g, const Geometry& def) {
    const RECT r{g.left, g.top, g.left + std::max(g.width, 1), g.top + std::max(g.height, 1)};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return g;
    const RECT& w = mi.rcWork;
    return KeepOnDesktop(g, def, Geometry{w.top, w.left, w.bottom - w.top, w.right - w.left});
}

bool IsMaximised(HWND wnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    return wnd && GetWindowPlacement(wnd, &wp) && wp.showCmd == SW_SHOWMAXIMIZED;
}

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
    std::unique_ptr<TfrmEdit> lineInput;
    std::unique_ptr<TfrmSort> sortDialog;
    std::unique_ptr<TfrmCopyDialog> copyDialog;
    std::unique_ptr<TfrmFormat> formatDialog;
    std::vector<std::unique_ptr<TPlaceholderForm>> others;
};
Forms& AllForms() {
    static Forms f;
    return f;
}
HWND g_lastActive = nullptr;

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
    const ProfileReader profile = ProfileReader::FromFile(app.settingsPath);

    TPlaceholderForm::Keys image;
    image.section = "TVIEW";
    image.positionOnly = true;
    image.defaults = Geometry{50, 50, 300, 400};
    TPlaceholderForm::Keys archive;
    archive.section = "LVIEW";
    archive.defaults = Geometry{100, 100, 400, 560};
    archive.hasFont = true;
    TPlaceholderForm::Keys text;
    text.section = "TVIEW";
    text.defaults = Geometry{80, 80, 480, 640};
    text.hasFont = true;
    const TPlaceholderForm::Keys plain;

    app.imageViewer = MakeForm(owner, profile, "TfrmView", "画像ビューワー", image);
    forms.picker = std::make_unique<TfrmHistory>();
    app.picker = forms.picker->Create(owner, profile) ? forms.picker.get() : nullptr;
    app.archiveViewer = MakeForm(owner, profile, "TfrmLZHV", "エルビュー", archive);
    forms.lineInput = std::make_unique<TfrmEdit>();
    app.lineInput = forms.lineInput->Create(owner, profile) ? forms.lineInput.get() : nullptr;
    app.textViewer = MakeForm(owner, profile, "TwttForm", "テキストビューワー", text);
    app.progress = MakeForm(owner, profile, "TprogForm", "Kestrum", plain);
    forms.sortDialog = std::make_unique<TfrmSort>();
    app.sortDialog = forms.sortDialog->Create(owner) ? forms.sortDialog.get() : nullptr;
    forms.filer = std::make_unique<TfrmFM>();
    app.filer = forms.filer.get();
    if (!forms.filer->Create(owner)) return false;
    forms.copyDialog = std::make_unique<TfrmCopyDialog>();
    app.copyDialog = forms.copyDialog->Create(owner) ? forms.copyDialog.get() : nullptr;
    app.userMenuEditor = MakeForm(owner, profile, "TfrmUMEdit", "ユーザー定義編集", plain);
    forms.formatDialog = std::make_unique<TfrmFormat>();
    app.formatDialog = forms.formatDialog->Create(owner) ? forms.formatDialog.get() : nullptr;
    return app.imageViewer && app.picker && app.archiveViewer && app.lineInput && app.textViewer &&
           app.progress && app.sortDialog && app.copyDialog && app.userMenuEditor && app.formatDialog;
}

CloseState CollectCloseState() {
    const AppState& app = App();
    CloseState s;
    s.menuBarShown = app.menuBarShown;
    s.currentDir = app.currentDir;
    s.dirHistory = app.lists.dirHistory;
    s.exeHistory = app.lists.exeHistory;
    if (app.filer) {
        s.filer = app.filer->NormalGeometry();
        for (int i = 0; i < 4; ++i) s.filerFonts[i] = app.filer->Font(i);
        const DirDirGeometry& dd = DirPickerGeometry();
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

void SetLastActiveForm(HWND wnd) { g_lastActive = wnd; }
HWND LastActiveForm() { return g_lastActive; }

void CloseFiler() {
    if (App().filer) App().filer->CloseFiler();
}

void ShowVersionWindow() {
    CurrentPrompter().MessageDlg("Kestrum Version " KESTRUM_VERSION_TEXT, MsgType::Information, MsgButtons::Ok);
}

void ApplyLoadedSettings() {
    AppState& app = App();
    const Settings& s = app.settings;
    if (app.main) {
        app.main->ApplyHomeShiftMode(s.homeShiftMode);
        if (s.menuBar) {
            app.main->MenuOn();
        } else {
            app.main->MenuOff();
        }
        app.main->ShowDirName(s.dirWindow);
        if (app.main->Resident()) app.main->Resident()->Apply(s);
    }
    if (app.lineInput) app.lineInput->ApplyHomeShiftMode(s.homeShiftMode);
    ApplyTaskBar();
}

void StartupStep(const std::function<void()>& step, const std::function<void()>& fallback) {
    try {
        step();
        return;
    } catch (const std::exception& e) {
        ShowErrorBox(std::string("起動中にエラーが発生しました。既定の設定で続けます。\r\n") + e.what());
    } catch (...) {
        ShowErrorBox("起動中にエラーが発生しました。既定の設定で続けます。");
    }
    if (fallback) StartupStep(fallback);
}

void ApplyTaskBar() {
    AppState& app = App();
    const Settings& s = app.settings;
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

}  // namespace kestrum
