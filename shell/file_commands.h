// Pieces of the shell's file commands that need no platform: cutting two
// names out of an argument and the wildcard rename mapping.
// FileCommandHost is what the file commands ask of the platform.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrum {

// Cuts "first second" at a blank so that the first name may hold blanks:
// from the last blank towards the second one, the first cut whose text
// before it names something (exists(text), wildcards allowed) wins; else
// the first blank. Both names trimmed; no blank gives (argument, "").
std::pair<std::string, std::string> SplitTwoNames(std::string_view arg,
                                                  const std::function<bool(const std::string&)>& exists);

// The name a wildcard rename gives to name under pattern ("*.TXT" -> "*.BAK",
// "*.?"); nullopt when the result would still hold "?" or "*".
std::optional<std::string> MapWildName(std::string_view name, std::string_view pattern);

struct FoundEntry {
    std::string name;  // without directory
    bool directory = false;
};

// The platform side of the file commands.
class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;
    // FindFirstFileA finds something for the pattern.
    virtual bool AnyMatch(const std::string& pattern) = 0;
    // Every entry the pattern finds, in search order ("." and ".." left out).
    virtual std::vector<FoundEntry> FindAll(const std::string& pattern) = 0;
    // Copy or move of NUL-separated sources into a directory; 0 success.
    virtual int CopyListTo(const std::string& sources, const std::string& dir, bool move) = 0;
    // One file to another name, asking before overwriting; 0 success.
    virtual int CopyPath(const std::string& from, const std::string& to) = 0;
    // Deletes NUL-separated full paths: to the recycle bin, or for good.
    virtual int DeleteFiles(const std::string& list, bool erase) = 0;
    // Renames without ever replacing an existing file.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Removes a directory with everything in it, saying why when it cannot.
    virtual bool RemoveTree(const std::string& dir) = 0;
    virtual void SplitFile(const std::string& file, long long pieceSize, const std::string& dir) = 0;
    virtual void EjectMedia(const std::string& drive) = 0;
    // The filer's marked entry names in list order (empty when none).
    virtual std::vector<std::string> MarkedNames() = 0;
    virtual int DriveType(const std::string& root) = 0;
    // Loads a picture of any readable format and saves it as a bitmap.
    virtual bool PictureToBitmap(const std::string& picture, const std::string& bitmap) = 0;
    virtual bool SetWallpaper(const std::string& bitmap) = 0;
};

}  // namespace kestrum
