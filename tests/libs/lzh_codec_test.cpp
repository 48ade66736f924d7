// The LHA codecs: CRC-16, the -lh5- encoder against our decoder, and the
// decoder on broken input (it must stop, never read or write out of bounds).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "libs/lzh/lzh_codec.h"

namespace kestrum::lzh {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

DecodeStatus DecodeAll(int dicbit, const std::vector<std::uint8_t>& packed, std::size_t original,
                       std::vector<std::uint8_t>& out) {
    out.clear();
    return Decode(dicbit, packed.data(), packed.size(), original, [&](const std::uint8_t* p, std::size_t n) {
        out.insert(out.end(), p, p + n);
        return true;
    });
}

TEST(LzhCrc16, KnownValues) {
    // "123456789" under the reflected 0xA001 polynomial with initial 0 is 0xBB3D.
    auto d = Bytes("123456789");
    EXPECT_EQ(Crc16(0, d.data(), d.size()), 0xBB3D);
    EXPECT_EQ(Crc16(0, nullptr, 0), 0);
    // Running it in two pieces gives the same value.
    EXPECT_EQ(Crc16(Crc16(0, d.data(), 4), d.data() + 4, 5), 0xBB3D);
}

TEST(LzhMethods, WindowSizes) {
    EXPECT_EQ(DictionaryBits("-lh4-"), 12);
    EXPECT_EQ(DictionaryBits("-lh5-"), 13);
    EXPECT_EQ(DictionaryBits("-lh6-"), 15);
    EXPECT_EQ(DictionaryBits("-lh7-"), 16);
    EXPECT_EQ(DictionaryBits("-lh0-"), 0);
    EXPECT_EQ(DictionaryBits("-lhd-"), 0);
    EXPECT_EQ(DictionaryBits("-lh1-"), 0);
    EXPECT_EQ(DictionaryBits("-lzs-"), 0);
}

std::vector<std::uint8_t> Sample(const std::string& kind, std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> d(size);
    if (kind == "zeros") return d;
    if (kind == "random") {
        for (auto& b : d) b = static_cast<std::uint8_t>(rng());
        return d;
    }
    if (kind == "text") {
        static const char* words[] = {"archive ", "member ", "header ", "の書庫 ", "huffman ", "\r\n", "window ", "表示 "};
        std::string s;
        while (s.size() < size) s += words[rng() % 8];
        s.resize(size);
        return Bytes(s);
    }
    // "mixed": noise, counting runs, and copies of earlier data from
    // beyond the 8 KB window as well as within it.
    for (std::size_t i = 0; i < size; ++i) {
        std::size_t block = i / 3000;
        if (block % 3 == 0) {
            d[i] = static_cast<std::uint8_t>(rng() & 0x0F);
        } else if (block % 3 == 1) {
            d[i] = static_cast<std::uint8_t>(i % 251);
        } else {
            d[i] = d[i - (block % 2 ? 3000 : 6000)];
        }
    }
    return d;
}

TEST(LzhEncoder, RoundTripsThroughTheDecoder) {
    struct Case { const char* kind; std::size_t size; };
    const Case cases[] = {
        {"zeros", 1}, {"zeros", 2}, {"zeros", 3}, {"zeros", 300000},
        {"random", 1}, {"random", 5}, {"random", 70000},
        {"text", 10}, {"text", 8191}, {"text", 8192}, {"text", 8193}, {"text", 200000},
        {"mixed", 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.size));
        auto data = Sample(c.kind, c.size, static_cast<unsigned>(c.size));
        auto packed = EncodeLh5(data.data(), data.size());
        std::vector<std::uint8_t> back;
        ASSERT_EQ(DecodeAll(13, packed, data.size(), back), DecodeStatus::kOk);
        EXPECT_TRUE(back == data);
        if (std::string(c.kind) == "zeros" && c.size > 1000) {
            EXPECT_LT(packed.size(), c.size / 50);
        }
        if (std::string(c.kind) == "text" && c.size > 100000) {
            EXPECT_LT(packed.size(), c.size / 3);
        }
    }
}

