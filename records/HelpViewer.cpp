// The help viewer, and the focus given back to the dialog that asked for it.
#include "records/HelpViewer.h"

#include "records/DialogControls.h"
#include "records/Help.h"
#include "shell/AppServices.h"
#include "shell/SessionState.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 200;
constexpr int kHeightUnits = 200;
constexpr int kShown = 1;

} // namespace

HelpViewer::HelpViewer(std::string_view text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint) {
    setUpDialog(*this, kWidthUnits, kHeightUnits);
    QPushButton* done = addButton(*this, kDoneId, "&Done", 4, 4, 66, 10);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, [this] { this->done(kShown); });

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(controlName(kTextId));
    text_->setGeometry(controlRect(4, 18, 192, 160));
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QString shown = latin1Text(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text_->setPlainText(shown);
    text_->setFocus();
}

QString HelpViewer::text() const {
    return text_->toPlainText();
}

void HelpViewer::done(int /*result*/) {
    // Escape and Done alike.
    QDialog::done(kShown);
    // During a lesson no dialog asked: the window that owns the viewer takes the keys again,
    // so the page keys work at once.
    if (!session().currentDialog && parentWidget())
        parentWidget()->activateWindow();
    focusCurrentDialog();
}

int showText(std::string_view text) {
    auto* owner = dynamic_cast<QWidget*>(session().mainWindow);
    HelpViewer viewer(text, owner);
    viewer.exec();
    return kShown;
}

} // namespace lorvenna
