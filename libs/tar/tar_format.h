// The tar format: reading ustar, GNU (long names "L"/"K", base-256
// numbers) and pax ("path=", "linkpath=", "size=", "mtime=") headers, with
// every length checked; writing ustar headers with GNU long names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/tar/byte_source.h"

namespace kestrum::tar {

struct Entry {
    std::string name;  // as stored ("/" separators)
    char type = '0';   // '0' file, '5' directory, '1' hard link, '2' symbolic link, ...
    std::uint64_t size = 0;
    std::int64_t mtime = 0;
    std::uint32_t mode = 0644;
    std::string linkName;
    bool paxName = false;    // the name came from a pax "path=" record (UTF-8)
    bool noSjisName = false; // the name has no Shift-JIS form (shown escaped)
    bool IsFile() const { return type == '0' || type == '\0' || type == '7'; }
    bool IsDir() const { return type == '5'; }
    bool IsLink() const { return type == '1' || type == '2'; }
};

enum class Next { kEntry, kEnd, kBroken };

class TarReader {
public:
    explicit TarReader(ByteSource& in) : in_(in) {}
    // The next entry's header; its data must then be read or skipped.
    Next Read(Entry& e);
    // The current entry's data, in pieces; false when the data ran out or
    // the sink refused.
    template <typename Sink>
    bool ReadData(const Entry& e, Sink sink);
    bool SkipData(const Entry& e);
    const std::string& Problem() const { return problem_; }

private:
    bool SkipPadding(std::uint64_t size);
    ByteSource& in_;
    std::string problem_;
};

// True when the 512 bytes are a tar header with a correct checksum.
bool IsTarHeader(const std::uint8_t* block);

// Header blocks for one entry (a GNU long-name block first when the name
// does not fit in 100 bytes).
std::vector<std::uint8_t> BuildHeader(const Entry& e);

template <typename Sink>
bool TarReader::ReadData(const Entry& e, Sink sink) {
    std::uint8_t buf[65536];
    std::uint64_t left = e.size;
    while (left > 0) {
        std::size_t want = left > sizeof buf ? sizeof buf : static_cast<std::size_t>(left);
        if (!in_.ReadFull(buf, want)) {
            problem_ = "データが途中で切れています";
            return false;
        }
        if (!sink(buf, want)) return false;
        left -= want;
    }
    return SkipPadding(e.size);
}

}  // namespace kestrum::tar
