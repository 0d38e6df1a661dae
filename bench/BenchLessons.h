// The lessons the benchmarks play, written by the bench itself into a temporary working
// folder, and the few steps every benchmark takes with them.
#pragma once

#include <string>

namespace lorvenna {

// Shapes of generated lessons. Every lesson file has CR LF line ends, as real ones do.
enum class LessonShape {
    // pages of one display holding one TEXT item, each display a block of its own
    OneItemPages,
    // pages 1 and 2: nine displays of 33 items each (TEXT, LABEL, BUTTON, EDIT, most of them
    // wrapped texts); pages 3 and 4: one display of one TEXT item
    BusyPages,
    // one page of one display with 100 wrapped TEXT items
    HundredTexts,
    // one page of one display with 100 LABEL items with leader lines
    HundredLabels,
};

// The temporary working folder (made on first use, removed at exit), made the program's
// working folder.
const std::string& benchFolder();

// Writes the lesson (once per shape and page count) and returns its name as the program
// forms it ("LSNS\01-02.LSN").
std::string benchLesson(LessonShape shape, int pages = 1);
// The host path of a lesson name returned by benchLesson.
std::string benchLessonHostPath(const std::string& lessonName);

// The main window the displays are made in, shown (made on first use).
void ensureBenchWindow();
// Shows the page at factor in that window, the window as large as the page.
void setBenchScale(double factor);
// Closes that window; before the application object goes.
void releaseBenchWindow();
// Lets the event loop deliver what is pending, paints included.
void settleEvents();

// Makes the lesson the session's lesson and reads its index; false if that fails.
bool openLesson(const std::string& lessonName);
// Tears the lesson down and paints what is left.
void closeLesson();

// Reads the file line by line with fgets and nothing else: the baseline of lesson set-up.
long scanWithFgets(const std::string& hostPath);

} // namespace lorvenna
