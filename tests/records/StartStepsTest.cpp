// The start dialog's steps, driven without the dialog: detection, registration, login and
// every failure box with its Retry and Cancel.
#include "records/StartSteps.h"

#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "records/KeyDisk.h"
#include "shell/Session.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

// Records what the dialog would show; posted steps wait in a queue until run.
class FakeStartView : public StartView {
public:
    void showIdField(bool shown) override { idShown = shown; }
    void showPasswordField(bool shown) override { passwordShown = shown; }
    std::string idText() const override { return id; }
    std::string passwordText() const override { return password; }
    void clearIdField() override { id.clear(); }
    void clearPasswordField() override { password.clear(); }
    void focusIdField() override { focus = "id"; }
    void focusPasswordField() override { focus = "password"; }
    void setWindowText(std::string_view text) override { windowText = std::string(text); }
    void setMessage(std::string_view text) override { message = std::string(text); }
    void postStep(StartStep step) override { posted.push_back(step); }
    void endDialog(StateCode result) override { results.push_back(result); }

    bool idShown = true;
    bool passwordShown = true;
    std::string id;
    std::string password;
    std::string focus;
    std::string windowText = "unset";
    std::string message;
    std::deque<StartStep> posted;
    std::vector<StateCode> results;
};

class StartStepsTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        seedRandom(1);
        steps.start();
    }

    // Delivers the posted steps as the dialog's message loop would.
    void runPosted() {
        while (!view.posted.empty()) {
            const StartStep step = view.posted.front();
            view.posted.pop_front();
            steps.handleStep(step);
        }
    }

    void typeId(const std::string& text) {
        view.id = text;
        steps.enterInIdField();
        runPosted();
    }

    void typePassword(const std::string& text) {
        view.password = text;
        steps.enterInPasswordField();
        runPosted();
    }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const BoxRecord& box : boxes.shown())
            out.push_back(box.caption);
        return out;
    }

    std::string keyFileOnE() const { return work.read("drive-E/LORVENNA/KEY.GRD"); }

    WorkFolder work;
    ScriptedBoxes boxes;
    FakeStartView view;
    StartSteps steps{view, session().student};
};

} // namespace

TEST_F(StartStepsTest, OpensWithTheInstructionsAndHiddenFields) {
    EXPECT_FALSE(view.idShown);
    EXPECT_FALSE(view.passwordShown);
    EXPECT_EQ(view.windowText, "");
    EXPECT_EQ(view.message,
              "This program is meant for instructional use, and will be graded.  Insert your key "
              "floppy (or a blank floppy that will become your key) and then hit the \"Start "
              "with grades\" button.   For more detail, click the Help button.");
}

TEST_F(StartStepsTest, SimpleCommandsEndTheDialog) {
    struct Case {
        void (StartSteps::*command)();
        StateCode result;
    };
    const Case cases[] = {{&StartSteps::startUngraded, StateCode::LessonSelection},
                          {&StartSteps::readGrades, StateCode::GradeReview},
                          {&StartSteps::openNotes, StateCode::NotesReader},
                          {&StartSteps::quit, StateCode::Quit}};
    for (const Case& c : cases) {
        FakeStartView fresh;
        StartSteps machine(fresh, session().student);
        session().student.graded = true;
        (machine.*c.command)();
        EXPECT_EQ(fresh.results, std::vector<StateCode>{c.result});
        EXPECT_EQ(machine.result(), c.result);
        if (c.command == &StartSteps::startUngraded) {
            EXPECT_FALSE(session().student.graded);
        }
        // Nothing acts on a dialog that has ended.
        machine.quit();
        machine.handleStep(StartStep::NoDrive);
        EXPECT_EQ(fresh.results.size(), 1u);
    }
}

TEST_F(StartStepsTest, NoRemovableDriveEndsAfterItsBox) {
    steps.startWithGrades();
    runPosted();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "No removable disk found.");
    EXPECT_EQ(boxes.shown()[0].text, "Insert your drive or disk for grades.");
    EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::Quit});
}

