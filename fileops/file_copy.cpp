// The copy engine: the walk over the names, the collision policies, and the
// batches handed on.
#include "fileops/file_copy.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "fileops/path_utils.h"

namespace kestrum {

namespace {

constexpr unsigned kBatchSize = 300;

std::string Join(const std::string& dir, const std::string& name) { return dir + "\\" + name; }

// The attributes of an entry; nullopt only when it is not there. Where they
// cannot be read (a file held open without sharing, a lost connection) the
// directory search may still see the entry: taken for missing, a file the
// user wanted kept or that is newer would be written over.
std::optional<std::uint32_t> EntryAttributes(FileSystem& fs, const std::string& path) {
    if (const auto attr = fs.Attributes(path)) return attr;
    for (const FindRecord& r : fs.Find(path)) {
        if (!r.IsDots()) return r.attributes;
    }
    return std::nullopt;
}

}  // namespace

// The directory given to an operation: full and without a trailing "\".
std::string FileCopyEngine::NormaliseDir(std::string_view dir) {
    return ExcludeTrailingBackslash(fs_.FullPath(IncludeTrailingBackslash(dir)));
}

void FileCopyEngine::SetMode(CopyMode mode) {
    if (mode < cmAsk || mode > cmSkip) {
        CurrentPrompter().MessageDlg("TFileCopy:Modeに無効な値を代入しようとしました。", MsgType::Error, MsgButtons::Ok);
        return;
    }
    mode_ = mode;
}

int FileCopyEngine::Result() const {
    if (cancelled_) return 2;
    if (failed_) return lastCode_ != 0 ? lastCode_ : 1;
    return 0;
}

void FileCopyEngine::CopyX(const std::vector<std::string>& names, std::string_view srcDir, CopyMode mode,
                           std::string_view dstDir) {
    RunOperation(false, names, srcDir, mode, dstDir);
}

void FileCopyEngine::MoveX(const std::vector<std::string>& names, std::string_view srcDir, CopyMode mode,
                           std::string_view dstDir) {
    RunOperation(true, names, srcDir, mode, dstDir);
}

bool FileCopyEngine::AddAllFileNames(FileSystem& fs, std::string_view dir, std::vector<std::string>& list) {
    std::vector<FindRecord> entries = fs.Find(IncludeTrailingBackslash(dir) + "*");
    if (entries.empty() && fs.LastError() != 0) return false;
    for (FindRecord& r : entries) {
        if (!r.IsDots()) list.push_back(std::move(r.name));
    }
    return true;
}

void FileCopyEngine::RunOperation(bool move, const std::vector<std::string>& names, std::string_view srcDir,
                                  CopyMode mode, std::string_view dstDir) {
    opName_ = move ? "移動" : "コピー";
    progressTitle_ = move ? "移動しています。" : "COPYしています。";
    state_ = move ? 1 : 0;
    copyKazu_ = kBatchSize;
    removeDirs_.clear();
    if (names.empty()) return;
    copyFrom_.clear();
    copyTo_.clear();
    deleteList_.clear();
    copyCount_ = 0;
    deleteCount_ = 0;
    cancelled_ = false;
    failed_ = false;
    lastCode_ = 0;
    queued_.clear();
    SetMode(mode);

    srcDir_ = NormaliseDir(srcDir);
    dstDir_ = NormaliseDir(dstDir);
    if (dstDir_.empty()) {
        failed_ = true;
    } else {
        // Before anything is made: a missing destination inside a source
        // would be created inside it.
        CheckNotInsideSources(names);
    }
    if (!Stopped() && !DirExists(fs_, dstDir_)) {
        bool flag = true;
        if (OnExistsDir) {
            OnExistsDir(flag);
        } else {
            flag = CurrentPrompter().MessageDlg("ディレクトリ" + dstDir_ + "が存在しません。\r\n作りますか？",
                                                MsgType::Confirmation, MsgButtons::YesCancel) == mrYes;
        }
        if (!flag) {
            cancelled_ = true;
        } else {
            ForceDirs(fs_, dstDir_);
            if (!DirExists(fs_, dstDir_)) failed_ = true;
        }
    }
    // What broke the walk is told with the failure, not only that it failed.
    std::string reason;
    if (!Stopped()) {
        try {
            Walk(names, srcDir_, dstDir_);
        } catch (const std::exception& e) {
            failed_ = true;
            reason = e.what();
        } catch (...) {
            failed_ = true;
        }
    }
    // A failed or aborted transfer batch stops everything after it: the
    // deletion batch is never flushed then, so no source is deleted whose
    // copy may be missing.
    if (!Stopped()) FlushTransfers();
    if (!Stopped() && state_ == 1) FlushDeletions();
    if (cancelled_) CurrentPrompter().ShowMessage(opName_ + "を中断しました");
    if (failed_) {
        CurrentPrompter().ShowMessage(opName_ + "は失敗に終わりました" + (reason.empty() ? "" : "\r\n" + reason));
    }
    if (state_ == 1) {
        // Children come before their parents. Only an empty directory is
        // removed; whatever could not be moved keeps its directory.
        for (const std::string& dir : removeDirs_) {
            if (!DirHasEntries(fs_, dir)) fs_.RemoveDir(dir);
        }
    }
    removeDirs_.clear();
    queued_.clear();
}

void FileCopyEngine::CheckNotInsideSources(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string src = Join(srcDir_, name);
        const auto attr = fs_.Attributes(src);
        if (!attr || !IsRealDirectory(*attr)) continue;
        if (IsInsideDirectory(fs_, dstDir_, src)) {
            Error("ＥＲＲＯＲ！\r\n" + opName_ + "先が" + opName_ + "元のディレクトリの中にあります。>" + name);
            return;
        }
    }
}

