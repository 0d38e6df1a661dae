// The main window: its buttons and panel, keys and events into the controller, the status
// area's pixels, closing, and the input dropped after a pause.
#include "shell/MainWindow.h"

#include "items/Display.h"
#include "items/PageEntry.h"
#include "items/PauseTimer.h"
#include "items/RunObjects.h"
#include "platform/ChildWindow.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "records/NoteDialog.h"
#include "records/Notes.h"
#include "shell/PageChoiceStore.h"
#include "shell/Session.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvenna {

namespace {

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() {
        resetSession();
        steps.startDialog = [this] { return state("start", StateCode::LessonSelection); };
        steps.gradeReview = [this] { return state("review", StateCode::LessonSelection); };
        steps.notesReader = [this] { return state("notes", StateCode::LessonSelection); };
        steps.lessonSelection = [this] { return state("select", StateCode::Quit); };
        steps.scoreLesson = [this] {
            note("score", 0);
            return ScoreOutcome::Shown;
        };
        steps.readLessonIndex = [this] {
            note("index", 1);
            return Status();
        };
        steps.applyBookmark = [this](char, long, long) {
            note("bookmark", 0);
            return BookmarkApplied{};
        };
        steps.buildPage = [this](int page) {
            note("build " + std::to_string(page), 1);
            return Status();
        };
        steps.lessonTeardown = [this] { note("teardown", 0); };
        steps.showHelp = [this](HelpTopic topic) {
            note("help " + std::to_string(static_cast<int>(topic)), 0);
        };
        steps.noteDialog = [this] { note("note", 0); };
        steps.askNextQuestion = [this] { note("askNextQuestion", 0); };
        window = std::make_unique<MainWindow>(steps);
        window->setExitHandler([this] { ++exits; });
        window->show();
        lesson().pageCount = 5;
        lesson().turnTo(3);
        pageOnScreen().currentEntry = &entry;
    }

    int note(const std::string& what, int result) {
        log.push_back(what);
        return result;
    }

    StateCode state(const std::string& what, StateCode next) {
        log.push_back(what);
        return next;
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(window.get(), &event);
    }

    WorkFolder folder;
    ScriptedBoxes boxes;
    TestClock clock;
    ControllerSteps steps;
    PageEntry entry;
    std::vector<std::string> log;
    int exits = 0;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ButtonsStandInTheirPlacesWithTheirCaptions) {
    struct Case {
        CommandId id;
        const char* caption;
        QRect place;
        bool enabled;
        const char* shortcut;
    };
    const Case cases[] = {
        {CommandId::MainMenu, "&Main menu", {12, 5, 110, 28}, true, "Alt+M"},
        {CommandId::Help, "&Help", {130, 5, 62, 28}, true, "Alt+H"},
        {CommandId::Back, "< &Back", {202, 5, 90, 28}, true, "Alt+B"},
        {CommandId::Ahead, "&Ahead >", {500, 5, 90, 28}, true, "Alt+A"},
        {CommandId::Note, "&Note", {600, 5, 62, 28}, false, "Alt+N"},
        {CommandId::Quit, "&Quit", {670, 5, 110, 28}, true, "Alt+Q"},
    };
    for (const Case& c : cases) {
        QPushButton* button = window->button(c.id);
        ASSERT_NE(button, nullptr) << static_cast<int>(c.id);
        EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(button->geometry(), c.place) << static_cast<int>(c.id);
        EXPECT_EQ(button->isEnabled(), c.enabled) << static_cast<int>(c.id);
        EXPECT_EQ(button->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)))
            << static_cast<int>(c.id);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lorvenna"));
    EXPECT_FALSE(window->feedbackPanel()->isVisible());
    EXPECT_EQ(pageOnScreen().statusRect, (Rect{295, 5, 495, 31}));
    EXPECT_EQ(&appServices(), window.get());

    window->enableNoteButton();
    EXPECT_TRUE(window->button(CommandId::Note)->isEnabled());
}

