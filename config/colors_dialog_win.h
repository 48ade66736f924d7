// TfrmColc: the colour dialog of the filer's slots. Each button asks for one
// slot's colour and applies it at once; "ＯＫ" writes the colour file.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "common/dialog_win.h"
#include "config/colors.h"
#include "config/colors_win.h"

namespace kestrum {

// Asks for a colour starting from current; nullopt when cancelled.
using ColorPicker = std::function<std::optional<ColorValue>(HWND owner, ColorValue current)>;
// The system colour picker (ChooseColorA), keeping its custom colours for
// the run.
std::optional<ColorValue> ChooseColorWithSystemPicker(HWND owner, ColorValue current);

class TfrmColc : public Dialog {
public:
    // The slots the dialog offers, in the order of its buttons.
    static const std::vector<int>& Slots();

    // Creates the hidden window.
    bool Create(HWND owner);
    // Tests put a picker in place of the system one.
    void SetPicker(ColorPicker picker) { picker_ = std::move(picker); }

    // Shows the window modally until it is closed.
    void ShowModal();
    // The same without the modal loop (tests drive it with messages).
    void Begin();

    HWND SlotButton(int slot) const;
    HWND Swatch(int slot) const;
    HWND OkButton() const { return ok_; }
    // Caption of a slot's button and of the group around it ("" for none).
    std::string ButtonCaption(int slot) const;
    std::string GroupCaption(int slot) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Item {
        int slot;
        HWND button;
        HWND swatch;
        HWND group;
    };
    void FormCreate();
    void PickColor(int slot);
    void OkClick();
    void Finish();
    const Item* Find(int slot) const;

    std::vector<Item> items_;
    std::vector<ControlColors> swatchColors_;  // the swatches of items_
    HWND ok_ = nullptr;
    HWND owner_ = nullptr;
    ColorPicker picker_ = ChooseColorWithSystemPicker;
};

}  // namespace kestrum
