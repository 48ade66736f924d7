// Where a subsystem's own questions to the user are found. The prompter
// asks the general ones (a message, a line, a list, a directory, a pop-up
// menu); every other question belongs to the subsystem that asks it, which
// declares its set in its own core as a class of virtual functions whose
// defaults cancel, as the program without its windows must. The subsystem's
// Win32 layer answers them with its dialogs, the application installs those
// at start, and tests install scripted fakes. Nothing here knows a
// subsystem: a new one adds its set without touching this folder.
#pragma once

#include "common/installed.h"

namespace kestrum {

// The set in force: the one installed last and still installed, else the
// defaults (every question cancelled).
template <typename Questions>
Questions& CurrentQuestions() {
    static Questions defaults;
    return InstalledOr<Questions>(defaults);
}

// Installs q as the set Questions (named explicitly: a fake derived from it
// installs as its base) until the subscription goes.
template <typename Questions>
[[nodiscard]] Subscription InstallQuestions(std::type_identity_t<Questions>& q) {
    return Install<Questions>(q);
}

}  // namespace kestrum
