// Reading and writing tar headers.
#include "libs/tar/tar_format.h"

#include <cstring>

namespace kestrum::tar {

namespace {

constexpr std::uint64_t kMaxMetaSize = 1u << 20;  // long names and pax records

// An octal field (blanks and NULs end it) or a GNU base-256 number.
bool Number(const std::uint8_t* f, std::size_t n, std::uint64_t& v) {
    v = 0;
    if (f[0] & 0x80) {
        if (f[0] != 0x80) return false;  // negative numbers are not sizes or times here
        for (std::size_t i = 1; i < n; ++i) {
            if (v >> 56) return false;
            v = (v << 8) | f[i];
        }
        return true;
    }
    std::size_t i = 0;
    while (i < n && f[i] == ' ') ++i;
    bool any = false;
    for (; i < n && f[i] >= '0' && f[i] <= '7'; ++i) {
        if (v >> 60) return false;
        v = (v << 3) | static_cast<std::uint64_t>(f[i] - '0');
        any = true;
    }
    for (; i < n; ++i) {
        if (f[i] != ' ' && f[i] != 0) return false;
    }
    (void)any;  // an empty field is 0
    return true;
}

std::string Field(const std::uint8_t* f, std::size_t n) {
    std::size_t len = 0;
    while (len < n && f[len]) ++len;
    return std::string(reinterpret_cast<const char*>(f), len);
}

bool AllZero(const std::uint8_t* b) {
    for (int i = 0; i < 512; ++i) {
        if (b[i]) return false;
    }
    return true;
}

void PutOctal(std::uint8_t* f, std::size_t n, std::uint64_t v) {
    // n - 1 digits and a NUL; larger values in base 256.
    if (n - 1 < 22 && (v >> (3 * (n - 1))) != 0) {
        std::memset(f, 0, n);
        f[0] = 0x80;
        for (std::size_t i = n - 1; i > 0 && v; --i, v >>= 8) f[i] = static_cast<std::uint8_t>(v);
        return;
    }
    f[n - 1] = 0;
    for (std::size_t i = n - 1; i > 0; --i, v >>= 3) f[i - 1] = static_cast<std::uint8_t>('0' + (v & 7));
}

// Applies pax records ("len key=value\n") to the entry that follows.
bool ApplyPax(const std::string& text, Entry& pending, bool& havePath, bool& haveSize) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t sp = text.find(' ', pos);
        if (sp == std::string::npos) return false;
        std::uint64_t len = 0;
        for (std::size_t i = pos; i < sp; ++i) {
            if (text[i] < '0' || text[i] > '9' || len > kMaxMetaSize) return false;
            len = len * 10 + static_cast<std::uint64_t>(text[i] - '0');
        }
        if (len <= sp - pos + 1 || pos + len > text.size() || text[pos + len - 1] != '\n') return false;
        std::string rec = text.substr(sp + 1, pos + len - 1 - (sp + 1));
        std::size_t eq = rec.find('=');
        if (eq != std::string::npos) {
            std::string key = rec.substr(0, eq), value = rec.substr(eq + 1);
            if (key == "path") {
                pending.name = value;
                havePath = true;
            } else if (key == "linkpath") {
                pending.linkName = value;
            } else if (key == "size") {
                std::uint64_t v = 0;
                for (char c : value) {
                    if (c < '0' || c > '9' || v > (UINT64_MAX / 10)) return false;
                    v = v * 10 + static_cast<std::uint64_t>(c - '0');
                }
                pending.size = v;
                haveSize = true;
            } else if (key == "mtime") {
                pending.mtime = std::atoll(value.c_str());
            }
        }
        pos += len;
    }
    return true;
}

}  // namespace

bool IsTarHeader(const std::uint8_t* b) {
    std::uint64_t stored = 0;
    if (!Number(b + 148, 8, stored)) return false;
    unsigned sum = 0;
    int ssum = 0;
    for (int i = 0; i < 512; ++i) {
        std::uint8_t c = (i >= 148 && i < 156) ? ' ' : b[i];
        sum += c;
        ssum += static_cast<signed char>(c);
    }
    return stored == sum || static_cast<std::int64_t>(stored) == ssum;
}

bool TarReader::SkipPadding(std::uint64_t size) {
    std::uint64_t pad = (512 - size % 512) % 512;
    if (pad && !in_.Skip(pad)) {
        problem_ = "データが途中で切れています";
        return false;
    }
    return true;
}

bool TarReader::SkipData(const Entry& e) {
    if (!in_.Skip(e.size)) {
        problem_ = "データが途中で切れています";
        return false;
    }
    return SkipPadding(e.size);
}

