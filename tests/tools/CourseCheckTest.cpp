// The course check: every error of a course with its file and line, the sample course played
// right from its own keys, and the exit codes of the tool.
#include "tools/check/CourseCheck.h"

#include "items/RunObjects.h"
#include "lesson/LessonIndex.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace lorvenna {
namespace {

// Errors of every kind, several in one file; the last display holds questions whose keys
// cannot answer them (a page-turning button, a hidden one) and one a zone answers right.
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
END PAGES
DISPLAY One 10 40 300 200 A
ITEM TEXT Q1
KEYWHAT Foo
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
    folder.addPicture();
    folder.write("BMPS/TORN.BMP", "BM and nothing a picture needs", false);
    for (const char* help : {"STARTUP", "CREDITS", "REPORT", "REGULAR1", "REGULAR2"})
        folder.write(std::string("HELP/") + help + ".TXT", "Help.\n");

    const std::string check = std::string(LORVENNA_TOOL_DIR) + "/lorvenna-check ";
    const ToolRun run = runTool(check + folder.path() + " 2>/dev/null");
    EXPECT_EQ(run.output,
              "LSNS/01-01.LSN:14: Bad KEY command KEYWHAT Foo in Item Q1... ReadLsn failed\n"
              "LSNS/01-01.LSN:18: Item Type not proper\n"
              "LSNS/01-01.LSN:55: warning: Display Spare is on no page\n"
              "LSNS/01-01.LSN:56: Image BMPS\\NOPE.BMP not present in BMPS folder!\n"
              "LSNS/01-01.LSN:59: Image BMPS\\TORN.BMP is damaged or too large to show\n"
              "LSNS/01-01.LSN:22: page 3: No proper answer found for question Q3\n"
              "LSNS/01-01.LSN: page 4: Page number wrong in Lesson\n"
              "LSNS/01-01.LSN:36: page 5: Question Q5 is judged wrong when answered from its "
              "keys\n"
              "LSNS/01-01.LSN:45: page 5: Question Q6 cannot be answered: Gone cannot be "
              "pressed: it is hidden\n"
              "LSNS/01-01.LSN:2: warning: TOTAL 5 differs from the 3 questions the lesson asks\n"
              "LSNS/01-02.LSN:1: Lesson file LSNS\\01-05.LSN is nonexistent or bad.\n"
              "LSNS/01-02.LSN:3: Page 1 specified nonexistent Display Lost\n"
              "HELP/TESTING.TXT: Help text is missing\n"
              "2 lessons, 1 page, 3 questions: 11 errors, 2 warnings\n");
    EXPECT_EQ(run.exitCode, 1);

    const ToolRun quiet = runTool(check + "--quiet " + folder.path() + " 2>/dev/null");
    EXPECT_EQ(quiet.output.find("warning"), std::string::npos);
    EXPECT_EQ(quiet.output.find("lessons,"), std::string::npos);
    EXPECT_EQ(quiet.exitCode, 1);
}

TEST(CourseCheck, SampleCourseIsAnsweredRightFromItsOwnKeys) {
    resetSession();
    FakeApp app;
    CourseCheck check;
    check.run(std::string(LORVENNA_SOURCE_DIR) + "/courseware");
    for (const Finding& finding : check.findings())
        ADD_FAILURE() << formatFinding(finding);
    EXPECT_EQ(check.lessonCount(), 9);
    EXPECT_EQ(check.questionCount(), 28);
    EXPECT_EQ(lesson().pages, nullptr); // every lesson torn down

    const std::string tool = std::string(LORVENNA_TOOL_DIR) + "/lorvenna-check --quiet ";
    const ToolRun run = runTool(tool + LORVENNA_SOURCE_DIR + "/courseware 2>/dev/null");
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.exitCode, 0);
}

} // namespace
} // namespace lorvenna
