// Tag-jump lines ("file 12: message" or "\"a file\" 12: message") and the
// arithmetic that turns a source line number into a display line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "viewers/light_strings.h"

namespace kestrum {

struct TagJump {
    std::string file;
    // The line number, 1-based; nullopt when the text there is not a number.
    std::optional<long long> line;
};

// A line starting with a double quote names the file between the first two
// quotes, and the number follows the closing quote up to the first ":".
// Otherwise the file is the text before the first blank and the number runs
// from that blank up to the first ":". Blanks round the number are allowed.
TagJump ParseTagLine(std::string_view text);

// The file a tag line names, for the viewer showing viewedFile: a name with
// a drive (C:...) or from a root (\dir, \\server\share) as it
// stands, any other relative to the folder of viewedFile (as it stands when
// no file is shown).
std::string TagFilePath(std::string_view file, std::string_view viewedFile);

// A whole number with optional blanks round it and an optional sign;
// nullopt for anything else (or a number out of range).
std::optional<long long> ParseLineNumber(std::string_view text);

// The display line that shows source line n (1-based): the first display
// line of paragraph n - 1, n clamped to the paragraphs there are.
std::size_t DisplayLineOfSourceLine(const TLightStrings& lines, long long n);

}  // namespace kestrum
