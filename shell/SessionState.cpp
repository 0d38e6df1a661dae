// The run's one SessionState and the reference-space conversions.
#include "shell/SessionState.h"

#include <numbers>

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
    // The state kept outside the record (folder listings, mounted drives, text layouts)
    // checks itself against what it caches, and live items unregister themselves.
}

int scaleX(int x) {
    return static_cast<int>(x * session().scaleX);
}
int scaleY(int y) {
    return static_cast<int>(y * session().scaleY);
}
int scaleSize(int size) {
    return static_cast<int>(size * session().scaleDiag);
}
double scaleX(double x) {
    return x * session().scaleX;
}
double scaleY(double y) {
    return y * session().scaleY;
}
double scaleSize(double size) {
    return size * session().scaleDiag;
}
double degreesToRadians(double degrees) {
    return -degrees * 2.0 * std::numbers::pi / 360.0;
}
double radiansToDegrees(double radians) {
    return -radians * 360.0 / (2.0 * std::numbers::pi);
}

} // namespace lorvenna
