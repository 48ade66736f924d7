// The entry windows of the settings-menu editors: one alias, one directory
// list entry, one function-key title.
#include "config/list_editor_win.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/font_win.h"

namespace kestrum {

namespace {

const char kClassName[] = "TEditEntryForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kRowHeight = 22;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

// ---- base ------------------------------------------------------------------------

bool TEntryForm::CreateForm(HWND owner, const std::string& caption, int clientWidth, int clientHeight) {
    owner_ = owner;
    if (!RegisterWindowClass(kClassName)) return false;
    const SIZE outer = OuterSizeForClient(clientWidth, clientHeight, kStyle, kExStyle, false);
    if (!CreateWin(kClassName, kExStyle, kStyle, caption, 0, 0, outer.cx, outer.cy, owner)) return false;
    Centre(owner, CentreFallback::WorkArea);
    font_ = CreateFontFromSpec(FontSpec{"ＭＳ Ｐゴシック", 9, 0});
    SetChildFont(font_.Get());
    BeginModal();
    const int bx = clientWidth - 2 * kButtonWidth - 16;
    const int by = clientHeight - kButtonHeight - 8;
    return AddButton(IDOK, "OK", bx, by, kButtonWidth, true) &&
           AddButton(IDCANCEL, "Cancel", bx + kButtonWidth + 8, by, kButtonWidth);
}

HWND TEntryForm::AddLabel(const char* text, int x, int y, int w) {
    return AddChild("STATIC", text, SS_LEFT, x, y + 3, w, kRowHeight - 4, 0);
}

HWND TEntryForm::AddEdit(int id, int x, int y, int w, bool readOnly) {
    const DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0);
    return AddChild("EDIT", "", style, x, y, w, kRowHeight, id, WS_EX_CLIENTEDGE);
}

HWND TEntryForm::AddButton(int id, const char* text, int x, int y, int w, bool isDefault) {
    const DWORD style = WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    return AddChild("BUTTON", text, style, x, y, w, kButtonHeight - (id == IDOK || id == IDCANCEL ? 0 : 3), id);
}

bool TEntryForm::ShowModal() {
    BeginModal();
    SetFocus(Control(kEntryField1));
    RunModal(owner_);
    return ModalResult() == mrOk;
}

void TEntryForm::Finish(int result) { EndModal(result); }

LRESULT TEntryForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (HIWORD(wp) != BN_CLICKED) return 0;
        if (id == IDOK) {
            if (Accept()) Finish(mrOk);
        } else if (id == IDCANCEL) {
            Finish(mrCancel);
        } else {
            OnButton(id);
        }
        return 0;
    }
    case WM_CLOSE: Finish(mrCancel); return 0;
    default: return Default(msg, wp, lp);
    }
}

// ---- alias ---------------------------------------------------------------------------

bool TAliasEntryForm::Create(HWND owner) {
    if (!CreateForm(owner, "エイリアスの設定", 360, 128)) return false;
    const AliasEntry draft = editor_.Draft(index_);
    const int lx = 8, ex = 110, ew = 170, cx = 286, cw = 66;
    AddLabel("エイリアス名", lx, 10, ex - lx - 4);
    AddEdit(kEntryField1, ex, 10, ew + cw + 6, false);
    AddLabel("ファイル名", lx, 38, ex - lx - 4);
    AddEdit(kEntryField2, ex, 38, ew, true);
    AddButton(kEntryChange1, "変更", cx, 38, cw);
    AddLabel("起動ディレクトリ", lx, 66, ex - lx - 4);
    AddEdit(kEntryField3, ex, 66, ew, true);
    AddButton(kEntryChange2, "変更", cx, 66, cw);
    SetField(kEntryField1, draft.name);
    SetField(kEntryField2, draft.expansion);
    SetField(kEntryField3, draft.directory);
    return true;
}

void TAliasEntryForm::OnButton(int id) {
    const int field = id == kEntryChange1 ? kEntryField2 : id == kEntryChange2 ? kEntryField3 : 0;
    if (!field) return;
    std::string text = FieldText(field);
    const bool ok = id == kEntryChange1 ? editor_.AskExpansion(text) : editor_.AskDirectory(text);
    if (ok) SetField(field, text);
}

bool TAliasEntryForm::Accept() {
    AliasEntry entry{FieldText(kEntryField1), FieldText(kEntryField2), FieldText(kEntryField3)};
    if (!TAliasEditor::Validate(entry)) return false;
    editor_.Store(index_, entry);
    return true;
}

// ---- directory list entry --------------------------------------------------------------

bool TDirEntryForm::Create(HWND owner) {
    if (!CreateForm(owner, editor_.Caption(), 360, 100)) return false;
    const DirListEntry draft = editor_.Draft(index_);
    const int lx = 8, ex = 110, ew = 170, cx = 286, cw = 66;
    AddLabel("ディレクトリ名", lx, 10, ex - lx - 4);
    AddEdit(kEntryField1, ex, 10, ew, false);
    AddButton(kEntryChange1, "変更", cx, 10, cw);
    AddLabel("呼び出しキー", lx, 38, ex - lx - 4);
    HWND key = AddEdit(kEntryField2, ex, 38, 28, false);
    if (!key) return false;
    SendMessageA(key, EM_LIMITTEXT, 1, 0);
    keySubclass_.Attach(key, this, &TDirEntryForm::KeyProc);
    SetField(kEntryField1, draft.directory);
    SetField(kEntryField2, draft.key);
    return true;
}

LRESULT TDirEntryForm::KeyProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CHAR: {
        const auto ch = static_cast<unsigned char>(wp);
        if (swallowTrail_) {
            swallowTrail_ = false;
            return 0;
        }
        if (IsLeadByte(ch)) {
            swallowTrail_ = true;
            return 0;
        }
        if (ch < 0x20) return Subclass::CallNext(wnd, msg, wp, lp);  // Backspace, Ctrl+V ...
        // Each key typed replaces the content.
        const std::string key = UpperAscii(TDirListEditor::KeyFromTyped(ch));
        if (!key.empty()) {
            SetWindowTextA(wnd, key.c_str());
            SendMessageA(wnd, EM_SETSEL, 1, 1);
        }
        return 0;
    }
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

void TDirEntryForm::OnButton(int id) {
    if (id != kEntryChange1) return;
    std::string text = FieldText(kEntryField1);
    if (editor_.AskDirectory(text)) SetField(kEntryField1, text);
}

bool TDirEntryForm::Accept() {
    DirListEntry entry{FieldText(kEntryField1), FieldText(kEntryField2)};
    if (!TDirListEditor::Validate(entry)) return false;
    editor_.Store(index_, entry);
    return true;
}

// ---- function key title ----------------------------------------------------------------

bool TFunctionEntryForm::Create(HWND owner) {
    if (!CreateForm(owner, editor_.EntryCaption(index_), 300, 72)) return false;
    AddLabel("タイトル", 8, 10, 60);
    if (!AddEdit(kEntryField1, 72, 10, 220, false)) return false;
    SetField(kEntryField1, editor_.Draft(index_));
    return true;
}

bool TFunctionEntryForm::Accept() {
    std::string title = FieldText(kEntryField1);
    if (!TFunctionEditor::Validate(title)) return false;
    editor_.Store(index_, title);
    return true;
}

}  // namespace kestrum
