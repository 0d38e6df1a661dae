// The real start dialog offscreen: its controls, and registration, login and the too-long
// entry driven with real key and mouse events.
#include "records/StartDialogView.h"

#include "platform/DialogUnits.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/KeyDisk.h"
#include "records/StartDialog.h"
#include "shell/Session.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

// Acts as the user on the modal dialog once it is shown: each action waits until its
// condition holds. Gives up (quitting the dialog) when a condition never comes.
class UserScript {
public:
    struct Step {
        std::function<bool(StartDialogView&)> ready;
        std::function<void(StartDialogView&)> act;
    };

    void then(std::function<bool(StartDialogView&)> ready,
              std::function<void(StartDialogView&)> act) {
        steps_.push_back({std::move(ready), std::move(act)});
    }

    // Runs runStartDialog with the script acting on it.
    StateCode run() {
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
        timer.start();
        return runStartDialog(session().student);
    }

    bool finished() const { return next_ == steps_.size(); }

private:
    void poll() {
        auto* dialog = dynamic_cast<StartDialogView*>(activeModal());
        if (!dialog || finished())
            return;
        if (++polls_ > 10000) {
            dialog->steps().quit();
            return;
        }
        if (!steps_[next_].ready(*dialog))
            return;
        steps_[next_++].act(*dialog);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int polls_ = 0;
};

QLineEdit* field(StartDialogView& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.control(id));
}

void typeInto(QWidget* widget, const std::string& text) {
    for (char c : text) {
        const QString s = QString::fromLatin1(&c, 1);
        const int key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; // Qt's codes are ASCII here
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, s);
        QCoreApplication::sendEvent(widget, &press);
    }
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

void click(StartDialogView& dialog, int id) {
    qobject_cast<QPushButton*>(dialog.control(id))->click();
}

bool shows(StartDialogView& dialog, int id) {
    return dialog.control(id)->isVisible();
}

class StartDialogViewTest : public testing::Test {
protected:
    void SetUp() override { resetSession(); }
    WorkFolder work;
    ScriptedBoxes boxes;
};

} // namespace

TEST_F(StartDialogViewTest, ControlsHaveTheirIdsTextsAndPlaces) {
    StartDialogView dialog(session().student);
    struct Button {
        int id;
        const char* text;
        Rect place;
    };
    const Button buttons[] = {
        {205, "&Start with grades", dialogRect(4, 136, 60, 14)},
        {204, "Start &ungraded", dialogRect(76, 136, 60, 14)},
        {206, "&Read grades", dialogRect(176, 136, 60, 14)},
        {207, "Read &notes", dialogRect(176, 152, 60, 14)},
        {2, "&Quit", dialogRect(248, 136, 60, 14)},
        {210, "&Help on starting", dialogRect(4, 180, 60, 14)},
        {211, "About", dialogRect(248, 186, 60, 14)},
    };
    for (const Button& b : buttons) {
        auto* button = qobject_cast<QPushButton*>(dialog.control(b.id));
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text().toStdString(), b.text);
        EXPECT_EQ(button->geometry(),
                  QRect(b.place.left, b.place.top, b.place.width(), b.place.height()));
    }
    EXPECT_EQ(dialog.size(), QSize(dialogUnitsX(314), dialogUnitsY(240)));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowTitleHint);
    EXPECT_EQ(dialog.windowTitle(), "Lorvenna: Start"); // named, though not shown
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.control(201))->text().toStdString(),
              StartSteps::introText());
    EXPECT_FALSE(qobject_cast<QLabel*>(dialog.control(209))->pixmap().isNull());

    QLineEdit* id = field(dialog, 202);
    QLineEdit* password = field(dialog, 203);
    dialog.show();
    EXPECT_FALSE(id->isVisible());
    EXPECT_FALSE(password->isVisible());
    EXPECT_EQ(id->maxLength(), 60);
    EXPECT_EQ(password->maxLength(), 20);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(StartDialogViewTest, BlankDiskIsRegisteredThroughTheFields) {
    work.addDrive('E');
    UserScript user;
    user.then([](StartDialogView&) { return true; }, [](StartDialogView& d) { click(d, 205); });
    user.then([](StartDialogView& d) { return shows(d, 202); },
              [](StartDialogView& d) {
                  typeInto(field(d, 202), "Kim42");
                  pressKey(field(d, 202), Qt::Key_Return);
              });
    user.then([](StartDialogView& d) { return shows(d, 203); },
              [](StartDialogView& d) {
                  EXPECT_FALSE(shows(d, 202));
                  typeInto(field(d, 203), "Pw7");
                  pressKey(field(d, 203), Qt::Key_Enter);
              });
    EXPECT_EQ(user.run(), StateCode::LessonSelection);
    EXPECT_TRUE(user.finished());
    EXPECT_TRUE(session().student.graded);
    EXPECT_STREQ(session().student.studentId, "Kim42");
    EXPECT_EQ(work.read("drive-E/LORVENNA/KEY.GRD").size(), 256u);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartDialogViewTest, RegisteredDiskLogsInWithPasswordInOtherCase) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    setText(session().student.studentId, "Kim42");
    setText(session().student.typedPassword, "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    resetSession();

    UserScript user;
    user.then([](StartDialogView&) { return true; }, [](StartDialogView& d) { click(d, 205); });
    user.then([](StartDialogView& d) { return shows(d, 203); },
              [](StartDialogView& d) {
                  EXPECT_EQ(d.windowTitle(), "Lorvenna: Grade disk present.");
                  typeInto(field(d, 203), "pw7");
                  pressKey(field(d, 203), Qt::Key_Return);
              });
    EXPECT_EQ(user.run(), StateCode::LessonSelection);
    EXPECT_TRUE(session().student.graded);
    EXPECT_STREQ(session().student.studentId, "Kim42");
}

TEST_F(StartDialogViewTest, TypingPastSixtyCharactersIsNoticed) {
    work.addDrive('E');
    boxes.queue(BoxAnswer::Cancel);
    UserScript user;
    user.then([](StartDialogView&) { return true; }, [](StartDialogView& d) { click(d, 205); });
    user.then([](StartDialogView& d) { return shows(d, 202); },
              [this](StartDialogView& d) {
                  typeInto(field(d, 202), std::string(60, 'a'));
                  EXPECT_TRUE(boxes.shown().empty());
                  typeInto(field(d, 202), "b");
                  EXPECT_EQ(field(d, 202)->text().size(), 60);
              });
    EXPECT_EQ(user.run(), StateCode::Quit);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Your name entry is too long.");
}

TEST_F(StartDialogViewTest, EscapeQuitsAndUngradedStarts) {
    UserScript quit;
    quit.then([](StartDialogView&) { return true; },
              [](StartDialogView& d) { pressKey(&d, Qt::Key_Escape); });
    EXPECT_EQ(quit.run(), StateCode::Quit);

    session().student.graded = true;
    UserScript ungraded;
    ungraded.then([](StartDialogView&) { return true; }, [](StartDialogView& d) { click(d, 204); });
    EXPECT_EQ(ungraded.run(), StateCode::LessonSelection);
    EXPECT_FALSE(session().student.graded);
}

TEST_F(StartDialogViewTest, ReadNotesLeadsToTheNotesReader) {
    UserScript notes;
    notes.then([](StartDialogView&) { return true; }, [](StartDialogView& d) { click(d, 207); });
    EXPECT_EQ(notes.run(), StateCode::NotesReader);
}

} // namespace lorvenna
