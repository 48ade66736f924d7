// The -lh5- encoder: LZ77 over an 8 KB window with hash chains and one
// step of lazy matching, then static Huffman blocks in the LHA layout.
#include <algorithm>
#include <cstring>
#include <queue>

#include "libs/lzh/lzh_codec.h"

namespace kestrum::lzh {

namespace {

constexpr int kNC = 510;
constexpr int kNT = 19;
constexpr int kNP = 14;  // -lh5-: distances below 8192
constexpr int kPBits = 4;
constexpr int kCBits = 9;
constexpr int kTBits = 5;
constexpr std::size_t kWindow = 8192;
constexpr std::size_t kMaxMatch = 256;
constexpr std::size_t kMinMatch = 3;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;
constexpr std::size_t kGoodEnough = 64;
constexpr std::size_t kBlockCodes = 16384;

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(int n, std::uint32_t v) {
        if (n == 0) return;
        acc_ = (acc_ << n) | (v & ((1u << n) - 1));
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(acc_ >> count_));
        }
    }
    void Finish() {
        if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - count_)));
        count_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int count_ = 0;
};

// Huffman code lengths limited to 16 bits: a plain tree, and if it is too
// deep the counts are halved and the tree built again.
void MakeLengths(const std::uint32_t* freq, int n, std::uint8_t* lens) {
    std::vector<std::uint32_t> f(freq, freq + n);
    for (;;) {
        std::fill(lens, lens + n, 0);
        struct Node { std::uint64_t w; int idx; };
        auto cmp = [](const Node& a, const Node& b) { return a.w > b.w || (a.w == b.w && a.idx > b.idx); };
        std::priority_queue<Node, std::vector<Node>, decltype(cmp)> heap(cmp);
        std::vector<int> parent(2 * static_cast<std::size_t>(n), -1);
        int used = 0;
        for (int i = 0; i < n; ++i) {
            if (f[i]) {
                heap.push({f[i], i});
                ++used;
            }
        }
        if (used < 2) return;  // the caller sends a one-symbol table
        int next = n;
        while (heap.size() > 1) {
            Node a = heap.top(); heap.pop();
            Node b = heap.top(); heap.pop();
            parent[a.idx] = next;
            parent[b.idx] = next;
            heap.push({a.w + b.w, next++});
        }
        int maxLen = 0;
        for (int i = 0; i < n; ++i) {
            if (!f[i]) continue;
            int d = 0;
            for (int k = i; parent[k] >= 0; k = parent[k]) ++d;
            lens[i] = static_cast<std::uint8_t>(d > 255 ? 255 : d);
            maxLen = std::max(maxLen, d);
        }
        if (maxLen <= 16) return;
        for (auto& x : f) {
            if (x) x = (x + 1) / 2;
        }
    }
}

void MakeCodes(const std::uint8_t* lens, int n, std::uint16_t* codes) {
    int count[18] = {};
    for (int i = 0; i < n; ++i) ++count[lens[i]];
    count[0] = 0;
    std::uint32_t next[18] = {};
    std::uint32_t code = 0;
    for (int len = 1; len <= 16; ++len) {
        code = (code + static_cast<std::uint32_t>(count[len - 1])) << 1;
        next[len] = code;
    }
    for (int i = 0; i < n; ++i) {
        if (lens[i]) codes[i] = static_cast<std::uint16_t>(next[lens[i]]++);
    }
}

int UsedSymbols(const std::uint32_t* freq, int n, int& only) {
    int used = 0;
    only = 0;
    for (int i = 0; i < n; ++i) {
        if (freq[i]) {
            ++used;
            only = i;
        }
    }
    return used;
}

