// The grade review offscreen: listing a key disk, export files byte by byte, printing read
// back from PDF, and the disk problems.
#include "records/GradeReviewDialog.h"

#include "items/RunObjects.h"
#include "platform/Clock.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "records/DialogControls.h"
#include "records/GradeExport.h"
#include "records/GradeRecord.h"
#include "records/GradeReview.h"
#include "records/GradeReviewSteps.h"
#include "records/GradeScan.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/records/ModalSteps.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestClock.h"
#include "tests/support/WorkFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>

namespace lorvenna {

namespace {

using Review = GradeReviewDialog;

const char* const kHeader = "\r\n\r\nGrades from Lorvenna software\r\nfor student Kim42:\r\n";

std::string status(Review& d) {
    return findControl<QLabel>(d, Review::kStatusId)->text().toStdString();
}

std::vector<std::string> listed(Review& d) {
    std::vector<std::string> lines;
    auto* list = findControl<QListWidget>(d, Review::kListId);
    for (int i = 0; i < list->count(); ++i)
        lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

const char* const kInvitation = "Now you can write down these grades on paper, or add them to a "
                                "text file on hard disk (via Save File below.)";

// The key was read: the name field shows its owner, and the listing has been made.
bool nameShown(Review& d) {
    return !findControl<QLineEdit>(d, Review::kNameFieldId)->text().isEmpty();
}

bool listingDone(Review& d) {
    return status(d).rfind("Finding", 0) != 0 && status(d).rfind("Checking", 0) != 0;
}

void save(Review& d, const std::string& name) {
    QLineEdit* field = findControl<QLineEdit>(d, Review::kSaveFieldId);
    field->clear();
    field->setFocus();
    typeText(field, name);
    pressKey(field, Qt::Key_Return);
}

void click(Review& d, int id) {
    findControl<QPushButton>(d, id)->click();
}

// LORVENNA_PRINT_PDF for the life of the object.
class PrintTo {
public:
    explicit PrintTo(const std::string& value) { setenv("LORVENNA_PRINT_PDF", value.c_str(), 1); }
    ~PrintTo() { unsetenv("LORVENNA_PRINT_PDF"); }
};

class GradeReviewTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        work.addDrive('E');
        session().student.keyDrive = 'E';
        setText(session().student.studentId, "Kim42");
        setText(session().student.typedPassword, "Pw7");
        ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
        key = work.read("drive-E/LORVENNA/KEY.GRD");
        resetSession(); // the review reads the key itself
    }

    void lessons(std::initializer_list<const char*> names) {
        for (const char* name : names)
            work.write(std::string("LSNS/") + name + ".LSN", "Lesson\n");
    }

    void grade(long major, long minor, int sequence, const char* id, int answered, int right,
               int possible, bool altered = false) {
        GradeRecord::Bytes bytes =
            GradeRecord::make(LocalTime{2009, 5, 7}, major, minor, answered, right, possible, id)
                .toDisk();
        if (altered)
            bytes[6] ^= 0x10;
        char name[64];
        std::snprintf(name, sizeof name, "drive-E/LORVENNA/L%.2ld-%.2ldS%03d.GRD", major, minor,
                      sequence);
        work.write(name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   false);
    }

    WorkFolder work;
    ScriptedBoxes boxes;
    TestClock clock;
    std::string key; // the bytes of the key file of Kim42
};

} // namespace

