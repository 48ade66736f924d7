// TTrayIcon: one icon in the task-bar notification area, with mouse events
// and pop-up menus. Every icon of the process is listed in one registry by
// its identifier (1..999), and one hidden window, TCallbackWindow, receives
// the notifications of all of them (message kTrayMessage). The icon is
// removed from the notification area and the registry when the object goes
// away; the window goes with the last icon.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrum {

// The notification message of the icons: WM_USER + 200. Its first parameter
// is the icon's identifier, its second the mouse message.
inline constexpr UINT kTrayMessage = WM_USER + 200;
// The longest tip, in bytes (the platform's record holds 64 with the NUL).
inline constexpr std::size_t kTipMax = 62;

// A failed registration with the notification area; what() is the text for
// the user.
class ETrayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class MouseButton { Left, Right, Middle };
// The shift state handed to the mouse events.
enum ShiftState : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TrayMouseEvent = std::function<void(MouseButton button, unsigned shift, int x, int y)>;
using TrayMoveEvent = std::function<void(unsigned shift, int x, int y)>;

// A pop-up menu and the window that receives its commands (WM_COMMAND).
struct TrayPopupMenu {
    HMENU menu = nullptr;
    HWND commandWindow = nullptr;
};

class TTrayIcon {
public:
    // Takes the identifier after the highest one in use (the lowest free
    // one once 999 is taken); throws ETrayError when none is left.
    TTrayIcon();
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    UINT Id() const { return id_; }
    // Whether the icon is in the notification area now.
    bool Registered() const { return registered_; }

    bool Visible() const { return visible_; }
    // Shows the icon (added to the notification area) or hides it (removed
    // when it was there). An icon without a picture stays invisible. When
    // the platform refuses, the icon stays invisible and ETrayError is
    // thrown.
    void SetVisible(bool visible);

    HICON Icon() const { return icon_; }
    // The picture (not owned). A shown icon is updated; none hides it.
    void SetIcon(HICON icon);

    const std::string& TipHelp() const { return tip_; }
    // The tip, cut to kTipMax bytes at a character boundary; a shown icon
    // is updated when it changes.
    void SetTipHelp(std::string_view tip);

    bool AutoPopup = true;
    TrayPopupMenu LBPopupMenu;
    TrayPopupMenu RBPopupMenu;
    std::function<void()> OnDblClick;
    TrayMouseEvent OnMouseDown;
    TrayMoveEvent OnMouseMove;
    TrayMouseEvent OnMouseUp;

    // The window that receives the notifications; null while no icon exists.
    static HWND CallbackWindow();
    // The icon registered under an identifier, or null.
    static TTrayIcon* Find(UINT id);

    // The platform's notification-area call (Shell_NotifyIconA); tests put
    // a fake in its place. Returns the one replaced.
    using Notifier = std::function<BOOL(DWORD message, NOTIFYICONDATAA& data)>;
    static Notifier SetNotifier(Notifier notifier);
    // Pops a menu up at a screen point and sends the chosen command to the
    // window; the platform's modal menu unless a test puts its own in place.
    using PopupRunner = std::function<void(const TrayPopupMenu& menu, POINT at)>;
    static PopupRunner SetPopupRunner(PopupRunner runner);

private:
    friend class TCallbackWindow;
    void Dispatch(UINT mouseMessage);
    void MouseDown(MouseButton button, unsigned shift, const TrayPopupMenu& popup, POINT at);
    NOTIFYICONDATAA Record() const;
    void Add();
    void Modify();
    void Delete();
    void ReAdd();

    UINT id_ = 0;
    bool registered_ = false;
    bool visible_ = false;
    HICON icon_ = nullptr;
    std::string tip_ = "TipHelp";
};

}  // namespace kestrum