TEST_F(StartStepsTest, TwoDisksThenRetryWithOneGoesOnToRegistration) {
    work.addDrive('E');
    const std::string second = work.addDrive('F');
    boxes.queue(BoxAnswer::Retry);
    boxes.onShow([&](const BoxRecord&) { std::filesystem::remove_all(second); });
    steps.startWithGrades();
    runPosted();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Two or more disks are inserted.");
    EXPECT_EQ(boxes.shown()[0].text, "Remove all but the Lorvenna disk and retry.");
    EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::RetryCancel);
    EXPECT_TRUE(view.results.empty());
    EXPECT_EQ(steps.step(), StartStep::NotRegistered);
    EXPECT_TRUE(view.idShown);
    EXPECT_EQ(view.focus, "id");
    EXPECT_EQ(view.windowText, "Lorvenna: Registering new grade disk");
    EXPECT_EQ(view.message,
              "There is a disk in slot E:   that is not yet registered as a key disk. If you "
              "want to set up this disk for your key, type your student ID (name or number), "
              "then hit Enter.  If this isn't what you want, hit the Quit button and restart.");
}

TEST_F(StartStepsTest, DetectionBoxesCancelWithTheirResults) {
    struct Case {
        const char* name;
        std::vector<std::pair<char, bool>> drives;
        const char* caption;
        const char* text;
        StateCode result;
    };
    const Case cases[] = {
        {"two disks",
         {{'E', true}, {'F', true}},
         "Two or more disks are inserted.",
         "Remove all but the Lorvenna disk and retry.",
         StateCode::StartDialog},
        {"no medium",
         {{'E', false}},
         "No removable disk available.",
         "Insert a disk and hit Retry, or Cancel to quit.",
         StateCode::StartDialog},
    };
    for (const Case& c : cases) {
        WorkFolder folder;
        for (auto [letter, medium] : c.drives)
            folder.addDrive(letter, medium);
        ScriptedBoxes script;
        script.queue(BoxAnswer::Retry);
        script.queue(BoxAnswer::Cancel);
        FakeStartView fresh;
        StartSteps machine(fresh, session().student);
        machine.startWithGrades();
        while (!fresh.posted.empty()) {
            const StartStep step = fresh.posted.front();
            fresh.posted.pop_front();
            machine.handleStep(step);
        }
        ASSERT_EQ(script.shown().size(), 2u) << c.name; // Retry detects again
        EXPECT_EQ(script.shown()[1].caption, c.caption) << c.name;
        EXPECT_EQ(script.shown()[1].text, c.text) << c.name;
        EXPECT_EQ(fresh.message, "Checking disk.......") << c.name;
        EXPECT_EQ(fresh.results, std::vector<StateCode>{c.result}) << c.name;
    }
}

TEST_F(StartStepsTest, BlankDiskRegistersIdAndPassword) {
    work.addDrive('E');
    steps.startWithGrades();
    runPosted();
    typeId("Kim42");
    EXPECT_EQ(steps.step(), StartStep::ChoosePassword);
    EXPECT_FALSE(view.idShown);
    EXPECT_EQ(view.id, ""); // the field is cleared, the ID kept
    EXPECT_STREQ(session().student.studentId, "Kim42");
    EXPECT_TRUE(view.passwordShown);
    EXPECT_EQ(view.focus, "password");
    EXPECT_EQ(view.message, "Now choose a short password then hit Enter:");

    typePassword("Pw7");
    EXPECT_EQ(view.message, "Registering your name and password on floppy.....");
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::LessonSelection});
    EXPECT_TRUE(session().student.graded);
    EXPECT_EQ(keyFileOnE().size(), 256u);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartStepsTest, ShortKeyFileIsRegisteredAnew) {
    work.addDrive('E');
    work.write("drive-E/LORVENNA/KEY.GRD", std::string(255, 'k'), false);
    steps.startWithGrades();
    runPosted();
    EXPECT_EQ(steps.step(), StartStep::NotRegistered);
    typeId("Kim42");
    typePassword("Pw7");
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::LessonSelection});
    EXPECT_EQ(keyFileOnE().size(), 256u);
}

TEST_F(StartStepsTest, RegisteredDiskAcceptsThePasswordInOtherCase) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    setText(session().student.studentId, "Kim42");
    setText(session().student.typedPassword, "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    resetSession();

    steps.startWithGrades();
    runPosted();
    EXPECT_EQ(steps.step(), StartStep::KeyRead);
    EXPECT_STREQ(session().student.studentId, "Kim42");
    EXPECT_EQ(view.windowText, "Lorvenna: Grade disk present.");
    EXPECT_EQ(view.message, "Type your password and hit Enter.");
    EXPECT_TRUE(view.passwordShown);

    // Wrong twice, then right in other letter case.
    typePassword("Pw8");
    EXPECT_EQ(steps.step(), StartStep::PasswordAgain);
    EXPECT_EQ(view.message, "Enter password again:");
    EXPECT_EQ(view.password, "");
    typePassword("wrong");
    typePassword("pW7");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Incorrect password.", "Incorrect password."}));
    EXPECT_EQ(boxes.shown()[0].text, "Please try again.");
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::LessonSelection});
    EXPECT_TRUE(session().student.graded);
}

