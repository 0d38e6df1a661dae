// Acting on modal dialogs as the user would, and reading printed PDF files back.
#include "tests/records/ModalSteps.h"

#include "tests/support/ModalDriver.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace lorvenna {

std::unique_ptr<QTimer> ModalSteps::startPolling() {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(0);
    QObject::connect(timer.get(), &QTimer::timeout, [this] { poll(); });
    timer->start();
    return timer;
}

void ModalSteps::poll() {
    QWidget* modal = activeModal();
    if (!modal)
        return;
    if (++polls_ > 20000) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        polls_ = 0;
        return;
    }
    if (starting_ || finished() || !steps_[next_].ready(*modal))
        return;
    // Acted on after the poll has returned: a step that opens another modal dialog runs
    // its loop there, and the timer, which does not fire inside its own slot, can act on it.
    starting_ = true;
    QPointer<QWidget> dialog(modal);
    const Act act = steps_[next_++].act;
    QTimer::singleShot(0, modal, [this, dialog, act] {
        starting_ = false;
        if (dialog)
            act(*dialog);
    });
}

void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(widget, &press);
}

void typeText(QWidget* widget, const std::string& text) {
    for (char c : text) {
        const QString s = QString::fromLatin1(&c, 1);
        const int key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, s);
        QCoreApplication::sendEvent(widget, &press);
    }
}

std::vector<std::string> pdfPages(const std::string& path) {
    std::string text;
    const std::string command = "pdftotext -layout '" + path + "' - 2>/dev/null";
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, got);
        ::pclose(pipe);
    }
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t cut; (cut = text.find('\f', start)) != std::string::npos; start = cut + 1)
        pages.push_back(text.substr(start, cut - start));
    return pages;
}

} // namespace lorvenna
