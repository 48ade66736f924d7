// TLg: the archive viewer's one-column list: owner-drawn rows, a cursor in
// one of four styles, a selection flag per row, wrapping at the ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/window_win.h"

namespace kestrum {

class TLg : public Window {
public:
    bool Create(HWND parent, int id);

    // The rows; setting them clears the selection and puts the cursor on
    // the first.
    void SetItems(std::vector<std::string> items);
    const std::vector<std::string>& Items() const { return items_; }
    int itemindex() const { return index_; }
    void SetItemIndex(int i);
    // Selection flags; an index out of range says so and is ignored.
    bool Selected(int i) const;
    void SetSelected(int i, bool on);
    int SelCount() const;
    std::vector<int> SelectedRows() const;
    // 0 frame, 1 underline, 2 filled, 3 none; a larger value says so and is
    // ignored.
    void SetCursorStyle(int style);
    int CursorStyle() const { return cursorStyle_; }
    COLORREF clFont = RGB(0, 0, 0);
    COLORREF clBack = RGB(255, 255, 255);
    bool Loop = false;
    bool MultiSelect = true;
    void SetFont(HFONT font);
    int RowHeight() const { return rowHeight_; }

    // The owner's keys come first: true when it handled the key.
    std::function<bool(WPARAM key)> onKeyDown;
    std::function<void()> onDoubleClick;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint();
    void PaintRow(HDC dc, int row, const RECT& r, int starWidth) const;
    void Move(int to);
    void KeyDown(WPARAM key);
    int VisibleRows() const;
    void UpdateScroll();

    std::vector<std::string> items_;
    std::vector<bool> selected_;
    int index_ = 0;
    int top_ = 0;
    int cursorStyle_ = 0;
    int rowHeight_ = 16;
    HFONT font_ = nullptr;
};

}  // namespace kestrum
