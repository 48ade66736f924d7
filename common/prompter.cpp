// Prompter selection.
#include "common/prompter.h"

#include "common/installed.h"

namespace kestrum {

namespace {

// Without a window system nothing can be asked: every message gets its
// first button and every other question is cancelled, so that nothing ever
// waits.
class SilentPrompter : public Prompter {
public:
    int MessageDlg(std::string_view, MsgType, MsgButtons buttons) override { return FirstButton(buttons); }
};

}  // namespace

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

Prompter& CurrentPrompter() {
    static SilentPrompter silent;
    return InstalledOr<Prompter>(silent);
}

Subscription InstallPrompter(Prompter& p) { return Install<Prompter>(p); }

MsgResult FirstButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return mrOk;
    default: return mrYes;
    }
}

bool Prompter::AskLine(LineQuestion&) { return false; }

int Prompter::MessageDlgCaption(std::string_view, std::string_view text, MsgType type, MsgButtons buttons) {
    return MessageDlg(text, type, buttons);
}

ListPick Prompter::ShowList(const std::vector<std::string>&, ListStyle, bool) { return ListPick{}; }

}  // namespace kestrum
