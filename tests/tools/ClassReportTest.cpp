// The class summary against a table worked out by hand, and the class report as a browser
// and a reader of HTML see it.
#include "tools/grades/ClassReport.h"
#include "tools/grades/ClassSummary.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "records/GradeRecord.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/RegisteredDisk.h"
#include "tests/support/WorkFolder.h"

#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace lorvenna {
namespace {

void writeGrade(WorkFolder& folder, char drive, long major, long minor, long sequence,
                std::string_view student, long right, int day = 7) {
    const GradeRecord record =
        GradeRecord::make(LocalTime{2026, 3, day, 9, 0, 0}, major, minor, 10, right, 10, student);
    const GradeRecord::Bytes bytes = record.toDisk();
    char name[64];
    std::snprintf(name, sizeof name, "drive-%c/LORVENNA/L%02ld-%02ldS%03ld.GRD", drive, major,
                  minor, sequence);
    folder.write(name, std::string(bytes.begin(), bytes.end()), false);
}

// Three students: Bea improves in 01-01 and has an altered 01-02; ada has 01-01 and a lesson
// the course does not list; Cy has tried nothing valid, only a copy of someone else's grade.
struct ClassOfThree {
    WorkFolder folder;
    GradeTable table;
    std::map<LessonNumbers, std::string> titles;
    ClassOfThree() {
        resetSession();
        folder.write("course/LSNS/01-01.LSN", "Lesson 01-01 Wheels\r\nTOTAL 10\r\n", false);
        folder.write("course/LSNS/01-02.LSN", "  Lesson 01-02   Gears  \r\n", false);
        const std::string bea = makeRegisteredDisk(folder, 'E', "Bea");
        writeGrade(folder, 'E', 1, 1, 1, "Bea", 6, 7);
        writeGrade(folder, 'E', 1, 1, 2, "Bea", 9, 8);
        writeGrade(folder, 'E', 1, 2, 1, "Bea", 10);
        folder.write("drive-E/LORVENNA/L01-02S001.GRD", std::string(60, '\x7f'), false);
        const std::string ada = makeRegisteredDisk(folder, 'F', "ada");
        writeGrade(folder, 'F', 1, 1, 1, "ada", 10);
        writeGrade(folder, 'F', 2, 1, 1, "ada", 5);
        const std::string cy = makeRegisteredDisk(folder, 'G', "Cy");
        writeGrade(folder, 'G', 1, 1, 1, "Zed<&>", 10);
        for (const std::string& disk : {bea, ada, cy})
            table.addDisk(disk);
        std::string problem;
        titles = readCourseTitles(folder.path() + "/course", problem);
        EXPECT_EQ(problem, "");
    }
};

TEST(ClassSummary, BestValidScoresAgainstATableWorkedOutByHand) {
    ClassOfThree school;
    const ClassSummary summary(school.table, school.titles);
    EXPECT_EQ(summary.csv(),
              "student,01-01 Wheels,01-01 attempts,01-02 Gears,01-02 attempts,02-01,02-01 "
              "attempts\r\n"
              "ada,100.0,1,,0,50.0,1\r\n"
              "Bea,90.0,2,,0,,0\r\n"
              "Cy,,0,,0,,0\r\n");
    const LessonSpread wheels = summary.spread(0);
    EXPECT_EQ(wheels.tried, 2);
    EXPECT_EQ(wheels.notTried, 1);
    EXPECT_DOUBLE_EQ(wheels.low, 90.0);
    EXPECT_DOUBLE_EQ(wheels.lowerQuartile, 92.5);
    EXPECT_DOUBLE_EQ(wheels.median, 95.0);
    EXPECT_DOUBLE_EQ(wheels.upperQuartile, 97.5);
    EXPECT_DOUBLE_EQ(wheels.high, 100.0);
    EXPECT_EQ(summary.spread(1).notTried, 3);
    // Bea's attempts in the order made.
    ASSERT_EQ(summary.students()[1].history.size(), 2u);
    EXPECT_EQ(summary.students()[1].history[0].right, 6);
}

// The whole text of an element, and of every element inside it.
std::string elementText(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
}

TEST(ClassReport, IsSelfContainedAndChartsEveryStudentAndLesson) {
    ClassOfThree school;
    const ClassSummary summary(school.table, school.titles);
    const std::string html = classReport(school.table, summary);
    QXmlStreamReader xml(QByteArray::fromStdString(html));
    std::vector<std::set<std::string>> svgTexts; // the <text> of each chart
    int titled = 0;
    std::string tableText;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const std::string name = xml.name().toString().toStdString();
        EXPECT_NE(name, "script");
        EXPECT_NE(name, "link");
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            EXPECT_TRUE(attribute.name() != u"href" && attribute.name() != u"src") << name;
        if (name == "svg")
            svgTexts.emplace_back();
        else if (name == "text")
            svgTexts.back().insert(elementText(xml));
        else if (name == "desc")
            ++titled;
        else if (name == "table")
            tableText += elementText(xml);
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // The grid, the spread, and one history a student: each with its title and description.
    ASSERT_EQ(svgTexts.size(), 2u + summary.students().size());
    EXPECT_EQ(titled, static_cast<int>(svgTexts.size()));
    for (const char* student : {"ada", "Bea", "Cy"}) {
        EXPECT_TRUE(svgTexts[0].count(student)) << student;
        EXPECT_NE(tableText.find(student), std::string::npos);
    }
    for (const char* lesson : {"01-01", "01-02", "02-01"}) {
        EXPECT_TRUE(svgTexts[0].count(lesson)) << lesson;
        EXPECT_TRUE(svgTexts[1].count(lesson)) << lesson;
    }
    EXPECT_TRUE(svgTexts[0].count("100"));
    EXPECT_TRUE(svgTexts[1].count("3 not tried"));
    // The rows not counted, with why.
    EXPECT_NE(tableText.find("Zed<&>"), std::string::npos);
    EXPECT_NE(tableText.find("the checksum does not hold"), std::string::npos);
}

// A browser shows the page: the screenshot is not blank and the text holds every student.
TEST(ClassReport, HeadlessChromiumShowsEveryStudent) {
    ClassOfThree school;
    const ClassSummary summary(school.table, school.titles);
    school.folder.write("report.html", classReport(school.table, summary), false);
    const std::string dir = school.folder.path();
    const std::string browser = "chromium --headless --no-sandbox --disable-gpu --no-first-run "
                                "--hide-scrollbars --user-data-dir=" +
                                dir + "/profile --window-size=1200,1400 ";
    const std::string page = " file://" + dir + "/report.html";
    ASSERT_EQ(
        std::system(
            (browser + "--screenshot=" + dir + "/shot.png" + page + " >/dev/null 2>&1").c_str()),
        0);
    ASSERT_EQ(
        std::system((browser + "--dump-dom" + page + " >" + dir + "/dom.html 2>/dev/null").c_str()),
        0);
    const QImage shot(QString::fromStdString(dir + "/shot.png"));
    ASSERT_FALSE(shot.isNull());
    // Ink and the grid's shades: far more than a blank page's one colour.
    std::set<QRgb> colours;
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            const QRgb pixel = shot.pixel(x, y);
            colours.insert(pixel);
            dark += qGray(pixel) < 128;
        }
    }
    EXPECT_GT(colours.size(), 20u);
    EXPECT_GT(dark, 1000);
    const std::string dom = school.folder.read("dom.html");
    for (const char* student : {"ada", "Bea", "Cy"})
        EXPECT_NE(dom.find(std::string(">") + student + "<"), std::string::npos) << student;
}

} // namespace
} // namespace lorvenna
