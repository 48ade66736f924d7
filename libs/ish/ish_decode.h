// Reading ish files out of a text: a text (a saved message log, a mail)
// may hold any number of ish files among other lines, in any variant.
//
// An ish file is a title line ("<<< name for OS ( use jis7 ish ) ..."),
// three copies of the header line, and blocks of data lines. A line's
// bytes are its sequence number, the data and a CRC. A block holds up to
// L-1 data lines (numbered 1..L-1), a vertical check line (numbered L: the
// negated column sums) and a diagonal check line (numbered L+2), where L
// is the number of bytes a line carries before its CRC. Lines missing or
// damaged in a block (up to two, the vertical check line counting as one)
// are rebuilt from the check lines. The file's data ends in its inverted
// CRC-CCITT, high byte first. A file too big for one text is split into
// volumes, each an ish file of one part with its own header; the header
// of every volume also carries the whole file's CRC-16 and CRC-32.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "libs/ish/ish_codec.h"

namespace kestrum::ish {

// OS byte values the header uses.
enum : std::uint8_t { kOsMsDos = 0x00, kOsUnix = 0x30 };

struct Header {
    Variant variant = Variant::kJis7;
    std::uint8_t volume = 0;        // 0: a file of one volume; else 1..volumes
    std::uint32_t size = 0;         // the whole file's size
    std::string shortName;          // "NAME.EXT" from the 8.3 fields, bytes as stored
    std::uint8_t os = 0;
    std::uint8_t flags = 0;         // which optional fields are set
    std::uint32_t dosTime = 0;      // date in the high word, local time
    bool hasZone = false;
    std::int32_t zone = 0;          // seconds west of UTC (JST: -32400)
    // Multi-volume sets only.
    std::uint16_t fileCrc16 = 0;
    std::uint32_t fileCrc32 = 0;
    std::uint32_t volumeSize = 0;   // the data of every volume but the last
    std::uint16_t volumeCrc16 = 0;
    std::vector<std::uint8_t> raw;  // the header line's bytes

    std::uint32_t Volumes() const;
    // The size of this volume's data (the file's size for one volume).
    std::uint32_t DataSize() const;
};

// Reads a header line (jis7 or jis8 form); false for any other line or a
// header whose fields do not agree.
bool ParseHeader(std::string_view line, Header& h);

struct Found {
    Header header;
    std::string titleName;    // the name the title line gives, when it agrees with the header's
    bool complete = false;    // every line there or rebuilt, and the CRC right
    std::vector<std::uint8_t> data;
    int repaired = 0;         // lines rebuilt from the check lines
    std::vector<std::string> problems;  // what is wrong, one line each (Shift-JIS)
};

// Every ish file in the text, in order. A damaged file is given with
// complete false and its problems; the data kept never exceeds what the
// text holds.
std::vector<Found> FindIsh(std::string_view text);

// Volumes of one multi-volume set joined.
struct Joined {
    const Found* first = nullptr;    // the header and names come from here
    bool complete = false;
    std::vector<std::uint8_t> data;
    std::vector<std::string> problems;
};

// Groups the volumes (from any number of texts, in any order) into sets
// by file and joins each: a set with a volume missing or damaged, or
// whose whole-file CRCs disagree, is given incomplete with its problems.
std::vector<Joined> JoinVolumes(const std::vector<const Found*>& volumes);

}  // namespace kestrum::ish
