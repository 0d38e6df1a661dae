// Where printed lines land on paper, read back from the PDF with the place of every word:
// the grade list under its heading, and one note a page.
#include "records/GradeExport.h"

#include "items/RunObjects.h"
#include "platform/Printer.h"
#include "records/NoteFile.h"
#include "shell/Session.h"
#include "tests/records/ModalSteps.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace lorvenna {

namespace {

// Less than the 10 units between the printable top and the first line, and than a line.
constexpr double kTolerance = 2.0; // points

class PrintedPagesTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        setenv("LORVENNA_PRINT_PDF", pdf.c_str(), 1);
        // The paper as the printer describes it, from an empty page.
        Printer printer;
        ASSERT_TRUE(printer.open());
        const int offsetLeft = printer.offsetLeft();
        const int offsetTop = printer.offsetTop();
        const int height = printer.pageHeight();
        scale = std::max(1, height / std::max(1, Printer::screenHeight()));
        ASSERT_TRUE(printer.close());
        const std::vector<PdfPage> pages = pdfWords(pdf);
        ASSERT_EQ(pages.size(), 1u);
        unit = pages[0].height / height;
        // Device units count from the printable area's corner; text starts at the area's
        // offsets from the paper's edges, 10 units lower.
        left = (offsetLeft + offsetLeft) * unit;
        top = (offsetTop + offsetTop + 10) * unit;
    }
    void TearDown() override { unsetenv("LORVENNA_PRINT_PDF"); }

    // Whether the word stands on the page at (x, y) points; x NAN: anywhere on line y.
    static bool stands(const PdfPage& page, const std::string& text, double x, double y) {
        for (const PdfWord& word : page.words) {
            if (word.text == text && std::abs(word.top - y) < kTolerance &&
                (std::isnan(x) || std::abs(word.left - x) < kTolerance))
                return true;
        }
        return false;
    }

    WorkFolder work;
    TestClock clock;
    const std::string pdf = work.path() + "/printed.pdf";
    double unit = 0; // points per device unit
    double left = 0; // where text starts, in points from the paper's edges
    double top = 0;
    int scale = 1;
};

} // namespace

// Headings at the top left of each page; list line k of a page 120 + 16 * scale * k units
// below the heading; each note on a page of its own from the top left, a line for each line
// of its text, none wrapped.
TEST_F(PrintedPagesTest, LinesStandWhereTheyArePlaced) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 41; ++i)
        lines.push_back("Lesson 01-" + std::to_string(100 + i) + " -- No grades yet --");
    ASSERT_TRUE(printGrades(lines, "Kim42"));
    const std::vector<PdfPage> grades = pdfWords(pdf);

    work.addDrive('E');
    std::string longLine;
    for (int i = 0; i < 40; ++i)
        longLine += "w" + std::to_string(i) + " ";
    work.write("drive-E/LORVENNA/A.TXT", "First of A\n" + longLine + "\nThird");
    work.write("drive-E/LORVENNA/B.TXT", "First of B");
    ASSERT_TRUE(printNotes('E', {"A.TXT", "B.TXT"}));
    const std::vector<PdfPage> notes = pdfWords(pdf);

    const double line = 16 * scale * unit;
    const double list = top + 120 * unit;
    struct Expected {
        const std::vector<PdfPage>& printout;
        std::size_t page;
        std::string word;
        double x;
        double y;
    };
    const Expected expected[] = {
        {grades, 0, "Grades", left, top},
        {grades, 0, "Lesson", left, list},
        {grades, 0, "01-101", NAN, list},
        {grades, 0, "01-102", NAN, list + line},
        {grades, 0, "01-140", NAN, list + 39 * line},
        {grades, 1, "Grades,", left, top},
        {grades, 1, "Lesson", left, list},
        {grades, 1, "01-141", NAN, list},
        {notes, 0, "First", left, top},
        {notes, 1, "First", left, top},
        {notes, 1, "B", NAN, top},
    };
    ASSERT_EQ(grades.size(), 2u);
    ASSERT_EQ(notes.size(), 2u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.word + " on page " + std::to_string(e.page + 1));
        EXPECT_TRUE(stands(e.printout[e.page], e.word, e.x, e.y));
    }
    // The long line of note A is one line, below the first and above the third.
    double longTop = NAN;
    for (const PdfWord& word : notes[0].words) {
        if (word.text.size() > 1 && word.text[0] == 'w' && std::isdigit(word.text[1])) {
            if (std::isnan(longTop))
                longTop = word.top;
            EXPECT_NEAR(word.top, longTop, kTolerance) << word.text;
        }
    }
    EXPECT_TRUE(stands(notes[0], "w0", left, longTop));
    EXPECT_GT(longTop, top + kTolerance);
    double third = NAN;
    for (const PdfWord& word : notes[0].words)
        third = word.text == "Third" ? word.top : third;
    EXPECT_GT(third, longTop + kTolerance);
}

} // namespace lorvenna
