// LHA headers over any bytes: every member the scan reports lies inside the
// data, and what its data holds decodes without reading past it.
#include "fuzz/fuzz_util.h"
#include "libs/lzh/lzh_archive.h"
#include "libs/lzh/lzh_codec.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lzh::Scan scan = lzh::ScanArchive(data, size);
    FUZZ_CHECK(scan.endOffset <= size, "end " + std::to_string(scan.endOffset));
    for (const lzh::Member& m : scan.members) {
        const std::string where = m.name + " at " + std::to_string(m.headerOffset);
        FUZZ_CHECK(m.headerOffset + m.headerSize <= size && m.dataOffset <= size, where);
        FUZZ_CHECK(m.dataOffset >= m.headerOffset + m.headerSize, where);
        FUZZ_CHECK(m.truncated || m.packed <= size - m.dataOffset, where);
        FUZZ_CHECK(m.method[5] == 0, where);
        const std::size_t packed = m.truncated ? size - m.dataOffset : static_cast<std::size_t>(m.packed);
        const int bits = lzh::DictionaryBits(m.method);
        // Small members only: the decoder's own bound is the member's size.
        if (bits == 0 || m.original > (1u << 20)) continue;
        std::uint64_t got = 0;
        const lzh::DecodeStatus st = lzh::Decode(bits, data + m.dataOffset, packed, m.original,
                                                 [&](const std::uint8_t*, std::size_t n) {
                                                     got += n;
                                                     return true;
                                                 });
        FUZZ_CHECK(got <= m.original, where);
        FUZZ_CHECK(st != lzh::DecodeStatus::kOk || got == m.original, where);
    }
    std::vector<std::uint8_t> header = lzh::BuildLevel2Header(scan.members.empty() ? lzh::Member{} : scan.members[0]);
    FUZZ_CHECK(!header.empty(), "no header");
    return 0;
}
