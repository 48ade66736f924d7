// The LHA static-Huffman decoder (-lh4- to -lh7-) and CRC-16.
#include <cstring>

#include "libs/lzh/lzh_codec.h"

namespace kestrum::lzh {

namespace {

struct CrcTable {
    std::uint16_t t[256];
    CrcTable() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1;
            t[i] = static_cast<std::uint16_t>(c);
        }
    }
};
const CrcTable kCrc;

constexpr int kNC = 510;  // literals and match lengths
constexpr int kNT = 19;   // code-length codes
constexpr int kCBits = 9;
constexpr int kTBits = 5;
constexpr int kMaxCodeLen = 16;

// MSB-first bit reader. Past the end it feeds zeros and counts them, so a
// decoder that runs off its data notices without reading a byte too many.
class BitReader {
public:
    BitReader(const std::uint8_t* p, std::size_t n) : p_(p), end_(p + n) { Refill(); }

    void Refill() {
        while (count_ <= 56) {
            std::uint64_t b = 0;
            if (p_ < end_) {
                b = *p_++;
            } else {
                ++padded_;
            }
            bits_ |= b << (56 - count_);
            count_ += 8;
        }
    }
    // The next 16 bits, not consumed.
    std::uint32_t Peek16() {
        if (count_ < 16) Refill();
        return static_cast<std::uint32_t>(bits_ >> 48);
    }
    void Skip(int n) {
        if (count_ < n) Refill();
        bits_ <<= n;
        count_ -= n;
    }
    std::uint32_t Get(int n) {
        if (n == 0) return 0;
        if (count_ < n) Refill();
        std::uint32_t v = static_cast<std::uint32_t>(bits_ >> (64 - n));
        bits_ <<= n;
        count_ -= n;
        return v;
    }
    // True once bits beyond the data have been consumed.
    bool Overrun() const { return static_cast<std::int64_t>(padded_) * 8 > count_; }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::size_t padded_ = 0;
};

// A canonical Huffman decoding table: a direct table for short codes and a
// search by length for the long ones. A table of one symbol (all lengths
// zero) decodes that symbol without reading a bit.
class Huffman {
public:
    // False for an over-subscribed set of lengths or one longer than 16.
    bool Build(const std::uint8_t* lens, int n, int fastBits) {
        single_ = -1;
        fastBits_ = fastBits;
        fast_.assign(std::size_t{1} << fastBits, 0);
        int count[kMaxCodeLen + 2] = {};
        for (int i = 0; i < n; ++i) {
            if (lens[i] > kMaxCodeLen) return false;
            ++count[lens[i]];
        }
        std::uint32_t start[kMaxCodeLen + 2];
        start[1] = 0;
        for (int len = 1; len <= kMaxCodeLen; ++len) {
            start[len + 1] = start[len] + (static_cast<std::uint32_t>(count[len]) << (16 - len));
            if (start[len + 1] > 0x10000) return false;
        }
        int index = 0;
        for (int len = 1; len <= kMaxCodeLen; ++len) {
            first_[len] = start[len];
            limit_[len] = start[len + 1];
            base_[len] = index;
            index += count[len];
        }
        int fill[kMaxCodeLen + 2];
        for (int len = 1; len <= kMaxCodeLen; ++len) fill[len] = base_[len];
        std::uint32_t next[kMaxCodeLen + 2];
        std::memcpy(next, start, sizeof next);
        for (int sym = 0; sym < n; ++sym) {
            int len = lens[sym];
            if (len == 0) continue;
            sorted_[fill[len]++] = static_cast<std::uint16_t>(sym);
            std::uint32_t code = next[len];
            next[len] += 1u << (16 - len);
            if (len <= fastBits) {
                std::uint32_t from = code >> (16 - fastBits);
                std::uint32_t span = 1u << (fastBits - len);
                for (std::uint32_t k = 0; k < span; ++k) {
                    fast_[from + k] = static_cast<std::uint16_t>((sym << 5) | len);
                }
            }
        }
        return true;
    }
    void BuildSingle(int sym) { single_ = sym; }

    // The next symbol, or -1 for a code that no symbol has.
    int Decode(BitReader& in) const {
        if (single_ >= 0) return single_;
        std::uint32_t v = in.Peek16();
        std::uint16_t e = fast_[v >> (16 - fastBits_)];
        if (e & 31) {
            in.Skip(e & 31);
            return e >> 5;
        }
        for (int len = fastBits_ + 1; len <= kMaxCodeLen; ++len) {
            if (v < limit_[len]) {
                if (v < first_[len]) return -1;
                in.Skip(len);
                return sorted_[base_[len] + ((v - first_[len]) >> (16 - len))];
            }
        }
        return -1;
    }

private:
    int single_ = -1;
    int fastBits_ = 8;
    std::vector<std::uint16_t> fast_;
    std::uint32_t first_[kMaxCodeLen + 2] = {};
    std::uint32_t limit_[kMaxCodeLen + 2] = {};
    int base_[kMaxCodeLen + 2] = {};
    std::uint16_t sorted_[kNC] = {};
};

