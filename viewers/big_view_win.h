// TBigView: the read-only text view control. It shows a TViewModel through
// an off-screen bitmap of the visible lines, scrolls by moving bands of that
// bitmap, and offers a caret, selection by keys and mouse, copy to the
// clipboard and accelerated scrolling. It takes no typed characters, so its
// window procedure is the common ANSI one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "config/font_win.h"
#include "config/window_state.h"
#include "viewers/view_model.h"

namespace kestrum {

// Pixel widths through a memory DC holding the view's font; tabs advance to
// the next multiple of the tab distance, as the view draws them.
class GdiTextMeasure : public TextMeasure {
public:
    GdiTextMeasure();
    ~GdiTextMeasure() override;
    GdiTextMeasure(const GdiTextMeasure&) = delete;
    GdiTextMeasure& operator=(const GdiTextMeasure&) = delete;
    void SetFont(HFONT font);
    void SetTabWidth(int pixels) { tabWidth_ = pixels; }
    int TabWidth() const { return tabWidth_; }
    HDC Dc() const { return dc_.Get(); }
    int Width(std::string_view text) const override;

private:
    MemoryDc dc_;
    HGDIOBJ original_ = nullptr;
    int tabWidth_ = 64;
};

// Reads a whole file through a handle that lets others read and write it.
// nullopt with error set to the platform's code when it cannot be read.
std::optional<TextBuffer> ReadTextFile(const std::string& path, DWORD* error = nullptr);

class TBigView : public Window {
public:
    static constexpr const char* kClassName = "TBigView";
    // The private message of drag auto-scrolling (the first user message).
    static constexpr UINT kAutoScrollMessage = WM_USER;

    // Frame styles (BvStyle).
    enum BvStyleBits : unsigned { bvClientEdge = 1, bvBorder = 2, bvCaption = 4, bvSizeable = 8 };

    TBigView();
    ~TBigView() override;

    bool Create(HWND parent, int x, int y, int width, int height, int id = 0);

    // -- published properties --
    unsigned BvStyle() const { return bvStyle_; }
    // Raises onBvStyleChanging (which may alter the new value), applies the
    // frame, then raises onBvStyleChanged.
    void SetBvStyle(unsigned style);
    std::function<void(unsigned& newStyle)> onBvStyleChanging;
    std::function<void()> onBvStyleChanged;
    std::size_t Capacity() const { return model_.Lines().Capacity(); }
    void SetCapacity(std::size_t capacity) { model_.Lines().SetCapacity(capacity); }
    bool Caret() const { return model_.CaretOn(); }
    void SetCaret(bool on);
    int MaxChar() const { return model_.MaxChar(); }
    void SetMaxChar(int chars);
    int PCanLimit() const { return model_.PCanLimit(); }
    void SetPCanLimit(int n) { model_.SetPCanLimit(n); }
    int ScrollBar() const { return model_.ScrollBar(); }
    void SetScrollBar(int bars);
    int ScrollSense() const { return model_.ScrollSense(); }
    // Outside 1-10 the value is refused with kScrollSenseError in the
    // application's error box, and kept.
    bool SetScrollSense(int lines);
    bool Select() const { return model_.Select(); }
    void SetSelect(bool on) { model_.SetSelect(on); }
    int ViewTabStop() const { return model_.ViewTabStop(); }
    void SetViewTabStop(int chars);
    bool TurnRight() const { return model_.TurnRight(); }
    void SetTurnRight(bool on);
    // Raised after the top line changed / after the selection end moved.
    std::function<void()> OnViewLineChanged;
    std::function<void()> OnSelEndChanged;

    // -- look and wiring --
    void SetFont(const FontSpec& font);
    void SetColors(COLORREF text, COLORREF back);
    COLORREF TextColor() const { return textColor_; }
    COLORREF BackColor() const { return backColor_; }
    // The pop-up menu of a right click (not owned); its command goes to the
    // parent window as WM_COMMAND.
    void SetPopupMenu(HMENU menu) { popup_ = menu; }
    // Every key-down except the bare modifiers (F10 and Alt keys included)
    // goes here first; true when the owner's key map took it.
    std::function<bool(UINT vk)> onKeyDown;
    // A key-down handled by the view itself, past the owner's key map (a
    // bound action that moves the view).
    void PressKey(UINT vk);
    // Milliseconds for accelerated scrolling; GetTickCount unless set.
    std::function<unsigned()> clock;

