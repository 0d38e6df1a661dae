// The run's one SessionState.
#include "shell/SessionState.h"

#include "shell/AppServices.h"

namespace lorvenna {

namespace {
SessionState* g_session = new SessionState();
}

SessionState& session() {
    return *g_session;
}

void resetSession() {
    delete g_session;
    g_session = new SessionState();
    screenScale() = ScreenScale{};
    installAppServices(nullptr);
    // The state kept outside the record (folder listings, mounted drives, text layouts)
    // checks itself against what it caches, and live items unregister themselves.
}

} // namespace lorvenna
