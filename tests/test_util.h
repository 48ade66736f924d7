// Helpers shared by the tests: temporary folders and file contents.
#pragma once

#include <string>
#include <vector>

namespace kestrum::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away. Path() ends without a separator.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// The lines of a CR LF text (fails the test on a bare LF).
std::vector<std::string> CrLfLines(const std::string& bytes);

// While one exists, the safety net of the test runner leaves dialog boxes
// alone (a test that answers them itself).
class ExpectDialogs {
public:
    ExpectDialogs();
    ~ExpectDialogs();
    ExpectDialogs(const ExpectDialogs&) = delete;
    ExpectDialogs& operator=(const ExpectDialogs&) = delete;
    static bool Active();
};

}  // namespace kestrum::test
