// TLightStrings: wrapping into offsets, re-joining, the list operations.
#include "viewers/light_strings.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/sjis.h"

namespace kestrum {

namespace {

// A byte that may follow a lead byte (the same rule as CharLen).
constexpr bool IsTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

constexpr std::size_t kMaxBuffer = 0x7FFFFFFF;

}  // namespace

TextBuffer TextBuffer::Allocate(std::size_t size) {
    TextBuffer b;
    b.raw_.reset(new char[size == 0 ? 1 : size]);
    b.size_ = size;
    return b;
}

TextBuffer TextBuffer::Copy(std::string_view text) {
    TextBuffer b = Allocate(text.size());
    if (!text.empty()) std::memcpy(b.raw_.get(), text.data(), text.size());
    return b;
}

TextBuffer TextBuffer::Adopt(std::string&& text) {
    TextBuffer b;
    b.size_ = text.size();
    b.str_ = std::move(text);
    return b;
}

// ---- capacity -------------------------------------------------------------------

void TLightStrings::SetCapacity(std::size_t capacity) {
    if (capacity < lines_.size() || capacity > kMaxCapacity) throw EListError();
    if (capacity < lines_.capacity()) {
        std::vector<Line> smaller;
        smaller.reserve(capacity);
        smaller.assign(lines_.begin(), lines_.end());
        lines_.swap(smaller);
    } else {
        lines_.reserve(capacity);
    }
    capacity_ = capacity;
}

void TLightStrings::Reserve(std::size_t n) {
    n = std::min(n, kMaxCapacity);
    if (n > capacity_) {
        lines_.reserve(n);
        capacity_ = n;
    }
}

void TLightStrings::Grow() {
    if (capacity_ >= kMaxCapacity) throw EListError();
    std::size_t step = std::max(kCapacityStep, capacity_ / 2);
    step = (step + kCapacityStep - 1) / kCapacityStep * kCapacityStep;
    Reserve(capacity_ + step);
}

void TLightStrings::Push(const Line& l) {
    if (lines_.size() == capacity_) Grow();
    lines_.push_back(l);
}

void TLightStrings::Check(std::size_t i) const {
    if (i >= lines_.size()) throw EListError();
}

// ---- the list -------------------------------------------------------------------

const char* TLightStrings::LineData(const Line& l) const {
    return (l.offset & kExtra) ? extra_.data() + (l.offset & ~kExtra) : base_.Data() + l.offset;
}

std::string_view TLightStrings::Get(std::size_t i) const {
    Check(i);
    const Line& l = lines_[i];
    return {LineData(l), l.length};
}

std::size_t TLightStrings::Paragraph(std::size_t i) const {
    Check(i);
    return lines_[i].paragraph;
}

TLightStrings::Line TLightStrings::Store(std::string_view text, std::uint32_t paragraph) {
    // Lines replaced or removed leave their bytes behind; once the garbage
    // outweighs the live text the second buffer is rebuilt.
    if (extra_.size() > 4096 && extra_.size() > 2 * (extraLive_ + text.size())) {
        std::string fresh;
        fresh.reserve(extraLive_ + text.size());
        for (Line& l : lines_) {
            if (!(l.offset & kExtra)) continue;
            const std::size_t at = fresh.size();
            fresh.append(LineData(l), l.length);
            l.offset = static_cast<std::uint32_t>(at) | kExtra;
        }
        extra_.swap(fresh);
    }
    if (extra_.size() + text.size() > kMaxBuffer) throw std::length_error("TLightStrings");
    const auto at = static_cast<std::uint32_t>(extra_.size());
    extra_.append(text);
    extraLive_ += text.size();
    return Line{at | kExtra, static_cast<std::uint32_t>(text.size()), paragraph};
}

void TLightStrings::Forget(const Line& l) {
    if (l.offset & kExtra) extraLive_ -= l.length;
    if (l.length == longest_) longestKnown_ = false;
}

void TLightStrings::Note(std::size_t length) {
    if (length > longest_) longest_ = length;
}

void TLightStrings::FinishWrap() {
    if (Wrapping()) WrapSome(std::numeric_limits<std::size_t>::max());
}

std::size_t TLightStrings::Add(std::string_view line) {
    FinishWrap();
    const std::uint32_t p = lines_.empty() ? 0 : lines_.back().paragraph + 1;
    if (lines_.size() == capacity_) Grow();
    lines_.push_back(Store(line, p));
    Note(line.size());
    pristine_ = false;
    return lines_.size() - 1;
}

void TLightStrings::AddStrings(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) Add(l);
}

void TLightStrings::Assign(const std::vector<std::string>& lines) {
    Clear();
    Reserve(lines.size());
    AddStrings(lines);
}

