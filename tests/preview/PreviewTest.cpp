// The author's preview on a temporary course: the page follows its lesson file as editors
// save it, a broken save shows the check's problems over the last good page and a fixed one
// brings the page back, the region overlay outlines the zones, and nothing is written.
#include "preview/Preview.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "platform/QtChildWindow.h"
#include "platform/ScreenScale.h"
#include "preview/ProblemPanel.h"
#include "shell/MainWindow.h"
#include "shell/Session.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"
#include "tools/shot/PageShot.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDialog>
#include <QKeyEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace lorvenna {
namespace {

namespace fs = std::filesystem;

// Two pages; the second shows a zone and names the text it holds after its title.
std::string lessonText(const std::string& caption, const std::string& extraPage = "") {
    return R"(Lesson 01-01 Wheels
TOTAL 0
PAGE 1
DISPLAY Intro
PAGE 2
DISPLAY Board
)" + extraPage +
           R"(END PAGES
DISPLAY Intro 10 40 300 200 A
ITEM TEXT Welcome
LOC 10 10
SIZE 200 60
@Welcome
}
END DISPLAY
DISPLAY Board 20 50 400 300 A
ITEM TEXT )" +
           caption + R"(
LOC 10 10
SIZE 200 40
@)" + caption +
           R"(
}
ITEM ZONE Hub
LOC 200 100
SHAPE 0 80 L
SHAPE 90 80 L
SHAPE 180 80 L
SHAPE 270 80 L
}
END DISPLAY
END LESSON
)";
}

// A display block whose item type does not exist, on line 31 of the file.
constexpr const char* kBadBlock = R"(Lesson 01-01 Wheels
TOTAL 0
PAGE 1
DISPLAY Intro
PAGE 2
DISPLAY Board
END PAGES
DISPLAY Intro 10 40 300 200 A
ITEM TEXT Welcome
LOC 10 10
SIZE 200 60
@Welcome
}
END DISPLAY
DISPLAY Board 20 50 400 300 A
ITEM WHEEL Spokes
}
END DISPLAY
END LESSON
)";

