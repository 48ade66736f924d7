// Extraction of any LHA or tar archive into a folder of an in-memory file
// system: nothing is written outside the folder or through a link in it,
// and without the overwrite switch an existing file keeps its contents.
#include "fuzz/arc_paths.h"
#include "fuzz/fuzz_util.h"
#include "libs/lzh/unlha_command.h"
#include "libs/tar/tar_command.h"
#include "tests/libs/mem_fs.h"

using namespace kestrum;

namespace {

constexpr const char* kTarget = "C:\\OUT\\";
constexpr const char* kLink = "C:\\OUT\\11";  // no letters: the in-memory names keep their case
constexpr const char* kKept = "C:\\OUT\\KEEP.TXT";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t how = data[0];
    arc::test::MemFs fs;
    fs.AddDir("C:\\OUT");
    fs.AddLink(kLink);
    fs.AddFile(kKept, "old");
    fs.AddFile("C:\\ARC\\A.ARC", std::string(reinterpret_cast<const char*>(data + 1), size - 1));

    std::string out;
    bool overwrite = true;
    if (how & 1) {
        std::string line = how & 2 ? "x" : "e";
        if (how & 4) line += " -x1";
        if (how & 8) line += " -jf0";
        if (how & 16) line += " -a1";
        overwrite = (how & 32) != 0;
        if (overwrite) line += " -m1";
        lzh::RunUnlha(fs, line + " C:\\ARC\\A.ARC " + kTarget, out);
    } else {
        tar::RunTar(fs, std::string(how & 2 ? "xzf" : "xf") + " C:\\ARC\\A.ARC -o " + kTarget, out);
    }

    const std::string target(kTarget);
    const std::string link = std::string(kLink) + "\\";
    for (const std::string& w : fs.Written()) {
        FUZZ_CHECK(w.rfind(target, 0) == 0, fuzz::Printable(w) + "\n" + out);
        const std::string why = fuzz::LeavesTarget(w.substr(target.size()));
        FUZZ_CHECK(why.empty(), why + ": " + fuzz::Printable(w) + "\n" + out);
        FUZZ_CHECK(w.rfind(link, 0) != 0 && w != kLink, fuzz::Printable(w) + "\n" + out);
    }
    FUZZ_CHECK(fs.Get(kLink) && fs.Get(kLink)->link, "the link was replaced\n" + out);
    if (!overwrite) FUZZ_CHECK(fs.Content(kKept) == "old", "overwritten without -m1\n" + out);
    return 0;
}