void TLightStrings::Renumber(std::size_t from, long delta) {
    for (std::size_t k = from; k < lines_.size(); ++k) {
        lines_[k].paragraph = static_cast<std::uint32_t>(static_cast<long>(lines_[k].paragraph) + delta);
    }
}

void TLightStrings::Insert(std::size_t i, std::string_view line) {
    FinishWrap();
    if (i > lines_.size()) throw EListError();
    if (i == lines_.size()) {
        Add(line);
        return;
    }
    // The new line is the paragraph after line i-1's; what follows moves
    // up, and the rest of a paragraph it was inserted into becomes the next.
    const std::uint32_t p = i == 0 ? 0 : lines_[i - 1].paragraph + 1;
    const long delta = static_cast<long>(p) + 1 - static_cast<long>(lines_[i].paragraph);
    Renumber(i, delta);
    if (lines_.size() == capacity_) Grow();
    const Line l = Store(line, p);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), l);
    Note(line.size());
    pristine_ = false;
}

void TLightStrings::Set(std::size_t i, std::string_view line) {
    FinishWrap();
    Check(i);
    const Line old = lines_[i];
    Forget(old);
    lines_[i] = Store(line, old.paragraph);
    Note(line.size());
    pristine_ = false;
}

void TLightStrings::Delete(std::size_t i) {
    FinishWrap();
    Check(i);
    const std::uint32_t p = lines_[i].paragraph;
    const bool alone = (i == 0 || lines_[i - 1].paragraph != p) &&
                       (i + 1 == lines_.size() || lines_[i + 1].paragraph != p);
    Forget(lines_[i]);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    if (alone) Renumber(i, -1);
    pristine_ = false;
}

void TLightStrings::Exchange(std::size_t i, std::size_t j) {
    FinishWrap();
    Check(i);
    Check(j);
    std::swap(lines_[i].offset, lines_[j].offset);
    std::swap(lines_[i].length, lines_[j].length);
    if (i != j) pristine_ = false;
}

void TLightStrings::Clear() {
    base_ = TextBuffer();
    std::string().swap(extra_);
    std::vector<Line>().swap(lines_);
    capacity_ = 0;
    extraLive_ = 0;
    wrapPos_ = 0;
    wrapParagraph_ = 0;
    longest_ = 0;
    longestKnown_ = true;
    pristine_ = true;
}

long long TLightStrings::IndexOf(std::string_view line) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.length == line.size() && std::memcmp(LineData(l), line.data(), line.size()) == 0) {
            return static_cast<long long>(i);
        }
    }
    return -1;
}

std::size_t TLightStrings::LongestLine() const {
    if (!longestKnown_) {
        std::size_t m = 0;
        for (const Line& l : lines_) m = std::max<std::size_t>(m, l.length);
        longest_ = m;
        longestKnown_ = true;
    }
    return longest_;
}

// ---- whole texts ----------------------------------------------------------------

void TLightStrings::SetText(std::string_view text) { SetText(TextBuffer::Copy(text)); }

void TLightStrings::SetText(TextBuffer text) {
    BeginText(std::move(text));
    FinishWrap();
}

void TLightStrings::BeginText(TextBuffer text) {
    if (text.Size() > kMaxBuffer) throw std::length_error("TLightStrings");
    Clear();
    base_ = std::move(text);
    StartWrap();
}

void TLightStrings::StartWrap() {
    std::vector<Line>().swap(lines_);
    capacity_ = 0;
    Reserve(base_.Size() / 28);
    wrapPos_ = 0;
    wrapParagraph_ = 0;
    nextCr_ = nextLf_ = kUnknown;
    longest_ = 0;
    longestKnown_ = true;
    pristine_ = true;
}

namespace {

// Position of the next c at or after pos, or size when there is none.
std::size_t NextByte(const unsigned char* text, std::size_t pos, std::size_t size, unsigned char c) {
    const void* hit = std::memchr(text + pos, c, size - pos);
    return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text) : size;
}

// Where a display line starting at pos must end when the text goes on past
// limit without a line break: the last character boundary at or before
// limit at which no double-byte character is cut. Right after a byte that
// cannot start a double-byte character a character starts, so the scan
// looks back from limit to such a byte and walks forward from there.
std::size_t CutPoint(const unsigned char* text, std::size_t size, std::size_t pos, std::size_t limit) {
    std::size_t q = limit;
    while (q > pos && IsLeadByte(text[q - 1])) --q;
    for (;;) {
        if (q >= limit) break;
        if (IsLeadByte(text[q]) && q + 1 < size && IsTrail(text[q + 1])) {
            if (q + 2 > limit) break;
            q += 2;
        } else {
            ++q;
        }
    }
    // A line one byte wide still takes a whole double-byte character.
    if (q == pos) q = pos + CharLen(std::string_view(reinterpret_cast<const char*>(text), size), pos);
    return q;
}

}  // namespace

