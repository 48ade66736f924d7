// Reading and writing window geometry and fonts.
#include "config/window_state.h"

#include <algorithm>

#include "common/history.h"
#include "config/text_file.h"

namespace kestrum {

FontSpec ReadFont(const ProfileReader& p, const char* section, const std::string& nameKey,
                  const std::string& sizeKey, const std::string& styleKey, const FontSpec& def) {
    FontSpec f;
    f.name = p.ReadString(section, nameKey, def.name);
    if (f.name.empty()) f.name = def.name;
    f.size = p.ReadInteger(section, sizeKey, def.size);
    if (f.size <= 0 || f.size > 200) f.size = def.size;
    f.style = p.ReadInteger(section, styleKey, def.style) & 0x0F;
    return f;
}

Geometry ReadGeometry(const ProfileReader& p, const char* section, const std::string& prefix,
                      const Geometry& def) {
    Geometry g;
    g.top = p.ReadInteger(section, prefix + "Top", def.top);
    g.left = p.ReadInteger(section, prefix + "Left", def.left);
    g.height = p.ReadInteger(section, prefix + "Height", def.height);
    g.width = p.ReadInteger(section, prefix + "Width", def.width);
    return g;
}

Geometry KeepOnDesktop(Geometry g, const Geometry& def, const Geometry& area) {
    if (g.width <= 0) g.width = def.width;
    if (g.height <= 0) g.height = def.height;
    g.width = std::min(g.width, area.width);
    g.height = std::min(g.height, area.height);
    g.left = std::clamp(g.left, area.left, area.left + area.width - g.width);
    g.top = std::clamp(g.top, area.top, area.top + area.height - g.height);
    return g;
}

namespace {

void WriteGeometry(TSettingsFile& f, const char* section, const std::string& prefix, const Geometry& g) {
    f.WriteInteger(section, prefix + "Top", g.top);
    f.WriteInteger(section, prefix + "Left", g.left);
    f.WriteInteger(section, prefix + "Height", g.height);
    f.WriteInteger(section, prefix + "Width", g.width);
}

void WriteFont(TSettingsFile& f, const char* section, const std::string& suffix, const FontSpec& font,
               bool styleLast = true) {
    f.WriteString(section, "FontName" + suffix, font.name);
    f.WriteInteger(section, "FontSize" + suffix, font.size);
    if (styleLast) f.WriteInteger(section, "FontStyle" + suffix, font.style);
}

std::vector<std::string> Storable(std::vector<std::string> list) {
    std::erase_if(list, [](const std::string& e) { return ReadsAsSectionHeader(e); });
    return list;
}

}  // namespace

void WriteCloseState(TSettingsFile& f, CloseState s) {
    f.WriteLine("[環境変数]", "MENUBAR", std::string("MenuBar, ") + (s.menuBarShown ? "1" : "0"));

    AddToHistory(s.dirHistory, s.currentDir);
    f.WriteListSection("DIRHISTORY", Storable(s.dirHistory));
    f.WriteListSection("EXEHISTORY", Storable(s.exeHistory));

    const char* ls = "FORM_LS";
    WriteGeometry(f, ls, "", s.filer);
    WriteFont(f, ls, "", s.filerFonts[0]);
    WriteFont(f, ls, "2", s.filerFonts[1]);
    WriteFont(f, ls, "3", s.filerFonts[2]);
    WriteFont(f, ls, "4", s.filerFonts[3]);
    f.WriteInteger(ls, "ddTop", s.ddTop);
    f.WriteInteger(ls, "ddLeft", s.ddLeft);
    f.WriteInteger(ls, "ddHeight", s.ddHeight);
    f.WriteInteger(ls, "ddWidth", s.ddWidth);
    f.WriteInteger(ls, "dsLeft", s.dsLeft);
    f.WriteBool(ls, "ISWSMAX", s.filerMaximised);
    WriteGeometry(f, ls, "we", s.lineInput);
    f.WriteInteger(ls, "weLeft", s.lineInput.left);
    WriteGeometry(f, ls, "hh", s.picker);

    const char* lv = "LVIEW";
    WriteGeometry(f, lv, "", s.archiveViewer);
    WriteFont(f, lv, "", s.archiveFont);

    const char* tv = "TVIEW";
    WriteGeometry(f, tv, "", s.textViewer);
    WriteFont(f, tv, "", s.textFont, false);
    f.WriteBool(tv, "ISWSMAX", s.textViewerMaximised);
    f.WriteInteger(tv, "FontStyle", s.textFont.style);
    f.WriteInteger(tv, "PTop", s.imageTop);
    f.WriteInteger(tv, "PLeft", s.imageLeft);

    WriteGeometry(f, ls, "m", s.shell);
    f.WriteString(ls, "e1FontName", s.shellFont.name);
    f.WriteInteger(ls, "e1FontSize", s.shellFont.size);
    f.WriteInteger(ls, "e1FontStyle", s.shellFont.style);
}

}  // namespace kestrum
