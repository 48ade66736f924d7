// The ZIP archive plug-in's core.
#include "libs/zip/axzip.h"

#include <cstring>

#include "libs/base/arc_path.h"
#include "libs/base/arc_time.h"

namespace kestrum::zip {

bool LooksLikeZip(const std::uint8_t* h, std::size_t n) {
    if (n < 4 || h[0] != 'P' || h[1] != 'K') return false;
    if (h[2] == 3 && h[3] == 4) return true;  // a local header
    if (h[2] == 5 && h[3] == 6) return true;  // an empty archive
    return h[2] == 7 && h[3] == 8 && n >= 8 && h[4] == 'P' && h[5] == 'K' && h[6] == 3 && h[7] == 4;  // spanned mark
}

std::string DisplayName(const ZipEntry& e, const Utf8ToSjis& convert) {
    std::string sjis;
    const std::string* utf8 = nullptr;
    if (!e.unicodeName.empty()) {
        utf8 = &e.unicodeName;
    } else if (e.utf8) {
        utf8 = &e.rawName;
    } else if (!IsCp932(e.rawName) && IsUtf8(e.rawName)) {
        utf8 = &e.rawName;  // written as UTF-8 without saying so
    }
    if (utf8 && convert && convert(*utf8, sjis)) return arc::ToBackslashes(sjis);
    if (utf8 && utf8 != &e.rawName && !e.utf8) return arc::ToBackslashes(e.rawName);
    if (utf8) {
        // No Shift-JIS form: the characters that have none become "_".
        std::string out;
        for (std::size_t i = 0; i < utf8->size(); ++i) {
            unsigned char c = static_cast<unsigned char>((*utf8)[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if ((c & 0xC0) != 0x80) {
                out += '_';
            }
        }
        return arc::ToBackslashes(out);
    }
    return arc::ToBackslashes(e.rawName);
}

namespace {

std::string MethodName(const ZipEntry& e) {
    if (e.method == 0) return "Store";
    if (e.method == 8) return "Deflate";
    if (e.method == 99) return "AES";
    return "M" + std::to_string(e.method);
}

// s in a NUL-terminated field, cut on a character boundary.
void CopyField(char* dst, std::size_t cap, const std::string& s) {
    std::memset(dst, 0, cap);
    std::size_t n = 0;
    while (n < s.size() && n + arc::SjisCharLen(s, n) <= cap - 1) n += arc::SjisCharLen(s, n);
    std::memcpy(dst, s.data(), n);
}

// The checked directory and file parts of an entry; false when refused.
bool Split(const ZipEntry& e, const Utf8ToSjis& convert, std::string& dir, std::string& file) {
    arc::MemberPath mp = arc::CheckMemberPath(DisplayName(e, convert), false);
    if (!mp.ok) return false;
    if (e.IsDir()) {
        dir = mp.path.empty() ? "" : mp.path + "\\";
        file.clear();
    } else {
        std::size_t cut = arc::NameStart(mp.path);
        dir = mp.path.substr(0, cut);
        file = mp.path.substr(cut);
        if (file.empty()) return false;
    }
    return dir.size() < 200 && file.size() < 200;
}

}  // namespace

int BuildFileInfo(const std::uint8_t* data, std::size_t size, const Utf8ToSjis& convert,
                  std::vector<arc::SpiFileInfo>& out, std::uint64_t base) {
    ZipDirectory zd = ReadDirectory(data, size);
    if (!zd.ok) return kSpiUnknownFormat;
    for (const ZipEntry& e : zd.entries) {
        std::string dir, file;
        const std::uint64_t position = e.localOffset + base;
        if (position > 0xFFFFFFFFu || !Split(e, convert, dir, file)) {
            dir.clear();
            file = DisplayName(e, convert);
            if (file.empty()) file = "\\";
        }
        arc::SpiFileInfo fi;
        std::memset(&fi, 0, sizeof fi);
        std::string method = MethodName(e);
        std::memcpy(fi.method, method.data(), method.size() < 7 ? method.size() : 7);
        fi.position = static_cast<std::uint32_t>(position > 0xFFFFFFFFu ? 0xFFFFFFFFu : position);
        fi.compsize = static_cast<std::uint32_t>(e.compressedSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : e.compressedSize);
        fi.filesize = static_cast<std::uint32_t>(e.size > 0xFFFFFFFFu ? 0xFFFFFFFFu : e.size);
        std::int64_t t = e.unixTime ? e.unixTime : arc::DosToUnix(e.dosDateTime);
        fi.timestamp = static_cast<std::uint32_t>(t < 0 ? 0 : t > 0xFFFFFFFFLL ? 0xFFFFFFFFLL : t);
        CopyField(fi.path, sizeof fi.path, dir);
        CopyField(fi.filename, sizeof fi.filename, file);
        fi.crc = e.crc;
        out.push_back(fi);
    }
    arc::SpiFileInfo end;
    std::memset(&end, 0, sizeof end);
    out.push_back(end);
    return zd.damaged ? kSpiBroken : kSpiOk;
}

int FindEntry(const std::uint8_t* data, std::size_t size, std::uint32_t position, const Utf8ToSjis& convert,
              ZipEntry& entry, std::string& fileName) {
    ZipDirectory zd = ReadDirectory(data, size);
    if (!zd.ok) return kSpiUnknownFormat;
    for (const ZipEntry& e : zd.entries) {
        if (e.localOffset != position) continue;
        std::string dir;
        if (!Split(e, convert, dir, fileName) || e.IsDir()) return kSpiBroken;
        entry = e;
        return kSpiOk;
    }
    return kSpiBroken;
}

int UnpackEntry(const std::uint8_t* data, std::size_t size, const ZipEntry& e, const ZipSink& sink) {
    switch (ExtractEntry(data, size, e, sink)) {
        case ZipStatus::kOk: return kSpiOk;
        case ZipStatus::kUnsupported: return kSpiUnknownFormat;
        case ZipStatus::kSinkFailed: return kSpiWriteError;
        default: return kSpiBroken;
    }
}

}  // namespace kestrum::zip