TEST_F(MainWindowTest, KeysAreMappedToTheirCodes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        VirtualKey code;
    };
    const Case cases[] = {
        {Qt::Key_PageDown, Qt::NoModifier, VirtualKey::PageDown},
        {Qt::Key_Right, Qt::NoModifier, VirtualKey::Right},
        {Qt::Key_A, Qt::NoModifier, VirtualKey::A},
        {Qt::Key_A, Qt::ShiftModifier, VirtualKey::A},
        {Qt::Key_1, Qt::KeypadModifier, VirtualKey::Keypad1},
        {Qt::Key_1, Qt::NoModifier, VirtualKey{0x31}},
        {Qt::Key_PageUp, Qt::NoModifier, VirtualKey::PageUp},
        {Qt::Key_Left, Qt::NoModifier, VirtualKey::Left},
        {Qt::Key_B, Qt::NoModifier, VirtualKey::B},
        {Qt::Key_2, Qt::KeypadModifier, VirtualKey::Keypad2},
        {Qt::Key_H, Qt::NoModifier, VirtualKey::H},
        {Qt::Key_8, Qt::KeypadModifier, VirtualKey::Keypad8},
        {Qt::Key_F1, Qt::NoModifier, VirtualKey::F1},
        {Qt::Key_M, Qt::NoModifier, VirtualKey::M},
        {Qt::Key_Minus, Qt::KeypadModifier, VirtualKey::KeypadSubtract},
        {Qt::Key_Minus, Qt::NoModifier, VirtualKey::None},
        {Qt::Key_N, Qt::NoModifier, VirtualKey::N},
        {Qt::Key_Period, Qt::KeypadModifier, VirtualKey::KeypadDecimal},
        {Qt::Key_Comma, Qt::KeypadModifier, VirtualKey::KeypadDecimal},
        {Qt::Key_Q, Qt::NoModifier, VirtualKey::Q},
        {Qt::Key_X, Qt::NoModifier, VirtualKey::X},
        {Qt::Key_F2, Qt::NoModifier, VirtualKey::F2},
        {Qt::Key_F4, Qt::NoModifier, VirtualKey::F4},
        {Qt::Key_F4, Qt::AltModifier, VirtualKey::F4},
        {Qt::Key_F9, Qt::NoModifier, VirtualKey::F9},
        {Qt::Key_End, Qt::KeypadModifier, VirtualKey::End},
        {Qt::Key_Space, Qt::AltModifier, VirtualKey::Space},
        {Qt::Key_Shift, Qt::NoModifier, VirtualKey::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(virtualKeyCode(c.key, c.modifiers), c.code) << std::hex << c.key;
}

TEST_F(MainWindowTest, KeyPressesReachTheControllerAndNoneGoesFurther) {
    press(Qt::Key_PageDown);
    press(Qt::Key_Tab); // no focus change, nothing else
    press(Qt::Key_F1);
    QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"help 112", "build 4"}));

    // Alt and a button's mnemonic press that button, as a user typing it would.
    log.clear();
    press(Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(window->button(CommandId::MainMenu)->isDown());
    EXPECT_TRUE(log.empty());
}

// Typing on past a note box that fills up: the box saves itself, and the keys that follow,
// already on their way to the main window, are dropped instead of turning pages, opening help
// or quitting.
TEST_F(MainWindowTest, KeysTypedPastAFullNoteBoxGoNowhere) {
    steps.noteDialog = [this] {
        log.push_back("note");
        runNoteDialog(session().student);
    };
    window = std::make_unique<MainWindow>(steps);
    window->setExitHandler([this] { ++exits; });
    window->show();
    setText(lesson().lessonName, "02-01");
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* note = dynamic_cast<NoteDialog*>(activeModal());
        if (!note)
            return;
        poll.stop();
        for (int key : {Qt::Key_Space, Qt::Key_H, Qt::Key_A, Qt::Key_M, Qt::Key_Q})
            QCoreApplication::postEvent(window.get(),
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier,
                                                      QString(QChar(key).toLower())));
        note->findChild<QPlainTextEdit*>()->setPlainText(QString(NoteDialog::kBoxLimit, 'x'));
    });
    poll.start(0);
    press(Qt::Key_N);
    QCoreApplication::processEvents();

    EXPECT_EQ(log, std::vector<std::string>{"note"});
    EXPECT_EQ(exits, 0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption,
              "End of box. Note automatically saved in the Lorvenna folder as");
    EXPECT_TRUE(folder.exists("Lesson02-01Note0001.TXT"));
}

