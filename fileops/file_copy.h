// The copy and move engine behind the filer's copy and move of marked
// files. It walks the names itself over a file system, merges into existing
// directories, settles name collisions by one policy chosen at the first
// collision and hands the transfers on in batches: to the platform's file
// operation in the program (TFileCopy, file_copy_win.h), to a fake in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/file_system.h"
#include "fileops/file_questions.h"

namespace kestrum {

// Asked at a name collision while Mode is 0: fileName is the colliding
// name; flag comes in as 0 and goes out as the chosen Mode (0: cancel).
using OnSameNameEvent = std::function<void(const std::string& fileName, CopyMode& mode)>;
// Asked when the destination directory is missing: flag comes in true and
// goes out true to create it, false to cancel.
using OnExistsDirEvent = std::function<void(bool& flag)>;

// Where the engine's batches go. A batch runs to its end: whatever it
// transferred before a failure or an abort stays where it was put.
class TransferBatches {
public:
    enum Kind { kCopy, kMove, kDelete };
    struct Outcome {
        int code = 0;          // 0 success, else the failure's code
        bool aborted = false;  // the user stopped it
    };
    virtual ~TransferBatches() = default;
    // from and to are lists of full paths, each followed by a NUL and the
    // whole ended by one more NUL; to names the destination of each entry of
    // from, and is empty for kDelete. title: the progress display's title.
    virtual Outcome Perform(Kind kind, const std::string& from, const std::string& to, const std::string& title) = 0;
};

class FileCopyEngine {
public:
    FileCopyEngine(FileSystem& fs, TransferBatches& batches) : fs_(fs), batches_(batches) {}
    virtual ~FileCopyEngine() = default;
    FileCopyEngine(const FileCopyEngine&) = delete;
    FileCopyEngine& operator=(const FileCopyEngine&) = delete;

    // Copies (CopyX) or moves (MoveX) the entries names (plain names inside
    // srcDir, files or directories) into dstDir with collision policy mode.
    // A complete operation: it reports its own interruption or failure.
    void CopyX(const std::vector<std::string>& names, std::string_view srcDir, CopyMode mode, std::string_view dstDir);
    void MoveX(const std::vector<std::string>& names, std::string_view srcDir, CopyMode mode, std::string_view dstDir);

    // Appends the name of every entry of dir (hidden ones too, not "." and
    // ".."), in the order the directory search returns them; false when dir
    // could not be read (an empty directory gives true).
    static bool AddAllFileNames(FileSystem& fs, std::string_view dir, std::vector<std::string>& list);

    // Stops the running operation at the next entry.
    void Cancel() { cancelled_ = true; }

    CopyMode Mode() const { return mode_; }
    // A value that is no policy is refused with a message; the old value stays.
    void SetMode(CopyMode mode);
    // 0 while copying, 1 while moving (set by CopyX / MoveX).
    int State() const { return state_; }
    // Queued entries that trigger a flush; CopyX and MoveX set it to 300.
    unsigned CopyKazu() const { return copyKazu_; }
    void SetCopyKazu(unsigned n) { copyKazu_ = n; }

    OnSameNameEvent OnSameName;
    OnExistsDirEvent OnExistsDir;

    // Outcome of the last operation: 0 success, 2 cancelled, otherwise the
    // failed batch's nonzero code or 1 for a failure of the engine's own.
    int Result() const;
    bool Cancelled() const { return cancelled_; }
    bool Failed() const { return failed_; }

private:
    void RunOperation(bool move, const std::vector<std::string>& names, std::string_view srcDir, CopyMode mode,
                      std::string_view dstDir);
    bool Stopped() const { return cancelled_ || failed_; }
    std::string NormaliseDir(std::string_view dir);
    void CheckNotInsideSources(const std::vector<std::string>& names);
    void Walk(const std::vector<std::string>& names, const std::string& s, const std::string& d);
    void WalkFile(const std::string& name, const std::string& s, const std::string& d, std::uint32_t srcAttr,
                  std::optional<std::uint32_t> dstAttr);
    void Collide(const std::string& name, const std::string& s, const std::string& d, std::uint32_t srcAttr,
                 bool pendingOnly);
    void AskRename(const std::string& name, const std::string& s, const std::string& d, std::uint32_t srcAttr);
    void CopyNewTree(const std::string& s, const std::string& d);
    bool Queued(const std::string& path) const;
    void Transfer(const std::string& from, const std::string& to, std::uint32_t attr);
    void QueueTransfer(const std::string& from, const std::string& to);
    void QueueDeletion(const std::string& path);
    void FlushTransfers();
    void FlushDeletions();
    void RunBatch(TransferBatches::Kind kind, const std::string& from, const std::string& to);
    void Error(const std::string& text);

    FileSystem& fs_;
    TransferBatches& batches_;
    CopyMode mode_ = cmAsk;
    int state_ = 0;
    unsigned copyKazu_ = 100;
    bool cancelled_ = false;
    bool failed_ = false;
    int lastCode_ = 0;
    std::string opName_;
    std::string srcDir_;
    std::string dstDir_;
    std::string copyFrom_;
    std::string copyTo_;
    unsigned copyCount_ = 0;
    std::string deleteList_;
    unsigned deleteCount_ = 0;
    std::string progressTitle_;
    std::vector<std::string> removeDirs_;
    // Destinations queued in this operation (upper-cased full paths): they
    // count as existing although no batch has written them yet.
    std::unordered_set<std::string> queued_;
};

}  // namespace kestrum
