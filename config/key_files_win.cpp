// The process-wide key maps, their files and the line-input map's wiring.
#include "config/key_files_win.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "filer/action_table.h"
#include "shell/app_win.h"
#include "shell/frm_edit_win.h"

namespace kestrum {

namespace {

int PlatformDriveType(char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    return static_cast<int>(GetDriveTypeA(root));
}

std::string FilerPath() { return FilerKeyFilePath(App().settings.keyCustomFile, App().programDir); }
std::string EditPath() { return EditKeyFilePath(App().settingsPath, App().programDir); }
std::string ViewerPath() { return ViewerKeyFilePath(App().settingsPath, App().programDir); }

bool runningEditAction = false;

}  // namespace

TKeyX& FilerKeyX() {
    static TKeyX k;
    static const bool ready = [] {
        SetUpFilerKeyX(k, &PlatformDriveType, [] { SaveFilerKeyFile(); });
        const DWORD drives = GetLogicalDrives();
        for (int n = 0; n < 26; ++n) {
            if (!(drives & (1u << n))) continue;
            const char letter = static_cast<char>('A' + n);
            const int type = PlatformDriveType(letter);
            if (type > 1) k.AddAction(DriveActionName(letter, type), kDriveActionFirst + n, kDriveActionFirst + n);
        }
        // An Alt binding must not also open the window menu or beep.
        k.OnAltKey = [] { App().swallowSysChar = true; };
        return true;
    }();
    static_cast<void>(ready);
    return k;
}

TKeyX& EditKeyX() {
    static TKeyX k;
    static const bool ready = [] {
        SetUpEditKeyX(k, kEditAction0);
        // The line-input window of the running program, whichever it is:
        // these stay for the whole run.
        static const Subscription run = k.runCommand.Connect([](int command) {
            TfrmEdit* form = App().lineInput;
            if (form && form->Handle()) SendMessageA(form->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        });
        static const Subscription captions = k.setCaption.Connect([](int command, const std::string& caption) {
            TfrmEdit* form = App().lineInput;
            if (!form || !form->Menu()) return;
            ModifyMenuA(form->Menu(), static_cast<UINT>(command), MF_BYCOMMAND | MF_STRING,
                        static_cast<UINT_PTR>(command), caption.c_str());
            if (form->Handle()) DrawMenuBar(form->Handle());
        });
        return true;
    }();
    static_cast<void>(ready);
    return k;
}

TKeyX& ViewerKeyX() {
    static TKeyX k;
    static const bool ready = [] {
        // The text viewer gives its commands and captions once it exists.
        SetUpViewerKeyX(k, 0);
        return true;
    }();
    static_cast<void>(ready);
    return k;
}

void LoadFilerKeyFile(const std::string& keyCustomFile, bool preview) {
    LoadKeyFile(FilerKeyX(), FilerKeyFilePath(keyCustomFile, App().programDir), kFilerKeyHeader, preview);
}

void LoadKeyFiles() {
    const AppState& app = App();
    LoadFilerKeyFile(app.settings.keyCustomFile, false);

    TKeyX& edit = EditKeyX();
    const std::string editMissing = EditKeyNotFoundText(app.settingsPath, app.programDir);
    edit.OnNotFound = [editMissing] { CurrentPrompter().ShowMessage(editMissing); };
    LoadKeyFile(edit, EditPath(), kEditKeyHeader);

    TKeyX& viewer = ViewerKeyX();
    const std::string viewerMissing = ViewerKeyNotFoundText(app.settingsPath, app.programDir);
    viewer.OnNotFound = [viewerMissing] { CurrentPrompter().ShowMessage(viewerMissing); };
    LoadKeyFile(viewer, ViewerPath(), kViewerKeyHeader);
}

namespace {
bool SaveOrSay(const TKeyX& keyx, std::string_view header, const std::string& path) {
    return ReportSave(SaveKeyFile(keyx, header, path), kKeyFileKind, path);
}
}  // namespace

bool SaveFilerKeyFile() { return SaveOrSay(FilerKeyX(), kFilerKeyHeader, FilerPath()); }
bool SaveFilerKeyFileAs(const std::string& keyCustomFile) {
    return SaveOrSay(FilerKeyX(), kFilerKeyHeader, FilerKeyFilePath(keyCustomFile, App().programDir));
}
bool SaveEditKeyFile() { return SaveOrSay(EditKeyX(), kEditKeyHeader, EditPath()); }
bool SaveViewerKeyFile() { return SaveOrSay(ViewerKeyX(), kViewerKeyHeader, ViewerPath()); }

bool EditKeyLookUp(WPARAM& key, bool shift, bool ctrl, bool alt) {
    // An action may send keys to the box itself (history sends Up): those
    // are the box's own and must not fire the binding again.
    if (runningEditAction || key == 0) return false;
    int k = static_cast<int>(key);
    runningEditAction = true;
    try {
        EditKeyX().LookUp(k, ModifierBits(shift, ctrl, alt));
    } catch (...) {
        runningEditAction = false;
        throw;
    }
    runningEditAction = false;
    key = static_cast<WPARAM>(k);
    return key == 0;
}

}  // namespace kestrum
