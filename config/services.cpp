// The services in force and the do-nothing ones that stand in for a
// missing implementation.
#include "config/services.h"

#include "config/session.h"

namespace kestrum {

namespace {

// The service in force, or one that does nothing.
template <typename S>
S& OrNone() {
    static S none;
    return InstalledOr<S>(none);
}

}  // namespace

CommandService& TheCommands() { return OrNone<CommandService>(); }
FilerService& TheFiler() { return OrNone<FilerService>(); }
ShellWindowService& TheShellWindow() { return OrNone<ShellWindowService>(); }
ViewerService& TheViewers() { return OrNone<ViewerService>(); }
ArchiveService& TheArchives() { return OrNone<ArchiveService>(); }
ApplicationService& TheApplication() { return OrNone<ApplicationService>(); }

int Execute_t(const std::string& line) { return TheCommands().Execute(line); }

const std::string& CommandName(int n) { return CommandNameIn(TheSession().lists, n); }

bool HandleSystemMenuCommand(unsigned id) {
    switch (id) {
    case kSysMain: TheShellWindow().ShowShell(); return true;
    case kSysFiler: Execute_t(CommandName(cmdLS)); return true;
    case kSysImage: Execute_t(CommandName(cmdPVIEW)); return true;
    case kSysText: Execute_t(CommandName(cmdTVIEW)); return true;
    default: return false;
    }
}

}  // namespace kestrum
