// TfrmLZHV: creation, keys, menus and the platform side of the archive
// viewer.
#include "archive/frm_lzhv_win.h"

#include "common/file_system_win.h"
#include "common/modal_loop_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/cfg_form_win.h"
#include "config/cfg_pages.h"
#include "config/colors.h"
#include "config/colors_win.h"
#include "config/config_questions.h"
#include "config/font_win.h"
#include "config/services.h"
#include "config/session.h"
#include "config/window_placement_win.h"
#include "fileops/copy_list_win.h"
#include "fileops/path_utils.h"
#include "fileops/remove_tree_win.h"
#include "fileops/temp_dir_win.h"

namespace kestrum {

namespace {

constexpr int kListId = 1;
const Geometry kDefaultGeometry{100, 100, 400, 560};

}  // namespace

TfrmLZHV::TfrmLZHV(ArchiverHost& libraries) : browser_(libraries, *this) {}

TfrmLZHV::~TfrmLZHV() { browser_.Close(); }

bool TfrmLZHV::Create(HWND owner, const ProfileReader& profile) {
    const Geometry stored = ReadGeometry(profile, "LVIEW", "", kDefaultGeometry);
    const Geometry g = OnVisibleDesktop(stored, kDefaultGeometry);
    font_ = ReadFont(profile, "LVIEW", "FontName", "FontSize", "FontStyle", FontSpec{"ＭＳ ゴシック", 10, 0});
    RegisterWindowClass("TfrmLZHV", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmLZHV", 0, WS_OVERLAPPEDWINDOW, "Kestrum LVIEW", g.left, g.top, g.width, g.height, owner)) {
        return false;
    }
    // Placement and screen coordinates may differ by an offset (a task bar
    // at the top or left): moving by the difference cancels it.
    const Geometry placed = WindowGeometry(Handle());
    if (placed.top != g.top || placed.left != g.left) {
        SetWindowPos(Handle(), nullptr, 2 * g.left - placed.left, 2 * g.top - placed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FormCreate();
    return true;
}

void TfrmLZHV::FormCreate() {
    HMENU bar = CreateMenu();
    actionMenu_ = CreatePopupMenu();
    AppendMenuA(actionMenu_, MF_STRING, kOpen, "関連するアプリを起動\t[RETURN]");
    AppendMenuA(actionMenu_, MF_STRING, kOpenSecond, "関連するＣＦＧの第２候補のアプリを起動\tSHIFT + [RETURN]");
    AppendMenuA(actionMenu_, MF_STRING, kView, "ファイルを見る\tView");
    AppendMenuA(actionMenu_, MF_STRING, kExtract, "個別解凍\tU");
    AppendMenuA(actionMenu_, MF_STRING | MF_GRAYED, kBack, "戻る\tBS");
    AppendMenuA(actionMenu_, MF_STRING, kClose, "閉じる\tESC or HOMECLR or Q");
    AppendMenuA(actionMenu_, MF_STRING, kSystemMenu, "システムメニューを開く\tALT + SPACE");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(actionMenu_), "Action&1");
    HMENU settings = CreatePopupMenu();
    AppendMenuA(settings, MF_STRING, kFont, "&FONT変更");
    AppendMenuA(settings, MF_STRING, kSettings, "動作設定(&E)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), "設定(&C)");
    SetMenu(Handle(), bar);

    HMENU sys = GetSystemMenu(Handle(), FALSE);
    InsertMenuA(sys, 5, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(sys, 6, MF_BYPOSITION | MF_STRING, kSysText, "&2 テキストビューワー");
    InsertMenuA(sys, 7, MF_BYPOSITION | MF_STRING, kSysImage, "&3 画像ビューワー");

    list_.Create(Handle(), kListId);
    list_.onKeyDown = [this](WPARAM key) { return ListKeyDown(key); };
    list_.onDoubleClick = [this] { ItemSelected(0); };
    ApplyFont();
    ApplyColors();
    colorsChanged_ = AddColorListener([this](int slot) {
        if (slot == kColPickerText || slot == kColPickerBack) ApplyColors();
    });
    // The settings dialog's font button for this window, while it lives.
    fontAccess_ =
        RegisterCfgFontAccess(kFontArchiveViewer, {[this] { return font_; }, [this](const FontSpec& f) { SetFont(f); }});
    Layout();
}

Geometry TfrmLZHV::NormalGeometry() const { return WindowGeometry(Handle()); }

void TfrmLZHV::Layout() {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    MoveWindow(list_.Handle(), 0, 0, rc.right, rc.bottom, TRUE);
}

void TfrmLZHV::SetFont(const FontSpec& font) {
    font_ = font;
    ApplyFont();
}

void TfrmLZHV::ApplyFont() {
    fontHandle_ = CreateFontFromSpec(font_);
    list_.SetFont(fontHandle_.Get());
}

void TfrmLZHV::ApplyColors() {
    list_.clFont = ResolveColor(TheColors().Get(kColPickerText));
    list_.clBack = ResolveColor(TheColors().Get(kColPickerBack));
    const int style = TheSession().settings.cursorStyle;
    if (style >= 0 && style <= 3) list_.SetCursorStyle(style);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void TfrmLZHV::Refill() {
    list_.SetItems(browser_.Rows());
    list_.SetItemIndex(browser_.Cursor());
    EnableMenuItem(actionMenu_, kBack, MF_BYCOMMAND | (browser_.Nested() ? MF_ENABLED : MF_GRAYED));
}

// ---- showing and closing ---------------------------------------------------------

void TfrmLZHV::Begin(const std::string& arg) {
    finished_ = false;
    autoDepth_ = 0;
    list_.Loop = TheSession().settings.lvCursorLoop;
    ApplyColors();
    if (!browser_.Show(arg, TheSession().shiftFlag, TheSession().lautoOn)) {
        CloseViewer();
        return;
    }
    Refill();
    EnableWindow(list_.Handle(), browser_.AutoMode() ? FALSE : TRUE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(list_.Handle());
    if (browser_.AutoMode()) PostAutoStep();
}

void TfrmLZHV::ShowModal(const std::string& arg) {
    Begin(arg);
    if (finished_) return;
    if (!RunModalLoop(Handle(), finished_)) CloseViewer();
}

void TfrmLZHV::CloseViewer() {
    browser_.Close();
    list_.SetItems({});
    finished_ = true;
    ShowWindow(Handle(), SW_HIDE);
}

// ---- keys and menus ----------------------------------------------------------------

bool TfrmLZHV::ListKeyDown(WPARAM key) {
    shift_ = GetKeyState(VK_SHIFT) < 0;
    TheSession().shiftFlag = shift_;
    switch (key) {
    case VK_RETURN: ItemSelected(0); return true;
    case 'V': ItemSelected(1); return true;
    case 'U': Command(kExtract); return true;
    case VK_BACK:
        if (browser_.Nested()) {
            browser_.GoBack();
            Refill();
        } else if (TheSession().settings.bsClose) {
            CloseViewer();
        }
        return true;
    case VK_ESCAPE:
    case 'Q': Command(kClose); return true;
    case VK_F12:
        autoStep_.Arrived();
        AutoShow();
        return true;
    default: return false;
    }
}

void TfrmLZHV::ItemSelected(int mode) {
    if (finished_) return;
    browser_.SetCursor(list_.itemindex());
    const bool keep = browser_.ItemSelected(list_.itemindex(), mode);
    if (!keep) {
        CloseViewer();
        return;
    }
    const int cursor = browser_.Cursor();
    const std::vector<std::string> rows = browser_.Rows();
    if (rows != list_.Items()) {
        Refill();
    } else {
        list_.SetItemIndex(cursor);
    }
}

void TfrmLZHV::AutoShow() {
    if (finished_) return;
    ++autoDepth_;
    browser_.SetCursor(list_.itemindex());
    const bool close = browser_.AutoStep(GetKeyState(VK_F8) < 0);
    --autoDepth_;
    if (finished_) return;
    if (browser_.Rows() != list_.Items()) {
        Refill();
    } else {
        list_.SetItemIndex(browser_.Cursor());
    }
    if (autoDepth_ == 0 && close) CloseViewer();
}

void TfrmLZHV::Command(int id) {
    switch (id) {
    case kOpen: ItemSelected(0); break;
    case kOpenSecond:
        secondCandidate_ = true;
        ItemSelected(0);
        secondCandidate_ = false;
        break;
    case kView: ItemSelected(1); break;
    case kExtract:
        browser_.SetCursor(list_.itemindex());
        browser_.ExtractRows(list_.SelectedRows());
        break;
    case kBack:
        if (browser_.GoBack()) Refill();
        break;
    case kClose:
        if (browser_.AutoMode()) {
            // The walk stops; the viewer closes at its next step.
            browser_.AutoStep(true);
        }
        CloseViewer();
        break;
    case kSystemMenu:
        PostMessageA(Handle(), WM_KEYDOWN, VK_F10, 0);
        PostMessageA(Handle(), WM_KEYUP, VK_F10, 0);
        PostMessageA(Handle(), WM_KEYDOWN, VK_SPACE, 0);
        PostMessageA(Handle(), WM_KEYUP, VK_SPACE, 0);
        break;
    case kFont: {
        FontSpec font = font_;
        if (ConfigAsk().AskFont(font)) SetFont(font);
        break;
    }
    case kSettings: ShowSettingsDialog(Handle(), kPageArchiveViewer); break;
    default: break;
    }
}

LRESULT TfrmLZHV::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_SETFOCUS: SetFocus(list_.Handle()); return 0;
    case WM_COMMAND:
        if (lp == 0) {
            Command(LOWORD(wp));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if (HandleSystemMenuCommand(static_cast<unsigned>(wp & 0xFFF0))) return 0;
        break;
    case WM_ACTIVATE:
        // Each time the viewer (or the program, while it shows) comes back
        // to the front, the automatic walk takes its next step.
        if (LOWORD(wp) != WA_INACTIVE && !finished_ && browser_.AutoMode()) PostAutoStep();
        break;
    case WM_ACTIVATEAPP:
        if (wp && !finished_ && browser_.AutoMode() && Visible()) PostAutoStep();
        break;
    case WM_CLOSE: Command(kClose); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

// ---- the platform side -------------------------------------------------------------

std::string TfrmLZHV::TempDirectory() {
    char dir[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, dir)) return {};
    return ExcludeTrailingBackslash(dir);
}

std::string TfrmLZHV::MakeTempDir(const std::string& prefix) { return kestrum::MakeTempDir(prefix); }

namespace {

// The viewer's working folders hold only what it extracted: a file or
// folder the extraction made read-only is made writable to be removed.
class WorkFolderFs : public Win32FileSystem {
public:
    bool Remove(const std::string& path) override {
        return Win32FileSystem::Remove(path) || (MadeWritable(path) && Win32FileSystem::Remove(path));
    }
    bool RemoveDir(const std::string& path) override {
        return Win32FileSystem::RemoveDir(path) || (MadeWritable(path) && Win32FileSystem::RemoveDir(path));
    }

private:
    static bool MadeWritable(const std::string& path) {
        const DWORD a = GetFileAttributesA(path.c_str());
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_READONLY)) return false;
        return SetFileAttributesA(path.c_str(), a & ~FILE_ATTRIBUTE_READONLY) != 0;
    }
};

}  // namespace

void TfrmLZHV::RemoveTree(const std::string& dir) {
    WorkFolderFs fs;
    // The process's current directory cannot be removed: step out of it.
    kestrum::RemoveTree(fs, CurrentPrompter(), dir, true, [](const std::string& removing) {
        char cwd[MAX_PATH * 2] = {};
        const DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
        if (n > 0 && n < sizeof cwd && SameText(ExcludeTrailingBackslash(cwd), ExcludeTrailingBackslash(removing))) {
            SetCurrentDirectoryA((IncludeTrailingBackslash(removing) + "..").c_str());
        }
    });
}

int TfrmLZHV::Launch(const std::string& path) {
    return TheCommands().OpenByAssociation(path, secondCandidate_ || shift_ ? 1 : 0);
}

void TfrmLZHV::RunCommand(const std::string& line) { Execute_t(line); }

bool TfrmLZHV::EnsureDirectory(std::string& dir) { return kestrum::EnsureDirectory(dir); }

void TfrmLZHV::CopyListTo(const std::string& list, const std::string& dir) { kestrum::CopyListTo(list, dir, Handle()); }


CivilTime TfrmLZHV::LocalTime(std::int64_t utcSeconds) {
    // Seconds since 1970 as a FILETIME (100 ns since 1601), then local.
    const std::int64_t ticks = (utcSeconds + 11644473600LL) * 10000000LL;
    if (ticks < 0) return CivilFromUnix(utcSeconds);
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return CivilFromUnix(utcSeconds);
    return CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute};
}

void TfrmLZHV::PostAutoStep() {
    if (autoStep_.Request() && !PostMessageA(list_.Handle(), WM_KEYDOWN, VK_F12, 0)) autoStep_.Arrived();
}

}  // namespace kestrum
