// LHA archive headers.
#include "libs/lzh/lzh_archive.h"

#include <cstring>

#include "libs/base/arc_path.h"
#include "libs/base/arc_records.h"
#include "libs/lzh/lzh_codec.h"

namespace kestrum::lzh {

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t U64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(U32(p)) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

bool LooksLikeMethod(const std::uint8_t* m) {
    return m[0] == '-' && m[1] == 'l' && (m[2] == 'h' || m[2] == 'z') && m[4] == '-';
}

// 0xFF (never part of a Shift-JIS character) separates directories in
// some headers; it becomes "\".
std::string FixSeparators(const std::uint8_t* p, std::size_t n) {
    std::string s(reinterpret_cast<const char*>(p), n);
    for (char& c : s) {
        if (static_cast<unsigned char>(c) == 0xFF) c = '\\';
    }
    return arc::ToBackslashes(s);
}

enum class Parse { kOk, kEnd, kBroken };

struct Ext {
    std::string fileName;
    bool hasFileName = false;
    std::string dirName;
    bool crcPresent = false;
    std::size_t crcOffset = 0;  // within the header
};

// Walks extension headers from `pos`; sizes are `width` bytes (2, or 4 at
// level 3). `limit` is where the extensions must end.
bool ReadExtensions(const std::uint8_t* data, std::size_t hdr, std::size_t pos, std::size_t limit,
                    std::uint32_t nextSize, int width, Member& m, Ext& ext, std::size_t& end) {
    int guard = 0;
    while (nextSize != 0) {
        if (++guard > 1024) return false;
        if (nextSize < static_cast<std::uint32_t>(1 + width) || pos > limit || limit - pos < nextSize) return false;
        const std::uint8_t* e = data + pos;
        const std::size_t thisSize = nextSize;
        std::size_t dataLen = thisSize - 1 - width;
        const std::uint8_t* d = e + 1;
        switch (e[0]) {
            case 0x00:
                if (dataLen >= 2) {
                    ext.crcPresent = true;
                    ext.crcOffset = pos + 1 - hdr;
                }
                break;
            case 0x01:
                ext.fileName = FixSeparators(d, dataLen);
                ext.hasFileName = true;
                break;
            case 0x02:
                ext.dirName = FixSeparators(d, dataLen);
                break;
            case 0x40:
                if (dataLen >= 2) m.attrib = U16(d);
                break;
            case 0x41:
                if (dataLen >= 16) {
                    std::uint64_t ft = U64(d + 8);
                    if (ft > 116444736000000000ULL) {
                        m.mtime = static_cast<std::int64_t>((ft - 116444736000000000ULL) / 10000000ULL);
                        m.timeIsDos = false;
                    }
                }
                break;
            case 0x42:
                if (dataLen >= 16) {
                    m.packed = U64(d);
                    m.original = U64(d + 8);
                }
                break;
            case 0x54:
                if (dataLen >= 4 && m.level < 2) {
                    m.mtime = U32(d);
                    m.timeIsDos = false;
                }
                break;
            default:
                break;
        }
        nextSize = width == 2 ? U16(e + thisSize - 2) : U32(e + thisSize - 4);
        pos += thisSize;
    }
    end = pos;
    return true;
}

Parse ParseHeader(const std::uint8_t* data, std::size_t size, std::size_t off, Member& m, std::string& problem) {
    if (off >= size || data[off] == 0) return Parse::kEnd;
    const std::uint8_t* h = data + off;
    std::size_t avail = size - off;
    if (avail < 22) {
        problem = "ヘッダーが途中で切れています";
        return Parse::kBroken;
    }
    m = Member{};
    m.headerOffset = off;
    m.level = h[20];
    std::memcpy(m.method, h + 2, 5);
    if (!LooksLikeMethod(h + 2)) {
        problem = "ヘッダーが壊れています";
        return Parse::kBroken;
    }
    Ext ext;
    std::string baseName;
    std::size_t dataStart = 0;
    if (m.level == 0 || m.level == 1) {
        std::size_t total = static_cast<std::size_t>(h[0]) + 2;
        if (total > avail || total < 24) {
            problem = "ヘッダーの長さが不正です";
            return Parse::kBroken;
        }
        unsigned sum = 0;
        for (std::size_t i = 2; i < total; ++i) sum += h[i];
        if ((sum & 0xFF) != h[1]) {
            problem = "ヘッダーのチェックサムが合いません";
            return Parse::kBroken;
        }
        m.packed = U32(h + 7);
        m.original = U32(h + 11);
        m.dosTime = U32(h + 15);
        m.timeIsDos = true;
        m.attrib = h[19];
        std::size_t nameLen = h[21];
        if (22 + nameLen > total) {
            problem = "ヘッダーの長さが不正です";
            return Parse::kBroken;
        }
        baseName = FixSeparators(h + 22, nameLen);
        if (22 + nameLen + 2 <= total) {
            m.crc = U16(h + 22 + nameLen);
            m.hasCrc = true;
        }
        if (m.level == 0) {
            dataStart = off + total;
        } else {
            if (22 + nameLen + 5 > total) {
                problem = "ヘッダーの長さが不正です";
                return Parse::kBroken;
            }
            m.osId = h[24 + nameLen];
            m.attrib = 0x20;
            std::uint32_t next = U16(h + total - 2);
            std::size_t end = 0;
            // Level-1 extensions come after the base header and count in the packed size.
            std::uint64_t packedAll = m.packed;
            if (!ReadExtensions(data, off, off + total, size, next, 2, m, ext, end)) {
                problem = "拡張ヘッダーが壊れています";
                return Parse::kBroken;
            }
            std::uint64_t extLen = end - (off + total);
            if (m.packed == packedAll) {
                if (extLen > m.packed) {
                    problem = "拡張ヘッダーの長さが不正です";
                    return Parse::kBroken;
                }
                m.packed -= extLen;
            }
            dataStart = end;
        }
    } else if (m.level == 2 || m.level == 3) {
        int width = m.level == 2 ? 2 : 4;
        std::size_t total;
        std::uint32_t next;
        std::size_t extStart;
        if (m.level == 2) {
            total = U16(h);
            if (avail < 26) {
                problem = "ヘッダーが途中で切れています";
                return Parse::kBroken;
            }
            next = U16(h + 24);
            extStart = 26;
        } else {
            if (U16(h) != 4 || avail < 32) {
                problem = "ヘッダーが壊れています";
                return Parse::kBroken;
            }
            total = U32(h + 24);
            next = U32(h + 28);
            extStart = 32;
        }
        if (total < extStart || total > avail) {
            problem = "ヘッダーの長さが不正です";
            return Parse::kBroken;
        }
        m.packed = U32(h + 7);
        m.original = U32(h + 11);
        m.mtime = static_cast<std::int64_t>(U32(h + 15));
        m.crc = U16(h + 21);
        m.hasCrc = true;
        m.osId = h[23];
        std::size_t end = 0;
        if (!ReadExtensions(data, off, off + extStart, off + total, next, width, m, ext, end)) {
            problem = "拡張ヘッダーが壊れています";
            return Parse::kBroken;
        }
        if (ext.crcPresent) {
            std::vector<std::uint8_t> copy(h, h + total);
            std::uint16_t stored = U16(copy.data() + ext.crcOffset);
            copy[ext.crcOffset] = copy[ext.crcOffset + 1] = 0;
            if (Crc16(0, copy.data(), copy.size()) != stored) {
                problem = "ヘッダーの CRC が合いません";
                return Parse::kBroken;
            }
        }
        dataStart = off + total;
    } else {
        problem = "対応していないヘッダーレベルです";
        return Parse::kBroken;
    }
    std::string name = ext.hasFileName ? ext.fileName : baseName;
    std::string dir = ext.dirName;
    if (!dir.empty() && !arc::EndsWithSeparator(dir)) dir += '\\';
    m.name = dir + name;
    m.isDir = std::memcmp(m.method, "-lhd-", 5) == 0;
    if (m.name.find('|') != std::string::npos) m.isLink = true;
    if (m.isDir && !m.isLink && !m.name.empty() && !arc::EndsWithSeparator(m.name)) m.name += '\\';
    m.dataOffset = dataStart;
    m.headerSize = dataStart - off;
    if (dataStart > size || size - dataStart < m.packed) m.truncated = true;
    return Parse::kOk;
}

}  // namespace

