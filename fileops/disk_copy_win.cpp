// TDiskCopy.
#include "fileops/disk_copy_win.h"

#include "common/handles_win.h"
#include "common/prompter.h"

namespace kestrum {

namespace {
// The platform's run-from-command-line form.
using RunDllEntry = void(CALLBACK*)(HWND, HINSTANCE, LPSTR, int);
}  // namespace

void TDiskCopy::Execute(int drive) {
    Prompter& p = CurrentPrompter();
    Module lib(library_);
    if (!lib.Loaded()) {
        p.ShowMessage("DiskCopy.Dllが見つかりません。");
        return;
    }
    const Export<RunDllEntry> entry = lib.Find<RunDllEntry>("DiskCopyRunDll");
    if (!entry) {
        p.ShowMessage("実装エラー:DiskCopyDlg");
        return;
    }
    if (!owner_ || !IsWindow(owner_)) {
        p.ShowMessage("オーナーがフォームではありません");
        return;
    }
    std::string arg = std::to_string(drive);
    entry.fn(owner_, GetModuleHandleA(nullptr), arg.data(), SW_SHOW);
}

}  // namespace kestrum
