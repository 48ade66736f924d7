// The services in force and the do-nothing ones that stand in for a
// missing implementation.
#include "config/services.h"

#include "config/session.h"

namespace kestrum {

namespace {

Services& Installed() {
    static Services services;
    return services;
}

template <typename T>
T& OrNone(T* installed) {
    static T none;
    return installed ? *installed : none;
}

}  // namespace

Services InstallServices(const Services& services) {
    const Services previous = Installed();
    Installed() = services;
    return previous;
}

const Services& InstalledServices() { return Installed(); }

CommandService& TheCommands() { return OrNone(Installed().commands); }
FilerService& TheFiler() { return OrNone(Installed().filer); }
ShellWindowService& TheShellWindow() { return OrNone(Installed().shell); }
ViewerService& TheViewers() { return OrNone(Installed().viewers); }
ArchiveService& TheArchives() { return OrNone(Installed().archives); }
ApplicationService& TheApplication() { return OrNone(Installed().application); }

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
