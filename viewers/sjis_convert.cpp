// Classification and conversion of texts to Shift-JIS.
#include "viewers/sjis_convert.h"

#include <algorithm>

#include "viewers/unicode_sjis_table.inc"

namespace kestrum {

namespace {

constexpr bool In(unsigned char b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; }

// Length of the valid UTF-8 sequence at s[i], or 0.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i, std::uint32_t* cp, std::size_t* validPrefix) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    std::uint32_t v = 0;
    if (b0 < 0x80) {
        len = 1;
        v = b0;
    } else if (In(b0, 0xC2, 0xDF)) {
        len = 2;
        v = b0 & 0x1F;
    } else if (In(b0, 0xE0, 0xEF)) {
        len = 3;
        v = b0 & 0x0F;
    } else if (In(b0, 0xF0, 0xF4)) {
        len = 4;
        v = b0 & 0x07;
    }
    std::size_t k = len == 0 ? 0 : 1;
    for (; k < len && i + k < s.size(); ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        // The second byte's range rules out overlong forms, surrogates and
        // code points above U+10FFFF.
        unsigned lo = 0x80, hi = 0xBF;
        if (k == 1) {
            if (b0 == 0xE0) lo = 0xA0;
            if (b0 == 0xED) hi = 0x9F;
            if (b0 == 0xF0) lo = 0x90;
            if (b0 == 0xF4) hi = 0x8F;
        }
        if (!In(b, lo, hi)) break;
        v = v << 6 | (b & 0x3F);
    }
    if (validPrefix) *validPrefix = k == 0 ? 1 : k;
    if (len == 0 || k < len) return 0;
    if (cp) *cp = v;
    return len;
}

// Valid UTF-8 throughout; longest is the length of its longest sequence.
bool IsValidUtf8(std::string_view s, std::size_t* longest) {
    *longest = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8SequenceLength(s, i, nullptr, nullptr);
        if (n == 0) return false;
        if (n > *longest) *longest = n;
        i += n;
    }
    return true;
}

bool IsValidShiftJis(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80 || In(b, 0xA1, 0xDF)) continue;
        if (!(In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC))) return false;
        if (i + 1 >= s.size()) return false;
        const auto t = static_cast<unsigned char>(s[++i]);
        if (!(In(t, 0x40, 0x7E) || In(t, 0x80, 0xFC))) return false;
    }
    return true;
}

}  // namespace

std::uint16_t UnicodeToSjis(std::uint32_t cp) {
    if (cp > 0xFFFF) return 0;
    return unicode_sjis::kPages[unicode_sjis::kPageOf[cp >> 8]][cp & 0xFF];
}

std::uint16_t JisToSjis(unsigned char j1, unsigned char j2) {
    const unsigned s1 = ((j1 + 1u) >> 1) + (j1 <= 0x5E ? 0x70u : 0xB0u);
    const unsigned s2 = j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20u : 0x1Fu) : 0x7Eu);
    return static_cast<std::uint16_t>(s1 << 8 | s2);
}

TextCode ClassifyText(std::string_view text) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return TextCode::Utf16Le;
    if (text.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return TextCode::Utf16Be;
    if (text.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return TextCode::Utf8Bom;
    bool high = false;
    for (std::size_t i = 0; i < text.size() && !high; ++i) high = at(i) >= 0x80;
    if (!high) return TextCode::Jis;
    std::size_t longest = 0;
    const bool utf8 = IsValidUtf8(text, &longest);
    if (utf8 && longest >= 3) return TextCode::Utf8;
    bool pairs = false;
    bool kanaOnly = true;  // every high byte a Shift-JIS half-width kana
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = at(i);
        if (b < 0x80) continue;
        const bool next = i + 1 < text.size();
        if (b == 0x8E && next && In(at(i + 1), 0xA1, 0xDF)) {
            kanaOnly = false;
            ++i;
        } else if (b == 0x8F && i + 2 < text.size() && In(at(i + 1), 0xA1, 0xFE) && In(at(i + 2), 0xA1, 0xFE)) {
            kanaOnly = false;
            i += 2;
            pairs = true;
        } else if (In(b, 0xA1, 0xFE) && next && In(at(i + 1), 0xA1, 0xFE)) {
            kanaOnly = kanaOnly && In(b, 0xA1, 0xDF) && In(at(i + 1), 0xA1, 0xDF);
            ++i;
            pairs = true;
        } else {
            return TextCode::ShiftJis;  // a byte only Shift-JIS uses, or a lone high byte
        }
    }
    // Only SS2 kana: half-width katakana alone is rare in EUC-JP text, while
    // 0x8E also leads many Shift-JIS kanji.
    if (!pairs && IsValidShiftJis(text)) return TextCode::ShiftJis;
    // Half-width kana that are EUC-JP pairs and UTF-8 too: three readings
    // and no evidence for any, so the text stays as it is.
    if (kanaOnly && utf8) return TextCode::ShiftJis;
    return TextCode::EucJp;
}

