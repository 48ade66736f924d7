// LHA archive headers: reading levels 0 to 3 with every length checked
// against the bytes that exist, and writing level-2 headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrum::lzh {

struct Member {
    char method[6] = {};  // "-lh5-" and a NUL
    int level = 0;
    std::uint64_t packed = 0;
    std::uint64_t original = 0;
    std::uint16_t crc = 0;
    bool hasCrc = false;
    std::string name;  // Shift-JIS path as stored, "\" separators; directories end in "\"
    bool isDir = false;
    bool isLink = false;  // a Unix symbolic link ("name|target")
    std::uint32_t attrib = 0x20;
    std::int64_t mtime = 0;  // UTC seconds (level 2, 3 or a time extension)
    std::uint32_t dosTime = 0;
    bool timeIsDos = false;  // levels 0 and 1 keep a local DOS time
    std::uint8_t osId = 'M';
    std::size_t headerOffset = 0;
    std::size_t dataOffset = 0;
    std::size_t headerSize = 0;  // the whole header, extensions included
    bool truncated = false;      // the packed data runs past the end of the file
};

struct Scan {
    std::vector<Member> members;
    bool foundHeader = false;  // at least one header was recognised
    bool damaged = false;      // reading stopped at a broken header or the data ran out
    std::string problem;       // what was wrong, for the output text
    std::size_t endOffset = 0;  // where the end mark is (or where reading stopped)
};

// Reads every member header. A file that does not start with a header (a
// self-extracting program) is searched for the first valid one in its
// first 256 KB.
Scan ScanArchive(const std::uint8_t* data, std::size_t size);

// The level-2 header for a member (method, sizes, crc, name, attrib, mtime
// are taken from m).
std::vector<std::uint8_t> BuildLevel2Header(const Member& m);

// OS type of the listing record for the header's OS id byte.
std::uint32_t ListingOsType(std::uint8_t osId);

}  // namespace kestrum::lzh
