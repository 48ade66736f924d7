// Geometry and fonts that the windows read at creation and the shell writes
// back when it closes.
#pragma once

#include <string>
#include <vector>

#include "config/profile.h"
#include "config/settings_file.h"

namespace kestrum {

// Font style bits as stored in the settings file.
enum FontStyleBits { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

struct FontSpec {
    std::string name;
    int size = 9;  // points
    int style = 0;
};

// A window's normal (restored) placement as the settings file keeps it.
struct Geometry {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
};

// Placement the directory picker keeps between uses (section FORM_LS):
// window top, left, height, width and the tree's width.
struct DirDirGeometry {
    int ddTop = 153;
    int ddLeft = 269;
    int ddHeight = 300;
    int ddWidth = 470;
    int dsLeft = 297;
};

// Reads name/size/style keys; a missing or bad value keeps the default.
FontSpec ReadFont(const ProfileReader& p, const char* section, const std::string& nameKey,
                  const std::string& sizeKey, const std::string& styleKey, const FontSpec& def);
Geometry ReadGeometry(const ProfileReader& p, const char* section, const std::string& prefix,
                      const Geometry& def);

// A placement read from a file, kept on the visible desktop (area, the work
// area of a monitor): a size that is not positive takes the default's, one
// larger than the area shrinks to it, and the window moves the least it
// must to lie wholly on the area.
Geometry KeepOnDesktop(Geometry g, const Geometry& def, const Geometry& area);

// Everything the shell writes when it closes, in the order it writes it.
struct CloseState {
    bool menuBarShown = true;
    std::string currentDir;
    std::vector<std::string> dirHistory;
    std::vector<std::string> exeHistory;

    Geometry filer;
    FontSpec filerFonts[4];  // list, drive panel, function-key bar, command line
    int ddTop = 153, ddLeft = 269, ddHeight = 300, ddWidth = 470, dsLeft = 297;
    bool filerMaximised = false;
    Geometry lineInput;
    Geometry picker;

    Geometry archiveViewer;
    FontSpec archiveFont;

    Geometry textViewer;
    FontSpec textFont;
    bool textViewerMaximised = false;
    int imageTop = 0;
    int imageLeft = 0;

    Geometry shell;
    FontSpec shellFont;
};

// Applies the close-time writes to the file: the MENUBAR line, both
// histories (the current directory added first), [FORM_LS], [LVIEW], [TVIEW]
// and the shell's own keys. The caller saves.
void WriteCloseState(TSettingsFile& file, CloseState state);

}  // namespace kestrum
