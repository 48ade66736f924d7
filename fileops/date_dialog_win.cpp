// TDateChangeForm, built in code.
#include "fileops/date_dialog_win.h"

#include "common/clipboard_win.h"

namespace kestrum {

namespace {

constexpr int kClientWidth = 300;
constexpr int kMargin = 10;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;

FixedMask::State EditState(HWND edit) {
    FixedMask::State s;
    s.text = GetText(edit);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    s.selStart = start;
    s.selEnd = end;
    return s;
}

}  // namespace

bool TDateChangeForm::Create(HWND owner, const std::string& caption) {
    owner_ = owner;
    RegisterWindowClass("TDateChangeForm", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!CreateWin("TDateChangeForm", WS_EX_DLGMODALFRAME, style, caption, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                   owner)) {
        return false;
    }
    FormCreate();
    return true;
}

void TDateChangeForm::FormCreate() {
    auto child = [this](DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                        int id) { return AddChild(cls, text, style, x, y, w, h, id, exStyle); };
    constexpr int labelWidth = 30;
    constexpr int editLeft = kMargin + labelWidth;
    constexpr int editWidth = kClientWidth - editLeft - kMargin;
    int y = kMargin;
    name_ = child(0, "STATIC", "", SS_LEFT | SS_NOPREFIX, kMargin, y, kClientWidth - 2 * kMargin, 18, -1);
    y += kRowHeight;
    child(0, "STATIC", "旧", SS_LEFT, kMargin, y + 3, labelWidth, 18, -1);
    old_ = child(WS_EX_CLIENTEDGE, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL, editLeft, y, editWidth, 22, -1);
    y += kRowHeight + 4;
    child(0, "STATIC", "新", SS_LEFT, kMargin, y + 3, labelWidth, 18, -1);
    new_ = child(WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, editLeft, y, editWidth, 22, 100);
    SendMessageA(new_, EM_LIMITTEXT, mask_.Size(), 0);
    maskSubclass_.Attach(new_, this, &TDateChangeForm::MaskProc);
    y += kRowHeight + 12;
    const int gap = (kClientWidth - 2 * kMargin - 3 * kButtonWidth) / 2;
    ok_ = child(0, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, kMargin, y, kButtonWidth, kButtonHeight, IDOK);
    all_ = child(0, "BUTTON", "ALL", WS_TABSTOP | BS_PUSHBUTTON, kMargin + kButtonWidth + gap, y, kButtonWidth,
                 kButtonHeight, kAllId);
    cancel_ = child(0, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, kMargin + 2 * (kButtonWidth + gap), y,
                    kButtonWidth, kButtonHeight, IDCANCEL);
    SetClientSize(kClientWidth, y + kButtonHeight + kMargin);
}

void TDateChangeForm::Begin(std::string_view fileName, std::string_view oldText, std::string_view newText,
                            bool hasFile) {
    SetWindowTextA(name_, std::string(fileName).c_str());
    SetWindowTextA(old_, mask_.Fit(oldText).c_str());
    SetWindowTextA(new_, mask_.Fit(newText).c_str());
    EnableWindow(ok_, hasFile);
    EnableWindow(all_, hasFile);
    answer_ = FileOpQuestions::DateAnswer{};
    BeginModal();
    ShowWindow(Handle(), SW_SHOWNA);
}

FileOpQuestions::DateAnswer TDateChangeForm::ShowModal(std::string_view fileName, std::string_view oldText,
                                                       std::string_view newText, bool hasFile) {
    Centre(owner_);
    Begin(fileName, oldText, newText, hasFile);
    HWND active = GetActiveWindow();
    SetForegroundWindow(Handle());
    SetFocus(new_);
    SendMessageA(new_, EM_SETSEL, 0, 0);
    if (!RunModal(active)) answer_ = FileOpQuestions::DateAnswer{};
    return answer_;
}

void TDateChangeForm::Finish(int result) {
    if (Finished()) return;
    answer_.result = result;
    answer_.text = result == FileOpQuestions::fdCancel ? std::string() : GetText(new_);
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

void TDateChangeForm::ApplyMask(HWND edit, const FixedMask::State& s) {
    SetWindowTextA(edit, s.text.c_str());
    SendMessageA(edit, EM_SETSEL, s.selEnd, s.selEnd);
}

// The "新" field types over its digit places and keeps the separators.
LRESULT TDateChangeForm::MaskProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CHAR: {
        const char c = static_cast<char>(wp);
        if (wp == VK_BACK) {
            FixedMask::State s = EditState(wnd);
            mask_.Backspace(s);
            ApplyMask(wnd, s);
            return 0;
        }
        if (wp == 0x16) return SendMessageA(wnd, WM_PASTE, 0, 0);  // Ctrl+V
        if (wp == 0x18) return SendMessageA(wnd, WM_CUT, 0, 0);    // Ctrl+X
        if (wp < 0x20) break;
        FixedMask::State s = EditState(wnd);
        if (mask_.Type(s, c)) ApplyMask(wnd, s);
        else MessageBeep(MB_OK);
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_DELETE) {
            FixedMask::State s = EditState(wnd);
            mask_.Delete(s);
            ApplyMask(wnd, s);
            return 0;
        }
        break;
    case WM_PASTE: {
        FixedMask::State s = EditState(wnd);
        for (char c : GetClipboardText(wnd)) {
            if (!mask_.Type(s, c)) break;
        }
        ApplyMask(wnd, s);
        return 0;
    }
    case WM_CUT:
        SendMessageA(wnd, WM_COPY, 0, 0);
        [[fallthrough]];
    case WM_CLEAR: {
        FixedMask::State s = EditState(wnd);
        if (s.selStart != s.selEnd) {
            mask_.Delete(s);
            ApplyMask(wnd, s);
        }
        return 0;
    }
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

LRESULT TDateChangeForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK:
            if (IsWindowEnabled(ok_)) Finish(FileOpQuestions::fdOk);
            return 0;
        case kAllId:
            if (IsWindowEnabled(all_)) Finish(FileOpQuestions::fdAll);
            return 0;
        case IDCANCEL: Finish(FileOpQuestions::fdCancel); return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Finish(FileOpQuestions::fdCancel); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
