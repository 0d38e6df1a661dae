// Acting on modal dialogs as the user would, and reading printed PDF files back.
#include "tests/records/ModalSteps.h"

#include "tests/support/ModalDriver.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <typeinfo>

namespace lorvenna {

namespace {

// Polls of a dialog without a step acting on it before it is given up: a few seconds.
constexpr int kPollLimit = 20000;

std::string typeName(const QWidget& widget) {
    const char* mangled = typeid(widget).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

std::string commandOutput(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, got);
        ::pclose(pipe);
    }
    return text;
}

} // namespace

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
    if (++polls_ > kPollLimit) {
        givenUp_.push_back(typeName(*modal) +
                           (next_ < steps_.size()
                                ? " waiting for step \"" + steps_[next_].name + "\""
                                : std::string(" with no step left for it")));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        polls_ = 0;
        return;
    }
    if (starting_ || next_ == steps_.size() || !steps_[next_].ready(*modal))
        return;
    // Acted on after the poll has returned: a step that opens another modal dialog runs
    // its loop there, and the timer, which does not fire inside its own slot, can act on it.
    starting_ = true;
    polls_ = 0;
    QPointer<QWidget> dialog(modal);
    const std::size_t index = next_++;
    QTimer::singleShot(0, modal, [this, dialog, index] {
        starting_ = false;
        if (!dialog)
            return;
        steps_[index].ran = true;
        steps_[index].act(*dialog);
    });
}

void ModalSteps::report() {
    for (const std::string& dialog : givenUp_)
        ADD_FAILURE() << "gave up the dialog " << dialog << " after " << kPollLimit << " polls";
    for (const Step& step : steps_) {
        if (!step.ran)
            ADD_FAILURE() << "scripted step \"" << step.name << "\" never ran";
    }
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
    const std::string text = commandOutput("pdftotext -layout '" + path + "' - 2>/dev/null");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t cut; (cut = text.find('\f', start)) != std::string::npos; start = cut + 1)
        pages.push_back(text.substr(start, cut - start));
    return pages;
}

} // namespace lorvenna
