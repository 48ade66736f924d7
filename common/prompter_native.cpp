// Without a window system nothing can be asked: every question gets its
// first button, so host-built tools and tests never wait.
#include "common/prompter.h"

namespace kestrum {

Prompter& PlatformPrompter() {
    static ScriptedPrompter silent;
    return silent;
}

}  // namespace kestrum