TEST_F(MainWindowTest, AltAAndAltBDoNothingInATestLesson) {
    QCoreApplication::processEvents(); // the window becomes active: mnemonics work
    lesson().testLesson = true;
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_FALSE(window->button(CommandId::Ahead)->isDown());
    press(Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(window->button(CommandId::Back)->isDown());
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(lesson().testLesson);

    // In other lessons they press the buttons, as every mnemonic does.
    lesson().testLesson = false;
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(window->button(CommandId::Ahead)->isDown());
}

TEST_F(MainWindowTest, KeysTypedIntoANumberFieldStayWithIt) {
    std::unique_ptr<ChildWindow> display =
        window->createDisplayWindow(nullptr, 900, {10, 40, 310, 240});
    ASSERT_NE(display, nullptr);
    std::unique_ptr<Control> field = display->createEdit(1300, {10, 10, 110, 30}, "");
    display->show(); // as the page builder shows it once the block is read
    auto* edit = widgetOf(*display)->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    const auto type = [edit](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers,
                        key == Qt::Key_7 ? QStringLiteral("7") : QString());
        QCoreApplication::sendEvent(edit, &event);
    };
    // Quit keys, help, page and menu keys: none reaches the controller from the field.
    type(Qt::Key_7);
    for (int key : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F9, Qt::Key_F1, Qt::Key_PageDown})
        type(key);
    type(Qt::Key_Q, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("7"));
}

// A page built after a dialog closed takes the keyboard back even when no window has it.
TEST_F(MainWindowTest, FocusingTheMainWindowMakesItActive) {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_FALSE(window->isActiveWindow());
    window->focusMainWindow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isActiveWindow());
}

TEST_F(MainWindowTest, ButtonsReachTheController) {
    window->button(CommandId::Ahead)->click();
    window->button(CommandId::Help)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"help 702", "build 4"}));
}

TEST_F(MainWindowTest, NothingIsHandledWhileAPageIsBuilt) {
    pageOnScreen().pageBuilding = true;
    press(Qt::Key_PageDown);
    window->button(CommandId::Back)->click();
    window->postState(StateCode::ShowPage, 2);
    QCoreApplication::processEvents();
    QCloseEvent close;
    QCoreApplication::sendEvent(window.get(), &close);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(exits, 0);
}

TEST_F(MainWindowTest, ClosingScoresThenEndsTheRun) {
    folder.write("LORVENNA.BMK", "L 101\r\n");
    QCloseEvent close;
    QCoreApplication::sendEvent(window.get(), &close);
    EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown"}));
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(window->isDestroyed());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(folder.exists("LORVENNA.BMK"));
    EXPECT_TRUE(boxes.shown().empty());

    // Events still waiting are not handled any more.
    window->postState(StateCode::LessonSelection);
    QCoreApplication::processEvents();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(MainWindowTest, RequestsLeftOverFromAnEndedLessonAreDropped) {
    // The program was busy: M, "&Main menu" and Page Down were all handled before the first
    // request came in. The lesson ends once; its page 4 is not asked for after it has gone.
    int selections = 0;
    steps.lessonSelection = [this, &selections] {
        log.push_back("select");
        QCoreApplication::processEvents(); // the dialog's own event loop
        return ++selections == 1 ? StateCode::SetUpLesson : StateCode::Quit;
    };
    window = std::make_unique<MainWindow>(steps);
    window->setExitHandler([this] { ++exits; });
    press(Qt::Key_M);
    window->button(CommandId::MainMenu)->click();
    press(Qt::Key_PageDown);
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"score", "teardown", "select", "index", "build 1"}));
    EXPECT_EQ(exits, 0);
}

