// Dialog: centring, radio groups and the modal run.
#include "common/dialog_win.h"

#include <algorithm>

#include "common/modal_loop_win.h"

namespace kestrum {

void CentreWindow(HWND wnd, HWND over, CentreFallback fallback, bool keepOnScreen) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT area{0, 0, screenW, screenH};
    if (over && IsWindowVisible(over)) {
        GetWindowRect(over, &area);
    } else if (fallback == CentreFallback::WorkArea) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT me{};
    GetWindowRect(wnd, &me);
    const int w = me.right - me.left;
    const int h = me.bottom - me.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    if (keepOnScreen) {
        x = std::max(0, std::min(x, screenW - w));
        y = std::max(0, std::min(y, screenH - h));
    }
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::RunModal(HWND activeBefore) {
    const bool ended = RunModalLoop(Handle(), finished_);
    ActivateAgain(activeBefore);
    return ended;
}

void Dialog::ActivateAgain(HWND activeBefore) {
    if (activeBefore && IsWindow(activeBefore) && activeBefore != Handle()) SetActiveWindow(activeBefore);
}

void Dialog::AddRadioGroup(std::span<HWND> out, std::span<const char* const> captions, int firstId, int x, int y,
                           int w, int h, int step) {
    const std::size_t n = std::min(out.size(), captions.size());
    for (std::size_t i = 0; i < n; ++i) {
        const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        const int offset = static_cast<int>(i) * step;
        out[i] = AddChild("BUTTON", captions[i], style, x, y + offset, w, h, firstId + static_cast<int>(i));
    }
    if (n > 0) SetChecked(out[0], true);
}

}  // namespace kestrum
