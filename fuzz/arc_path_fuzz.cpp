// The archive libraries' name checks over any stored name: an accepted
// name is a relative path that stays inside its target whichever way the
// platform reads it, and the wildcard and word splitters never fault.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/arc_paths.h"
#include "fuzz/fuzz_util.h"
#include "libs/base/arc_fs.h"
#include "libs/base/arc_path.h"

using namespace kestrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool stripRoot = in.ConsumeBool();
    const std::string pattern = in.ConsumeRandomLengthString(32);
    const std::string raw = in.ConsumeRemainingBytesAsString();

    const arc::MemberPath mp = arc::CheckMemberPath(raw, stripRoot);
    if (mp.ok) {
        const std::string why = fuzz::LeavesTarget(mp.path);
        FUZZ_CHECK(why.empty(), why + ": " + fuzz::Printable(raw) + " -> " + fuzz::Printable(mp.path));
        FUZZ_CHECK(arc::CheckMemberPath(mp.path, false).path == mp.path, fuzz::Printable(mp.path));
        FUZZ_CHECK(arc::JoinPath("C:\\OUT", mp.path).rfind("C:\\OUT", 0) == 0, fuzz::Printable(mp.path));
    } else {
        FUZZ_CHECK(!mp.reason.empty() && mp.path.empty(), fuzz::Printable(raw));
    }

    arc::MatchWild(pattern, raw);
    arc::SelectedByPatterns({pattern, "*.*", "dir\\"}, raw);
    arc::SplitArgs(raw);
    arc::SplitResponseFile(raw);
    return 0;
}
