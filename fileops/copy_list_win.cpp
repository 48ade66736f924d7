// CopyListTo, MoveListTo and CopyPath over the platform's file operation.
#include "fileops/copy_list_win.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/pathlist.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "fileops/file_copy_win.h"
#include "fileops/path_utils.h"
#include "fileops/shell_file_op_win.h"

namespace kestrum {

namespace {

int RunPlatform(HWND owner, UINT func, const std::string& from, const std::string& to, FILEOP_FLAGS flags) {
    ShellFileRequest r;
    r.owner = owner;
    r.func = func;
    r.from = from;
    r.to = to;
    r.flags = flags;
    const ShellFileResult result = CurrentShellFileOp().Run(r);
    if (result.aborted) return crAborted;
    return result.code;
}

// The first source directory that dest lies in (dest itself counts); empty
// for none. Wildcard names are no directories.
std::string SourceHolding(const std::vector<std::string>& sources, const std::string& dest) {
    for (const std::string& src : sources) {
        if (FindAnyChar(src, "*?") != std::string::npos) continue;
        const DWORD attr = GetFileAttributesA(src.c_str());
        if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (IsInsideDirectory(dest, src)) return src;
    }
    return {};
}

int ListTo(std::string_view sourceList, std::string_view destDir, HWND owner, bool move) {
    int rc = crNoDestination;
    const std::string op = move ? "移動" : "コピー";
    const std::vector<std::string> sources = PathList::Parse(sourceList.data(), sourceList.size());
    std::string dest(destDir);
    const std::string holding = dest.empty() ? std::string() : SourceHolding(sources, dest);
    if (!holding.empty()) {
        // Refused before the destination is made: it would be made inside
        // the source, and the copy would run into itself.
        CurrentPrompter().ShowMessage("ＥＲＲＯＲ！\r\n" + op + "先が" + op + "元のディレクトリの中にあります。>" +
                                      ExtractFileName(ExcludeTrailingBackslash(holding)));
    } else if (!dest.empty() && EnsureDirectory(dest)) {
        // A root keeps its "\": "C:" alone would be the drive's current directory.
        if (!EndsWithColon(ExcludeTrailingBackslash(dest))) dest = ExcludeTrailingBackslash(dest);
        // The files-only flag belongs to wildcard names alone: some platforms
        // apply it inside a directory named outright too, and copy only the
        // files at its top.
        bool wildcard = false;
        for (const std::string& src : sources) wildcard = wildcard || FindAnyChar(src, "*?") != std::string::npos;
        rc = RunPlatform(owner, move ? FO_MOVE : FO_COPY, TerminateNulList(std::string(sourceList)),
                         TerminateNulList(dest), wildcard ? FOF_FILESONLY : 0);
    }
    if (rc != crOk) CurrentPrompter().ShowMessage(op + "は失敗に終わりました");
    return rc;
}

}  // namespace

int CopyListTo(std::string_view sources, std::string_view destDir, HWND owner) {
    return ListTo(sources, destDir, owner, false);
}

int MoveListTo(std::string_view sources, std::string_view destDir, HWND owner) {
    return ListTo(sources, destDir, owner, true);
}

int CopyPath(std::string_view source, std::string_view dest, HWND owner, TFileCopy* engine) {
    const std::string src = FullPathName(source);
    std::string dst = FullPathName(dest);
    if (src.empty() || dst.empty()) return crNoDestination;
    FILEOP_FLAGS flags = 0;
    if (FindAnyChar(dst, "*?") == std::string::npos) {
        const DWORD srcAttr = GetFileAttributesA(src.c_str());
        const bool srcIsDir = srcAttr != INVALID_FILE_ATTRIBUTES && (srcAttr & FILE_ATTRIBUTE_DIRECTORY);
        const DWORD dstAttr = GetFileAttributesA(dst.c_str());
        if (dstAttr != INVALID_FILE_ATTRIBUTES && SameFile(src, dst)) {
            CurrentPrompter().MessageDlg(dst + "はコピー元と同じファイルです。", MsgType::Warning, MsgButtons::Ok);
            return crNoDestination;
        }
        if (dstAttr != INVALID_FILE_ATTRIBUTES && !(dstAttr & FILE_ATTRIBUTE_DIRECTORY)) {
            if (srcIsDir) {
                CurrentPrompter().ShowMessage(
                    "ＥＲＲＯＲ！\r\nコピー先にコピー元のディレクトリと同名のファイルがあります。>" + dst);
                return crNoDestination;
            }
            if (CurrentPrompter().MessageDlg(dst + "は既に存在します。上書きしますか？", MsgType::Warning,
                                             MsgButtons::YesCancel) != mrYes) {
                return crAborted;
            }
            // The old file stays until the copy replaces it: a failed copy
            // loses nothing. The user has answered, so the platform need not ask.
            flags = FOF_NOCONFIRMATION;
        }
        if (srcIsDir) {
            std::vector<std::string> names;
            TFileCopy::AddAllFileNames(src, names);
            TFileCopy local;
            if (!engine) {
                UseCopyDialog(local);
                engine = &local;
            }
            const HWND previousOwner = engine->owner;
            engine->owner = owner;
            engine->CopyX(names, src, cmAsk, dst);
            engine->owner = previousOwner;
            return names.empty() ? crOk : engine->Result();
        }
    }
    std::string dir = ExtractFilePath(dst);
    if (!EnsureDirectory(dir)) return crNoDestination;
    dst = dir + ExtractFileName(dst);
    return RunPlatform(owner, FO_COPY, TerminateNulList(src), TerminateNulList(dst), flags);
}

}  // namespace kestrum
