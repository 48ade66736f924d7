// The archiver libraries' command lines, the records they fill, the member
// names they give and the archive viewer's listing line: text and bytes only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// ---- names ----

// The extension after the last dot of the name part, without the dot, in
// upper case ("a.tar.gz" gives "GZ"); empty when none.
std::string UpperExtension(std::string_view path);

// The library that unpacks an archive, chosen by its extension.
enum class ArchiveKind { Lzh, Zip, TarGz, Tar, Ish };
ArchiveKind KindForExtract(std::string_view archive);
// The loader that lists an archive in the viewer: ZIP, tar, or else LHA.
enum class ListingKind { Lha, Zip, Tar };
ListingKind KindForListing(std::string_view archive);
// An entry the viewer opens as a nested level rather than launching it.
bool IsNestedArchiveName(std::string_view name);

// dir wrapped in double quotes unless it is empty or already starts with one.
std::string QuoteDir(std::string_view dir);
// A name for a library's command line: wrapped in double quotes when a
// blank would cut it in two (and it is not quoted already), else as it is.
std::string QuoteIfBlank(std::string_view name);

// ---- command lines ----

// An archive name with a blank is quoted in every command line.
std::string PackCommand(std::string_view archive, std::string_view files);
// dir must already end in "\". Without overwrite, files that are there
// stay (the library answers with a warning).
std::string UnpackCommand(std::string_view spec, std::string_view dir, bool overwrite = true);
std::string TarExtractCommand(bool gzip, std::string_view archive, std::string_view dir);
std::string IshExtractCommand(std::string_view archive, std::string_view dir);
// The destination of an ISH command line: the text after the first "/f="
// (or "/F=") up to the next "/", trimmed and unquoted; empty when there is
// none.
std::string IshDestination(std::string_view command);
// A response file naming each entry on a line of its own, quoted.
std::string ResponseFileText(const std::vector<std::string>& names);

// One member out of an archive into dir (no trailing "\"), as the viewer
// extracts it: the LHA and the tar command lines.
std::string LhaMemberCommand(std::string_view archive, std::string_view dir, std::string_view member);
std::string TarMemberCommand(std::string_view archive, std::string_view dir, std::string_view member);

// ---- member names ----

// A member name as a relative path inside a directory: "/" made "\", one
// leading "\" dropped. Nothing when it could leave the directory or is no
// plain path: a drive letter or ":", a leading separator left after that,
// a ".." component, an empty component, control characters, <>"|?*, a
// device name (CON, NUL, COM1 ...), a component ending in a dot or a blank,
// or more than 255 bytes.
std::optional<std::string> SafeMemberPath(std::string_view name);

// ---- records ----

// What the viewer keeps of a listed member.
struct MemberInfo {
    std::string name;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t position = 0;  // ZIP: passed to GetFile
    std::uint16_t ratio = 0;     // per mille of the original size
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// The listing record of the LHA and tar libraries (at least 558 bytes).
constexpr std::size_t kListingRecordSize = 560;
MemberInfo ParseListingRecord(const unsigned char* record, std::size_t size);

// The archive plug-in's entry records of 428 bytes, up to the one whose
// first byte is 0 or the end of the block.
constexpr std::size_t kPluginRecordSize = 428;
struct PluginEntry {
    std::uint32_t position = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::int64_t timestamp = 0;  // seconds since 1970, UTC
    std::string path;            // directory inside the archive
    std::string fileName;        // empty for a directory entry
};
std::vector<PluginEntry> ParsePluginEntries(const unsigned char* block, std::size_t size);

// Compressed size per mille of the original (0 for an empty member), in
// 64 bits so that big members do not wrap.
std::uint16_t RatioPerMille(std::uint64_t compressed, std::uint64_t original);

// A broken-down time.
struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
};
// Seconds since 1970-01-01 00:00 (any 64-bit value) to the calendar.
CivilTime CivilFromUnix(std::int64_t seconds);

// The viewer's line for a member.
std::string ListingLine(const MemberInfo& m);

}  // namespace kestrum
