// Font creation for stored font specifications.
#include "config/font_win.h"

#include <cstring>

namespace kestrum {

FontHandle CreateFontFromSpec(const FontSpec& spec) {
    LOGFONTA lf{};
    {
        const WindowDc screen(nullptr);
        lf.lfHeight = -MulDiv(spec.size, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    }
    lf.lfWeight = (spec.style & kFontBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (spec.style & kFontItalic) ? 1 : 0;
    lf.lfUnderline = (spec.style & kFontUnderline) ? 1 : 0;
    lf.lfStrikeOut = (spec.style & kFontStrikeOut) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::strncpy(lf.lfFaceName, spec.name.c_str(), LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectA(&lf));
}

bool PickFont(HWND owner, FontSpec& spec, bool fixedPitchOnly) {
    const FontHandle current = CreateFontFromSpec(spec);
    LOGFONTA lf{};
    GetObjectA(current.Get(), sizeof lf, &lf);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | (fixedPitchOnly ? CF_FIXEDPITCHONLY : 0);
    if (!ChooseFontA(&cf)) return false;
    spec.name = lf.lfFaceName;
    spec.size = cf.iPointSize / 10;
    spec.style = (lf.lfWeight >= FW_BOLD ? kFontBold : 0) | (lf.lfItalic ? kFontItalic : 0) |
                 (lf.lfUnderline ? kFontUnderline : 0) | (lf.lfStrikeOut ? kFontStrikeOut : 0);
    return true;
}

int TextHeight(HFONT font) {
    const WindowDc dc(nullptr);
    const SelectGuard keep(dc.Get(), font);
    SIZE sz{};
    GetTextExtentPoint32A(dc.Get(), " ", 1, &sz);
    return sz.cy;
}

}  // namespace kestrum