Scan ScanArchive(const std::uint8_t* data, std::size_t size) {
    Scan scan;
    std::size_t off = 0;
    Member m;
    std::string problem;
    // A self-extracting program carries the archive after its code.
    if (ParseHeader(data, size, 0, m, problem) != Parse::kOk) {
        std::size_t limit = size < 262144 ? size : 262144;
        off = size;
        for (std::size_t i = 0; i + 22 <= limit; ++i) {
            if (data[i + 2] != '-' || data[i + 3] != 'l' || data[i + 6] != '-') continue;
            std::string ignored;
            if (ParseHeader(data, size, i, m, ignored) == Parse::kOk) {
                off = i;
                break;
            }
        }
        if (off == size) {
            scan.problem = problem.empty() ? "LHA の書庫ではありません" : problem;
            return scan;
        }
    }
    scan.foundHeader = true;
    for (int guard = 0; guard < 1000000; ++guard) {
        Parse r = ParseHeader(data, size, off, m, problem);
        if (r == Parse::kEnd) {
            scan.endOffset = off;
            return scan;
        }
        if (r == Parse::kBroken) {
            scan.damaged = true;
            scan.problem = problem;
            scan.endOffset = off;
            return scan;
        }
        scan.members.push_back(m);
        if (m.truncated) {
            scan.damaged = true;
            scan.problem = "書庫が途中で切れています";
            scan.endOffset = size;
            return scan;
        }
        off = m.dataOffset + static_cast<std::size_t>(m.packed);
    }
    scan.damaged = true;
    scan.problem = "メンバーが多すぎます";
    return scan;
}

