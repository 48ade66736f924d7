// TDateChange: the filer's time-stamp change over a list of files, with the
// platform's file times behind it.
#pragma once

#include <string>
#include <vector>

#include "fileops/date_change.h"

namespace kestrum {

// Local last-write times through the platform.
class WinDateStampFiles : public DateStampFiles {
public:
    std::optional<DateTimeParts> Read(const std::string& path) override;
    WriteResult Write(const std::string& path, std::uint32_t packed) override;
};

class TDateChange {
public:
    std::string Caption;                 // the dialog's caption
    std::vector<std::string> FileNames;  // full paths
    // Shows the date dialog over FileNames, then empties the list.
    void Execute();
};

}  // namespace kestrum