// Reads a table of code lengths for the T or P code. `special` is the
// index after which a 2-bit count of zero lengths follows (-1: none).
bool ReadPtLen(BitReader& in, int nn, int nbit, int special, Huffman& h) {
    int n = static_cast<int>(in.Get(nbit));
    if (n == 0) {
        int c = static_cast<int>(in.Get(nbit));
        if (c >= nn) return false;
        h.BuildSingle(c);
        return true;
    }
    if (n > nn) return false;
    std::uint8_t lens[32] = {};
    int i = 0;
    while (i < n) {
        int c = static_cast<int>(in.Peek16() >> 13);
        if (c == 7) {
            std::uint32_t v = in.Peek16();
            std::uint32_t mask = 1u << 12;
            while (mask & v) {
                mask >>= 1;
                ++c;
            }
            if (c > kMaxCodeLen) return false;
            in.Skip(c - 3);
        } else {
            in.Skip(3);
        }
        lens[i++] = static_cast<std::uint8_t>(c);
        if (i == special) {
            int zeros = static_cast<int>(in.Get(2));
            while (zeros-- > 0) {
                if (i >= n) return false;
                lens[i++] = 0;
            }
        }
    }
    return h.Build(lens, nn, 8);
}

bool ReadCLen(BitReader& in, const Huffman& t, Huffman& c) {
    int n = static_cast<int>(in.Get(kCBits));
    if (n == 0) {
        int sym = static_cast<int>(in.Get(kCBits));
        if (sym >= kNC) return false;
        c.BuildSingle(sym);
        return true;
    }
    if (n > kNC) return false;
    std::uint8_t lens[kNC] = {};
    int i = 0;
    while (i < n) {
        int k = t.Decode(in);
        if (k < 0) return false;
        if (k <= 2) {
            int run = k == 0 ? 1 : k == 1 ? static_cast<int>(in.Get(4)) + 3 : static_cast<int>(in.Get(kCBits)) + 20;
            if (run > n - i) return false;
            i += run;  // lens are already zero
        } else {
            if (k - 2 > kMaxCodeLen) return false;
            lens[i++] = static_cast<std::uint8_t>(k - 2);
        }
        if (in.Overrun()) return false;
    }
    return c.Build(lens, kNC, 12);
}

}  // namespace

std::uint16_t Crc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) crc = static_cast<std::uint16_t>(kCrc.t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

int DictionaryBits(const char m[5]) {
    if (m[0] != '-' || m[1] != 'l' || m[2] != 'h' || m[4] != '-') return 0;
    switch (m[3]) {
        case '4': return 12;
        case '5': return 13;
        case '6': return 15;
        case '7': return 16;
        default: return 0;
    }
}

DecodeStatus Decode(int dicbit, const std::uint8_t* in, std::size_t inSize, std::uint64_t original,
                    const ByteSink& sink) {
    if (dicbit < 12 || dicbit > 16) return DecodeStatus::kBrokenData;
    const int np = dicbit + 1;
    const int pbit = dicbit <= 13 ? 4 : 5;
    constexpr std::size_t kRing = 1u << 16;
    constexpr std::size_t kMask = kRing - 1;
    std::vector<std::uint8_t> ring(kRing, ' ');
    std::size_t pos = 0;  // next write position in the ring; flushed when it wraps
    BitReader bits(in, inSize);
    Huffman t, c, p;
    std::uint64_t left = original;
    auto flush = [&](std::size_t upto) { return upto == 0 || sink(ring.data(), upto); };
    while (left > 0) {
        std::uint32_t blockSize = bits.Get(16);
        if (blockSize == 0 || bits.Overrun()) return DecodeStatus::kBrokenData;
        if (!ReadPtLen(bits, kNT, kTBits, 3, t) || !ReadCLen(bits, t, c) || !ReadPtLen(bits, np, pbit, -1, p)) {
            return DecodeStatus::kBrokenData;
        }
        if (bits.Overrun()) return DecodeStatus::kBrokenData;
        while (blockSize-- > 0 && left > 0) {
            int sym = c.Decode(bits);
            if (sym < 0) return DecodeStatus::kBrokenData;
            if (sym < 256) {
                ring[pos++] = static_cast<std::uint8_t>(sym);
                --left;
                if (pos == kRing) {
                    if (!flush(kRing)) return DecodeStatus::kSinkFailed;
                    pos = 0;
                }
            } else {
                std::uint32_t len = static_cast<std::uint32_t>(sym) - 253;
                int pc = p.Decode(bits);
                if (pc < 0) return DecodeStatus::kBrokenData;
                std::uint32_t dist = pc <= 1 ? static_cast<std::uint32_t>(pc)
                                             : (1u << (pc - 1)) + bits.Get(pc - 1);
                if (len > left) len = static_cast<std::uint32_t>(left);
                left -= len;
                std::size_t from = (pos - dist - 1) & kMask;
                while (len-- > 0) {
                    ring[pos++] = ring[from];
                    from = (from + 1) & kMask;
                    if (pos == kRing) {
                        if (!flush(kRing)) return DecodeStatus::kSinkFailed;
                        pos = 0;
                    }
                }
            }
            if (bits.Overrun()) return DecodeStatus::kBrokenData;
        }
    }
    if (!flush(pos)) return DecodeStatus::kSinkFailed;
    return DecodeStatus::kOk;
}

}  // namespace kestrum::lzh
