// The page size and full screen the user chose, remembered for each course folder.
#include "shell/PageChoiceStore.h"

#include <QSettings>
#include <QUrl>

namespace lorvenna {

namespace {

// One group a course: the folder's path, escaped so that its slashes make no subgroups.
QString groupFor(const std::string& folder) {
    return QStringLiteral("page/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(folder)));
}

} // namespace

PageChoice loadPageChoice(QSettings& settings, const std::string& folder) {
    settings.beginGroup(groupFor(folder));
    PageChoice choice;
    choice.fit = settings.value(QStringLiteral("size")).toString() == QStringLiteral("actual")
                     ? PageFit::Actual
                     : PageFit::Fit;
    choice.fullScreen = settings.value(QStringLiteral("fullScreen"), false).toBool();
    settings.endGroup();
    return choice;
}

void savePageChoice(QSettings& settings, const std::string& folder, const PageChoice& choice) {
    settings.beginGroup(groupFor(folder));
    settings.setValue(QStringLiteral("size"), choice.fit == PageFit::Actual
                                                  ? QStringLiteral("actual")
                                                  : QStringLiteral("fit"));
    settings.setValue(QStringLiteral("fullScreen"), choice.fullScreen);
    settings.endGroup();
    settings.sync();
}

} // namespace lorvenna
