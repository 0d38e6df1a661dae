// The course check: every error of a course with its file and line, the sample course played
// right from its own keys, and the exit codes of the tool.
#include "tools/check/CourseCheck.h"

#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "shell/MainWindow.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace lorvenna {
namespace {

// Errors of every kind, several in one file and several in one block; the fourth display
// holds questions whose keys cannot answer them (a page-turning button, a hidden one) and one
// a zone answers right.
constexpr const char* kBrokenLesson = R"(Lesson 01-01 Errors everywhere
TOTAL 5
PAGE 1
DISPLAY One
PAGE 2
DISPLAY Two
PAGE 3
DISPLAY Three
PAGE 5
DISPLAY Four
PAGE 6
DISPLAY One
END PAGES
DISPLAY One 10 40 300 200 A
ITEM TEXT Q1
KEYWHAT Foo
OUTPUT Nobody APPEAR
OUTPUT Q1 APPEAR 1 2
}
ITEM BMP Gone
FILE ABSENT
}
ITEM WIDGET W
}
ITEM BUTTON B
LOC 10 100
SIZE 60 20
OUTPUT Nothing HIDE
@B
}
END DISPLAY
DISPLAY Two 10 40 300 200 A
ITEM GADGET G
}
END DISPLAY
DISPLAY Three 10 40 300 200 A
ITEM TEXT Q3
KEYBUTTON Missing
}
END DISPLAY
DISPLAY Four 10 40 400 200 A
ITEM TEXT Q4
KEYSHOW Spot
}
ITEM ZONE Spot
LOC 100 100
SHAPE 0 40 L
SHAPE 90 40 L
SHAPE 180 40 L
}
ITEM TEXT Q5
KEYBUTTON Next
}
ITEM BUTTON Next
LOC 10 50
SIZE 80 30
TURNPAGE
@Next
}
ITEM TEXT Q6
KEYBUTTON Gone
}
ITEM BUTTON Gone
LOC 100 50
SIZE 80 30
HIDE
@Gone
}
END DISPLAY
DISPLAY Spare 10 40 300 200 A
ITEM BMP Pic
FILE NOPE
}
ITEM BMP Torn
FILE TORN
}
END DISPLAY
END LESSON
)";

constexpr const char* kWrongTitle = R"(Lesson 01-05 Its title names another file
PAGE 1
DISPLAY Lost
END PAGES
END LESSON
)";

// Pages naming displays without blocks, and items without their "}": the pages are built
// from what is there, so the slips after them are found too.
constexpr const char* kMissingPieces = R"(Lesson 01-03 Pieces missing
PAGE 1
DISPLAY Main
DISPLAY Ghost
PAGE 2
DISPLAY Main
DISPLAY Phantom
END PAGES
DISPLAY Main 10 10 300 200 A
ITEM TEXT Intro
@Hello
OUTPUT Nobody APPEAR
ITEM BUTTON Press
LOC 20 100
SIZE 80 30
OUTPUT Ghost2 HIDE
}
ITEM TEXT Last
@Bye
END DISPLAY
END LESSON
)";

struct ToolRun {
    std::string output;
    int exitCode = -1;
};

ToolRun runTool(const std::string& command) {
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.output += buffer;
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CourseCheck, ReportsEveryErrorWithItsFileAndLine) {
    WorkFolder folder;
    folder.write("LSNS/01-01.LSN", kBrokenLesson);
    folder.write("LSNS/01-02.LSN", kWrongTitle);
    folder.write("LSNS/01-03.LSN", kMissingPieces);
    folder.addPicture();
    folder.write("BMPS/TORN.BMP", "BM and nothing a picture needs", false);
    for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2"})
        folder.write(std::string("HELP/") + help + ".TXT", "Help.\n");

    const std::string check = std::string(LORVENNA_TOOL_DIR) + "/lorvenna-check ";
    const ToolRun run = runTool(check + folder.path() + " 2>/dev/null");
    // Each slip once, with its line, in one run: six in block One alone (on pages 1 and 6).
    // A lesson whose pages failed gets no TOTAL warning, which would only repeat them.
    EXPECT_EQ(run.output,
              "LSNS/01-01.LSN: page 4: Page number wrong in Lesson\n"
              "LSNS/01-01.LSN:16: Bad KEY command KEYWHAT Foo in Item Q1... ReadLsn failed\n"
              "LSNS/01-01.LSN:17: page 1: Connect failed on Nobody: no item Nobody is on the "
              "page\n"
              "LSNS/01-01.LSN:18: Bad connection OUTPUT Q1 APPEAR 1 2 in Item Q1: a target and "
              "its command, then no number, one or four... ReadLsn failed\n"
              "LSNS/01-01.LSN:20: Image BMPS/ABSENT.BMP not present in BMPS folder!\n"
              "LSNS/01-01.LSN:23: Item Type not proper: ITEM WIDGET W\n"
              "LSNS/01-01.LSN:28: page 1: Connect failed on Nothing: no item Nothing is on the "
              "page\n"
              "LSNS/01-01.LSN:33: Item Type not proper: ITEM GADGET G\n"
              "LSNS/01-01.LSN:37: page 3: No proper answer found for question Q3\n"
              "LSNS/01-01.LSN:51: page 5: Question Q5 is judged wrong when answered from its "
              "keys\n"
              "LSNS/01-01.LSN:60: page 5: Question Q6 cannot be answered: Gone cannot be "
              "pressed: it is hidden\n"
              "LSNS/01-01.LSN:70: warning: Display Spare is on no page\n"
              "LSNS/01-01.LSN:71: Image BMPS/NOPE.BMP not present in BMPS folder!\n"
              "LSNS/01-01.LSN:74: Image BMPS/TORN.BMP is damaged or too large to show\n"
              "LSNS/01-02.LSN:1: The title line's numbers name the lesson file LSNS/01-05.LSN, "
              "not this file LSNS/01-02.LSN: the player opens that file for this lesson (it does "
              "not exist); give the title the numbers of the file name\n"
              "LSNS/01-02.LSN:3: Page 1 specified nonexistent Display Lost\n"
              "LSNS/01-03.LSN:4: Page 1 specified nonexistent Display Ghost\n"
              "LSNS/01-03.LSN:7: Page 2 specified nonexistent Display Phantom\n"
              "LSNS/01-03.LSN:12: page 1: Connect failed on Nobody: no item Nobody is on the "
              "page\n"
              "LSNS/01-03.LSN:13: Item Intro has no } before this line\n"
              "LSNS/01-03.LSN:16: page 1: Connect failed on Ghost2: no item Ghost2 is on the "
              "page\n"
              "LSNS/01-03.LSN:20: Item Last has no } before this line\n"
              "HELP/TESTING.TXT: Help text is missing\n"
              "3 lessons, 8 pages, 3 questions: 22 errors, 1 warning\n");
    EXPECT_EQ(run.exitCode, 1);

    const ToolRun quiet = runTool(check + "--quiet " + folder.path() + " 2>/dev/null");
    EXPECT_EQ(quiet.output.find("warning"), std::string::npos);
    EXPECT_EQ(quiet.output.find("lessons,"), std::string::npos);
    EXPECT_EQ(quiet.exitCode, 1);
}

