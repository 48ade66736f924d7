// Sequential input for the tar reader: plain bytes, or gzip data (one or
// several members) inflated on the way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrum::tar {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to n bytes; 0 at the end (or after an error: see Broken()).
    virtual std::size_t Read(std::uint8_t* out, std::size_t n) = 0;
    // True when the data stopped early or was corrupt.
    virtual bool Broken() const = 0;
    // Reads exactly n bytes; false when fewer were left.
    bool ReadFull(std::uint8_t* out, std::size_t n);
    // Skips n bytes; false when fewer were left.
    bool Skip(std::uint64_t n);
};

enum class Compression { kNone, kGzip, kCompress, kBzip2, kXz };

// Recognises the compression from the first bytes.
Compression DetectCompression(const std::uint8_t* data, std::size_t size);

// A source over memory the caller keeps alive.
std::unique_ptr<ByteSource> MemorySource(const std::uint8_t* data, std::size_t size);
// Inflates gzip data; members follow one another until the data ends.
std::unique_ptr<ByteSource> GzipSource(const std::uint8_t* data, std::size_t size);

// The original name stored in the first gzip member's header ("" when none).
std::string GzipStoredName(const std::uint8_t* data, std::size_t size);

// Gzip output at the default level, written through `put`.
class GzipWriter {
public:
    explicit GzipWriter(std::vector<std::uint8_t>& out);
    ~GzipWriter();
    bool Write(const std::uint8_t* data, std::size_t n);
    bool Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kestrum::tar
