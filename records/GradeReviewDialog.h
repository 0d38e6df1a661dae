// The grade review's window over its steps: the status in its frame, the name field, the
// grade list, the save field and the buttons, laid out in dialog units.
#pragma once

#include "records/GradeReviewSteps.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace lorvenna {

class GradeReviewDialog : public QDialog, private GradeReviewView {
public:
    static constexpr int kStatusId = 220;
    static constexpr int kMainMenuId = 2;
    static constexpr int kNameLabelId = 221;
    static constexpr int kNameFieldId = 222;
    static constexpr int kNewDiskId = 226;
    static constexpr int kListId = 223;
    static constexpr int kHelpId = 227;
    static constexpr int kPrintId = 225;
    static constexpr int kSaveFieldId = 224;

    explicit GradeReviewDialog(Student& student, QWidget* parent = nullptr);

    // Shows the dialog, checks the disk once it is up, and returns the steps' result.
    StateCode run();
    GradeReviewSteps& steps() { return steps_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // GradeReviewView
    void setStatus(std::string_view text) override;
    void setNameField(std::string_view text) override;
    std::string saveFieldText() const override;
    void clearSaveField() override;
    void focusSaveField() override;
    void showLines(const std::vector<std::string>& lines) override;
    void endDialog(StateCode result) override;

    GradeReviewSteps steps_;
    QLabel* status_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* save_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace lorvenna