TEST_F(StartStepsTest, LongEntriesAreCutTo58And18Characters) {
    for (int idLength : {59, 60}) {
        WorkFolder folder;
        folder.addDrive('E');
        resetSession();
        FakeStartView fresh;
        StartSteps machine(fresh, session().student);
        const std::string id(idLength - 1, 'a');
        fresh.id = id + "Z";
        machine.startWithGrades();
        machine.handleStep(StartStep::OneMedium); // as posted
        machine.handleStep(StartStep::NotRegistered);
        machine.enterInIdField();
        EXPECT_EQ(std::string(session().student.studentId), std::string(58, 'a')) << idLength;
        fresh.password = std::string(18, 'p') + "Q";
        machine.enterInPasswordField();
        EXPECT_EQ(std::string(session().student.typedPassword), std::string(18, 'p')) << idLength;
        EXPECT_EQ(fresh.results, std::vector<StateCode>{StateCode::LessonSelection}) << idLength;

        // The same long password typed at login matches what was registered.
        resetSession();
        session().student.keyDrive = 'E';
        ASSERT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);
        setText(session().student.typedPassword, std::string(18, 'P'));
        EXPECT_EQ(checkPassword(session().student), KeyDiskCode::PasswordRight);
    }
}

TEST_F(StartStepsTest, EntriesMustBeLettersAndDigits) {
    work.addDrive('E');
    steps.startWithGrades();
    runPosted();
    typeId("");
    typeId("Kim 42");
    typeId("Kim-42");
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"Empty entry.", "Entry must be only letters and numbers.",
                                        "Entry must be only letters and numbers."}));
    for (const BoxRecord& box : boxes.shown())
        EXPECT_EQ(box.text, "Try again.");
    EXPECT_EQ(view.id, "Kim-42"); // the ID field keeps its text
    EXPECT_EQ(steps.step(), StartStep::NotRegistered);

    typeId("Kim42");
    typePassword("a b");
    EXPECT_EQ(view.password, ""); // the password field is cleared
    EXPECT_EQ(session().student.typedPassword[0], '\0');
    typePassword("");
    EXPECT_EQ(captions().back(), "Empty entry.");
    EXPECT_TRUE(view.results.empty());
    EXPECT_FALSE(work.exists("drive-E/LORVENNA/KEY.GRD"));
}

TEST_F(StartStepsTest, TypingPastTheLimitsAsksForShorterEntries) {
    work.addDrive('E');
    steps.startWithGrades();
    runPosted();
    boxes.queue(BoxAnswer::Retry);
    setText(session().student.studentId, "Kim");
    view.id = std::string(60, 'a');
    steps.idFieldOverflow();
    runPosted();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Your name entry is too long.");
    EXPECT_EQ(boxes.shown()[0].text, "Hit Retry then use a shorter name or ID.");
    EXPECT_EQ(view.id, "");
    EXPECT_EQ(session().student.studentId[0], '\0');
    EXPECT_EQ(steps.step(), StartStep::NotRegistered);

    typeId("Kim42");
    boxes.queue(BoxAnswer::Retry);
    view.password = std::string(20, 'p');
    steps.passwordFieldOverflow();
    runPosted();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].caption, "Your password entry is too long.");
    EXPECT_EQ(boxes.shown()[1].text, "Hit Retry then use a shorter password..");
    EXPECT_EQ(view.password, "");
    EXPECT_EQ(steps.step(), StartStep::ChoosePassword);

    boxes.queue(BoxAnswer::Cancel);
    steps.passwordFieldOverflow();
    runPosted();
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::Quit});
}

TEST_F(StartStepsTest, PasswordLimitAtLoginOnlyStopsTyping) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    setText(session().student.studentId, "Kim42");
    setText(session().student.typedPassword, "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    steps.startWithGrades();
    runPosted();
    ASSERT_EQ(steps.step(), StartStep::KeyRead);
    steps.passwordFieldOverflow();
    steps.idFieldOverflow();
    runPosted();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(steps.step(), StartStep::KeyRead);
}

