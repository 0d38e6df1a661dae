// The help viewer, and the keyboard given back to the control that had it.
#include "records/HelpViewer.h"

#include "records/DialogControls.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace lorvenna {

namespace {

constexpr int kWidthUnits = 200;
constexpr int kHeightUnits = 200;

} // namespace

HelpViewer::HelpViewer(std::string_view text, QWidget* parent, std::string_view title)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint),
      returnTo_(QApplication::focusWidget()) {
    setUpDialog(*this, kWidthUnits, kHeightUnits);
    // Not shown without a caption bar; window lists and screen readers name the dialog by it.
    setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
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
    // The window that asked takes the keys again, so a dialog's keys or the page keys work
    // at once; with nothing focused before, the window that owns the viewer does.
    if (!returnTo_) {
        if (parentWidget())
            parentWidget()->activateWindow();
        return;
    }
    returnTo_->window()->activateWindow();
    returnTo_->setFocus();
}

} // namespace lorvenna
