// The ish alphabets and line codecs. Every alphabet is built here from
// the rule that defines it; a line's bytes are read as one bit stream,
// the lowest bit of each byte first.
#include "libs/ish/ish_codec.h"

#include <array>
#include <cstring>
#include <vector>

namespace kestrum::ish {

namespace {

constexpr std::uint8_t kNone = 0xFF;

// An alphabet and its inverse (kNone for a character outside it).
struct Alphabet {
    std::vector<std::uint8_t> chars;
    std::array<std::uint8_t, 256> value{};
    void Finish() {
        value.fill(kNone);
        for (std::size_t i = 0; i < chars.size(); ++i) value[chars[i]] = static_cast<std::uint8_t>(i);
    }
};

bool IsLeadChar(unsigned c) { return (c >= 0x89 && c <= 0x9F && c != 0x98) || (c >= 0xE0 && c <= 0xE9); }

struct Alphabets {
    Alphabet j7;      // 91 ASCII characters: base-91 pairs for 13 bits
    Alphabet j8;      // 128 characters: 7 bits each
    Alphabet trail;   // 182 Shift-JIS trail bytes
    Alphabet first;   // 182 characters for a position that is not a trail byte
    Alphabet leads;   // the 32 lead bytes of the kanji rows both levels fill
    Alphabet nk;      // j7, then the 32 lead bytes: 123

