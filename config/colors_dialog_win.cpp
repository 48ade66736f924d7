// TfrmColc: the colour dialog, built in code.
#include "config/colors_dialog_win.h"

#include <commdlg.h>

#include <array>

#include "config/colors_win.h"

namespace kestrum {

namespace {

constexpr int kSlotIdBase = 1000;

struct ButtonSpec {
    int slot;
    const char* caption;
};
// A group of buttons in a frame; a group without a title is a lone button.
struct GroupSpec {
    const char* title;
    std::vector<ButtonSpec> buttons;
};

// Left column: the form, the file list and the dividers; right column: the
// areas with a background and a text colour.
const std::vector<GroupSpec>& LeftColumn() {
    static const std::vector<GroupSpec> groups = {
        {nullptr, {{kColFilerForm, "フォームの色"}}},
        {"ファイル情報表示部",
         {{kColListBack, "背景"},
          {kColFileNormal, "普通のファイル"},
          {kColFileReadOnly, "リードオンリーファイル"},
          {kColFileHidden, "隠しファイル"},
          {kColFileSystem, "システムファイル"},
          {kColFileDirectory, "ディレクトリ"}}},
        {nullptr, {{kColDivider, "仕切り"}}},
    };
    return groups;
}

const std::vector<GroupSpec>& RightColumn() {
    static const std::vector<GroupSpec> groups = {
        {"ドライブ情報", {{kColDriveBack, "背景"}, {kColDriveText, "文字"}}},
        {"ファンクション表示部", {{kColFuncBack, "背景"}, {kColFuncText, "文字"}}},
        {"カレントディレクトリ表示部", {{kColCurDirBack, "背景"}, {kColCurDirText, "文字"}}},
        {"マークファイル合計サイズ表示部", {{kColMarkSizeBack, "背景"}, {kColMarkSizeText, "文字"}}},
        {"カーソル位置のファイル情報表示部", {{kColCursorInfoBack, "背景"}, {kColCursorInfoText, "文字"}}},
        {"シェル部", {{kColFilerCmdBack, "背景"}, {kColFilerCmdText, "文字"}}},
    };
    return groups;
}

constexpr int kMargin = 8;
constexpr int kRowHeight = 26;
constexpr int kButtonHeight = 22;
constexpr int kSwatch = 16;
constexpr int kGroupTop = 18;  // room for the frame's title
constexpr int kLeftWidth = 200;
constexpr int kRightWidth = 250;
constexpr int kClientWidth = kMargin * 3 + kLeftWidth + kRightWidth;

}  // namespace

std::optional<ColorValue> ChooseColorWithSystemPicker(HWND owner, ColorValue current) {
    static std::array<COLORREF, 16> custom = [] {
        std::array<COLORREF, 16> a{};
        a.fill(RGB(255, 255, 255));
        return a;
    }();
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = ResolveColor(current);
    cc.lpCustColors = custom.data();
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc)) return std::nullopt;
    return static_cast<ColorValue>(cc.rgbResult & 0x00FFFFFFu);
}

const std::vector<int>& TfrmColc::Slots() {
    static const std::vector<int> slots = [] {
        std::vector<int> s;
        for (const auto* column : {&LeftColumn(), &RightColumn()}) {
            for (const GroupSpec& g : *column) {
                for (const ButtonSpec& b : g.buttons) s.push_back(b.slot);
            }
        }
        return s;
    }();
    return slots;
}

bool TfrmColc::Create(HWND owner) {
    owner_ = owner;
    RegisterWindowClass("TfrmColc", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!CreateWin("TfrmColc", WS_EX_DLGMODALFRAME, style, "Kestrum 色の変更", CW_USEDEFAULT, CW_USEDEFAULT, 100,
                   100, owner)) {
        return false;
    }
    FormCreate();
    return true;
}

