#include "shell/Session.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/ScreenScale.h"

namespace lorvenna {

namespace {
Session* g_session = new Session();
}

Session& session() {
    return *g_session;
}

void resetSession() {
    *g_session = Session(); // in place: a test's objects may hold the student

    resetRunObjects();
    screenScale() = ScreenScale{};
    installAppServices(nullptr);
    // The state kept elsewhere (folder listings, mounted drives, text layouts) checks itself
    // against what it caches, and live items unregister themselves.
}

} // namespace lorvenna
