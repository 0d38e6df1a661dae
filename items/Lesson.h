// The lesson being played: its numbers, file, title, page list and the page it is at.
#pragma once

#include "items/PageEntry.h"
#include "items/PageLookup.h"

#include <cstdint>

namespace lorvenna {

// Chosen by lesson selection, read by the lesson index reader (and a bookmark) when a lesson is
// set up, emptied by the lesson teardown. The page it is at changes only through turnTo: once
// for every page turn, as the page builder enters the page; once when an answer turns past the
// last page and so ends the lesson (the controller); and back to 0 when a lesson is chosen.
// The items and the keys only ask the controller for another page.
class Lesson {
public:
    std::int32_t currentPage() const { return currentPage_; }
    void turnTo(std::int32_t page) { currentPage_ = page; }

    std::int32_t pageCount = 0;
    std::int32_t questionTotal = 0;
    std::int32_t lessonMajor = 0;
    std::int32_t lessonMinor = 0;
    bool testLesson = false;
    // The lesson file is UTF-8; otherwise its texts are in the 8-bit Western code page.
    bool textUtf8 = false;
    PageEntry* pages = nullptr; // owned list, from reading the index to the lesson teardown
    PageLookup pageLookup;      // of pages
    char lessonName[40] = {};
    char lessonPath[80] = {};
    char lessonTitle[256] = {};

    // Kept from one lesson to the next for the whole run: the entry lesson selection opens on.
    std::int32_t lessonSelectionRow = 0;

private:
    std::int32_t currentPage_ = 0;
};

} // namespace lorvenna
