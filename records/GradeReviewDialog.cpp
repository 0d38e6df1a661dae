// The grade review's window.
#include "records/GradeReviewDialog.h"

#include "records/DialogControls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 314;
constexpr int kHeightUnits = 218;
// Room for the longest name the save field reads, and more, so a long entry is cut, not
// refused.
constexpr int kSaveFieldLimit = 250;

} // namespace

GradeReviewDialog::GradeReviewDialog(Student& student, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), steps_(*this, student) {
    setUpDialog(*this, kWidthUnits, kHeightUnits);
    // Not shown without a caption bar; window lists and screen readers name the dialog by it.
    setWindowTitle(QStringLiteral("Lorvenna: Grades"));
    status_ = addFramedStatus(*this, kStatusId);

    auto button = [this](int id, const char* caption, int x, int y, int w, int h,
                         void (GradeReviewSteps::*act)()) {
        connect(addButton(*this, id, caption, x, y, w, h), &QPushButton::clicked, this,
                [this, act] { (steps_.*act)(); });
    };
    button(kMainMenuId, "&Main menu", 4, 60, 48, 12, &GradeReviewSteps::mainMenu);
    auto* nameLabel = new QLabel(QStringLiteral("Name:"), this);
    nameLabel->setObjectName(controlName(kNameLabelId));
    nameLabel->setGeometry(controlRect(68, 60, 24, 12));
    nameLabel->setAlignment(Qt::AlignCenter);
    name_ = new QLineEdit(this);
    name_->setObjectName(controlName(kNameFieldId));
    name_->setGeometry(controlRect(92, 60, 120, 12));
    button(kNewDiskId, "&New disk", 248, 60, 48, 12, &GradeReviewSteps::newDisk);

    list_ = new QListWidget(this);
    list_->setObjectName(controlName(kListId));
    list_->setGeometry(controlRect(4, 76, 308, 100));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    button(kHelpId, "&Help", 4, 186, 56, 14, &GradeReviewSteps::help);
    button(kPrintId, "&Print", 68, 186, 56, 14, &GradeReviewSteps::print);
    auto* saveLabel = new QLabel(QStringLiteral("&Save to file:"), this);
    saveLabel->setGeometry(controlRect(136, 186, 48, 12));
    save_ = new QLineEdit(this);
    save_->setObjectName(controlName(kSaveFieldId));
    save_->setGeometry(controlRect(186, 186, 122, 12));
    save_->setMaxLength(kSaveFieldLimit);
    saveLabel->setBuddy(save_);
    connect(save_, &QLineEdit::returnPressed, this, [this] { steps_.saveToFile(); });
}

StateCode GradeReviewDialog::run() {
    // The disk is checked once the dialog is up, as a message it posts to itself.
    QMetaObject::invokeMethod(
        this, [this] { steps_.checkDisk(); }, Qt::QueuedConnection);
    exec();
    return steps_.ended() ? steps_.result() : StateCode::StartDialog;
}

void GradeReviewDialog::keyPressEvent(QKeyEvent* event) {
    // Enter acts in the save field only (its own signal); it never presses a button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void GradeReviewDialog::reject() {
    steps_.mainMenu();
}

void GradeReviewDialog::setStatus(std::string_view text) {
    status_->setText(latin1Text(text));
}

void GradeReviewDialog::setNameField(std::string_view text) {
    name_->setText(latin1Text(text));
}

std::string GradeReviewDialog::saveFieldText() const {
    return save_->text().toLatin1().toStdString();
}

void GradeReviewDialog::clearSaveField() {
    save_->clear();
}

void GradeReviewDialog::focusSaveField() {
    save_->setFocus();
}

void GradeReviewDialog::showLines(const std::vector<std::string>& lines) {
    list_->clear();
    for (const std::string& line : lines)
        list_->addItem(latin1Text(line));
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    list_->setFocus();
}

void GradeReviewDialog::endDialog(StateCode result) {
    done(static_cast<int>(result));
}

} // namespace lorvenna
