// The ZIP central-directory reader over any bytes: every entry is found
// inside the data, unpacks whole or reports why not, and the plug-in's
// records lead GetFile only to files that are safe to write (a refused name
// is listed whole, with no path, for the host to name).
#include <cstring>

#include "fuzz/fuzz_util.h"
#include "libs/base/arc_path.h"
#include "libs/zip/axzip.h"
#include "libs/zip/zip_reader.h"

using namespace kestrum;

namespace {

// A stand-in for the platform's UTF-8 to Shift-JIS conversion: ASCII comes
// through, other characters become two bytes of a kanji, some fail.
bool Convert(const std::string& utf8, std::string& sjis) {
    sjis.clear();
    for (unsigned char c : utf8) {
        if (c < 0x80) {
            sjis += static_cast<char>(c);
        } else if ((c & 0xC0) != 0x80) {
            if (c == 0xF4) return false;
            sjis += "\x8A\xBF";
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zip::LooksLikeZip(data, size);
    const zip::ZipDirectory dir = zip::ReadDirectory(data, size);
    int extracted = 0;
    for (const zip::ZipEntry& e : dir.entries) {
        if (++extracted > 64) break;
        std::uint64_t got = 0;
        const zip::ZipStatus st = zip::ExtractEntry(data, size, e, [&](const std::uint8_t*, std::size_t n) {
            got += n;
            return got <= (std::uint64_t{1} << 24);  // a bomb stops here, as a full disk would
        });
        FUZZ_CHECK(st != zip::ZipStatus::kOk || got == e.size, fuzz::Printable(e.rawName));
        zip::DisplayName(e, Convert);
    }

    std::vector<arc::SpiFileInfo> info;
    const int built = zip::BuildFileInfo(data, size, Convert, info);
    if (built != zip::kSpiOk && built != zip::kSpiBroken) return 0;
    FUZZ_CHECK(!info.empty() && info.back().filename[0] == 0 && info.back().path[0] == 0, "no end record");
    for (std::size_t i = 0; i + 1 < info.size(); ++i) {
        const arc::SpiFileInfo& fi = info[i];
        FUZZ_CHECK(std::memchr(fi.path, 0, sizeof fi.path) && std::memchr(fi.filename, 0, sizeof fi.filename), "unended");
        const std::string name = std::string(fi.path) + fi.filename;
        const arc::MemberPath checked = arc::CheckMemberPath(name, false);
        FUZZ_CHECK(checked.ok || fi.path[0] == 0, fuzz::Printable(name));
        zip::ZipEntry entry;
        std::string fileName;
        if (fi.filename[0] != 0 && zip::FindEntry(data, size, fi.position, Convert, entry, fileName) == zip::kSpiOk) {
            FUZZ_CHECK(arc::CheckMemberPath(fileName, false).ok && arc::NameStart(fileName) == 0,
                       fuzz::Printable(fileName));
        }
    }
    return 0;
}