// ---- the converter --------------------------------------------------------------

TSjisConverter::TSjisConverter(std::string_view source) : TSjisConverter(source, ClassifyText(source)) {}

TSjisConverter::TSjisConverter(std::string_view source, TextCode code) : src_(source), code_(code) {
    out_.reserve(source.size() + 16);
    if (code_ == TextCode::Utf8Bom) pos_ = 3;
    if (code_ == TextCode::Utf16Le || code_ == TextCode::Utf16Be) pos_ = 2;
    if (pos_ > src_.size()) pos_ = src_.size();
}

void TSjisConverter::PutSjis(std::uint16_t code) {
    if (code >= 0x100) out_ += static_cast<char>(code >> 8);
    out_ += static_cast<char>(code & 0xFF);
}

void TSjisConverter::PutUnicode(std::uint32_t cp) {
    if (cp == 0) {
        out_ += '\0';
        return;
    }
    const std::uint16_t code = UnicodeToSjis(cp);
    if (code) {
        PutSjis(code);
    } else {
        out_ += kNoSjisForm;
    }
}

void TSjisConverter::FlushPending() {
    if (held_ >= 0) out_ += static_cast<char>(held_);
    held_ = -1;
    // An escape left incomplete goes back where it stood, before the line
    // breaks that followed it.
    out_.insert(std::min(escapeAt_, out_.size()), escape_);
    escape_.clear();
}

bool TSjisConverter::Converts() const {
    if (code_ != TextCode::ShiftJis) return true;
    // Only lines in JIS can change.
    return src_.find_first_of("\x1B\x0E") != std::string_view::npos;
}

bool TSjisConverter::StepLines(std::size_t count) {
    if (Done()) return true;
    if (code_ == TextCode::Utf16Le || code_ == TextCode::Utf16Be) {
        StepUtf16(count);
    } else {
        for (; count > 0 && !Done(); --count) StepLine();
    }
    if (Done()) FlushPending();
    return Done();
}

void TSjisConverter::StepLine() {
    const std::size_t n = src_.size();
    std::size_t end = pos_;
    bool high = false;
    while (end < n && src_[end] != '\r' && src_[end] != '\n') {
        high = high || static_cast<unsigned char>(src_[end]) >= 0x80;
        ++end;
    }
    std::size_t next = end;
    if (next < n && src_[next] == '\r') ++next;
    if (next < n && src_[next] == '\n') ++next;
    const std::string_view line = src_.substr(pos_, end - pos_);
    // In a Shift-JIS text only a line that shifts (or goes on in a shift
    // begun above) is JIS: a stray SI or a bare control byte stays.
    const bool jis = !high && (code_ != TextCode::ShiftJis || line.find_first_of("\x1B\x0E") != std::string_view::npos ||
                               mode_ != JisMode::Ascii || !escape_.empty());
    if (jis) {
        JisLine(line);
    } else {
        // An escape cut by a line break goes on only in a JIS line.
        FlushPending();
        switch (code_) {
        case TextCode::EucJp: EucLine(line); break;
        case TextCode::Utf8:
        case TextCode::Utf8Bom: Utf8Line(line); break;
        default: out_.append(line); break;
        }
    }
    // Half a two-byte character stays as it was at the end of its line.
    if (held_ >= 0) out_ += static_cast<char>(held_);
    held_ = -1;
    out_.append(src_.substr(end, next - end));
    pos_ = next;
    ++lines_;
}

