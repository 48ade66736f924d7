// Installed implementations: the one way an interface gets the object that
// answers it. Whoever makes an implementation installs it and keeps the
// returned Subscription; the newest installation still kept is in force,
// and when it goes the one before it is in force again, in whatever order
// installations go. Tests install a fake for their scope the same way.
#pragma once

#include <type_traits>

#include "common/signal.h"

namespace kestrum {

// The installations of interface T.
template <typename T>
Registry<T*>& Installations() {
    static Registry<T*> registry;
    return registry;
}

// Installs impl as the T in force until the subscription goes (T named
// explicitly: a fake derived from it installs as its base).
template <typename T>
[[nodiscard]] Subscription Install(std::type_identity_t<T>& impl) {
    return Installations<T>().Register(&impl);
}

// The T in force, null when none is installed.
template <typename T>
T* Installed() {
    T* const* current = Installations<T>().Current();
    return current ? *current : nullptr;
}

// The T in force, else fallback.
template <typename T>
T& InstalledOr(std::type_identity_t<T>& fallback) {
    T* const current = Installed<T>();
    return current ? *current : fallback;
}

}  // namespace kestrum
