// The codes that travel between the layers: controller states and the fatal codes posted
// alongside them, the main window's command ids, help topics and virtual-key codes. Plain
// enums with no other dependency, so every layer may include this header.
#pragma once

#include <cstdint>

namespace lorvenna {

// The code of the controller message, and the result of every dialog the controller runs.
// Codes not named here (1 to 4, above 13, other negatives) end the run without a message.
enum class StateCode : std::int32_t {
    StartDialog = 0,
    GradeReview = 5,
    NotesReader = 6,
    LessonSelection = 7,
    LessonEnd = 8,
    SetUpLesson = 9,
    ResumeLesson = 10, // set up the lesson and go to its bookmarked page
    ShowPage = 11,     // the page number travels with it
    // The states of a page shown (its questionAsked tells them apart); never posted.
    PageShown = 12,
    QuestionAsked = 13,
    // Fatal codes with a message of their own (Quit ends without one).
    WrongPassword = -16,
    BadLesson = -5,
    Quit = -4,
    InternalError = -1,
};

// Command ids of the main window's buttons and its feedback panel.
enum class CommandId : int {
    MainMenu = 701,
    Help = 702,
    Back = 703,
    Ahead = 705,
    FeedbackPanel = 706,
    Note = 707,
    Quit = 708,
};

// Topics of the help viewer, by the number of the request that asks for them.
enum class HelpTopic : int {
    PageKeys = 112, // H, keypad 8 or F1 on a page
    Starting = 210, // "&Help on starting" in the start dialog
    About = 211,
    Report = 227,     // the grade review's "&Help"
    HelpButton = 702, // the main window's "&Help" button
};

// Virtual-key codes, as the keys reach the controller. The keypad digits, minus and decimal
// point share the codes of lower-case letters, and F2 and F9 those of q and x.
enum class VirtualKey : int {
    None = 0,
    Backspace = 0x08,
    Tab = 0x09,
    Return = 0x0D,
    Escape = 0x1B,
    Space = 0x20,
    PageUp = 0x21,
    PageDown = 0x22,
    End = 0x23,
    Home = 0x24,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    Insert = 0x2D,
    Delete = 0x2E,
    Digit0 = 0x30,
    A = 0x41,
    B = 0x42,
    H = 0x48,
    M = 0x4D,
    N = 0x4E,
    Q = 0x51,
    X = 0x58,
    Keypad0 = 0x60,
    Keypad1 = 0x61,
    Keypad2 = 0x62,
    Keypad8 = 0x68,
    KeypadMultiply = 0x6A,
    KeypadAdd = 0x6B,
    KeypadSubtract = 0x6D,
    KeypadDecimal = 0x6E,
    KeypadDivide = 0x6F,
    F1 = 0x70,
    F2 = 0x71,
    F4 = 0x73,
    F9 = 0x78,
};

} // namespace lorvenna
