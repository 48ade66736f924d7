// CommitFile: the order of the steps, the same on every platform.
#include "config/file_commit.h"

#include <algorithm>

namespace kestrum {

bool CommitFile(CommitSteps& steps, const std::string& temp, const std::string& target, std::string_view bytes) {
    if (!steps.Create(temp)) {
        // A half-made temporary may be there all the same.
        steps.Remove(temp);
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const std::size_t n = steps.Write(bytes.substr(done, std::min<std::size_t>(bytes.size() - done, 1u << 20)));
        if (n == 0) {
            ok = false;
        } else {
            done += n;
        }
    }
    ok = ok && steps.Flush();
    ok = steps.Close() && ok;
    if (ok && steps.Replace(temp, target)) return true;
    steps.Remove(temp);
    return false;
}

}  // namespace kestrum
