// TLightStrings: the text view's line store. A whole text is kept as one
// buffer and wrapped into display lines that are offsets into it, each with
// the number of the source line (paragraph) it came from; lines added or
// changed through the list operations live in a second buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// Raised for an index outside the list and for a capacity the list cannot
// take.
inline constexpr const char* kListIndexError = "インデックスがリストの範囲を超えています";
class EListError : public std::out_of_range {
public:
    EListError() : std::out_of_range(kListIndexError) {}
};

// A block of text bytes owned without a copy: a file is read straight into
// one, a converted text is moved into one. Not zero-filled when allocated.
class TextBuffer {
public:
    TextBuffer() = default;
    static TextBuffer Allocate(std::size_t size);
    static TextBuffer Copy(std::string_view text);
    static TextBuffer Adopt(std::string&& text);
    char* Data() { return raw_ ? raw_.get() : str_.data(); }
    const char* Data() const { return raw_ ? raw_.get() : str_.data(); }
    std::size_t Size() const { return size_; }
    // Shortens the text to size bytes (a read that gave less).
    void Truncate(std::size_t size) {
        if (size < size_) size_ = size;
    }
    std::string_view View() const { return {Data(), size_}; }

private:
    std::unique_ptr<char[]> raw_;
    std::string str_;
    std::size_t size_ = 0;
};

class TLightStrings {
public:
    static constexpr std::size_t kMaxCapacity = 0x7FFFFFF;
    static constexpr int kDefaultWrapWidth = 80;
    // Capacity grows in steps of this many entries (and by half the list
    // once it is large, so that filling a big list stays linear).
    static constexpr std::size_t kCapacityStep = 32;

    TLightStrings() = default;
    TLightStrings(const TLightStrings&) = delete;
    TLightStrings& operator=(const TLightStrings&) = delete;

    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    std::size_t Capacity() const { return capacity_; }
    // Fewer entries than the list holds, or more than kMaxCapacity: EListError.
    void SetCapacity(std::size_t capacity);

    // Maximum bytes per display line when a text is wrapped (at least 1).
    int WrapWidth() const { return wrapWidth_; }
    void SetWrapWidth(int width) { wrapWidth_ = width < 1 ? 1 : width; }

    // -- the list; an index outside it raises EListError --
    std::string_view Get(std::size_t i) const;
    // 0-based number of the source line display line i belongs to.
    std::size_t Paragraph(std::size_t i) const;
    // A line added at the end is a paragraph of its own. Returns its index.
    std::size_t Add(std::string_view line);
    // Each line of the list becomes a display line and a paragraph.
    void AddStrings(const std::vector<std::string>& lines);
    void Assign(const std::vector<std::string>& lines);
    // Inserted before line i (i == Count() appends) as a paragraph of its own;
    // the paragraphs after it are renumbered.
    void Insert(std::size_t i, std::string_view line);
    // Changes the text of line i; it stays in its paragraph.
    void Set(std::size_t i, std::string_view line);
    // Removes line i; when it was its paragraph's only line the paragraphs
    // after it are renumbered.
    void Delete(std::size_t i);
    // Swaps the texts of lines i and j; the paragraph structure stays.
    void Exchange(std::size_t i, std::size_t j);
    void Clear();
    // First display line equal to line (bytes compared exactly), or -1.
    long long IndexOf(std::string_view line) const;
    // Length in bytes of the longest display line.
    std::size_t LongestLine() const;

    // -- whole texts --
    // Wraps text into display lines: a line ends at CR, LF or CR LF (one
    // line break, which starts the next paragraph) or when the wrap width is
    // reached. A double-byte character is never split: a lead byte goes
    // with its trail byte (never with NUL, CR or LF) only while the pair
    // fits, so a line may end a byte short; an empty line takes one
    // character whatever its size. NUL is an ordinary byte. A text ending in
    // a line break has no empty last line.
    void SetText(std::string_view text);
    void SetText(TextBuffer text);
    // The same in steps, for a window that shows progress: BeginText clears
    // and takes the text, each WrapSome wraps about budget more bytes and
    // returns true once the whole text is wrapped.
    void BeginText(TextBuffer text);
    bool WrapSome(std::size_t budget);
    std::size_t WrappedBytes() const { return wrapPos_; }
    std::size_t TextBytes() const { return base_.Size(); }
    bool Wrapping() const { return wrapPos_ < base_.Size(); }

    // Re-joins the display lines: CR LF between two lines of different
    // paragraphs and after the last line.
    std::string GetText() const;
    // Wraps the text again at the current wrap width; a text that was never
    // changed line by line is wrapped from its buffer without a copy.
    void Rewrap();

    // True while the lines are exactly the wrapping of the text buffer: the
    // lines are then offsets into Text() in order, separated only by the
    // line breaks of the source.
    bool Pristine() const { return pristine_ && !Wrapping(); }
    std::string_view Text() const { return base_.View(); }
    // Byte offset of display line i in Text() (only meaningful when Pristine).
    std::size_t Offset(std::size_t i) const { return lines_[i].offset; }
    // The display line holding byte offset off of Text() (Pristine only): the
    // last line that starts at or before it.
    std::size_t LineAtOffset(std::size_t off) const;

    // -- paragraphs --
    std::size_t ParagraphCount() const { return lines_.empty() ? 0 : lines_.back().paragraph + 1; }
    // First display line of paragraph p, p clamped to the paragraphs there
    // are (0 for an empty list).
    std::size_t FirstLineOfParagraph(std::size_t p) const;
    // One past the last display line of the paragraph of line i.
    std::size_t EndOfParagraph(std::size_t i) const;
    // The display lines first..last-1 joined without line breaks: a view
    // into the buffer when they lie side by side there, else joined into
    // scratch.
    std::string_view JoinLines(std::size_t first, std::size_t last, std::string& scratch) const;
    // Text of paragraph p (its display lines joined); EListError when there
    // is no such paragraph.
    std::string ParagraphText(std::size_t p) const;

private:
    struct Line {
        std::uint32_t offset;  // into base_, or into extra_ when kExtra is set
        std::uint32_t length;
        std::uint32_t paragraph;
    };
    static constexpr std::uint32_t kExtra = 0x80000000u;

    const char* LineData(const Line& l) const;
    Line Store(std::string_view text, std::uint32_t paragraph);
    void Reserve(std::size_t n);
    void Grow();
    void Push(const Line& l);
    void Check(std::size_t i) const;
    void Renumber(std::size_t from, long delta);
    void Forget(const Line& l);
    void Note(std::size_t length);
    void FinishWrap();
    void StartWrap();

    TextBuffer base_;
    std::string extra_;
    std::vector<Line> lines_;
    std::size_t capacity_ = 0;
    int wrapWidth_ = kDefaultWrapWidth;
    std::size_t wrapPos_ = 0;
    std::uint32_t wrapParagraph_ = 0;
    // Where the wrapping scan found the next CR and LF (the text's size when
    // there is none).
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::size_t nextCr_ = kUnknown, nextLf_ = kUnknown;
    std::size_t extraLive_ = 0;  // bytes of extra_ still used by lines
    mutable std::size_t longest_ = 0;
    mutable bool longestKnown_ = true;
    bool pristine_ = true;
};

}  // namespace kestrum
