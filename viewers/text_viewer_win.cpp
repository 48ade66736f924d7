// TwttForm: creation from [TVIEW], loading, the menus and every command.
#include "viewers/text_viewer_win.h"

#include <algorithm>

#include "common/history.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "common/system_error_win.h"
#include "config/cfg_form_win.h"
#include "config/colors_win.h"
#include "config/config_questions.h"
#include "config/font_win.h"
#include "config/key_custom_win.h"
#include "config/key_files_win.h"
#include "config/profile.h"
#include "config/services.h"
#include "config/session.h"
#include "config/text_file.h"
#include "config/window_placement_win.h"
#include "viewers/sjis_convert.h"
#include "viewers/tag_jump.h"

namespace kestrum {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr const char* kWindowName = "テキストビューワー";
constexpr int kViewId = 1;
// Bytes wrapped between two looks at the window messages while a big
// file is loaded.
constexpr std::size_t kWrapSlice = 2u << 20;
constexpr int kProgressMax = 1000;
// The conversion takes this many lines a batch and moves the bar this far.
constexpr std::size_t kConvertBatch = 61;
constexpr int kConvertBarStep = 60;

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

std::string FullPath(const std::string& path) {
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

// A key-map action's menu caption: its name without the group, a tab and
// the first key bound to it.
std::string ActionCaption(int id) {
    const TKeyX& keyx = ViewerKeyX();
    const int n = keyx.IndexOfId(id);
    return n >= 0 ? keyx.MenuCaption(n) : std::string(ViewerKeyActionName(id));
}

void AddItem(HMENU menu, UINT id, const std::string& caption) { AppendMenuA(menu, MF_STRING, id, caption.c_str()); }
void AddAction(HMENU menu, int id) { AddItem(menu, TwttForm::kCmdAction0 + static_cast<UINT>(id), ActionCaption(id)); }

}  // namespace

TwttForm::TwttForm() = default;

TwttForm::~TwttForm() = default;

bool TwttForm::Create(HWND owner) {
    const Session& session = TheSession();
    const ProfileReader profile = ProfileReader::FromFile(session.settingsPath, session.settings.semicolonMode);
    const Geometry designed{80, 80, 480, 640};
    const Geometry g = OnVisibleDesktop(ReadGeometry(profile, "TVIEW", "", designed), designed);
    font_ = ReadFont(profile, "TVIEW", "FontName", "FontSize", "FontStyle", FontSpec{"ＭＳ ゴシック", 10, 0});
    startMaximised_ = profile.ReadInteger("TVIEW", "ISWSMAX", 0) == 1;

    BuildMenus();
    RegisterWindowClass("TwttForm", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TwttForm", 0, kStyle, kWindowName, g.left, g.top, g.width, g.height, owner, bar_)) {
        return false;
    }
    // A window placed elsewhere than asked is moved back by the difference.
    RECT placed{};
    GetWindowRect(Handle(), &placed);
    if (placed.left != g.left || placed.top != g.top) {
        SetWindowPos(Handle(), nullptr, 2 * g.left - placed.left, 2 * g.top - placed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HMENU sys = GetSystemMenu(Handle(), FALSE);
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sys, MF_STRING, kSysMain, "&1 Main");
    AppendMenuA(sys, MF_STRING, kSysFiler, "&2 ファイラー");
    AppendMenuA(sys, MF_STRING, kSysImage, "&3 画像ビューワー");

    view_.SetScrollBar(sbVertical);
    view_.SetMaxChar(80);
    view_.SetSelect(true);
    view_.SetTurnRight(false);
    view_.SetFont(font_);
    RECT rc{};
    GetClientRect(Handle(), &rc);
    if (!view_.Create(Handle(), 0, 0, rc.right, rc.bottom, kViewId)) return false;
    view_.SetPopupMenu(popup_.Get());
    view_.onKeyDown = [this](UINT vk) { return OnViewKey(vk); };
    view_.OnViewLineChanged = [this] { UpdateCaption(); };
    view_.OnSelEndChanged = [this] { UpdateCaption(); };
    ApplySettings();
    ApplyColors();

    TKeyX& keys = ViewerKeyX();
    subscriptions_.push_back(keys.runCommand.Connect([this](int id) { RunAction(id); }));
    subscriptions_.push_back(
        keys.setCaption.Connect([this](int id, const std::string& caption) { SetActionCaption(id, caption); }));
    subscriptions_.push_back(keys.captionsRefreshed.Connect([this] {
        if (Handle()) DrawMenuBar(Handle());
    }));
    subscriptions_.push_back(AddCfgAppliedListener([this](const Settings&) { ApplySettings(); }));
    subscriptions_.push_back(AddColorListener([this](int slot) {
        if (slot < 0 || slot == kColViewerText || slot == kColViewerBack) ApplyColors();
    }));
    subscriptions_.push_back(
        RegisterCfgFontAccess(kFontTextViewer, {[this] { return font_; }, [this](const FontSpec& f) { SetFont(f); }}));
    return true;
}

void TwttForm::BuildMenus() {
    bar_ = CreateMenu();
    fileMenu_ = CreatePopupMenu();
    AddAction(fileMenu_, aOpen);
    AddAction(fileMenu_, aSave);
    AddAction(fileMenu_, aClose);
    AppendMenuA(fileMenu_, MF_SEPARATOR, 0, nullptr);
    AddAction(fileMenu_, aEditor);
    AddAction(fileMenu_, aToSjis);
    AddAction(fileMenu_, aPrevious);
    AppendMenuA(fileMenu_, MF_SEPARATOR, 0, nullptr);
    AddAction(fileMenu_, aSettings);
    AddItem(fileMenu_, kCmdKeyCustom, "キーカスタマイズ");
    AddItem(fileMenu_, kCmdFont, "&Font変更");
    AddItem(fileMenu_, kCmdSystemMenu, "システムメニューを開く\tALT + SPACE");
    AppendMenuA(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu_), "ファイル(&F)");
    fixedFileItems_ = GetMenuItemCount(fileMenu_);

    HMENU edit = CreatePopupMenu();
    AddAction(edit, aCopy);
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AddAction(edit, aSearch);
    AddAction(edit, aSearchNext);
    AddAction(edit, aSearchPrevious);
    AddAction(edit, aIgnoreCase);
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AddAction(edit, aJump);
    AddAction(edit, aTagJump);
    AddItem(edit, kCmdTop, "ファイルの先頭に移動");
    AddItem(edit, kCmdEnd, "ファイルの最後に移動");
    AppendMenuA(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "検索(&S)");

    HMENU show = CreatePopupMenu();
    HMENU cursor = CreatePopupMenu();
    AddAction(cursor, aLineUp);
    AddAction(cursor, aLineDown);
    AppendMenuA(show, MF_POPUP, reinterpret_cast<UINT_PTR>(cursor), "カーソル移動");
    HMENU caret = CreatePopupMenu();
    AddAction(caret, aShowCaret);
    AddAction(caret, aHideCaret);
    AppendMenuA(show, MF_POPUP, reinterpret_cast<UINT_PTR>(caret), "キャレット");
    AppendMenuA(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(show), "表示(&V)");

    popup_.Reset(CreatePopupMenu());
    HMENU popup = popup_.Get();
    AddAction(popup, aCopy);
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AddAction(popup, aSearch);
    AddAction(popup, aSearchNext);
    AddAction(popup, aSearchPrevious);
    AddAction(popup, aJump);
    AddAction(popup, aTagJump);
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AddItem(popup, kCmdTop, "ファイルの先頭に移動");
    AddItem(popup, kCmdEnd, "ファイルの最後に移動");

    // "Next" and "previous" wait for a first search.
    for (HMENU m : {bar_, popup_.Get()}) {
        EnableMenuItem(m, kCmdAction0 + aSearchNext, MF_BYCOMMAND | MF_GRAYED);
        EnableMenuItem(m, kCmdAction0 + aSearchPrevious, MF_BYCOMMAND | MF_GRAYED);
    }
}

void TwttForm::SetActionCaption(int id, const std::string& caption) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING;
    std::string text = caption;
    mii.dwTypeData = text.data();
    for (HMENU m : {bar_, popup_.Get()}) SetMenuItemInfoA(m, kCmdAction0 + static_cast<UINT>(id), FALSE, &mii);
    if (Handle() && !ViewerKeyX().RefreshingCaptions()) DrawMenuBar(Handle());
}

