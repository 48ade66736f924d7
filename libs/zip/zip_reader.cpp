// Reading ZIP archives.
#include "libs/zip/zip_reader.h"

#include <zlib.h>

#include <cstring>

namespace kestrum::zip {

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t U64(const std::uint8_t* p) { return U32(p) | (static_cast<std::uint64_t>(U32(p + 4)) << 32); }

bool Fits(std::uint64_t off, std::uint64_t len, std::size_t size) { return off <= size && len <= size - off; }

void ReadExtra(const std::uint8_t* p, std::size_t n, ZipEntry& e, bool needSize, bool needCsize, bool needOffset) {
    std::size_t pos = 0;
    while (pos + 4 <= n) {
        std::uint16_t id = U16(p + pos), len = U16(p + pos + 2);
        const std::uint8_t* d = p + pos + 4;
        if (pos + 4 + len > n) break;
        if (id == 0x0001) {
            std::size_t k = 0;
            if (needSize && k + 8 <= len) { e.size = U64(d + k); k += 8; }
            if (needCsize && k + 8 <= len) { e.compressedSize = U64(d + k); k += 8; }
            if (needOffset && k + 8 <= len) { e.localOffset = U64(d + k); k += 8; }
        } else if (id == 0x5455 && len >= 5 && (d[0] & 1)) {
            // Signed seconds: a time before 1970 (or one past 2038 that
            // wrapped) leaves the DOS fields to tell.
            const std::int32_t t = static_cast<std::int32_t>(U32(d + 1));
            if (t > 0) e.unixTime = t;
        } else if (id == 0x7075 && len >= 5 && d[0] == 1) {
            std::uint32_t crc = static_cast<std::uint32_t>(
                crc32(0, reinterpret_cast<const Bytef*>(e.rawName.data()), static_cast<uInt>(e.rawName.size())));
            if (crc == U32(d + 1)) e.unicodeName.assign(reinterpret_cast<const char*>(d + 5), len - 5);
        }
        pos += 4 + len;
    }
}

}  // namespace

ZipDirectory ReadDirectory(const std::uint8_t* d, std::size_t n) {
    ZipDirectory dir;
    if (n < 22) {
        dir.problem = "ZIP 書庫ではありません";
        return dir;
    }
    // The end record is in the last 64 KB + 22 bytes (its comment may fill them).
    std::size_t eocd = SIZE_MAX;
    std::size_t stop = n > 65557 ? n - 65557 : 0;
    for (std::size_t i = n - 22 + 1; i-- > stop;) {
        if (U32(d + i) == 0x06054b50 && i + 22 + U16(d + i + 20) <= n) {
            eocd = i;
            break;
        }
    }
    if (eocd == SIZE_MAX) {
        dir.problem = "ZIP 書庫の終わりの記録がありません";
        return dir;
    }
    std::uint64_t count = U16(d + eocd + 10);
    std::uint64_t cdSize = U32(d + eocd + 12);
    std::uint64_t cdOffset = U32(d + eocd + 16);
    std::size_t z64At = SIZE_MAX;
    if ((count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF) && eocd >= 20 &&
        U32(d + eocd - 20) == 0x07064b50) {
        std::uint64_t z64 = U64(d + eocd - 20 + 8);
        if (!Fits(z64, 56, n) || U32(d + z64) != 0x06064b50) {
            dir.problem = "ZIP64 の終わりの記録が壊れています";
            return dir;
        }
        z64At = static_cast<std::size_t>(z64);
        count = U64(d + z64 + 32);
        cdSize = U64(d + z64 + 40);
        cdOffset = U64(d + z64 + 48);
    }
    // The directory ends where the end record (or the ZIP64 one) starts;
    // when it says it ends earlier, the archive starts that much later.
    const std::size_t dirEnd = z64At != SIZE_MAX ? z64At : eocd;
    if (cdOffset + cdSize < dirEnd && count > 0 &&
        (!Fits(cdOffset, 4, n) || U32(d + cdOffset) != 0x02014b50)) {
        const std::uint64_t prefix = dirEnd - (cdOffset + cdSize);
        if (Fits(cdOffset + prefix, 4, n) && U32(d + cdOffset + prefix) == 0x02014b50) {
            dir.prefix = prefix;
            cdOffset += prefix;
        }
    }
    if (!Fits(cdOffset, cdSize, n)) {
        dir.problem = "中央ディレクトリが書庫の外を指しています";
        return dir;
    }
    std::size_t pos = static_cast<std::size_t>(cdOffset), end = static_cast<std::size_t>(cdOffset + cdSize);
    while (pos + 46 <= end && U32(d + pos) == 0x02014b50) {
        const std::uint8_t* c = d + pos;
        ZipEntry e;
        e.madeBy = U16(c + 4);
        e.flags = U16(c + 8);
        e.method = U16(c + 10);
        e.dosDateTime = (static_cast<std::uint32_t>(U16(c + 14)) << 16) | U16(c + 12);
        e.crc = U32(c + 16);
        e.compressedSize = U32(c + 20);
        e.size = U32(c + 24);
        std::size_t nameLen = U16(c + 28), extraLen = U16(c + 30), commentLen = U16(c + 32);
        e.localOffset = U32(c + 42);
        if (pos + 46 + nameLen + extraLen + commentLen > end) {
            dir.problem = "中央ディレクトリの記録が壊れています";
            dir.damaged = true;
            break;
        }
        e.rawName.assign(reinterpret_cast<const char*>(c + 46), nameLen);
        e.utf8 = (e.flags & 0x800) != 0;
        ReadExtra(c + 46 + nameLen, extraLen, e, e.size == 0xFFFFFFFF, e.compressedSize == 0xFFFFFFFF,
                  e.localOffset == 0xFFFFFFFF);
        e.localOffset += dir.prefix;
        if (e.flags & 0x2000) {
            dir.problem = "中央ディレクトリが暗号化されています";
            return dir;
        }
        dir.entries.push_back(e);
        pos += 46 + nameLen + extraLen + commentLen;
        if (dir.entries.size() > 10000000) break;
    }
    if (dir.entries.size() < count && count != 0xFFFF) {
        // What was read is still usable; the rest is said.
        if (dir.problem.empty()) dir.problem = "中央ディレクトリの記録の数が合いません";
        dir.damaged = true;
    }
    dir.ok = true;
    return dir;
}

