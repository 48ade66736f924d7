// TFileCopy: the walk over the names, the collision policies, and the
// batches handed to the platform's file operation.
#include "fileops/file_copy_win.h"

#include <shellapi.h>

#include <optional>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "fileops/path_utils.h"
#include "fileops/shell_file_op_win.h"

namespace kestrum {

namespace {

constexpr unsigned kBatchSize = 300;
constexpr FILEOP_FLAGS kTransferFlags = FOF_MULTIDESTFILES | FOF_NOCONFIRMATION | FOF_FILESONLY;  // 0x91
constexpr FILEOP_FLAGS kDeleteFlags = FOF_NOCONFIRMATION | FOF_FILESONLY;                         // 0x90

bool IsRealDirectory(DWORD attr) {
    // A junction or directory link is a directory to the platform, but its
    // content belongs elsewhere: it is never walked into.
    return (attr & FILE_ATTRIBUTE_DIRECTORY) && !(attr & FILE_ATTRIBUTE_REPARSE_POINT);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::optional<FILETIME> LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data.ftLastWriteTime;
}

std::string Join(const std::string& dir, const std::string& name) { return dir + "\\" + name; }

// The directory given to an operation: full and without a trailing "\".
std::string NormaliseDir(std::string_view dir) {
    return ExcludeTrailingBackslash(FullPathName(IncludeTrailingBackslash(dir)));
}

}  // namespace

void TFileCopy::SetMode(int mode) {
    if (mode < cmAsk || mode > cmSkip) {
        CurrentPrompter().MessageDlg("TFileCopy:Modeに無効な値を代入しようとしました。", MsgType::Error, MsgButtons::Ok);
        return;
    }
    mode_ = mode;
}

int TFileCopy::Result() const {
    if (cancelled_) return 2;
    if (failed_) return lastCode_ != 0 ? lastCode_ : 1;
    return 0;
}

void TFileCopy::CopyX(const std::vector<std::string>& names, std::string_view srcDir, int mode,
                      std::string_view dstDir) {
    opName_ = "コピー";
    progressTitle_ = "COPYしています。";
    state_ = 0;
    copyKazu_ = kBatchSize;
    Run(names, srcDir, mode, dstDir);
}

void TFileCopy::MoveX(const std::vector<std::string>& names, std::string_view srcDir, int mode,
                      std::string_view dstDir) {
    opName_ = "移動";
    progressTitle_ = "移動しています。";
    state_ = 1;
    copyKazu_ = kBatchSize;
    Run(names, srcDir, mode, dstDir);
}

void TFileCopy::AddAllFileNames(std::string_view dir, std::vector<std::string>& list) {
    const std::string pattern = IncludeTrailingBackslash(dir) + "*";
    WIN32_FIND_DATAA fd{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &fd));
    if (!find) return;
    do {
        const std::string_view name(fd.cFileName);
        if (name != "." && name != "..") list.emplace_back(name);
    } while (FindNextFileA(find.Get(), &fd));
}

void TFileCopy::Run(const std::vector<std::string>& names, std::string_view srcDir, int mode,
                    std::string_view dstDir) {
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
    if (!Stopped() && !DirExists(dstDir_)) {
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
            ForceDirs(dstDir_);
            if (!DirExists(dstDir_)) failed_ = true;
        }
    }
    if (!Stopped()) {
        try {
            Walk(names, srcDir_, dstDir_);
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
    if (failed_) CurrentPrompter().ShowMessage(opName_ + "は失敗に終わりました");
    if (state_ == 1) {
        // Children come before their parents. Only an empty directory is
        // removed; whatever could not be moved keeps its directory.
        for (const std::string& dir : removeDirs_) {
            if (!DirHasEntries(dir)) RemoveDirectoryA(dir.c_str());
        }
    }
    removeDirs_.clear();
    queued_.clear();
}

void TFileCopy::CheckNotInsideSources(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string src = Join(srcDir_, name);
        const DWORD attr = Attributes(src);
        if (attr == INVALID_FILE_ATTRIBUTES || !IsRealDirectory(attr)) continue;
        if (IsInsideDirectory(dstDir_, src)) {
            Error("ＥＲＲＯＲ！\r\n" + opName_ + "先が" + opName_ + "元のディレクトリの中にあります。>" + name);
            return;
        }
    }
}

void TFileCopy::Error(const std::string& text) {
    CurrentPrompter().ShowMessage(text);
    failed_ = true;
}

void TFileCopy::Walk(const std::vector<std::string>& names, const std::string& s, const std::string& d) {
    for (const std::string& name : names) {
        if (Stopped()) return;
        const std::string src = Join(s, name);
        const std::string dst = Join(d, name);
        const DWORD srcAttr = Attributes(src);
        if (srcAttr == INVALID_FILE_ATTRIBUTES) {
            failed_ = true;
            return;
        }
        const DWORD dstAttr = Attributes(dst);
        const bool dstExists = dstAttr != INVALID_FILE_ATTRIBUTES;
        if (!IsRealDirectory(srcAttr)) {
            WalkFile(name, s, d, srcAttr, dstAttr);
            continue;
        }
        if ((dstExists && !(dstAttr & FILE_ATTRIBUTE_DIRECTORY)) || (!dstExists && Queued(dst))) {
            Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元のディレクトリと同名のファイルがあります。>" +
                  name);
            return;
        }
        if (dstExists) {
            std::vector<std::string> content;
            AddAllFileNames(src, content);
            Walk(content, src, dst);
            if (Stopped()) return;
            removeDirs_.push_back(src);
        } else {
            CopyNewTree(src, dst);
        }
    }
}