void TwttForm::ApplySettings() {
    const Settings& s = TheSession().settings;
    // The view refuses a speed outside its range and keeps its own.
    if (s.tvspsc >= 1 && s.tvspsc <= 10) view_.SetScrollSense(s.tvspsc);
    view_.SetViewTabStop(std::max(s.tabWidth, 1));
}

void TwttForm::ApplyColors() {
    view_.SetColors(ResolveColor(TheColors().Get(kColViewerText)), ResolveColor(TheColors().Get(kColViewerBack)));
}

void TwttForm::SetFont(const FontSpec& font) {
    font_ = font;
    view_.SetFont(font);
}

Geometry TwttForm::NormalGeometry() const { return WindowGeometry(Handle()); }

bool TwttForm::Maximised() const { return IsMaximised(Handle()); }

void TwttForm::Show() {
    if (startMaximised_) {
        startMaximised_ = false;
        ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    } else {
        ShowWindow(Handle(), SW_SHOW);
    }
    SetForegroundWindow(Handle());
    SetFocus(view_.Handle());
}

void TwttForm::Close() { ShowWindow(Handle(), SW_HIDE); }

void TwttForm::UpdateCaption() {
    // Until something is shown the window keeps its name.
    if (!Handle() || title_.empty()) return;
    const std::string caption =
        view_.Caret() ? ViewerCaretCaption(title_, view_.CaretPos()) : ViewerCaption(title_, view_.TopLine());
    SetWindowTextA(Handle(), caption.c_str());
}

