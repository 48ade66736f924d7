// The text view's state without a window: the line store, the top line and
// horizontal offset, accelerated scrolling, the caret and its key table, the
// selection (keys, mouse drag, double-click words) and the published
// properties with their checks. TBigView draws it; tests drive it directly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewers/light_strings.h"

namespace kestrum {

// A caret or selection position: a 1-based byte column on a 0-based display
// line. Column 1 is before the first byte; the end of a line is length + 1.
struct TextPos {
    int col = 1;
    int line = 0;
    friend bool operator==(const TextPos&, const TextPos&) = default;
    friend bool operator<(const TextPos& a, const TextPos& b) {
        return a.line != b.line ? a.line < b.line : a.col < b.col;
    }
};

// Pixel widths of text as the window draws it (tabs expanded).
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Width of text drawn from the start of a line.
    virtual int Width(std::string_view text) const = 0;
};

enum class ViewKey { Up, Down, Left, Right, Home, End, PageUp, PageDown };

// Which scroll bars the view has (the values of ScrollBar).
enum ScrollBars : int { sbNone = 0, sbHorizontal = 1, sbVertical = 2, sbBoth = 3 };

// Thresholds of accelerated scrolling, in milliseconds.
inline constexpr unsigned kScrollBarThreshold = 300;
inline constexpr unsigned kKeyThreshold = 200;

// Refusal texts of the property checks.
inline constexpr const char* kScrollSenseError = "無効な値です。> ScrollSense";

// What a step changed, so that the window redraws no more than it must.
struct ViewChange {
    int scrolled = 0;          // lines the top line moved by (negative: up)
    bool horizontal = false;   // the horizontal offset changed
    bool caret = false;        // the caret (selection end) moved
    bool selection = false;    // the selected area changed
    bool handled = false;      // a key was one of the view's
    bool Any() const { return scrolled != 0 || horizontal || caret || selection; }
};

class TViewModel {
public:
    explicit TViewModel(const TextMeasure& measure) : measure_(&measure) {}

    TLightStrings& Lines() { return lines_; }
    const TLightStrings& Lines() const { return lines_; }
    int LineCount() const { return static_cast<int>(lines_.Count()); }
    std::string_view Line(int i) const { return lines_.Get(static_cast<std::size_t>(i)); }

