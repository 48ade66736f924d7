// The one session of the running program.
#include "config/session.h"

namespace kestrum {

Session& TheSession() {
    static Session session;
    return session;
}

}  // namespace kestrum
