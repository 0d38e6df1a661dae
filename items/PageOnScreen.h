// The page on screen: its displays, the question asked and the pause after an answer, and the
// flags of building and leaving it.
#pragma once

#include "items/AnswerFlow.h"
#include "items/Display.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"

#include <cstdint>
#include <map>
#include <string>

namespace lorvenna {

struct PageEntry;

// The pictures BMP items show, each file decoded once and shared by every item that shows it,
// with the pixels they hold together. A picture no item holds leaves when the next file is
// read; the lesson teardown empties the shelf.
struct PictureShelf {
    std::map<std::string, Picture> byPath; // keyed by the folded path
    std::int64_t pixels = 0;
};

// Built by the page builder, which alone places and deletes displays; the items and the answer
// flow change the question and the pause as the student answers.
struct PageOnScreen {
    PageEntry* currentEntry = nullptr;     // the lesson's entry of the page shown
    Display* displays[kDisplaySlots] = {}; // slots 1 to 9, owned
    std::uint32_t rightWaitStart = 0;
    std::uint32_t wrongWaitStart = 0;
    // The pause after an answer is running: input waits until it ends.
    bool answerPauseRunning() const { return rightWaitStart != 0 || wrongWaitStart != 0; }
    bool pageBuilding = false;
    bool timerRunning = false;
    bool pageClosing = false;
    // A question of the page was asked since it was entered (the help on a page is the help
    // on answering from then on).
    bool questionAsked = false;

    AnswerFlow answer;
    PictureShelf pictures;

    // Kept from one page and lesson to the next for the whole run.
    std::int16_t nextControlId = 808; // of the next child control an item makes
    unsigned lastMouseX = 0;          // where the pointer last was on a display
    unsigned lastMouseY = 0;
    Rect statusRect; // where the main window draws its status text
};

} // namespace lorvenna
