// lorvenna-shot LESSON PAGE OUT.png [--answer right|wrong] [--scale F]: a page as the student
// first sees it, or after an answer, as a PNG file, without a screen.
#include "tools/common/ToolApplication.h"
#include "tools/shot/PageShot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitLesson = 1; // the lesson or the page could not be shown
constexpr int kExitFailed = 2; // wrong use, or the picture could not be written

constexpr const char* kUsage =
    "usage: lorvenna-shot LESSON PAGE OUT.png [--answer [right|wrong]] [--scale F]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return kExitFailed;
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    std::vector<std::string> arguments;
    bool answer = false;
    bool right = true;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return kExitDone;
        }
        if (std::strcmp(argv[i], "--scale") == 0) {
            // From a tenth of the page to eight times it: a picture of at most 6400 x 4800.
            char* end = nullptr;
            scale = i + 1 < argc ? std::strtod(argv[++i], &end) : 0.0;
            if (!end || *end != '\0' || !(scale >= 0.1 && scale <= 8.0))
                return usage();
            continue;
        }
        if (std::strcmp(argv[i], "--answer") != 0) {
            arguments.emplace_back(argv[i]);
            continue;
        }
        answer = true;
        // "--answer" alone answers right, as it always did.
        if (i + 1 < argc &&
            (std::strcmp(argv[i + 1], "right") == 0 || std::strcmp(argv[i + 1], "wrong") == 0))
            right = std::strcmp(argv[++i], "right") == 0;
    }
    if (arguments.size() != 3)
        return usage();
    char* end = nullptr;
    const long page = std::strtol(arguments[1].c_str(), &end, 10);
    if (*end != '\0' || page < 1 || page > 32767)
        return usage();

    ToolApplication application(argc, argv);
    PageShot shot;
    if (!shot.render(arguments[0], static_cast<int>(page), answer, right, scale)) {
        std::fprintf(stderr, "lorvenna-shot: %s\n", shot.error().c_str());
        return kExitLesson;
    }
    if (!shot.image().save(QString::fromStdString(arguments[2]), "PNG")) {
        std::fprintf(stderr, "lorvenna-shot: cannot write %s\n", arguments[2].c_str());
        return kExitFailed;
    }
    return kExitDone;
}
