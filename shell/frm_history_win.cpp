// TfrmHistory: rows, keys, results and placement of the list picker.
#include "shell/frm_history_win.h"

#include "config/colors_win.h"
#include "config/window_placement_win.h"
#include "shell/command_box.h"

namespace kestrum {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

bool TfrmHistory::Create(HWND owner, const ProfileReader& profile) {
    const Geometry def{150, 150, 300, 320};
    const Geometry g = OnVisibleDesktop(ReadGeometry(profile, "FORM_LS", "hh", def), def);
    RegisterWindowClass("TfrmHistory", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    if (!CreateWin("TfrmHistory", WS_EX_DLGMODALFRAME, WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                   "Kestrum", g.left, g.top, g.width, g.height, owner)) {
        return false;
    }
    FormCreate();
    return true;
}

void TfrmHistory::FormCreate() {
    list_ = AddChild("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, 0,
                     WS_EX_CLIENTEDGE);
    ok_ = AddChild("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, IDOK);
    cancel_ = AddChild("BUTTON", "Cancel", WS_TABSTOP, 0, 0, 0, 0, IDCANCEL);
    listSubclass_.Attach(list_, this, &TfrmHistory::ListProc);
    Layout();
}

Geometry TfrmHistory::NormalGeometry() const {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!Handle() || !GetWindowPlacement(Handle(), &wp)) return Geometry{};
    const RECT& r = wp.rcNormalPosition;
    return Geometry{r.top, r.left, r.bottom - r.top, r.right - r.left};
}

void TfrmHistory::Layout() {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    const int w = rc.right;
    const int h = rc.bottom;
    // The list keeps 8 pixels left and top, is 16 narrower and 55 lower than
    // the client area; the buttons sit 32 pixels above the bottom.
    MoveWindow(list_, 8, 8, w - 16 > 0 ? w - 16 : 0, h - 55 > 0 ? h - 55 : 0, TRUE);
    const int top = h - 32;
    MoveWindow(cancel_, w - 8 - kButtonWidth, top, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(ok_, w - 16 - 2 * kButtonWidth, top, kButtonWidth, kButtonHeight, TRUE);
}

void TfrmHistory::Fill(int selected) {
    rows_ = style_ == ListStyle::Keyed ? entries_ : NumberRows(entries_);
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const std::string& r : rows_) SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.c_str()));
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void TfrmHistory::Begin(const std::vector<std::string>& entries, ListStyle style, bool completionMode) {
    entries_ = entries;
    origin_.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) origin_.push_back(static_cast<int>(i));
    style_ = style;
    completion_ = completionMode;
    result_ = ListPick{};
    BeginModal();
    Fill(0);
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(list_);
}

ListPick TfrmHistory::ShowList(const std::vector<std::string>& entries, ListStyle style, bool completionMode) {
    if (entries.empty()) {
        if (style != ListStyle::Numbered) CurrentPrompter().ShowMessage("登録されていません");
        return ListPick{};
    }
    // The control the picker was opened from (a command box) has the
    // keyboard again when it closes.
    HWND focus = GetFocus();
    Begin(entries, style, completionMode);
    if (!RunModal(nullptr)) {
        result_ = ListPick{};
        EndModal(static_cast<int>(result_.result));
    }
    if (focus && IsWindow(focus)) {
        SetActiveWindow(GetAncestor(focus, GA_ROOT));
        SetFocus(focus);
    }
    return result_;
}

void TfrmHistory::End(ListResult result) {
    if (Finished()) return;
    result_.result = result;
    EndModal(static_cast<int>(result));
    ShowWindow(Handle(), SW_HIDE);
}

void TfrmHistory::EndWithRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
    const std::string& r = rows_[static_cast<std::size_t>(row)];
    result_.text = r.size() > 2 ? r.substr(2) : std::string();
    result_.index = origin_[static_cast<std::size_t>(row)];
    End(ListResult::Ok);
}

bool TfrmHistory::ListKeyDown(WPARAM key) {
    switch (key) {
    case VK_HOME:
    case VK_ESCAPE: End(ListResult::Cancel); return true;
    case VK_RETURN:
        EndWithRow(static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)));
        return true;
    case VK_BACK:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_DELETE:
        if (!completion_) return false;
        result_.key = static_cast<int>(key);
        End(ListResult::Typed);
        return true;
    default: return false;
    }
}

bool TfrmHistory::ListChar(WPARAM ch) {
    const char c = static_cast<char>(ch);
    const PickerTyped t = PickerChar(rows_, c, completion_);
    switch (t.kind) {
    case PickerTyped::HandOver:
        result_.typed = c;
        End(ListResult::Typed);
        break;
    case PickerTyped::Choose: EndWithRow(t.row); break;
    case PickerTyped::Narrow: {
        std::vector<std::string> entries;
        std::vector<int> origin;
        for (int r : t.rows) {
            entries.push_back(entries_[static_cast<std::size_t>(r)]);
            origin.push_back(origin_[static_cast<std::size_t>(r)]);
        }
        entries_ = std::move(entries);
        origin_ = std::move(origin);
        Fill(0);
        break;
    }
    case PickerTyped::Ignore: break;
    }
    // The list box's own search by first letter never runs.
    return true;
}

LRESULT TfrmHistory::ListProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE: {
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_TAB) break;
        return DLGC_WANTALLKEYS | Subclass::CallNext(wnd, msg, wp, lp);
    }
    case WM_KEYDOWN:
        if (ListKeyDown(wp)) return 0;
        break;
    case WM_CHAR:
        if (ListChar(wp)) return 0;
        break;
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

LRESULT TfrmHistory::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto answer =
            AnswerSlotColors(Handle(), msg, wp, lp, kColShellForm, {{list_, kColPickerText, kColPickerBack}})) {
        return *answer;
    }
    switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: EndWithRow(static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0))); return 0;
        case IDCANCEL: End(ListResult::Cancel); return 0;
        default:
            if (reinterpret_cast<HWND>(lp) == list_ && HIWORD(wp) == LBN_DBLCLK) {
                EndWithRow(static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        }
        break;
    case WM_CLOSE: End(ListResult::Cancel); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