    Alphabets() {
        // jis7: the printable ASCII characters less '#' (it starts a jis8
        // header), '.' and '`'.
        for (unsigned c = 0x21; c <= 0x7E; ++c) {
            if (c != '#' && c != '.' && c != '`') j7.chars.push_back(static_cast<std::uint8_t>(c));
        }
        // jis8: '#'..'|' and the half-width kana 0xA1..0xDE, less the
        // characters that look alike or that mail and terminals change, in
        // ascending order but for '?', which takes the eighth place.
        static const char kAsciiOut[] = "$(*-.013@JMPQS_`ow{?";
        for (unsigned c = 0x23; c <= 0x7C; ++c) {
            if (!std::strchr(kAsciiOut, static_cast<int>(c))) j8.chars.push_back(static_cast<std::uint8_t>(c));
        }
        j8.chars.insert(j8.chars.begin() + 7, static_cast<std::uint8_t>('?'));
        for (unsigned c = 0xA1; c <= 0xDE; ++c) {
            if (c != 0xAD && c != 0xB3 && c != 0xBF && c != 0xCD && c != 0xD3) {
                j8.chars.push_back(static_cast<std::uint8_t>(c));
            }
        }
        // Shift-JIS: trail bytes 0x40..0xF8 less 0x60, 0x7F and 0xA0. A
        // position that may start a character uses the same list with the
        // lead bytes outside the filled rows (0x80..0x88, 0x98, 0xEA..0xF8)
        // replaced, in order, by '\''..'/', '0' and '1'..'?'.
        unsigned spare = 0x27;
        for (unsigned c = 0x40; c <= 0xF8; ++c) {
            if (c == 0x60 || c == 0x7F || c == 0xA0) continue;
            trail.chars.push_back(static_cast<std::uint8_t>(c));
            const bool replaced = (c >= 0x80 && c <= 0x88) || c == 0x98 || c >= 0xEA;
            first.chars.push_back(static_cast<std::uint8_t>(replaced ? spare++ : c));
        }
        for (unsigned c = 0x80; c <= 0xFF; ++c) {
            if (IsLeadChar(c)) leads.chars.push_back(static_cast<std::uint8_t>(c));
        }
        nk.chars = j7.chars;
        nk.chars.insert(nk.chars.end(), leads.chars.begin(), leads.chars.end());
        for (Alphabet* a : {&j7, &j8, &trail, &first, &leads, &nk}) a->Finish();
    }
};

const Alphabets& Abc() {
    static const Alphabets a;
    return a;
}

// The bytes of a line as a stream of bits, lowest first; reads past the
// end give zeros.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    unsigned Get(int n) {
        unsigned v = 0;
        for (int i = 0; i < n; ++i, ++bit_) {
            const std::size_t at = bit_ / 8;
            if (at < size_ && ((data_[at] >> (bit_ % 8)) & 1)) v |= 1u << i;
        }
        return v;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t bit_ = 0;
};

// Writes bits, lowest first, into zeroed bytes; bits past the end are dropped.
class BitWriter {
public:
    BitWriter(std::uint8_t* data, std::size_t size) : data_(data), size_(size) { std::memset(data, 0, size); }
    void Put(unsigned v, int n) {
        for (int i = 0; i < n; ++i, ++bit_) {
            const std::size_t at = bit_ / 8;
            if (at < size_ && ((v >> i) & 1)) data_[at] = static_cast<std::uint8_t>(data_[at] | (1u << (bit_ % 8)));
        }
    }

private:
    std::uint8_t* data_;
    std::size_t size_;
    std::size_t bit_ = 0;
};

// Characters of a line being read, one at a time.
class CharReader {
public:
    explicit CharReader(std::string_view s) : s_(s) {}
    // The next character's value in the alphabet; false at the end or
    // for a character outside it.
    bool Next(const Alphabet& a, unsigned& v) {
        if (at_ >= s_.size()) return false;
        last_ = static_cast<unsigned char>(s_[at_++]);
        v = a.value[last_];
        return v != kNone;
    }
    bool Pair(const Alphabet& a, unsigned base, unsigned limit, unsigned& d) {
        unsigned hi = 0, lo = 0;
        if (!Next(a, hi) || !Next(a, lo)) return false;
        d = hi * base + lo;
        return d <= limit;
    }
    unsigned Last() const { return last_; }
    bool PeekLead() const { return at_ < s_.size() && IsLeadChar(static_cast<unsigned char>(s_[at_])); }
    unsigned char Peek() const { return at_ < s_.size() ? static_cast<unsigned char>(s_[at_]) : 0; }
    void Skip() { ++at_; }

private:
    std::string_view s_;
    std::size_t at_ = 0;
    unsigned last_ = 0;
};

// Sixty bytes and more go 13 bits to a pair of jis7 characters; the first
// three bytes of a line are four 6-bit characters.
std::string EncodeJis7(const std::uint8_t* bytes, std::size_t n) {
    const Alphabets& a = Abc();
    BitReader in(bytes, n);
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>(a.j7.chars[in.Get(6)]);
    for (std::size_t bits = 24; bits < n * 8; bits += 13) {
        const unsigned d = in.Get(13);
        out += static_cast<char>(a.j7.chars[d / 91]);
        out += static_cast<char>(a.j7.chars[d % 91]);
    }
    return out;
}

bool DecodeJis7(std::string_view s, std::uint8_t* bytes, std::size_t n) {
    const Alphabets& a = Abc();
    CharReader in(s);
    BitWriter out(bytes, n);
    for (int i = 0; i < 4; ++i) {
        unsigned v = 0;
        if (!in.Next(a.j7, v) || v >= 64) return false;
        out.Put(v, 6);
    }
    for (std::size_t bits = 24; bits < n * 8; bits += 13) {
        unsigned d = 0;
        if (!in.Pair(a.j7, 91, 0x1FFF, d)) return false;
        out.Put(d, 13);
    }
    return true;
}

std::string EncodeJis8(const std::uint8_t* bytes, std::size_t n) {
    BitReader in(bytes, n);
    std::string out;
    for (std::size_t bits = 0; bits < n * 8; bits += 7) out += static_cast<char>(Abc().j8.chars[in.Get(7)]);
    return out;
}

bool DecodeJis8(std::string_view s, std::uint8_t* bytes, std::size_t n) {
    CharReader in(s);
    BitWriter out(bytes, n);
    for (std::size_t bits = 0; bits < n * 8; bits += 7) {
        unsigned v = 0;
        if (!in.Next(Abc().j8, v)) return false;
        out.Put(v, 7);
    }
    return true;
}

// shift_jis: 7 bits in a jis8 character, 15-bit values as two base-182
// characters, and 7 bits in the last character. After a lead byte the
// next character is its trail byte. The last character never starts a
// double-byte character: a lead byte there is written 0x40 higher, as the
// half-width kana the position cannot otherwise hold.
class SjisWriter {
public:
    explicit SjisWriter(std::string& out) : out_(out) {}
    void Put(unsigned v) {
        const Alphabets& a = Abc();
        const std::uint8_t c = lead_ ? a.trail.chars[v] : a.first.chars[v];
        lead_ = !lead_ && IsLeadChar(c);
        out_ += static_cast<char>(c);
    }
    void PutLast(unsigned v) {
        const Alphabets& a = Abc();
        unsigned c = lead_ ? a.trail.chars[v] : a.first.chars[v];
        if (!lead_ && IsLeadChar(c)) c += 0x40;
        out_ += static_cast<char>(c);
    }

private:
    std::string& out_;
    bool lead_ = false;
};

std::string EncodeSjis(const std::uint8_t* bytes, std::size_t n) {
    BitReader in(bytes, n);
    std::string out;
    out += static_cast<char>(Abc().j8.chars[in.Get(7)]);
    SjisWriter w(out);
    for (std::size_t bits = 7; bits + 7 < n * 8; bits += 15) {
        const unsigned d = in.Get(15);
        w.Put(d / 182);
        w.Put(d % 182);
    }
    w.PutLast(in.Get(7));
    return out;
}

bool DecodeSjis(std::string_view s, std::uint8_t* bytes, std::size_t n) {
    const Alphabets& a = Abc();
    CharReader in(s);
    BitWriter out(bytes, n);
    unsigned v = 0;
    if (!in.Next(a.j8, v)) return false;
    out.Put(v, 7);
    bool lead = false;
    auto next = [&](unsigned& value) {
        if (lead) {
            lead = false;
            return in.Next(a.trail, value);
        }
        lead = in.PeekLead();
        return in.Next(a.first, value);
    };
    for (std::size_t bits = 7; bits + 7 < n * 8; bits += 15) {
        unsigned hi = 0, lo = 0;
        if (!next(hi) || !next(lo) || hi * 182 + lo > 0x7FFF) return false;
        out.Put(hi * 182 + lo, 15);
    }
    if (lead) {
        if (!in.Next(a.trail, v)) return false;
    } else {
        unsigned c = in.Peek();
        if (c >= 0xC9 && c <= 0xDF) c -= 0x40;
        in.Skip();
        v = a.first.value[c];
        if (v == kNone || c == 0) return false;
    }
    if (v >= 128) return false;
    out.Put(v, 7);
    return true;
}

// non-kana: the first byte (a sequence number) in one jis7 character, then
// 14-bit values: below 91*123 as a jis7 character and one of 123 (jis7 or
// a lead byte; a lead byte takes a trail byte with 7 more bits), the rest
// as a lead and a trail byte. The line holds 79 characters; the end fills
// with a 6-bit or a 13-bit jis7 tail as the count left requires.
constexpr unsigned kNkSplit = 91 * 123;
constexpr int kNkCount = 75;

std::string EncodeNonKana(const std::uint8_t* bytes, std::size_t n) {
    const Alphabets& a = Abc();
    std::string out;
    out += static_cast<char>(a.nk.chars[bytes[0] < 91 ? bytes[0] : 0]);
    BitReader in(bytes + 1, n - 1);
    int m = kNkCount;
    while (m >= 0) {
        unsigned d = in.Get(14);
        if (d < kNkSplit) {
            const unsigned lo = d % 123;
            out += static_cast<char>(a.nk.chars[d / 123]);
            out += static_cast<char>(a.nk.chars[lo]);
            m -= 2;
            if (lo >= 91) {
                out += static_cast<char>(a.trail.chars[in.Get(7)]);
                m -= 1;
            }
        } else {
            d -= kNkSplit;
            out += static_cast<char>(a.leads.chars[d / 182]);
            out += static_cast<char>(a.trail.chars[d % 182]);
            m -= 2;
        }
    }
    if (m == -2) {
        out += static_cast<char>(a.j7.chars[in.Get(6)]);
    } else if (m == -1) {
        const unsigned d = in.Get(13);
        out += static_cast<char>(a.j7.chars[d / 91]);
        out += static_cast<char>(a.j7.chars[d % 91]);
    }
    return out;
}

bool DecodeNonKana(std::string_view s, std::uint8_t* bytes, std::size_t n) {
    const Alphabets& a = Abc();
    CharReader in(s);
    unsigned v = 0;
    if (!in.Next(a.j7, v)) return false;
    BitWriter out(bytes + 1, n - 1);
    bytes[0] = static_cast<std::uint8_t>(v);
    int m = kNkCount;
    while (m >= 0) {
        unsigned c1 = 0, c2 = 0;
        if (!in.Next(a.nk, c1)) return false;
        if (c1 < 91) {
            if (!in.Next(a.nk, c2)) return false;
            out.Put(c1 * 123 + c2, 14);
            m -= 2;
            if (c2 >= 91) {
                if (!in.Next(a.trail, v) || v >= 128) return false;
                out.Put(v, 7);
                m -= 1;
            }
        } else {
            if (!in.Next(a.trail, c2)) return false;
            const unsigned d = (c1 - 91) * 182 + c2 + kNkSplit;
            if (d > 0x3FFF) return false;
            out.Put(d, 14);
            m -= 2;
        }
    }
    if (m == -2) {
        if (!in.Next(a.j7, v) || v >= 64) return false;
        out.Put(v, 6);
    } else if (m == -1) {
        unsigned d = 0;
        if (!in.Pair(a.j7, 91, 0x1FFF, d)) return false;
        out.Put(d, 13);
    }
    return true;
}

struct CrcTables {
    std::array<std::uint16_t, 256> c16{};
    std::array<std::uint32_t, 256> c32{};
    CrcTables() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned r = i << 8;
            for (int k = 0; k < 8; ++k) r = (r & 0x8000) ? (r << 1) ^ 0x1021 : r << 1;
            c16[i] = static_cast<std::uint16_t>(r);
            std::uint32_t q = i;
            for (int k = 0; k < 8; ++k) q = (q & 1) ? (q >> 1) ^ 0xEDB88320u : q >> 1;
            c32[i] = q;
        }
    }
};

