// The records the libraries hand to their callers, byte for byte: the
// listing record of the archiver-library interface (558 bytes, packed) and
// the archive plug-in's entry record (428 bytes). Both hold only fixed-width
// fields, so their layout is the same in every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrum::arc {

#pragma pack(push, 1)
struct IndividualInfo {
    std::uint32_t dwOriginalSize;
    std::uint32_t dwCompressedSize;
    std::uint32_t dwCRC;
    std::uint32_t uFlag;
    std::uint32_t uOSType;
    std::uint16_t wRatio;
    std::uint16_t wDate;
    std::uint16_t wTime;
    char szFileName[513];
    char dummy1[3];
    char szAttribute[8];
    char szMode[8];
};

struct SpiFileInfo {
    unsigned char method[8];
    std::uint32_t position;
    std::uint32_t compsize;
    std::uint32_t filesize;
    std::uint32_t timestamp;  // seconds since 1970, UTC
    char path[200];
    char filename[200];
    std::uint32_t crc;
};
#pragma pack(pop)

static_assert(sizeof(IndividualInfo) == 558);
static_assert(offsetof(IndividualInfo, dwCRC) == 8);
static_assert(offsetof(IndividualInfo, uOSType) == 16);
static_assert(offsetof(IndividualInfo, wRatio) == 20);
static_assert(offsetof(IndividualInfo, wDate) == 22);
static_assert(offsetof(IndividualInfo, wTime) == 24);
static_assert(offsetof(IndividualInfo, szFileName) == 26);
static_assert(offsetof(IndividualInfo, dummy1) == 539);
static_assert(offsetof(IndividualInfo, szAttribute) == 542);
static_assert(offsetof(IndividualInfo, szMode) == 550);

static_assert(sizeof(SpiFileInfo) == 428);
static_assert(offsetof(SpiFileInfo, position) == 8);
static_assert(offsetof(SpiFileInfo, compsize) == 12);
static_assert(offsetof(SpiFileInfo, filesize) == 16);
static_assert(offsetof(SpiFileInfo, timestamp) == 20);
static_assert(offsetof(SpiFileInfo, path) == 24);
static_assert(offsetof(SpiFileInfo, filename) == 224);
static_assert(offsetof(SpiFileInfo, crc) == 424);

// OS types of the listing record.
enum : std::uint32_t {
    kOsMsDos = 0,
    kOsUnix = 2,
    kOsWindowsNt = 18,
    kOsWindows95 = 19,
    kOsUnknown = 0xFFFFFFFF,
};

// One member as the listing functions report it.
struct ListEntry {
    std::string name;  // as stored, Shift-JIS
    std::uint64_t original = 0;
    std::uint64_t packed = 0;
    std::uint32_t crc = 0;
    std::uint32_t osType = kOsUnknown;
    std::uint32_t dosDateTime = 0;  // local time: date high word, time low word
    std::string attribute;          // up to 7 letters
    std::string mode;               // "-lh5-", "-lhd-", ...
};

// Per mille: 1000 x packed / original (0 for an empty member), capped.
std::uint16_t RatioPerMille(std::uint64_t packed, std::uint64_t original);

// Fills the record from the entry; sizes over 4 GiB are clamped, the name
// is cut at 512 bytes on a character boundary.
void FillIndividualInfo(const ListEntry& e, IndividualInfo* info);

// Attribute letters "ASHR" style from DOS bits, '-' for each bit unset.
std::string AttributeLetters(std::uint32_t attrib);

}  // namespace kestrum::arc
