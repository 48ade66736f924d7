// The archiver libraries' command lines, records and member names.
#include "archive/archive_text.h"

#include <cstdio>

#include "common/sjis.h"

namespace kestrum {

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// A NUL-terminated text inside a field of at most max bytes.
std::string FieldText(const unsigned char* p, std::size_t max) {
    std::size_t n = 0;
    while (n < max && p[n]) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// dir quoted when a blank would cut it in two.
std::string DirArgument(std::string_view dir) { return QuoteIfBlank(dir); }

// The member name without one leading "/" or "\".
std::string_view WithoutLeadingSeparator(std::string_view member) {
    if (!member.empty() && (member[0] == '/' || member[0] == '\\')) member.remove_prefix(1);
    return member;
}

// A path component the platform makes as it is named: not a device (CON,
// NUL, COM1 ..., with any extension) and not ending in a dot or a blank
// (the platform drops those, so two names would meet).
bool IsPlainComponent(std::string_view part) {
    if (part.empty() || part == ".") return true;
    if (part.back() == '.' || part.back() == ' ') return false;
    const std::size_t dot = FindChar(part, '.');
    const std::string base = UpperAscii(part.substr(0, dot == std::string_view::npos ? part.size() : dot));
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) return false;
    }
    return !(base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
             base[3] >= '1' && base[3] <= '9');
}

}  // namespace

std::string UpperExtension(std::string_view path) {
    std::string ext = ExtractFileExt(path);
    if (!ext.empty()) ext.erase(0, 1);
    return UpperAscii(ext);
}

ArchiveKind KindForExtract(std::string_view archive) {
    const std::string ext = UpperExtension(archive);
    if (ext == "LZH") return ArchiveKind::Lzh;
    if (ext == "ZIP") return ArchiveKind::Zip;
    if (ext == "TGZ" || ext == "TAZ" || ext == "GZ" || ext == "GZIP") return ArchiveKind::TarGz;
    if (ext == "TAR") return ArchiveKind::Tar;
    return ArchiveKind::Ish;
}

ListingKind KindForListing(std::string_view archive) {
    const std::string ext = UpperExtension(archive);
    if (ext == "ZIP") return ListingKind::Zip;
    if (ext == "TGZ" || ext == "GZ" || ext == "TAR" || ext == "TAZ") return ListingKind::Tar;
    return ListingKind::Lha;
}

bool IsNestedArchiveName(std::string_view name) {
    const std::string ext = UpperExtension(name);
    return ext == "LZH" || ext == "ZIP" || ext == "TAR" || ext == "TGZ" || ext == "GZ";
}

std::string QuoteDir(std::string_view dir) {
    if (dir.empty() || dir[0] == '"') return std::string(dir);
    return Quoted(dir);
}

std::string QuoteIfBlank(std::string_view name) {
    return name.find(' ') != std::string_view::npos ? QuoteDir(name) : std::string(name);
}

std::string PackCommand(std::string_view archive, std::string_view files) {
    return "a -d1 -a1 " + QuoteIfBlank(archive) + " " + std::string(files);
}

std::string UnpackCommand(std::string_view spec, std::string_view dir, bool overwrite) {
    return std::string(overwrite ? "e -x1 -a1 -m1 " : "e -x1 -a1 ") + std::string(spec) + " " + QuoteDir(dir);
}

std::string TarExtractCommand(bool gzip, std::string_view archive, std::string_view dir) {
    return std::string(gzip ? "xzf " : "xf ") + QuoteIfBlank(archive) + " -o " + QuoteDir(dir);
}

std::string IshExtractCommand(std::string_view archive, std::string_view dir) {
    std::string cmd = QuoteIfBlank(archive);
    if (!dir.empty()) cmd += " /f=" + QuoteIfBlank(dir);
    return cmd;
}