ZipStatus ExtractEntry(const std::uint8_t* d, std::size_t n, const ZipEntry& e, const ZipSink& sink) {
    if (e.Encrypted() || (e.method != 0 && e.method != 8)) return ZipStatus::kUnsupported;
    if (!Fits(e.localOffset, 30, n) || U32(d + e.localOffset) != 0x04034b50) return ZipStatus::kBroken;
    const std::uint8_t* l = d + e.localOffset;
    std::uint64_t dataOff = e.localOffset + 30 + U16(l + 26) + U16(l + 28);
    if (!Fits(dataOff, e.compressedSize, n)) return ZipStatus::kBroken;
    const std::uint8_t* in = d + dataOff;
    std::uint32_t crc = 0;
    std::uint64_t produced = 0;
    auto put = [&](const std::uint8_t* p, std::size_t k) {
        crc = static_cast<std::uint32_t>(crc32(crc, p, static_cast<uInt>(k)));
        produced += k;
        return sink(p, k);
    };
    if (e.method == 0) {
        if (e.compressedSize != e.size) return ZipStatus::kBroken;
        std::uint64_t left = e.size;
        while (left > 0) {
            std::size_t k = left > 0x1000000 ? 0x1000000 : static_cast<std::size_t>(left);
            if (!put(in, k)) return ZipStatus::kSinkFailed;
            in += k;
            left -= k;
        }
    } else {
        z_stream z;
        std::memset(&z, 0, sizeof z);
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return ZipStatus::kBroken;
        std::uint64_t left = e.compressedSize;
        std::uint8_t buf[65536];
        int r = Z_OK;
        ZipStatus status = ZipStatus::kOk;
        while (r != Z_STREAM_END) {
            if (z.avail_in == 0 && left > 0) {
                std::size_t k = left > 0x1000000 ? 0x1000000 : static_cast<std::size_t>(left);
                z.next_in = const_cast<Bytef*>(in);
                z.avail_in = static_cast<uInt>(k);
                in += k;
                left -= k;
            }
            z.next_out = buf;
            z.avail_out = sizeof buf;
            r = inflate(&z, Z_NO_FLUSH);
            if (r != Z_OK && r != Z_STREAM_END) {
                status = ZipStatus::kBroken;
                break;
            }
            std::size_t got = sizeof buf - z.avail_out;
            if (produced + got > e.size) {
                status = ZipStatus::kBroken;
                break;
            }
            if (got && !put(buf, got)) {
                status = ZipStatus::kSinkFailed;
                break;
            }
            if (r == Z_OK && got == 0 && z.avail_in == 0 && left == 0) {
                status = ZipStatus::kBroken;
                break;
            }
        }
        inflateEnd(&z);
        if (status != ZipStatus::kOk) return status;
    }
    if (produced != e.size) return ZipStatus::kBroken;
    return crc == e.crc ? ZipStatus::kOk : ZipStatus::kCrc;
}

}  // namespace kestrum::zip
