// TFileCopy: the copy and move engine behind the filer's copy and move of
// marked files. It walks the names itself, merges into existing directories,
// settles name collisions by one policy chosen at the first collision and
// hands the transfers to the platform's file operation in batches.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "fileops/file_questions.h"

namespace kestrum {

// Asked at a name collision while Mode is 0: fileName is the colliding
// name; flag comes in as 0 and goes out as the chosen Mode (0: cancel).
using OnSameNameEvent = std::function<void(const std::string& fileName, int& flag)>;
// Asked when the destination directory is missing: flag comes in true and
// goes out true to create it, false to cancel.
using OnExistsDirEvent = std::function<void(bool& flag)>;

class TFileCopy {
public:
    // Copies (CopyX) or moves (MoveX) the entries names (plain names inside
    // srcDir, files or directories) into dstDir with collision policy mode.
    // A complete operation: it reports its own interruption or failure.
    void CopyX(const std::vector<std::string>& names, std::string_view srcDir, int mode, std::string_view dstDir);
    void MoveX(const std::vector<std::string>& names, std::string_view srcDir, int mode, std::string_view dstDir);

    // Appends the name of every entry of dir (hidden ones too, not "." and
    // ".."), in the order the platform's directory search returns them.
    static void AddAllFileNames(std::string_view dir, std::vector<std::string>& list);

    // Stops the running operation at the next entry.
    void Cancel() { cancelled_ = true; }

    int Mode() const { return mode_; }
    // Values outside 0..4 are refused with a message; the old value stays.
    void SetMode(int mode);
    // 0 while copying, 1 while moving (set by CopyX / MoveX).
    int State() const { return state_; }
    // Queued entries that trigger a flush; CopyX and MoveX set it to 300.
    unsigned CopyKazu() const { return copyKazu_; }
    void SetCopyKazu(unsigned n) { copyKazu_ = n; }

    OnSameNameEvent OnSameName;
    OnExistsDirEvent OnExistsDir;
    // Owner of the platform's progress display and questions.
    HWND owner = nullptr;

    // Outcome of the last operation: 0 success, 2 cancelled, otherwise the
    // platform's nonzero result or 1 for a failure of the engine's own.
    int Result() const;
    bool Cancelled() const { return cancelled_; }
    bool Failed() const { return failed_; }

private:
    void Run(const std::vector<std::string>& names, std::string_view srcDir, int mode, std::string_view dstDir);
    bool Stopped() const { return cancelled_ || failed_; }
    void CheckNotInsideSources(const std::vector<std::string>& names);
    void Walk(const std::vector<std::string>& names, const std::string& s, const std::string& d);
    void WalkFile(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr,
                  DWORD dstAttr);
    void Collide(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr,
                 bool pendingOnly);
    void AskRename(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr);
    void CopyNewTree(const std::string& s, const std::string& d);
    bool Queued(const std::string& path) const;
    void Transfer(const std::string& from, const std::string& to, DWORD attr);
    void QueueTransfer(const std::string& from, const std::string& to);
    void QueueDeletion(const std::string& path);
    void FlushTransfers();
    void FlushDeletions();
    void RunPlatform(UINT func, const std::string& from, const std::string& to, FILEOP_FLAGS flags);
    void Error(const std::string& text);

    int mode_ = cmAsk;
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
    // count as existing although the platform has not written them yet.
    std::unordered_set<std::string> queued_;
};

// Makes engine ask the collision dialog through the current prompter, with
// prefix ahead of the caption; a cancelled dialog cancels the operation.
void UseCopyDialog(TFileCopy& engine, std::string prefix = "Kestrum");

}  // namespace kestrum
