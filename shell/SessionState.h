// The one application-wide record of a run: controller state, lesson and page, the displays
// of the page shown, the answer flow, the student's identity and the shared text buffers.
#pragma once

#include "items/AnswerFlow.h"
#include "lesson/PageEntry.h"
#include "lesson/PageLookup.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"
#include "platform/ScreenScale.h"
#include "records/Student.h"
#include "shell/Codes.h"

#include <cstdint>
#include <map>
#include <string>

namespace lorvenna {

class AppServices;
class Item;
struct Display;

// The pictures BMP items show, each file decoded once and shared by every item that shows it,
// with the pixels they hold together. A picture no item holds leaves when the next file is
// read; the lesson teardown empties the shelf.
struct PictureShelf {
    std::map<std::string, Picture> byPath; // keyed by the folded path
    std::int64_t pixels = 0;
};

struct SessionState {
    StateCode stateCode = StateCode::StartDialog;
    std::int32_t currentPage = 0;
    std::int32_t pageCount = 0;
    std::int32_t questionTotal = 0;
    std::int32_t lessonMajor = 0;
    std::int32_t lessonMinor = 0;
    bool testLesson = false;
    PageEntry* pages = nullptr; // owned list, from reading the index to the lesson teardown
    PageEntry* currentEntry = nullptr;
    PageLookup pageLookup;                 // of pages
    Display* displays[kDisplaySlots] = {}; // slots 1 to 9, owned
    std::uint32_t rightWaitStart = 0;
    std::uint32_t wrongWaitStart = 0;
    // The pause after an answer is running: input waits until it ends.
    bool answerPauseRunning() const { return rightWaitStart != 0 || wrongWaitStart != 0; }
    bool pageBuilding = false;
    bool timerRunning = false;
    bool pageClosing = false;

    AnswerFlow answer;
    PictureShelf pictures;

    // Kept from one lesson to the next for the whole run.
    std::int32_t lessonSelectionRow = 0; // the entry lesson selection opens on
    std::int16_t nextControlId = 808;    // of the next child control an item makes
    unsigned lastMouseX = 0;             // where the pointer last was on a display
    unsigned lastMouseY = 0;

    char lessonName[40] = {};
    char lessonPath[80] = {};
    char lessonTitle[256] = {};

    Rect statusRect;

    Student student;
};

SessionState& session();
// Puts every field back to its start value, and the screen's scale to 1.0 (tests; the
// displays and pages are not freed).
void resetSession();

} // namespace lorvenna
