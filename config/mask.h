// Filer masks: which files the listing shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

struct LocalDate {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
};

// Parses a mask specification into the mask list and its display text:
// name patterns, "[a,b],label" lists, "\+" to add to the masks in force,
// "\D TODAY" / "\A TODAY" for files written / accessed today.
// Entries: "0" + pattern (upper case), or "1"/"2" + a packed date (year high
// and low byte, month, day, hour; 255 matches any value).
void SetMask(std::string_view text, const LocalDate& today, std::vector<std::string>& masks, std::string& display);

// True when a date matches a packed date condition.
bool MatchPackedDate(std::string_view packed, const LocalDate& date);

// The items of a bracket list "[a, b],label" and its label (the whole text
// when no label follows); without "[" the whole text is the only item.
struct BracketList {
    std::vector<std::string> items;
    std::string label;
};
BracketList ParseBracketList(std::string_view text);

}  // namespace kestrum
