// The questions the file operations ask: the collision policy of a copy or
// move, a file's new date and its new attributes. Answered by the dialogs of
// fileops/file_questions_win.h in the program and by scripted fakes in tests.
#pragma once

#include <string>
#include <string_view>

#include "common/questions.h"

namespace kestrum {

// Collision policies of the copy engine (its Mode), and the collision
// question's answer.
enum CopyMode : int {
    cmAsk = 0,        // ask OnSameName; without a handler the file is skipped
    cmCancel = cmAsk,  // the answer of a cancelled collision question
    cmNewer = 1,      // transfer only over an older file; a move deletes a source that is not newer
    cmRename = 2,     // ask a new name for each colliding file
    cmOverwrite = 3,  // overwrite every colliding file
    cmSkip = 4,       // leave every colliding file alone
};

class FileOpQuestions {
public:
    virtual ~FileOpQuestions() = default;

    // The collision dialog of the copy engine: prefix starts the caption,
    // state 1 means moving (else copying). The chosen policy, cmCancel on
    // cancel.
    virtual CopyMode AskCopyMode(std::string_view /*prefix*/, int /*state*/) { return cmCancel; }

    // Results of the date and attribute dialogs.
    enum FileDialogResult : int { fdOk = 1, fdCancel = 2, fdAll = 8 };
    struct DateAnswer {
        int result = fdCancel;
        std::string text;  // the "新" field on OK and ALL
    };
    // The date dialog for one file: its name (no directory), its stamp as
    // "yyyy/mm/dd hh:nn:ss" for "旧" and the preset of "新". Without a file
    // OK and ALL are disabled.
    virtual DateAnswer AskDate(std::string_view /*caption*/, std::string_view /*fileName*/,
                               std::string_view /*oldText*/, std::string_view /*newText*/, bool /*hasFile*/) {
        return {};
    }
    struct AttribAnswer {
        int result = fdCancel;
        unsigned attributes = 0;  // read-only, hidden, system, archive bits only
    };
    // The attribute dialog for one file, its boxes set from attributes.
    virtual AttribAnswer AskAttributes(std::string_view /*fileName*/, unsigned /*attributes*/) { return {}; }
};

// The file operations' questions in force.
inline FileOpQuestions& FileOpAsk() { return CurrentQuestions<FileOpQuestions>(); }

}  // namespace kestrum
