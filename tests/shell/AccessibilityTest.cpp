// The player as a screen reader and a keyboard reach it: the page read through the toolkit's
// accessibility interfaces, the judged answer announced, and a lesson with a question of
// every key kind taken with the keyboard alone and scored.
#include "shell/MainWindow.h"

#include "items/Drawing.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "shell/MainWindowAccessibility.h"
#include "shell/Session.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

// Page 1 holds an item of every type; pages 2 to 5 ask a question of every key kind; page 6
// closes the lesson.
constexpr const char* kLesson = R"(Lesson 01-01 Gears
TOTAL 4
PAGE 1
DISPLAY Reading
DISPLAY Working
PAGE 2
DISPLAY Ask1
PAGE 3
DISPLAY Ask2
PAGE 4
DISPLAY Ask3
PAGE 5
DISPLAY Ask4
PAGE 6
DISPLAY Done
END PAGES
DISPLAY Reading 10 40 380 300 A
ITEM TEXT Intro
LOC 10 10
@Two gears turn
@ each other.
@
@Count the teeth.
}
ITEM LABEL Tooth
LOC 200 150
@Tooth
}
ITEM LABEL Later
LOC 250 150
BLINK
@Later
}
ITEM BMP Photo
LOC 10 100
FILE BLANK
}
ITEM BMP Sketch
LOC 60 100
FILE BLANK
ALTTEXT A sketch of two gears
}
ITEM ANI Floor
LOC 10 250
STOP
SHAPE 0 300 L
}
ITEM ANI Arm
LOC 100 200
SHAPE 0 50 L
}
ITEM IMSEL Chooser
REQUESTSELECT 1
OUTPUT Photo APPEAR
OUTPUT Sketch APPEAR
}
ITEM TIMER Clock
MSEC 100
}
END DISPLAY
DISPLAY Working 400 40 390 300 A
ITEM BUTTON Go
LOC 10 10
SIZE 100 30
@&Go
}
ITEM HIGHLIGHTER Glow
LOC 120 10
SIZE 100 30
@Glow
}
ITEM EDIT Amount
LOC 10 60
SIZE 100 30
}
ITEM SLIDER Dial
LOC 10 120
SIZE 200 20
STEP 2
POSITION 50
}
ITEM ZONE Hub
LOC 250 100
SHAPE 0 60 L
SHAPE 90 60 L
SHAPE 180 60 L
SHAPE 270 60 L
}
END DISPLAY
DISPLAY Ask1 10 40 500 300 A
ITEM TEXT Q1
LOC 10 10
KEYBUTTON Lever
@Which machine is a bar turning on a fixed point?
}
ITEM LABEL Arm
LOC 300 200
@lever arm
}
ITEM BUTTON Pulley
LOC 10 80
SIZE 120 34
@pulley
}
ITEM BUTTON Lever
LOC 150 80
SIZE 120 34
@lever
}
END DISPLAY
DISPLAY Ask2 10 40 500 300 A
ITEM TEXT Q2
LOC 10 10
KEYAND Axle
KEYAND Wheel
@Pick the two parts of a wheel and axle.
}
ITEM BUTTON Axle
LOC 10 80
SIZE 100 34
@axle
}
ITEM BUTTON Rope
LOC 120 80
SIZE 100 34
@rope
}
ITEM BUTTON Wheel
LOC 230 80
SIZE 100 34
@wheel
}
END DISPLAY
DISPLAY Ask3 10 40 500 300 A
ITEM TEXT Q3
LOC 10 10
@How many teeth has the small gear?
}
ITEM EDIT Teeth
LOC 10 80
SIZE 100 30
KEYNUM Teeth 12 0
}
END DISPLAY
DISPLAY Ask4 10 40 500 300 A
ITEM TEXT Q4
LOC 10 10
KEYSHOW Centre
@Show the centre of the gear.
}
ITEM ZONE Rim
LOC 10 60
SHAPE 0 200 L
SHAPE 90 200 L
SHAPE 180 200 L
SHAPE 270 200 L
}
ITEM ZONE Centre
LOC 90 140
SHAPE 0 40 L
SHAPE 90 40 L
SHAPE 180 40 L
SHAPE 270 40 L
}
END DISPLAY
DISPLAY Done 10 40 500 300 A
ITEM TEXT Bye
LOC 10 10
@That is all.
}
END DISPLAY
END LESSON
)";

// The words of the announcements as they are shown: each show is an alert read out.
class ShownAnnouncements : public QObject {
public:
    std::vector<QString> said;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            said.push_back(static_cast<Announcer*>(watched)->said());
        return false;
    }
};

