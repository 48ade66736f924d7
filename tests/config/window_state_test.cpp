// What the shell writes at close, and in which order.
#include "config/window_state.h"

#include <gtest/gtest.h>

#include "config/settings_loader.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

Lines SectionLines(const Lines& all, const std::string& header) {
    Lines out;
    bool in = false;
    for (const std::string& l : all) {
        if (l == header) {
            in = true;
            continue;
        }
        if (in && l == "[END]") break;
        if (in) out.push_back(l.substr(0, l.find('=')));
    }
    return out;
}

CloseState SampleState() {
    CloseState s;
    s.menuBarShown = false;
    s.currentDir = "C:\\WORK\\";
    s.dirHistory = {"D:\\X", "c:\\work\\"};
    s.exeHistory = {"ls", "cp a b"};
    s.filer = {10, 20, 300, 400};
    for (FontSpec& f : s.filerFonts) f = {"ＭＳ ゴシック", 10, 1};
    s.shell = {1, 2, 3, 4};
    s.shellFont = {"ＭＳ Ｐゴシック", 9, 0};
    return s;
}

TEST(CloseStateTest, KeysAreWrittenInOrderIntoNewSections) {
    TSettingsFile f = TSettingsFile::FromLines({"[MINE]", "; keep me", "x=1", "[END]"});
    WriteCloseState(f, SampleState());
    const Lines& lines = f.Lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4), (Lines{"[MINE]", "; keep me", "x=1", "[END]"}));
    EXPECT_EQ(SectionLines(lines, "[環境変数]"), (Lines{"MenuBar, 0"}));
    // The current directory is put first; its other spelling is dropped.
    EXPECT_EQ(SectionLines(lines, "[DIRHISTORY]"), (Lines{"C:\\WORK\\", "D:\\X"}));
    EXPECT_EQ(SectionLines(lines, "[EXEHISTORY]"), (Lines{"ls", "cp a b"}));
    EXPECT_EQ(SectionLines(lines, "[FORM_LS]"),
              (Lines{"Top", "Left", "Height", "Width", "FontName", "FontSize", "FontStyle", "FontName2", "FontSize2",
                     "FontStyle2", "FontName3", "FontSize3", "FontStyle3", "FontName4", "FontSize4", "FontStyle4",
                     "ddTop", "ddLeft", "ddHeight", "ddWidth", "dsLeft", "ISWSMAX", "weTop", "weLeft", "weHeight",
                     "weWidth", "hhTop", "hhLeft", "hhHeight", "hhWidth", "mTop", "mLeft", "mHeight", "mWidth",
                     "e1FontName", "e1FontSize", "e1FontStyle"}));
    EXPECT_EQ(SectionLines(lines, "[LVIEW]"),
              (Lines{"Top", "Left", "Height", "Width", "FontName", "FontSize", "FontStyle"}));
    EXPECT_EQ(SectionLines(lines, "[TVIEW]"), (Lines{"Top", "Left", "Height", "Width", "FontName", "FontSize",
                                                     "ISWSMAX", "FontStyle", "PTop", "PLeft"}));
}

TEST(CloseStateTest, WritingTwiceReplacesInPlaceAndReadsBack) {
    TSettingsFile f = TSettingsFile::FromLines({});
    WriteCloseState(f, SampleState());
    const std::size_t size = f.Lines().size();
    CloseState s = SampleState();
    s.filer.top = 77;
    s.shellFont.size = 12;
    WriteCloseState(f, s);
    EXPECT_EQ(f.Lines().size(), size);
    const ProfileReader p(f.Lines());
    EXPECT_EQ(p.ReadInteger("FORM_LS", "Top", 0), 77);
    EXPECT_EQ(p.ReadInteger("FORM_LS", "e1FontSize", 0), 12);
    EXPECT_EQ(p.ReadString("FORM_LS", "FontName3", ""), "ＭＳ ゴシック");
    Settings settings;
    SettingsLists lists;
    LoadSettingsLines(f.Lines(), settings, lists);
    EXPECT_FALSE(settings.menuBar);
    EXPECT_EQ(lists.exeHistory, (Lines{"ls", "cp a b"}));
}

TEST(CloseStateTest, FontsAndGeometryFallBackOnBadValues) {
    const ProfileReader p({"[FORM_LS]", "e1FontName=", "e1FontSize=-4", "e1FontStyle=255", "mTop=x", "mLeft=3"});
    const FontSpec f = ReadFont(p, "FORM_LS", "e1FontName", "e1FontSize", "e1FontStyle", FontSpec{"D", 10, 0});
    EXPECT_EQ(f.name, "D");
    EXPECT_EQ(f.size, 10);
    EXPECT_EQ(f.style, 15);
    const Geometry g = ReadGeometry(p, "FORM_LS", "m", Geometry{1, 2, 3, 4});
    EXPECT_EQ(g.top, 1);
    EXPECT_EQ(g.left, 3);
}

// Placements read from a file come back onto the desktop.
TEST(KeepOnDesktopTest, WindowsLieWhollyOnTheArea) {
    const Geometry area{0, 0, 728, 1024};  // top, left, height, width
    const Geometry def{100, 100, 300, 400};
    struct Case {
        Geometry in, out;
    } cases[] = {
        {{30, 40, 200, 420}, {30, 40, 200, 420}},            // on the desktop: kept
        {{20000, -30000, 200, 420}, {528, 0, 200, 420}},     // far away: to the nearest edges
        {{700, 900, 200, 420}, {528, 604, 200, 420}},        // half off the bottom right
        {{-5, 10, 900, 2000}, {0, 0, 728, 1024}},            // larger than the area
        {{10, 10, 0, -3}, {10, 10, 300, 400}},               // no size: the default's
    };
    for (const Case& c : cases) {
        const Geometry g = KeepOnDesktop(c.in, def, area);
        EXPECT_EQ(g.top, c.out.top);
        EXPECT_EQ(g.left, c.out.left);
        EXPECT_EQ(g.height, c.out.height);
        EXPECT_EQ(g.width, c.out.width);
    }
    // An area that does not start at 0 (a second monitor on the left).
    const Geometry g = KeepOnDesktop(Geometry{10, 10, 100, 100}, def, Geometry{0, -1280, 1024, 1280});
    EXPECT_EQ(g.left, -100);
}

}  // namespace
}  // namespace kestrum
