// Conversion of a whole text to Shift-JIS: JIS (ISO-2022-JP escapes, SO/SI
// kana), EUC-JP (SS2 kana, SS3 characters), UTF-8 with or without a
// byte-order mark and UTF-16 with one. The text is classified once as a
// whole, which tells what its high bytes are; then each line is converted on
// its own: a line without high bytes as JIS, the others by the text's code.
// A character that Shift-JIS cannot hold becomes "〓". Line breaks are kept
// as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

enum class TextCode {
    Jis,        // no byte of 0x80 or above (plain ASCII converts to itself)
    EucJp,
    ShiftJis,   // left as it is, but for its lines in JIS
    Utf8,       // valid UTF-8 without a byte-order mark, with a character of three bytes or more
    Utf8Bom,
    Utf16Le,    // with its byte-order mark
    Utf16Be,
};

// Classifies the whole text. A byte-order mark decides first; a text with no
// high byte is JIS; valid UTF-8 holding a character of three bytes or more
// is UTF-8 (two-byte sequences alone are no evidence: ﾃｽ is C3 BD); a text
// whose high bytes are all EUC-JP pairs (0xA1-0xFE twice), SS2 kana (0x8E,
// 0xA1-0xDF) or SS3 characters (0x8F and a pair) is EUC-JP, except when it
// has no pair and also reads as Shift-JIS (自社 is 8E A9 8E D0, two SS2 kana
// to EUC-JP), or reads as Shift-JIS kana and UTF-8 as well; everything else
// is already Shift-JIS.
TextCode ClassifyText(std::string_view text);

// The Shift-JIS code of a Unicode character of the Basic Multilingual
// Plane: one byte (below 0x100) or lead * 256 + trail; 0 when it has none.
std::uint16_t UnicodeToSjis(std::uint32_t cp);
// The JIS X 0208 row-cell pair (0x21-0x7E each) as a Shift-JIS pair.
std::uint16_t JisToSjis(unsigned char j1, unsigned char j2);

inline constexpr const char* kNoSjisForm = "〓";

// A conversion done a few lines at a time, so that a window can show
// progress and cancel. After a cancel the result is the converted lines
// followed by the rest of the source unchanged.
class TSjisConverter {
public:
    explicit TSjisConverter(std::string_view source);
    TSjisConverter(std::string_view source, TextCode code);

    TextCode Code() const { return code_; }
    // False for a text that is already Shift-JIS and has no JIS escape or
    // shift (nothing to convert).
    bool Converts() const;

    // Converts up to count more source lines (each with its line break);
    // returns true once the whole source is converted.
    bool StepLines(std::size_t count);
    bool Done() const { return pos_ >= src_.size(); }
    std::size_t LinesDone() const { return lines_; }
    std::size_t BytesDone() const { return pos_; }

    // The converted text, with the unconverted rest of the source after it
    // when the conversion was stopped early. The converter is spent.
    std::string TakeResult();

private:
    void StepLine();
    void JisLine(std::string_view line);
    void EucLine(std::string_view line);
    void Utf8Line(std::string_view line);
    void StepUtf16(std::size_t& count);
    void PutUnicode(std::uint32_t cp);
    void PutSjis(std::uint16_t code);
    void FlushPending();

    std::string_view src_;
    TextCode code_;
    std::size_t pos_ = 0;
    std::size_t lines_ = 0;
    std::string out_;
    // JIS state: the current mode, a held first byte of a two-byte
    // character, and an escape sequence not yet complete (it may be cut by a
    // line break, which is then kept and the sequence goes on in the next
    // line when that is JIS too). The mode goes on from one JIS line to the
    // next.
    enum class JisMode { Ascii, TwoByte, Kana, ShiftedKana } mode_ = JisMode::Ascii;
    JisMode beforeShift_ = JisMode::Ascii;
    int held_ = -1;
    std::string escape_;
    std::size_t escapeAt_ = 0;  // where in out_ the escape began
};

// The whole conversion at once.
std::string ConvertToSjis(std::string_view text);

}  // namespace kestrum
