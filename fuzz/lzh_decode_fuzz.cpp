// The static-Huffman decoder of -lh4- to -lh7- over any packed bytes: it
// never reads outside them, never gives more than asked, and gives all of
// it when it says the member is whole.
#include "fuzz/fuzz_util.h"
#include "libs/lzh/lzh_codec.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static const int kBits[] = {12, 13, 15, 16, 0, 17};
    const int bits = kBits[data[0] % 6];
    const std::uint64_t original = (static_cast<std::uint64_t>(data[1]) << 8 | data[2]) * (data[3] % 16 + 1);
    std::vector<std::uint8_t> packed(data + 4, data + size);  // exactly as long as the member
    std::uint64_t got = 0;
    const lzh::DecodeStatus st = lzh::Decode(bits, packed.data(), packed.size(), original,
                                             [&](const std::uint8_t*, std::size_t n) {
                                                 got += n;
                                                 return true;
                                             });
    FUZZ_CHECK(got <= original, std::to_string(got) + " of " + std::to_string(original));
    FUZZ_CHECK(st != lzh::DecodeStatus::kOk || got == original, std::to_string(got) + " of " + std::to_string(original));
    FUZZ_CHECK(st != lzh::DecodeStatus::kSinkFailed, "the sink never refuses");

    // A sink that refuses stops the decoder.
    int calls = 0;
    const lzh::DecodeStatus stopped = lzh::Decode(bits, packed.data(), packed.size(), original,
                                                  [&](const std::uint8_t*, std::size_t) { return ++calls < 2; });
    FUZZ_CHECK(calls <= 2, std::to_string(calls));
    FUZZ_CHECK(calls < 2 || stopped == lzh::DecodeStatus::kSinkFailed, "not stopped");
    return 0;
}
