// The note dialog: the box, its keys, and saving as soon as it is full.
#include "records/NoteDialog.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "records/DialogControls.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 150;
constexpr int kHeightUnits = 150;

} // namespace

NoteDialog::NoteDialog(const Student& student, QWidget* parent)
    : QDialog(parent), student_(student) {
    setUpDialog(*this, kWidthUnits, kHeightUnits);
    setWindowTitle(QStringLiteral("Write a note.  Hit Done to save."));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(controlName(kTextId));
    text_->setGeometry(controlRect(4, 4, 142, 100));
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->installEventFilter(this);
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { textChanged(); });

    QPushButton* done = addButton(*this, kDoneId, "&Done", 4, 138, 66, 10);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, [this] { save(false); });
    connect(addButton(*this, kCancelId, "&Cancel", 78, 138, 66, 10), &QPushButton::clicked, this,
            [this] { reject(); });
    text_->setFocus();
}

NoteSaved NoteDialog::run() {
    exec();
    return result_;
}

bool NoteDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Enter saves, as the default button would; Ctrl+Enter breaks the line.
        if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
            !(key.modifiers() & Qt::ControlModifier)) {
            save(false);
            return true;
        }
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
            text_->insertPlainText(QStringLiteral("\n"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NoteDialog::reject() {
    // Once the note is saved, keys still on their way to the closed box change nothing.
    if (saving_ || result_ != NoteSaved::Cancelled)
        return;
    result_ = NoteSaved::Cancelled;
    QDialog::reject();
}

// Full when the text reaches the box's last visible line or its character limit (a line
// end counting two, as it is saved).
bool NoteDialog::boxFull() const {
    const QString text = text_->toPlainText();
    if (text.size() + text.count(QLatin1Char('\n')) >= kBoxLimit)
        return true;
    const int lineHeight = text_->fontMetrics().lineSpacing();
    const int visibleLines = lineHeight > 0 ? text_->viewport()->height() / lineHeight : 0;
    const int usedLines =
        static_cast<int>(text_->document()->documentLayout()->documentSize().height());
    return visibleLines > 0 && usedLines >= visibleLines;
}

void NoteDialog::textChanged() {
    if (saving_)
        return;
    // A full box that could not be saved is not tried again at every key, only once it
    // has been full anew.
    if (!boxFull()) {
        fullRefused_ = false;
        return;
    }
    if (!fullRefused_)
        save(true);
}

void NoteDialog::save(bool full) {
    if (saving_ || result_ != NoteSaved::Cancelled)
        return;
    saving_ = true;
    const NoteSave saved = saveNote(student_, fromQString(text_->toPlainText()), full);
    switch (saved.outcome) {
    case NoteSave::Outcome::Saved:
        result_ = saved.where;
        savedName_ = saved.name;
        saving_ = false;
        accept();
        return;
    case NoteSave::Outcome::AllNumbersTaken:
        messageBox("No room for another note.",
                   "All 9999 note numbers of this lesson are taken here, so your note was not "
                   "saved. Copy it elsewhere, or Cancel.");
        break;
    case NoteSave::Outcome::NotWritten:
        messageBox("Your note could not be saved.",
                   "The disk may be missing, full or write-protected. Your text is still in "
                   "the box: try again, or Cancel.");
        break;
    }
    saving_ = false;
    fullRefused_ = full;
    text_->setFocus();
}

} // namespace lorvenna
