// TfrmFM: creation (settings load, home directory, FILERAUTO), listing,
// layout, fonts, the scroll bar and the window's messages.
#include "filer/frm_fm_win.h"

#include <windowsx.h>

#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/key_files_win.h"
#include "config/profile.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "config/window_placement_win.h"
#include "fileops/change_dir_win.h"
#include "fileops/disk_copy_win.h"
#include "filer/dir_tree_win.h"
#include "filer/sort.h"
#include "filer/sort_write_win.h"

namespace kestrum {

namespace {
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
const char kCaptionTail[] = " - Kestrum ﾌｧｲﾗｰ";
constexpr UINT_PTR kCmdLineId = 10;

LocalDate ToLocal(std::uint64_t value, int* minute) {
    FILETIME utc{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    if (minute) *minute = st.wMinute;
    return LocalDate{st.wYear, st.wMonth, st.wDay, st.wHour};
}
}  // namespace

bool TfrmFM::Create(HWND owner) {
    const ProfileReader profile = ProfileReader::FromFile(TheSession().settingsPath, TheSession().settings.semicolonMode);
    const FilerWindowState state = ReadFilerWindowState(profile);
    const Geometry g = OnVisibleDesktop(state.geometry, state.designed);
    startMaximised_ = state.maximised;
    std::copy(std::begin(state.fonts), std::end(state.fonts), std::begin(fonts_));
    for (int i = 0; i < 4; ++i) fontHandles_[i] = CreateFontFromSpec(fonts_[i]);
    // The directory tree window keeps its placement between uses.
    DirDirGeometry& dd = TheSession().dirPicker;
    dd.ddTop = profile.ReadInteger("FORM_LS", "ddTop", dd.ddTop);
    dd.ddLeft = profile.ReadInteger("FORM_LS", "ddLeft", dd.ddLeft);
    dd.ddHeight = profile.ReadInteger("FORM_LS", "ddHeight", dd.ddHeight);
    dd.ddWidth = profile.ReadInteger("FORM_LS", "ddWidth", dd.ddWidth);
    dd.dsLeft = profile.ReadInteger("FORM_LS", "dsLeft", dd.dsLeft);

    RegisterWindowClass("TfrmFM", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateWin("TfrmFM", WS_EX_ACCEPTFILES, kStyle, "Kestrum ﾌｧｲﾗｰ", g.left, g.top, g.width, g.height, owner)) {
        return false;
    }
    FormCreate();
    return format_.Create(owner);
}

void TfrmFM::FormCreate() {
    Session& session = TheSession();
    HINSTANCE inst = GetModuleHandleA(nullptr);
    // A Unicode edit control: a character typed through an input method
    // arrives whole.
    cmdLine_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0,
                               Handle(), reinterpret_cast<HMENU>(kCmdLineId), GetModuleHandleW(nullptr), nullptr);
    SendMessageA(cmdLine_, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandles_[3].Get()), FALSE);
    scroll_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0, Handle(), nullptr,
                              inst, nullptr);
    HMENU sys = GetSystemMenu(Handle(), FALSE);
    InsertMenuA(sys, 5, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(sys, 6, MF_BYPOSITION | MF_STRING, kSysMain, "&1 Main");
    InsertMenuA(sys, 7, MF_BYPOSITION | MF_STRING, kSysText, "&2 テキストビューワー");
    InsertMenuA(sys, 8, MF_BYPOSITION | MF_STRING, kSysImage, "&3 画像ビューワー");

    // An error raised while the files are read is shown and the program
    // starts all the same, with the defaults of what could not be read.
    StartupStep(
        [&] {
            LoadSettingsFile(session.settingsPath, session.settings, session.lists);
            TheApplication().ApplyLoadedSettings();
        },
        [&] {
            LoadSettingsLines({}, session.settings, session.lists);
            TheApplication().ApplyLoadedSettings();
        });
    displayMode_ = session.settings.style & 1;

    // Keys bound in the filer key file run the actions by code; drive
    // actions (400 + drive) change to that drive.
    menus_.Build(Files());
    ShowMenuBar(session.settings.lsMenu);
    UpdateMenuChecks();
    subscriptions_.push_back(FilerKeyX().runCommand.Connect([this](int code) { RunCode(code); }));
    subscriptions_.push_back(FilerKeyX().setCaption.Connect([this](int code, const std::string& caption) {
        menus_.SetCaption(code, caption);
        if (!FilerKeyX().RefreshingCaptions() && GetMenu(Handle())) DrawMenuBar(Handle());
    }));
    subscriptions_.push_back(FilerKeyX().captionsRefreshed.Connect([this] {
        if (GetMenu(Handle())) DrawMenuBar(Handle());
    }));
    subscriptions_.push_back(AddColorListener([this](int) {
        if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    }));
    subscriptions_.push_back(AddCfgAppliedListener([this](const Settings&) { SettingsApplied(); }));
    subscriptions_.push_back(AddDirectoryListener([this](const std::string&) { UpdateCaption(); }));

    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ChangeDirectory(session.settings.homeDir.empty() ? std::string(cwd) : session.settings.homeDir);
    StartupStep([] {
        LoadKeyFiles();
        FilerKeyX().RefreshCaptions();
    });
    StartupStep([] { LoadColorFile(); });
    DoLayout();

    if (session.settings.filerAuto) TheApplication().OpenFilerAtStart();
}

