// Window base class and small window helpers.
#include "common/window_win.h"

#include <exception>

#include "common/prompter.h"

namespace kestrum {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::RegisterWindowClass(const char* className, HICON icon, HBRUSH background) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

bool Window::CreateWin(const char* className, DWORD exStyle, DWORD style, const std::string& caption, int x,
                       int y, int w, int h, HWND parent, HMENU menu) {
    HWND wnd = CreateWindowExA(exStyle, className, caption.c_str(), style, x, y, w, h, parent, menu,
                               GetModuleHandleA(nullptr), this);
    return wnd != nullptr && wnd == hwnd_;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

HWND Window::AddChild(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                      DWORD exStyle) {
    HWND wnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    HFONT font = childFont_ ? childFont_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return wnd;
}

void Window::SetClientSize(int w, int h) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
    const SIZE outer = OuterSizeForClient(w, h, style, exStyle, GetMenu(hwnd_) != nullptr);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return Guarded([&] { return self->HandleMessage(msg, wp, lp); });
}

void ShowErrorBox(const std::string& text) {
    CurrentPrompter().MessageDlg(text, MsgType::Error, MsgButtons::Ok);
}

void ShowCaughtException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox("予期しないエラーが発生しました。");
    }
}

void StartupStep(const std::function<void()>& step, const std::function<void()>& fallback) {
    try {
        step();
        return;
    } catch (const std::exception& e) {
        ShowErrorBox(std::string("起動中にエラーが発生しました。既定の設定で続けます。\r\n") + e.what());
    } catch (...) {
        ShowErrorBox("起動中にエラーが発生しました。既定の設定で続けます。");
    }
    if (fallback) StartupStep(fallback);
}

std::string GetText(HWND wnd) {
    const int n = GetWindowTextLengthA(wnd);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(wnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return s;
}

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool on) { SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, hasMenu ? TRUE : FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace kestrum
