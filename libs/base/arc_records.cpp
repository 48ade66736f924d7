// Filling the listing record.
#include "libs/base/arc_records.h"

#include <cstring>

#include "libs/base/arc_fs.h"
#include "libs/base/arc_path.h"

namespace kestrum::arc {

std::uint16_t RatioPerMille(std::uint64_t packed, std::uint64_t original) {
    if (original == 0) return 0;
    std::uint64_t r = packed * 1000 / original;
    if (packed > UINT64_MAX / 1000) r = packed / original * 1000;
    return static_cast<std::uint16_t>(r > 65535 ? 65535 : r);
}

static void CopyCut(char* dst, std::size_t cap, const std::string& src) {
    std::size_t n = 0;
    while (n < src.size()) {
        std::size_t len = SjisCharLen(src, n);
        if (n + len > cap - 1) break;
        n += len;
    }
    std::memcpy(dst, src.data(), n);
    dst[n] = '\0';
}

void FillIndividualInfo(const ListEntry& e, IndividualInfo* info) {
    if (!info) return;
    std::memset(info, 0, sizeof(*info));
    info->dwOriginalSize = static_cast<std::uint32_t>(e.original > 0xFFFFFFFFu ? 0xFFFFFFFFu : e.original);
    info->dwCompressedSize = static_cast<std::uint32_t>(e.packed > 0xFFFFFFFFu ? 0xFFFFFFFFu : e.packed);
    info->dwCRC = e.crc;
    info->uOSType = e.osType;
    info->wRatio = RatioPerMille(e.packed, e.original);
    info->wDate = static_cast<std::uint16_t>(e.dosDateTime >> 16);
    info->wTime = static_cast<std::uint16_t>(e.dosDateTime & 0xFFFF);
    CopyCut(info->szFileName, sizeof(info->szFileName), e.name);
    CopyCut(info->szAttribute, sizeof(info->szAttribute), e.attribute);
    CopyCut(info->szMode, sizeof(info->szMode), e.mode);
}

std::string AttributeLetters(std::uint32_t a) {
    std::string s = "----";
    if (a & kAttrArchive) s[0] = 'A';
    if (a & kAttrSystem) s[1] = 'S';
    if (a & kAttrHidden) s[2] = 'H';
    if (a & kAttrReadOnly) s[3] = 'R';
    return s;
}

}  // namespace kestrum::arc
