// Help topics and their files.
#include "records/Help.h"

#include "platform/FileSystem.h"
#include "shell/SessionState.h"

#include <cstring>

namespace lorvenna {

namespace {

// The controller's stateCode while the page shown asks a question.
constexpr int kQuestionPage = 13;

struct TopicFile {
    HelpTopic topic;
    const char* file;
};

constexpr TopicFile kTopicFiles[] = {
    {HelpTopic::Starting, "HELP\\STARTUP.TXT"},
    {HelpTopic::About, "HELP\\CREDITS.TXT"},
    {HelpTopic::Report, "HELP\\REPORT.TXT"},
};

} // namespace

const char* helpFileName(int topic) {
    const SessionState& s = session();
    if (topic == static_cast<int>(HelpTopic::LessonKey) ||
        topic == static_cast<int>(HelpTopic::LessonButton)) {
        if (s.stateCode == kQuestionPage)
            return "HELP\\TESTING.TXT";
        return s.graded ? "HELP\\REGULAR2.TXT" : "HELP\\REGULAR1.TXT";
    }
    for (const TopicFile& entry : kTopicFiles) {
        if (static_cast<int>(entry.topic) == topic)
            return entry.file;
    }
    return nullptr;
}

bool readShownText(std::string_view name) {
    char* text = session().bigText;
    std::memset(text, 0, sizeof session().bigText);
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return false;
    const long got = readBytes(file, text, kShownTextBytes);
    closeFile(file);
    text[got > 0 ? got : 0] = '\0';
    return true;
}

int ShowHelp(int topic) {
    const char* file = helpFileName(topic);
    if (!file || !readShownText(file))
        return 0;
    const char* text = session().bigText;
    return ShowText(std::string_view(text, strnlen(text, sizeof session().bigText)));
}

} // namespace lorvenna
