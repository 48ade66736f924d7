// What the command-line libraries share: the parsed switches, the text
// written to the caller's output buffer, and the checked extraction of one
// member into a target directory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "libs/base/arc_fs.h"
#include "libs/base/arc_result.h"

namespace kestrum::arc {

// Output text in CR LF lines.
class TextOut {
public:
    void Line(std::string_view s) {
        text_.append(s);
        text_.append("\r\n");
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Makes every missing level of a directory path the caller gave (it may be
// absolute: the caller is trusted, the archive is not).
bool EnsureDirectory(ArcFs& fs, const std::string& dir);

// The name's extension with its dot ("" when none).
std::string FileExtension(std::string_view path);

// The file for a member at path. Where nothing is (exists false), a new
// file that never replaces one a check missed; over an existing file, a
// temporary file beside it (its name in temp), so that the old file stays
// until the member is whole. Null when it cannot be created.
std::unique_ptr<FileWriter> OpenOutput(ArcFs& fs, const std::string& path, bool exists, std::string& temp);
// Closes w and moves the temporary file (when temp is set) over path;
// false, with the temporary file removed, when either fails.
bool CloseOutput(ArcFs& fs, std::unique_ptr<FileWriter> w, const std::string& path, const std::string& temp);

// A new file beside path for an archive written whole before it takes
// path's place: path + ".$$$", or ".$1$", ".$2$" ... after it when that name
// is taken, so that a file of the user's is never written over. Its name
// goes to temp; null when none could be made.
std::unique_ptr<FileWriter> CreateTempBeside(ArcFs& fs, const std::string& path, std::string& temp);

enum class Overwrite { kRefuse, kAllow };

struct ExtractTarget {
    std::string dir;        // target directory ("" = current)
    std::string relPath;    // checked member path under dir
    std::int64_t mtime = 0;
    std::uint32_t attrib = 0;
    bool restoreAttrib = false;
    std::string temp;       // where the member is written while a file is kept there
};

// Opens the file a member goes to, after the checks that keep it inside
// the target: the directories on the way are made (never through a link),
// an existing link is never written through, an existing file is only
// replaced when allowed, and then only by a whole member: the member is
// written beside it and takes its place in Finish. A file the checks did
// not see is never written over. On refusal returns null, with the result
// code and a message line already written.
class MemberFile {
public:
    MemberFile(ArcFs& fs, TextOut& out, ResultKeeper& result) : fs_(fs), out_(out), result_(result) {}
    // Checks the stored name and builds the target path; false when refused.
    bool Prepare(std::string_view stored, const std::string& dir, bool keepPaths, bool stripRoot,
                 ExtractTarget& target);
    std::unique_ptr<FileWriter> Open(ExtractTarget& target, Overwrite overwrite);
    // Makes a directory member; false when refused.
    bool MakeDirectory(const ExtractTarget& target);
    // Closes a finished file and sets its time (and attributes when asked).
    bool Finish(std::unique_ptr<FileWriter> w, const ExtractTarget& target);

private:
    ArcFs& fs_;
    TextOut& out_;
    ResultKeeper& result_;
};

}  // namespace kestrum::arc