TEST(LzhEncoder, ManyBlocksWithOneLiteralEach) {
    // A block whose codes are all one symbol sends the one-symbol tables.
    std::vector<std::uint8_t> data(40000, 'a');
    data[20000] = 'b';
    auto packed = EncodeLh5(data.data(), data.size());
    std::vector<std::uint8_t> back;
    ASSERT_EQ(DecodeAll(13, packed, data.size(), back), DecodeStatus::kOk);
    EXPECT_TRUE(back == data);
}

TEST(LzhDecoder, BrokenInputStopsInsideTheBuffer) {
    auto data = Sample("text", 50000, 7);
    auto packed = EncodeLh5(data.data(), data.size());
    std::vector<std::uint8_t> back;
    // Cut short anywhere: broken, never a read past the end (the sanitizers watch).
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{40},
                            packed.size() / 2, packed.size() - 1}) {
        std::vector<std::uint8_t> part(packed.begin(), packed.begin() + static_cast<long>(cut));
        EXPECT_EQ(DecodeAll(13, part, data.size(), back), DecodeStatus::kBrokenData) << cut;
    }
    // Flipped bytes: any outcome but a crash, and never more than asked for.
    std::mt19937 rng(3);
    for (int i = 0; i < 300; ++i) {
        auto bad = packed;
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
        DecodeAll(13, bad, data.size(), back);
        EXPECT_LE(back.size(), data.size());
    }
}

// Packs (bit count, value) pairs MSB first, as the LHA bit stream is read.
std::vector<std::uint8_t> Bits(std::initializer_list<std::pair<int, unsigned>> fields) {
    std::vector<std::uint8_t> out;
    int used = 0;
    for (auto [n, v] : fields) {
        for (int i = n - 1; i >= 0; --i) {
            if (used % 8 == 0) out.push_back(0);
            if ((v >> i) & 1) out.back() |= static_cast<std::uint8_t>(0x80 >> (used % 8));
            ++used;
        }
    }
    return out;
}

TEST(LzhDecoder, HostileTables) {
    std::vector<std::uint8_t> back;
    // A block of zero codes.
    EXPECT_EQ(DecodeAll(13, Bits({{16, 0}, {16, 0xFFFF}}), 10, back), DecodeStatus::kBrokenData);
    // A T table claiming 31 entries (there are 19).
    EXPECT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 31}, {16, 0}}), 10, back), DecodeStatus::kBrokenData);
    // A one-symbol C table naming symbol 511 (there are 510).
    EXPECT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 0}, {5, 0}, {9, 0}, {9, 511}, {8, 0}}), 10, back),
              DecodeStatus::kBrokenData);
    // A one-symbol P table naming position code 15 (-lh5- has 14).
    EXPECT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 0}, {5, 0}, {9, 0}, {9, 256}, {4, 0}, {4, 15}}), 10, back),
              DecodeStatus::kBrokenData);
    // A C length run of zeros longer than the table.
    EXPECT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 0}, {5, 2}, {9, 10}, {9, 511}, {8, 0}}), 10, back),
              DecodeStatus::kBrokenData);
    // A T length beyond 16 bits (seven, then ten more ones).
    EXPECT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 3}, {3, 7}, {13, 0x1FFE}, {16, 0}}), 10, back),
              DecodeStatus::kBrokenData);
    // Every table of one symbol: the codes take no bits; literal 'A'.
    auto one = Bits({{16, 1}, {5, 0}, {5, 0}, {9, 0}, {9, 'A'}, {4, 0}, {4, 0}});
    EXPECT_EQ(DecodeAll(13, one, 1, back), DecodeStatus::kOk);
    EXPECT_EQ(back, Bytes("A"));
    // The same block asked for more bytes than it holds: the next block runs out.
    EXPECT_EQ(DecodeAll(13, one, 2, back), DecodeStatus::kBrokenData);
    // A window the format does not have.
    EXPECT_EQ(DecodeAll(11, one, 1, back), DecodeStatus::kBrokenData);
}

TEST(LzhDecoder, MatchBeforeTheStartReadsBlanks) {
    // Symbol 256 is a match of length 3; position code 0 a distance of 1.
    std::vector<std::uint8_t> back;
    ASSERT_EQ(DecodeAll(13, Bits({{16, 1}, {5, 0}, {5, 0}, {9, 0}, {9, 256}, {4, 0}, {4, 0}}), 3, back),
              DecodeStatus::kOk);
    EXPECT_EQ(back, Bytes("   "));
}

}  // namespace
}  // namespace kestrum::lzh