// ---- loading ----------------------------------------------------------------------------

class TwttForm::BusyScope {
public:
    explicit BusyScope(TwttForm& form) : form_(form) { form_.busy_ = true; }
    ~BusyScope() {
        form_.progress_.Finish();
        form_.busy_ = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TwttForm& form_;
};

void TwttForm::TextLost() {
    view_.SetCaret(false);
    view_.Clear();
    search_.Forget();
    current_.clear();
    title_.clear();
    if (Handle()) SetWindowTextA(Handle(), kWindowName);
}

bool TwttForm::ReadIntoView(const std::string& path) {
    DWORD error = 0;
    std::optional<TextBuffer> text = ReadTextFile(path, &error);
    if (!text) {
        ShowErrorBox(path + "\r\n" + SystemErrorText(error));
        return false;
    }
    search_.Forget();
    if (text->Size() <= kSliceThreshold) {
        view_.SetText(std::move(*text));
        return true;
    }
    // A big file is wrapped a slice at a time; the lines wrapped so far show
    // at once and the window goes on answering in between.
    const double size = static_cast<double>(text->Size());
    const BusyScope busy(*this);
    view_.BeginText(std::move(*text));
    progress_.Start(Handle(), path, kProgressMax, false);
    while (!view_.WrapSome(kWrapSlice)) {
        if (onLoadStep) onLoadStep();
        progress_.Step(static_cast<int>(static_cast<double>(view_.Lines().WrappedBytes()) / size * kProgressMax));
    }
    return true;
}

bool TwttForm::LoadFile(const std::string& path) {
    if (busy_ || path.empty()) return false;
    const std::string full = FullPath(path);
    const DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CurrentPrompter().ShowMessage(kDirectoryRefused);
        return false;
    }
    const std::string left = current_;
    const int leftTop = view_.TopLine();
    if (!current_.empty()) previous_ = current_;
    view_.SetCaret(false);
    AddToHistory(openHistory_, full);
    try {
        if (!ReadIntoView(full)) {
            UpdateCaption();
            return false;
        }
    } catch (...) {
        // Out of memory, or more lines than the view holds, after the old
        // text was given up: nothing half-read is left to be saved over the
        // file.
        TextLost();
        ShowCaughtException();
        return false;
    }
    current_ = full;
    title_ = full;
    if (const std::optional<std::size_t> top = recent_.Loaded(left, static_cast<std::size_t>(leftTop), full)) {
        view_.SetTopLine(static_cast<int>(*top));
    }
    UpdateRecentMenu();
    UpdateCaption();
    return true;
}

