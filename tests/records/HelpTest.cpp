// Help topics shown in the real viewer: the file of each topic by the page shown, the
// length shown, and the focus given back.
#include "items/RunObjects.h"
#include "records/HelpViewer.h"

#include "records/Help.h"
#include "shell/Session.h"
#include "tests/records/ModalSteps.h"
#include "tests/support/WorkFolder.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

class HelpTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        for (const char* name : {"STARTUP", "CREDITS", "REPORT", "TESTING", "REGULAR1", "REGULAR2"})
            work.write(std::string("HELP/") + name + ".TXT", std::string("Help ") + name + "\n");
    }

    // Runs showHelp, reading what the viewer shows and closing it with Escape. Without
    // expectViewer, a viewer that opens fails the test.
    int show(HelpTopic topic, std::string& shown, bool expectViewer = true) {
        shown.clear();
        ModalSteps user;
        if (expectViewer) {
            user.then<HelpViewer>("text read", [&](HelpViewer& viewer) {
                shown = viewer.text().toStdString();
                pressKey(&viewer, Qt::Key_Escape);
            });
        }
        return user.run([topic] { return showHelp(topic, session().student.graded); });
    }

    WorkFolder work;
};

} // namespace

TEST_F(HelpTest, EachTopicShowsItsFile) {
    struct Case {
        HelpTopic topic;
        bool questionAsked;
        bool graded;
        const char* shown; // nullptr: nothing is shown
    };
    const Case cases[] = {
        {HelpTopic::Starting, false, false, "Help STARTUP\n"},
        {HelpTopic::About, false, false, "Help CREDITS\n"},
        {HelpTopic::Report, false, true, "Help REPORT\n"},
        {HelpTopic::PageKeys, true, true, "Help TESTING\n"},
        {HelpTopic::HelpButton, true, false, "Help TESTING\n"},
        {HelpTopic::PageKeys, false, true, "Help REGULAR2\n"},
        {HelpTopic::HelpButton, false, false, "Help REGULAR1\n"},
        {HelpTopic{999}, false, false, nullptr},
    };
    for (const Case& c : cases) {
        pageOnScreen().questionAsked = c.questionAsked;
        session().student.graded = c.graded;
        std::string shown;
        EXPECT_EQ(show(c.topic, shown, c.shown != nullptr), c.shown ? 1 : 0)
            << static_cast<int>(c.topic);
        EXPECT_EQ(shown, c.shown ? c.shown : "")
            << static_cast<int>(c.topic) << (c.questionAsked ? " with a question asked" : "");
    }
}

TEST_F(HelpTest, ShowsTheFirst2040BytesAndGivesTheFocusBack) {
    std::string long_text;
    while (long_text.size() < 3000)
        long_text += "abcdefghi\r\n";
    work.write("HELP/CREDITS.TXT", long_text, false);
    // A dialog that asked gets the focus back on the control that had it, not on itself.
    QWidget dialog;
    auto* asking = new QLineEdit(&dialog);
    new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    asking->setFocus();
    QCoreApplication::processEvents();
    std::string shown;
    EXPECT_EQ(show(HelpTopic::About, shown), 1);
    // 2040 bytes are 185 lines of 11 bytes and "abcde"; the viewer shows line ends as LF.
    EXPECT_EQ(shown.size(), 2040u - 185u);
    EXPECT_EQ(shown.substr(shown.size() - 6), "\nabcde");
    EXPECT_EQ(dialog.focusWidget(), asking);
    EXPECT_TRUE(dialog.isActiveWindow());

    std::remove((work.path() + "/HELP/CREDITS.TXT").c_str());
    EXPECT_EQ(show(HelpTopic::About, shown, false), 0);
}

// Help during a lesson: the main window, which owns the viewer, gets the keys back.
TEST_F(HelpTest, ClosedViewerGivesTheKeysBackToItsOwner) {
    QWidget owner;
    owner.show();
    owner.activateWindow();
    ModalSteps user;
    user.then<HelpViewer>("viewer closed",
                          [](HelpViewer& viewer) { pressKey(&viewer, Qt::Key_Escape); });
    EXPECT_EQ(user.run([&] { return HelpViewer("text", &owner).exec(); }), 1);
    EXPECT_TRUE(owner.isActiveWindow());
}

} // namespace lorvenna