std::vector<std::uint8_t> BuildLevel2Header(const Member& m) {
    std::vector<std::uint8_t> h(26, 0);
    auto put16 = [](std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
        v[at] = static_cast<std::uint8_t>(x);
        v[at + 1] = static_cast<std::uint8_t>(x >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t x) {
        put16(h, at, x & 0xFFFF);
        put16(h, at + 2, x >> 16);
    };
    std::memcpy(h.data() + 2, m.method, 5);
    put32(7, static_cast<std::uint32_t>(m.packed));
    put32(11, static_cast<std::uint32_t>(m.original));
    put32(15, static_cast<std::uint32_t>(m.mtime));
    h[19] = 0x20;
    h[20] = 2;
    put16(h, 21, m.crc);
    h[23] = m.osId;
    // Extensions: header CRC, file name, directory name, attribute.
    std::string dir, base = m.name;
    std::string path = m.name;
    if (m.isDir) {
        while (!path.empty() && arc::EndsWithSeparator(path)) path.pop_back();
        dir = path;
        base.clear();
    } else {
        std::size_t cut = arc::NameStart(path);
        dir = path.substr(0, cut);
        base = path.substr(cut);
    }
    // Directory names are sent with 0xFF separators and end in one.
    std::string dirField;
    for (std::size_t i = 0; i < dir.size();) {
        std::size_t n = arc::SjisCharLen(dir, i);
        if (n == 1 && (dir[i] == '\\' || dir[i] == '/')) {
            dirField += static_cast<char>(0xFF);
        } else {
            dirField.append(dir, i, n);
        }
        i += n;
    }
    if (!dirField.empty() && static_cast<unsigned char>(dirField.back()) != 0xFF) dirField += static_cast<char>(0xFF);
    struct E { std::uint8_t type; std::string data; };
    std::vector<E> exts;
    exts.push_back({0x00, std::string(2, '\0')});
    if (!m.isDir) exts.push_back({0x01, base});
    if (!dirField.empty()) exts.push_back({0x02, dirField});
    exts.push_back({0x40, std::string{static_cast<char>(m.attrib & 0xFF), static_cast<char>((m.attrib >> 8) & 0xFF)}});
    put16(h, 24, static_cast<std::uint32_t>(exts[0].data.size() + 3));
    std::size_t crcAt = 0;
    for (std::size_t i = 0; i < exts.size(); ++i) {
        h.push_back(exts[i].type);
        if (exts[i].type == 0x00) crcAt = h.size();
        h.insert(h.end(), exts[i].data.begin(), exts[i].data.end());
        std::uint32_t next = i + 1 < exts.size() ? static_cast<std::uint32_t>(exts[i + 1].data.size() + 3) : 0;
        h.push_back(static_cast<std::uint8_t>(next));
        h.push_back(static_cast<std::uint8_t>(next >> 8));
    }
    // A header whose size has a zero low byte could be read as the end mark.
    if ((h.size() & 0xFF) == 0) h.push_back(0);
    put16(h, 0, static_cast<std::uint32_t>(h.size()));
    std::uint16_t crc = Crc16(0, h.data(), h.size());
    put16(h, crcAt, crc);
    return h;
}

std::uint32_t ListingOsType(std::uint8_t osId) {
    switch (osId) {
        case 'M': return arc::kOsMsDos;
        case 'U': return arc::kOsUnix;
        case 'W': return arc::kOsWindowsNt;
        case 'w': return arc::kOsWindows95;
        default: return arc::kOsUnknown;
    }
}

}  // namespace kestrum::lzh