std::map<std::string, std::string> filesUnder(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            files[entry.path().string()] = "(folder)";
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

class PreviewTest : public testing::Test {
protected:
    PreviewTest() {
        resetSession();
        folder.write("LSNS/01-01.LSN", lessonText("Spokes"));
        folder.addPicture();
        for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2"})
            folder.write(std::string("HELP/") + help + ".TXT", "Help.\n");
    }

    void open(int page) {
        preview = std::make_unique<Preview>(folder.path(), "01-01.LSN", page);
        ASSERT_TRUE(preview->start());
        preview->window().setExitHandler([this] { ++exits; });
    }

    // An editor that writes a new file and renames it over the lesson.
    void saveByRename(const std::string& text) {
        folder.write("LSNS/.01-01.LSN.swp", text);
        fs::rename(folder.path() + "/LSNS/.01-01.LSN.swp", folder.path() + "/LSNS/01-01.LSN");
    }
    // An editor that writes over the lesson's own bytes.
    void saveInPlace(const std::string& text) {
        std::ofstream out(folder.path() + "/LSNS/01-01.LSN", std::ios::binary | std::ios::trunc);
        out << crlf(text);
    }

    // Runs the event loop until the watch has read the files again; the deadline only keeps
    // a broken watch from hanging the suite.
    bool reloaded() {
        const int before = preview->reloads();
        QDeadlineTimer deadline(10000);
        while (preview->reloads() == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return preview->reloads() > before;
    }

    std::string firstItemOf(int slot) const {
        const Display* display = pageOnScreen().displays[slot];
        return display && display->items ? display->items->title : "";
    }

    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(&preview->window(), &press);
        QCoreApplication::processEvents();
    }

    WorkFolder folder;
    ScriptedBoxes boxes;
    TestClock clock;
    std::unique_ptr<Preview> preview;
    int exits = 0;
};

TEST_F(PreviewTest, OpensAtThePageAndFollowsSavesByRenameAndInPlace) {
    open(2);
    EXPECT_TRUE(preview->pageLive());
    EXPECT_EQ(lesson().currentPage(), 2);
    EXPECT_EQ(firstItemOf(1), "Spokes");
    EXPECT_TRUE(boxes.shown().empty()); // no start dialog, no lesson list

    saveByRename(lessonText("Rim"));
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(lesson().currentPage(), 2);
    EXPECT_EQ(firstItemOf(1), "Rim");

    saveInPlace(lessonText("Tyre"));
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(firstItemOf(1), "Tyre");
    // A second save in place after a rename: the watch was set again on the new file.
    saveInPlace(lessonText("Valve"));
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(firstItemOf(1), "Valve");
    EXPECT_NE(preview->statusText().find("LSNS/01-01.LSN, page 2 of 2"), std::string::npos);

    // A burst of saves is read once the files have settled, with the last save's text.
    const int before = preview->reloads();
    for (const char* caption : {"Hub", "Axle", "Chain"})
        saveInPlace(lessonText(caption));
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(firstItemOf(1), "Chain");
    EXPECT_EQ(preview->reloads(), before + 1);
}

TEST_F(PreviewTest, ASaveWhileADialogIsOpenIsReadOnceItHasClosed) {
    open(2);
    QDialog dialog(&preview->window()); // the help viewer, say, over the page
    dialog.setModal(true);
    dialog.show();
    const int before = preview->reloads();
    saveByRename(lessonText("Rim"));
    saveInPlace(lessonText("Tyre"));
    preview->watch().checkNow();
    EXPECT_EQ(preview->reloads(), before);
    EXPECT_EQ(firstItemOf(1), "Spokes");
    dialog.close();
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(firstItemOf(1), "Tyre");
}

TEST_F(PreviewTest, AnotherLessonSavedBesideItReadsNothing) {
    open(1);
    const int reloads = preview->reloads();
    folder.write("LSNS/01-02.LSN", lessonText("Other"));
    EXPECT_FALSE(preview->watch().checkNow());
    EXPECT_EQ(preview->reloads(), reloads);
}

TEST_F(PreviewTest, ALessonThatGotShorterShowsItsLastPage) {
    folder.write("LSNS/01-01.LSN", lessonText("Spokes", "PAGE 3\nDISPLAY Intro\n"));
    open(3);
    EXPECT_EQ(lesson().currentPage(), 3);
    saveByRename(lessonText("Spokes"));
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(lesson().currentPage(), 2);
    EXPECT_TRUE(preview->pageLive());
}

TEST_F(PreviewTest, ABrokenSaveShowsTheProblemsOverTheLastPageAndAFixBringsItBack) {
    open(2);
    saveByRename(kBadBlock);
    ASSERT_TRUE(reloaded());
    EXPECT_FALSE(preview->window().isDestroyed());
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(preview->pageLive());
    ASSERT_TRUE(preview->panel().coversPage());
    EXPECT_EQ(preview->panel().title(), "Page 2 cannot be shown");
    const std::vector<std::string> lines = preview->panel().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "LSNS/01-01.LSN:16: Item Type not proper");
    EXPECT_NE(preview->statusText().find("1 error"), std::string::npos);
    EXPECT_TRUE(boxes.shown().empty()); // no "Bad LSN file." box

    // The page keys still go to the pages that work.
    key(Qt::Key_Left);
    EXPECT_TRUE(preview->pageLive());
    EXPECT_EQ(firstItemOf(1), "Welcome");
    EXPECT_FALSE(preview->panel().coversPage());

    saveInPlace(lessonText("Spokes"));
    ASSERT_TRUE(reloaded());
    EXPECT_TRUE(preview->pageLive());
    EXPECT_FALSE(preview->panel().isVisible());
    EXPECT_EQ(lesson().currentPage(), 1);
}

TEST_F(PreviewTest, AMissingPictureIsNamedInThePanel) {
    folder.write("LSNS/01-01.LSN", lessonText("Spokes"));
    open(2);
    std::string withPicture = lessonText("Spokes");
    withPicture.replace(withPicture.find("ITEM ZONE Hub"), 0, "ITEM BMP Photo\nFILE GONE\n}\n");
    saveByRename(withPicture);
    ASSERT_TRUE(reloaded());
    ASSERT_TRUE(preview->panel().coversPage());
    const std::vector<std::string> lines = preview->panel().lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "LSNS/01-01.LSN:21: Image BMPS\\GONE.BMP not present in BMPS folder!"),
              lines.end());
}

