// The sort dialog and the copy-collision dialog drawn whole: every caption
// of a check box or radio button fits its control, every control sits inside
// its group box and the dialog, and the insides of the group boxes (which
// paint only their frame) are painted by the dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/window_win.h"
#include "fileops/copy_dialog_win.h"
#include "filer/frm_sort_win.h"

namespace kestrum {
namespace {

std::vector<HWND> Children(HWND dlg) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

LONG ButtonType(HWND c) { return GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK; }

bool IsGroupBox(HWND c) { return ButtonType(c) == BS_GROUPBOX; }

bool IsCheckOrRadio(HWND c) {
    const LONG t = ButtonType(c);
    return t == BS_AUTOCHECKBOX || t == BS_CHECKBOX || t == BS_AUTORADIOBUTTON || t == BS_RADIOBUTTON;
}

RECT RectIn(HWND dlg, HWND c) {
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Width of a caption in the control's font, without its "&" marks.
int CaptionWidth(HWND c) {
    std::string text;
    for (char ch : GetText(c)) {
        if (ch != '&') text += ch;
    }
    HDC dc = GetDC(c);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)));
    SIZE sz{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    return sz.cx;
}

void ExpectDrawnWhole(HWND dlg) {
    RECT client{};
    GetClientRect(dlg, &client);
    std::vector<RECT> groups;
    for (HWND c : Children(dlg)) {
        EXPECT_TRUE(Inside(RectIn(dlg, c), client)) << GetText(c);
        if (!IsGroupBox(c)) continue;
        groups.push_back(RectIn(dlg, c));
        // A group box leaves its inside to the window below it.
        const bool clipped = (GetWindowLongA(dlg, GWL_STYLE) & WS_CLIPCHILDREN) != 0;
        const bool transparent = (GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
        EXPECT_TRUE(!clipped || transparent) << "the inside of group box \"" << GetText(c) << "\" is never painted";
    }
    const int box = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    for (HWND c : Children(dlg)) {
        if (!IsCheckOrRadio(c)) continue;
        const RECT r = RectIn(dlg, c);
        EXPECT_LE(box + CaptionWidth(c), r.right - r.left) << GetText(c) << " is cut off";
        bool inGroup = false;
        for (const RECT& g : groups) inGroup = inGroup || Inside(r, g);
        EXPECT_TRUE(inGroup) << GetText(c) << " lies outside its group box";
    }
}

TEST(DialogLayoutTest, SortDialog) {
    TfrmSort dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ExpectDrawnWhole(dlg.Handle());
}

TEST(DialogLayoutTest, CopyCollisionDialogCopyingAndMoving) {
    TfrmCopyDialog dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.Begin("Kestrum", 0);
    ExpectDrawnWhole(dlg.Handle());
    SendMessageA(dlg.Handle(), WM_CLOSE, 0, 0);
    dlg.Begin("Kestrum", 1);
    ExpectDrawnWhole(dlg.Handle());
    SendMessageA(dlg.Handle(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace kestrum