void FileCopyEngine::Error(const std::string& text) {
    CurrentPrompter().ShowMessage(text);
    failed_ = true;
}

void FileCopyEngine::Walk(const std::vector<std::string>& names, const std::string& s, const std::string& d) {
    for (const std::string& name : names) {
        if (Stopped()) return;
        const std::string src = Join(s, name);
        const std::string dst = Join(d, name);
        const auto srcAttr = fs_.Attributes(src);
        if (!srcAttr) {
            failed_ = true;
            return;
        }
        const auto dstAttr = EntryAttributes(fs_, dst);
        const bool dstExists = dstAttr.has_value();
        if (!IsRealDirectory(*srcAttr)) {
            WalkFile(name, s, d, *srcAttr, dstAttr);
            continue;
        }
        if ((dstExists && !(*dstAttr & kAttrDirectory)) || (!dstExists && Queued(dst))) {
            Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元のディレクトリと同名のファイルがあります。>" +
                  name);
            return;
        }
        if (dstExists) {
            std::vector<std::string> content;
            if (!AddAllFileNames(fs_, src, content)) {
                // A directory that cannot be read is not an empty one.
                lastCode_ = fs_.LastError();
                failed_ = true;
                return;
            }
            Walk(content, src, dst);
            if (Stopped()) return;
            removeDirs_.push_back(src);
        } else {
            CopyNewTree(src, dst);
        }
    }
}

void FileCopyEngine::WalkFile(const std::string& name, const std::string& s, const std::string& d,
                              std::uint32_t srcAttr, std::optional<std::uint32_t> dstAttr) {
    const std::string src = Join(s, name);
    const std::string dst = Join(d, name);
    if (!dstAttr) {
        if (Queued(dst)) {
            // Taken by a renamed file of this operation, not yet written.
            Collide(name, s, d, srcAttr, true);
        } else {
            Transfer(src, dst, srcAttr);
        }
        return;
    }
    if (*dstAttr & kAttrDirectory) {
        const std::string what = (srcAttr & kAttrDirectory) ? "リンク" : "ファイル";
        Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元の" + what + "と同名のディレクトリがあります。>" +
              name);
        return;
    }
    if (srcAttr & kAttrDirectory) {
        // A directory link over a file: the platform cannot do it.
        Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元のディレクトリと同名のファイルがあります。>" +
              name);
        return;
    }
    // The same file reached by another path is no collision: leave it be.
    if (SameFile(fs_, src, dst)) return;
    Collide(name, s, d, srcAttr, false);
}

void FileCopyEngine::Collide(const std::string& name, const std::string& s, const std::string& d,
                             std::uint32_t srcAttr, bool pendingOnly) {
    if (mode_ == cmAsk && OnSameName) {
        CopyMode answer = cmAsk;
        OnSameName(name, answer);
        SetMode(answer);
        if (mode_ == cmAsk) {
            cancelled_ = true;
            return;
        }
    }
    const std::string src = Join(s, name);
    const std::string dst = Join(d, name);
    if (mode_ == cmRename) {
        AskRename(name, s, d, srcAttr);
        return;
    }
    // A destination that is only queued cannot be compared or overwritten
    // without losing the file queued for it.
    if (pendingOnly) return;
    switch (mode_) {
    case cmNewer: {
        // Both stamps must be known: an unreadable one decides nothing.
        const auto srcStat = fs_.Stat(src);
        const auto dstStat = fs_.Stat(dst);
        if (!srcStat || !dstStat) return;
        if (dstStat->lastWriteTime < srcStat->lastWriteTime) {
            Transfer(src, dst, srcAttr);
        } else if (state_ == 1) {
            QueueDeletion(src);
        }
        return;
    }
    case cmOverwrite: Transfer(src, dst, srcAttr); return;
    default: return;  // skip
    }
}

