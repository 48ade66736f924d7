// The ZIP archive plug-in's core: the entry records of GetArchiveInfo and
// the lookup and unpacking of GetFile, free of the platform. Names marked
// UTF-8 (or UTF-8 without the mark where they are not valid code page 932)
// are converted by the caller's converter; others are taken as code page 932.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libs/base/arc_records.h"
#include "libs/zip/zip_reader.h"

namespace kestrum::zip {

// Plug-in result codes.
enum SpiResult : int {
    kSpiOk = 0,
    kSpiNotImplemented = -1,
    kSpiAborted = 1,
    kSpiUnknownFormat = 2,
    kSpiBroken = 3,
    kSpiNoMemory = 4,
    kSpiMemoryError = 5,
    kSpiReadError = 6,
    kSpiInternalError = 8,
    kSpiWriteError = 9,
    kSpiEndOfFile = 10,
};

// UTF-8 to Shift-JIS; false when a character has no Shift-JIS form.
using Utf8ToSjis = std::function<bool(const std::string& utf8, std::string& sjis)>;

// True when the head of a file (at least the first 4 bytes) starts a ZIP.
bool LooksLikeZip(const std::uint8_t* head, std::size_t size);

// The Shift-JIS name of an entry ("/" turned into "\").
std::string DisplayName(const ZipEntry& e, const Utf8ToSjis& convert);

// The records of the entries, ended by a zeroed record; positions count
// from `base` bytes before data (where the caller's reading started). An
// entry whose name is refused (it would leave the target, or it is no name
// the platform can make) is still listed, so that the host can say so: its
// whole name in the file-name field, separators and all, and no path;
// GetFile refuses it. kSpiUnknownFormat when the data is no ZIP;
// kSpiBroken, with the records that could be read, when the directory is
// damaged.
int BuildFileInfo(const std::uint8_t* data, std::size_t size, const Utf8ToSjis& convert,
                  std::vector<arc::SpiFileInfo>& out, std::uint64_t base = 0);

// The entry at `position` (its local header offset), with its checked
// file name (no directory part); kSpiUnknownFormat/kSpiBroken when none.
int FindEntry(const std::uint8_t* data, std::size_t size, std::uint32_t position, const Utf8ToSjis& convert,
              ZipEntry& entry, std::string& fileName);

// Unpacks the entry, mapping the result to a plug-in code (encrypted and
// unknown methods: kSpiUnknownFormat; damage or a CRC mismatch: kSpiBroken).
int UnpackEntry(const std::uint8_t* data, std::size_t size, const ZipEntry& e, const ZipSink& sink);

}  // namespace kestrum::zip
