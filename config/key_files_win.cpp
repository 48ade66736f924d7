// The process-wide key maps, their files and the line-input map's wiring.
#include "config/key_files_win.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/session.h"

namespace kestrum {

namespace {

int PlatformDriveType(char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    return static_cast<int>(GetDriveTypeA(root));
}

std::string FilerPath() { return FilerKeyFilePath(TheSession().settings.keyCustomFile, TheSession().programDir); }
std::string EditPath() { return EditKeyFilePath(TheSession().settingsPath, TheSession().programDir); }
std::string ViewerPath() { return ViewerKeyFilePath(TheSession().settingsPath, TheSession().programDir); }

void SetUpFilerMap(TKeyX& k) {
    SetUpFilerKeyX(k, &PlatformDriveType, [] { SaveFilerKeyFile(); });
    const DWORD drives = GetLogicalDrives();
    for (int n = 0; n < 26; ++n) {
        if (!(drives & (1u << n))) continue;
        const char letter = static_cast<char>('A' + n);
        const int type = PlatformDriveType(letter);
        if (type > 1) k.AddAction(DriveActionName(letter, type), kDriveActionFirst + n, kDriveActionFirst + n);
    }
    // An Alt binding must not also open the window menu or beep.
    k.OnAltKey = [] { TheSession().swallowSysChar = true; };
}

}  // namespace

KeyMaps& TheKeyMaps() {
    static KeyMaps maps;
    static const bool ready = [] {
        SetUpFilerMap(maps.filer);
        // The line-input window connects to the edit map's runCommand and
        // setCaption; the text viewer gives its commands and captions once
        // it exists.
        SetUpEditKeyX(maps.edit, kEditKeyCommand0);
        SetUpViewerKeyX(maps.viewer, 0);
        return true;
    }();
    static_cast<void>(ready);
    return maps;
}

void LoadFilerKeyFile(const std::string& keyCustomFile, bool preview) {
    LoadKeyFile(FilerKeyX(), FilerKeyFilePath(keyCustomFile, TheSession().programDir), kFilerKeyHeader, preview);
}

void LoadKeyFiles() {
    const Session& session = TheSession();
    LoadFilerKeyFile(session.settings.keyCustomFile, false);

    TKeyX& edit = EditKeyX();
    const std::string editMissing = EditKeyNotFoundText(session.settingsPath, session.programDir);
    edit.OnNotFound = [editMissing] { CurrentPrompter().ShowMessage(editMissing); };
    LoadKeyFile(edit, EditPath(), kEditKeyHeader);

    TKeyX& viewer = ViewerKeyX();
    const std::string viewerMissing = ViewerKeyNotFoundText(session.settingsPath, session.programDir);
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
    return SaveOrSay(FilerKeyX(), kFilerKeyHeader, FilerKeyFilePath(keyCustomFile, TheSession().programDir));
}
bool SaveEditKeyFile() { return SaveOrSay(EditKeyX(), kEditKeyHeader, EditPath()); }
bool SaveViewerKeyFile() { return SaveOrSay(ViewerKeyX(), kViewerKeyHeader, ViewerPath()); }

bool EditKeyLookUp(WPARAM& key, bool shift, bool ctrl, bool alt) {
    // An action may send keys to the box itself (history sends Up): those
    // are the box's own and must not fire the binding again.
    KeyMaps& maps = TheKeyMaps();
    if (maps.runningEditAction || key == 0) return false;
    int k = static_cast<int>(key);
    maps.runningEditAction = true;
    try {
        maps.edit.LookUp(k, ModifierBits(shift, ctrl, alt));
    } catch (...) {
        maps.runningEditAction = false;
        throw;
    }
    maps.runningEditAction = false;
    key = static_cast<WPARAM>(k);
    return key == 0;
}

}  // namespace kestrum
