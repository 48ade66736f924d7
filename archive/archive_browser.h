// What the archive viewer does, without its window: the listing store of
// open levels (an archive and the archives opened from it), the loaders,
// working directories, opening, viewing, going back, extraction of chosen
// entries and the automatic walk.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_text.h"
#include "archive/archiver.h"

namespace kestrum {

// One line of the store: a level's header or one of its entries.
struct StoreRecord {
    bool header = false;
    // An entry.
    MemberInfo info;
    bool extracted = false;
    int nestedLevel = -1;  // header index of the level opened from it
    // A header.
    ListingKind kind = ListingKind::Lha;
    std::string workDir;  // the level directory until the working one is made
    bool workDirMade = false;
    int count = 0;
    int parentStart = -1;  // first entry of the parent level
    int parentEntry = -1;  // the entry of the parent it was opened from
};

// The lines of every open level: each level a header (the archive's path)
// followed by its entries.
class TListingStore {
public:
    // Appends a level; its header's index.
    int AddLevel(const std::string& archive, ListingKind kind, const std::string& levelDir,
                 const std::vector<MemberInfo>& entries);
    std::size_t Size() const { return lines_.size(); }
    const std::string& Line(std::size_t i) const { return lines_[i]; }
    StoreRecord& Record(std::size_t i) { return records_[i]; }
    const StoreRecord& Record(std::size_t i) const { return records_[i]; }
    void Clear();

private:
    std::vector<std::string> lines_;
    std::vector<StoreRecord> records_;
};

// What the viewer needs besides the libraries.
class ArchiveBrowserHost {
public:
    virtual ~ArchiveBrowserHost() = default;
    // The system's temporary directory (no trailing "\"); empty when none.
    virtual std::string TempDirectory() = 0;
    // A new directory prefix + n + ".TMP"; empty when none could be made.
    virtual std::string MakeTempDir(const std::string& prefix) = 0;
    // Removes a directory with everything in it.
    virtual void RemoveTree(const std::string& dir) = 0;
    // Opens a file by association; the launcher's RunResult.
    virtual int Launch(const std::string& path) = 0;
    // Runs a command line of the shell.
    virtual void RunCommand(const std::string& line) = 0;
    // Asks to create a missing directory; false when it is not there after.
    virtual bool EnsureDirectory(std::string& dir) = 0;
    // Copies the files (NUL-separated full paths) into dir.
    virtual void CopyListTo(const std::string& list, const std::string& dir) = 0;
    // Seconds since 1970 (UTC) as local calendar time.
    virtual CivilTime LocalTime(std::int64_t utcSeconds) = 0;
    // Asks for an automatic step to run after the current message.
    virtual void PostAutoStep() = 0;
};

class TArchiveBrowser {
public:
    TArchiveBrowser(ArchiverHost& libraries, ArchiveBrowserHost& host) : libs_(libraries), host_(host) {}
    ~TArchiveBrowser();

    // Shows arg ("/V" and a path): false when the viewer must close again.
    bool Show(const std::string& arg, bool shift, bool lautoOn);
    // Removes every working directory and forgets every level.
    void Close();

    // The rows the list shows now, and which one has the cursor.
    std::vector<std::string> Rows() const;
    int Cursor() const { return cursor_; }
    void SetCursor(int row);
    bool Nested() const;
    const std::string& ArchivePath() const { return archive_; }

    // Enter (mode 0: open) and V (mode 1: view) on a row; false when the
    // viewer must close.
    bool ItemSelected(int row, int mode);
    // BS: back to the level this one was opened from; false at the top.
    bool GoBack();
    // U: the chosen rows (the cursor's when none) to a directory asked for.
    void ExtractRows(const std::vector<int>& rows);

    // The automatic walk.
    bool AutoMode() const { return autoMode_; }
    // One step (F12); f8Down when F8 is held. True when the viewer should
    // close after it.
    bool AutoStep(bool f8Down);
    bool Stopped() const { return stopped_; }

    const TListingStore& Store() const { return store_; }
    // The working directory of the current level ("" until made).
    std::string WorkDir() const;
    std::string TopWorkDir() const;

private:
    int Header() const { return start_ - 1; }
    // Loads a listing as a new level; its header, or -1.
    int LoadLevel(const std::string& path, const std::string& levelDir);
    std::optional<std::vector<MemberInfo>> List(const std::string& path, ListingKind kind);
    // Makes sure entry (a store index) is extracted; false with the path
    // left empty when its name cannot be used.
    bool Prepare(int entry, std::string& path, bool& closeViewer);
    bool ExtractMember(int header, const StoreRecord& entry, const std::string& dir);
    bool OpenNested(int entry, const std::string& path);
    void Open(int row, bool& closeViewer);
    int EntryIndex(int row) const { return start_ + row; }
    bool IsBackRow(int row) const;

    ArchiverHost& libs_;
    ArchiveBrowserHost& host_;
    std::unique_ptr<TarLibrary> tar_;
    std::unique_ptr<ZipPlugin> zip_;
    TListingStore store_;
    std::string archive_;
    int start_ = 1;
    int cursor_ = 0;
    bool autoMode_ = false;
    bool fresh_ = true;
    bool stopped_ = false;
    bool lastShownInViewer_ = false;
};

// The automatic walk's steps are asked for by posting F12 to the list: on
// showing, on each activation of the viewer or the program (which come
// several at once) and on entering a nested level. At most one is waiting,
// so each activation takes one step.
class AutoStepGate {
public:
    // True when a step must be posted now; false when one is waiting.
    bool Request() {
        if (waiting_) return false;
        waiting_ = true;
        return true;
    }
    // The posted step has arrived (it runs now).
    void Arrived() { waiting_ = false; }
    bool Waiting() const { return waiting_; }

private:
    bool waiting_ = false;
};

// The line the list shows at the end of a nested level.
extern const char* const kBackRow;

}  // namespace kestrum
