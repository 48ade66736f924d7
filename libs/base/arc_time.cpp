// DOS and Unix time stamps.
#include "libs/base/arc_time.h"

namespace kestrum::arc {

namespace {
DosToUnixFn gToUnix = DosToUnixUtc;
UnixToDosFn gToDos = UnixToDosUtc;

// Days from 1970-01-01 to y-m-d (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}
}  // namespace

std::int64_t DosToUnix(std::uint32_t dos) { return gToUnix(dos); }
std::uint32_t UnixToDos(std::int64_t t) { return gToDos(t); }

void SetTimeConversion(DosToUnixFn toUnix, UnixToDosFn toDos) {
    gToUnix = toUnix ? toUnix : DosToUnixUtc;
    gToDos = toDos ? toDos : UnixToDosUtc;
}

std::int64_t DosToUnixUtc(std::uint32_t dos) {
    unsigned date = dos >> 16, time = dos & 0xFFFF;
    unsigned year = 1980 + (date >> 9), month = (date >> 5) & 15, day = date & 31;
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    if (day < 1) day = 1;
    unsigned hour = time >> 11, minute = (time >> 5) & 63, second = (time & 31) * 2;
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::uint32_t UnixToDosUtc(std::int64_t t) {
    if (t < 315532800) t = 315532800;  // 1980-01-01, the first DOS date
    std::int64_t days = t / 86400, secs = t % 86400;
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    if (y > 2107) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    std::uint32_t date = static_cast<std::uint32_t>(((y - 1980) << 9) | (m << 5) | d);
    std::uint32_t time = static_cast<std::uint32_t>(((secs / 3600) << 11) | (((secs / 60) % 60) << 5) |
                                                    ((secs % 60) / 2));
    return (date << 16) | time;
}

}  // namespace kestrum::arc
