// The NUL-separated path list handed to the platform's file operation, to
// posted drops and to drag data: each path followed by a zero byte, the whole
// ended by one more zero byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class PathList {
public:
    PathList() = default;
    explicit PathList(const std::vector<std::string>& paths);

    // Empty paths are left out: one would end the list early.
    void Add(std::string_view path);
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // The double-NUL-terminated block (always at least two zero bytes).
    std::string Block() const;
    const char* Data() const;  // valid until the next Add

    // Splits a block back into paths; stops at the empty entry or at the
    // end of the buffer, whichever comes first.
    static std::vector<std::string> Parse(const char* block, std::size_t size);

private:
    std::string buf_;
    mutable std::string terminated_;
    std::size_t count_ = 0;
};

}  // namespace kestrum
