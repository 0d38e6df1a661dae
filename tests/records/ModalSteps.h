// Acting as the user on the modal dialogs a function opens: each step waits until its
// dialog is the active modal one and its condition holds, then acts on it.
#pragma once

#include "shell/Session.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace lorvenna {

// The test fails, naming the step, when run() returns with a step that never acted, or when
// a dialog stayed open without a step acting on it and was given up.
class ModalSteps {
public:
    using Ready = std::function<bool(QWidget&)>;
    using Act = std::function<void(QWidget&)>;

    // A step named for the failure message, for the modal dialog of type T.
    template <typename T>
    void then(std::string name, std::function<bool(T&)> ready, std::function<void(T&)> act) {
        steps_.push_back({std::move(name),
                          [ready](QWidget& w) {
                              auto* t = dynamic_cast<T*>(&w);
                              return t && ready(*t);
                          },
                          [act](QWidget& w) { act(*dynamic_cast<T*>(&w)); }});
    }
    template <typename T> void then(std::string name, std::function<void(T&)> act) {
        then<T>(
            std::move(name), [](T&) { return true; }, std::move(act));
    }

    // Runs the function with the steps acting on its dialogs. A dialog that no step takes
    // within the poll limit is closed, so a failing test ends. Without steps, a dialog
    // that stays open is a failure. A function that takes the student is given the session's.
    template <typename Open> auto run(Open open) {
        const Report report(*this);
        const std::unique_ptr<QTimer> polling = startPolling();
        if constexpr (std::is_invocable_v<Open, Student&>)
            return open(session().student);
        else
            return open();
    }

private:
    // Reports what went wrong once run() is over, however open() returned.
    struct Report {
        explicit Report(ModalSteps& steps) : steps(steps) {}
        ~Report() { steps.report(); }
        ModalSteps& steps;
    };

    std::unique_ptr<QTimer> startPolling();
    void poll();
    void report();

    struct Step {
        std::string name;
        Ready ready;
        Act act;
        bool ran = false;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int polls_ = 0;         // since a step last acted
    bool starting_ = false; // a step's action waits to run
    std::vector<std::string> givenUp_;
};

// Presses a key on a widget, with the text of the key.
void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QWidget* widget, const std::string& text);

// The pages of a PDF file as text (pdftotext), one string per page.
std::vector<std::string> pdfPages(const std::string& path);

// A word of a printed page and its box, in points from the page's top left corner.
struct PdfWord {
    std::string text;
    double left = 0;
    double top = 0;
};
struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<PdfWord> words;
};
// The pages of a PDF file with every word where it stands (pdftotext -bbox).
std::vector<PdfPage> pdfWords(const std::string& path);

} // namespace lorvenna
