// Filer window geometry.
#include "filer/layout.h"

#include <algorithm>
#include <utility>

namespace kestrum {

FilerLayout ComputeLayout(const LayoutInput& in) {
    FilerLayout l;
    const int width = std::max(in.clientWidth - 2, 0);
    l.driveBar = {1, 0, width, in.driveFontHeight + 4};
    l.functionBar = {1, l.driveBar.Bottom(), width, in.functionBar ? in.functionFontHeight + 4 : 0};
    const int dirTop = in.functionBar ? l.functionBar.Bottom() + 2 : l.driveBar.Bottom() + 1;
    l.directoryLine = {1, dirTop, width, in.windowFontHeight + 3};
    l.directoryLeftWidth = std::max(width - in.sizeSampleWidth - 8, 0);
    if (in.infoLine) {
        l.fullNameLine = {1, l.directoryLine.Bottom(), width, 0};
    } else {
        l.fullNameLine = {1, l.directoryLine.Bottom() + 2, width, in.windowFontHeight + 2};
    }
    l.commandLine = {0, std::max(in.clientHeight - in.commandLineHeight, 0), in.clientWidth, in.commandLineHeight};
    const int gridTop = in.infoLine ? l.directoryLine.Bottom() + 2 : l.fullNameLine.Bottom() + 2;
    l.grid = {1, gridTop, std::max(in.clientWidth - in.scrollBarWidth - 2, 0),
              std::max(in.clientHeight - gridTop - in.commandLineHeight - 1, 0)};
    l.scrollBar = {l.grid.left + l.grid.width, l.grid.top, in.scrollBarWidth, l.grid.height};

    const int charWidth = std::max(in.useP ? in.pWidth : in.averageCharWidth, 1);
    // Never zero columns or rows, however small the window.
    l.columns = std::max(l.grid.width / (in.columnChars * charWidth + 2), 1);
    l.columnWidth = std::max(l.grid.width / l.columns - 2, 1);
    l.rowHeight = std::max(in.underscoreHeight + in.filePitch, 1);
    l.rows = std::max((l.grid.height - 4) / l.rowHeight, 1);
    return l;
}

std::vector<int> FunctionKeyWidths(const std::vector<int>& labelWidths, int barWidth, int keysShown) {
    std::vector<int> w(12, 0);
    for (std::size_t i = 0; i < 12; ++i) {
        const int label = i < labelWidths.size() ? labelWidths[i] : 0;
        if (i < 10) {
            w[i] = label;
        } else {
            w[i] = keysShown == 10 ? 1 : label + 2;
        }
    }
    int sum = keysShown == 12 ? 20 : 10;
    for (int x : w) sum += x;
    const int n = keysShown == 12 ? 12 : 10;
    if (barWidth > sum) {
        const int surplus = barWidth - sum;
        for (int i = 0; i < n - 1; ++i) w[static_cast<std::size_t>(i)] += surplus / n;
        w[static_cast<std::size_t>(n - 1)] += surplus - (n - 1) * (surplus / n);
    }
    return w;
}

std::vector<FunctionKeyBox> FunctionKeyBoxes(const std::vector<int>& widths, const Rect& bar, int keysShown) {
    std::vector<FunctionKeyBox> boxes;
    int x = bar.left;
    for (std::size_t i = 0; i < widths.size() && static_cast<int>(i) < keysShown; ++i) {
        FunctionKeyBox b;
        b.label = Rect{x, bar.top, widths[i], bar.height};
        x += widths[i];
        b.divider = Rect{x, bar.top + 2, 1, bar.height - 4};
        x += (i == 3 || i == 4 || i == 7) ? 3 : 1;
        boxes.push_back(b);
    }
    return boxes;
}

DriveBarWidths ComputeDriveBar(int barWidth, const DriveBarTexts& texts,
                               const std::function<int(const std::string&)>& textWidth) {
    auto fit = [&](const std::string& text) { return textWidth(text) + 2 * kTextMargin; };
    auto need = [&](const char* sample, const std::string& text) { return std::max(fit(sample), fit(text)); };
    DriveBarWidths w{need("LAuto [画像などや]", texts.lauto), need("ファイル数 1000/10000", texts.count),
                     need("Total 9,999,999,999,999", texts.total), need("Used 9,999,999,999,999", texts.used),
                     need("Free 9,999,999,999,999", texts.freeSpace)};
    const int sample = w.lauto + w.count + w.total + w.used + w.freeSpace;
    if (barWidth > sample) {
        const int d = (barWidth - sample) / 5;
        w.lauto += barWidth - sample - 4 * d;
        w.count += d;
        w.total += d;
        w.used += d;
        w.freeSpace += d;
        return w;
    }
    // Too narrow for the samples: the archive-auto and count boxes give up
    // their spare room first, down to their own texts, so that the sizes
    // stay whole.
    int deficit = sample - barWidth;
    const std::pair<int*, const std::string*> giving[] = {{&w.lauto, &texts.lauto}, {&w.count, &texts.count}};
    for (const auto& [box, text] : giving) {
        const int take = std::min(std::max(*box - fit(*text), 0), deficit);
        *box -= take;
        deficit -= take;
    }
    return w;
}

FilerWindowState ReadFilerWindowState(const ProfileReader& profile) {
    FilerWindowState w;
    w.geometry = ReadGeometry(profile, "FORM_LS", "", w.designed);
    w.maximised = profile.ReadInteger("FORM_LS", "ISWSMAX", 0) == 1;
    const FontSpec gothic{"ＭＳ ゴシック", 10, 0};
    const FontSpec proportional{"ＭＳ Ｐゴシック", 9, 0};
    w.fonts[0] = ReadFont(profile, "FORM_LS", "FontName", "FontSize", "FontStyle", gothic);
    w.fonts[1] = ReadFont(profile, "FORM_LS", "FontName2", "FontSize2", "FontStyle2", proportional);
    w.fonts[2] = ReadFont(profile, "FORM_LS", "FontName3", "FontSize3", "FontStyle3", proportional);
    w.fonts[3] = ReadFont(profile, "FORM_LS", "FontName4", "FontSize4", "FontStyle4", gothic);
    return w;
}

long long PageForScrollPosition(long long position) { return (position + 5) / 10; }

long long ScrollMaximum(long long count, long long pageSize) {
    return (pageSize > 0 ? count / pageSize : 0) * 10 + 5;
}

}  // namespace kestrum
