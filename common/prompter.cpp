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

int ScriptedPrompter::MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) {
    asked_.push_back({std::string(text), type, buttons});
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
