// Printing over Qt's print support: QPrinter on the default printer, or a PDF file.
#include "platform/Printer.h"

#include "platform/QtText.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <cstdlib>
#include <string>

namespace lorvenna {

namespace {

constexpr const char* kPdfVariable = "LORVENNA_PRINT_PDF";
// The text height at the printer's resolution: what 12 screen pixels are at 96 per inch.
constexpr int kTextPixels = 12;
constexpr int kReferenceDpi = 96;

} // namespace

struct Printer::Job {
    // Screen resolution keeps the positions, which are counted in the screen's pixels,
    // on the paper whatever the printer's own resolution.
    QPrinter printer{QPrinter::ScreenResolution};
    QPainter painter;
};

Printer::Printer() = default;

Printer::~Printer() {
    close();
}

bool Printer::available() {
    if (const char* pdf = std::getenv(kPdfVariable))
        return pdf[0] != '\0';
    return !QPrinterInfo::defaultPrinter().isNull();
}

int Printer::screenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() : 0;
}

bool Printer::open() {
    if (job_ || !available())
        return false;
    job_ = std::make_unique<Job>();
    QPrinter& printer = job_->printer;
    if (const char* pdf = std::getenv(kPdfVariable)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(pdf));
    } else {
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    }
    printer.setDocName(QString());
    if (!printer.isValid() || !job_->painter.begin(&printer)) {
        job_.reset();
        return false;
    }
    QFont font = QGuiApplication::font();
    font.setPixelSize(kTextPixels * printer.resolution() / kReferenceDpi);
    job_->painter.setFont(font);
    job_->painter.setPen(Qt::black);
    return true;
}

int Printer::offsetTop() const {
    if (!job_)
        return 0;
    const QPrinter& p = job_->printer;
    return p.pageLayout().paintRectPixels(p.resolution()).top();
}

int Printer::offsetLeft() const {
    if (!job_)
        return 0;
    const QPrinter& p = job_->printer;
    return p.pageLayout().paintRectPixels(p.resolution()).left();
}

int Printer::pageHeight() const {
    if (!job_)
        return 0;
    const QPrinter& p = job_->printer;
    return p.pageLayout().fullRectPixels(p.resolution()).height();
}

void Printer::newPage() {
    if (job_)
        job_->printer.newPage();
}

void Printer::drawText(int x, int y, std::string_view text) {
    if (!job_)
        return;
    QString lines = toQString(text);
    lines.remove(QLatin1Char('\r'));
    // A rectangle as large as the page is only an anchor: nothing is wrapped or clipped.
    const QRect anchor(x, y, pageHeight() * 4, pageHeight() * 4);
    job_->painter.drawText(
        anchor, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextExpandTabs, lines);
}

bool Printer::close() {
    if (!job_)
        return false;
    const bool ended = job_->painter.end();
    job_.reset();
    return ended;
}

} // namespace lorvenna
