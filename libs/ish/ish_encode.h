// Writing a file as ish text (one volume): the title line, three copies
// of the header, the blocks with their check lines, and a "--- name
// (n/N) ---" line every fiftieth line and at the end, as the converters
// of the format write them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "libs/ish/ish_codec.h"
#include "libs/ish/ish_decode.h"

namespace kestrum::ish {

struct EncodeOptions {
    Variant variant = Variant::kJis7;
    std::string name;              // the file's name (Shift-JIS); the header gets its 8.3 form
    std::uint8_t os = kOsMsDos;
    std::uint32_t dosTime = 0;     // local time, date in the high word
    bool hasZone = true;
    std::int32_t zone = 0;         // seconds west of UTC
    std::string lineEnd = "\r\n";
    int titleEvery = 50;           // 0: no "---" lines
};

// The 8.3 fields of the header for a name: the part before the first dot
// and the part after the last, blanks dropped, cut to 8 and 3 bytes
// without splitting a double-byte character ('_' where one did not fit),
// padded with blanks.
std::array<std::uint8_t, 11> ShortNameFields(const std::string& name);

// The lines the title announces for a file of this size.
std::uint64_t LineCount(Variant v, std::uint64_t size, int titleEvery);

std::string EncodeIsh(const std::vector<std::uint8_t>& data, const EncodeOptions& o);

}  // namespace kestrum::ish