TEST_F(MainWindowTest, FeedbackPanelShowsItsTextAtTheTopLeft) {
    window->showFeedbackPanel("You chose: 3\nCorrect answer: 4", 250, 80);
    QLabel* panel = window->feedbackPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(4, 4, 250, 80));
    EXPECT_EQ(panel->text(), QStringLiteral("You chose: 3\nCorrect answer: 4"));
    EXPECT_TRUE(panel->wordWrap());
    window->hideFeedbackPanel();
    EXPECT_FALSE(panel->isVisible());
}

// A panel sized to its text's one-line width wraps it inside its frame: it grows to show all.
TEST_F(MainWindowTest, FeedbackPanelShowsAllOfAWrappedText) {
    const char* text = "Wrong location. X shows the correct spot.";
    QLabel* panel = window->feedbackPanel();
    const QFontMetrics metrics(panel->font());
    const int width = metrics.horizontalAdvance(QString::fromLatin1(text));
    window->showFeedbackPanel(text, width, 2 * metrics.height());
    EXPECT_EQ(panel->width(), width);
    EXPECT_GE(panel->height(), panel->heightForWidth(width));
}

TEST_F(MainWindowTest, StatusAreaShowsTheTextAndThePageStrip) {
    window->drawStatusText("...Setting up lesson 01-01...");
    const QImage& image = window->statusImage();
    ASSERT_EQ(image.size(), QSize(200, 26));
    EXPECT_EQ(image.pixelColor(1, 24), QColor(Qt::white));
    int dark = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y)
            dark += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
    }
    EXPECT_GT(dark, 20); // the text is there

    // Page 2 of 5: the page's markers are 15 x 20, the frame runs from x 78 to 125.
    lesson().turnTo(2);
    window->drawPageStrip();
    EXPECT_EQ(window->statusImage().pixelColor(2, 13), QColor(192, 192, 192));
    EXPECT_EQ(window->statusImage().pixelColor(180, 13), QColor(192, 192, 192));
    EXPECT_EQ(window->statusImage().pixelColor(82, 23), QColor(0, 0, 0));
    EXPECT_EQ(window->statusImage().pixelColor(122, 23), QColor(0, 0, 0));
    // The window shows the status picture at statusRect.
    const QImage shown = window->grab(QRect(295, 5, 200, 26)).toImage();
    EXPECT_EQ(shown.pixelColor(2, 13), QColor(192, 192, 192));
    EXPECT_EQ(shown.pixelColor(82, 23), QColor(0, 0, 0));
}

TEST_F(MainWindowTest, InputWaitingWhenThePauseEndsIsDropped) {
    window->discardPendingInput();
    EXPECT_TRUE(window->discardingInput());
    press(Qt::Key_PageDown);
    EXPECT_TRUE(log.empty());
    // Once the waiting events have been handled, input counts again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->discardingInput());
    press(Qt::Key_PageDown);
    QCoreApplication::processEvents();
    EXPECT_EQ(log, std::vector<std::string>{"build 4"});
}

TEST_F(MainWindowTest, ControllerTimerEndsTheRightPause) {
    pageOnScreen().rightWaitStart = clock.now();
    startPauseTimer();
    EXPECT_TRUE(window->controllerTimerActive());
    clock.advance(1000);
    window->controller().tick();
    EXPECT_EQ(log, std::vector<std::string>{"askNextQuestion"});
    EXPECT_FALSE(window->controllerTimerActive());
    EXPECT_EQ(entry.completedCount, 1);
}

