// The Windows tests run over the platform's prompter and file commit, as the
// program does: a message box opened by mistake is caught by the test
// main's safety net, and a save replaces its file in one step.
#include <vector>

#include "app/app_win.h"

namespace {

const std::vector<kestrum::Subscription> g_platform = kestrum::InstallPlatform();

}  // namespace
