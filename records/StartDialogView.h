// The start dialog's window: the picture, the message area, the ID and password fields and
// the buttons, laid out in dialog units. The steps live in StartSteps.
#pragma once

#include "records/StartSteps.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lorvenna {

class StartDialogView : public QDialog, private StartView {
public:
    explicit StartDialogView(Student& student, QWidget* parent = nullptr);

    // Shows the dialog and runs it until a step ends it; returns the step machine's result.
    StateCode run();

    StartSteps& steps() { return steps_; }

    // Control ids of the dialog template.
    static constexpr int kPictureId = 209;
    static constexpr int kMessageId = 201;
    static constexpr int kIdFieldId = 202;
    static constexpr int kPasswordFieldId = 203;
    static constexpr int kUngradedId = 204;
    static constexpr int kWithGradesId = 205;
    static constexpr int kReadGradesId = 206;
    static constexpr int kReadNotesId = 207;
    static constexpr int kQuitId = 2;
    static constexpr int kHelpId = 210;
    static constexpr int kAboutId = 211;
    // The widget of a control, found by its id (nullptr when there is none).
    QWidget* control(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // StartView
    void showIdField(bool shown) override;
    void showPasswordField(bool shown) override;
    std::string idText() const override;
    std::string passwordText() const override;
    void clearIdField() override;
    void clearPasswordField() override;
    void focusIdField() override;
    void focusPasswordField() override;
    void setWindowText(std::string_view text) override;
    void setMessage(std::string_view text) override;
    void postStep(StartStep step) override;
    void endDialog(StateCode result) override;

    QPushButton* addButton(int id, const char* caption, int x, int y, int w, int h);
    QLabel* addStatic(const char* text, int x, int y, int w, int h);

    StartSteps steps_;
    QLabel* message_ = nullptr;
    QLineEdit* idField_ = nullptr;
    QLineEdit* passwordField_ = nullptr;
};

} // namespace lorvenna
