// TcfgForm: the settings dialog, built in code from the control table.
#include "config/cfg_form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/colors_dialog_win.h"
#include "config/colors_win.h"
#include "config/config_questions.h"
#include "config/font_win.h"
#include "config/key_custom_win.h"
#include "config/key_files_win.h"
#include "config/semicolon_option.h"
#include "config/services.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"

namespace kestrum {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kPartsPerItem = 8;

Registry<CfgFormRunner>& Runners() {
    static Registry<CfgFormRunner> runners;
    return runners;
}

std::array<Registry<CfgFontAccess>, kCfgFontCount>& FontAccesses() {
    static std::array<Registry<CfgFontAccess>, kCfgFontCount> access;
    return access;
}

// The font access of a button: a registered one, else the shell's and the
// filer's own windows.
CfgFontAccess FontAccessFor(int which) {
    if (which < 0 || which >= kCfgFontCount) return {};
    const CfgFontAccess* registered = FontAccesses()[static_cast<std::size_t>(which)].Current();
    if (registered && registered->set) return *registered;
    if (which == kFontShell && TheShellWindow().Present()) {
        ShellWindowService* shell = &TheShellWindow();
        return {[shell] { return shell->Font(); }, [shell](const FontSpec& f) { shell->SetFont(f); }};
    }
    if (which >= kFontFilerList && which <= kFontFilerCommand && TheFiler().Present()) {
        FilerService* filer = &TheFiler();
        const int i = which - kFontFilerList;
        return {[filer, i] { return filer->Font(i); }, [filer, i](const FontSpec& f) { filer->SetFont(i, f); }};
    }
    return {};
}

Signal<const Settings&>& Listeners() {
    static Signal<const Settings&> listeners;
    return listeners;
}

}  // namespace

TcfgForm::~TcfgForm() = default;

bool TcfgForm::Create(HWND owner) {
    owner_ = owner;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClass("TcfgForm", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TcfgForm", kExStyle, kStyle, "Kestrum 設定", CW_USEDEFAULT, CW_USEDEFAULT, 200, 200, owner)) {
        return false;
    }
    FormCreate();
    return true;
}

HWND TcfgForm::Add(int page, const char* cls, const char* text, DWORD style, int id, const CfgRect& r, DWORD ex) {
    // Page controls live in their page's panel, the rest on the form.
    HWND parent = page >= 0 ? pageWnds_[static_cast<std::size_t>(page)] : Handle();
    const int x = page >= 0 ? r.x : origin_.x + r.x;
    const int y = page >= 0 ? r.y : origin_.y + r.y;
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, r.w, r.h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (page >= 0) pages_[static_cast<std::size_t>(page)].push_back(c);
    return c;
}