class AccessibilityTest : public testing::Test {
protected:
    AccessibilityTest() {
        resetSession();
        folder.write("LSNS/01-01.LSN", kLesson);
        folder.addPicture();

        ControllerSteps steps = ControllerSteps::real();
        steps.startDialog = [] { return StateCode::LessonSelection; };
        steps.lessonSelection = [this] {
            if (++selections > 1)
                return StateCode::Quit;
            lesson().lessonMajor = 1;
            lesson().lessonMinor = 1;
            setText(lesson().lessonName, "01-01");
            setText(lesson().lessonPath, "LSNS\\01-01.LSN");
            return StateCode::SetUpLesson;
        };
        window = std::make_unique<MainWindow>(steps);
        window->setExitHandler([this] { ended = true; });
        window->announcer()->installEventFilter(&announcements);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->postState(StateCode::StartDialog);
        settle();
    }

    ~AccessibilityTest() override {
        ControllerSteps::real().lessonTeardown();
        window.reset();
    }

    // Lets the posted states, paints and announcements run.
    void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        repaintAllDisplays();
        QCoreApplication::processEvents();
    }

    // A key as the window system delivers it: to the widget with the keyboard.
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {}) {
        QWidget* target = QApplication::focusWidget();
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QCoreApplication::sendEvent(target ? target : window.get(), &press);
        settle();
    }

    // The pause after an answer runs its time and the next question or page follows.
    void endPause(std::uint32_t ms) {
        clock.advance(ms);
        window->controller().tick();
        settle();
    }

    QAccessibleInterface* root() const {
        return QAccessible::queryAccessibleInterface(window.get());
    }

    // The children of the window, one line each: role, name and, for groups, their children.
    static void read(QAccessibleInterface* node, std::vector<std::string>& lines, int depth) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(node->indexOfChild(child), i);
            EXPECT_EQ(child->parent(), node);
            std::string line(static_cast<std::size_t>(depth) * 2, ' ');
            line +=
                std::to_string(child->role()) + " " + child->text(QAccessible::Name).toStdString();
            const QString description = child->text(QAccessible::Description);
            if (!description.isEmpty())
                line += " (" + description.toStdString() + ")";
            lines.push_back(line);
            if (child->role() == QAccessible::Grouping)
                read(child, lines, depth + 1);
        }
    }

    std::vector<std::string> tree() const {
        std::vector<std::string> lines;
        read(root(), lines, 0);
        return lines;
    }

    static std::string line(QAccessible::Role role, const std::string& name, int depth = 1) {
        return std::string(static_cast<std::size_t>(depth) * 2, ' ') + std::to_string(role) + " " +
               name;
    }

    QAccessibleInterface* named(const QString& name) const {
        QAccessibleInterface* top = root();
        for (int i = 0; i < top->childCount(); ++i) {
            QAccessibleInterface* group = top->child(i);
            for (int j = 0; j < group->childCount(); ++j) {
                if (group->child(j)->text(QAccessible::Name) == name)
                    return group->child(j);
            }
        }
        return nullptr;
    }

    WorkFolder folder;
    ScriptedBoxes boxes;
    TestClock clock;
    ShownAnnouncements announcements;
    int selections = 0;
    bool ended = false;
    std::unique_ptr<MainWindow> window;
};

TEST_F(AccessibilityTest, PageReadsEveryItemInOrderByRoleAndName) {
    ASSERT_EQ(lesson().currentPage(), 1);
    using A = QAccessible;
    const std::vector<std::string> expected = {
        line(A::Button, "Main menu", 0),
        line(A::Button, "Help", 0),
        line(A::Button, "< Back", 0),
        line(A::Button, "Ahead >", 0),
        line(A::Button, "Note", 0),
        line(A::Button, "Quit", 0),
        line(A::Grouping, "Reading", 0),
        line(A::StaticText, "Two gears turn each other.\nCount the teeth."),
        line(A::StaticText, "Tooth"),
        // The BLINK label is hidden until flashed; the STOP figure is scenery; the timer is
        // never seen.
        line(A::Graphic, "Photo"),
        line(A::Graphic, "A sketch of two gears"),
        line(A::Graphic, "Arm"),
        line(A::Graphic, "Chooser") + " (Picture 1 of 2)",
        line(A::Grouping, "Working", 0),
        line(A::Button, "Go"),
        line(A::Button, "Glow"),
        line(A::EditableText, "Amount"),
        line(A::Slider, "Dial"),
        line(A::Button, "Hub"),
        line(A::AlertMessage, "Page 1 of 6", 0),
    };
    EXPECT_EQ(tree(), expected);

    QAccessibleInterface* dial = named(QStringLiteral("Dial"));
    ASSERT_NE(dial, nullptr);
    ASSERT_NE(dial->valueInterface(), nullptr);
    EXPECT_EQ(dial->valueInterface()->currentValue().toInt(), 50);
    EXPECT_EQ(dial->valueInterface()->maximumValue().toInt(), 100);
}

