// Checking a whole course folder the way the player reads it: every lesson, every display
// block, every page built and played from its own keys, and the files the course needs.
#pragma once

#include <string>
#include <vector>

namespace lorvenna {

class SilentBoxes;

enum class Severity { Error, Warning };

struct Finding {
    Severity severity = Severity::Error;
    std::string file; // as the author finds it in the folder: "LSNS/01-02.LSN"
    long line = 0;    // 0: the file as a whole
    int page = 0;     // 0: not about one page
    std::string text; // the player's own message where it has one
};

// "LSNS/01-02.LSN:123: message", with "page 3: " before the message of a page and
// "warning: " before a warning's.
std::string formatFinding(const Finding& finding);

// Reading goes on after an error (the next display block, the next page, the next lesson),
// so one run reports every error of the course. The main window services must be installed
// (installAppServices): display windows are made on them.
class CourseCheck {
public:
    // Checks the course in folder, which becomes the working folder.
    void run(const std::string& folder);
    // Checks one lesson of the course in folder (its file name in LSNS, as on the disk) and
    // the help texts it needs, as run reports them for that lesson.
    void runLesson(const std::string& folder, const std::string& fileName);

    const std::vector<Finding>& findings() const { return findings_; }
    int errorCount() const;
    int warningCount() const;
    int lessonCount() const { return lessons_; }
    int pageCount() const { return pages_; }
    int questionCount() const { return questions_; }
    // "3 lessons, 11 pages, 8 questions: 1 error, 0 warnings"
    std::string summary() const;

private:
    class LessonRun;

    void add(Severity severity, std::string file, long line, int page, std::string text);
    void checkFolder(const std::string& folder, const SilentBoxes& boxes);
    void checkLesson(const std::string& fileName);
    void checkHelpFiles();
    // A warning for a text file that mixes UTF-8 with 8-bit text.
    void checkEncoding(const std::string& name, const std::string& shown);

    std::vector<Finding> findings_;
    std::string lessonFolder_ = "LSNS";
    int lessons_ = 0;
    int pages_ = 0;
    int questions_ = 0;
    bool asksQuestions_ = false; // some item of the course holds answer keys
};

} // namespace lorvenna
