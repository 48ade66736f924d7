// Base class for the program's windows: a static window procedure that finds
// the object, typed handling in HandleMessage, and no exception ever crossing
// into the platform (it is shown in the application's error box instead).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kestrum {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

    // Registers a class whose procedure dispatches to Window objects.
    static bool RegisterWindowClass(const char* className, HICON icon = nullptr,
                                    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

protected:
    bool CreateWin(const char* className, DWORD exStyle, DWORD style, const std::string& caption, int x, int y,
                   int w, int h, HWND parent, HMENU menu = nullptr);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // A visible child control in the children's font; id -1 for none.
    HWND AddChild(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                  DWORD exStyle = 0);
    // The font of the children made from here on (null: the default GUI
    // font); the caller keeps it alive.
    void SetChildFont(HFONT font) { childFont_ = font; }
    // Resizes the window so that its client area is w x h.
    void SetClientSize(int w, int h);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    HFONT childFont_ = nullptr;
};

// Shows the text of a failure in the application's error box and goes on.
void ShowErrorBox(const std::string& text);
// Inside a catch block: shows the exception being handled in the error box,
// its own text or, for one that is no std::exception, a general one.
void ShowCaughtException();
// Runs f and gives its result. An exception of any kind is shown in the
// error box and 0 is given instead, so that none crosses into the platform:
// every window and subclass procedure runs its handling through this.
template <typename F>
LRESULT Guarded(F&& f) {
    try {
        return f();
    } catch (...) {
        ShowCaughtException();
        return 0;
    }
}
// One step of start-up. An error raised in it is shown in the error box and
// fallback (when given) runs instead, so that the program starts anyway.
void StartupStep(const std::function<void()>& step, const std::function<void()>& fallback = nullptr);

// Text of a window.
std::string GetText(HWND wnd);
// Whether a check box or radio button is checked, and checking it.
bool IsChecked(HWND button);
void SetChecked(HWND button, bool on);

// Client size of a window rectangle for the given outer size and styles.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace kestrum
