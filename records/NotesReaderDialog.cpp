// The notes reader's window.
#include "records/NotesReaderDialog.h"

#include "records/DialogControls.h"
#include "records/Help.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 314;
constexpr int kHeightUnits = 218;

} // namespace

NotesReaderDialog::NotesReaderDialog(Student& student, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), steps_(*this, student) {
    setUpDialog(*this, kWidthUnits, kHeightUnits);
    // Without a caption bar the title is not shown, but window lists and screen readers name
    // the dialog by it.
    setWindowTitle(QStringLiteral("Lorvenna: Notes"));
    status_ = addFramedStatus(*this, kStatusId);
    connect(addButton(*this, kQuitId, "&Quit", 4, 60, 36, 12), &QPushButton::clicked, this,
            [this] { steps_.quit(); });
    connect(addButton(*this, kPrintAllId, "&Print All", 238, 60, 72, 14), &QPushButton::clicked,
            this, [this] { steps_.printAll(); });

    list_ = new QListWidget(this);
    list_->setObjectName(controlName(kListId));
    list_->setGeometry(controlRect(4, 76, 308, 100));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->hide();
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { steps_.readNote(list_->row(item)); });
}

StateCode NotesReaderDialog::run() {
    QMetaObject::invokeMethod(
        this, [this] { steps_.start(); }, Qt::QueuedConnection);
    exec();
    return StateCode::StartDialog;
}

void NotesReaderDialog::reject() {
    steps_.quit();
}

void NotesReaderDialog::setStatus(std::string_view text) {
    status_->setText(latin1Text(text));
}

void NotesReaderDialog::showNotes(const std::vector<std::string>& names) {
    list_->clear();
    for (const std::string& name : names)
        list_->addItem(latin1Text(name));
    list_->show();
    list_->setCurrentRow(0);
    list_->setFocus();
}

void NotesReaderDialog::showNote(std::string_view text) {
    // The list had the keyboard when the line was chosen, and has it again after the note.
    list_->setFocus();
    showText(text, kNoteTitle);
}

void NotesReaderDialog::endDialog(StateCode result) {
    done(static_cast<int>(result));
}

} // namespace lorvenna