Next TarReader::Read(Entry& e) {
    Entry meta;  // what long-name and pax blocks say about the next entry
    bool longName = false, longLink = false, paxPath = false, paxSize = false;
    for (int guard = 0; guard < 64; ++guard) {
        std::uint8_t b[512];
        if (!in_.ReadFull(b, 512)) {
            if (in_.Broken()) {
                problem_ = "圧縮データが壊れています";
                return Next::kBroken;
            }
            return Next::kEnd;  // no end blocks: accepted, as other readers do
        }
        if (AllZero(b)) return Next::kEnd;
        if (!IsTarHeader(b)) {
            problem_ = "ヘッダーが壊れています";
            return Next::kBroken;
        }
        Entry h;
        h.type = static_cast<char>(b[156]);
        std::uint64_t size = 0, mtime = 0, mode = 0;
        if (!Number(b + 124, 12, size) || !Number(b + 136, 12, mtime) || !Number(b + 100, 8, mode)) {
            problem_ = "ヘッダーの数値が不正です";
            return Next::kBroken;
        }
        h.size = size;
        h.mtime = static_cast<std::int64_t>(mtime);
        h.mode = static_cast<std::uint32_t>(mode & 07777);
        h.name = Field(b, 100);
        h.linkName = Field(b + 157, 100);
        if (std::memcmp(b + 257, "ustar", 5) == 0 && b[262] == 0) {
            std::string prefix = Field(b + 345, 155);
            if (!prefix.empty()) h.name = prefix + "/" + h.name;
        }
        if (h.type == 'L' || h.type == 'K' || h.type == 'x' || h.type == 'g') {
            if (h.size > kMaxMetaSize) {
                problem_ = "拡張ヘッダーが大きすぎます";
                return Next::kBroken;
            }
            std::string text(static_cast<std::size_t>(h.size), '\0');
            if (!in_.ReadFull(reinterpret_cast<std::uint8_t*>(text.data()), text.size()) || !SkipPadding(h.size)) {
                problem_ = "データが途中で切れています";
                return Next::kBroken;
            }
            if (h.type == 'L') {
                meta.name = text.substr(0, text.find('\0'));
                longName = true;
            } else if (h.type == 'K') {
                meta.linkName = text.substr(0, text.find('\0'));
                longLink = true;
            } else if (h.type == 'x') {
                if (!ApplyPax(text, meta, paxPath, paxSize)) {
                    problem_ = "拡張ヘッダーが壊れています";
                    return Next::kBroken;
                }
            }
            continue;  // global pax headers change nothing we use
        }
        e = h;
        if (longName || paxPath) e.name = meta.name;
        e.paxName = paxPath;
        if (longLink || !meta.linkName.empty()) e.linkName = meta.linkName;
        if (paxSize) e.size = meta.size;
        if (meta.mtime) e.mtime = meta.mtime;
        // Links, directories, devices and pipes have no data blocks.
        if (e.IsDir() || e.IsLink() || e.type == '3' || e.type == '4' || e.type == '6') e.size = 0;
        return Next::kEntry;
    }
    problem_ = "拡張ヘッダーが続きすぎます";
    return Next::kBroken;
}

std::vector<std::uint8_t> BuildHeader(const Entry& e) {
    std::vector<std::uint8_t> out;
    auto block = [](const Entry& h, const std::string& name) {
        std::vector<std::uint8_t> b(512, 0);
        std::memcpy(b.data(), name.data(), name.size() < 100 ? name.size() : 100);
        PutOctal(&b[100], 8, h.mode);
        PutOctal(&b[108], 8, 0);
        PutOctal(&b[116], 8, 0);
        PutOctal(&b[124], 12, h.size);
        PutOctal(&b[136], 12, static_cast<std::uint64_t>(h.mtime < 0 ? 0 : h.mtime));
        b[156] = static_cast<std::uint8_t>(h.type);
        std::memcpy(&b[257], "ustar  ", 8);  // GNU form: long names come in "L" blocks
        std::memset(&b[148], ' ', 8);
        unsigned sum = 0;
        for (auto c : b) sum += c;
        PutOctal(&b[148], 7, sum);
        b[155] = ' ';
        return b;
    };
    if (e.name.size() > 100) {
        Entry l;
        l.type = 'L';
        l.size = e.name.size() + 1;
        l.mode = 0;
        auto hb = block(l, "././@LongLink");
        out.insert(out.end(), hb.begin(), hb.end());
        std::vector<std::uint8_t> data(e.name.begin(), e.name.end());
        data.push_back(0);
        data.resize((data.size() + 511) / 512 * 512, 0);
        out.insert(out.end(), data.begin(), data.end());
    }
    auto hb = block(e, e.name);
    out.insert(out.end(), hb.begin(), hb.end());
    return out;
}

}  // namespace kestrum::tar
