// ZIP archives: the central directory (ZIP64 included), the local headers
// and the data of stored and deflated entries, with every offset and
// length checked against the bytes that exist.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "libs/base/arc_names.h"

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
    std::int64_t unixTime = 0;      // from the extended-time field when it is after 1970; else 0
    bool Encrypted() const { return (flags & 0x41) != 0 || method == 99; }
    bool IsDir() const { return !rawName.empty() && (rawName.back() == '/' || rawName.back() == '\\'); }
};

struct ZipDirectory {
    bool ok = false;       // the directory was found
    bool damaged = false;  // and some of its records could not be read
    std::string problem;
    std::uint64_t prefix = 0;  // bytes before the archive (a stub or header)
    std::vector<ZipEntry> entries;
};

// The central directory. The offsets it holds count from the archive's
// start; where bytes come before the archive (a self-extracting stub, a
// 128-byte header) the directory is found after them and every entry's
// localOffset counts from data. The records read before a damaged one are
// kept, with damaged set.
ZipDirectory ReadDirectory(const std::uint8_t* data, std::size_t size);

enum class ZipStatus { kOk, kUnsupported, kBroken, kCrc, kSinkFailed };

using ZipSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Unpacks one entry (stored or deflated) and checks its CRC-32.
ZipStatus ExtractEntry(const std::uint8_t* data, std::size_t size, const ZipEntry& e, const ZipSink& sink);

// The name checks are those of the other libraries.
using arc::IsCp932;
using arc::IsUtf8;

}  // namespace kestrum::zip