void TFileCopy::WalkFile(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr,
                         DWORD dstAttr) {
    const std::string src = Join(s, name);
    const std::string dst = Join(d, name);
    if (dstAttr == INVALID_FILE_ATTRIBUTES) {
        if (Queued(dst)) {
            // Taken by a renamed file of this operation, not yet written.
            Collide(name, s, d, srcAttr, true);
        } else {
            Transfer(src, dst, srcAttr);
        }
        return;
    }
    if (dstAttr & FILE_ATTRIBUTE_DIRECTORY) {
        const std::string what = (srcAttr & FILE_ATTRIBUTE_DIRECTORY) ? "リンク" : "ファイル";
        Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元の" + what + "と同名のディレクトリがあります。>" +
              name);
        return;
    }
    if (srcAttr & FILE_ATTRIBUTE_DIRECTORY) {
        // A directory link over a file: the platform cannot do it.
        Error("ＥＲＲＯＲ！\r\n" + opName_ + "先に" + opName_ + "元のディレクトリと同名のファイルがあります。>" +
              name);
        return;
    }
    // The same file reached by another path is no collision: leave it be.
    if (SameFile(src, dst)) return;
    Collide(name, s, d, srcAttr, false);
}

void TFileCopy::Collide(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr,
                        bool pendingOnly) {
    if (mode_ == cmAsk && OnSameName) {
        int flag = 0;
        OnSameName(name, flag);
        SetMode(flag);
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
        const auto srcTime = LastWriteTime(src);
        const auto dstTime = LastWriteTime(dst);
        if (!srcTime || !dstTime) return;
        if (CompareFileTime(&*dstTime, &*srcTime) < 0) {
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

void TFileCopy::AskRename(const std::string& name, const std::string& s, const std::string& d, DWORD srcAttr) {
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
        const std::string full = FullPathName(target);
        if (Attributes(target) != INVALID_FILE_ATTRIBUTES || Queued(target) || (!full.empty() && Queued(full))) {
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

void TFileCopy::CopyNewTree(const std::string& s, const std::string& d) {
    if (!CreateDirectoryA(d.c_str(), nullptr) && !DirExists(d)) {
        failed_ = true;
        return;
    }
    WIN32_FIND_DATAA fd{};
    {
        FindHandle find(FindFirstFileA((s + "\\*").c_str(), &fd));
        if (find) {
            do {
                if (Stopped()) return;
                const std::string name(fd.cFileName);
                if (name == "." || name == "..") continue;
                if (IsRealDirectory(fd.dwFileAttributes)) {
                    CopyNewTree(Join(s, name), Join(d, name));
                } else {
                    Transfer(Join(s, name), Join(d, name), fd.dwFileAttributes);
                }
            } while (FindNextFileA(find.Get(), &fd));
        }
    }
    if (state_ == 1) removeDirs_.push_back(s);
}

void TFileCopy::Transfer(const std::string& from, const std::string& to, DWORD attr) {
    if (state_ == 1 && (attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link is moved as itself, by renaming it: the platform's move
        // could carry the content of its target over instead. Where it
        // cannot be renamed (another volume) it stays in place.
        if (!MoveFileExA(from.c_str(), to.c_str(), (attr & FILE_ATTRIBUTE_DIRECTORY) ? 0 : MOVEFILE_REPLACE_EXISTING)) {
            lastCode_ = static_cast<int>(GetLastError());
            failed_ = true;
        }
        return;
    }
    QueueTransfer(from, to);
}

bool TFileCopy::Queued(const std::string& path) const { return queued_.count(UpperAscii(path)) != 0; }

void TFileCopy::QueueTransfer(const std::string& from, const std::string& to) {
    copyFrom_ += from;
    copyFrom_ += '\0';
    copyTo_ += to;
    copyTo_ += '\0';
    ++copyCount_;
    queued_.insert(UpperAscii(to));
    if (copyKazu_ > 0 && copyCount_ >= copyKazu_) FlushTransfers();
}

void TFileCopy::QueueDeletion(const std::string& path) {
    deleteList_ += path;
    deleteList_ += '\0';
    ++deleteCount_;
    if (copyKazu_ > 0 && deleteCount_ >= copyKazu_) FlushDeletions();
}

void TFileCopy::FlushTransfers() {
    if (copyCount_ == 0 || Stopped()) return;
    copyCount_ = 0;
    RunPlatform(state_ == 1 ? FO_MOVE : FO_COPY, copyFrom_ + '\0', copyTo_ + '\0', kTransferFlags);
    copyFrom_.clear();
    copyTo_.clear();
}

void TFileCopy::FlushDeletions() {
    if (deleteCount_ == 0 || Stopped()) return;
    deleteCount_ = 0;
    RunPlatform(FO_DELETE, deleteList_ + '\0', std::string(), kDeleteFlags);
    deleteList_.clear();
}

void TFileCopy::RunPlatform(UINT func, const std::string& from, const std::string& to, FILEOP_FLAGS flags) {
    ShellFileRequest r;
    r.owner = owner;
    r.func = func;
    r.from = from;
    r.to = to;
    r.flags = flags;
    r.title = progressTitle_;
    const ShellFileResult result = CurrentShellFileOp().Run(r);
    if (result.code != 0) {
        failed_ = true;
        lastCode_ = result.code;
    }
    if (result.aborted) cancelled_ = true;
}

void UseCopyDialog(TFileCopy& engine, std::string prefix) {
    engine.OnSameName = [&engine, prefix = std::move(prefix)](const std::string&, int& flag) {
        flag = FileOpAsk().AskCopyMode(prefix, engine.State());
        if (flag == cmCancel) engine.Cancel();
    };
}

}  // namespace kestrum