std::string IshDestination(std::string_view command) {
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i + 3 <= command.size(); i = NextChar(command, i)) {
        if (command[i] == '/' && (command[i + 1] == 'f' || command[i + 1] == 'F') && command[i + 2] == '=') {
            at = i + 3;
            break;
        }
    }
    if (at == std::string_view::npos) return {};
    const std::size_t end = FindChar(command, '/', at);
    return Unquoted(command.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

std::string ResponseFileText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += Quoted(n) + "\r\n";
    return text;
}

std::string LhaMemberCommand(std::string_view archive, std::string_view dir, std::string_view member) {
    return "e -x1 -m1 -a2 -jf0 " + Quoted(archive) + " " + DirArgument(std::string(dir) + "\\") + " " +
           Quoted(WithoutLeadingSeparator(member));
}

std::string TarMemberCommand(std::string_view archive, std::string_view dir, std::string_view member) {
    return "xzf " + Quoted(archive) + " -o " + DirArgument(dir) + " " + Quoted(member);
}

std::optional<std::string> SafeMemberPath(std::string_view name) {
    std::string path = SlashesToBackslashes(name);
    if (!path.empty() && path[0] == '\\') path.erase(0, 1);
    if (path.empty() || path.size() > 255) return std::nullopt;
    std::size_t start = 0;
    for (std::size_t i = 0;; i = NextChar(path, i)) {
        if (i == path.size() || path[i] == '\\') {
            const std::string_view part = std::string_view(path).substr(start, i - start);
            // An empty part is a leading or doubled separator; a trailing
            // one marks a directory and is allowed.
            if (part.empty() && i != path.size()) return std::nullopt;
            if (part == ".." || !IsPlainComponent(part)) return std::nullopt;
            if (i == path.size()) break;
            start = i + 1;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == 0x7F || FindChar(":<>\"|?*", static_cast<char>(c)) != std::string::npos) {
            return std::nullopt;
        }
    }
    return path;
}

MemberInfo ParseListingRecord(const unsigned char* record, std::size_t size) {
    MemberInfo m;
    if (size < 26) return m;
    m.uncompressedSize = Le32(record);
    m.compressedSize = Le32(record + 4);
    m.ratio = Le16(record + 20);
    const std::uint16_t date = Le16(record + 22);
    const std::uint16_t time = Le16(record + 24);
    m.year = 1980 + (date >> 9);
    m.month = (date >> 5) & 0x0F;
    m.day = date & 0x1F;
    m.hour = time >> 11;
    m.minute = (time >> 5) & 0x3F;
    m.name = FieldText(record + 26, std::min<std::size_t>(513, size - 26));
    return m;
}

std::vector<PluginEntry> ParsePluginEntries(const unsigned char* block, std::size_t size) {
    std::vector<PluginEntry> out;
    for (std::size_t at = 0; at + kPluginRecordSize <= size; at += kPluginRecordSize) {
        const unsigned char* r = block + at;
        if (r[0] == 0) break;
        PluginEntry e;
        e.position = Le32(r + 8);
        e.compressedSize = Le32(r + 12);
        e.uncompressedSize = Le32(r + 16);
        e.timestamp = Le32(r + 20);
        e.path = FieldText(r + 24, 200);
        e.fileName = FieldText(r + 224, 200);
        out.push_back(std::move(e));
    }
    return out;
}

std::uint16_t RatioPerMille(std::uint64_t compressed, std::uint64_t original) {
    if (original == 0) return 0;
    const std::uint64_t r = compressed * 1000 / original;
    return static_cast<std::uint16_t>(r > 65535 ? 65535 : r);
}

CivilTime CivilFromUnix(std::int64_t seconds) {
    // Days since the epoch, rounded down, then the civil date of that day.
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    return t;
}

std::string ListingLine(const MemberInfo& m) {
    char buf[640];
    std::snprintf(buf, sizeof buf, "%-13s%10u%10u %3d.%1d％ %4d/%2d/%2d %2d:%2d", m.name.c_str(),
                  static_cast<unsigned>(m.compressedSize), static_cast<unsigned>(m.uncompressedSize), m.ratio / 10,
                  m.ratio % 10, m.year, m.month, m.day, m.hour, m.minute);
    return buf;
}

}  // namespace kestrum