bool TwttForm::ViewFile(const std::string& path) {
    const std::string file = Unquoted(path);
    if (!file.empty() && !LoadFile(file)) return false;
    Show();
    return true;
}

void TwttForm::ShowText(const std::string& title, const std::string& text) {
    if (busy_) return;
    if (!current_.empty()) previous_ = current_;
    current_.clear();
    title_ = title;
    view_.SetCaret(false);
    search_.Forget();
    try {
        view_.SetText(text);
    } catch (...) {
        TextLost();
        ShowCaughtException();
        return;
    }
    UpdateCaption();
    Show();
}

void TwttForm::UpdateRecentMenu() {
    // The fixed entries come first; the recent files follow a separator.
    while (GetMenuItemCount(fileMenu_) > fixedFileItems_) DeleteMenu(fileMenu_, fixedFileItems_, MF_BYPOSITION);
    const std::vector<std::string> captions = recent_.Captions();
    if (!captions.empty()) AppendMenuA(fileMenu_, MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        AddItem(fileMenu_, kCmdRecent0 + static_cast<UINT>(i), captions[i]);
    }
    if (Handle()) DrawMenuBar(Handle());
}

void TwttForm::OpenRecent(int n) {
    const auto& entries = recent_.Entries();
    if (n < 0 || static_cast<std::size_t>(n) >= entries.size()) return;
    // Loading a listed file brings back the top line it was left at.
    LoadFile(std::string(entries[static_cast<std::size_t>(n)].path));
}

// ---- keys and commands ----------------------------------------------------------------------

bool TwttForm::OnViewKey(UINT vk) {
    if (busy_) return true;
    int key = static_cast<int>(vk);
    ViewerKeyX().LookUp(key, ModifierBits(KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU)));
    if (key == 0) return true;
    if (vk == VK_ESCAPE) {
        Close();
        return true;
    }
    if (vk == VK_RETURN && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU) &&
        TheSession().settings.tvCloseReturn) {
        Close();
        return true;
    }
    return false;
}

void TwttForm::RunCommand(UINT id) {
    if (busy_) return;
    if (id >= kCmdAction0 && id < kCmdAction0 + kViewerKeyActionCount) {
        RunActionId(static_cast<int>(id - kCmdAction0));
        return;
    }
    if (id >= kCmdRecent0 && id < kCmdRecent0 + TRecentFiles::kLimit) {
        OpenRecent(static_cast<int>(id - kCmdRecent0));
        return;
    }
    switch (id) {
    case kCmdTop: view_.SetTopLine(0); return;
    case kCmdEnd: view_.SetTopLine(view_.Count() - view_.VisibleLines()); return;
    case kCmdKeyCustom:
        ShowKeyCustomDialog(Handle(), ViewerKeyX(), kKeyCustomCaption, [] { SaveViewerKeyFile(); }, 0);
        return;
    case kCmdFont: ChangeFont(); return;
    case kCmdSystemMenu: PostMessageA(Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' '); return;
    default: return;
    }
}

