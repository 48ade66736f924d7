// TFormEdit, the list window shared by the settings-menu editors, and the
// three menu entry points.
#include "config/list_editor_win.h"

#include "common/prompter.h"
#include "config/font_win.h"
#include "config/session.h"

namespace kestrum {

namespace {

const char kClassName[] = "TFormEdit";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 330;
constexpr int kClientHeight = 258;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;

}  // namespace

TFormEdit::TFormEdit(TListEditorModel& model, EntryOpener opener) : model_(model), opener_(std::move(opener)) {}

UINT TFormEdit::DragMessage() {
    static const UINT msg = RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return msg;
}

bool TFormEdit::Create(HWND owner) {
    owner_ = owner;
    if (!RegisterWindowClass(kClassName)) return false;
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, kExStyle, false);
    if (!CreateWin(kClassName, kExStyle, kStyle, model_.Caption(), 0, 0, outer.cx, outer.cy, owner)) return false;
    Centre(nullptr, CentreFallback::WorkArea);
    font_ = CreateFontFromSpec(FontSpec{"ＭＳ Ｐゴシック", 9, 0});
    SetChildFont(font_.Get());
    list_ = AddChild("LISTBOX", "", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 8, 8,
                     kClientWidth - kButtonWidth - 24, kClientHeight - 16, kEditList, WS_EX_CLIENTEDGE);
    if (!list_) return false;
    MakeDragList(list_);
    struct ButtonDef {
        int id;
        const char* text;
        DWORD style;
    };
    const ButtonDef buttons[] = {
        {kEditNew, "新規", BS_PUSHBUTTON},      {kEditDelete, "削除", BS_PUSHBUTTON},
        {kEditEdit, "編集", BS_PUSHBUTTON},     {kEditUp, "１つ上へ", BS_PUSHBUTTON},
        {kEditDown, "１つ下へ", BS_PUSHBUTTON}, {IDOK, "OK", BS_DEFPUSHBUTTON},
        {IDCANCEL, "Cancel", BS_PUSHBUTTON},
    };
    const int bx = kClientWidth - kButtonWidth - 8;
    int by = 8;
    for (const ButtonDef& b : buttons) {
        if (b.id == IDOK) by += 16;  // OK and Cancel apart from the list buttons
        if (!AddChild("BUTTON", b.text, WS_TABSTOP | b.style, bx, by, kButtonWidth, kButtonHeight, b.id)) return false;
        by += kButtonHeight + 6;
    }
    model_.SelectFirst();
    Refresh();
    BeginModal();
    return true;
}

bool TFormEdit::ShowModal() {
    BeginModal();
    SetFocus(list_);
    RunModal(owner_);
    return ModalResult() == mrOk;
}

void TFormEdit::Refresh() {
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : model_.Rows()) {
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(model_.Selected()), 0);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    const BOOL any = model_.HasEntries() ? TRUE : FALSE;
    for (int id : {kEditDelete, kEditEdit, kEditUp, kEditDown}) EnableWindow(Control(id), any);
    EnableWindow(Control(kEditNew), model_.CanAdd() ? TRUE : FALSE);
}

void TFormEdit::Finish(int result) { EndModal(result); }

void TFormEdit::OnCommand(int id, int code) {
    switch (id) {
    case kEditList:
        if (code == LBN_SELCHANGE) {
            model_.Select(static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)));
        } else if (code == LBN_DBLCLK) {
            OnCommand(kEditEdit, BN_CLICKED);
        }
        break;
    case kEditNew:
        if (model_.CanAdd() && opener_ && opener_(Handle(), -1)) Refresh();
        break;
    case kEditEdit:
        if (model_.Selected() >= 0 && opener_ && opener_(Handle(), model_.Selected())) Refresh();
        break;
    case kEditDelete:
        if (model_.DeleteSelected()) Refresh();
        break;
    case kEditUp:
        if (model_.Up()) Refresh();
        break;
    case kEditDown:
        if (model_.Down()) Refresh();
        break;
    case IDOK:
        model_.Commit();
        Finish(mrOk);
        break;
    case IDCANCEL: Finish(mrCancel); break;
    default: break;
    }
}

LRESULT TFormEdit::OnDrag(const DRAGLISTINFO& info) {
    switch (info.uNotification) {
    case DL_BEGINDRAG:
        dragFrom_ = LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
        return dragFrom_ >= 0 ? TRUE : FALSE;
    case DL_DRAGGING: {
        const int over = LBItemFromPt(info.hWnd, info.ptCursor, TRUE);
        DrawInsert(Handle(), info.hWnd, over);
        return over >= 0 ? DL_MOVECURSOR : DL_STOPCURSOR;
    }
    case DL_DROPPED: {
        DrawInsert(Handle(), info.hWnd, -1);
        const int to = LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
        const int from = dragFrom_;
        dragFrom_ = -1;
        if (from >= 0 && to >= 0 && model_.Drag(static_cast<std::size_t>(from), static_cast<std::size_t>(to))) {
            Refresh();
        }
        return 0;
    }
    case DL_CANCELDRAG:
        DrawInsert(Handle(), info.hWnd, -1);
        dragFrom_ = -1;
        return 0;
    default: return 0;
    }
}

LRESULT TFormEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == DragMessage() && lp) return OnDrag(*reinterpret_cast<const DRAGLISTINFO*>(lp));
    switch (msg) {
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_CLOSE: Finish(mrCancel); return 0;
    default: return Default(msg, wp, lp);
    }
}

// ---- the settings menu --------------------------------------------------------

namespace {

template <class Entry, class Model>
void ShowEditor(HWND owner, Model& model) {
    TFormEdit form(model, [&model](HWND entryOwner, int index) {
        Entry entry(model, index);
        return entry.Create(entryOwner) && entry.ShowModal();
    });
    if (form.Create(owner)) form.ShowModal();
}

}  // namespace

void ShowAliasEditor(HWND owner) {
    TAliasEditor model(TheSession());
    ShowEditor<TAliasEntryForm>(owner, model);
}

void ShowDirListEditor(HWND owner, TDirListEditor::Which which) {
    TDirListEditor model(TheSession(), which);
    ShowEditor<TDirEntryForm>(owner, model);
}

void ShowFunctionEditor(HWND owner) {
    TFunctionEditor model(TheSession());
    ShowEditor<TFunctionEntryForm>(owner, model);
}

}  // namespace kestrum
