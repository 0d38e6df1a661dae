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

// The value of attribute name="..." in the tag at the start of tag.
double attribute(std::string_view tag, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos)
        return 0;
    return std::strtod(std::string(tag.substr(at + key.size(), 32)).c_str(), nullptr);
}

std::string unescaped(std::string_view text) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
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

std::vector<PdfPage> pdfWords(const std::string& path) {
    const std::string html = commandOutput("pdftotext -bbox '" + path + "' - 2>/dev/null");
    std::vector<PdfPage> pages;
    for (std::size_t at = 0; (at = html.find('<', at)) != std::string::npos; ++at) {
        const std::string_view tag = std::string_view(html).substr(at, html.find('>', at) - at);
        if (tag.starts_with("<page ")) {
            pages.push_back({attribute(tag, "width"), attribute(tag, "height"), {}});
        } else if (tag.starts_with("<word ") && !pages.empty()) {
            const std::size_t textAt = at + tag.size() + 1;
            const std::size_t end = html.find("</word>", textAt);
            if (end == std::string::npos)
                break;
            pages.back().words.push_back(
                {unescaped(std::string_view(html).substr(textAt, end - textAt)),
                 attribute(tag, "xMin"), attribute(tag, "yMin")});
        }
    }
    return pages;
}

} // namespace lorvenna
