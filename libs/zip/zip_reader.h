// ZIP archives: the central directory (ZIP64 included), the local headers
// and the data of stored and deflated entries, with every offset and
// length checked against the bytes that exist.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "libs/base/arc_path.h"

namespace kestrum::zip {

struct ZipEntry {
    std::string rawName;      // the bytes as stored
    std::string unicodeName;  // UTF-8 from a matching Unicode Path extra field, else empty
    bool utf8 = false;        // flag bit 11
    std::uint16_t madeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localOffset = 0;
    std::uint32_t dosDateTime = 0;  // date high word, time low word
    std::int64_t unixTime = 0;      // from the extended-time field; 0 when absent
    bool Encrypted() const { return (flags & 0x41) != 0 || method == 99; }
    bool IsDir() const { return !rawName.empty() && (rawName.back() == '/' || rawName.back() == '\\'); }
};

struct ZipDirectory {
    bool ok = false;
    std::string problem;
    std::vector<ZipEntry> entries;
};

ZipDirectory ReadDirectory(const std::uint8_t* data, std::size_t size);

enum class ZipStatus { kOk, kUnsupported, kBroken, kCrc, kSinkFailed };

using ZipSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Unpacks one entry (stored or deflated) and checks its CRC-32.
ZipStatus ExtractEntry(const std::uint8_t* data, std::size_t size, const ZipEntry& e, const ZipSink& sink);

using arc::IsCp932;
using arc::IsUtf8;

}  // namespace kestrum::zip
