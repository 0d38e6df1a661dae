// The author's live preview of one lesson.
#include "preview/Preview.h"

#include "items/AppServices.h"
#include "items/Display.h"
#include "items/Drawing.h"
#include "items/PauseTimer.h"
#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FixedText.h"
#include "platform/IgnoreCase.h"
#include "platform/MessageBox.h"
#include "platform/ScreenScale.h"
#include "preview/ProblemPanel.h"
#include "preview/RegionOverlay.h"
#include "records/GradeScan.h"
#include "shell/MainWindow.h"
#include "shell/StartUp.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace lorvenna {

namespace {

namespace fs = std::filesystem;

constexpr int kStatusHeight = 20;
// A reload asked for while a dialog or box is open waits for it to close.
constexpr int kModalRetryMs = 200;

constexpr const char* kLegend = "Author keys (preview only)\n"
                                "F1             this legend\n"
                                "F5             read the files again\n"
                                "Ctrl+G         go to a page\n"
                                "Ctrl+R         click regions on or off\n"
                                "Ctrl+Shift+C   copy the page as a PNG picture\n"
                                "Page keys      turn pages, in test lessons too\n"
                                "H              the lesson's help";

enum class PageStep { None, Ahead, Back };

// The player's page keys.
struct PageKey {
    VirtualKey key;
    PageStep step;
};

constexpr PageKey kPageKeys[] = {
    {VirtualKey::PageDown, PageStep::Ahead}, {VirtualKey::Right, PageStep::Ahead},
    {VirtualKey::A, PageStep::Ahead},        {VirtualKey::Keypad1, PageStep::Ahead},
    {VirtualKey::PageUp, PageStep::Back},    {VirtualKey::Left, PageStep::Back},
    {VirtualKey::B, PageStep::Back},         {VirtualKey::Keypad2, PageStep::Back},
};

PageStep pageStepOf(VirtualKey key) {
    for (const PageKey& page : kPageKeys) {
        if (page.key == key)
            return page.step;
    }
    return PageStep::None;
}

std::vector<std::string> findingLines(const std::vector<Finding>& findings) {
    std::vector<std::string> lines;
    for (const Finding& finding : findings)
        lines.push_back(formatFinding(finding));
    return lines;
}

// The page the author is shown: past the end of a shorter lesson, its last page.
int pageWithin(int page) {
    return std::clamp(page, 1, std::max(1, lesson().pageCount));
}

// The displays of a page that failed half built go, as the check does with them.
} // namespace

Preview::Preview(std::string folder, std::string fileName, int page)
    : folder_(std::move(folder)), fileName_(std::move(fileName)), page_(std::max(1, page)),
      watch_([this] { reload(); }) {
    const std::string host = hostPath("LSNS");
    shownName_ = fs::path(host).filename().string() + "/" + fileName_;
}

Preview::~Preview() {
    QCoreApplication::instance()->removeEventFilter(this);
    // A run that did not end through the fatal exit (a test's) still leaves nothing behind.
    lessonTeardown();
}

ControllerSteps Preview::steps() {
    ControllerSteps steps = ControllerSteps::real();
    steps.readLessonIndex = [this] { return readIndexStep(); };
    steps.buildPage = [this](int page) { return buildPageStep(page); };
    // The lesson's end (an answer past the last page, or "Main menu") shows the score and
    // starts the lesson again at its first page instead of the lesson list.
    steps.lessonSelection = [] { return StateCode::SetUpLesson; };
    steps.noteDialog = [this] { say("Notes are not written in the preview."); };
    // Nothing in the working folder changes during a preview.
    steps.removeStaleBookmark = [] {};
    return steps;
}

bool Preview::start() {
    window_ = startUp(steps());
    if (!window_)
        return false;
    createChrome();
    QCoreApplication::instance()->installEventFilter(this);
    nameLesson();
    watchFiles();
    reload();
    return true;
}

void Preview::createChrome() {
    MainWindow& window = *window_;
    window.installEventFilter(this); // for its size
    panel_ = new ProblemPanel(&window);
    overlay_ = new RegionOverlay(&window);

    status_ = new QLabel(&window);
    status_->setObjectName(QStringLiteral("previewStatus"));
    status_->setAutoFillBackground(true);
    QPalette statusPalette = status_->palette();
    statusPalette.setColor(QPalette::Window, QColor(235, 235, 235));
    statusPalette.setColor(QPalette::WindowText, Qt::black);
    status_->setPalette(statusPalette);
    status_->setTextFormat(Qt::PlainText);
    status_->setIndent(6);

    legend_ = new QLabel(&window);
    legend_->setObjectName(QStringLiteral("previewLegend"));
    legend_->setText(QString::fromLatin1(kLegend));
    legend_->setTextFormat(Qt::PlainText);
    legend_->setFrameStyle(QFrame::Box | QFrame::Plain);
    legend_->setMargin(6);
    legend_->setAutoFillBackground(true);
    QPalette legendPalette = legend_->palette();
    legendPalette.setColor(QPalette::Window, QColor(255, 255, 225));
    legendPalette.setColor(QPalette::WindowText, Qt::black);
    legend_->setPalette(legendPalette);
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPixelSize(std::max(8, scaleSize(12)));
    legend_->setFont(fixed);
    legend_->adjustSize();
    legend_->setAttribute(Qt::WA_TransparentForMouseEvents);
    legend_->hide();
    // Made after the window was shown, so shown by hand.
    status_->show();
    layoutChrome();
}

