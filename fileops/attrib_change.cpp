// The attribute dialog's loop over the selected entries.
#include "fileops/attrib_change.h"

#include "common/sjis.h"
#include "fileops/file_questions.h"

namespace kestrum {

int RunAttribChange(const std::vector<std::string>& paths, AttribFiles& io) {
    int set = 0;
    std::optional<unsigned> forAll;
    for (const std::string& path : paths) {
        if (!forAll) {
            const unsigned now = io.Get(path).value_or(0);
            const FileOpQuestions::AttribAnswer a = FileOpAsk().AskAttributes(ExtractFileName(path), now);
            if (a.result == FileOpQuestions::fdAll) forAll = a.attributes & kAttribDialogBits;
            else if (a.result != FileOpQuestions::fdOk) break;
            if (io.Set(path, forAll ? *forAll : a.attributes & kAttribDialogBits)) ++set;
            continue;
        }
        if (io.Set(path, *forAll)) ++set;
    }
    return set;
}

}  // namespace kestrum