TEST_F(GradeReviewTest, ListsTheDiskAndSavesBothForms) {
    lessons({"01-01", "01-02", "02-01"});
    grade(1, 1, 1, "Kim42", 10, 6, 10);
    grade(1, 1, 2, "Kim42", 20, 17, 20);
    grade(1, 1, 3, "Kim42", 10, 6, 10, true);
    grade(2, 1, 1, "kim42", 4, 2, 4); // the owner's ID in other letter case
    const std::vector<std::string> expected = {
        "Lesson 01-01 -- Date 05/07/09 -- [  60%] -- [ 10 ans,   6 right,  10 poss]",
        "Lesson 01-01 -- Date 05/07/09 -- [  85%] -- [ 20 ans,  17 right,  20 poss]",
        "Lesson 01-01, !!!!! ALTERED ENTRY !!!!!",
        "Lesson 01-02 -- No grades yet --",
        "Lesson 02-01 -- Date 05/07/09 -- [  50%] -- [  4 ans,   2 right,   4 poss]",
    };
    ModalSteps user;
    user.then<Review>("list shown", listingDone, [&](Review& d) {
        EXPECT_EQ(listed(d), expected);
        EXPECT_EQ(findControl<QLineEdit>(d, Review::kNameFieldId)->text(), "Kim42");
        EXPECT_EQ(status(d), kInvitation);
        save(d, "grades");
        EXPECT_EQ(status(d), "Now you can either insert another disk and hit the New Disk "
                             "button, or return to main menu.");
        save(d, "Grades.csv");
        pressKey(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
    EXPECT_TRUE(boxes.shown().empty());
    std::string plain = kHeader;
    for (const std::string& line : expected)
        plain += line + "\r\n";
    EXPECT_EQ(work.read("GRADES.TXT"), plain);
    EXPECT_EQ(work.read("GRADES.CSV"), "Kim42 , 85, 0, 50, \r\n");
}

TEST_F(GradeReviewTest, ExistingNamesAreRefusedAndLeftAlone) {
    lessons({"01-01"});
    work.write("grades.txt", "keep", false);
    work.write("OUT.CSV/inside.txt", "folder", false);
    ModalSteps user;
    user.then<Review>("list shown", listingDone, [&](Review& d) {
        save(d, "Grades");
        EXPECT_EQ(status(d), "You forgot to specify a file name.");
        EXPECT_TRUE(findControl<QLineEdit>(d, Review::kSaveFieldId)->text().isEmpty());
        save(d, "out.csv");
        save(d, "");
        EXPECT_EQ(status(d), "You forgot to specify a file name.");
        click(d, Review::kMainMenuId);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const BoxRecord& box : boxes.shown()) {
        EXPECT_EQ(box.caption, "Try again!");
        EXPECT_EQ(box.text, "That file (or folder) already exists.");
    }
    EXPECT_EQ(work.read("grades.txt"), "keep");
}

// One line is a list like any other: it is saved and printed, not taken for none.
TEST_F(GradeReviewTest, OneLineIsSavedAndPrinted) {
    lessons({"01-01"});
    const std::string pdf = work.path() + "/out.pdf";
    PrintTo printer(pdf);
    ModalSteps user;
    user.then<Review>("list shown", listingDone, [&](Review& d) {
        save(d, "one");
        save(d, "one.csv");
        click(d, Review::kPrintId);
        EXPECT_EQ(status(d), "Sending grades to default printer. You can insert another disk "
                             "and hit the New Disk button, or return to main menu.");
        click(d, Review::kMainMenuId);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
    EXPECT_EQ(work.read("ONE.TXT"), std::string(kHeader) + "Lesson 01-01 -- No grades yet --\r\n");
    EXPECT_EQ(work.read("ONE.CSV"), "Kim42 , 0, \r\n");
    const std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Grades as of 12/8/2026, for Student Kim42"), std::string::npos);
    EXPECT_NE(pages[0].find("Lesson 01-01 -- No grades yet --"), std::string::npos);
}

TEST_F(GradeReviewTest, PrintsFortyLinesAPageUnderTheirHeadings) {
    const std::string pdf = work.path() + "/grades.pdf";
    PrintTo printer(pdf);
    auto lines = [](int count) {
        std::vector<std::string> result;
        for (int i = 1; i <= count; ++i)
            result.push_back("Lesson 01-" + std::to_string(100 + i) + " -- No grades yet --");
        return result;
    };
    auto count = [](const std::string& page) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = page.find("No grades yet", at)) != std::string::npos; ++at)
            ++n;
        return n;
    };

    ASSERT_TRUE(printGrades(lines(41), "Kim42"));
    std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("Grades as of 12/8/2026, for Student Kim42 [page 1 of 2]"),
              std::string::npos);
    EXPECT_EQ(count(pages[0]), 40u);
    EXPECT_NE(pages[1].find("Grades, as of 12/8/2026, Student Kim42 [page 2 of 2]"),
              std::string::npos);
    EXPECT_EQ(count(pages[1]), 1u);
    EXPECT_NE(pages[1].find("Lesson 01-141"), std::string::npos);

    ASSERT_TRUE(printGrades(lines(40), "Kim42"));
    pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("[page 1 of 1]"), std::string::npos);
    EXPECT_EQ(count(pages[0]), 40u);

    ASSERT_TRUE(printGrades(lines(39), "Kim42"));
    pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].find("[page"), std::string::npos);
}