bool TLightStrings::WrapSome(std::size_t budget) {
    const auto* const text = reinterpret_cast<const unsigned char*>(base_.Data());
    const std::size_t size = base_.Size();
    const std::size_t width = static_cast<std::size_t>(wrapWidth_);
    const std::size_t stop = size - wrapPos_ > budget ? wrapPos_ + budget : size;
    std::size_t pos = wrapPos_;
    std::uint32_t paragraph = wrapParagraph_;
    std::size_t longest = longest_;
    // The next CR and LF are found once per paragraph, not byte by byte; a
    // line that fits before its break needs no look at its characters.
    std::size_t nextCr = nextCr_, nextLf = nextLf_;
    while (pos < stop) {
        if (nextCr == kUnknown || nextCr < pos) nextCr = NextByte(text, pos, size, '\r');
        if (nextLf == kUnknown || nextLf < pos) nextLf = NextByte(text, pos, size, '\n');
        const std::size_t brk = std::min(nextCr, nextLf);
        const std::size_t start = pos;
        const std::size_t q = brk - pos <= width ? brk : CutPoint(text, size, pos, pos + width);
        if (lines_.size() == capacity_) Grow();
        lines_.push_back(Line{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(q - start), paragraph});
        if (q - start > longest) longest = q - start;
        pos = q;
        if (q == brk && q < size) {
            if (text[pos++] == '\r' && pos < size && text[pos] == '\n') ++pos;
            ++paragraph;
        }
    }
    wrapPos_ = pos;
    wrapParagraph_ = paragraph;
    longest_ = longest;
    nextCr_ = nextCr;
    nextLf_ = nextLf;
    return pos >= size;
}

std::string TLightStrings::GetText() const {
    std::size_t total = 0;
    for (const Line& l : lines_) total += l.length;
    std::string out;
    out.reserve(total + 2 * ParagraphCount());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        out.append(LineData(l), l.length);
        if (i + 1 == lines_.size() || lines_[i + 1].paragraph != l.paragraph) out += "\r\n";
    }
    return out;
}

void TLightStrings::Rewrap() {
    if (Pristine()) {
        StartWrap();
        FinishWrap();
    } else {
        SetText(GetText());
    }
}

std::size_t TLightStrings::LineAtOffset(std::size_t off) const {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), off,
                               [](std::size_t o, const Line& l) { return o < l.offset; });
    return it == lines_.begin() ? 0 : static_cast<std::size_t>(it - lines_.begin()) - 1;
}

// ---- paragraphs -----------------------------------------------------------------

std::size_t TLightStrings::FirstLineOfParagraph(std::size_t p) const {
    if (lines_.empty()) return 0;
    p = std::min<std::size_t>(p, lines_.back().paragraph);
    auto it = std::lower_bound(lines_.begin(), lines_.end(), p,
                               [](const Line& l, std::size_t v) { return l.paragraph < v; });
    return static_cast<std::size_t>(it - lines_.begin());
}

std::size_t TLightStrings::EndOfParagraph(std::size_t i) const {
    Check(i);
    const std::uint32_t p = lines_[i].paragraph;
    auto it = std::upper_bound(lines_.begin() + static_cast<std::ptrdiff_t>(i), lines_.end(), p,
                               [](std::uint32_t v, const Line& l) { return v < l.paragraph; });
    return static_cast<std::size_t>(it - lines_.begin());
}

std::string_view TLightStrings::JoinLines(std::size_t first, std::size_t last, std::string& scratch) const {
    last = std::min(last, lines_.size());
    if (first >= last) return {};
    bool adjacent = true;
    for (std::size_t k = first + 1; k < last && adjacent; ++k) {
        const Line& a = lines_[k - 1];
        const Line& b = lines_[k];
        adjacent = (a.offset & kExtra) == (b.offset & kExtra) && a.offset + a.length == b.offset;
    }
    if (adjacent) {
        const Line& a = lines_[first];
        const Line& b = lines_[last - 1];
        return {LineData(a), static_cast<std::size_t>(b.offset - a.offset) + b.length};
    }
    scratch.clear();
    for (std::size_t k = first; k < last; ++k) scratch.append(LineData(lines_[k]), lines_[k].length);
    return scratch;
}

std::string TLightStrings::ParagraphText(std::size_t p) const {
    if (p >= ParagraphCount()) throw EListError();
    const std::size_t first = FirstLineOfParagraph(p);
    std::string scratch;
    return std::string(JoinLines(first, EndOfParagraph(first), scratch));
}

}  // namespace kestrum
