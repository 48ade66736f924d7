// Mask parsing and date conditions.
#include "config/mask.h"

#include "common/sjis.h"
#include "common/split.h"

namespace kestrum {

BracketList ParseBracketList(std::string_view text) {
    BracketList out;
    out.label = std::string(text);
    const std::size_t open = FindChar(text, '[');
    if (open == std::string_view::npos) {
        out.items.push_back(std::string(text));
        return out;
    }
    const std::size_t close = FindChar(text, ']', open + 1);
    const std::string_view inner =
        text.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    for (std::size_t start = 0;;) {
        const std::size_t comma = FindChar(inner, ',', start);
        out.items.push_back(Trim(inner.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                     : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (close != std::string_view::npos) {
        const std::string after = TrimLeft(text.substr(close + 1));
        if (!after.empty() && after[0] == ',') out.label = Trim(after.substr(1));
    }
    return out;
}

namespace {
// Position of the marker "\+", found character by character (the trail byte
// of 表 or ソ is "\"); npos when there is none.
std::size_t FindAddMarker(std::string_view s) {
    for (std::size_t p = FindChar(s, '\\'); p != std::string_view::npos; p = FindChar(s, '\\', p + 1)) {
        if (p + 1 < s.size() && s[p + 1] == '+') return p;
    }
    return std::string_view::npos;
}

std::string PackedToday(char kind, const LocalDate& d) {
    std::string p(1, kind);
    p += static_cast<char>((d.year >> 8) & 0xFF);
    p += static_cast<char>(d.year & 0xFF);
    p += static_cast<char>(d.month);
    p += static_cast<char>(d.day);
    p += static_cast<char>(255);
    return p;
}
}  // namespace

void SetMask(std::string_view text, const LocalDate& today, std::vector<std::string>& masks, std::string& display) {
    const bool add = FindAddMarker(text) != std::string_view::npos;
    if (!add) masks.clear();
    const BracketList list = ParseBracketList(text);
    display = list.label;
    for (const std::string& raw : list.items) {
        std::string item = UpperAscii(Trim(raw));
        if (add) {
            // "\+" only says "add"; it is no pattern of its own.
            const std::size_t p = FindAddMarker(item);
            if (p != std::string::npos) item = Trim(item.erase(p, 2));
        }
        if (item.empty()) continue;
        if (item.rfind("\\D", 0) == 0 || item.rfind("\\A", 0) == 0) {
            if (Trim(item.substr(2)) == "TODAY") masks.push_back(PackedToday(item[1] == 'D' ? '1' : '2', today));
            continue;
        }
        masks.push_back("0" + item);
    }
}

bool MatchPackedDate(std::string_view packed, const LocalDate& date) {
    auto component = [&](std::size_t i) -> int {
        return i < packed.size() ? static_cast<unsigned char>(packed[i]) : 255;
    };
    const int yearHi = component(0);
    const int yearLo = component(1);
    if (yearHi != 255 || yearLo != 255) {
        if (((yearHi << 8) | yearLo) != date.year) return false;
    }
    if (component(2) != 255 && component(2) != date.month) return false;
    if (component(3) != 255 && component(3) != date.day) return false;
    if (component(4) != 255 && component(4) != date.hour) return false;
    return true;
}

}  // namespace kestrum