    // -- the list (each keeps the display consistent) --
    const TLightStrings& Lines() const { return model_.Lines(); }
    int Count() const { return model_.LineCount(); }
    int Add(std::string_view line);
    void AddStrings(const std::vector<std::string>& lines);
    void Assign(const std::vector<std::string>& lines);
    void Clear();
    void Delete(int i);
    void Exchange(int i, int j);
    void Insert(int i, std::string_view line);
    std::string Get(int i) const { return std::string(model_.Lines().Get(static_cast<std::size_t>(i))); }
    void Set(int i, std::string_view line);
    long long IndexOf(std::string_view line) const { return model_.Lines().IndexOf(line); }
    // False (the view unchanged) when the file cannot be read or written. A
    // save writes beside the file and puts the new one in its place in one
    // step, so a failure leaves the file as it was.
    bool LoadFromFile(const std::string& path);
    bool SaveToFile(const std::string& path) const;
    void LoadFromStream(std::istream& in);
    void SaveToStream(std::ostream& out) const;

    // -- whole texts --
    void SetText(std::string_view text);
    void SetText(TextBuffer text);
    std::string GetText() const { return model_.Lines().GetText(); }
    // A big text in steps: the lines wrapped so far show at once.
    void BeginText(TextBuffer text);
    bool WrapSome(std::size_t budget);

    // -- navigation --
    int TopLine() const { return model_.TopLine(); }
    void SetTopLine(int line);
    void SetBottomLine(int line);
    void GoToParagraph(std::size_t p);
    std::size_t ParagraphCount() const { return model_.Lines().ParagraphCount(); }
    std::size_t TopParagraph() const { return model_.TopParagraph(); }
    std::string ParagraphText(std::size_t p) const { return model_.Lines().ParagraphText(p); }
    int VisibleLines() const { return model_.VisibleLines(); }
    int HOffset() const { return model_.HOffset(); }
    TextPos CaretPos() const { return model_.Caret(); }
    void SetCaretPos(TextPos pos);
    bool HasSelection() const { return model_.HasSelection(); }
    void SetSelection(TextPos start, TextPos end);
    std::optional<std::string> SelectedText() const { return model_.SelectedText(); }
    // Copies the selected text into buffer (NUL-terminated, cut to size - 1
    // bytes); the length copied, -1 when nothing is selected.
    int SelectedTextInto(char* buffer, int size) const;
    // Puts the selection on the clipboard; false when there is none or the
    // clipboard cannot be opened.
    bool CopyToClipboard();

    // The state behind the window (tests and the viewer's searches read it).
    const TViewModel& Model() const { return model_; }
    // The back buffer's pixels, row by row (tests compare what band
    // scrolling drew with a full redraw).
    std::vector<std::uint32_t> BackBufferPixels() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    unsigned Now() const;
    void Apply(const ViewChange& ch);
    void Relayout();
    // After the list changed: positions kept valid, everything redrawn.
    void Changed(int oldTop);
    void OnKeyDown(UINT vk);
    void OnScroll(int bar, int code);
    void OnContextMenu(int x, int y);
    DWORD FrameStyle() const;
    DWORD FrameExStyle() const;

    // Drawing (big_view_paint_win.cpp).
    void Metrics();
    void RecreateBitmap();
    void DrawLine(int line);
    void DrawAll();
    void ScrollBand(int lines);
    void Refresh();
    void Paint();
    void UpdateScrollBars();
    void CreateSystemCaret();
    void DestroySystemCaret();
    void PlaceSystemCaret();

    // The font outlives the DC it is selected into; the bitmap outlives its DC.
    FontHandle font_;
    GdiTextMeasure measure_;
    TViewModel model_{measure_};
    unsigned bvStyle_ = bvClientEdge;
    int charWidth_ = 8;
    int lineHeight_ = 16;
    COLORREF textColor_ = RGB(0, 0, 0);
    COLORREF backColor_ = RGB(255, 255, 255);
    HMENU popup_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    MemoryDc bitmapDc_;
    int bitmapWidth_ = 0, bitmapHeight_ = 0;
    int deferred_ = 0;
    bool caretCreated_ = false;
    bool autoScrollArmed_ = false;
    // The system key the owner's key map took last, until the next key:
    // its character must not beep.
    bool swallowSysChar_ = false;
};

}  // namespace kestrum
