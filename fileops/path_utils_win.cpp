// Path utilities on the platform's file system, and the question that
// makes a missing directory.
#include "fileops/path_utils.h"

#include "common/file_system_win.h"
#include "common/prompter.h"

namespace kestrum {

std::string FullPathName(std::string_view path) { return CurrentFileSystem().FullPath(std::string(path)); }

bool DirExists(std::string_view path) { return DirExists(CurrentFileSystem(), path); }

bool FileExists(std::string_view path) { return FileExists(CurrentFileSystem(), path); }

bool ForceDirs(std::string_view path) { return ForceDirs(CurrentFileSystem(), path); }

bool DirHasEntries(std::string_view dir) { return DirHasEntries(CurrentFileSystem(), dir); }

std::optional<FileId> GetFileId(std::string_view path) { return CurrentFileSystem().Identity(std::string(path)); }

bool SameFile(std::string_view a, std::string_view b) { return SameFile(CurrentFileSystem(), a, b); }

bool IsInsideDirectory(std::string_view path, std::string_view dir) {
    return IsInsideDirectory(CurrentFileSystem(), path, dir);
}

bool EnsureDirectory(std::string& path) {
    path = ExcludeTrailingBackslash(FullPathName(path));
    bool ok = false;
    if (path.empty()) {
        ok = false;
    } else if (DirExists(path)) {
        ok = true;
    } else if (CurrentPrompter().MessageDlg("ディレクトリ" + path + "が存在しません。\r\n作りますか？",
                                            MsgType::Confirmation, MsgButtons::YesCancel) == mrYes) {
        ok = ForceDirs(path);
        if (!ok) CurrentPrompter().ShowMessage("ディレクトリの作成に失敗しました。");
    }
    path = IncludeTrailingBackslash(path);
    return ok;
}

}  // namespace kestrum
