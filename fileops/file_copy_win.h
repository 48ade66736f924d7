// TFileCopy: the copy engine (file_copy.h) on the platform's file system,
// handing its batches to the platform's file operation with its progress
// display.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "fileops/file_copy.h"

namespace kestrum {

class TFileCopy : private TransferBatches, public FileCopyEngine {
public:
    TFileCopy();

    // Appends the name of every entry of dir (hidden ones too, not "." and
    // ".."), in the order the platform's directory search returns them.
    static void AddAllFileNames(std::string_view dir, std::vector<std::string>& list);

    // Owner of the platform's progress display and questions.
    HWND owner = nullptr;

private:
    Outcome Perform(Kind kind, const std::string& from, const std::string& to, const std::string& title) override;
};

// Makes engine ask the collision dialog through the current prompter, with
// prefix ahead of the caption; a cancelled dialog cancels the operation.
void UseCopyDialog(TFileCopy& engine, std::string prefix = "Kestrum");

}  // namespace kestrum
