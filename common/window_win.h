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
    // A visible child control with the default GUI font; id -1 for none.
    HWND AddChild(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                  DWORD exStyle = 0);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Shows the text of a failure in the application's error box and goes on.
void ShowErrorBox(const std::string& text);
// One step of start-up. An error raised in it is shown in the error box and
// fallback (when given) runs instead, so that the program starts anyway.
void StartupStep(const std::function<void()>& step, const std::function<void()>& fallback = nullptr);

// Text of a window.
std::string GetText(HWND wnd);

// Client size of a window rectangle for the given outer size and styles.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace kestrum
