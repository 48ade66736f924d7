// Subclass: SetWindowSubclass owned by an object, one guarded dispatcher.
#include "common/subclass_win.h"

#include <commctrl.h>

#include "common/window_win.h"

namespace kestrum {

bool Subclass::Attach(HWND wnd, Proc proc) {
    Detach();
    proc_ = std::make_shared<const Proc>(std::move(proc));
    if (!wnd || !SetWindowSubclass(wnd, &Subclass::Dispatch, reinterpret_cast<UINT_PTR>(this),
                                   reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    wnd_ = wnd;
    return true;
}

void Subclass::Detach() {
    if (!wnd_) return;
    RemoveWindowSubclass(wnd_, &Subclass::Dispatch, reinterpret_cast<UINT_PTR>(this));
    wnd_ = nullptr;
}

LRESULT Subclass::CallNext(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(wnd, msg, wp, lp); }

LRESULT CALLBACK Subclass::Dispatch(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Subclass*>(data);
    // The procedure may end this object (or the control) while it runs, so
    // the call holds the procedure itself and self is not touched after it.
    const std::shared_ptr<const Proc> proc = self->proc_;
    // The control is going: nothing is left to take away later.
    if (msg == WM_NCDESTROY) self->Detach();
    return Guarded([&] { return proc && *proc ? (*proc)(wnd, msg, wp, lp) : CallNext(wnd, msg, wp, lp); });
}

}  // namespace kestrum
