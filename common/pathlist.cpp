// Building and reading NUL-separated path lists.
#include "common/pathlist.h"

#include <cstring>

namespace kestrum {

PathList::PathList(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) Add(p);
}

void PathList::Add(std::string_view path) {
    if (path.empty()) return;
    // A path that holds a zero byte would split into two; keep what precedes it.
    const std::size_t z = path.find('\0');
    if (z == 0) return;
    buf_.append(path.substr(0, z));
    buf_ += '\0';
    ++count_;
}

std::string PathList::Block() const {
    std::string b = buf_;
    b += '\0';
    if (count_ == 0) b += '\0';
    return b;
}

const char* PathList::Data() const {
    terminated_ = Block();
    return terminated_.data();
}

std::vector<std::string> PathList::Parse(const char* block, std::size_t size) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (block && i < size && block[i] != '\0') {
        std::size_t e = i;
        while (e < size && block[e] != '\0') ++e;
        out.emplace_back(block + i, e - i);
        i = e + 1;
    }
    return out;
}

}  // namespace kestrum
