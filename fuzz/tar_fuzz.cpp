// The tar and gzip readers over any bytes (plain, or gzip with any
// members): every entry's data is given whole or reported short, and the
// listing reads the same file without fault.
#include "fuzz/fuzz_util.h"
#include "libs/tar/byte_source.h"
#include "libs/tar/tar_command.h"
#include "libs/tar/tar_format.h"
#include "tests/libs/mem_fs.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tar::Compression c = tar::DetectCompression(data, size);
    std::unique_ptr<tar::ByteSource> src =
        c == tar::Compression::kGzip ? tar::GzipSource(data, size) : tar::MemorySource(data, size);
    if (c == tar::Compression::kGzip) tar::GzipStoredName(data, size);

    tar::TarReader reader(*src);
    tar::Entry e;
    for (int n = 0; n < 4096; ++n) {
        const tar::Next next = reader.Read(e);
        if (next != tar::Next::kEntry) break;
        if (n % 2 == 0 || !e.IsFile()) {
            if (!reader.SkipData(e)) break;
            continue;
        }
        std::uint64_t got = 0;
        const bool whole = reader.ReadData(e, [&](const std::uint8_t*, std::size_t k) {
            got += k;
            return got <= (std::uint64_t{1} << 24);  // a bomb stops here, as a full disk would
        });
        FUZZ_CHECK(got <= e.size, e.name);
        FUZZ_CHECK(!whole || got == e.size, e.name);
        if (!whole) break;
    }

    // Plain gzip data that holds no tar is read as one stream.
    std::unique_ptr<tar::ByteSource> raw = tar::GzipSource(data, size);
    std::uint8_t buf[4096];
    std::size_t left = std::size_t{1} << 24;
    for (std::size_t k; left > 0 && (k = raw->Read(buf, sizeof buf)) > 0;) left -= std::min(left, k);

    arc::test::MemFs fs;
    fs.AddFile("C:\\A\\X.TGZ", std::string(reinterpret_cast<const char*>(data), size));
    std::vector<arc::ListEntry> entries;
    tar::ListTar(fs, "C:\\A\\X.TGZ", entries);
    return 0;
}
