// ScriptedPrompter: the script's answers and the record of the questions.
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {

int ScriptedPrompter::MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) {
    asked_.push_back({std::string(text), std::string(MsgCaption(type)), type, buttons});
    if (answers_.empty()) return FirstButton(buttons);
    return NextAnswer(answers_);
}

int ScriptedPrompter::MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type,
                                        MsgButtons buttons) {
    const int r = MessageDlg(text, type, buttons);
    asked_.back().caption = std::string(caption);
    return r;
}

bool ScriptedPrompter::AskLine(LineQuestion& q) {
    lineAsked_.push_back(q);
    lineAsked_.back().history = nullptr;
    lineAsked_.back().registered = nullptr;
    const std::optional<std::string> a = NextAnswer(lineAnswers_);
    if (!a) return false;
    q.text = *a;
    return true;
}

ListPick ScriptedPrompter::ShowList(const std::vector<std::string>& rows, ListStyle, bool) {
    listsShown_.push_back(rows);
    return NextAnswer(listAnswers_);
}

int ScriptedPrompter::AskPopupMenu(void* menu, int, int, void*) {
    ++popupMenusShown_;
    if (onPopupMenu) onPopupMenu(menu);
    return NextAnswer(menuAnswers_);
}

void ScriptedPrompter::Clear() {
    answers_.clear();
    lineAnswers_.clear();
    listAnswers_.clear();
    asked_.clear();
    lineAsked_.clear();
    listsShown_.clear();
}

}  // namespace kestrum