void Preview::layoutChrome() {
    const QRect area = window_->rect();
    const int height = std::max(14, scaleY(kStatusHeight));
    status_->setGeometry(0, area.height() - height, area.width(), height);
    panel_->setBottomMargin(height);
    window_->setFootHeight(height);
    const ScreenScale& scale = screenScale();
    const int right = std::min(area.width(), scale.originX + scaleX(kPageWidth));
    legend_->move(std::max(0, right - legend_->width() - scaleX(8)), scale.originY + scaleY(44));
    if (overlay_->isVisible())
        overlay_->setGeometry(area);
}

void Preview::raiseChrome() {
    // Display windows made by a page build come above what was there before them.
    if (panel_->isVisible())
        panel_->raise();
    overlay_->raise();
    legend_->raise();
    status_->raise();
}

void Preview::watchFiles() {
    watch_.addFile(hostPath("LSNS\\" + fileName_));
    for (const char* folder : {"BMPS", "HELP"}) {
        const std::string host = hostPath(folder);
        std::error_code error;
        if (fs::is_directory(host, error))
            watch_.addFolder(host);
    }
    watch_.markSeen();
}

void Preview::nameLesson() {
    Lesson& played = lesson();
    const std::string stem = fs::path(fileName_).stem().string();
    long major = 0;
    long minor = 0;
    if (lessonNumbersFromFileName(fileName_, major, minor)) {
        played.lessonMajor = static_cast<std::int32_t>(major);
        played.lessonMinor = static_cast<std::int32_t>(minor);
    }
    setText(played.lessonName, stem);
    setText(played.lessonPath, "LSNS\\" + fileName_);
}

void Preview::rememberPage() {
    if (!pageLive_)
        return;
    // Only the page is wanted behind the panel, not what the preview adds to it.
    const bool overlay = overlay_->isVisible();
    overlay_->hide();
    panel_->hide();
    lastGood_ = window_->grab().toImage();
    if (overlay)
        overlay_->show();
}

void Preview::reload() {
    if (window_->isDestroyed()) // the run has ended
        return;
    if (QApplication::activeModalWidget()) {
        // A box or dialog of the page is open: the page goes when it has closed, once however
        // many saves came meanwhile.
        if (!reloadWaiting_) {
            reloadWaiting_ = true;
            QTimer::singleShot(kModalRetryMs, this, [this] {
                reloadWaiting_ = false;
                reload();
            });
        }
        return;
    }
    rememberPage();
    PageOnScreen& screen = pageOnScreen();
    screen.pageClosing = true;
    stopPauseTimer();
    screen.rightWaitStart = 0;
    screen.wrongWaitStart = 0;
    appServices().hideFeedbackPanel();
    lessonTeardown();

    readAt_ = QTime::currentTime();
    ++reloads_;
    note_.clear();
    problems_ = {};
    nameLesson();
    if (readIndexStep())
        build(pageWithin(page_));
    // The page is on the screen before its lesson is checked: the check plays every page.
    window_->repaint();

    problems_ = checkLessonAside(folder_, fileName_);
    if (pageLive_)
        showLive();
    else
        showBroken(brokenTitle_, brokenFailure_);
}

Status Preview::readIndexStep() {
    const Status index = readLessonIndex();
    indexRead_ = !index.failed();
    if (!indexRead_)
        showBroken("The lesson cannot be read", index);
    // A lesson that cannot be read is shown in the panel; the run goes on.
    return {};
}

Status Preview::buildPageStep(int page) {
    rememberPage();
    note_.clear();
    build(page);
    // A page that cannot be built is shown in the panel; the run goes on.
    return {};
}

void Preview::build(int n) {
    page_ = n;
    if (const Status built = buildPage(n); !built) {
        showBroken("Page " + std::to_string(n) + " cannot be shown", built);
        return;
    }
    pageLive_ = true;
    showLive();
}

void Preview::showLive() {
    if (problems_.errors > 0)
        panel_->showBelowPage("The lesson has " + problemCount(problems_) +
                                  " (the page above still works)",
                              findingLines(problems_.findings));
    else
        panel_->hide();
    raiseChrome();
    updateStatus();
}