const CrcTables& Crc() {
    static const CrcTables t;
    return t;
}

}  // namespace

std::uint8_t TypeByte(Variant v) {
    switch (v) {
        case Variant::kJis7: return 13;
        case Variant::kJis8: return 8;
        case Variant::kNonKana: return 14;
        case Variant::kSjis: return 15;
    }
    return 0;
}

bool VariantFromType(std::uint8_t type, Variant& v) {
    for (Variant c : {Variant::kJis7, Variant::kJis8, Variant::kSjis, Variant::kNonKana}) {
        if (TypeByte(c) == type) {
            v = c;
            return true;
        }
    }
    return false;
}

std::size_t LineBytes(Variant v) {
    switch (v) {
        case Variant::kJis7: return 63;
        case Variant::kJis8: return 69;
        case Variant::kNonKana: return 69;
        case Variant::kSjis: return 73;
    }
    return 63;
}

const char* VariantName(Variant v) {
    switch (v) {
        case Variant::kJis7: return "jis7";
        case Variant::kJis8: return "jis8";
        case Variant::kNonKana: return "non-kana";
        case Variant::kSjis: return "shift_jis";
    }
    return "";
}

std::string EncodeLine(Variant v, const std::uint8_t* bytes) {
    const std::size_t n = LineBytes(v);
    switch (v) {
        case Variant::kJis7: return EncodeJis7(bytes, n);
        case Variant::kJis8: return EncodeJis8(bytes, n);
        case Variant::kSjis: return EncodeSjis(bytes, n);
        case Variant::kNonKana: return EncodeNonKana(bytes, n);
    }
    return {};
}

