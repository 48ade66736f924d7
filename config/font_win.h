// Fonts from their stored form (name, point size, style bits) and back.
#pragma once

#include <windows.h>

#include "common/handles_win.h"
#include "config/window_state.h"

namespace kestrum {

using FontHandle = GdiObject<HFONT>;

FontHandle CreateFontFromSpec(const FontSpec& spec);
// The platform font dialog started on spec; true with spec changed on OK.
bool PickFont(HWND owner, FontSpec& spec, bool fixedPitchOnly = false);
// Height in pixels of a line of text (of one blank) in the font.
int TextHeight(HFONT font);

}  // namespace kestrum
