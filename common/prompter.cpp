// Prompter selection and the scripted prompter.
#include "common/prompter.h"

namespace kestrum {

Prompter& PlatformPrompter();  // prompter_win.cpp, or a silent one natively

namespace {
Prompter* g_prompter = nullptr;
}

std::string_view MsgCaption(MsgType type) {
    switch (type) {
    case MsgType::Warning: return "警告";
    case MsgType::Error: return "エラー";
    case MsgType::Information: return "情報";
    case MsgType::Confirmation: return "確認";
    case MsgType::Plain: return "Kestrum";
    }
    return "Kestrum";
}

Prompter& CurrentPrompter() { return g_prompter ? *g_prompter : PlatformPrompter(); }

Prompter* SetPrompter(Prompter* p) {
    Prompter* prev = g_prompter;
    g_prompter = p;
    return prev;
}

bool Prompter::AskLine(LineQuestion&) { return false; }

int Prompter::MessageDlgCaption(std::string_view, std::string_view text, MsgType type, MsgButtons buttons) {
    return MessageDlg(text, type, buttons);
}

int ScriptedPrompter::MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type,
                                        MsgButtons buttons) {
    const int r = MessageDlg(text, type, buttons);
    asked_.back().caption = std::string(caption);
    return r;
}

ListPick Prompter::ShowList(const std::vector<std::string>&, ListStyle, bool) { return ListPick{}; }

void ScriptedPrompter::Clear() {
    answers_.clear();
    lineAnswers_.clear();
    listAnswers_.clear();
    asked_.clear();
    lineAsked_.clear();
    listsShown_.clear();
}

bool ScriptedPrompter::AskLine(LineQuestion& q) {
    lineAsked_.push_back(q);
    lineAsked_.back().history = nullptr;
    lineAsked_.back().registered = nullptr;
    if (lineAnswers_.empty()) return false;
    std::optional<std::string> a = std::move(lineAnswers_.front());
    lineAnswers_.pop_front();
    if (!a) return false;
    q.text = *a;
    return true;
}

ListPick ScriptedPrompter::ShowList(const std::vector<std::string>& rows, ListStyle, bool) {
    listsShown_.push_back(rows);
    if (listAnswers_.empty()) return ListPick{};
    ListPick p = std::move(listAnswers_.front());
    listAnswers_.pop_front();
    return p;
}

int ScriptedPrompter::MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) {
    asked_.push_back({std::string(text), std::string(MsgCaption(type)), type, buttons});
    if (!answers_.empty()) {
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return mrOk;
    default: return mrYes;
    }
}

}  // namespace kestrum
