// Time-stamp change over a list of files: the "yyyy/mm/dd hh:nn:ss" text,
// the packed file date, and the OK / ALL / Cancel stepping of the date
// dialog. The files are reached through DateStampFiles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

struct DateTimeParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const DateTimeParts&) const = default;
};

// "yyyy/mm/dd hh:nn:ss", 19 characters.
std::string FormatDateText(const DateTimeParts& t);

// Reads the text of the date field: year, month and day separated by "/",
// optionally followed by hours, minutes and seconds separated by ":".
// Blanks (the mask's fill) may stand around and inside the numbers' places.
// nullopt for anything else or a date or time that does not exist.
std::optional<DateTimeParts> ParseDateText(std::string_view text);

// The packed file date: date in the high word (years from 1980 in bits
// 9-15, month, day), time in the low word (hours, minutes, seconds / 2).
// Years before 1980 or after 2099 give 0.
std::uint32_t PackFileDate(const DateTimeParts& t);

// The files whose stamps are changed.
class DateStampFiles {
public:
    virtual ~DateStampFiles() = default;
    // The last-write time in local time; nullopt when it cannot be read.
    virtual std::optional<DateTimeParts> Read(const std::string& path) = 0;
    enum class WriteResult { Ok, OpenFailed, SetFailed };
    // Opens the file for exclusive read-write access and sets its
    // last-write time to the packed date.
    virtual WriteResult Write(const std::string& path, std::uint32_t packed) = 0;
};

// The conversion error shown for a date the parser rejects.
std::string DateConversionError(std::string_view text);

// Runs the date dialog over files (full paths), one question per file
// through the current prompter:
//  OK      sets the file to the "新" text and moves to the next file;
//  ALL     sets this file and every later one to the text, then ends;
//  Cancel  ends; files not reached keep their stamps.
// A text the parser rejects shows the conversion error and asks again for
// the same file. Failures to open or set a file are reported by name and
// the stepping goes on. An empty list shows the dialog once with OK and
// ALL disabled.
void RunDateChange(std::string_view caption, const std::vector<std::string>& files, DateStampFiles& io);

}  // namespace kestrum
