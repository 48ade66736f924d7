// Splitting a file into numbered pieces and joining files into one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

enum class FileOpOutcome {
    Done,
    Refused,      // nothing written: the request itself was refused
    Interrupted,  // the user said no to an overwrite
    Failed,       // a file could not be opened, read or written (reported)
};

// Writes source in pieces of size bytes into dir (empty: the current
// directory) as name.000, name.001, ... A source whose length is a
// multiple of size ends with an empty piece. An existing piece is only
// overwritten after a Yes / No / All question (All stops the questions).
// Refused with a message when size is not positive or more than 1000
// pieces would be needed.
FileOpOutcome SplitFile(const std::string& source, std::int64_t size, const std::string& dir);

// Writes files one after another into target (replacing it after a
// question when it exists). An empty list does nothing; a target that is
// one of the files is refused.
FileOpOutcome JoinFiles(const std::string& target, const std::vector<std::string>& files);

// Appends file to the end of the existing target.
FileOpOutcome AppendFile(const std::string& target, const std::string& file);

}  // namespace kestrum
