// WildMatch: the wildcard rule of masks, completion, history search and
// renaming. A "*" ends the part before the extension (so A*B.TXT matches
// AXXC.TXT); this is relied upon and kept.
#include "common/wildmatch.h"

#include <string>

#include "common/sjis.h"

namespace kestrum {

namespace {

bool MatchUpper(const std::string& name, const std::string& pat) {
    std::size_t n = 0;
    std::size_t p = 0;
    while (true) {
        if (p >= pat.size()) return n >= name.size();
        const char pc = pat[p];
        if (pc == '*' && CharLen(pat, p) == 1) {
            const std::size_t pdot = FindChar(pat, '.');
            if (pdot != std::string::npos && pdot + 1 < pat.size()) {
                const std::size_t ndot = FindChar(name, '.');
                std::string nameRest;
                if (ndot != std::string::npos) nameRest = ndot + 1 == name.size() ? std::string(".") : name.substr(ndot + 1);
                const std::string patRest = pat.substr(pdot + 1);
                return MatchUpper(nameRest, patRest);
            }
            if (pdot != std::string::npos) {  // the pattern's only "." is its last character
                const std::size_t ndot = FindChar(name, '.');
                return ndot == std::string::npos || ndot == name.size() - 1;
            }
            return true;
        }
        if (n >= name.size()) return false;
        const std::size_t nlen = CharLen(name, n);
        const std::size_t plen = CharLen(pat, p);
        if (pc == '?' && plen == 1) {
            if (name[n] == '.' && nlen == 1) return false;
        } else if (nlen != plen || name.compare(n, nlen, pat, p, plen) != 0) {
            return false;
        }
        n += nlen;
        p += plen;
    }
}

}  // namespace

bool WildMatch(std::string_view name, std::string_view pattern) {
    if (name.empty() || pattern.empty()) return false;
    return MatchUpper(UpperAscii(name), UpperAscii(pattern));
}

}  // namespace kestrum
