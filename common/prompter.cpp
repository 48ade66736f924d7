// Prompter selection.
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

MsgResult FirstButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return mrOk;
    default: return mrYes;
    }
}

Prompter* SetPrompter(Prompter* p) {
    Prompter* prev = g_prompter;
    g_prompter = p;
    return prev;
}

bool Prompter::AskLine(LineQuestion&) { return false; }

int Prompter::MessageDlgCaption(std::string_view, std::string_view text, MsgType type, MsgButtons buttons) {
    return MessageDlg(text, type, buttons);
}

ListPick Prompter::ShowList(const std::vector<std::string>&, ListStyle, bool) { return ListPick{}; }

}  // namespace kestrum
