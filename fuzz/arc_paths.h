// Where a path inside a target folder ends up when the platform opens it:
// components split at single-byte separators, trailing dots and blanks
// dropped (as the platform drops them), "." staying and ".." going up. A
// half character (a lead byte without its trail) has no defined meaning,
// so the path is followed twice: with those bytes kept and with them
// dropped. Used by the archive targets for "no accepted path leaves its
// target".
#pragma once

#include <string>
#include <string_view>

#include "common/sjis.h"

namespace kestrum::fuzz {

inline bool IsTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Empty when the relative path stays inside; otherwise why not.
inline std::string LeavesTarget(std::string_view rel) {
    if (rel.empty()) return {};
    if (rel[0] == '\\' || rel[0] == '/') return "starts at a root";
    for (int dropHalves = 0; dropHalves < 2; ++dropHalves) {
        int depth = 0;
        std::string comp;
        auto close = [&]() -> std::string {
            while (!comp.empty() && (comp.back() == '.' || comp.back() == ' ')) {
                if (comp == "." || comp == "..") break;
                comp.pop_back();
            }
            if (comp == "..") {
                if (--depth < 0) return "goes above the target";
            } else if (!comp.empty() && comp != ".") {
                ++depth;
            }
            comp.clear();
            return {};
        };
        for (std::size_t i = 0; i < rel.size();) {
            const auto b = static_cast<unsigned char>(rel[i]);
            if (IsLeadByte(b)) {
                if (i + 1 < rel.size() && IsTrail(static_cast<unsigned char>(rel[i + 1]))) {
                    comp.append(rel.substr(i, 2));
                    i += 2;
                    continue;
                }
                if (!dropHalves) comp += rel[i];
                ++i;
                continue;
            }
            if (b == ':') return "holds \":\"";
            if (b == '\\' || b == '/') {
                if (std::string why = close(); !why.empty()) return why;
            } else {
                comp += rel[i];
            }
            ++i;
        }
        if (std::string why = close(); !why.empty()) return why;
    }
    return {};
}

}  // namespace kestrum::fuzz
