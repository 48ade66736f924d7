// Time stamps: DOS date/time words (local time) and Unix seconds (UTC).
// The Windows layer installs the platform's local-time conversion; the
// default treats DOS times as UTC, which keeps the native tests exact.
#pragma once

#include <cstdint>

namespace kestrum::arc {

using DosToUnixFn = std::int64_t (*)(std::uint32_t dosDateTime);
using UnixToDosFn = std::uint32_t (*)(std::int64_t unixTime);

// dosDateTime: date in the high word, time in the low word.
std::int64_t DosToUnix(std::uint32_t dosDateTime);
std::uint32_t UnixToDos(std::int64_t unixTime);
void SetTimeConversion(DosToUnixFn toUnix, UnixToDosFn toDos);

// The UTC forms, used by the default conversion.
std::int64_t DosToUnixUtc(std::uint32_t dosDateTime);
std::uint32_t UnixToDosUtc(std::int64_t unixTime);

}  // namespace kestrum::arc
