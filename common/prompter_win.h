// The platform's prompter: message boxes owned by the active window, pop-up
// menus through the platform's menu tracking.
#pragma once

#include "common/prompter.h"

namespace kestrum {

// The one platform prompter of the program; the application installs it at
// start-up, and the window prompter falls back on it.
Prompter& PlatformPrompter();

}  // namespace kestrum
