// Fuzz target: a help file of any bytes, opened by its topic and shown in the help viewer,
// which is drawn offscreen and closed with "Done".
//
// The input is the file itself. Its size picks the topic, the kind of session and whether
// a question is up, so that every topic's file is read in turn.
#include "items/RunObjects.h"
#include "tests/fuzz/FuzzWorld.h"

#include "records/Help.h"
#include "records/HelpViewer.h"
#include "shell/Session.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

namespace lorvenna {
namespace {

constexpr HelpTopic kTopics[] = {HelpTopic::Starting, HelpTopic::About, HelpTopic::Report,
                                 HelpTopic::PageKeys, HelpTopic::HelpButton};
constexpr int kTopicCount = static_cast<int>(std::size(kTopics));

std::string hostName(const char* name) {
    std::string host(name);
    for (char& c : host)
        c = c == '\\' ? '/' : c;
    return host;
}

// Looks at the viewer once it is up, draws it and closes it as "Done" would.
void inspectViewer(bool& seen) {
    auto* viewer = dynamic_cast<HelpViewer*>(QApplication::activeModalWidget());
    FUZZ_CHECK(viewer != nullptr);
    seen = true;
    FUZZ_CHECK(viewer->text().size() <= kShownTextBytes);
    (void)viewer->grab();
    auto* done = viewer->findChild<QPushButton*>();
    FUZZ_CHECK(done != nullptr);
    done->click();
}

} // namespace
} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    const std::size_t pick = size / kTopicCount;
    const HelpTopic topic = kTopics[size % kTopicCount];
    session().student.graded = (pick & 1u) != 0;
    pageOnScreen().questionAsked = (pick & 2u) != 0;

    std::filesystem::remove_all(world.folder().path() + "/HELP");
    const char* file = helpFileName(topic, session().student.graded);
    FUZZ_CHECK(file != nullptr);
    world.folder().write(hostName(file), bytesOf(data, size), false);

    bool seen = false;
    QTimer::singleShot(0, [&seen] { inspectViewer(seen); });
    FUZZ_CHECK(showHelp(topic, session().student.graded) == 1);
    FUZZ_CHECK(seen);
    // At most 2040 bytes of the file, as they stand in it.
    const std::optional<std::string> text = readShownText(file);
    FUZZ_CHECK(text.has_value());
    const std::size_t shown = text->size();
    FUZZ_CHECK(shown <= static_cast<std::size_t>(kShownTextBytes) && shown <= size);
    FUZZ_CHECK(shown == 0 || std::memcmp(text->data(), data, shown) == 0);
    return 0;
}
