// The start dialog's window over the step machine.
#include "records/StartDialogView.h"

#include "platform/DialogUnits.h"
#include "platform/Picture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 314;
constexpr int kHeightUnits = 240;
constexpr const char* kUntitledStart = "Lorvenna: Start";
constexpr int kIdFieldLimit = 60;
constexpr int kPasswordFieldLimit = 20;

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

QString controlName(int id) {
    return QStringLiteral("control%1").arg(id);
}

// A key that would put a character into a field (not a shortcut, not an editing key).
bool typesCharacter(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key.text();
    if (text.isEmpty())
        return false;
    const char16_t c = text.at(0).unicode();
    return c >= 0x20 && c != 0x7F;
}

} // namespace

StartDialogView::StartDialogView(Student& student, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), steps_(*this, student) {
    setModal(true);
    setWindowText("");
    setFixedSize(dialogUnitsX(kWidthUnits), dialogUnitsY(kHeightUnits));

    auto* picture = new QLabel(this);
    picture->setObjectName(controlName(kPictureId));
    const QRect pictureRect = toQRect(dialogRect(2, 2, 310, 48));
    picture->setGeometry(pictureRect);
    picture->setAlignment(Qt::AlignCenter);
    const Picture start = Picture::resource(PictureId::Start);
    if (!start.isNull()) {
        picture->setPixmap(QPixmap::fromImage(start.image().scaled(
            pictureRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }

    message_ = new QLabel(this);
    message_->setObjectName(controlName(kMessageId));
    message_->setGeometry(toQRect(dialogRect(10, 58, 290, 44)));
    message_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setAutoFillBackground(true);
    QPalette white = message_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    message_->setPalette(white);

    idField_ = new QLineEdit(this);
    idField_->setObjectName(controlName(kIdFieldId));
    idField_->setGeometry(toQRect(dialogRect(86, 110, 140, 14)));
    idField_->setMaxLength(kIdFieldLimit);
    idField_->installEventFilter(this);

    passwordField_ = new QLineEdit(this);
    passwordField_->setObjectName(controlName(kPasswordFieldId));
    passwordField_->setGeometry(toQRect(dialogRect(120, 110, 72, 14)));
    passwordField_->setMaxLength(kPasswordFieldLimit);
    passwordField_->setEchoMode(QLineEdit::Password);
    passwordField_->installEventFilter(this);

    connect(addButton(kWithGradesId, "&Start with grades", 4, 136, 60, 14), &QPushButton::clicked,
            this, [this] { steps_.startWithGrades(); });
    connect(addButton(kUngradedId, "Start &ungraded", 76, 136, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.startUngraded(); });
    connect(addButton(kReadGradesId, "&Read grades", 176, 136, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.readGrades(); });
    connect(addButton(kQuitId, "&Quit", 248, 136, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.quit(); });
    // The notes reader, under "Read grades", clear of the credits lines.
    connect(addButton(kReadNotesId, "Read &notes", 176, 152, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.openNotes(); });
    addStatic("Lorvenna lesson player", 4, 168, 310, 14);
    addStatic("Lessons, grades and notes", 4, 184, 310, 14);
    addStatic(" -- Version 3.0 -- ", 4, 216, 310, 14);
    connect(addButton(kHelpId, "&Help on starting", 4, 180, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.helpOnStarting(); });
    connect(addButton(kAboutId, "About", 248, 186, 60, 14), &QPushButton::clicked, this,
            [this] { steps_.about(); });

    steps_.start();
}

QPushButton* StartDialogView::addButton(int id, const char* caption, int x, int y, int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(controlName(id));
    button->setGeometry(toQRect(dialogRect(x, y, w, h)));
    return button;
}

QLabel* StartDialogView::addStatic(const char* text, int x, int y, int w, int h) {
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(toQRect(dialogRect(x, y, w, h)));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

QWidget* StartDialogView::control(int id) const {
    return findChild<QWidget*>(controlName(id), Qt::FindDirectChildrenOnly);
}

StateCode StartDialogView::run() {
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    exec();
    // A dialog closed by anything but a step (the application quitting) quits.
    return steps_.ended() ? steps_.result() : StateCode::Quit;
}

bool StartDialogView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != idField_ && watched != passwordField_))
        return QDialog::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool inIdField = watched == idField_;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        if (inIdField)
            steps_.enterInIdField();
        else
            steps_.enterInPasswordField();
        return true;
    }
    // A line edit silently drops what is typed past its limit; the dialog must notice it.
    const QLineEdit* field = inIdField ? idField_ : passwordField_;
    if (typesCharacter(key) && field->text().size() >= field->maxLength() &&
        !field->hasSelectedText()) {
        if (inIdField)
            steps_.idFieldOverflow();
        else
            steps_.passwordFieldOverflow();
    }
    return false;
}

void StartDialogView::keyPressEvent(QKeyEvent* event) {
    // Enter acts only in the two fields (above) and on a focused button (the button's own);
    // it never presses a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void StartDialogView::reject() {
    steps_.quit();
}

void StartDialogView::showIdField(bool shown) {
    idField_->setVisible(shown);
}

void StartDialogView::showPasswordField(bool shown) {
    passwordField_->setVisible(shown);
}

std::string StartDialogView::idText() const {
    return idField_->text().toLatin1().toStdString();
}

std::string StartDialogView::passwordText() const {
    return passwordField_->text().toLatin1().toStdString();
}

void StartDialogView::clearIdField() {
    idField_->clear();
}

void StartDialogView::clearPasswordField() {
    passwordField_->clear();
}

void StartDialogView::focusIdField() {
    idField_->setFocus();
}

void StartDialogView::focusPasswordField() {
    passwordField_->setFocus();
}

void StartDialogView::setWindowText(std::string_view text) {
    // The window text is no caption here (the dialog has no caption bar), but window lists and
    // screen readers name the dialog by it: an empty one names it still.
    if (text.empty()) {
        setWindowTitle(QString::fromLatin1(kUntitledStart));
        return;
    }
    setWindowTitle(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void StartDialogView::setMessage(std::string_view text) {
    message_->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void StartDialogView::postStep(StartStep step) {
    QMetaObject::invokeMethod(
        this, [this, step] { steps_.handleStep(step); }, Qt::QueuedConnection);
}

void StartDialogView::endDialog(StateCode result) {
    done(static_cast<int>(result));
}

} // namespace lorvenna
