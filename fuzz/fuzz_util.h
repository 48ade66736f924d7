// What the fuzz targets share: turning the input into text and lines, and
// a check that stops the run with a message when a property fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Bytes as C escapes, for the message of a failed check.
inline std::string Printable(std::string_view s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

[[noreturn]] inline void Fail(const char* file, int line, const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n%s\n", file, line, what, detail.c_str());
    std::abort();
}

}  // namespace kestrum::fuzz

// Stops the run (a finding) when cond is false; detail is any text.
#define FUZZ_CHECK(cond, detail)                                                 \
    do {                                                                         \
        if (!(cond)) ::kestrum::fuzz::Fail(__FILE__, __LINE__, #cond, (detail)); \
    } while (0)