void TwttForm::RunActionId(int id) {
    switch (id) {
    case aOpen: Open(); return;
    case aSave: Save(); return;
    case aClose: Close(); return;
    case aCopy: view_.CopyToClipboard(); return;
    case aToSjis: ToSjis(); return;
    case aEditor: Editor(); return;
    case aTagJump: TagJump(); return;
    case aPrevious:
        if (!previous_.empty()) LoadFile(std::string(previous_));
        return;
    case aLineUp: view_.PressKey(VK_UP); return;
    case aLineDown: view_.PressKey(VK_DOWN); return;
    case aSearch: AskSearch(); return;
    case aSearchNext: SearchNext(); return;
    case aSearchPrevious: SearchPrevious(); return;
    case aJump: JumpToLine(); return;
    case aIgnoreCase: ToggleIgnoreCase(); return;
    case aShowCaret: ShowCaret(); return;
    case aHideCaret: HideCaret(); return;
    case aSettings: ShowSettingsDialog(Handle(), kPageTextViewer); return;
    default: return;
    }
}

void TwttForm::Open() {
    LineQuestion q;
    q.title = "ファイルを開く";
    q.prompt = "ファイル名を入力してください";
    q.history = &openHistory_;
    if (!CurrentPrompter().AskLine(q)) return;
    // As TVIEW takes it: blanks round it and a pair of quotes go.
    const std::string file = Unquoted(q.text);
    if (!file.empty()) LoadFile(file);
}

void TwttForm::Save() {
    LineQuestion q;
    q.title = "文章のセーブ";
    q.prompt = "ファイル名を入力してください";
    q.text = current_;
    q.history = &TheSession().lists.exeHistory;
    if (!CurrentPrompter().AskLine(q) || q.text.empty()) return;
    const std::string name = FullPath(Unquoted(q.text));
    if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES &&
        CurrentPrompter().MessageDlg(kOverwriteQuestion, MsgType::Confirmation, MsgButtons::OkCancel) != mrOk) {
        return;
    }
    // Written beside the file and put in its place in one step: a failed
    // write leaves the file as it was.
    const bool existed = GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string text = view_.GetText();
    const bool saved = commitSteps ? CommitFile(*commitSteps, SaveTempPath(name), name, text)
                                   : CommitFile(SaveTempPath(name), name, text);
    if (!saved) {
        ShowErrorBox(SaveFailedText(name, existed));
        return;
    }
    current_ = name;
    title_ = name;
    UpdateCaption();
    TheFiler().RefreshListing();
}

void TwttForm::ToSjis() {
    // The file's own bytes, not its display lines: those are cut at every
    // CR and LF byte, which UTF-16 holds inside characters too.
    const TLightStrings& lines = view_.Lines();
    std::string joined;
    if (!lines.Pristine()) joined = view_.GetText();
    const std::string_view source = lines.Pristine() ? lines.Text() : std::string_view(joined);
    TSjisConverter converter(source);
    if (!converter.Converts()) return;
    const int top = view_.TopLine();
    bool cancelled = false;
    std::string result;
    {
        const BusyScope busy(*this);
        progress_.Start(Handle(), kConvertTitle, static_cast<int>(view_.ParagraphCount()), true);
        while (!converter.StepLines(kConvertBatch)) {
            if (onConvertStep) onConvertStep(progress_);
            if (!progress_.Step(progress_.Position() + kConvertBarStep)) {
                cancelled = true;
                break;
            }
        }
        // After a cancel the rest of the text stays as it was.
        result = converter.TakeResult();
    }
    // Until here the view holds its text; a failure in between leaves it so.
    search_.Forget();
    try {
        view_.SetText(TextBuffer::Adopt(std::move(result)));
    } catch (...) {
        TextLost();
        throw;
    }
    view_.SetTopLine(top);
    UpdateCaption();
    if (cancelled) CurrentPrompter().ShowMessage(kConvertAborted);
}

void TwttForm::Editor() {
    Close();
    TheCommands().Execute(CommandName(cmdEDIT) + " " + current_);
    TheFiler().RefreshListing();
}

