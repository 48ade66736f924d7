// TFileCopy: the copy engine's batches handed to the platform's file
// operation.
#include "fileops/file_copy_win.h"

#include <shellapi.h>

#include "common/file_system_win.h"
#include "common/prompter.h"
#include "fileops/shell_file_op_win.h"

namespace kestrum {

namespace {

constexpr FILEOP_FLAGS kTransferFlags = FOF_MULTIDESTFILES | FOF_NOCONFIRMATION | FOF_FILESONLY;  // 0x91
constexpr FILEOP_FLAGS kDeleteFlags = FOF_NOCONFIRMATION | FOF_FILESONLY;                         // 0x90

}  // namespace

// The batches are this object's own, a base made before the engine.
TFileCopy::TFileCopy() : FileCopyEngine(CurrentFileSystem(), *this) {}

void TFileCopy::AddAllFileNames(std::string_view dir, std::vector<std::string>& list) {
    FileCopyEngine::AddAllFileNames(CurrentFileSystem(), dir, list);
}

TransferBatches::Outcome TFileCopy::Perform(Kind kind, const std::string& from, const std::string& to,
                                            const std::string& title) {
    ShellFileRequest r;
    r.owner = owner;
    r.func = kind == kCopy ? FO_COPY : kind == kMove ? FO_MOVE : FO_DELETE;
    r.from = from;
    r.to = to;
    r.flags = kind == kDelete ? kDeleteFlags : kTransferFlags;
    r.title = title;
    const ShellFileResult result = CurrentShellFileOp().Run(r);
    return Outcome{result.code, result.aborted};
}

void UseCopyDialog(TFileCopy& engine, std::string prefix) {
    engine.OnSameName = [&engine, prefix = std::move(prefix)](const std::string&, CopyMode& mode) {
        mode = FileOpAsk().AskCopyMode(prefix, engine.State());
        if (mode == cmCancel) engine.Cancel();
    };
}

}  // namespace kestrum
