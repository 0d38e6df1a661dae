// Registration of the compiled-in resources, which a static library cannot do by itself.
#include "platform/ProgramResources.h"

#include <QIcon>

// Outside any namespace, as the resource macro requires.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace lorvenna {

void loadProgramResources() {
    static const bool registered = (registerResources(), true);
    (void)registered;
}

QIcon programIcon() {
    loadProgramResources();
    return QIcon(QStringLiteral(":/icons/lorvenna.png"));
}

} // namespace lorvenna
