// The "Selecting lesson." dialog: shows a LessonList and turns the student's commands into
// the controller's next state.
#include "lesson/LessonSelectDialog.h"

#include "lesson/LessonList.h"
#include "platform/DialogUnits.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRect>

namespace lorvenna {

namespace {

QRect placeOf(int x, int y, int w, int h) {
    const Rect r = dialogRect(x, y, w, h);
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

LessonSelectDialog::LessonSelectDialog(const LessonList& lessons, Lesson& lesson, QWidget* parent)
    : QDialog(parent), lessons_(lessons), lesson_(lesson) {
    setWindowTitle(QStringLiteral("Selecting lesson."));
    setModal(true);
    setFixedSize(dialogUnitsX(314), dialogUnitsY(206));

    struct ButtonPlace {
        int id;
        const char* text;
        int x;
    };
    constexpr ButtonPlace buttons[] = {
        {kLessonStartId, "&Start", 4},
        {kLessonBookmarkId, "Start from &Bookmark", 80},
        {kLessonGradesId, "&Read grades", 160},
        {kLessonQuitId, "&Quit entirely", 238},
    };
    for (const ButtonPlace& place : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(place.text), this);
        button->setProperty("controlId", place.id);
        button->setGeometry(placeOf(place.x, 28, 72, 14));
        connect(button, &QPushButton::clicked, this, [this, id = place.id] { runCommand(id); });
        if (place.id == kLessonStartId)
            button->setDefault(true);
        if (place.id == kLessonBookmarkId)
            bookmark_ = button;
    }
    bookmark_->setVisible(lessons_.bookmarkFound());

    list_ = new QListWidget(this);
    list_->setProperty("controlId", kLessonListId);
    list_->setGeometry(placeOf(4, 46, 308, 154));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The entries come sorted without regard to case; the widget's own sort would not do.
    for (const LessonListEntry& entry : lessons_.entries())
        list_->addItem(toQString(entry.text));
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { runCommand(kLessonStartId); });

    const int initial = lessons_.initialSelection();
    if (initial >= 0)
        list_->setCurrentRow(initial);
    list_->setFocus();
}

StateCode LessonSelectDialog::run(const LessonList& lessons, Lesson& lesson) {
    LessonSelectDialog dialog(lessons, lesson, QApplication::activeWindow());
    return static_cast<StateCode>(dialog.exec());
}

void LessonSelectDialog::finish(StateCode next) {
    done(static_cast<int>(next));
}

void LessonSelectDialog::reject() {
    runCommand(kLessonQuitId);
}

int LessonSelectDialog::selectedRow() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected())
        return -1;
    return list_->currentRow();
}

void LessonSelectDialog::runCommand(int id) {
    const int row = selectedRow();
    if (row >= 0)
        LessonList::setRememberedSelection(row);

    switch (id) {
    case kLessonStartId:
    case kLessonBookmarkId:
        // Without a lesson to start the dialog stays open.
        if (lessons_.take(row, lesson_) != TakeResult::Taken)
            return;
        finish(id == kLessonStartId ? StateCode::SetUpLesson : StateCode::ResumeLesson);
        return;
    case kLessonGradesId:
        finish(StateCode::GradeReview);
        return;
    case kLessonQuitId:
        finish(StateCode::Quit);
        return;
    }
}

} // namespace lorvenna