// A page laid out past its edges, a PNG picture under a BMP name, and a file that mixes
// UTF-8 with 8-bit text.
constexpr const char* kCrampedLesson = "Lesson 01-01 Cramped\n"
                                       "TOTAL 1\nPAGE 1\nDISPLAY Main\nDISPLAY Side\nEND PAGES\n"
                                       "DISPLAY Main 600 500 300 60 A\n"
                                       "ITEM TEXT Ask\nLOC 10 10\nKEYNUM Field 12 0\n"
                                       "@Caf\xC3\xA9 or caf\xE9?\n}\n"
                                       "ITEM EDIT Field\nLOC 10 30\nSIZE 60 20\n}\n"
                                       "ITEM TEXT Unit\nLOC 74 34\n@cm\n}\n"
                                       "ITEM LABEL Far\nLOC 350 10\n@Out there\n}\n"
                                       "END DISPLAY\n"
                                       "DISPLAY Side 10 10 200 40 A\n"
                                       "ITEM BMP Photo\nFILE PHOTO\n}\n"
                                       "ITEM TEXT Long\nLOC 5 5\n@one\n@\n@two\n@\n@three\n}\n"
                                       "END DISPLAY\nEND LESSON\n";

TEST(CourseCheck, WarnsAboutLayoutAndMixedText) {
    resetSession();
    WorkFolder folder;
    folder.write("LSNS/01-01.LSN", kCrampedLesson);
    folder.write("BMPS/PHOTO.BMP", "\x89PNG\r\n\x1a\n and the rest", false);
    MainWindow window;
    CourseCheck check;
    check.runLesson(folder.path(), "01-01.LSN");
    std::string report;
    for (const Finding& finding : check.findings())
        report += formatFinding(finding) + "\n";
    // How far the text runs depends on the font.
    report = std::regex_replace(report, std::regex("runs [0-9]+ pixels"), "runs N pixels");
    EXPECT_EQ(report,
              "LSNS/01-01.LSN:7: warning: Display Main at 600 500, 300 by 60, runs past the 800 "
              "by 600 page\n"
              "LSNS/01-01.LSN:11: warning: The file mixes UTF-8 and 8-bit text (this line is not "
              "UTF-8): it is read as 8-bit Western text, so its UTF-8 characters show wrong; save "
              "it all as UTF-8\n"
              "LSNS/01-01.LSN:13: page 1: warning: The answer mark of Field at 72 30 covers the "
              "text of Unit\n"
              "LSNS/01-01.LSN:21: page 1: warning: Item Far at 350 10 lies outside its display "
              "Main (298 by 58)\n"
              "LSNS/01-01.LSN:27: Image BMPS/PHOTO.BMP is a PNG picture, not a BMP picture: save "
              "it as BMP\n"
              "LSNS/01-01.LSN:30: page 1: warning: The text of Long runs N pixels past the bottom "
              "of its display Side\n");
}

TEST(CourseCheck, SampleCourseIsAnsweredRightFromItsOwnKeys) {
    resetSession();
    MainWindow window; // texts are measured in the player's own font, as the tool does
    CourseCheck check;
    check.run(std::string(LORVENNA_SOURCE_DIR) + "/courseware");
    for (const Finding& finding : check.findings())
        ADD_FAILURE() << formatFinding(finding);
    EXPECT_EQ(check.lessonCount(), 10);
    EXPECT_EQ(check.questionCount(), 30);
    EXPECT_EQ(lesson().pages, nullptr); // every lesson torn down

    const std::string tool = std::string(LORVENNA_TOOL_DIR) + "/lorvenna-check --quiet ";
    const ToolRun run = runTool(tool + LORVENNA_SOURCE_DIR + "/courseware 2>/dev/null");
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.exitCode, 0);
}

} // namespace
} // namespace lorvenna