TEST_F(GradeReviewTest, WithoutPrinterTheStatusSaysSo) {
    lessons({"01-01"});
    PrintTo noPrinter("");
    ModalSteps user;
    user.then<Review>("list shown", listingDone, [&](Review& d) {
        click(d, Review::kPrintId);
        EXPECT_EQ(status(d), "Printer not available or not turned on!");
        click(d, Review::kMainMenuId);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
}

TEST_F(GradeReviewTest, NewDiskForgetsTheStudentAndListsAgain) {
    lessons({"01-01"});
    grade(1, 1, 1, "Kim42", 10, 6, 10);
    setText(session().student.typedPassword, "Pw7");
    ModalSteps user;
    user.then<Review>("first disk listed", listingDone, [&](Review& d) {
        findControl<QLineEdit>(d, Review::kSaveFieldId)->setText("x");
        grade(1, 1, 2, "Kim42", 10, 9, 10);
        click(d, Review::kNewDiskId);
    });
    user.then<Review>("second disk listed", listingDone, [&](Review& d) {
        EXPECT_EQ(listed(d).size(), 2u);
        EXPECT_TRUE(findControl<QLineEdit>(d, Review::kSaveFieldId)->text().isEmpty());
        EXPECT_STREQ(session().student.typedPassword, "");
        EXPECT_STREQ(session().student.studentId, "Kim42"); // read again from the key
        click(d, Review::kMainMenuId);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
}

// Every problem with the drives or the key shows its box and ends the review, before any
// grade is listed.
TEST_F(GradeReviewTest, DiskProblemsEndTheReview) {
    enum class Disk { Registered, NoKey, WriteProtected, NegativeLength };
    struct Case {
        const char* drives; // E: the registered disk, F: a second medium, X: a drive without one
        Disk disk;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"", Disk::Registered, "No removable disk available.",
         "Restart after inserting your disk."},
        {"X", Disk::Registered, "No removable disk available.",
         "Restart after inserting your disk."},
        {"EF", Disk::Registered, "Two or more disks are inserted.",
         "Remove all but the Lorvenna disk and restart."},
        {"E", Disk::NoKey, "A disk is present but not registered for Lorvenna.",
         "Returning to main menu."},
        {"E", Disk::WriteProtected, "Unknown problem: may be a write-protected disk.",
         "Insert a different disk and hit New Disk."},
        {"E", Disk::NegativeLength, "Unknown problem: may be a write-protected disk.",
         "Insert a different disk and hit New Disk."},
    };
    lessons({"01-01"});
    grade(1, 1, 1, "Kim42", 10, 6, 10);
    work.write("drive-F/LORVENNA/KEY.GRD", key, false);
    const std::filesystem::path diskE = work.path() + "/drive-E";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.drives) + ": " + c.caption);
        resetSession();
        std::filesystem::permissions(diskE, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        std::string stored = key;
        if (c.disk == Disk::NegativeLength)
            stored[0] = static_cast<char>(stored[0] ^ 0x80);
        work.write("drive-E/LORVENNA/KEY.GRD", stored, false);
        if (c.disk == Disk::NoKey)
            std::filesystem::remove(diskE / "LORVENNA/KEY.GRD");
        if (c.disk == Disk::WriteProtected)
            std::filesystem::permissions(diskE,
                                         std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::remove);
        work.listDrives(c.drives);
        ScriptedBoxes shown;
        ModalSteps nobody; // the review ends by itself
        EXPECT_EQ(nobody.run(runGradeReview), StateCode::StartDialog);
        ASSERT_EQ(shown.shown().size(), 1u);
        EXPECT_EQ(shown.shown()[0].caption, c.caption);
        EXPECT_EQ(shown.shown()[0].text, c.text);
    }
    std::filesystem::permissions(diskE, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

// What the listing found decides the box, and which grades stay to be saved. The names of
// the other students are forgotten once shown.
TEST_F(GradeReviewTest, ListingShowsTheBoxOfWhatItFound) {
    struct Case {
        std::vector<std::pair<const char*, int>> grades; // owner and percentage, lesson 01-01
        const char* caption;                             // nullptr: no box
        const char* owners;
        bool invited; // the status invites to save the grades
        std::vector<std::string> listed;
        std::string saved; // GRADES.TXT after the header
    };
    const std::string mine =
        "Lesson 01-01 -- Date 05/07/09 -- [  60%] -- [ 10 ans,   6 right,  10 poss]";
    const std::string none = "Lesson 01-01 -- No grades yet --";
    // A disk without other students' grades comes after those with: their names must not
    // stay for its box.
    const Case cases[] = {
        {{{"Ann7", 50}, {"Kim42", 60}, {"Bo9", 70}},
         "Disk also contains grades from:",
         "Ann7 and Bo9",
         true,
         {mine},
         mine + "\r\n"},
        {{{"Ann7", 50}, {"Bo9", 70}},
         "Disk contains no grades from key owner, only grades from:",
         "Ann7 and Bo9",
         false,
         {none},
         none + "\r\n"},
        {{}, "Disk contains no grades.", "", false, {}, "\r\n [No grades selected from list.]\r\n"},
        {{{"Kim42", 60}}, nullptr, "", true, {mine}, mine + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption ? c.caption : "owner only");
        resetSession();
        std::filesystem::remove_all(work.path() + "/LSNS");
        std::filesystem::create_directory(work.path() + "/LSNS");
        std::filesystem::remove_all(work.path() + "/drive-E/LORVENNA");
        std::filesystem::remove(work.path() + "/GRADES.TXT");
        work.write("drive-E/LORVENNA/KEY.GRD", key, false);
        if (!c.grades.empty())
            lessons({"01-01"});
        int sequence = 0;
        for (const auto& [owner, percent] : c.grades)
            grade(1, 1, ++sequence, owner, 10, percent / 10, 10);
        ScriptedBoxes shown;
        ModalSteps user;
        user.then<Review>("grades listed", nameShown, [&](Review& d) {
            EXPECT_EQ(listed(d), c.listed);
            EXPECT_EQ(status(d),
                      c.invited ? kInvitation : "Finding and listing grades on this disk....");
            save(d, "grades");
            click(d, Review::kMainMenuId);
        });
        EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
        ASSERT_EQ(shown.shown().size(), c.caption ? 1u : 0u);
        if (c.caption) {
            EXPECT_EQ(shown.shown()[0].caption, c.caption);
            EXPECT_EQ(shown.shown()[0].text, c.owners);
        }
        EXPECT_EQ(work.read("GRADES.TXT"), kHeader + c.saved);
    }
}

// The save field's entry names the file: cut to 37 characters, in upper case, ".TXT" added
// unless it holds ".TXT" or ".CSV", the comma-separated form wherever ".CSV" stands.
TEST_F(GradeReviewTest, TheTypedNameMakesTheExportFile) {
    struct Case {
        std::string typed;
        std::string file;
        bool commaSeparated;
    };
    const std::string x33(33, 'x');
    const std::string X33(33, 'X');
    const Case cases[] = {
        {"grades", "GRADES.TXT", false},
        {"Mine.txt", "MINE.TXT", false},
        {"term.txt.old", "TERM.TXT.OLD", false},
        {"a.csv.bak", "A.CSV.BAK", true},
        {x33 + ".csv", X33 + ".CSV", true},
        {x33 + "y.csv", X33 + "Y.CS.TXT", false}, // 38 characters: ".CSV" is cut
        {x33 + "yyyyyyy", X33 + "YYYY.TXT", false},
    };
    lessons({"01-01"});
    ModalSteps user;
    user.then<Review>("list shown", listingDone, [&](Review& d) {
        for (const Case& c : cases)
            save(d, c.typed);
        click(d, Review::kMainMenuId);
    });
    EXPECT_EQ(user.run(runGradeReview), StateCode::LessonSelection);
    EXPECT_TRUE(boxes.shown().empty());
    std::set<std::string> made;
    for (const auto& entry : std::filesystem::directory_iterator(work.path())) {
        if (entry.is_regular_file())
            made.insert(entry.path().filename().string());
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_EQ(made.count(c.file), 1u);
        EXPECT_EQ(work.read(c.file),
                  c.commaSeparated ? std::string("Kim42 , 0, \r\n")
                                   : kHeader + std::string("Lesson 01-01 -- No grades yet --\r\n"));
    }
    EXPECT_EQ(made.size(), std::size(cases));
}

namespace {

// The review's steps with the save field typed in; what the review would show is kept.
class TypedReview : public GradeReviewView {
public:
    void setStatus(std::string_view text) override { status.assign(text); }
    void setNameField(std::string_view) override {}
    std::string saveFieldText() const override { return saveField; }
    void clearSaveField() override { saveField.clear(); }
    void focusSaveField() override {}
    void showLines(const std::vector<std::string>&) override {}
    void endDialog(StateCode) override {}

    std::string status;
    std::string saveField;
};

} // namespace

// Whatever step of the export fails, the file is there whole or not at all, no temporary file
// is left, and the student sees the box that says the grades were not saved.
TEST_F(GradeReviewTest, ExportIsWholeOrAbsentWhateverStepFails) {
    lessons({"01-01"});
    grade(1, 1, 1, "Kim42", 10, 6, 10);
    const std::string expected =
        std::string(kHeader) +
        "Lesson 01-01 -- Date 05/07/09 -- [  60%] -- [ 10 ans,   6 right,  10 poss]\r\n";
    std::optional<TypedReview> view;
    std::optional<GradeReviewSteps> steps;
    std::optional<ScriptedBoxes> runBoxes;
    auto prepare = [&] {
        std::filesystem::remove(work.path() + "/GRADES.TXT");
        resetSession();
        steps.reset();
        view.emplace();
        steps.emplace(*view, session().student);
        runBoxes.reset();
        runBoxes.emplace();
        steps->checkDisk();
        view->saveField = "grades";
    };
    auto save = [&] { steps->saveToFile(); };
    auto check = [&](const FileFault& fault) {
        SCOPED_TRACE(describe(fault));
        EXPECT_TRUE(hiddenFilesIn(work.path()).empty());
        EXPECT_FALSE(steps->ended());
        if (work.exists("GRADES.TXT")) {
            EXPECT_EQ(work.read("GRADES.TXT"), expected);
            EXPECT_TRUE(runBoxes->shown().empty());
            EXPECT_EQ(view->status, "Now you can either insert another disk and hit the New Disk "
                                    "button, or return to main menu.");
            return;
        }
        ASSERT_EQ(runBoxes->shown().size(), 1u);
        EXPECT_EQ(runBoxes->shown()[0].caption, "The grades could not be saved.");
        EXPECT_EQ(view->saveField, "grades"); // to try again as it is
        EXPECT_EQ(view->status, "The grades were not saved. Try another name or disk.");
    };
    const auto faults = failEachFileStep(prepare, save, check, ENOSPC);
    for (FileStep step : {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Sync,
                          FileStep::Rename, FileStep::Close})
        EXPECT_GE(faultsAt(faults, step), 1) << describe({step, 1, ENOSPC});
}

} // namespace lorvenna