void TSjisConverter::JisLine(std::string_view line) {
    static constexpr std::string_view kEscapes[] = {"\x1B$@", "\x1B$B", "\x1B(B", "\x1B(J", "\x1B(H", "\x1B(I"};
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (!escape_.empty() && b != 0x1B) {
            escape_ += static_cast<char>(b);
            bool prefix = false;
            for (std::string_view e : kEscapes) {
                if (e == escape_) {
                    mode_ = e[1] == '$' ? JisMode::TwoByte : e[2] == 'I' ? JisMode::Kana : JisMode::Ascii;
                    escape_.clear();
                    break;
                }
                if (e.substr(0, escape_.size()) == escape_) prefix = true;
            }
            if (!escape_.empty() && !prefix) {
                out_ += escape_;  // not one of ours: left as it was
                escape_.clear();
            }
            continue;
        }
        if (b == 0x1B || b == 0x0E || b == 0x0F) {
            if (held_ >= 0) out_ += static_cast<char>(held_);
            held_ = -1;
            if (b == 0x1B) {
                out_ += escape_;
                escape_.assign(1, '\x1B');
                escapeAt_ = out_.size();
            } else if (b == 0x0E) {
                if (mode_ != JisMode::ShiftedKana) beforeShift_ = mode_;
                mode_ = JisMode::ShiftedKana;
            } else if (mode_ == JisMode::ShiftedKana) {
                mode_ = beforeShift_;
            }
            continue;
        }
        switch (mode_) {
        case JisMode::TwoByte:
            if (In(b, 0x21, 0x7E)) {
                if (held_ < 0) {
                    held_ = b;
                } else {
                    PutSjis(JisToSjis(static_cast<unsigned char>(held_), b));
                    held_ = -1;
                }
                continue;
            }
            if (held_ >= 0) out_ += static_cast<char>(held_);
            held_ = -1;
            out_ += static_cast<char>(b);
            break;
        case JisMode::Kana:
        case JisMode::ShiftedKana:
            out_ += static_cast<char>(In(b, 0x21, 0x5F) ? b + 0x80 : b);
            break;
        case JisMode::Ascii:
            out_ += static_cast<char>(b);
            break;
        }
    }
}

void TSjisConverter::EucLine(std::string_view line) {
    const std::size_t n = line.size();
    const auto at = [&](std::size_t i) { return i < n ? static_cast<unsigned char>(line[i]) : 0; };
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = at(i);
        const unsigned char t = at(i + 1);
        if (In(b, 0xA1, 0xFE) && In(t, 0xA1, 0xFE)) {
            PutSjis(JisToSjis(b & 0x7F, t & 0x7F));
            i += 2;
        } else if (b == 0x8E && In(t, 0xA1, 0xDF)) {
            out_ += static_cast<char>(t);
            i += 2;
        } else if (b == 0x8F && In(t, 0xA1, 0xFE) && In(at(i + 2), 0xA1, 0xFE)) {
            out_ += kNoSjisForm;  // JIS X 0212 has no Shift-JIS form
            i += 3;
        } else {
            out_ += static_cast<char>(b);
            ++i;
        }
    }
}

void TSjisConverter::Utf8Line(std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b < 0x80) {
            out_ += static_cast<char>(b);
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        std::size_t valid = 1;
        const std::size_t len = Utf8SequenceLength(line, i, &cp, &valid);
        if (len == 0) {
            out_ += kNoSjisForm;  // one mark for each broken sequence
            i += valid;
        } else {
            PutUnicode(cp);
            i += len;
        }
    }
}

void TSjisConverter::StepUtf16(std::size_t& count) {
    const std::size_t n = src_.size();
    const bool le = code_ == TextCode::Utf16Le;
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(src_[i]);
        const auto b = static_cast<unsigned char>(src_[i + 1]);
        return le ? (a | b << 8) : (a << 8 | b);
    };
    while (pos_ < n && count > 0) {
        if (pos_ + 1 >= n) {
            out_ += kNoSjisForm;  // half a unit at the end
            pos_ = n;
            break;
        }
        const std::uint32_t u = unit(pos_);
        pos_ += 2;
        if (u >= 0xD800 && u <= 0xDFFF) {
            // Characters beyond the Basic Multilingual Plane have no Shift-JIS
            // form; a pair makes one mark, a lone half one too.
            if (u <= 0xDBFF && pos_ + 1 < n && unit(pos_) >= 0xDC00 && unit(pos_) <= 0xDFFF) pos_ += 2;
            out_ += kNoSjisForm;
            continue;
        }
        PutUnicode(u);
        if (u == '\n' || (u == '\r' && (pos_ + 1 >= n || unit(pos_) != '\n'))) {
            ++lines_;
            --count;
        }
    }
}

std::string TSjisConverter::TakeResult() {
    FlushPending();
    if (pos_ < src_.size()) out_.append(src_.substr(pos_));
    pos_ = src_.size();
    return std::move(out_);
}

std::string ConvertToSjis(std::string_view text) {
    TSjisConverter c(text);
    while (!c.StepLines(1 << 20)) {
    }
    return c.TakeResult();
}

}  // namespace kestrum
