// WinConfigQuestions: the system colour picker and font dialog.
#include "config/config_questions_win.h"

#include <windows.h>

#include <optional>

#include "config/colors_dialog_win.h"
#include "config/font_win.h"

namespace kestrum {

bool WinConfigQuestions::AskColor(ColorValue& color) {
    const std::optional<ColorValue> c = ChooseColorWithSystemPicker(GetActiveWindow(), color);
    if (!c) return false;
    color = *c;
    return true;
}

bool WinConfigQuestions::AskFont(FontSpec& font, FontPitch pitch) {
    return PickFont(GetActiveWindow(), font, pitch == FontPitch::Fixed);
}

}  // namespace kestrum