DisplayOptions TfrmFM::Options() const {
    const Settings& s = TheSession().settings;
    DisplayOptions o;
    o.mode = displayMode_;
    o.folderStyle = s.folderStyle;
    o.fileNameStyle = s.fileNameStyle;
    o.localTime = ToLocal;
    // W: the column width in characters of the window font.
    int pWidth = 7;
    {
        WindowDc dc(Handle());
        SelectGuard font(dc.Get(), fontHandles_[0].Get());
        SIZE sz{};
        GetTextExtentPoint32A(dc.Get(), "P", 1, &sz);
        if (sz.cx > 0) pWidth = sz.cx;
    }
    o.columnChars = std::max(layout_.columnWidth / pWidth, 1);
    return o;
}

CursorSettings TfrmFM::Cursor() const {
    const Settings& s = TheSession().settings;
    return CursorSettings{s.cursorMode, s.cursorLoop, s.cursorKeyMode, s.cursorKeyMode2};
}

void TfrmFM::UpdateCaption() {
    const Session& session = TheSession();
    SetWindowTextA(Handle(), (session.currentDir + session.maskText + kCaptionTail).c_str());
}

std::string TfrmFM::CurrentFile() const {
    const long long i = model_.CursorIndex();
    if (model_.Count() == 0 || i < 0 || i >= static_cast<long long>(model_.Count())) return {};
    return TheSession().currentDir + model_.Entry(static_cast<std::size_t>(i)).find.name;
}