bool DecodeLine(Variant v, std::string_view chars, std::uint8_t* bytes) {
    const std::size_t n = LineBytes(v);
    switch (v) {
        case Variant::kJis7: return DecodeJis7(chars, bytes, n);
        case Variant::kJis8: return DecodeJis8(chars, bytes, n);
        case Variant::kSjis: return DecodeSjis(chars, bytes, n);
        case Variant::kNonKana: return DecodeNonKana(chars, bytes, n);
    }
    return false;
}

std::uint16_t Crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc) {
    const auto& t = Crc().c16;
    for (std::size_t i = 0; i < size; ++i) crc = static_cast<std::uint16_t>((crc << 8) ^ t[(crc >> 8) ^ data[i]]);
    return crc;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    const auto& t = Crc().c32;
    for (std::size_t i = 0; i < size; ++i) crc = (crc >> 8) ^ t[(crc ^ data[i]) & 0xFF];
    return crc;
}

void SealLine(std::uint8_t* bytes, std::size_t size) {
    const std::uint16_t crc = static_cast<std::uint16_t>(~Crc16(bytes, size - 2));
    bytes[size - 2] = static_cast<std::uint8_t>(crc >> 8);
    bytes[size - 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

bool LineSealed(const std::uint8_t* bytes, std::size_t size) {
    // The CRC over the bytes and their inverted CRC is always this.
    return size >= 2 && Crc16(bytes, size) == 0x1D0F;
}

}  // namespace kestrum::ish