    // -- geometry, from the window --
    // Client size in pixels, average character width and line height.
    // Returns true when TurnRight re-wrapped the text.
    bool SetGeometry(int clientWidth, int clientHeight, int charWidth, int lineHeight);
    int VisibleLines() const { return visibleLines_; }
    int VisibleChars() const { return visibleChars_; }
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }

    // -- properties --
    int MaxChar() const { return maxChar_; }
    void SetMaxChar(int chars) { maxChar_ = chars < 1 ? 1 : chars; }
    int ScrollSense() const { return scrollSense_; }
    // Accepted only in 1-10; false (the value kept) otherwise.
    bool SetScrollSense(int lines);
    int PCanLimit() const { return pCanLimit_; }
    void SetPCanLimit(int n) { pCanLimit_ = n < 0 ? 0 : n; }
    int ViewTabStop() const { return viewTabStop_; }
    // A negative value is ignored (false).
    bool SetViewTabStop(int chars);
    bool TurnRight() const { return turnRight_; }
    // Returns true when the text was re-wrapped.
    bool SetTurnRight(bool on);
    bool Select() const { return select_; }
    void SetSelect(bool on) { select_ = on; }
    bool CaretOn() const { return caretOn_; }
    void SetCaretOn(bool on) { caretOn_ = on; }
    int ScrollBar() const { return scrollBar_; }
    void SetScrollBar(int bars) { scrollBar_ = bars & sbBoth; }

    // -- whole texts and the list --
    // The text wrapped; top line 0, caret at the start, no selection.
    void SetText(TextBuffer text);
    // The same in steps (TLightStrings::BeginText and WrapSome), for a big
    // text shown with progress.
    void BeginText(TextBuffer text);
    bool WrapSome(std::size_t budget);
    // Adds a line; when the last line was showing, the new one is scrolled
    // into view. Returns its index.
    int AddLine(std::string_view line);
    // Lines replaced by a list; top line 0 and no selection.
    void Assign(const std::vector<std::string>& lines);
    // After any other change of the list: positions kept inside the text,
    // MaxChar widened to the longest line.
    void ListChanged();

    // -- vertical position --
    int TopLine() const { return top_; }
    int MaxTop() const;
    // Clamped to 0..MaxTop; returns the lines moved by.
    int SetTopLine(int line);
    // Makes line the last visible line.
    int SetBottomLine(int line);
    int Page() const { return visibleLines_ - 1 < 1 ? 1 : visibleLines_ - 1; }
    // First display line of paragraph p made the top line.
    int GoToParagraph(std::size_t p);
    std::size_t TopParagraph() const;
    // Lines per step: 1 when more than threshold ms passed since the last
    // scroll, else ScrollSense. Remembers now as the time of this scroll.
    int AcceleratedStep(unsigned now, unsigned threshold);
    // A scroll-bar line step (dir -1 up, +1 down).
    ViewChange ScrollBarLine(int dir, unsigned now);
    // A turn of the wheel by delta (kWheelNotch a notch, up when positive;
    // precision touchpads send parts of one), linesPerNotch lines a notch or
    // a page for kWheelPage. The parts add up until they make a line; a turn
    // the other way starts afresh.
    static constexpr int kWheelNotch = 120;
    static constexpr unsigned kWheelPage = 0xFFFFFFFFu;
    ViewChange Wheel(int delta, unsigned linesPerNotch);

    // The scroll-bar range is 0..Range(); positions map proportionally to the
    // top line (the range stays within what a scroll message can carry).
    static constexpr int kMaxScrollRange = 32767;
    int VScrollRange() const;
    int VScrollPos() const;
    int TopLineOfScrollPos(int pos) const;

    // -- horizontal position, in characters --
    int HOffset() const { return hOffset_; }
    int MaxHOffset() const;
    bool SetHOffset(int chars);

    // -- keys --
    // The caret table when the caret is shown, else (or for a key not in
    // it) the scroll keys of the scroll bars the view has.
    ViewChange KeyDown(ViewKey key, bool shift, bool ctrl, unsigned now);

    // -- caret and selection --
    TextPos Caret() const { return caret_; }
    // Moves the caret (the selection end) and clears the selection.
    ViewChange PlaceCaret(TextPos pos);
    bool HasSelection() const { return selActive_ && selStart_ != caret_; }
    TextPos SelStart() const { return selStart_; }
    TextPos SelEnd() const { return caret_; }
    ViewChange SetSelection(TextPos start, TextPos end);
    ViewChange ClearSelection();
    // Bytes selected on display line line: [from, to) as 0-based offsets.
    bool SelectedBytes(int line, std::size_t& from, std::size_t& to) const;
    // The selected text; CR LF only between lines of different paragraphs.
    std::optional<std::string> SelectedText() const;
    // Caret x in pixels inside the window.
    int CaretX() const;
    // Scrolls just enough to show the caret.
    ViewChange ShowCaretInView();

    // -- mouse (client coordinates) --
    TextPos PositionAt(int x, int y) const;
    // The byte of display line line under x (its length when past the end).
    std::size_t ByteAt(int line, int x) const;
    // The word, double-byte character or character at byte b of line.
    ViewChange SelectWordAt(int line, std::size_t b);
    ViewChange MouseDown(int x, int y);
    // Stores the position while dragging; true when the window should post
    // itself the auto-scroll message.
    bool MouseMove(int x, int y);
    ViewChange MouseUp(int x, int y);
    // The mouse was taken away (another window took the capture): the drag
    // ends and the selection stays as it is.
    void EndDrag() { dragging_ = false; }
    bool Dragging() const { return dragging_; }
    // One auto-scroll step towards the stored mouse position, then the
    // selection end set under it.
    ViewChange AutoScrollStep(unsigned now);

private:
    int LineLength(int line) const;
    TextPos Clamp(TextPos p) const;
    int SnapToChar(int line, int col) const;
    TextPos Moved(TextPos from, ViewKey key, bool ctrl) const;
    ViewChange MoveCaret(ViewKey key, bool ctrl, bool extend);
    ViewChange ScrollKey(ViewKey key, bool ctrl, unsigned now);
    int TextX(int x) const { return x + hOffset_ * charWidth_; }
    void Rewrap();

    const TextMeasure* measure_;
    TLightStrings lines_;
    int clientWidth_ = 0, clientHeight_ = 0;
    int charWidth_ = 8, lineHeight_ = 16;
    int visibleLines_ = 1, visibleChars_ = 1;
    int maxChar_ = 255;
    int scrollSense_ = 1;
    int pCanLimit_ = 0;
    int viewTabStop_ = 8;
    bool turnRight_ = false;
    bool select_ = true;
    bool caretOn_ = false;
    int scrollBar_ = sbNone;
    int top_ = 0;
    int hOffset_ = 0;
    bool haveLastScroll_ = false;
    unsigned lastScroll_ = 0;
    TextPos caret_;
    TextPos selStart_;
    bool selActive_ = false;
    bool dragging_ = false;
    int mouseX_ = 0, mouseY_ = 0;
    long long wheelRest_ = 0;  // lines times kWheelNotch not scrolled yet
};

}  // namespace kestrum