void WritePtLen(BitWriter& out, const std::uint8_t* lens, int n, int nbit, int special) {
    while (n > 0 && lens[n - 1] == 0) --n;
    out.Put(nbit, static_cast<std::uint32_t>(n));
    int i = 0;
    while (i < n) {
        int k = lens[i++];
        if (k <= 6) {
            out.Put(3, static_cast<std::uint32_t>(k));
        } else {
            out.Put(k - 3, (1u << (k - 3)) - 2);
        }
        if (i == special) {
            while (i < 6 && i < n && lens[i] == 0) ++i;
            out.Put(2, static_cast<std::uint32_t>((i - 3) & 3));
        }
    }
}

// Walks the C lengths the way they are sent, calling emit(tSymbol, extraBits, extraValue).
template <typename Emit>
void WalkCLen(const std::uint8_t* cLen, Emit emit) {
    int n = kNC;
    while (n > 0 && cLen[n - 1] == 0) --n;
    int i = 0;
    while (i < n) {
        int k = cLen[i++];
        if (k == 0) {
            int count = 1;
            while (i < n && cLen[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int j = 0; j < count; ++j) emit(0, 0, 0);
            } else if (count <= 18) {
                emit(1, 4, count - 3);
            } else if (count == 19) {
                emit(0, 0, 0);
                emit(1, 4, 15);
            } else {
                emit(2, kCBits, count - 20);
            }
        } else {
            emit(k + 2, 0, 0);
        }
    }
}

struct Token {
    std::uint16_t c;     // literal, or 256 + length - 3
    std::uint16_t dist;  // distance - 1 for a match
};

int PCode(std::uint32_t d) {
    int p = 0;
    while (d) {
        ++p;
        d >>= 1;
    }
    return p;
}

void SendBlock(BitWriter& out, const std::vector<Token>& toks) {
    std::uint32_t cFreq[kNC] = {}, pFreq[kNP] = {};
    for (const Token& t : toks) {
        ++cFreq[t.c];
        if (t.c >= 256) ++pFreq[PCode(t.dist)];
    }
    std::uint8_t cLen[kNC] = {}, pLen[kNP] = {}, tLen[kNT] = {};
    std::uint16_t cCode[kNC] = {}, pCode[kNP] = {}, tCode[kNT] = {};
    out.Put(16, static_cast<std::uint32_t>(toks.size()));
    int cOnly = 0;
    if (UsedSymbols(cFreq, kNC, cOnly) >= 2) {
        MakeLengths(cFreq, kNC, cLen);
        MakeCodes(cLen, kNC, cCode);
        std::uint32_t tFreq[kNT] = {};
        WalkCLen(cLen, [&](int sym, int, int) { ++tFreq[sym]; });
        int tOnly = 0;
        if (UsedSymbols(tFreq, kNT, tOnly) >= 2) {
            MakeLengths(tFreq, kNT, tLen);
            MakeCodes(tLen, kNT, tCode);
            WritePtLen(out, tLen, kNT, kTBits, 3);
        } else {
            out.Put(kTBits, 0);
            out.Put(kTBits, static_cast<std::uint32_t>(tOnly));
        }
        int n = kNC;
        while (n > 0 && cLen[n - 1] == 0) --n;
        out.Put(kCBits, static_cast<std::uint32_t>(n));
        WalkCLen(cLen, [&](int sym, int nbits, int value) {
            out.Put(tLen[sym], tCode[sym]);
            out.Put(nbits, static_cast<std::uint32_t>(value));
        });
    } else {
        out.Put(kTBits, 0);
        out.Put(kTBits, 0);
        out.Put(kCBits, 0);
        out.Put(kCBits, static_cast<std::uint32_t>(cOnly));
    }
    int pOnly = 0;
    if (UsedSymbols(pFreq, kNP, pOnly) >= 2) {
        MakeLengths(pFreq, kNP, pLen);
        MakeCodes(pLen, kNP, pCode);
        WritePtLen(out, pLen, kNP, kPBits, -1);
    } else {
        out.Put(kPBits, 0);
        out.Put(kPBits, static_cast<std::uint32_t>(pOnly));
    }
    for (const Token& t : toks) {
        out.Put(cLen[t.c], cCode[t.c]);
        if (t.c >= 256) {
            int p = PCode(t.dist);
            out.Put(pLen[p], pCode[p]);
            if (p > 1) out.Put(p - 1, t.dist - (1u << (p - 1)));
        }
    }
}

