// Help topics and their files, shown in the help viewer over the main window.
#include "records/Help.h"

#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "records/HelpViewer.h"

#include <QWidget>

#include <cstring>

namespace lorvenna {

namespace {

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

const char* helpFileName(HelpTopic topic, bool graded) {
    if (topic == HelpTopic::PageKeys || topic == HelpTopic::HelpButton) {
        if (pageOnScreen().questionAsked)
            return "HELP\\TESTING.TXT";
        return graded ? "HELP\\REGULAR2.TXT" : "HELP\\REGULAR1.TXT";
    }
    for (const TopicFile& entry : kTopicFiles) {
        if (entry.topic == topic)
            return entry.file;
    }
    return nullptr;
}

std::optional<std::string> readShownText(std::string_view name) {
    FileHandle file = openForReading(name);
    if (isInvalid(file))
        return std::nullopt;
    char text[kShownTextBytes];
    const long got = readBytes(file, text, kShownTextBytes);
    closeFile(file);
    // The text is shown as a terminated text: a zero byte ends it. A file longer than what is
    // shown may be cut inside a character.
    const std::size_t length = strnlen(text, static_cast<std::size_t>(got > 0 ? got : 0));
    return decodeText(std::string_view(text, length), got == static_cast<long>(kShownTextBytes));
}

int showHelp(HelpTopic topic, bool graded) {
    const char* file = helpFileName(topic, graded);
    if (!file)
        return 0;
    const std::optional<std::string> text = readShownText(file);
    return text ? showText(*text) : 0;
}

int showText(std::string_view text, std::string_view title) {
    auto* owner = dialogOwner();
    HelpViewer viewer(text, owner, title);
    viewer.exec();
    return HelpViewer::kShown;
}

} // namespace lorvenna