void TfrmFM::Relist(long long cursor) {
    Session& session = TheSession();
    const std::string dir = IncludeTrailingBackslash(Files().FullPath("."));
    UpdateCaption();
    const FileListModel::AddRules rules{session.settings.hiddenFile, &session.masks};
    const DriveTexts drive = ListDirectory(Files(), dir, model_, rules, Options());
    driveTotal_ = drive.total;
    driveUsed_ = drive.used;
    driveFree_ = drive.freeSpace;
    SortAfterListing(model_, session.settings);
    model_.SetGrid(layout_.rows, layout_.columns);
    if (cursor != -1) {
        model_.PlaceCursor(cursor);
    } else {
        model_.SetCursorCell(model_.CursorCol(), model_.CursorRow());
    }
    UpdateStatus();
    SyncScrollBar();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmFM::ShowList() {
    Relist(-1);
    model_.PlaceCursor(model_.StartingCursor(TheSession().returningFrom));
    model_.SetAnchor(model_.CursorIndex());
    UpdateStatus();
    SyncScrollBar();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmFM::ShowFiler() {
    if (!Visible()) {
        ShowWindow(Handle(), startMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
        startMaximised_ = false;
        DoLayout();
    }
    ShowList();
    SetForegroundWindow(Handle());
    FocusGrid();
    if (TheSession().settings.haitaHyoji) TheShellWindow().Hide();
}

void TfrmFM::CloseFiler() {
    if (!Visible()) return;
    ShowWindow(Handle(), SW_HIDE);
    model_.Clear();
    TheShellWindow().Show();
    if (TheSession().settings.mainClose) TheShellWindow().Close();
}

void TfrmFM::FocusGrid() {
    gridFocused_ = true;
    SetFocus(Handle());
    InvalidateGrid();
}

void TfrmFM::FocusCommandLine() {
    gridFocused_ = false;
    SetFocus(cmdLine_);
    InvalidateGrid();
}

void TfrmFM::SetDisplayMode(int mode) {
    const long long index = model_.CursorIndex();
    displayMode_ = mode & 1;
    DoLayout();
    model_.RebuildTexts(Options());
    model_.PlaceCursor(index);
    UpdateStatus();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmFM::UpdateStatus() {
    driveCount_ = model_.CountText();
    TheShellWindow().SetPrompt(TheSession().currentDir);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmFM::SyncScrollBar() {
    const long long ps = model_.PageSize();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = static_cast<int>(std::min<long long>(ScrollMaximum(static_cast<long long>(model_.Count()), ps), INT_MAX));
    si.nPage = 10;
    si.nPos = static_cast<int>(std::min<long long>(model_.ScrollPosition(), INT_MAX));
    SetScrollInfo(scroll_, SB_CTL, &si, TRUE);
}

void TfrmFM::AfterMove(bool pageChanged) {
    model_.SetAnchor(model_.CursorIndex());
    if (pageChanged) SyncScrollBar();
    UpdateStatus();
    InvalidateGrid();
}

ContentSize TfrmFM::MarkSize() {
    return [this](const FindRecord& f) {
        if (!TheSession().settings.subDirSize) return 0LL;
        return DirectoryContentSize(Files(), TheSession().currentDir + f.name + "\\", model_);
    };
}

void TfrmFM::SettingsApplied() {
    const Settings& s = TheSession().settings;
    ShowMenuBar(s.lsMenu);
    UpdateMenuChecks();
    // Fonts, pitch, the function bar and the display style all change the
    // layout; a visible list is read again (hidden files, sorting).
    SetDisplayMode(s.style);
    if (Visible()) Relist(-1);
}

void TfrmFM::WriteSwitch(const char* key, bool on) {
    const Session& session = TheSession();
    TSettingsFile file(session.settingsPath, session.settings.semicolonMode);
    file.WriteLine("[環境変数]", key, std::string(key) + ", " + (on ? "1" : "0"));
    file.SaveOrSay();
}

void TfrmFM::UpdateMenuChecks() {
    const Settings& s = TheSession().settings;
    menus_.SetChecked(kFilerMenuBase + FilerActionCode::FilerAtStart, s.filerAuto);
    menus_.SetChecked(kFilerMenuSubDirSize, s.subDirSize);
}

void TfrmFM::ShowMenuBar(bool show) {
    menus_.ShowBar(Handle(), show);
}

RECT TfrmFM::CursorCellRect() const {
    const Rect r = CellRect(layout_, model_.CursorCol(), model_.CursorRow());
    return RECT{r.left, r.top, r.left + r.width, r.Bottom()};
}

bool TfrmFM::RunSortDialog() { return kestrum::RunSortDialog(model_, TheSession().settings); }

void TfrmFM::SetFont(int which, const FontSpec& spec) {
    if (which < 0 || which > 3) return;
    fonts_[which] = spec;
    fontHandles_[which] = CreateFontFromSpec(spec);
    if (which == 3) SendMessageA(cmdLine_, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandles_[3].Get()), TRUE);
    // The bars are re-laid with the rest; the list texts follow the new widths.
    const long long index = model_.CursorIndex();
    DoLayout();
    model_.SetGrid(layout_.rows, layout_.columns);
    model_.RebuildTexts(Options());
    if (Visible()) model_.PlaceCursor(index);
    SyncScrollBar();
    UpdateStatus();
}

void TfrmFM::ChangeFont(int which) {
    FontSpec spec = fonts_[which];
    if (PickFont(Handle(), spec)) SetFont(which, spec);
}

Geometry TfrmFM::NormalGeometry() const { return WindowGeometry(Handle()); }
bool TfrmFM::Maximised() const { return IsMaximised(Handle()); }

void TfrmFM::OnActivate(bool active) {
    if (active) {
        TheSession().filerLastActive = true;
        if (gridFocused_) SetFocus(Handle());
    }
    InvalidateGrid();
}

void TfrmFM::OnSize() {
    DoLayout();
    if (!Visible()) return;
    const long long index = model_.CursorIndex();
    model_.SetGrid(layout_.rows, layout_.columns);
    model_.RebuildTexts(Options());
    model_.PlaceCursor(index);
    SyncScrollBar();
}

void TfrmFM::OnPaint() {
    PaintDc pdc(Handle());
    Paint(pdc.Get());
}

void TfrmFM::OnDoubleClick(int x, int y, WPARAM keys) {
    if (!CellAt(layout_, model_.Cols(), model_.Rows(), x, y)) return;
    // The keys held with the click decide: Ctrl the list, Shift the second
    // candidate.
    if (keys & MK_CONTROL) {
        ShowCandidates();
    } else {
        OpenCursorEntry((keys & MK_SHIFT) ? 1 : 0);
    }
}

namespace {
ScrollRequest ScrollRequestOf(int code) {
    switch (code) {
    case SB_LINEUP: return ScrollRequest::LineUp;
    case SB_PAGEUP: return ScrollRequest::PageUp;
    case SB_LINEDOWN: return ScrollRequest::LineDown;
    case SB_PAGEDOWN: return ScrollRequest::PageDown;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollRequest::Track;
    default: return ScrollRequest::Other;
    }
}
}  // namespace

void TfrmFM::OnVScroll(int code) {
    if (code == SB_ENDSCROLL) {
        FocusGrid();
        return;
    }
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(scroll_, SB_CTL, &si);
    const long long pos = ScrollPositionFor(ScrollRequestOf(code), si.nPos, si.nTrackPos);
    if (const std::optional<long long> entry = ScrollTargetEntry(model_, pos)) {
        model_.PlaceCursor(*entry);
        AfterMove(true);
    }
}

bool TfrmFM::OnCommand(UINT id) {
    if (id >= kFilerMenuFontFirst && id <= kFilerMenuFontLast) {
        ChangeFont(static_cast<int>(id - kFilerMenuFontFirst));
    } else if (id == kFilerMenuBarShow || id == kFilerMenuBarHide) {
        ShowMenuBar(id == kFilerMenuBarShow);
        DoLayout();
    } else if (id == kFilerMenuSubDirSize) {
        bool& on = TheSession().settings.subDirSize;
        on = !on;
        WriteSwitch("SubDirSize", on);
        UpdateMenuChecks();
    } else if (id == kFilerMenuDiskCopy) {
        // The disk copy always starts on drive A.
        TDiskCopy(Handle()).Execute(0);
    } else if (const int code = FilerMenus::CodeOf(id); code >= 0) {
        RunCode(code);
    } else {
        return false;
    }
    return true;
}

LRESULT TfrmFM::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The grid paints its own background; the command line is drawn in its slots.
    if (auto answer =
            AnswerSlotColors(Handle(), msg, wp, lp, kNoSlot, {{cmdLine_, kColFilerCmdText, kColFilerCmdBack}})) {
        return *answer;
    }
    switch (msg) {
    case WM_CLOSE: CloseFiler(); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wp) != WA_INACTIVE); return 0;
    case WM_SETFOCUS:
        gridFocused_ = true;
        InvalidateGrid();
        return 0;
    case WM_KILLFOCUS: InvalidateGrid(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN: OnKeyDown(wp); return 0;
    case WM_CHAR: OnChar(wp); return 0;
    case WM_LBUTTONDOWN:
        OnMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (wp & MK_SHIFT) != 0, (wp & MK_CONTROL) != 0);
        return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), wp); return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wp)); return 0;
    case WM_SYSCOMMAND:
        if (HandleSystemMenuCommand(static_cast<unsigned>(wp & 0xFFF0))) return 0;
        break;
    case WM_COMMAND:
        if (lp == 0 && OnCommand(LOWORD(wp))) return 0;
        break;
    case WM_INITMENUPOPUP:
        // The settings may have been read again meanwhile (CFGLOAD).
        UpdateMenuChecks();
        break;
    case WM_CONTEXTMENU: RunAction(FilerActionCode::PopupMenu); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