TEST_F(PreviewTest, ProblemsOnAnotherPageLeaveThePageLiveWithTheListBesideIt) {
    // Page 2's question names a button that is not there; page 1 is fine.
    std::string keyed = lessonText("Spokes");
    keyed.replace(keyed.find("@Spokes"), 7, "@Spokes\nKEYBUTTON Nothing");
    folder.write("LSNS/01-01.LSN", keyed);
    open(1);
    EXPECT_TRUE(preview->pageLive());
    EXPECT_TRUE(preview->panel().isVisible());
    EXPECT_FALSE(preview->panel().coversPage());
    const std::vector<std::string> lines = preview->panel().lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "LSNS/01-01.LSN:16: page 2: No proper answer found for question Spokes"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "HELP/TESTING.TXT: Help text is missing"),
              lines.end());
}

TEST_F(PreviewTest, TheRegionOverlayOutlinesTheZoneWhereItIs) {
    open(2);
    const QImage plain = preview->window().grab().toImage(); // a zone's region is made drawn
    const Item* zone = pageOnScreen().displays[1]->items->next;
    ASSERT_TRUE(zone->region);
    // The zone's middle and a point beyond it, in the main window at the page's scale.
    const QRect box = zone->region->qregion().boundingRect();
    const QPoint client =
        widgetOf(*pageOnScreen().displays[1]->window)->mapTo(&preview->window(), QPoint(0, 0));
    const QPoint middle = client + box.center() * scaleSize(1.0);
    const QPoint outside = client + QPoint(box.right() + 40, box.bottom() + 40) * scaleSize(1.0);

    preview->setRegionsShown(true);
    const QImage outlined = preview->window().grab().toImage();
    EXPECT_NE(outlined.pixel(middle), plain.pixel(middle));
    EXPECT_EQ(outlined.pixel(outside), plain.pixel(outside));
    // Ctrl+R takes it away again, and the page picture never holds it.
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(preview->regionsShown());
}

TEST_F(PreviewTest, AuthorKeysTurnTestPagesShowTheLegendAndCopyThePage) {
    std::string test = lessonText("Spokes");
    test.replace(test.find("TOTAL 0"), 7, "TEST 0");
    folder.write("LSNS/01-01.LSN", test);
    open(1);
    ASSERT_TRUE(lesson().testLesson);
    key(Qt::Key_Right);
    EXPECT_EQ(lesson().currentPage(), 2);
    key(Qt::Key_PageUp);
    EXPECT_EQ(lesson().currentPage(), 1);

    key(Qt::Key_F1);
    EXPECT_TRUE(preview->legendShown());
    EXPECT_TRUE(boxes.shown().empty()); // F1 is the legend here, not the help viewer

    key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    QImage png;
    ASSERT_TRUE(png.loadFromData(copied->data("image/png"), "PNG"));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              preview->pagePicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(png.size(), QSize(scaleX(kPageWidth), scaleY(kPageHeight)));

    preview->goToPage(2); // Ctrl+G, once the page is chosen
    QCoreApplication::processEvents();
    EXPECT_EQ(lesson().currentPage(), 2);
}

TEST_F(PreviewTest, TheCopiedPageIsThePictureLorvennaShotDraws) {
    open(2);
    preview->window().resize(1000, 700); // a window larger than the page, as a maximised one
    QCoreApplication::processEvents();
    const QImage copied = preview->pagePicture().convertToFormat(QImage::Format_RGB32);
    const double factor = screenScale().scaleDiag;
    preview.reset();

    PageShot shot;
    ASSERT_TRUE(shot.render(folder.path() + "/LSNS/01-01.LSN", 2, false, true, factor)) << shot.error();
    EXPECT_EQ(copied, shot.image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(PreviewTest, NothingIsWrittenToTheWorkingFolderOrAKeyDisk) {
    const std::string stick = folder.addDrive('E');
    folder.write("LORVENNA.BMK", "L01-01\n");
    const auto before = filesUnder(folder.path());
    open(1);
    key(Qt::Key_Right);
    key(Qt::Key_N); // a note
    EXPECT_NE(preview->statusText().find("Notes are not written"), std::string::npos);
    key(Qt::Key_M); // the lesson ends: score, then page 1 again, each state a posted message
    for (int state = 0; state < 4; ++state)
        QCoreApplication::processEvents();
    EXPECT_EQ(lesson().currentPage(), 1);
    saveInPlace(lessonText("Hub"));
    ASSERT_TRUE(reloaded());
    key(Qt::Key_Q); // quit
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(filesUnder(folder.path()), [&] {
        auto after = before;
        after[folder.path() + "/LSNS/01-01.LSN"] = crlf(lessonText("Hub"));
        return after;
    }());
}

} // namespace
} // namespace lorvenna
