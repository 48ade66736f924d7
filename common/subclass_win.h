// Subclass: a procedure put in front of a control's own window procedure for
// as long as the object lives (or the control does).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace kestrum {

// The procedure runs guarded (Guarded in common/window_win.h): an exception
// of any kind goes to the error box and the message is answered 0. It hands
// a message on to the control with CallNext. Messages arrive as the control
// takes them: a Unicode control's characters in UTF-16.
class Subclass {
public:
    using Proc = std::function<LRESULT(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)>;

    Subclass() = default;
    Subclass(HWND wnd, Proc proc) { Attach(wnd, std::move(proc)); }
    ~Subclass() { Detach(); }
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    // Puts proc in front of wnd's procedure, after taking this one away from
    // the control it was on; false when the platform refused.
    bool Attach(HWND wnd, Proc proc);
    // The same with a member function of the control's owner.
    template <typename Owner>
    bool Attach(HWND wnd, Owner* owner, LRESULT (Owner::*proc)(HWND, UINT, WPARAM, LPARAM)) {
        return Attach(wnd, [owner, proc](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
            return (owner->*proc)(w, msg, wp, lp);
        });
    }
    // Takes the procedure away (nothing when it is not on a control).
    void Detach();
    // The control, null when not attached (or after the control has gone).
    HWND Control() const { return wnd_; }

    // The control's own handling of a message: the next procedure in line.
    static LRESULT CallNext(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Dispatch(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    HWND wnd_ = nullptr;
    std::shared_ptr<const Proc> proc_;  // shared with a call running, which the procedure may outlive
};

}  // namespace kestrum
