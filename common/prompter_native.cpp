// Without a window system nothing can be asked: every message gets its
// first button and every other question is cancelled, so host-built tools
// and tests never wait.
#include "common/prompter.h"

namespace kestrum {

namespace {

class SilentPrompter : public Prompter {
public:
    int MessageDlg(std::string_view, MsgType, MsgButtons buttons) override { return FirstButton(buttons); }
};

}  // namespace

Prompter& PlatformPrompter() {
    static SilentPrompter silent;
    return silent;
}

}  // namespace kestrum
