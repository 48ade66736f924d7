// TfrmFM: creation (settings load, home directory, FILERAUTO), show and close.
#include "filer/frm_fm_win.h"

#include "common/sjis.h"
#include "config/profile.h"
#include "config/settings_loader.h"
#include "shell/app_win.h"
#include "shell/app_window_win.h"
#include "shell/forms_win.h"
#include "shell/frm_main_win.h"

namespace kestrum {

namespace {
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
const char kCaptionTail[] = " - Kestrum ﾌｧｲﾗｰ";
}  // namespace

bool TfrmFM::Create(HWND owner) {
    const ProfileReader profile = ProfileReader::FromFile(App().settingsPath);
    const Geometry g = ReadGeometry(profile, "FORM_LS", "", Geometry{100, 100, 480, 640});
    startMaximised_ = profile.ReadInteger("FORM_LS", "ISWSMAX", 0) == 1;
    const FontSpec def{"ＭＳ ゴシック", 10, 0};
    fonts_[0] = ReadFont(profile, "FORM_LS", "FontName", "FontSize", "FontStyle", def);
    fonts_[1] = ReadFont(profile, "FORM_LS", "FontName2", "FontSize2", "FontStyle2", FontSpec{"ＭＳ Ｐゴシック", 9, 0});
    fonts_[2] = ReadFont(profile, "FORM_LS", "FontName3", "FontSize3", "FontStyle3", FontSpec{"ＭＳ Ｐゴシック", 9, 0});
    fonts_[3] = ReadFont(profile, "FORM_LS", "FontName4", "FontSize4", "FontStyle4", def);
    ddTop = profile.ReadInteger("FORM_LS", "ddTop", ddTop);
    ddLeft = profile.ReadInteger("FORM_LS", "ddLeft", ddLeft);
    ddHeight = profile.ReadInteger("FORM_LS", "ddHeight", ddHeight);
    ddWidth = profile.ReadInteger("FORM_LS", "ddWidth", ddWidth);
    dsLeft = profile.ReadInteger("FORM_LS", "dsLeft", dsLeft);

    RegisterWindowClass("TfrmFM", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmFM", 0, kStyle, "Kestrum ﾌｧｲﾗｰ", g.left, g.top, g.width, g.height, owner)) return false;
    FormCreate();
    return true;
}

void TfrmFM::FormCreate() {
    AppState& app = App();
    LoadSettingsFile(app.settingsPath, app.settings, app.lists);
    ApplyLoadedSettings();

    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ChangeDirectory(app.settings.homeDir.empty() ? std::string(cwd) : app.settings.homeDir);

    if (app.settings.filerAuto && app.main) {
        // Open the filer through the same menu command as LS; a menu bar that
        // is configured off is attached only for that and detached again.
        const bool menuWasOff = !app.menuBarShown;
        app.main->MenuOn();
        PostMessageA(app.main->Handle(), WM_COMMAND, kKls1, 0);
        if (menuWasOff) app.menuOffAfterLs = true;
    }
}

void TfrmFM::UpdateCaption() {
    const AppState& app = App();
    SetWindowTextA(Handle(), (app.currentDir + app.maskText + kCaptionTail).c_str());
}

void TfrmFM::ShowFiler() {
    AppState& app = App();
    if (!Visible()) ShowWindow(Handle(), startMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
    startMaximised_ = false;
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    if (app.settings.haitaHyoji && app.main) ShowWindow(app.main->Handle(), SW_HIDE);
}

void TfrmFM::CloseFiler() {
    AppState& app = App();
    if (!Visible()) return;
    ShowWindow(Handle(), SW_HIDE);
    if (app.main) {
        ShowWindow(app.main->Handle(), SW_SHOW);
        if (app.settings.mainClose) PostMessageA(app.main->Handle(), WM_CLOSE, 0, 0);
    }
}

Geometry TfrmFM::NormalGeometry() const { return WindowGeometry(Handle()); }
bool TfrmFM::Maximised() const { return IsMaximised(Handle()); }

LRESULT TfrmFM::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE: CloseFiler(); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) App().filerLastActive = true;
        break;
    case WM_SYSCOMMAND:
        if (HandleSystemMenuCommand(static_cast<UINT>(wp & 0xFFF0))) return 0;
        break;
    default: break;
    }
    return Default(msg, wp, lp);
}

bool ChangeDirectory(const std::string& requested) {
    AppState& app = App();
    std::string path = requested;
    auto driveIndex = [](char c) {
        if (c >= 'a' && c <= 'z') return c - 'a';
        if (c >= 'A' && c <= 'Z') return c - 'A';
        return -1;
    };
    const bool startsWithDrive = path.size() >= 2 && driveIndex(path[0]) >= 0 && path[1] == ':';
    if (app.settings.flagDcd && path.size() == 2 && startsWithDrive) {
        path += "\\" + app.driveDirs[static_cast<std::size_t>(driveIndex(path[0]))];
    }
    if (path == "..") {
        // The filer puts its cursor back on the directory it came from.
        const std::string cur = ExcludeTrailingBackslash(app.currentDir);
        app.returningFrom = ExtractFileName(cur);
    }
    bool ok = SetCurrentDirectoryA(path.c_str()) != 0;
    if (!ok && startsWithDrive) {
        // Only a path that names a drive falls back to that drive's root.
        const std::string root = path.substr(0, 1) + ":\\";
        ok = SetCurrentDirectoryA(root.c_str()) != 0;
    }
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    app.currentDir = IncludeTrailingBackslash(cwd);

    app.title = app.currentDir + " - Kestrum";
    if (app.app) app.app->SetTitle(app.title);
    if (app.main) {
        SetWindowTextA(app.main->Handle(), app.title.c_str());
        app.main->SetPrompt(app.currentDir);
    }
    if (app.filer) app.filer->UpdateCaption();
    const int d = app.currentDir.empty() ? -1 : driveIndex(app.currentDir[0]);
    if (d >= 0 && app.currentDir.size() >= 3 && app.currentDir[1] == ':') {
        app.driveDirs[static_cast<std::size_t>(d)] = app.currentDir.substr(3);
    }
    return ok;
}

}  // namespace kestrum
