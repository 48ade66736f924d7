// Plain and gzip input for the tar reader; gzip output for the writer.
#include "libs/tar/byte_source.h"

#include <zlib.h>

#include <cstring>

namespace kestrum::tar {

bool ByteSource::ReadFull(std::uint8_t* out, std::size_t n) {
    while (n > 0) {
        std::size_t got = Read(out, n);
        if (got == 0) return false;
        out += got;
        n -= got;
    }
    return true;
}

bool ByteSource::Skip(std::uint64_t n) {
    std::uint8_t buf[16384];
    while (n > 0) {
        std::size_t want = n > sizeof buf ? sizeof buf : static_cast<std::size_t>(n);
        std::size_t got = Read(buf, want);
        if (got == 0) return false;
        n -= got;
    }
    return true;
}

Compression DetectCompression(const std::uint8_t* d, std::size_t n) {
    if (n >= 2 && d[0] == 0x1F && d[1] == 0x8B) return Compression::kGzip;
    if (n >= 2 && d[0] == 0x1F && d[1] == 0x9D) return Compression::kCompress;
    if (n >= 3 && d[0] == 'B' && d[1] == 'Z' && d[2] == 'h') return Compression::kBzip2;
    if (n >= 6 && std::memcmp(d, "\xFD" "7zXZ", 5) == 0) return Compression::kXz;
    return Compression::kNone;
}

namespace {

class Memory : public ByteSource {
public:
    Memory(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
    std::size_t Read(std::uint8_t* out, std::size_t n) override {
        std::size_t k = n < n_ - pos_ ? n : n_ - pos_;
        if (k) std::memcpy(out, d_ + pos_, k);
        pos_ += k;
        return k;
    }
    bool Broken() const override { return false; }

private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t pos_ = 0;
};

class Gzip : public ByteSource {
public:
    Gzip(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {
        std::memset(&z_, 0, sizeof z_);
        ok_ = inflateInit2(&z_, 16 + MAX_WBITS) == Z_OK;
        broken_ = !ok_;
        z_.next_in = const_cast<Bytef*>(d_);
        z_.avail_in = static_cast<uInt>(n_ > 0x40000000 ? 0x40000000 : n_);
        fed_ = z_.avail_in;
    }
    ~Gzip() override {
        if (ok_) inflateEnd(&z_);
    }
    std::size_t Read(std::uint8_t* out, std::size_t n) override {
        if (done_ || broken_) return 0;
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(n > 0x40000000 ? 0x40000000 : n);
        while (z_.avail_out > 0) {
            if (z_.avail_in == 0 && fed_ < n_) {
                std::size_t more = n_ - fed_ > 0x40000000 ? 0x40000000 : n_ - fed_;
                z_.next_in = const_cast<Bytef*>(d_ + fed_);
                z_.avail_in = static_cast<uInt>(more);
                fed_ += more;
            }
            int r = inflate(&z_, Z_NO_FLUSH);
            if (r == Z_STREAM_END) {
                // Another member may follow; anything else (zero padding) ends the data.
                std::size_t used = fed_ - z_.avail_in;
                if (n_ - used >= 2 && d_[used] == 0x1F && d_[used + 1] == 0x8B) {
                    inflateReset(&z_);
                    continue;
                }
                done_ = true;
                break;
            }
            if (r == Z_BUF_ERROR && z_.avail_in == 0 && fed_ >= n_) {
                broken_ = true;  // the data ends inside a member
                break;
            }
            if (r != Z_OK) {
                broken_ = true;
                break;
            }
        }
        return n - z_.avail_out;
    }
    bool Broken() const override { return broken_; }

private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t fed_ = 0;
    z_stream z_;
    bool ok_ = false;
    bool done_ = false;
    bool broken_ = false;
};

}  // namespace

std::unique_ptr<ByteSource> MemorySource(const std::uint8_t* data, std::size_t size) {
    return std::make_unique<Memory>(data, size);
}

std::unique_ptr<ByteSource> GzipSource(const std::uint8_t* data, std::size_t size) {
    return std::make_unique<Gzip>(data, size);
}

std::string GzipStoredName(const std::uint8_t* d, std::size_t n) {
    if (n < 10 || d[0] != 0x1F || d[1] != 0x8B) return "";
    std::uint8_t flags = d[3];
    std::size_t pos = 10;
    if (flags & 4) {  // FEXTRA
        if (pos + 2 > n) return "";
        pos += 2 + static_cast<std::size_t>(d[pos] | (d[pos + 1] << 8));
    }
    if (!(flags & 8) || pos >= n) return "";  // FNAME
    std::string name;
    while (pos < n && d[pos] != 0 && name.size() < 1024) name += static_cast<char>(d[pos++]);
    return pos < n ? name : "";
}

struct GzipWriter::Impl {
    std::vector<std::uint8_t>& out;
    z_stream z;
    bool ok;
    explicit Impl(std::vector<std::uint8_t>& o) : out(o) {
        std::memset(&z, 0, sizeof z);
        ok = deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Impl() {
        if (ok) deflateEnd(&z);
    }
    bool Run(const std::uint8_t* data, std::size_t n, int flush) {
        z.next_in = const_cast<Bytef*>(data);
        z.avail_in = static_cast<uInt>(n);
        std::uint8_t buf[65536];
        do {
            z.next_out = buf;
            z.avail_out = sizeof buf;
            int r = deflate(&z, flush);
            if (r == Z_STREAM_ERROR) return false;
            out.insert(out.end(), buf, buf + (sizeof buf - z.avail_out));
        } while (z.avail_out == 0 || (flush == Z_FINISH && z.avail_in > 0));
        return true;
    }
};

GzipWriter::GzipWriter(std::vector<std::uint8_t>& out) : impl_(std::make_unique<Impl>(out)) {}
GzipWriter::~GzipWriter() = default;

bool GzipWriter::Write(const std::uint8_t* data, std::size_t n) {
    while (n > 0) {
        std::size_t k = n > 0x10000000 ? 0x10000000 : n;
        if (!impl_->ok || !impl_->Run(data, k, Z_NO_FLUSH)) return false;
        data += k;
        n -= k;
    }
    return true;
}

bool GzipWriter::Finish() { return impl_->ok && impl_->Run(nullptr, 0, Z_FINISH); }

}  // namespace kestrum::tar