void FileCopyEngine::AskRename(const std::string& name, const std::string& s, const std::string& d,
                               std::uint32_t srcAttr) {
    for (;;) {
        LineQuestion q;
        q.title = "名前を変えて" + opName_;
        q.prompt = "新しいファイル名を入れてください";
        q.text = name;
        q.mode = amFreeText | amNoBrowse;
        if (!CurrentPrompter().AskLine(q)) {
            if (CurrentPrompter().MessageDlg(opName_ + "を中断しますか？", MsgType::Confirmation, MsgButtons::YesNo) ==
                mrYes) {
                cancelled_ = true;
                return;
            }
            continue;
        }
        const std::string target = Join(d, q.text);
        // The platform's own form of the name ("A.TXT." is "A.TXT") for the
        // check against the queued destinations.
        const std::string full = fs_.FullPath(target);
        if (EntryAttributes(fs_, target) || Queued(target) || (!full.empty() && Queued(full))) {
            CurrentPrompter().ShowMessage("そのファイル名のファイルも存在します。");
            continue;
        }
        if (!IsValidFileName(q.text)) {
            CurrentPrompter().ShowMessage("無効なファイル名です");
            continue;
        }
        Transfer(Join(s, name), full.empty() ? target : full, srcAttr);
        return;
    }
}

void FileCopyEngine::CopyNewTree(const std::string& s, const std::string& d) {
    if (!fs_.MakeDir(d) && !DirExists(fs_, d)) {
        failed_ = true;
        return;
    }
    const std::vector<FindRecord> entries = fs_.Find(s + "\\*");
    if (entries.empty() && fs_.LastError() != 0) {
        // A directory that cannot be read is not an empty one.
        lastCode_ = fs_.LastError();
        failed_ = true;
        return;
    }
    for (const FindRecord& r : entries) {
        if (Stopped()) return;
        if (r.IsDots()) continue;
        if (IsRealDirectory(r.attributes)) {
            CopyNewTree(Join(s, r.name), Join(d, r.name));
        } else {
            Transfer(Join(s, r.name), Join(d, r.name), r.attributes);
        }
    }
    if (state_ == 1) removeDirs_.push_back(s);
}

void FileCopyEngine::Transfer(const std::string& from, const std::string& to, std::uint32_t attr) {
    if (state_ == 1 && (attr & kAttrReparsePoint)) {
        // A link is moved as itself, by renaming it: the platform's move
        // could carry the content of its target over instead. Where it
        // cannot be renamed (another volume) it stays in place.
        if (!fs_.Move(from, to, (attr & kAttrDirectory) ? 0u : unsigned{kMoveReplace})) {
            lastCode_ = fs_.LastError();
            failed_ = true;
        }
        return;
    }
    QueueTransfer(from, to);
}

bool FileCopyEngine::Queued(const std::string& path) const { return queued_.count(UpperAscii(path)) != 0; }

void FileCopyEngine::QueueTransfer(const std::string& from, const std::string& to) {
    copyFrom_ += from;
    copyFrom_ += '\0';
    copyTo_ += to;
    copyTo_ += '\0';
    ++copyCount_;
    queued_.insert(UpperAscii(to));
    if (copyKazu_ > 0 && copyCount_ >= copyKazu_) FlushTransfers();
}

void FileCopyEngine::QueueDeletion(const std::string& path) {
    deleteList_ += path;
    deleteList_ += '\0';
    ++deleteCount_;
    if (copyKazu_ > 0 && deleteCount_ >= copyKazu_) FlushDeletions();
}

void FileCopyEngine::FlushTransfers() {
    if (copyCount_ == 0 || Stopped()) return;
    copyCount_ = 0;
    RunBatch(state_ == 1 ? TransferBatches::kMove : TransferBatches::kCopy, copyFrom_ + '\0', copyTo_ + '\0');
    copyFrom_.clear();
    copyTo_.clear();
}

void FileCopyEngine::FlushDeletions() {
    if (deleteCount_ == 0 || Stopped()) return;
    deleteCount_ = 0;
    RunBatch(TransferBatches::kDelete, deleteList_ + '\0', std::string());
    deleteList_.clear();
}

void FileCopyEngine::RunBatch(TransferBatches::Kind kind, const std::string& from, const std::string& to) {
    const TransferBatches::Outcome result = batches_.Perform(kind, from, to, progressTitle_);
    if (result.code != 0) {
        failed_ = true;
        lastCode_ = result.code;
    }
    if (result.aborted) cancelled_ = true;
}

}  // namespace kestrum
