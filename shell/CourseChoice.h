// The player's command line, and the course folder chosen in a folder dialog before start-up.
#pragma once

#include <functional>
#include <string>

class QSettings;

namespace lorvenna {

enum class CommandLineRequest { Play, ChooseCourse, Preview, Help, Unknown };

struct CommandLine {
    CommandLineRequest request = CommandLineRequest::Play;
    std::string unknown;    // the first argument not understood
    std::string lessonFile; // --preview: the lesson file; empty when it is to be asked for
    int page = 1;           // --preview: the page to open at
};

// "--choose-course", or "--preview [LESSON [PAGE]]" alone; "-h" and "--help" ask for the
// usage text. Anything else is refused, so a mistyped option never starts a course by
// surprise.
CommandLine parseCommandLine(int argc, const char* const* argv);

std::string usageText();

// Prints the usage text (on stderr after an unknown argument) and gives the exit code.
int answerCommandLine(const CommandLine& line);

// The sample course installed with a program that lives in programDir (in PREFIX/bin, the
// course in PREFIX/share/lorvenna/courseware); empty when there is none.
std::string installedSampleCourse(const std::string& programDir);

// Asks the user for a folder, opening on start; empty when the user cancels.
using FolderQuestion = std::function<std::string(const std::string& start)>;

// Asks for the course folder, opening on the one chosen last while it still exists, else on
// the sample course, else on the home folder. The answer is remembered in settings and
// becomes the current folder, so the player starts there exactly as if started there.
// False when the user cancels (nothing changes) or the folder cannot be entered (the user
// is told).
bool chooseCourse(QSettings& settings, const std::string& sampleCourse, const FolderQuestion& ask);

// chooseCourse with the user's own settings, the installed sample course and the toolkit's
// folder dialog. Needs the application object.
bool chooseCourseWithDialog();

} // namespace lorvenna