void TcfgForm::FormCreate() {
    HWND wnd = Handle();
    font_ = CreateFontFromSpec(FontSpec{"ＭＳ Ｐゴシック", 9, 0});
    pages_.assign(kCfgPageCount, {});
    items_.assign(CfgItems().size(), {});

    // The tab control sized so that its display area holds a page.
    tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_MULTILINE,
                            kMargin, kMargin, kCfgPageWidth + 8, 200, wnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabs)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    for (int p = 0; p < kCfgPageCount; ++p) {
        const std::string name(CfgPageNames()[static_cast<std::size_t>(p)]);
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(name.c_str());
        SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&tab));
    }
    RECT display{0, 0, kCfgPageWidth, kCfgPageHeight};
    SendMessageA(tabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    const int tabW = display.right - display.left;
    const int tabH = display.bottom - display.top;
    MoveWindow(tabs_, kMargin, kMargin, tabW, tabH, FALSE);
    RECT inner{0, 0, tabW, tabH};
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
    origin_ = POINT{kMargin + inner.left, kMargin + inner.top};
    // One panel per page over the tab's display area; it paints the page's
    // background (group boxes leave theirs) and hands commands to the form.
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TcfgForm::PageProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "TcfgPage";
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    for (int p = 0; p < kCfgPageCount; ++p) {
        pageWnds_.push_back(CreateWindowExA(WS_EX_CONTROLPARENT, "TcfgPage", "", WS_CHILD | WS_CLIPSIBLINGS, origin_.x,
                                            origin_.y, inner.right - inner.left, inner.bottom - inner.top, wnd,
                                            nullptr, GetModuleHandleA(nullptr), nullptr));
    }

    // Page 0: the internal command names.
    const CfgCommandLayout cl = LayoutCfgCommands();
    Add(kPageMain, "BUTTON", "内部コマンド名", BS_GROUPBOX, kIdCommandGroup, cl.group);
    for (int r = 0; r < kCfgCommandRows; ++r) {
        const std::string label(CfgCommandRows()[static_cast<std::size_t>(r)].label);
        Add(kPageMain, "STATIC", label.c_str(), SS_NOPREFIX, 0, cl.labels[static_cast<std::size_t>(r)]);
        commandEdits_.push_back(Add(kPageMain, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL | ES_UPPERCASE,
                                    kIdCommand0 + r, cl.edits[static_cast<std::size_t>(r)], WS_EX_CLIENTEDGE));
    }
    // The behaviour page starts with the semicolon option.
    semicolon_ = Add(kPageBehaviour, "BUTTON", "；を連続実行の区切り文字とする", WS_TABSTOP | BS_CHECKBOX, kIdSemicolon,
                     CfgRect{8, 8, (kCfgPageWidth - 24) / 2, kCfgRowHeight});
    for (int p = 1; p < kCfgPageCount; ++p) {
        for (const CfgPlaced& placed : LayoutCfgPage(p)) {
            BuildItem(placed.item, CfgItems()[placed.item], placed.rect);
        }
    }

    // OK, Cancel and the disabled Help below the pages.
    const int clientW = kMargin * 2 + tabW;
    const int buttonsY = kMargin + tabH + kMargin;
    const int clientH = buttonsY + kButtonHeight + kMargin;
    int x = clientW - kMargin - 3 * kButtonWidth - 2 * 6;
    auto button = [&](const char* text, int id, DWORD style) {
        HWND b = Add(-1, "BUTTON", text, WS_VISIBLE | WS_TABSTOP | style, id,
                     CfgRect{x - origin_.x, buttonsY - origin_.y, kButtonWidth, kButtonHeight});
        x += kButtonWidth + 6;
        return b;
    };
    button("OK", IDOK, BS_DEFPUSHBUTTON);
    button("Cancel", IDCANCEL, BS_PUSHBUTTON);
    help_ = button("Help", kIdHelp, BS_PUSHBUTTON);
    EnableWindow(help_, FALSE);

    // Group boxes stay behind the controls they frame, the tab control
    // behind the pages.
    auto toBottom = [](HWND w) {
        if (w) SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    toBottom(GetDlgItem(pageWnds_[kPageMain], kIdCommandGroup));
    for (std::size_t n = 0; n < items_.size(); ++n) {
        if (CfgItems()[n].kind == CfgKind::Radio) toBottom(items_[n].main);
    }
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const SIZE outer = OuterSizeForClient(clientW, clientH, kStyle, kExStyle, false);
    SetWindowPos(wnd, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TcfgForm::BuildItem(std::size_t n, const CfgItem& item, const CfgRect& r) {
    ItemControls& c = items_[n];
    const int id = kIdItem0 + static_cast<int>(n);
    const int partId = kIdPart0 + static_cast<int>(n) * kPartsPerItem;
    const std::string caption(item.caption);
    const int page = item.page;
    switch (item.kind) {
    case CfgKind::Check:
        c.main = Add(page, "BUTTON", caption.c_str(), WS_TABSTOP | BS_AUTOCHECKBOX, id, r);
        break;
    case CfgKind::Radio:
        c.main = Add(page, "BUTTON", caption.c_str(), BS_GROUPBOX, id, r);
        for (std::size_t k = 0; k < item.options.size(); ++k) {
            const std::string option(item.options[k]);
            const CfgRect o{r.x + 12, r.y + 18 + 18 * static_cast<int>(k), r.w - 20, 18};
            c.parts.push_back(Add(page, "BUTTON", option.c_str(), WS_TABSTOP | BS_RADIOBUTTON,
                                  partId + static_cast<int>(k), o));
        }
        break;
    case CfgKind::Number: {
        const int editW = 64;
        c.label = Add(page, "STATIC", caption.c_str(), SS_NOPREFIX, 0, CfgRect{r.x, r.y + 4, r.w - editW - 4, 18});
        c.main = Add(page, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, id, CfgRect{r.x + r.w - editW, r.y, editW, 22},
                     WS_EX_CLIENTEDGE);
        break;
    }
    case CfgKind::Text: {
        if (item.inlineItem) {
            c.main = Add(page, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, id, r, WS_EX_CLIENTEDGE);
            break;
        }
        c.label = Add(page, "STATIC", caption.c_str(), SS_NOPREFIX, 0, CfgRect{r.x, r.y, r.w, 18});
        const int pickW = item.pick == CfgPick::None ? 0 : kCfgPickWidth + 4;
        c.main = Add(page, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, id, CfgRect{r.x, r.y + 18, r.w - pickW, 22},
                     WS_EX_CLIENTEDGE);
        if (pickW > 0) {
            c.pick = Add(page, "BUTTON", "変更", WS_TABSTOP | BS_PUSHBUTTON, kIdPick0 + static_cast<int>(n),
                         CfgRect{r.x + r.w - kCfgPickWidth, r.y + 17, kCfgPickWidth, 24});
        }
        break;
    }
    case CfgKind::HotKey: {
        c.label = Add(page, "STATIC", caption.c_str(), SS_NOPREFIX, 0, CfgRect{r.x, r.y + 4, 64, 18});
        const char* names[3] = {"SHIFT", "CTRL", "ALT"};
        const int widths[3] = {56, 50, 44};
        int x = r.x + 66;
        for (int k = 0; k < 3; ++k) {
            c.parts.push_back(Add(page, "BUTTON", names[k], WS_TABSTOP | BS_AUTOCHECKBOX, partId + k,
                                  CfgRect{x, r.y + 2, widths[k], 20}));
            x += widths[k] + 2;
        }
        c.main = Add(page, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL | ES_UPPERCASE, id, CfgRect{x, r.y, 40, 22},
                     WS_EX_CLIENTEDGE);
        SendMessageA(c.main, EM_LIMITTEXT, 3, 0);
        c.parts.push_back(c.main);
        break;
    }
    case CfgKind::Label:
        c.main = Add(page, "STATIC", caption.c_str(), SS_NOPREFIX, 0, CfgRect{r.x, r.y + 3, r.w, r.h - 3});
        break;
    case CfgKind::Button:
        c.main = Add(page, "BUTTON", caption.c_str(), WS_TABSTOP | BS_PUSHBUTTON, id, r);
        if (item.action == CfgAction::Font && !FontAccessFor(item.arg).set) EnableWindow(c.main, FALSE);
        break;
    }
}

// ---- the controls -------------------------------------------------------------

HWND TcfgForm::Item(std::string_view key) const {
    const CfgItem* item = FindCfgItem(key);
    return item ? items_[static_cast<std::size_t>(item - CfgItems().data())].main : nullptr;
}

HWND TcfgForm::RadioButton(std::string_view key, int option) const {
    const CfgItem* item = FindCfgItem(key);
    if (!item || item->kind != CfgKind::Radio) return nullptr;
    const std::vector<HWND>& parts = items_[static_cast<std::size_t>(item - CfgItems().data())].parts;
    return option >= 0 && static_cast<std::size_t>(option) < parts.size() ? parts[static_cast<std::size_t>(option)]
                                                                          : nullptr;
}

HWND TcfgForm::PickButton(std::string_view key) const {
    const CfgItem* item = FindCfgItem(key);
    return item ? items_[static_cast<std::size_t>(item - CfgItems().data())].pick : nullptr;
}

HWND TcfgForm::ActionButton(CfgAction action, int arg) const {
    const std::vector<CfgItem>& all = CfgItems();
    for (std::size_t n = 0; n < all.size(); ++n) {
        if (all[n].kind == CfgKind::Button && all[n].action == action && all[n].arg == arg) return items_[n].main;
    }
    return nullptr;
}

HWND TcfgForm::HotKeyPart(int part) const {
    const CfgItem* item = FindCfgItem("HOTTEXT");
    if (!item) return nullptr;
    const std::vector<HWND>& parts = items_[static_cast<std::size_t>(item - CfgItems().data())].parts;
    return part >= 0 && static_cast<std::size_t>(part) < parts.size() ? parts[static_cast<std::size_t>(part)]
                                                                      : nullptr;
}

HWND TcfgForm::CommandEdit(int row) const {
    return row >= 0 && row < kCfgCommandRows ? commandEdits_[static_cast<std::size_t>(row)] : nullptr;
}

void TcfgForm::SelectRadio(std::size_t n, int option) {
    const std::vector<HWND>& parts = items_[n].parts;
    for (std::size_t k = 0; k < parts.size(); ++k) SetChecked(parts[k], static_cast<int>(k) == option);
}

void TcfgForm::SelectPage(int page) {
    if (page < 0 || page >= kCfgPageCount) page = 0;
    page_ = page;
    SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int p = 0; p < kCfgPageCount; ++p) {
        ShowWindow(pageWnds_[static_cast<std::size_t>(p)], p == page ? SW_SHOW : SW_HIDE);
    }
    focus_ = nullptr;
}

void TcfgForm::FocusFirst() {
    HWND first = nullptr;
    for (HWND c : pages_[static_cast<std::size_t>(page_)]) {
        if ((GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(c)) {
            first = c;
            break;
        }
    }
    focus_ = first ? first : tabs_;
    SetFocus(focus_);
    char cls[16] = {};
    GetClassNameA(focus_, cls, sizeof cls);
    if (SameText(cls, "EDIT")) SendMessageA(focus_, EM_SETSEL, 0, -1);
}

void TcfgForm::UpdateEnabled() {
    const std::vector<CfgItem>& all = CfgItems();
    for (std::size_t n = 0; n < all.size(); ++n) {
        if (all[n].enabledBy.empty()) continue;
        const HWND by = Item(all[n].enabledBy);
        const bool on = by && IsChecked(by);
        const ItemControls& c = items_[n];
        for (HWND h : {c.main, c.label, c.pick}) {
            if (h) EnableWindow(h, on);
        }
        for (HWND h : c.parts) EnableWindow(h, on);
    }
}

CfgValues TcfgForm::ReadValues() const {
    CfgValues v;
    const std::vector<CfgItem>& all = CfgItems();
    for (std::size_t n = 0; n < all.size(); ++n) {
        const CfgItem& item = all[n];
        if (item.key.empty()) continue;
        const ItemControls& c = items_[n];
        std::string value;
        switch (item.kind) {
        case CfgKind::Check: value = IsChecked(c.main) ? "1" : "0"; break;
        case CfgKind::Radio:
            for (std::size_t k = 0; k < c.parts.size(); ++k) {
                if (!IsChecked(c.parts[k])) continue;
                value = std::to_string(item.values.empty() ? static_cast<int>(k) : item.values[k]);
            }
            break;
        case CfgKind::HotKey: {
            auto ticked = [&](int k) { return IsChecked(c.parts[static_cast<std::size_t>(k)]); };
            HotKeyText h{ticked(kHotShift), ticked(kHotCtrl), ticked(kHotAlt), Trim(GetText(c.main))};
            value = FormatHotText(h);
            break;
        }
        default: value = GetText(c.main); break;
        }
        v[std::string(item.key)] = value;
    }
    return v;
}

void TcfgForm::Fill() {
    Session& session = TheSession();
    Settings shown = session.settings;
    shown.menuBar = session.menuBarShown;
    const CfgValues v = CfgFill(shown);
    const std::vector<CfgItem>& all = CfgItems();
    for (std::size_t n = 0; n < all.size(); ++n) {
        const CfgItem& item = all[n];
        if (item.key.empty()) continue;
        const auto it = v.find(item.key);
        const std::string value = it == v.end() ? std::string() : it->second;
        const ItemControls& c = items_[n];
        switch (item.kind) {
        case CfgKind::Check: SetChecked(c.main, value == "1"); break;
        case CfgKind::Radio: {
            const int number = ParseInt(value).value_or(-1);
            int option = -1;
            for (std::size_t k = 0; k < item.options.size(); ++k) {
                if ((item.values.empty() ? static_cast<int>(k) : item.values[k]) == number) option = static_cast<int>(k);
            }
            SelectRadio(n, option);
            break;
        }
        case CfgKind::HotKey: {
            const HotKeyText h = ParseHotText(value);
            SetChecked(c.parts[kHotShift], h.shift);
            SetChecked(c.parts[kHotCtrl], h.ctrl);
            SetChecked(c.parts[kHotAlt], h.alt);
            SetWindowTextA(c.main, h.key.c_str());
            break;
        }
        default: SetWindowTextA(c.main, value.c_str()); break;
        }
    }
    for (int r = 0; r < kCfgCommandRows; ++r) {
        const std::size_t cmd = static_cast<std::size_t>(CfgCommandRows()[static_cast<std::size_t>(r)].command);
        const std::string name = cmd < session.lists.commandTable.size() ? session.lists.commandTable[cmd]
                                                                     : std::string(DefaultCommandNames()[cmd]);
        SetWindowTextA(commandEdits_[static_cast<std::size_t>(r)], name.c_str());
    }
    SetChecked(semicolon_, session.settings.semicolonMode);
    EnableWindow(semicolon_, !session.settings.semicolonMode);
    UpdateEnabled();
    keyFileAtOpen_ = keyFileLoaded_ = session.settings.keyCustomFile;
    keysPreviewed_ = false;
    colorFileAtOpen_ = colorFileLoaded_ = session.settings.colorCustomFile;
}

// ---- running ----------------------------------------------------------------

void TcfgForm::Begin(int page) {
    Fill();
    Centre(owner_, CentreFallback::Screen, true);
    SelectPage(page);
    BeginModal();
    ShowWindow(Handle(), SW_SHOW);
    FocusFirst();
}

int TcfgForm::ShowModal(int page) {
    HWND active = GetActiveWindow();
    Begin(page);
    if (!RunModal(active)) EndModal(mrCancel);
    return ModalResult() == mrOk ? mrOk : mrCancel;
}

void TcfgForm::Finish(int result) {
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

bool TcfgForm::OkClick() {
    Session& session = TheSession();
    const CfgValues values = ReadValues();
    if (const std::optional<std::string> why = CfgValidate(values)) {
        CurrentPrompter().MessageDlg(*why, MsgType::Warning, MsgButtons::Ok);
        return false;
    }
    std::vector<std::string> commands = session.lists.commandTable;
    if (commands.size() != static_cast<std::size_t>(kCommandCount)) {
        commands.assign(DefaultCommandNames().begin(), DefaultCommandNames().end());
    }
    for (int r = 0; r < kCfgCommandRows; ++r) {
        const std::size_t cmd = static_cast<std::size_t>(CfgCommandRows()[static_cast<std::size_t>(r)].command);
        commands[cmd] = UpperAscii(Trim(GetText(commandEdits_[static_cast<std::size_t>(r)])));
    }
    if (const std::optional<std::string> why = ValidateCommandNames(commands)) {
        CurrentPrompter().MessageDlg(*why, MsgType::Warning, MsgButtons::Ok);
        return false;
    }

    // Copy back and apply.
    const Settings before = session.settings;
    CfgStore(values, session.settings);
    session.lists.commandTable = commands;
    Settings& s = session.settings;
    s.effectiveViewer = s.viewMode ? commands[cmdTVIEW] : s.viewer;
    if (s.keyCustomFile != keyFileLoaded_) LoadFilerKeyFile(s.keyCustomFile, false);
    if (s.colorCustomFile != colorFileLoaded_) LoadColorFile();
    ApplyDialogSettings(before);

    // One save: the command names and every key of the dialog.
    TSettingsFile file(session.settingsPath, s.semicolonMode);
    WriteCfgDialog(file, s, commands);
    file.SaveOrSay();
    Finish(mrOk);
    return true;
}

void TcfgForm::CancelClick() {
    Session& session = TheSession();
    if (keysPreviewed_) {
        // The map as it was before the first preview, from memory: no file
        // is read or written.
        TKeyX& keys = FilerKeyX();
        keys.KeyXUserKey.Assign(keysBeforePreview_);
        keys.unreadableFile = keysUnreadableBeforePreview_;
        keys.RefreshCaptions();
        keysPreviewed_ = false;
        keyFileLoaded_ = keyFileAtOpen_;
    }
    if (colorFileLoaded_ != colorFileAtOpen_) {
        session.settings.colorCustomFile = colorFileAtOpen_;
        LoadColorFile();
    }
    Finish(mrCancel);
}

void TcfgForm::SemicolonClick() {
    Session& session = TheSession();
    if (session.settings.semicolonMode || !IsWindowEnabled(semicolon_)) return;
    SetChecked(semicolon_, true);
    const SemicolonOutcome out = TurnOnSemicolonOption(session.settingsPath, session.settings);
    SetChecked(semicolon_, out.ticked);
    EnableWindow(semicolon_, !out.disabled);
}

void TcfgForm::Pick(std::size_t n) {
    Session& session = TheSession();
    const CfgItem& item = CfgItems()[n];
    HWND edit = items_[n].main;
    LineQuestion q;
    q.title = std::string(item.caption);
    q.text = GetText(edit);
    bool ok = false;
    switch (item.pick) {
    case CfgPick::Program:
        q.prompt = "ファイル名を入力してください";
        q.mode = amFreeText | amReplaceOnBrowse;
        q.history = &session.lists.exeHistory;
        ok = ConfigAsk().AskLineFiltered(q, "*.EXE");
        break;
    case CfgPick::Directory:
        q.prompt = "ディレクトリ名を入力してください";
        q.history = &session.lists.dirHistory;
        ok = CurrentPrompter().AskLine(q);
        break;
    case CfgPick::File:
        q.prompt = "ファイル名を入力してください";
        q.mode = amFreeText | amReplaceOnBrowse;
        ok = CurrentPrompter().AskLine(q);
        break;
    case CfgPick::None: break;
    }
    if (!ok) return;
    const std::string text = Trim(q.text);
    SetWindowTextA(edit, text.c_str());
    // The key and colour files are loaded at once for a preview.
    if (SameText(item.key, "KeyCustomFile") && text != keyFileLoaded_) {
        if (!keysPreviewed_) {
            keysBeforePreview_.Assign(FilerKeyX().KeyXUserKey);
            keysUnreadableBeforePreview_ = FilerKeyX().unreadableFile;
            keysPreviewed_ = true;
        }
        LoadFilerKeyFile(text, true);
        keyFileLoaded_ = text;
    } else if (SameText(item.key, "ColorCustomFile") && text != colorFileLoaded_) {
        session.settings.colorCustomFile = text;
        LoadColorFile();
        colorFileLoaded_ = text;
    }
}

void TcfgForm::OnButton(std::size_t n) {
    const CfgItem& item = CfgItems()[n];
    switch (item.action) {
    case CfgAction::FilerKeys:
        // The map shown is the previewed file's: its bindings go there.
        ShowKeyCustomDialog(Handle(), FilerKeyX(), "", [this] { SaveFilerKeyFileAs(keyFileLoaded_); }, 0);
        break;
    case CfgAction::ViewerKeys:
        ShowKeyCustomDialog(Handle(), ViewerKeyX(), kKeyCustomCaption, [] { SaveViewerKeyFile(); }, 0);
        break;
    case CfgAction::FilerColors: {
        TfrmColc colc;
        if (!colc.Create(Handle())) break;
        if (runFilerColors) {
            runFilerColors(colc);
        } else {
            colc.ShowModal();
        }
        break;
    }
    case CfgAction::Color: {
        ColorValue color = TheColors().Get(item.arg);
        if (ConfigAsk().AskColor(color)) SetColor(item.arg, color);
        break;
    }
    case CfgAction::Font: {
        const CfgFontAccess access = FontAccessFor(item.arg);
        if (!access.set) break;
        FontSpec font = access.get ? access.get() : FontSpec{};
        if (ConfigAsk().AskFont(font)) access.set(font);
        break;
    }
    case CfgAction::ViewerSize: {
        int width = 0;
        int height = 0;
        if (!TheViewers().ImageViewerClientSize(width, height)) break;
        SetWindowTextA(Item("PVMaxX"), std::to_string(width).c_str());
        SetWindowTextA(Item("PVMaxY"), std::to_string(height).c_str());
        break;
    }
    case CfgAction::None: break;
    }
}

void TcfgForm::OnCommand(int id, int code) {
    const std::size_t count = CfgItems().size();
    if (id == IDOK) {
        OkClick();
    } else if (id == IDCANCEL) {
        CancelClick();
    } else if (id == kIdSemicolon) {
        if (code == BN_CLICKED) SemicolonClick();
    } else if (id >= kIdSelectPage0 && id < kIdSelectPage0 + kCfgPageCount) {
        SelectPage(id - kIdSelectPage0);
        FocusFirst();
    } else if (id >= kIdItem0 && id < kIdItem0 + static_cast<int>(count)) {
        if (code != BN_CLICKED) return;
        const std::size_t n = static_cast<std::size_t>(id - kIdItem0);
        if (CfgItems()[n].kind == CfgKind::Button) OnButton(n);
        if (CfgItems()[n].kind == CfgKind::Check) UpdateEnabled();
    } else if (id >= kIdPick0 && id < kIdPick0 + static_cast<int>(count)) {
        if (code == BN_CLICKED) Pick(static_cast<std::size_t>(id - kIdPick0));
    } else if (id >= kIdPart0 && id < kIdPart0 + static_cast<int>(count) * kPartsPerItem) {
        const std::size_t n = static_cast<std::size_t>((id - kIdPart0) / kPartsPerItem);
        if (code == BN_CLICKED && CfgItems()[n].kind == CfgKind::Radio) SelectRadio(n, (id - kIdPart0) % kPartsPerItem);
    }
}

LRESULT TcfgForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_NOTIFY: {
        const auto* h = reinterpret_cast<const NMHDR*>(lp);
        if (h && h->hwndFrom == tabs_ && h->code == TCN_SELCHANGE) {
            SelectPage(static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
    }
    case WM_ACTIVATE:
        // Keep the focus on the control that had it.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(Handle(), f)) focus_ = f;
        } else if (focus_ && IsWindow(focus_)) {
            SetFocus(focus_);
            return 0;
        }
        break;
    case WM_CLOSE: CancelClick(); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

LRESULT CALLBACK TcfgForm::PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] {
        if (msg == WM_COMMAND || msg == WM_NOTIFY) return SendMessageA(GetParent(wnd), msg, wp, lp);
        return DefWindowProcA(wnd, msg, wp, lp);
    });
}

// ---- entry points ---------------------------------------------------------------

int ShowSettingsDialog(HWND owner, int page) {
    TcfgForm form;
    if (!form.Create(owner)) return mrCancel;
    if (const CfgFormRunner* runner = Runners().Current(); runner && *runner) {
        const CfgFormRunner run = *runner;  // a copy: the runner may change the registrations
        form.Begin(page);
        const int r = run(form);
        if (!form.Finished()) form.CancelClick();
        return r;
    }
    return form.ShowModal(page);
}

Subscription InstallCfgFormRunner(CfgFormRunner runner) { return Runners().Register(std::move(runner)); }

Subscription RegisterCfgFontAccess(CfgFont which, CfgFontAccess access) {
    if (which < 0 || which >= kCfgFontCount) return {};
    return FontAccesses()[static_cast<std::size_t>(which)].Register(std::move(access));
}

void ApplyDialogSettings(const Settings& before) { Listeners()(before); }

Subscription AddCfgAppliedListener(CfgAppliedListener listener) { return Listeners().Connect(std::move(listener)); }

std::size_t CfgAppliedListenerCount() { return Listeners().Count(); }

}  // namespace kestrum
