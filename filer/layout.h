// Filer window geometry: regions, grid columns and rows, the drive-bar and
// function-key boxes, and the scroll-bar protocol. Plain arithmetic on font
// metrics measured by the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/profile.h"
#include "config/window_state.h"

namespace kestrum {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Bottom() const { return top + height; }
};

struct LayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    int driveFontHeight = 12;      // height of "P" in the drive-bar font
    int functionFontHeight = 12;   // in the function-key font
    int windowFontHeight = 12;     // "P" in the window font
    int underscoreHeight = 12;     // "_" in the window font
    int averageCharWidth = 7;      // of the grid font
    int pWidth = 7;                // width of "P" in the window font
    int sizeSampleWidth = 120;     // width of "Size 100,000,000,000"
    int scrollBarWidth = 16;
    int commandLineHeight = 20;
    int columnChars = 18;
    int filePitch = 2;
    bool functionBar = true;       // FGUIDE
    bool infoLine = false;         // FILEINFO1
    bool useP = false;             // a display-mode switch measures with "P"
};

struct FilerLayout {
    Rect driveBar;
    Rect functionBar;  // height 0 when hidden
    Rect directoryLine;
    int directoryLeftWidth = 0;
    Rect fullNameLine;  // height 0 in info-line mode
    Rect grid;
    Rect scrollBar;
    Rect commandLine;
    int columns = 1;
    int columnWidth = 1;
    int rowHeight = 1;
    int rows = 1;
};

FilerLayout ComputeLayout(const LayoutInput& in);

// Widths of the twelve function-key boxes: labels' widths (F11 and F12 get
// +2, or 1 with ten keys), the surplus of the bar shared among the shown keys.
std::vector<int> FunctionKeyWidths(const std::vector<int>& labelWidths, int barWidth, int keysShown);

// One shown function key: its label box and the divider after it (1 pixel
// wide, 2 in from the bar's top and bottom). The boxes run left to right
// with 1 pixel after a divider, 3 after F4, F5 and F8.
struct FunctionKeyBox {
    Rect label;
    Rect divider;
};
std::vector<FunctionKeyBox> FunctionKeyBoxes(const std::vector<int>& widths, const Rect& bar, int keysShown);

// The texts of the bars and lines are drawn this many pixels in from each
// side of their boxes.
inline constexpr int kTextMargin = 2;

// The drive bar's five boxes: archive-auto, count, total, used, free.
struct DriveBarTexts {
    std::string lauto;
    std::string count;
    std::string total;
    std::string used;
    std::string freeSpace;
};
struct DriveBarWidths {
    int lauto = 0;
    int count = 0;
    int total = 0;
    int used = 0;
    int freeSpace = 0;
};
// Each box holds the wider of its sample and its text, with the margins:
// the samples are "LAuto [画像などや]", "ファイル数 1000/10000" and 13-digit
// sizes ("Total 9,999,999,999,999"), so that disks below 10 TB never change
// the layout. A bar wider than the five shares the surplus: d to each size
// and count box, the rest to the archive-auto box; a narrower one takes the
// shortfall from the archive-auto and count boxes, never below their texts.
// textWidth measures a text in the bar's font.
DriveBarWidths ComputeDriveBar(int barWidth, const DriveBarTexts& texts,
                               const std::function<int(const std::string&)>& textWidth);

// The filer window's own entries of [FORM_LS]: its placement (the designed
// one where none is kept), whether it starts maximised, and its four fonts
// (file-name area, drive bar, function-key bar, command line).
struct FilerWindowState {
    Geometry designed{100, 100, 480, 640};
    Geometry geometry;
    bool maximised = false;
    FontSpec fonts[4];
};
FilerWindowState ReadFilerWindowState(const ProfileReader& profile);

// Scroll bar: 10 units a page. The page a thumb position stands for.
long long PageForScrollPosition(long long position);
long long ScrollMaximum(long long count, long long pageSize);

}  // namespace kestrum
