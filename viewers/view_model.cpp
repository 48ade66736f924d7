// The text view's state: scrolling, caret, selection and hit-testing.
#include "viewers/view_model.h"

#include <algorithm>

#include "common/sjis.h"

namespace kestrum {

namespace {

bool IsWordByte(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_';
}

void Merge(ViewChange& into, const ViewChange& from) {
    into.scrolled += from.scrolled;
    into.horizontal = into.horizontal || from.horizontal;
    into.caret = into.caret || from.caret;
    into.selection = into.selection || from.selection;
}

}  // namespace

// ---- geometry and properties ------------------------------------------------------

bool TViewModel::SetGeometry(int clientWidth, int clientHeight, int charWidth, int lineHeight) {
    clientWidth_ = std::max(0, clientWidth);
    clientHeight_ = std::max(0, clientHeight);
    charWidth_ = std::max(1, charWidth);
    lineHeight_ = std::max(1, lineHeight);
    visibleLines_ = std::max(1, clientHeight_ / lineHeight_);
    visibleChars_ = std::max(1, clientWidth_ / charWidth_);
    if (visibleChars_ > maxChar_) maxChar_ = visibleChars_ + 1;
    bool rewrapped = false;
    if (turnRight_) {
        const int width = std::max(1, clientWidth_ / charWidth_);
        if (width != lines_.WrapWidth()) {
            lines_.SetWrapWidth(width);
            Rewrap();
            rewrapped = true;
        }
    }
    SetTopLine(top_);
    SetHOffset(hOffset_);
    return rewrapped;
}

bool TViewModel::SetScrollSense(int lines) {
    if (lines < 1 || lines > 10) return false;
    scrollSense_ = lines;
    return true;
}

bool TViewModel::SetViewTabStop(int chars) {
    if (chars < 0) return false;
    viewTabStop_ = chars;
    return true;
}

bool TViewModel::SetTurnRight(bool on) {
    turnRight_ = on;
    const int width = on && clientWidth_ > 0 ? std::max(1, clientWidth_ / charWidth_) : TLightStrings::kDefaultWrapWidth;
    if (width == lines_.WrapWidth()) return false;
    lines_.SetWrapWidth(width);
    Rewrap();
    return true;
}

void TViewModel::Rewrap() {
    // The paragraph at the top stays at the top.
    const std::size_t p = TopParagraph();
    lines_.Rewrap();
    top_ = 0;
    SetTopLine(static_cast<int>(lines_.FirstLineOfParagraph(p)));
    caret_ = TextPos{1, top_};
    selActive_ = false;
    dragging_ = false;
}

// ---- the text ----------------------------------------------------------------------

void TViewModel::SetText(TextBuffer text) {
    BeginText(std::move(text));
    while (!WrapSome(std::size_t(-1))) {
    }
}

void TViewModel::BeginText(TextBuffer text) {
    lines_.BeginText(std::move(text));
    top_ = 0;
    hOffset_ = 0;
    caret_ = TextPos{};
    selStart_ = TextPos{};
    selActive_ = false;
    dragging_ = false;
}

bool TViewModel::WrapSome(std::size_t budget) {
    const bool done = lines_.WrapSome(budget);
    if (done) ListChanged();
    return done;
}

int TViewModel::AddLine(std::string_view line) {
    const bool atEnd = top_ + visibleLines_ >= LineCount();
    const int index = static_cast<int>(lines_.Add(line));
    if (static_cast<int>(line.size()) > maxChar_) maxChar_ = static_cast<int>(line.size());
    if (atEnd) SetTopLine(MaxTop());
    return index;
}

void TViewModel::Assign(const std::vector<std::string>& lines) {
    lines_.Assign(lines);
    top_ = 0;
    hOffset_ = 0;
    caret_ = TextPos{};
    selActive_ = false;
    dragging_ = false;
    ListChanged();
}

void TViewModel::ListChanged() {
    SetTopLine(top_);
    caret_ = Clamp(caret_);
    selStart_ = Clamp(selStart_);
    const std::size_t longest = lines_.LongestLine();
    if (longest > static_cast<std::size_t>(maxChar_)) maxChar_ = static_cast<int>(std::min<std::size_t>(longest, 0x7FFFFFF));
}

// ---- vertical and horizontal position ---------------------------------------------

int TViewModel::MaxTop() const { return std::max(0, LineCount() - visibleLines_); }

int TViewModel::SetTopLine(int line) {
    const int clamped = std::clamp(line, 0, MaxTop());
    const int moved = clamped - top_;
    top_ = clamped;
    return moved;
}

int TViewModel::SetBottomLine(int line) { return SetTopLine(line - visibleLines_ + 1); }

int TViewModel::GoToParagraph(std::size_t p) { return SetTopLine(static_cast<int>(lines_.FirstLineOfParagraph(p))); }

std::size_t TViewModel::TopParagraph() const {
    if (lines_.Empty()) return 0;
    return lines_.Paragraph(static_cast<std::size_t>(std::min(top_, LineCount() - 1)));
}

int TViewModel::AcceleratedStep(unsigned now, unsigned threshold) {
    const bool quick = haveLastScroll_ && now - lastScroll_ <= threshold;
    haveLastScroll_ = true;
    lastScroll_ = now;
    return quick ? scrollSense_ : 1;
}

ViewChange TViewModel::ScrollBarLine(int dir, unsigned now) {
    ViewChange ch;
    ch.scrolled = SetTopLine(top_ + dir * AcceleratedStep(now, kScrollBarThreshold));
    return ch;
}

ViewChange TViewModel::Wheel(int delta, unsigned linesPerNotch) {
    ViewChange ch;
    const long long per = linesPerNotch == kWheelPage ? Page() : std::min<long long>(linesPerNotch, 1000);
    if ((wheelRest_ < 0 && delta > 0) || (wheelRest_ > 0 && delta < 0)) wheelRest_ = 0;
    wheelRest_ += static_cast<long long>(delta) * per;
    const long long lines = wheelRest_ / kWheelNotch;
    if (lines == 0) return ch;
    wheelRest_ -= lines * kWheelNotch;
    const long long target = std::clamp<long long>(top_ - lines, -1, static_cast<long long>(MaxTop()) + 1);
    ch.scrolled = SetTopLine(static_cast<int>(target));
    return ch;
}

int TViewModel::VScrollRange() const { return std::clamp(MaxTop(), 1, kMaxScrollRange); }

int TViewModel::VScrollPos() const {
    const int maxTop = MaxTop();
    if (maxTop == 0) return 0;
    return static_cast<int>(static_cast<long long>(top_) * VScrollRange() / maxTop);
}

int TViewModel::TopLineOfScrollPos(int pos) const {
    const int range = VScrollRange();
    pos = std::clamp(pos, 0, range);
    return static_cast<int>(static_cast<long long>(pos) * MaxTop() / range);
}

int TViewModel::MaxHOffset() const { return std::max(0, maxChar_ + 1 - visibleChars_); }

bool TViewModel::SetHOffset(int chars) {
    const int clamped = std::clamp(chars, 0, MaxHOffset());
    const bool changed = clamped != hOffset_;
    hOffset_ = clamped;
    return changed;
}

// ---- keys ----------------------------------------------------------------------------

ViewChange TViewModel::KeyDown(ViewKey key, bool shift, bool ctrl, unsigned now) {
    if (caretOn_) {
        // The caret table: the eight keys without Ctrl, Home and End also
        // with it; the Shift forms only while selecting is allowed.
        const bool inTable = !ctrl || key == ViewKey::Home || key == ViewKey::End;
        if (inTable && (!shift || select_)) return MoveCaret(key, ctrl, shift);
    }
    return ScrollKey(key, ctrl, now);
}

ViewChange TViewModel::ScrollKey(ViewKey key, bool ctrl, unsigned now) {
    ViewChange ch;
    if (scrollBar_ & sbVertical) {
        ch.handled = true;
        switch (key) {
        case ViewKey::Up:
            ch.scrolled = SetTopLine(top_ - (ctrl ? Page() : AcceleratedStep(now, kKeyThreshold)));
            break;
        case ViewKey::Down:
            ch.scrolled = SetTopLine(top_ + (ctrl ? Page() : AcceleratedStep(now, kKeyThreshold)));
            break;
        case ViewKey::PageUp:
            ch.scrolled = SetTopLine(top_ - Page());
            break;
        case ViewKey::PageDown:
            ch.scrolled = SetTopLine(top_ + Page());
            break;
        case ViewKey::Home:
        case ViewKey::End:
            if (ctrl) {
                ch.scrolled = SetTopLine(key == ViewKey::Home ? 0 : MaxTop());
            } else {
                ch.handled = false;
            }
            break;
        default:
            ch.handled = false;
            break;
        }
        if (ch.handled) return ch;
    }
    if (scrollBar_ & sbHorizontal) {
        ch.handled = true;
        switch (key) {
        case ViewKey::Left:
            ch.horizontal = SetHOffset(hOffset_ - (ctrl ? visibleChars_ : AcceleratedStep(now, kKeyThreshold)));
            break;
        case ViewKey::Right:
            ch.horizontal = SetHOffset(hOffset_ + (ctrl ? visibleChars_ : AcceleratedStep(now, kKeyThreshold)));
            break;
        case ViewKey::Home:
            ch.horizontal = !ctrl && SetHOffset(0);
            ch.handled = !ctrl;
            break;
        case ViewKey::End:
            ch.horizontal = !ctrl && SetHOffset(MaxHOffset());
            ch.handled = !ctrl;
            break;
        default:
            ch.handled = false;
            break;
        }
    }
    return ch;
}

// ---- caret and selection -----------------------------------------------------------

int TViewModel::LineLength(int line) const {
    if (line < 0 || line >= LineCount()) return 0;
    return static_cast<int>(Line(line).size());
}

int TViewModel::SnapToChar(int line, int col) const {
    if (line < 0 || line >= LineCount()) return 1;
    const std::string_view text = Line(line);
    const auto b = static_cast<std::size_t>(col - 1);
    for (std::size_t s = 0; s < b;) {
        const std::size_t n = NextChar(text, s);
        if (n > b) return static_cast<int>(s) + 1;  // inside a double-byte character
        s = n;
    }
    return col;
}

TextPos TViewModel::Clamp(TextPos p) const {
    if (lines_.Empty()) return TextPos{};
    p.line = std::clamp(p.line, 0, LineCount() - 1);
    p.col = SnapToChar(p.line, std::clamp(p.col, 1, LineLength(p.line) + 1));
    return p;
}

TextPos TViewModel::Moved(TextPos p, ViewKey key, bool ctrl) const {
    if (lines_.Empty()) return TextPos{};
    const int last = LineCount() - 1;
    const std::string_view text = Line(p.line);
    switch (key) {
    case ViewKey::Up:
        p.line = std::max(0, p.line - 1);
        break;
    case ViewKey::Down:
        p.line = std::min(last, p.line + 1);
        break;
    case ViewKey::PageUp:
        p.line = std::max(0, p.line - Page());
        break;
    case ViewKey::PageDown:
        p.line = std::min(last, p.line + Page());
        break;
    case ViewKey::Left: {
        // Back to the start of the character before the caret.
        const auto b = static_cast<std::size_t>(p.col - 1);
        std::size_t prev = 0;
        for (std::size_t s = 0; s < b; s = NextChar(text, s)) prev = s;
        if (b > 0) p.col = static_cast<int>(prev) + 1;
        break;
    }
    case ViewKey::Right:
        if (static_cast<std::size_t>(p.col - 1) < text.size()) {
            p.col += static_cast<int>(CharLen(text, static_cast<std::size_t>(p.col - 1)));
        }
        break;
    case ViewKey::Home:
        if (ctrl) {
            p.line = 0;
        } else {
            p.col = 1;
        }
        break;
    case ViewKey::End:
        if (ctrl) {
            p.line = last;
        } else {
            p.col = static_cast<int>(text.size()) + 1;
        }
        break;
    }
    return Clamp(p);
}

ViewChange TViewModel::MoveCaret(ViewKey key, bool ctrl, bool extend) {
    ViewChange ch;
    ch.handled = true;
    const TextPos before = caret_;
    if (extend) {
        if (!HasSelection()) selStart_ = before;
        selActive_ = true;
    } else if (HasSelection()) {
        ch.selection = true;
    }
    if (!extend) selActive_ = false;
    caret_ = Moved(before, key, ctrl);
    ch.caret = caret_ != before;
    if (extend && ch.caret) ch.selection = true;
    Merge(ch, ShowCaretInView());
    return ch;
}

ViewChange TViewModel::PlaceCaret(TextPos pos) {
    ViewChange ch;
    const TextPos p = Clamp(pos);
    ch.selection = HasSelection();
    selActive_ = false;
    ch.caret = p != caret_;
    caret_ = p;
    return ch;
}

ViewChange TViewModel::SetSelection(TextPos start, TextPos end) {
    ViewChange ch;
    selStart_ = Clamp(start);
    caret_ = Clamp(end);
    selActive_ = true;
    ch.selection = ch.caret = true;
    return ch;
}

ViewChange TViewModel::ClearSelection() {
    ViewChange ch;
    ch.selection = HasSelection();
    selActive_ = false;
    return ch;
}

bool TViewModel::SelectedBytes(int line, std::size_t& from, std::size_t& to) const {
    if (!HasSelection()) return false;
    const TextPos a = std::min(selStart_, caret_);
    const TextPos b = std::max(selStart_, caret_);
    if (line < a.line || line > b.line) return false;
    const auto len = static_cast<std::size_t>(LineLength(line));
    from = line == a.line ? std::min<std::size_t>(static_cast<std::size_t>(a.col - 1), len) : 0;
    to = line == b.line ? std::min<std::size_t>(static_cast<std::size_t>(b.col - 1), len) : len;
    return from < to;
}

std::optional<std::string> TViewModel::SelectedText() const {
    if (!HasSelection()) return std::nullopt;
    const TextPos a = std::min(selStart_, caret_);
    const TextPos b = std::max(selStart_, caret_);
    std::string out;
    for (int line = a.line; line <= b.line && line < LineCount(); ++line) {
        std::size_t from = 0, to = 0;
        if (SelectedBytes(line, from, to)) out.append(Line(line).substr(from, to - from));
        if (line < b.line && line + 1 < LineCount() &&
            lines_.Paragraph(static_cast<std::size_t>(line)) != lines_.Paragraph(static_cast<std::size_t>(line) + 1)) {
            out += "\r\n";
        }
    }
    return out;
}

int TViewModel::CaretX() const {
    if (caret_.line >= LineCount()) return -hOffset_ * charWidth_;
    const std::string_view text = Line(caret_.line);
    const auto b = std::min<std::size_t>(static_cast<std::size_t>(caret_.col - 1), text.size());
    return measure_->Width(text.substr(0, b)) - hOffset_ * charWidth_;
}

ViewChange TViewModel::ShowCaretInView() {
    ViewChange ch;
    if (caret_.line < top_) {
        ch.scrolled = SetTopLine(caret_.line);
    } else if (caret_.line > top_ + visibleLines_ - 1) {
        ch.scrolled = SetBottomLine(caret_.line);
    }
    if (clientWidth_ > 0 && caret_.line < LineCount()) {
        const std::string_view text = Line(caret_.line);
        const auto b = std::min<std::size_t>(static_cast<std::size_t>(caret_.col - 1), text.size());
        const int x = measure_->Width(text.substr(0, b));  // from the start of the line
        const int left = hOffset_ * charWidth_;
        constexpr int kCaretWidth = 2;
        if (x < left) {
            ch.horizontal = SetHOffset(x / charWidth_);
        } else if (x + kCaretWidth > left + clientWidth_) {
            ch.horizontal = SetHOffset((x + kCaretWidth - clientWidth_ + charWidth_ - 1) / charWidth_);
        }
    }
    return ch;
}

// ---- mouse ---------------------------------------------------------------------------

TextPos TViewModel::PositionAt(int x, int y) const {
    if (lines_.Empty()) return TextPos{};
    if (y < 0) return TextPos{1, top_};
    const int line = top_ + y / lineHeight_;
    if (line >= LineCount()) return TextPos{LineLength(LineCount() - 1) + 1, LineCount() - 1};
    const std::string_view text = Line(line);
    const int tx = TextX(x);
    // Widths of ever longer prefixes, a double-byte character at a time; the
    // caret goes to the nearer edge of the character under x.
    int prevWidth = 0;
    for (std::size_t s = 0; s < text.size();) {
        const std::size_t n = NextChar(text, s);
        const int w = measure_->Width(text.substr(0, n));
        if (w >= tx) {
            return TextPos{static_cast<int>(tx - prevWidth < w - tx ? s : n) + 1, line};
        }
        prevWidth = w;
        s = n;
    }
    return TextPos{static_cast<int>(text.size()) + 1, line};
}

std::size_t TViewModel::ByteAt(int line, int x) const {
    if (line < 0 || line >= LineCount()) return 0;
    const std::string_view text = Line(line);
    const int tx = TextX(x);
    if (tx < 0) return 0;
    int prevWidth = 0;
    for (std::size_t s = 0; s < text.size();) {
        const std::size_t n = NextChar(text, s);
        const int w = measure_->Width(text.substr(0, n));
        if (tx < w) return n - s == 2 && tx >= (prevWidth + w) / 2 ? s + 1 : s;
        prevWidth = w;
        s = n;
    }
    return text.size();
}

ViewChange TViewModel::SelectWordAt(int line, std::size_t b) {
    if (!select_ || line < 0 || line >= LineCount()) return {};
    const std::string_view text = Line(line);
    if (b >= text.size()) return {};
    std::vector<std::size_t> starts;  // character starts of the line
    std::size_t k = 0;
    for (std::size_t s = 0; s < text.size(); s = NextChar(text, s)) {
        if (s <= b) k = starts.size();
        starts.push_back(s);
    }
    starts.push_back(text.size());
    const auto single = [&](std::size_t i) { return starts[i + 1] - starts[i] == 1; };
    const auto word = [&](std::size_t i) { return single(i) && IsWordByte(static_cast<unsigned char>(text[starts[i]])); };
    std::size_t first = k, last = k + 1;  // characters [first, last)
    if (word(k)) {
        while (first > 0 && word(first - 1)) --first;
        while (last + 1 < starts.size() && word(last)) ++last;
    }
    return SetSelection(TextPos{static_cast<int>(starts[first]) + 1, line},
                        TextPos{static_cast<int>(starts[last]) + 1, line});
}

ViewChange TViewModel::MouseDown(int x, int y) {
    ViewChange ch;
    dragging_ = true;
    mouseX_ = x;
    mouseY_ = y;
    const TextPos p = PositionAt(x, y);
    if (select_) {
        ch.selection = HasSelection();
        selStart_ = p;
        selActive_ = true;
        ch.caret = p != caret_;
        caret_ = p;
    } else if (caretOn_) {
        ch = PlaceCaret(p);
    }
    return ch;
}

bool TViewModel::MouseMove(int x, int y) {
    if (!dragging_) return false;
    mouseX_ = x;
    mouseY_ = y;
    return true;
}

ViewChange TViewModel::MouseUp(int x, int y) {
    ViewChange ch;
    if (!dragging_) return ch;
    dragging_ = false;
    if (select_) {
        const TextPos p = PositionAt(x, y);
        ch.caret = ch.selection = p != caret_;
        caret_ = p;
    }
    return ch;
}

ViewChange TViewModel::AutoScrollStep(unsigned now) {
    ViewChange ch;
    if (!dragging_) return ch;
    if (mouseY_ < 0) {
        ch.scrolled = SetTopLine(top_ - 1);
    } else if (mouseY_ >= clientHeight_) {
        ch.scrolled = SetTopLine(top_ + 1);
    }
    if (mouseX_ < 0 && hOffset_ > 0) {
        ch.horizontal = SetHOffset(hOffset_ - AcceleratedStep(now, kKeyThreshold));
    } else if (mouseX_ >= clientWidth_ && hOffset_ < MaxHOffset()) {
        ch.horizontal = SetHOffset(hOffset_ + AcceleratedStep(now, kKeyThreshold));
    }
    if (select_) {
        const TextPos p = PositionAt(mouseX_, mouseY_);
        if (p != caret_) {
            caret_ = p;
            ch.caret = ch.selection = true;
        }
    }
    return ch;
}

}  // namespace kestrum
