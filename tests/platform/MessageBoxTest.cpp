// Message boxes: the scripted responder of the tests and the real box offscreen.
#include "platform/MessageBox.h"
#include "tests/support/ScriptedBoxes.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

namespace lorvenna {

TEST(MessageBox, ScriptedBoxesRecordAndAnswerFromTheQueue) {
    ScriptedBoxes boxes;
    boxes.queue(BoxAnswer::Cancel);
    std::vector<std::string> seenByHook;
    boxes.onShow([&](const BoxRecord& r) { seenByHook.push_back(r.caption); });

    EXPECT_EQ(messageBox("Grading disk full or write-protected.",
                         "Insert a different disk to Retry.", BoxButtons::RetryCancel),
              BoxAnswer::Cancel);
    // With the queue empty every box gets its first button.
    EXPECT_EQ(messageBox("A", "", BoxButtons::RetryCancel), BoxAnswer::Retry);
    EXPECT_EQ(messageBox("B", "", BoxButtons::YesNo), BoxAnswer::Yes);
    EXPECT_EQ(messageBox("C", "", BoxButtons::OkCancel), BoxAnswer::Ok);
    EXPECT_EQ(messageBox("D", "text"), BoxAnswer::Ok);

    ASSERT_EQ(boxes.shown().size(), 5u);
    EXPECT_EQ(boxes.shown()[0].caption, "Grading disk full or write-protected.");
    EXPECT_EQ(boxes.shown()[0].text, "Insert a different disk to Retry.");
    EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::RetryCancel);
    EXPECT_EQ(boxes.shown()[4].buttons, BoxButtons::Ok);
    EXPECT_EQ(seenByHook, (std::vector<std::string>{"Grading disk full or write-protected.", "A",
                                                    "B", "C", "D"}));
}

TEST(MessageBox, AnInnerResponderHandsBackToTheOuterOne) {
    ScriptedBoxes outer;
    {
        ScriptedBoxes inner;
        messageBox("inner", "");
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    messageBox("outer", "");
    ASSERT_EQ(outer.shown().size(), 1u);
    EXPECT_EQ(outer.shown()[0].caption, "outer");
}

namespace {

struct SeenBox {
    QString title;
    QString body;
    int buttons = 0;
    // As a screen reader reads the box.
    QAccessible::Role role = QAccessible::NoRole;
    QString spokenName;
    QString spokenText;
};

// Looks at the box once it is up, then acts as the user would.
void whenBoxShows(SeenBox& seen, std::function<void(QMessageBox&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        seen.title = box->windowTitle();
        seen.body = box->text();
        seen.buttons = static_cast<int>(box->buttons().size());
        if (QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box)) {
            seen.role = read->role();
            seen.spokenName = read->text(QAccessible::Name);
            seen.spokenText = read->text(QAccessible::Description);
        }
        act(*box);
    });
    poll->start();
}

} // namespace

TEST(MessageBox, TheRealBoxShowsTheCaptionAsTitleAndBoldHeadline) {
    SeenBox seen;
    whenBoxShows(seen, [](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
    const BoxAnswer answer =
        messageBox("Disk <A> & \xe9t\xe9", "Insert a disk\nand retry.", BoxButtons::RetryCancel);

    EXPECT_EQ(answer, BoxAnswer::Retry);
    EXPECT_EQ(seen.title, QString::fromLatin1("Disk <A> & \xe9t\xe9"));
    // Escaped, so that text from a file is shown as written and never taken as markup.
    EXPECT_TRUE(seen.body.contains(QString::fromLatin1("<b>Disk &lt;A&gt; &amp; \xe9t\xe9</b>")))
        << seen.body.toStdString();
    EXPECT_TRUE(seen.body.contains("Insert a disk<br>and retry.")) << seen.body.toStdString();
    EXPECT_LT(seen.body.indexOf("</b>"), seen.body.indexOf("Insert"));
    EXPECT_EQ(seen.buttons, 2);
    // A screen reader reads a dialog: the caption and the text, without the headline's markup.
    EXPECT_EQ(seen.role, QAccessible::AlertMessage);
    EXPECT_EQ(seen.spokenName, QString::fromLatin1("Disk <A> & \xe9t\xe9"));
    EXPECT_EQ(seen.spokenText, QStringLiteral("Insert a disk\nand retry."));
}

TEST(MessageBox, TheTextKeepsItsBlanksAsWritten) {
    SeenBox seen;
    whenBoxShows(seen, [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
    // A quoted lesson line keeps its blanks; markup would fold them into one.
    messageBox("Bad  LSN file.", "Bad MODE   KEY  X in Item  Q1");

    QTextDocument shown;
    shown.setHtml(seen.body);
    const QString plain = shown.toPlainText();
    EXPECT_TRUE(plain.contains("Bad  LSN file.")) << plain.toStdString();
    EXPECT_TRUE(plain.contains("Bad MODE   KEY  X in Item  Q1")) << plain.toStdString();
}

TEST(MessageBox, EscapeGivesCancelOrNo) {
    struct Case {
        BoxButtons buttons;
        BoxAnswer escape;
    };
    for (const Case& c :
         {Case{BoxButtons::RetryCancel, BoxAnswer::Cancel},
          Case{BoxButtons::OkCancel, BoxAnswer::Cancel}, Case{BoxButtons::YesNo, BoxAnswer::No},
          Case{BoxButtons::Ok, BoxAnswer::Ok}}) {
        SeenBox seen;
        whenBoxShows(seen, [](QMessageBox& box) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&box, &press);
        });
        EXPECT_EQ(messageBox("Question", "", c.buttons), c.escape);
    }
}

// The window that had the keyboard gets it back when the box closes, so the page keys work
// at once; with none active (a dialog just closed), the main window takes it.
TEST(MessageBox, AClosedBoxGivesTheKeysBackToTheWindow) {
    QWidget window;
    window.show();
    for (bool activeBefore : {true, false}) {
        if (activeBefore)
            window.activateWindow();
        else
            QApplication::setActiveWindow(nullptr);
        SeenBox seen;
        whenBoxShows(seen, [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
        messageBox("Your score:", "50.0% right first time!");
        QCoreApplication::processEvents();
        EXPECT_TRUE(window.isActiveWindow()) << "active before: " << activeBefore;
    }
}

} // namespace lorvenna

namespace lorvenna {

// A confirmation that typing may run into takes Enter or a click: Space, letters and Escape,
// sent where the keyboard is, leave it up.
TEST(MessageBox, AConfirmationTakesOnlyEnterOrAClick) {
    for (bool enter : {true, false}) {
        bool upAfterTyping = false;
        SeenBox seen;
        whenBoxShows(seen, [&](QMessageBox& box) {
            QWidget* focus = box.focusWidget() ? box.focusWidget() : &box;
            const std::pair<int, const char*> keys[] = {
                {Qt::Key_Space, " "}, {Qt::Key_X, "x"}, {Qt::Key_Escape, "\x1b"}};
            for (const auto& [key, text] : keys) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
                QCoreApplication::sendEvent(focus, &press);
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier,
                                  QString::fromLatin1(text));
                QCoreApplication::sendEvent(focus, &release);
            }
            upAfterTyping = box.isVisible();
            if (enter) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QCoreApplication::sendEvent(focus, &press);
            } else {
                box.button(QMessageBox::Ok)->click();
            }
        });
        EXPECT_EQ(confirmBox("End of box.", "Lesson02-01Note0001.TXT"), BoxAnswer::Ok);
        EXPECT_TRUE(upAfterTyping) << "enter: " << enter;
        EXPECT_EQ(seen.title, "End of box.");
    }
}

} // namespace lorvenna
