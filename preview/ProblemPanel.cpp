// The panel that lists a lesson's problems over the page.
#include "preview/ProblemPanel.h"

#include "platform/ScreenScale.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace lorvenna {

namespace {

// Below the main window's button row.
constexpr int kPageTop = 38;
constexpr int kBoxWidth = 640;
constexpr int kBoxHeight = 300;
constexpr int kBoxLeast = 110;
constexpr int kBoxMargins = 50;
constexpr int kStripHeight = 120;
constexpr int kStripLeast = 70;
constexpr QColor kDim{0, 0, 0, 170};
constexpr QColor kBoxColour{255, 250, 235};
constexpr QColor kErrorColour{160, 0, 0};

} // namespace

ProblemPanel::ProblemPanel(QWidget* mainWindow) : QWidget(mainWindow) {
    setObjectName(QStringLiteral("problemPanel"));
    box_ = new QWidget(this);
    box_->setAutoFillBackground(true);
    QPalette boxPalette = box_->palette();
    boxPalette.setColor(QPalette::Window, kBoxColour);
    boxPalette.setColor(QPalette::WindowText, kErrorColour);
    box_->setPalette(boxPalette);
    auto* layout = new QVBoxLayout(box_);
    title_ = new QLabel(box_);
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPixelSize(std::max(8, scaleSize(15)));
    title_->setFont(bold);
    title_->setWordWrap(true);
    list_ = new QPlainTextEdit(box_);
    list_->setReadOnly(true);
    // The keys stay the page's: the list scrolls with the wheel and can still be selected.
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPixelSize(std::max(8, scaleSize(12)));
    list_->setFont(fixed);
    layout->addWidget(title_);
    layout->addWidget(list_, 1);
    hide();
}

QRect ProblemPanel::pageArea() const {
    const ScreenScale& scale = screenScale();
    const QRect page(scale.originX, scale.originY + scaleY(kPageTop), scaleX(kPageWidth),
                     scaleY(kPageHeight) - scaleY(kPageTop));
    return page.intersected(parentWidget()->rect());
}

void ProblemPanel::fill(const std::string& title, const std::vector<std::string>& lines) {
    title_->setText(QString::fromStdString(title));
    QString text;
    for (const std::string& line : lines) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromStdString(line);
    }
    list_->setPlainText(text);
}

void ProblemPanel::showOverPage(const QImage& lastGoodPage, const std::string& title,
                                const std::vector<std::string>& lines) {
    fill(title, lines);
    covering_ = true;
    lastGood_ = lastGoodPage;
    const QRect area = pageArea();
    setGeometry(area);
    const int width = std::min(area.width() - 20, scaleX(kBoxWidth));
    // As tall as the problems need, so that as much of the page as can be stays in view.
    const int needed = title_->sizeHint().height() +
                       list_->fontMetrics().lineSpacing() * (static_cast<int>(lines.size()) + 1) +
                       scaleY(kBoxMargins);
    const int height =
        std::min({area.height() - 20, scaleY(kBoxHeight), std::max(needed, scaleY(kBoxLeast))});
    box_->setGeometry((area.width() - width) / 2, (area.height() - height) / 2, width, height);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    raise();
    show();
    update();
}

void ProblemPanel::showBelowPage(const std::string& title, const std::vector<std::string>& lines) {
    fill(title, lines);
    covering_ = false;
    lastGood_ = QImage();
    const QRect area = pageArea();
    // Below the page where the window has room for it, else over the foot of the page.
    const int below = parentWidget()->height() - bottomMargin_ - (area.bottom() + 1);
    if (below >= scaleY(kStripLeast)) {
        const int height = std::min(below, scaleY(kStripHeight));
        setGeometry(area.left(), area.bottom() + 1, area.width(), height);
    } else {
        const int height = std::min(area.height(), scaleY(kStripHeight));
        setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
    }
    box_->setGeometry(0, 0, area.width(), height());
    raise();
    show();
    update();
}

std::string ProblemPanel::title() const {
    return title_->text().toStdString();
}

std::vector<std::string> ProblemPanel::lines() const {
    std::vector<std::string> result;
    const QString text = list_->toPlainText();
    if (text.isEmpty())
        return result;
    for (const QString& line : text.split(QLatin1Char('\n')))
        result.push_back(line.toStdString());
    return result;
}

void ProblemPanel::paintEvent(QPaintEvent*) {
    if (!covering_)
        return;
    QPainter painter(this);
    // The picture was taken of the whole window: the part under the panel shows through.
    if (!lastGood_.isNull())
        painter.drawImage(QPoint(0, 0), lastGood_, QRect(pos(), size()));
    painter.fillRect(rect(), kDim);
}

} // namespace lorvenna