TEST_F(MainWindowTest, DisplayWindowsAreChildrenAtTheirPlace) {
    std::unique_ptr<ChildWindow> display =
        window->createDisplayWindow(nullptr, 900, {10, 40, 310, 240});
    ASSERT_NE(display, nullptr);
    QWidget* client = widgetOf(*display);
    ASSERT_NE(client, nullptr);
    QWidget* frame = client->parentWidget();
    EXPECT_EQ(frame->parentWidget(), window.get());
    EXPECT_EQ(frame->geometry(), QRect(10, 40, 300, 200));
    EXPECT_EQ(client->focusPolicy(), Qt::NoFocus);
}

// The page fills the window: the largest factor at which 800 x 600 fits, centred in the room
// left. Ctrl+0 shows it as authored, Ctrl+= fits it again, F11 toggles full screen; each
// choice goes to the handler that remembers it, and none of these keys reaches the lesson.
TEST_F(MainWindowTest, PageFitsTheWindowCentredAndTheKeysChooseItsSize) {
    std::vector<PageChoice> chosen;
    window->setPageChoiceHandler([&chosen](const PageChoice& choice) { chosen.push_back(choice); });
    Display shown;
    shown.window = window->createDisplayWindow(&shown, 900, {10, 40, 790, 84});
    pageOnScreen().displays[1] = &shown;
    QWidget* frame = widgetOf(*shown.window)->parentWidget();
    window->showFeedbackPanel("Correct answer: 4", 250, 80);

    window->resize(1920, 1080);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(screenScale().scaleDiag, 1.8);
    EXPECT_EQ(screenScale().originX, 240);
    EXPECT_EQ(screenScale().originY, 0);
    // (670, 5) to (780, 33) on the page; each edge scaled on its own.
    EXPECT_EQ(window->button(CommandId::Quit)->geometry(), QRect(240 + 1206, 9, 198, 50));
    EXPECT_EQ(frame->geometry(), QRect(240 + 18, 72, 1404, 79));
    EXPECT_EQ(window->feedbackPanel()->geometry().topLeft(), QPoint(240 + 7, 7));
    EXPECT_EQ(window->feedbackPanel()->width(), 450);

    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(screenScale().scaleDiag, 1.0);
    EXPECT_EQ(frame->geometry(), QRect(560 + 10, 240 + 40, 780, 44));
    EXPECT_EQ(window->button(CommandId::Quit)->geometry(), QRect(560 + 670, 245, 110, 28));

    press(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(screenScale().scaleDiag, 1.8);
    press(Qt::Key_F11);
    EXPECT_TRUE(window->isFullScreen());
    const std::vector<PageChoice> expected{
        {PageFit::Actual, false}, {PageFit::Fit, false}, {PageFit::Fit, true}};
    EXPECT_EQ(chosen, expected);
    EXPECT_TRUE(log.empty()) << log.front();

    // A window smaller than the page shows all of it, smaller.
    press(Qt::Key_F11);
    EXPECT_FALSE(window->isFullScreen());
    window->showNormal();
    window->resize(400, 400);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(screenScale().scaleDiag, 0.5);
    EXPECT_EQ(screenScale().originY, 50);
    pageOnScreen().displays[1] = nullptr;
}

TEST(PageChoiceStore, RemembersTheChoiceOfEachCourseFolder) {
    WorkFolder folder;
    const QString file = QString::fromStdString(folder.path() + "/settings.ini");
    {
        QSettings settings(file, QSettings::IniFormat);
        savePageChoice(settings, "/courses/biology 1/", {PageFit::Actual, true});
        savePageChoice(settings, "/courses/biology", {PageFit::Fit, true});
    }
    QSettings again(file, QSettings::IniFormat);
    EXPECT_EQ(loadPageChoice(again, "/courses/biology 1/"), (PageChoice{PageFit::Actual, true}));
    EXPECT_EQ(loadPageChoice(again, "/courses/biology"), (PageChoice{PageFit::Fit, true}));
    EXPECT_EQ(loadPageChoice(again, "/courses/chemistry"), PageChoice{}) << "fit, maximised";
}

} // namespace

} // namespace lorvenna
