// The process-wide colour table, the colour file of the running program,
// and colour values turned into the platform's colours and brushes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "common/signal.h"
#include "config/colors.h"

namespace kestrum {

// The colours in force.
ColorTable& TheColors();

// The colour file named by the ColorCustomFile setting of the running program.
std::string CurrentColorFilePath();

// Reads the colour file into the table and repaints the windows that use it.
// A missing, empty or headerless file shows "指定された色設定ファイルが無効です。
// ディフォルトの色で表示します" and leaves every colour as it was; false then.
bool LoadColorFile();
// Writes the colour file; a failure, or a file there that could not be read,
// is shown once in the error box. False then.
bool SaveColorFile();
// The close of the shell window: writes the file unless the last load failed
// (or none was made) and no colour was changed since. True when nothing had
// to be written.
bool SaveColorFileAtClose();

// Sets one slot and tells the windows (ColorChanged).
void SetColor(int slot, ColorValue value);

// Listeners of colour changes: slot is the one changed, -1 after a load
// (every slot may have changed). A listener is called until its
// subscription goes.
using ColorListener = std::function<void(int slot)>;
[[nodiscard]] Subscription AddColorListener(ColorListener listener);
std::size_t ColorListenerCount();
// Repaints the shell window and calls the listeners.
void ColorChanged(int slot);

// The platform colour of a value: for a system colour GetSysColor of its low
// byte, else the value's low three bytes.
COLORREF ResolveColor(ColorValue value);
// A solid brush of a slot's colour now, owned by the table (do not delete).
HBRUSH SlotBrush(int slot);
// For WM_CTLCOLOR*: sets the text and background colours of dc to the two
// slots and returns the background slot's brush.
HBRUSH PrepareSlotColors(HDC dc, int textSlot, int backSlot);

// No slot: in ControlColors, the text colours are left alone; as the form's
// slot of AnswerSlotColors, the background is not erased there.
inline constexpr int kNoSlot = -1;

// The slots a control is drawn in.
struct ControlColors {
    HWND control;
    int textSlot;  // kNoSlot: only the background brush
    int backSlot;
};

// The colour messages of a window drawn in slots: WM_ERASEBKGND fills the
// client area with formSlot's brush and answers 1; a WM_CTLCOLOR* message
// from one of the controls sets the dc's colours to its slots and answers
// the background slot's brush. Empty for every other message and control
// (and for WM_ERASEBKGND when formSlot is kNoSlot): the window goes on
// with it as it would without.
std::optional<LRESULT> AnswerSlotColors(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int formSlot,
                                        std::initializer_list<ControlColors> controls = {});
std::optional<LRESULT> AnswerSlotColors(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int formSlot,
                                        const std::vector<ControlColors>& controls);

}  // namespace kestrum