void Preview::showBroken(const std::string& title, const Status& failed) {
    pageLive_ = false;
    brokenTitle_ = title;
    brokenFailure_ = failed;
    deleteShownDisplays();
    appServices().hideFeedbackPanel();
    // The page strip in place of the builder's "Processing p. n".
    appServices().drawStatusText("");
    appServices().drawPageStrip();
    std::vector<std::string> lines = findingLines(problems_.findings);
    // The check reads as the player does, so it names this failure; until it has run, or
    // should it not, the player's own words are shown.
    if (problems_.errors == 0 && failed.failed()) {
        const Diagnostic& why = failed.diagnostic();
        lines.insert(lines.begin(),
                     formatFinding({Severity::Error, shownName_, why.line, 0, why.message}));
    }
    panel_->showOverPage(lastGood_, title, lines);
    raiseChrome();
    updateStatus();
}

std::string Preview::statusText() const {
    std::string text = "Preview of " + shownName_ + ", page " + std::to_string(page_);
    if (indexRead_)
        text += " of " + std::to_string(lesson().pageCount);
    text += ", read at " + readAt_.toString(QStringLiteral("HH:mm:ss")).toStdString() + ": " +
            problemCount(problems_);
    if (!note_.empty())
        text += ". " + note_;
    return text;
}

void Preview::updateStatus() {
    status_->setText(QString::fromStdString(statusText()));
}

void Preview::say(std::string note) {
    note_ = std::move(note);
    updateStatus();
}

void Preview::goToPage(int page) {
    if (!indexRead_ || page < 1 || page > lesson().pageCount)
        return;
    // As the page buttons do: the page is left, then the controller turns it.
    pageOnScreen().pageClosing = true;
    stopPauseTimer();
    appServices().postState(StateCode::ShowPage, page);
}

void Preview::askForPage() {
    if (!indexRead_ || lesson().pageCount < 1) {
        say("The lesson has no page to go to.");
        return;
    }
    bool chosen = false;
    const int page = QInputDialog::getInt(window_.get(), QStringLiteral("Go to page"),
                                          QStringLiteral("Page (1 to %1):").arg(lesson().pageCount),
                                          page_, 1, lesson().pageCount, 1, &chosen);
    if (chosen)
        goToPage(page);
}

void Preview::setRegionsShown(bool shown) {
    overlay_->setShown(shown);
}

bool Preview::regionsShown() const {
    return overlay_->isVisible();
}

void Preview::setLegendShown(bool shown) {
    legend_->setVisible(shown);
    if (shown)
        legend_->raise();
}

bool Preview::legendShown() const {
    return legend_->isVisible();
}

QImage Preview::pagePicture() {
    QWidget* added[] = {panel_, overlay_, legend_, status_};
    bool visible[std::size(added)];
    for (std::size_t i = 0; i < std::size(added); ++i) {
        visible[i] = added[i]->isVisible();
        added[i]->hide();
    }
    const QImage picture =
        window_->grab(QRect(screenScale().originX, screenScale().originY, scaleX(kPageWidth),
                            scaleY(kPageHeight)))
            .toImage();
    for (std::size_t i = 0; i < std::size(added); ++i)
        added[i]->setVisible(visible[i]);
    return picture;
}

void Preview::copyPage() {
    const QImage picture = pagePicture();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
    say("Page " + std::to_string(page_) + " copied as a PNG picture.");
}

bool Preview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.get() && event->type() == QEvent::Resize) {
        layoutChrome();
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !window_)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != window_.get() && !window_->isAncestorOf(widget))
        return false;
    return authorKey(watched, static_cast<QKeyEvent*>(event));
}

bool Preview::authorKey(QObject* watched, QKeyEvent* key) {
    if (pageOnScreen().pageBuilding)
        return false;
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const int code = key->key();
    if (modifiers == Qt::NoModifier && code == Qt::Key_F1) {
        setLegendShown(!legendShown());
        return true;
    }
    if (modifiers == Qt::NoModifier && code == Qt::Key_F5) {
        reload();
        return true;
    }
    if (modifiers == Qt::ControlModifier && code == Qt::Key_G) {
        askForPage();
        return true;
    }
    if (modifiers == Qt::ControlModifier && code == Qt::Key_R) {
        setRegionsShown(!regionsShown());
        return true;
    }
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && code == Qt::Key_C) {
        copyPage();
        return true;
    }
    // The player keeps the page keys from a test lesson's students; its author needs them.
    // A key in the pause after a wrong answer only ends the pause, as the controller says.
    if (!lesson().testLesson || watched != window_.get() || pageOnScreen().wrongWaitStart != 0 ||
        (modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    switch (pageStepOf(virtualKeyCode(code, key->modifiers()))) {
    case PageStep::None:
        return false;
    case PageStep::Ahead:
        if (lesson().currentPage() < lesson().pageCount)
            appServices().postState(StateCode::ShowPage, lesson().currentPage() + 1);
        return true;
    case PageStep::Back:
        if (lesson().currentPage() > 1)
            appServices().postState(StateCode::ShowPage, lesson().currentPage() - 1);
        return true;
    }
    return false;
}

} // namespace lorvenna
