// The semicolon option: marker line and comment cut of the settings file.
#include "config/semicolon_option.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/settings_file.h"
#include "config/text_file.h"

namespace kestrum {

void CutCfgComments(std::vector<std::string>& lines) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    bool inCommands = false;
    for (const std::string& line : lines) {
        // Sections are recognised as the loader saw them before the cut.
        const std::string n = NormalizeLine(line, false);
        if (n == "[内部コマンド]") {
            inCommands = true;
        } else if (inCommands && (n == "[END]" || IsKnownSectionHeader(n))) {
            inCommands = false;
        }
        if (line == kCfgMarker) {
            out.push_back(line);
            continue;
        }
        const std::string cut = CutComment(line, false);
        const bool emptied = cut.size() != line.size() && Trim(cut).empty();
        if (emptied && !inCommands) continue;
        out.push_back(cut);
    }
    lines = std::move(out);
}

SemicolonOutcome TurnOnSemicolonOption(const std::string& settingsPath, Settings& s) {
    Prompter& ask = CurrentPrompter();
    if (ask.MessageDlg(kSemicolonQuestion, MsgType::Confirmation, MsgButtons::YesNo) != mrYes) return {};

    TSettingsFile f(settingsPath, s.semicolonMode);
    f.InsertMarker();
    if (!f.SaveOrSay()) return {};
    s.semicolonMode = true;
    SemicolonOutcome out{true, true};
    if (s.cutComment) return out;

    const int r = ask.MessageDlg(kCutCommentQuestion, MsgType::Confirmation, MsgButtons::YesNoCancel);
    if (r == mrCancel) {
        out.ticked = false;  // the marker stays in the file
        return out;
    }
    if (r != mrYes) return out;
    CutCfgComments(f.MutableLines());
    if (f.SaveOrSay()) s.cutComment = true;
    return out;
}

}  // namespace kestrum
