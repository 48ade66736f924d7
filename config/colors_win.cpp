// The colour table of the running program and its brushes.
#include "config/colors_win.h"

#include <array>
#include <utility>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/window_win.h"
#include "config/session.h"

namespace kestrum {

namespace {

// One brush per slot, made again when the slot's platform colour changes.
class BrushCache {
public:
    HBRUSH Get(int slot, COLORREF color) {
        const auto i = static_cast<std::size_t>(slot);
        if (!brushes_[i] || colors_[i] != color) {
            brushes_[i].Reset(CreateSolidBrush(color));
            colors_[i] = color;
        }
        return brushes_[i].Get();
    }

private:
    std::array<GdiObject<HBRUSH>, kColorSlotCount> brushes_{};
    std::array<COLORREF, kColorSlotCount> colors_{};
};

BrushCache& Brushes() {
    static BrushCache cache;
    return cache;
}

Signal<int>& Listeners() {
    static Signal<int> listeners;
    return listeners;
}

}  // namespace

ColorTable& TheColors() {
    static ColorTable table;
    return table;
}

std::string CurrentColorFilePath() {
    const Session& session = TheSession();
    return ColorFilePath(session.settings.colorCustomFile, session.programDir);
}

bool LoadColorFile() {
    const bool ok = TheColors().LoadFile(CurrentColorFilePath());
    if (!ok) {
        CurrentPrompter().ShowMessage("指定された色設定ファイルが無効です。\r\nディフォルトの色で表示します");
    }
    ColorChanged(-1);
    return ok;
}

bool SaveColorFile() {
    const std::string path = CurrentColorFilePath();
    return ReportSave(TheColors().Save(path), kColorFileKind, path);
}

bool SaveColorFileAtClose() {
    if (!TheColors().SaveAtClose()) return true;
    return SaveColorFile();
}

void SetColor(int slot, ColorValue value) {
    if (slot < 0 || slot >= kColorSlotCount) return;
    TheColors().Set(slot, value);
    ColorChanged(slot);
}

Subscription AddColorListener(ColorListener listener) { return Listeners().Connect(std::move(listener)); }

std::size_t ColorListenerCount() { return Listeners().Count(); }

namespace {
BOOL CALLBACK RedrawShown(HWND wnd, LPARAM) {
    if (IsWindowVisible(wnd)) RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return TRUE;
}
}  // namespace

void ColorChanged(int slot) {
    // Every window shown answers its children's colour questions from the
    // slots: all of them paint again.
    EnumThreadWindows(GetCurrentThreadId(), RedrawShown, 0);
    Listeners()(slot);
}

COLORREF ResolveColor(ColorValue value) {
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & 0x80000000u) return GetSysColor(static_cast<int>(bits & 0xFFu));
    return static_cast<COLORREF>(bits & 0x00FFFFFFu);
}

HBRUSH SlotBrush(int slot) {
    if (slot < 0 || slot >= kColorSlotCount) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return Brushes().Get(slot, ResolveColor(TheColors().Get(slot)));
}

HBRUSH PrepareSlotColors(HDC dc, int textSlot, int backSlot) {
    SetTextColor(dc, ResolveColor(TheColors().Get(textSlot)));
    SetBkColor(dc, ResolveColor(TheColors().Get(backSlot)));
    return SlotBrush(backSlot);
}

namespace {

std::optional<LRESULT> AnswerSlotColors(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int formSlot,
                                        const ControlColors* controls, std::size_t count) {
    switch (msg) {
    case WM_ERASEBKGND: {
        if (formSlot == kNoSlot) return std::nullopt;
        RECT rc{};
        GetClientRect(wnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, SlotBrush(formSlot));
        return 1;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        for (std::size_t i = 0; i < count; ++i) {
            const ControlColors& c = controls[i];
            if (c.control != reinterpret_cast<HWND>(lp)) continue;
            const HDC dc = reinterpret_cast<HDC>(wp);
            const HBRUSH brush = c.textSlot == kNoSlot ? SlotBrush(c.backSlot)
                                                       : PrepareSlotColors(dc, c.textSlot, c.backSlot);
            return reinterpret_cast<LRESULT>(brush);
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<LRESULT> AnswerSlotColors(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int formSlot,
                                        std::initializer_list<ControlColors> controls) {
    return AnswerSlotColors(wnd, msg, wp, lp, formSlot, controls.begin(), controls.size());
}

std::optional<LRESULT> AnswerSlotColors(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int formSlot,
                                        const std::vector<ControlColors>& controls) {
    return AnswerSlotColors(wnd, msg, wp, lp, formSlot, controls.data(), controls.size());
}

}  // namespace kestrum