TEST_F(StartStepsTest, WriteProtectedDiskShowsItsBox) {
    const std::string root = work.addDrive('E');
    std::filesystem::permissions(root, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    boxes.queue(BoxAnswer::Retry);
    boxes.queue(BoxAnswer::Cancel);
    steps.startWithGrades();
    runPosted();
    EXPECT_EQ(captions(), (std::vector<std::string>{"Grading disk full or write-protected.",
                                                    "Grading disk full or write-protected."}));
    EXPECT_EQ(boxes.shown()[0].text, "Insert a different disk to Retry.");
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::Quit});
}

TEST_F(StartStepsTest, FailedRegistrationShowsTheDiskBox) {
    const std::string root = work.addDrive('E');
    steps.startWithGrades();
    runPosted();
    typeId("Kim42");
    // The disk turns write-protected before the key is written.
    std::filesystem::permissions(root, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    boxes.queue(BoxAnswer::Cancel);
    typePassword("Pw7");
    EXPECT_EQ(captions(), std::vector<std::string>{"Grading disk full or write-protected."});
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::Quit});
    EXPECT_FALSE(session().student.graded);
}

TEST_F(StartStepsTest, DamagedKeyFileEndsWithWrongPasswordCode) {
    work.addDrive('E');
    std::string plain(256, '\0');
    plain[0] = static_cast<char>(0xF0);
    const std::string key("Keep the disk dry and labelled.\0", 32);
    for (int i = 0; i < 256; ++i)
        plain[i] = static_cast<char>(plain[i] ^ key[i % 32]);
    work.write("drive-E/LORVENNA/KEY.GRD", plain, false);
    steps.startWithGrades();
    runPosted();
    EXPECT_EQ(view.results, std::vector<StateCode>{StateCode::WrongPassword});
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartStepsTest, RegistrationFailingAtAnyStepKeepsTheOldKeyOrWritesAWholeOne) {
    const std::string root = work.addDrive('E');
    for (const std::string& old : {std::string(), std::string(255, 'k')}) {
        // Each run is a fresh dialog; Cancel answers the disk box.
        std::optional<FakeStartView> runView;
        std::optional<StartSteps> runSteps;
        std::optional<ScriptedBoxes> runBoxes;
        auto deliver = [&] {
            while (!runView->posted.empty()) {
                const StartStep step = runView->posted.front();
                runView->posted.pop_front();
                runSteps->handleStep(step);
            }
        };
        auto prepare = [&] {
            std::filesystem::remove_all(root + "/LORVENNA");
            if (!old.empty())
                work.write("drive-E/LORVENNA/KEY.GRD", old, false);
            resetSession();
            runSteps.reset();
            runView.emplace();
            runSteps.emplace(*runView, session().student);
            runBoxes.reset();
            runBoxes.emplace();
            runBoxes->queue(BoxAnswer::Cancel);
            runSteps->start();
            runSteps->startWithGrades();
            deliver();
            runView->id = "Kim42";
            runSteps->enterInIdField();
            deliver();
            runView->password = "Pw7";
        };
        auto save = [&] {
            runSteps->enterInPasswordField();
            deliver();
        };
        auto check = [&](const FileFault& fault) {
            SCOPED_TRACE(describe(fault) + (old.empty() ? " on a blank disk" : ""));
            const bool registered = keyFileOnE() != old;
            EXPECT_TRUE(hiddenFilesIn(root).empty());
            EXPECT_TRUE(hiddenFilesIn(root + "/LORVENNA").empty());
            EXPECT_FALSE(work.exists("drive-E/TEMPTEMP.TMP"));
            if (!registered) {
                EXPECT_EQ(runBoxes->shown().size(), 1u);
                EXPECT_EQ(runBoxes->shown()[0].caption, "Grading disk full or write-protected.");
                EXPECT_EQ(runView->results, std::vector<StateCode>{StateCode::Quit});
                return;
            }
            EXPECT_TRUE(runBoxes->shown().empty());
            EXPECT_EQ(runView->results, std::vector<StateCode>{StateCode::LessonSelection});
            resetSession();
            session().student.keyDrive = 'E';
            ASSERT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);
            EXPECT_STREQ(session().student.keyId, "Kim42");
            EXPECT_STREQ(session().student.keyPassword, "Pw7");
        };

        const auto faults = failEachFileStep(prepare, save, check, ENOSPC);
        for (FileStep step :
             {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Rename, FileStep::Close})
            EXPECT_GE(faultsAt(faults, step), 1) << static_cast<int>(step);
    }
}

} // namespace lorvenna