void TwttForm::TagJump() {
    if (view_.Count() == 0) return;
    const kestrum::TagJump tag = ParseTagLine(view_.ParagraphText(TagParagraph(view_.Model())));
    if (tag.file.empty()) return;
    // A relative name is taken from the folder of the file shown.
    const std::string file = TagFilePath(tag.file, current_);
    Close();
    if (LoadFile(file) && tag.line) {
        view_.SetTopLine(static_cast<int>(DisplayLineOfSourceLine(view_.Lines(), *tag.line)));
    }
    Show();
}

void TwttForm::EnableSearchAgain() {
    for (HMENU m : {bar_, popup_.Get()}) {
        EnableMenuItem(m, kCmdAction0 + aSearchNext, MF_BYCOMMAND | MF_ENABLED);
        EnableMenuItem(m, kCmdAction0 + aSearchPrevious, MF_BYCOMMAND | MF_ENABLED);
    }
}

void TwttForm::AskSearch() {
    LineQuestion q;
    q.title = "Find";
    q.prompt = "検索文字列を入れて下さい";
    q.mode = amFreeText | amPlainHistory;
    q.history = &search_.history;
    if (!CurrentPrompter().AskLine(q) || q.text.empty()) return;
    search_.Start(q.text);
    EnableSearchAgain();
    SearchNext();
}

void TwttForm::SearchNext() {
    if (!search_.HasPattern()) return;
    const std::optional<std::size_t> line =
        search_.Next(view_.Lines(), static_cast<std::size_t>(std::max(view_.TopLine(), 0)),
                     static_cast<std::size_t>(std::max(view_.Model().MaxTop(), 0)));
    if (!line) {
        CurrentPrompter().ShowMessage(kSearchNotFound);
        return;
    }
    view_.SetTopLine(static_cast<int>(*line));
}

void TwttForm::SearchPrevious() {
    if (!search_.HasPattern()) return;
    const std::optional<std::size_t> line =
        search_.Previous(view_.Lines(), static_cast<std::size_t>(std::max(view_.TopLine(), 0)),
                         static_cast<std::size_t>(std::max(view_.Model().MaxTop(), 0)));
    if (!line) {
        CurrentPrompter().ShowMessage(kSearchNotFound);
        return;
    }
    view_.SetTopLine(static_cast<int>(*line));
}

void TwttForm::JumpToLine() {
    LineQuestion q;
    q.title = "Jump";
    q.prompt = "行番号を入力して下さい。";
    q.mode = amFreeText | amNoBrowse;
    if (!CurrentPrompter().AskLine(q)) return;
    const std::optional<long long> n = ParseLineNumber(q.text);
    if (!n) return;
    view_.SetTopLine(static_cast<int>(DisplayLineOfSourceLine(view_.Lines(), *n)));
}

void TwttForm::ToggleIgnoreCase() {
    search_.ignoreCase = !search_.ignoreCase;
    CheckMenuItem(bar_, kCmdAction0 + aIgnoreCase, MF_BYCOMMAND | (search_.ignoreCase ? MF_CHECKED : MF_UNCHECKED));
}

void TwttForm::ShowCaret() {
    view_.SetCaret(true);
    view_.SetCaretPos(TextPos{1, view_.TopLine()});
    UpdateCaption();
}

void TwttForm::HideCaret() {
    view_.SetCaret(false);
    UpdateCaption();
}

void TwttForm::ChangeFont() {
    FontSpec font = font_;
    if (!ConfigAsk().AskFont(font, FontPitch::Fixed)) return;
    SetFont(font);
}

LRESULT TwttForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (view_.Handle()) MoveWindow(view_.Handle(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (view_.Handle()) SetFocus(view_.Handle());
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        if (lp == 0) {
            RunCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case kSysMain: TheShellWindow().ShowShell(); return 0;
        case kSysFiler: TheFiler().Show(); return 0;
        case kSysImage: TheCommands().Execute(CommandName(cmdPVIEW)); return 0;
        default: break;
        }
        break;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