void TfrmColc::FormCreate() {
    auto child = [this](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return AddChild(cls, text, style, x, y, w, h, id);
    };
    // A column of groups; buttons of a titled group with two entries share a
    // row, longer groups stack their buttons.
    auto layColumn = [&](const std::vector<GroupSpec>& groups, int x, int width) {
        int y = kMargin;
        for (const GroupSpec& g : groups) {
            const bool framed = g.title != nullptr;
            const bool paired = framed && g.buttons.size() == 2;
            const int rows = paired ? 1 : static_cast<int>(g.buttons.size());
            const int inner = framed ? 8 : 0;
            HWND frame = nullptr;
            if (framed) {
                frame = child("BUTTON", g.title, BS_GROUPBOX, x, y, width, kGroupTop + rows * kRowHeight + 6, -1);
            }
            const int top = y + (framed ? kGroupTop : 0);
            const int cellWidth = paired ? (width - 2 * inner) / 2 : width - 2 * inner;
            for (std::size_t i = 0; i < g.buttons.size(); ++i) {
                const ButtonSpec& b = g.buttons[i];
                const int cx = x + inner + (paired ? static_cast<int>(i) * cellWidth : 0);
                const int cy = top + (paired ? 0 : static_cast<int>(i) * kRowHeight);
                HWND swatch = child("STATIC", "", WS_BORDER, cx, cy + (kButtonHeight - kSwatch) / 2, kSwatch,
                                    kSwatch, -1);
                HWND button = child("BUTTON", b.caption, WS_TABSTOP | BS_PUSHBUTTON, cx + kSwatch + 4, cy,
                                    cellWidth - kSwatch - 8, kButtonHeight, kSlotIdBase + b.slot);
                items_.push_back(Item{b.slot, button, swatch, frame});
                swatchColors_.push_back(ControlColors{swatch, kNoSlot, b.slot});
            }
            y = top + rows * kRowHeight + (framed ? 12 : 4);
        }
        return y;
    };
    const int leftBottom = layColumn(LeftColumn(), kMargin, kLeftWidth);
    const int rightBottom = layColumn(RightColumn(), kMargin * 2 + kLeftWidth, kRightWidth);
    const int okTop = (leftBottom > rightBottom ? leftBottom : rightBottom) + 4;
    constexpr int okWidth = 90;
    ok_ = child("BUTTON", "ＯＫ", WS_TABSTOP | BS_DEFPUSHBUTTON, kClientWidth - kMargin - okWidth, okTop, okWidth,
                kButtonHeight + 2, IDOK);

    SetClientSize(kClientWidth, okTop + kButtonHeight + 2 + kMargin);
}

const TfrmColc::Item* TfrmColc::Find(int slot) const {
    for (const Item& item : items_) {
        if (item.slot == slot) return &item;
    }
    return nullptr;
}

HWND TfrmColc::SlotButton(int slot) const {
    const Item* item = Find(slot);
    return item ? item->button : nullptr;
}

HWND TfrmColc::Swatch(int slot) const {
    const Item* item = Find(slot);
    return item ? item->swatch : nullptr;
}

std::string TfrmColc::ButtonCaption(int slot) const {
    const Item* item = Find(slot);
    return item ? GetText(item->button) : std::string();
}

std::string TfrmColc::GroupCaption(int slot) const {
    const Item* item = Find(slot);
    return item && item->group ? GetText(item->group) : std::string();
}

void TfrmColc::Begin() {
    BeginModal();
    for (const Item& item : items_) InvalidateRect(item.swatch, nullptr, TRUE);
    ShowWindow(Handle(), SW_SHOWNA);
}

void TfrmColc::ShowModal() {
    Centre(owner_);
    Begin();
    HWND active = GetActiveWindow();
    SetForegroundWindow(Handle());
    SetFocus(ok_);
    if (!RunModal(active)) EndModal(0);
}

void TfrmColc::PickColor(int slot) {
    if (!picker_) return;
    const std::optional<ColorValue> chosen = picker_(Handle(), TheColors().Get(slot));
    if (!chosen) return;
    SetColor(slot, *chosen);
    if (const Item* item = Find(slot)) InvalidateRect(item->swatch, nullptr, TRUE);
}

void TfrmColc::OkClick() {
    SaveColorFile();
    Finish();
}

void TfrmColc::Finish() {
    ShowWindow(Handle(), SW_HIDE);
    EndModal(0);
}

LRESULT TfrmColc::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Each swatch is painted in its slot's colour.
    if (auto answer = AnswerSlotColors(Handle(), msg, wp, lp, kNoSlot, swatchColors_)) return *answer;
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (id == IDOK) {
            OkClick();
            return 0;
        }
        if (id == IDCANCEL) {
            Finish();
            return 0;
        }
        if (id >= kSlotIdBase && id < kSlotIdBase + kColorSlotCount && HIWORD(wp) == BN_CLICKED) {
            PickColor(id - kSlotIdBase);
            return 0;
        }
        break;
    }
    case WM_CLOSE: Finish(); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
