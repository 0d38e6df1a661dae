// Fuzz target: a key disk's folder of note files of any names and bytes, listed by the notes
// reader, each note shown in the help viewer offscreen, and all of them printed.
//
// Input: one byte of options (bit 0: print them all), then entries of a kind byte, a name
// length byte, the name, a 16-bit little-endian content length and the content. The kind's
// bit 0 keeps the name as it is (otherwise ".TXT" is added), bit 1 makes a folder of that
// name instead of a file. The host cannot take '/' or a zero byte in a name: they become '_'.
#include "tests/fuzz/FuzzWorld.h"

#include "platform/IgnoreCase.h"
#include "records/HelpViewer.h"
#include "records/NotesReaderSteps.h"
#include "shell/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace lorvenna {
namespace {

constexpr std::uint8_t kPrintAll = 0x01;
constexpr std::uint8_t kNameAsGiven = 0x01;
constexpr std::uint8_t kFolder = 0x02;
constexpr std::size_t kMostEntries = 12;
constexpr std::size_t kMostContent = 8192;
// Each shown note builds and draws a viewer; a few are enough to cover the path.
constexpr int kNotesShown = 4;
constexpr std::size_t kShownBytes = 2040;

class ReaderView : public NotesReaderView {
public:
    void setStatus(std::string_view text) override { status.assign(text); }
    void showNotes(const std::vector<std::string>& names) override { listed = names; }
    void showNote(std::string_view text) override {
        FUZZ_CHECK(text.size() <= kShownBytes);
        HelpViewer viewer(text);
        FUZZ_CHECK(viewer.text().size() <= static_cast<qsizetype>(kShownBytes));
        (void)viewer.grab();
        ++shown;
    }
    void endDialog(StateCode /*result*/) override { ended = true; }

    std::string status;
    std::vector<std::string> listed;
    int shown = 0;
    bool ended = false;
};

std::string hostName(std::string_view given, bool asGiven) {
    std::string name(given);
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == "..")
        name.insert(0, "_");
    if (!asGiven)
        name += ".TXT";
    return name;
}

bool endsInTxt(const std::string& name) {
    return name.size() >= 4 &&
           equalsIgnoringCase(std::string_view(name).substr(name.size() - 4), ".TXT");
}

// Lays the entries out in the disk's LORVENNA folder.
void writeNotes(const std::string& folder, const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    for (std::size_t entry = 0; entry < kMostEntries && at + 2 <= size; ++entry) {
        const std::uint8_t kind = data[at];
        const std::size_t nameLength = std::min<std::size_t>(data[at + 1], size - at - 2);
        const std::string name = hostName(bytesOf(data + at + 2, nameLength), kind & kNameAsGiven);
        at += 2 + nameLength;
        std::size_t length = 0;
        if (at + 2 <= size)
            length = data[at] | static_cast<std::size_t>(data[at + 1]) << 8;
        at = std::min(at + 2, size);
        length = std::min({length, size - at, kMostContent});
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::error_code ignored;
        if (kind & kFolder) {
            std::filesystem::create_directories(path, ignored);
        } else if (!std::filesystem::is_directory(path, ignored)) {
            std::FILE* file = std::fopen(path.c_str(), "wb");
            if (file) {
                std::fwrite(data + at, 1, length, file);
                std::fclose(file);
            }
        }
        at += length;
    }
}

} // namespace
} // namespace lorvenna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvenna;
    FuzzWorld& world = FuzzWorld::next();
    static const std::string pdf = world.folder().path() + "/notes.pdf";
    setenv("LORVENNA_PRINT_PDF", pdf.c_str(), 1);
    const std::string folder = world.drive() + "/LORVENNA";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (size == 0)
        return 0;
    writeNotes(folder, data + 1, size - 1);

    ReaderView view;
    NotesReaderSteps reader(view, session().student);
    reader.start();
    if (view.ended) {
        FUZZ_CHECK(reader.names().empty());
        return 0;
    }
    FUZZ_CHECK(!reader.names().empty() && view.listed == reader.names());
    for (const std::string& name : reader.names())
        FUZZ_CHECK(endsInTxt(name));
    FUZZ_CHECK(std::is_sorted(
        view.listed.begin(), view.listed.end(),
        [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); }));
    const int rows = static_cast<int>(reader.names().size());
    for (int row = -1; row <= std::min(rows, kNotesShown); ++row)
        reader.readNote(row);
    if (data[0] & kPrintAll) {
        reader.printAll();
        FUZZ_CHECK(view.status == "Printing all notes.");
    }
    reader.quit();
    FUZZ_CHECK(view.ended);
    return 0;
}
