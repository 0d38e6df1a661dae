// Acting as the user on the modal dialogs a function opens: each step waits until its
// dialog is the active modal one and its condition holds, then acts on it.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lorvenna {

class ModalSteps {
public:
    using Ready = std::function<bool(QWidget&)>;
    using Act = std::function<void(QWidget&)>;

    // A step for the modal dialog of type T.
    template <typename T> void then(std::function<bool(T&)> ready, std::function<void(T&)> act) {
        steps_.push_back({[ready](QWidget& w) {
                              auto* t = dynamic_cast<T*>(&w);
                              return t && ready(*t);
                          },
                          [act](QWidget& w) { act(*dynamic_cast<T*>(&w)); }});
    }
    template <typename T> void then(std::function<void(T&)> act) {
        then<T>([](T&) { return true; }, std::move(act));
    }

    // Runs the function with the steps acting on its dialogs. A step that never comes
    // closes the dialog in front, so a failing test ends.
    template <typename Open> auto run(Open open) {
        const std::unique_ptr<QTimer> polling = startPolling();
        return open();
    }
    bool finished() const { return next_ == steps_.size(); }

private:
    std::unique_ptr<QTimer> startPolling();
    void poll();

    struct Step {
        Ready ready;
        Act act;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int polls_ = 0;
    bool starting_ = false; // a step's action waits to run
};

// Presses a key on a widget, with the text of the key.
void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QWidget* widget, const std::string& text);

// The pages of a PDF file as text (pdftotext), one string per page.
std::vector<std::string> pdfPages(const std::string& path);

} // namespace lorvenna
