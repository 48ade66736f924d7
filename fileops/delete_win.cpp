// DeleteToRecycleBin and EraseFiles.
#include "fileops/delete_win.h"

#include "common/pathlist.h"
#include "common/prompter.h"
#include "common/window_win.h"
#include "fileops/path_utils.h"
#include "fileops/remove_tree_win.h"
#include "fileops/shell_file_op_win.h"

namespace kestrum {

namespace {

bool IsExistingDirectory(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The emptied directories go; a file still in one stops the clean-up.
void RemoveEmptiedDirectories(const std::vector<std::string>& entries) {
    try {
        for (const std::string& e : entries) RemoveTree(e, false);
    } catch (const RemoveTreeStopped& stopped) {
        ShowErrorBox(stopped.what());
    }
}

int DeleteFiles(const std::vector<std::string>& files, HWND owner, bool byContent, FILEOP_FLAGS flags) {
    std::vector<std::string> entries;
    for (const std::string& f : files) {
        if (f.empty()) continue;
        const std::string full = FullPathName(f);
        entries.push_back(full.empty() ? f : full);
    }
    PathList list;
    if (byContent) {
        bool bareDirectory = false;
        for (const std::string& e : entries) {
            if (!IsExistingDirectory(e)) {
                list.Add(e);
                continue;
            }
            const std::vector<std::string> patterns = DirTreePatterns(e);
            if (patterns.empty()) bareDirectory = true;
            for (const std::string& p : patterns) list.Add(p);
        }
        if (bareDirectory &&
            CurrentPrompter().MessageDlg("削除します。よろしいですか？", MsgType::Warning, MsgButtons::OkCancel) != mrOk) {
            return 0;
        }
    } else {
        for (const std::string& e : entries) list.Add(e);
    }
    int result = 0;
    if (!list.Empty()) {
        ShellFileRequest request;
        request.owner = owner;
        request.func = FO_DELETE;
        request.from = list.Block();
        request.flags = flags;
        const ShellFileResult r = CurrentShellFileOp().Run(request);
        if (r.aborted) {
            CurrentPrompter().ShowMessage("中断しました");
            return 2;
        }
        result = r.code;
    }
    if (result == 0 && byContent) RemoveEmptiedDirectories(entries);
    return result;
}

}  // namespace

int DeleteToRecycleBin(const std::vector<std::string>& files, HWND owner, bool byContent) {
    return DeleteFiles(files, owner, byContent, FOF_ALLOWUNDO | FOF_FILESONLY);
}

int EraseFiles(const std::vector<std::string>& files, HWND owner, bool byContent) {
    return DeleteFiles(files, owner, byContent, FOF_FILESONLY);
}

}  // namespace kestrum