TEST_F(AccessibilityTest, QuestionAskedIsMarkedAndAnnouncedWithItsPage) {
    key(Qt::Key_PageDown);
    ASSERT_EQ(lesson().currentPage(), 2);
    QAccessibleInterface* question =
        named(QStringLiteral("Which machine is a bar turning on a fixed point?"));
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text(QAccessible::Description), QStringLiteral("Current question"));
    // Captions give nothing away while a question is asked, to the ear as to the eye.
    EXPECT_EQ(named(QStringLiteral("lever arm")), nullptr);
    EXPECT_NE(named(QStringLiteral("???")), nullptr);
    EXPECT_EQ(window->announcer()->said(),
              QStringLiteral("Page 2 of 6\nQuestion: Which machine is a bar turning on a fixed "
                             "point?"));
}

TEST_F(AccessibilityTest, WrongAnswerIsAnnouncedWithTheCommentAsItAppears) {
    key(Qt::Key_PageDown);
    key(Qt::Key_Tab); // pulley, the first button
    QAccessibleInterface* pulley = named(QStringLiteral("pulley"));
    ASSERT_NE(pulley, nullptr);
    EXPECT_TRUE(pulley->state().focused);
    EXPECT_TRUE(pulley->state().focusable);

    announcements.said.clear();
    key(Qt::Key_Space);
    const QString said = QStringLiteral("Wrong\nYou chose: pulley\nCorrect answer: lever");
    EXPECT_EQ(announcements.said, std::vector<QString>{said});
    QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(window->announcer());
    EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
    EXPECT_EQ(alert->text(QAccessible::Name), said);
    // The panel is read while it shows.
    const std::vector<std::string> lines = tree();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  line(QAccessible::StaticText, "You chose: pulley\nCorrect answer: lever", 0)),
        lines.end());
}

TEST_F(AccessibilityTest, LessonWithEveryKeyKindIsTakenWithTheKeyboardAloneAndScoredRight) {
    key(Qt::Key_PageDown);

    // KEYBUTTON: Tab, Tab to "lever", Enter.
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_EQ(window->announcer()->said(), QStringLiteral("Right"));
    endPause(1000);
    key(Qt::Key_PageDown);
    ASSERT_EQ(lesson().currentPage(), 3);

    // KEYAND: axle, then past rope to wheel.
    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    EXPECT_EQ(window->announcer()->said(), QStringLiteral("Right"));
    endPause(1000);
    key(Qt::Key_PageDown);
    ASSERT_EQ(lesson().currentPage(), 4);

    // KEYNUM, asked by the field itself, which the text above it labels: Tab into the field,
    // type 12 and Enter; page keys typed there stay in it.
    EXPECT_EQ(window->announcer()->said(),
              QStringLiteral("Page 4 of 6\nQuestion: How many teeth has the small gear?"));
    key(Qt::Key_Tab);
    EXPECT_NE(named(QStringLiteral("How many teeth has the small gear?")), nullptr);
    ASSERT_NE(QApplication::focusWidget(), window.get());
    key(Qt::Key_PageDown);
    EXPECT_EQ(lesson().currentPage(), 4);
    key(Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    key(Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(window->announcer()->said(), QStringLiteral("Right"));
    endPause(1000);
    key(Qt::Key_PageDown);
    ASSERT_EQ(lesson().currentPage(), 5);

    // KEYSHOW: Shift+Tab to the last zone, the centre, and Space.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_Space);
    EXPECT_EQ(window->announcer()->said(), QStringLiteral("Right"));
    endPause(1000);
    key(Qt::Key_PageDown);
    ASSERT_EQ(lesson().currentPage(), 6);

    key(Qt::Key_M);
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().front().caption, "Your score:");
    EXPECT_EQ(boxes.shown().front().text, "100.0% right first time!");
}

TEST_F(AccessibilityTest, ArrowsMoveAFocusedSliderAndEscapeLeavesANumberField) {
    // Tab stops on page 1: Go, Glow, Amount, Dial, Hub.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), window.get());
    key(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), window.get());
    key(Qt::Key_Tab);
    QAccessibleInterface* dial = named(QStringLiteral("Dial"));
    ASSERT_NE(dial, nullptr);
    EXPECT_TRUE(dial->state().focused);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    EXPECT_EQ(dial->valueInterface()->currentValue().toInt(), 51);
    EXPECT_EQ(lesson().currentPage(), 1); // the arrows moved the slider, not the page
    key(Qt::Key_Tab);
    key(Qt::Key_Right); // on the zone the arrow turns the page again
    EXPECT_EQ(lesson().currentPage(), 2);
}

} // namespace

} // namespace lorvenna
