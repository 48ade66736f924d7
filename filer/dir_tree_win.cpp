// Directory picker: the tree control and the picker window with its modal
// entry point.
#include "filer/dir_tree_win.h"

#include <algorithm>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/key_files_win.h"
#include "config/session.h"

namespace kestrum {

namespace {

constexpr int kImageFolder = 0;
constexpr int kImageFolderOpen = 1;
constexpr int kImageDrive = 2;
constexpr COLORREF kImageTransparent = RGB(0x80, 0x80, 0x00);  // olive
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// Shows the busy cursor for a scope.
class BusyCursor {
public:
    BusyCursor() : old_(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
    ~BusyCursor() { SetCursor(old_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR old_;
};

// The "DirTreeImg" strip when the program carries it; otherwise a drawn
// one (closed folder, open folder, drive) on the same transparent colour.
ImageListHandle LoadTreeImages() {
    ImageListHandle list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 5, 1));
    if (!list) return list;
    GdiObject<HBITMAP> bmp(
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "DirTreeImg", IMAGE_BITMAP, 0, 0, 0)));
    if (!bmp) {
        WindowDc screen(nullptr);
        bmp.Reset(CreateCompatibleBitmap(screen.Get(), 80, 16));
        const MemoryDc memory(CreateCompatibleDC(screen.Get()));
        HDC dc = memory.Get();
        if (bmp && dc) {
            SelectGuard keep(dc, bmp.Get());
            const RECT all{0, 0, 80, 16};
            GdiObject<HBRUSH> olive(CreateSolidBrush(kImageTransparent));
            FillRect(dc, &all, olive.Get());
            GdiObject<HBRUSH> yellow(CreateSolidBrush(RGB(0xF0, 0xD0, 0x40)));
            GdiObject<HBRUSH> pale(CreateSolidBrush(RGB(0xFF, 0xF0, 0xA0)));
            GdiObject<HBRUSH> grey(CreateSolidBrush(RGB(0xA0, 0xA0, 0xA0)));
            const RECT tab0{1, 3, 7, 5}, body0{1, 5, 15, 14};
            const RECT tab1{17, 3, 23, 5}, body1{17, 5, 31, 14};
            const RECT drive{33, 5, 47, 12};
            FillRect(dc, &tab0, yellow.Get());
            FillRect(dc, &body0, yellow.Get());
            FillRect(dc, &tab1, pale.Get());
            FillRect(dc, &body1, pale.Get());
            FillRect(dc, &drive, grey.Get());
        }
    }
    if (bmp) ImageList_AddMasked(list.Get(), bmp.Get(), kImageTransparent);
    return list;
}

std::string PlatformDriveCurrentDir(char drive) {
    const char spec[3] = {drive, ':', '\0'};
    char buf[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(spec, MAX_PATH, buf, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string(spec) + "\\";
}

std::string ProcessCurrentDir() {
    char buf[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

unsigned CurrentModifiers() {
    unsigned m = 0;
    if (GetKeyState(VK_SHIFT) < 0) m |= kModShift;
    if (GetKeyState(VK_CONTROL) < 0) m |= kModCtrl;
    if (GetKeyState(VK_MENU) < 0) m |= kModAlt;
    return m;
}

}  // namespace

// ---- TDirTreeView ---------------------------------------------------------------

bool TDirTreeView::Create(HWND parent, int x, int y, int w, int h) {
    wnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                               TVS_SHOWSELALWAYS,
                           x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!wnd_) return false;
    images_ = LoadTreeImages();
    if (images_) SendMessageA(wnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.Get()));
    return true;
}

TDirTreeView::~TDirTreeView() {
    // The control may outlive this object by a moment: it lets go of the
    // images before they go.
    if (images_ && wnd_ && IsWindow(wnd_)) SendMessageA(wnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
}

void TDirTreeView::SetDrive(char drive) {
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive == drive_) return;
    drive_ = drive;
    Reload();
}

void TDirTreeView::SetShowDrive(bool show) {
    if (show == showDrive_) return;
    showDrive_ = show;
    if (drive_ != 0) Reload();
}

void TDirTreeView::Reload() {
    {
        loading_ = true;
        BusyCursor busy;
        if (wnd_) SendMessageA(wnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        items_.clear();
        model_.Load(drive_, showDrive_);
        InsertChildren(TVI_ROOT, -1);
        if (showDrive_ && wnd_) {
            SendMessageA(wnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ItemOf(model_.Root())));
        }
        loading_ = false;
    }
    if (ShowCurrentDir) SelectCurrentDir();
}

void TDirTreeView::InsertChildren(HTREEITEM parentItem, int node) {
    if (!wnd_) return;
    for (int c : model_.Children(node)) {
        const DirNode& n = model_.Node(c);
        TVINSERTSTRUCTA ins{};
        ins.hParent = parentItem;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = const_cast<char*>(n.text.c_str());
        const bool placeholder = n.kind == DirNodeKind::Placeholder;
        ins.item.lParam = placeholder ? kPlaceholderData : c;
        ins.item.iImage = n.kind == DirNodeKind::Drive ? kImageDrive : kImageFolder;
        ins.item.iSelectedImage = n.kind == DirNodeKind::Drive ? kImageDrive : kImageFolderOpen;
        auto item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        if (items_.size() <= static_cast<std::size_t>(c)) items_.resize(static_cast<std::size_t>(c) + 1, nullptr);
        items_[static_cast<std::size_t>(c)] = item;
        InsertChildren(item, c);
    }
}

HTREEITEM TDirTreeView::ItemOf(int node) const {
    if (node < 0 || static_cast<std::size_t>(node) >= items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(node)];
}

int TDirTreeView::NodeOf(HTREEITEM item) const {
    if (!item || !wnd_) return kPlaceholderData;
    TVITEMA it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    if (!SendMessageA(wnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return kPlaceholderData;
    return static_cast<int>(it.lParam);
}

void TDirTreeView::SyncChildren(int node) {
    HTREEITEM item = ItemOf(node);
    if (!item) return;
    auto first = reinterpret_cast<HTREEITEM>(
        SendMessageA(wnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    if (!first || NodeOf(first) != kPlaceholderData || model_.HasPlaceholder(node)) return;
    // The model has read the level: the placeholder item gives way to it.
    SendMessageA(wnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
    InsertChildren(item, node);
}

bool TDirTreeView::Notify(const NMHDR* hdr, LRESULT& result) {
    if (!wnd_ || hdr->hwndFrom != wnd_) return false;
    switch (hdr->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        // Only the item handle and the action are read: the same in both forms.
        const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(hdr);
        if (nm->action & TVE_EXPAND) {
            const int node = NodeOf(nm->itemNew.hItem);
            if (node >= 0 && model_.Expand(node)) {
                BusyCursor busy;
                SyncChildren(node);
            }
        }
        result = FALSE;
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (!loading_ && OnChange) {
            const std::string path = SelectedPath();
            if (!path.empty()) OnChange(*this, path);
        }
        result = 0;
        return true;
    default: return false;
    }
}

std::string TDirTreeView::SelectedPath() const {
    if (!wnd_ || drive_ == 0) return std::string();
    auto sel = reinterpret_cast<HTREEITEM>(SendMessageA(wnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    const int node = NodeOf(sel);
    return node < 0 ? std::string() : model_.PathOf(node);
}

bool TDirTreeView::SelectPath(const std::string& dir) {
    const char drive = DriveOfPath(dir);
    if (drive == 0) return false;
    if (drive != drive_) {
        const bool keep = ShowCurrentDir;
        ShowCurrentDir = false;
        SetDrive(drive);
        ShowCurrentDir = keep;
    }
    BusyCursor busy;
    const DirLocation loc = model_.Locate(dir);
    if (loc.driveRoot && loc.node < 0) {
        // The root without a drive node: nothing to select, but the
        // listener still hears of the drive.
        SendMessageA(wnd_, TVM_SELECTITEM, TVGN_CARET, 0);
        if (OnChange) OnChange(*this, std::string(1, drive_) + ":");
        return true;
    }
    if (loc.node < 0) return false;
    SyncChain(loc);
    for (std::size_t i = 0; i + 1 < loc.chain.size(); ++i) {
        SendMessageA(wnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ItemOf(loc.chain[i])));
    }
    HTREEITEM item = ItemOf(loc.node);
    SendMessageA(wnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageA(wnd_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    return true;
}

void TDirTreeView::SyncChain(const DirLocation& loc) {
    for (std::size_t i = 0; i + 1 < loc.chain.size(); ++i) SyncChildren(loc.chain[i]);
}

HTREEITEM TDirTreeView::ItemOfPath(const std::string& dir) {
    const DirLocation loc = model_.Locate(dir);
    if (!loc.exact) return nullptr;
    SyncChain(loc);
    return ItemOf(loc.node);
}

void TDirTreeView::SelectCurrentDir() {
    if (drive_ == 0) return;
    const std::string cur = DriveCurrentDir ? DriveCurrentDir(drive_) : PlatformDriveCurrentDir(drive_);
    SelectPath(cur);
}

void TDirTreeView::ExpandSelected() {
    auto sel = reinterpret_cast<HTREEITEM>(SendMessageA(wnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (sel) SendMessageA(wnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(sel));
}

void TDirTreeView::CollapseSelected() {
    auto sel = reinterpret_cast<HTREEITEM>(SendMessageA(wnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (sel) SendMessageA(wnd_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(sel));
}

// ---- TfrmDirDir ----------------------------------------------------------------------

int FilerKeyLookup(int vk, unsigned modifiers) {
    const TUserKey& keys = FilerKeyX().KeyXUserKey;
    for (int i = 0; i < keys.Count(); ++i) {
        const KeyBinding& b = keys.Get(i);
        if (b.key == vk && b.modifiers == modifiers) return b.action;
    }
    return -1;
}

TfrmDirDir::TfrmDirDir(FileSystem* fs) : fs_(fs ? *fs : disks_), tree_(fs_) {}

bool TfrmDirDir::Create(HWND owner, const DirDirGeometry& g) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClass("TfrmDirDir", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmDirDir", WS_EX_DLGMODALFRAME, WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                   "Kestrum", g.ddLeft, g.ddTop, g.ddWidth, g.ddHeight, owner)) {
        return false;
    }
    FormCreate(g.dsLeft);
    return true;
}

void TfrmDirDir::FormCreate(int treeWidth) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    driveBox_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                8, 8, 160, 200, Handle(), nullptr, inst, nullptr);
    // Neither button is reached by Tab; Enter and Escape press them.
    ok_ = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 8, kButtonWidth,
                          kButtonHeight, Handle(), reinterpret_cast<HMENU>(IDOK), inst, nullptr);
    cancel_ = CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE, 0, 8, kButtonWidth, kButtonHeight,
                              Handle(), reinterpret_cast<HMENU>(IDCANCEL), inst, nullptr);
    RECT rc{};
    GetClientRect(Handle(), &rc);
    panel_.Create(Handle(), 8, 40, std::max<int>(0, rc.right - 16), std::max<int>(0, rc.bottom - 48));
    tree_.Create(panel_.Handle(), 0, 0, treeWidth, 100);
    SetWindowLongPtrA(tree_.Handle(), GWL_STYLE, GetWindowLongPtrA(tree_.Handle(), GWL_STYLE) | WS_TABSTOP);
    fileList_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 100,
                                100, panel_.Handle(), nullptr, inst, nullptr);
    for (HWND w : {driveBox_, ok_, cancel_, tree_.Handle(), fileList_}) SendMessageA(w, WM_SETFONT, font, FALSE);
    panel_.SetAlign(tree_.Handle(), TAlign::Left);
    panel_.SetAlign(fileList_, TAlign::Client);
    split_.Create(panel_);
    split_.SetHostComponent(tree_.Handle());

    tree_.SetShowDrive(true);
    tree_.ShowCurrentDir = true;
    tree_.OnChange = [this](TDirTreeView&, const std::string& path) { TreeChange(path); };
    treeSubclass_.Attach(tree_.Handle(), [this](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && TreeKeyDown(wp)) return LRESULT{0};
        return Subclass::CallNext(wnd, msg, wp, lp);
    });
    FillDrives();
    FormResize();
}

void TfrmDirDir::FormResize() {
    if (!panel_.Handle()) return;
    RECT rc{};
    GetClientRect(Handle(), &rc);
    MoveWindow(panel_.Handle(), 8, 40, std::max<int>(0, rc.right - 16), std::max<int>(0, rc.bottom - 48), TRUE);
    MoveWindow(cancel_, rc.right - 8 - kButtonWidth, 8, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(ok_, rc.right - 16 - 2 * kButtonWidth, 8, kButtonWidth, kButtonHeight, TRUE);
    panel_.Layout();
}

DirDirGeometry TfrmDirDir::GeometryToKeep() const {
    DirDirGeometry g;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!Handle() || !GetWindowPlacement(Handle(), &wp)) return g;
    const RECT& r = wp.rcNormalPosition;
    g.ddTop = r.top;
    g.ddLeft = r.left;
    g.ddHeight = r.bottom - r.top;
    g.ddWidth = r.right - r.left;
    RECT t{};
    GetWindowRect(tree_.Handle(), &t);
    g.dsLeft = t.right - t.left;
    return g;
}

void TfrmDirDir::FillDrives() {
    SendMessageA(driveBox_, CB_RESETCONTENT, 0, 0);
    drives_.clear();
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0) continue;
        const char text[3] = {static_cast<char>('A' + i), ':', '\0'};
        drives_.push_back(text[0]);
        SendMessageA(driveBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void TfrmDirDir::ShowDriveInBox(char drive) {
    const auto it = std::find(drives_.begin(), drives_.end(), drive);
    const WPARAM index = it == drives_.end() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(it - drives_.begin());
    SendMessageA(driveBox_, CB_SETCURSEL, index, 0);
}

void TfrmDirDir::SelectDrive(char drive) {
    ShowDriveInBox(drive);
    tree_.SetDrive(drive);
}

void TfrmDirDir::TreeChange(const std::string& path) {
    SendMessageA(fileList_, LB_RESETCONTENT, 0, 0);
    for (const std::string& n : FilesShown(fs_, path)) SendMessageA(fileList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

std::vector<std::string> TfrmDirDir::Files() const {
    std::vector<std::string> out;
    const auto n = static_cast<int>(SendMessageA(fileList_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const auto len = static_cast<int>(SendMessageA(fileList_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::string s(static_cast<std::size_t>(len < 0 ? 0 : len) + 1, '\0');
        SendMessageA(fileList_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<std::size_t>(len < 0 ? 0 : len));
        out.push_back(std::move(s));
    }
    return out;
}

bool TfrmDirDir::TreeKeyDown(WPARAM vk) {
    const int action = keyLookup ? keyLookup(KeypadToDigit(static_cast<int>(vk)), CurrentModifiers()) : -1;
    if (action == kActionAskDrive) {
        LineQuestion q;
        q.title = "ドライブ移動";
        q.prompt = "移動先のドライブを入力してください";
        q.mode = amFreeText | amNoBrowse;
        if (CurrentPrompter().AskLine(q)) {
            const char drive = DriveOfAnswer(q.text);
            if (drive != 0) SelectDrive(drive);
        }
        return true;
    }
    if (const char drive = DriveOfAction(action); drive != 0) {
        SelectDrive(drive);
        return true;
    }
    switch (vk) {
    case VK_LEFT: tree_.CollapseSelected(); return true;
    case VK_RIGHT: tree_.ExpandSelected(); return true;
    default: return false;
    }
}

void TfrmDirDir::Begin(const std::string& startDir) {
    std::string start = startDir.empty() ? ProcessCurrentDir() : startDir;
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(start.c_str(), MAX_PATH, full, nullptr);
    if (n > 0 && n < MAX_PATH) start.assign(full, n);
    if (DriveOfPath(start) == 0) start = ProcessCurrentDir();
    const char drive = DriveOfPath(start);
    ShowDriveInBox(drive);
    BeginModal();
    result_.clear();
    if (drive != 0) {
        const bool keep = tree_.ShowCurrentDir;
        tree_.ShowCurrentDir = false;
        tree_.SetDrive(drive);
        tree_.ShowCurrentDir = keep;
        tree_.SelectPath(start);
    }
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(tree_.Handle());
}

int TfrmDirDir::ShowModal(const std::string& startDir) {
    Begin(startDir);
    HWND active = GetActiveWindow();
    if (!RunModal(active)) End(mrCancel);
    return ModalResult();
}

void TfrmDirDir::End(int result) {
    if (Finished()) return;
    if (result == mrOk) {
        std::string path = tree_.SelectedPath();
        if (path.empty() && tree_.Drive() != 0) path = std::string(1, tree_.Drive()) + ":";
        if (path.empty()) return;  // nothing chosen yet: OK waits
        result_ = PickedDir(path);
    }
    EndModal(result);
    // Listing may have moved the process: back to the filer's directory.
    if (!TheSession().currentDir.empty()) SetCurrentDirectoryA(TheSession().currentDir.c_str());
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT TfrmDirDir::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: FormResize(); return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            End(mrOk);
        } else if (LOWORD(wp) == IDCANCEL) {
            End(mrCancel);
        } else if (reinterpret_cast<HWND>(lp) == driveBox_ && HIWORD(wp) == CBN_SELCHANGE) {
            const auto sel = static_cast<int>(SendMessageA(driveBox_, CB_GETCURSEL, 0, 0));
            if (sel >= 0 && static_cast<std::size_t>(sel) < drives_.size()) {
                tree_.SetDrive(drives_[static_cast<std::size_t>(sel)]);
            }
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (tree_.Notify(reinterpret_cast<const NMHDR*>(lp), result)) return result;
        return Default(msg, wp, lp);
    }
    case WM_CLOSE: End(mrCancel); return 0;
    default: return Default(msg, wp, lp);
    }
}

bool ShowDirectoryPicker(HWND owner, std::string& dir) {
    TfrmDirDir form;
    form.keyLookup = &FilerKeyLookup;
    DirDirGeometry& kept = TheSession().dirPicker;
    if (!form.Create(owner, kept)) return false;
    const int result = form.ShowModal(dir);
    kept = form.GeometryToKeep();
    if (result != mrOk) return false;
    dir = form.Result();
    return true;
}

}  // namespace kestrum