class Matcher {
public:
    Matcher(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(size), head_(std::size_t{1} << kHashBits, -1), prev_(kWindow, -1) {}

    void Insert(std::size_t pos) {
        if (pos + kMinMatch > size_) return;
        std::uint32_t h = Hash(pos);
        prev_[pos & (kWindow - 1)] = head_[h];
        head_[h] = static_cast<std::int64_t>(pos);
    }

    // Longest match for pos among earlier positions within the window.
    std::size_t Find(std::size_t pos, std::size_t& dist) const {
        if (pos + kMinMatch > size_) return 0;
        std::size_t maxLen = std::min(kMaxMatch, size_ - pos);
        std::size_t best = 0;
        std::int64_t cand = head_[Hash(pos)];
        int chain = kMaxChain;
        const std::uint8_t* cur = data_ + pos;
        while (cand >= 0 && chain-- > 0) {
            std::size_t c = static_cast<std::size_t>(cand);
            if (c >= pos || pos - c >= kWindow) break;
            const std::uint8_t* m = data_ + c;
            if (m[best] == cur[best] && m[0] == cur[0] && m[1] == cur[1]) {
                std::size_t len = 2;
                while (len < maxLen && m[len] == cur[len]) ++len;
                if (len > best) {
                    best = len;
                    dist = pos - c;
                    if (len >= maxLen || len >= kGoodEnough) break;
                }
            }
            std::int64_t nxt = prev_[c & (kWindow - 1)];
            if (nxt >= cand) break;
            cand = nxt;
        }
        return best >= kMinMatch ? best : 0;
    }

private:
    std::uint32_t Hash(std::size_t pos) const {
        std::uint32_t v = (static_cast<std::uint32_t>(data_[pos]) << 16) |
                          (static_cast<std::uint32_t>(data_[pos + 1]) << 8) | data_[pos + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::vector<std::int64_t> head_;
    std::vector<std::int64_t> prev_;
};

}  // namespace

std::vector<std::uint8_t> EncodeLh5(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size / 2 + 64);
    BitWriter bits(out);
    Matcher m(data, size);
    std::vector<Token> toks;
    toks.reserve(kBlockCodes);
    auto emit = [&](Token t) {
        toks.push_back(t);
        if (toks.size() == kBlockCodes) {
            SendBlock(bits, toks);
            toks.clear();
        }
    };
    std::size_t pos = 0;
    std::size_t dist = 0;
    std::size_t len = 0;
    bool havePending = false;
    while (pos < size) {
        if (!havePending) {
            len = m.Find(pos, dist);
        }
        havePending = false;
        m.Insert(pos);
        if (len >= kMinMatch && len < kGoodEnough && pos + 1 < size) {
            // One step of lazy matching: a longer match at the next byte wins.
            std::size_t dist2 = 0;
            std::size_t len2 = m.Find(pos + 1, dist2);
            if (len2 > len) {
                emit(Token{data[pos], 0});
                ++pos;
                len = len2;
                dist = dist2;
                havePending = true;
                continue;
            }
        }
        if (len >= kMinMatch) {
            emit(Token{static_cast<std::uint16_t>(256 + len - kMinMatch), static_cast<std::uint16_t>(dist - 1)});
            for (std::size_t k = 1; k < len; ++k) m.Insert(pos + k);
            pos += len;
        } else {
            emit(Token{data[pos], 0});
            ++pos;
        }
    }
    if (!toks.empty()) SendBlock(bits, toks);
    bits.Finish();
    return out;
}

}  // namespace kestrum::lzh
