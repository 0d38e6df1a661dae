// Start-up: the checks of the working folder and the window it opens.
#include "shell/StartUp.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/MessageBox.h"
#include "platform/ScreenScale.h"
#include "shell/MainWindow.h"
#include "shell/Session.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

namespace lorvenna {

namespace {

constexpr const char* kReinstall = "Reinstall, or change Working Directory in shortcut.";

TEST(startUp, EmptyFolderHasNoLessons) {
    resetSession();
    WorkFolder folder;
    folder.addPicture();
    ScriptedBoxes boxes;
    EXPECT_EQ(startUp(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "No Lesson files in working directory.");
    EXPECT_EQ(boxes.shown()[0].text, kReinstall);
    EXPECT_FALSE(appServicesInstalled());
}

TEST(startUp, LessonsWithoutPictures) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/01-01.LSN", "Lesson 01-01 One\nEND PAGES\n");
    folder.write("BMPS/README.TXT", "not a picture\n");
    ScriptedBoxes boxes;
    EXPECT_EQ(startUp(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "No image (BMP) files in working directory.");
    EXPECT_EQ(boxes.shown()[0].text, kReinstall);
}

TEST(startUp, OpensTheMainWindowWhenBothAreThere) {
    resetSession();
    WorkFolder folder;
    // Names are matched without regard to case.
    folder.write("LSNS/01-01.lsn", "Lesson 01-01 One\nEND PAGES\n");
    folder.addPicture("blank");
    ScriptedBoxes boxes;
    std::unique_ptr<MainWindow> window = startUp();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(&appServices(), window.get());
    EXPECT_EQ(screenScale().scaleX, 1.0);
}

} // namespace

} // namespace lorvenna
