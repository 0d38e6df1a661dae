// Damaged lesson and bookmark files: whatever the bytes, reading, building pages, drawing
// them, clicking them and turning pages never crash, hang or touch memory outside a buffer
// (the test build runs under the address and undefined-behaviour sanitizers), and every
// refused file says why.
#include "items/AppServices.h"
#include "items/RunObjects.h"
#include "lesson/Bookmark.h"
#include "lesson/LessonIndex.h"
#include "lesson/PageBuilder.h"
#include "platform/FixedText.h"
#include "platform/MessageBox.h"
#include "shell/Session.h"
#include "tests/support/FakeApp.h"
#include "tests/support/LessonPlay.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace lorvenna {

namespace {

std::string readSample(const char* name) {
    std::ifstream in(std::string(LORVENNA_SOURCE_DIR) + "/courseware/LSNS/" + name,
                     std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// One damage of the kinds a disk, an editor or a careless author does to a file.
std::string damage(std::string text, std::mt19937& random) {
    auto pick = [&](std::size_t n) {
        return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(random) : 0;
    };
    static const char* const kPieces[] = {"}",
                                          "@",
                                          "\r\n",
                                          "\0",
                                          "END DISPLAY",
                                          "END PAGES",
                                          "END LESSON",
                                          "DISPLAY Figure",
                                          "PAGE 2",
                                          "PAGE -7",
                                          "PAGE 2147483647",
                                          "ITEM LABEL X",
                                          "ITEM BUTTON Ten",
                                          "KEYAND Ten",
                                          "KEYNUM Distance 1e308 -1",
                                          "SHAPE 1e300 1e300 L",
                                          "LOC nan inf",
                                          "SIZE -5 99999999",
                                          "OUTPUT Radius FLASH 1 2",
                                          "OUTPUT Question1 APPEAR",
                                          "LINECOLOR -99",
                                          "SEQ",
                                          "BLINK",
                                          "DISPLAY Wheel -99999 99999 0 0 A",
                                          "TOTAL -3",
                                          "TEST 0",
                                          "KEYAUTOTURN",
                                          "MSEC 999999",
                                          "ITEM SLIDER Knob",
                                          "ITEM TIMER Clock",
                                          "ITEM HIGHLIGHTER Glow",
                                          "STEP 0.5",
                                          "MSEC 0"};
    const int kind = static_cast<int>(pick(6));
    const std::size_t at = pick(text.size() + 1);
    switch (kind) {
    case 0: // cut short
        text.resize(at);
        break;
    case 1: // a few bytes overwritten
        for (int i = 0; i < 8 && !text.empty(); ++i)
            text[pick(text.size())] = static_cast<char>(pick(256));
        break;
    case 2: { // a keyword or line end dropped in
        const std::string piece = kPieces[pick(std::size(kPieces))];
        text.insert(at, piece.empty() ? std::string(1, '\0') : piece);
        break;
    }
    case 3: // a very long line
        text.insert(at, std::string(100 + pick(900), static_cast<char>('A' + pick(26))));
        break;
    case 4: { // a run of the file repeated
        const std::size_t length = pick(400);
        text.insert(at, text.substr(pick(text.size() + 1), length));
        break;
    }
    default: // a run removed
        text.erase(at, pick(300));
        break;
    }
    return text;
}

class BadLesson : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        installAppServices(&app_);
    }
    void TearDown() override {
        lessonTeardown();
        freePages();
        resetSession();
    }

    // Reads the lesson and visits its pages as a restless student would.
    void play(const std::string& bytes) {
        folder_.write("LSNS/09-09.LSN", bytes, false);
        const LessonPlay played = playLesson("LSNS\\09-09.LSN");
        EXPECT_EQ(played.silentRefusals, 0) << "a refused index or page says why";
        pagesBuilt_ += played.pagesBuilt;
    }

    int pagesBuilt_ = 0;
    WorkFolder folder_;
    FakeApp app_;
    ScriptedBoxes boxes_;
};

TEST_F(BadLesson, DamagedSampleLessonsNeverCrash) {
    folder_.addPicture();
    std::mt19937 random(20261208);
    for (const char* name : {"01-01.LSN", "01-02.LSN", "01-03.LSN"}) {
        const std::string sample = readSample(name);
        ASSERT_FALSE(sample.empty()) << name;
        for (int round = 0; round < 60; ++round) {
            std::string bytes = sample;
            const int damages = 1 + round % 3;
            for (int d = 0; d < damages; ++d)
                bytes = damage(bytes, random);
            SCOPED_TRACE(std::string(name) + " round " + std::to_string(round));
            play(bytes);
        }
    }
    // Most damage leaves pages that still build, so drawing and clicking were exercised.
    EXPECT_GT(pagesBuilt_, 100);
}

TEST_F(BadLesson, FilesThatAreNotLessonsAreRefusedWithAReason) {
    const std::string cases[] = {
        "",
        "\r\n\r\n\r\n",
        std::string(5000, '\0'),
        std::string(3000, '}'),
        "Lesson 09-09\r\nPAGE 1\r\nDISPLAY " + std::string(240, 'x') + "\r\nEND PAGES\r\n",
        "Lesson 09-09\r\nPAGE 1\r\nDISPLAY A\r\nEND PAGES\r\nDISPLAY A 1 2 3 4 A\r\nITEM",
        "Lesson 09-09\r\nPAGE 1\r\nDISPLAY A\r\nEND PAGES\r\nDISPLAY A 1 2 3 4 A\r\nITEM TEXT "
        "T\r\n@" +
            std::string(4000, 'w'),
    };
    for (const std::string& bytes : cases)
        play(bytes);
}

TEST_F(BadLesson, DamagedBookmarksNeverCrash) {
    const std::string drive = folder_.addDrive('E');
    session().student.keyDrive = 'E';
    folder_.write("LSNS/09-09.LSN", readSample("01-02.LSN"), false);
    std::mt19937 random(7);
    const std::string good = " L 909\r\nP 1 1 1\r\nP -2 1 0\r\nP 3 0 0\r\nP 4 0 0\r\n";
    for (int round = 0; round < 40; ++round) {
        folder_.write("drive-E/LORVENNA/L09-09.BMK", damage(good, random), false);
        const BookmarkApplied result = applyBookmark('E', 9, 9);
        EXPECT_GE(result.page, 0);
        EXPECT_LE(result.page, 2147483647);
        freePages();
    }
}

} // namespace

} // namespace lorvenna
