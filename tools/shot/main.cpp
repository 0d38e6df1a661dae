// lorvenna-shot LESSON PAGE OUT.png [--answer] [--scale F]: a page as the student first sees it, as
// a PNG file, without a screen.
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

int usage() {
    std::fprintf(stderr, "usage: lorvenna-shot LESSON PAGE OUT.png [--answer] [--scale F]\n");
    return kExitFailed;
}

} // namespace

} // namespace lorvenna

int main(int argc, char** argv) {
    using namespace lorvenna;
    std::vector<std::string> arguments;
    bool answer = false;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--answer") == 0) {
            answer = true;
        } else if (std::strcmp(argv[i], "--scale") == 0) {
            // From a tenth of the page to eight times it: a picture of at most 6400 x 4800.
            char* end = nullptr;
            scale = i + 1 < argc ? std::strtod(argv[++i], &end) : 0.0;
            if (!end || *end != '\0' || !(scale >= 0.1 && scale <= 8.0))
                return usage();
        } else
            arguments.emplace_back(argv[i]);
    }
    if (arguments.size() != 3)
        return usage();
    char* end = nullptr;
    const long page = std::strtol(arguments[1].c_str(), &end, 10);
    if (*end != '\0' || page < 1 || page > 32767)
        return usage();

    ToolApplication application(argc, argv);
    PageShot shot;
    if (!shot.render(arguments[0], static_cast<int>(page), answer, scale)) {
        std::fprintf(stderr, "lorvenna-shot: %s\n", shot.error().c_str());
        return kExitLesson;
    }
    if (!shot.image().save(QString::fromStdString(arguments[2]), "PNG")) {
        std::fprintf(stderr, "lorvenna-shot: cannot write %s\n", arguments[2].c_str());
        return kExitFailed;
    }
    return kExitDone;
}
