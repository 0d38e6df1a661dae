// Printing lines of text at device positions, on the default printer or into a PDF file.
//
// LORVENNA_PRINT_PDF, when it names a file, sends every printed document into that PDF
// file instead of the printer (replacing it); set but empty, it means that there is no
// printer. Without it the system's default printer is used, without asking.
#pragma once

#include <memory>
#include <string_view>

namespace lorvenna {

class Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // True when a document could be started now: a PDF file is named or a default printer
    // exists.
    static bool available();
    // The height of the screen in pixels.
    static int screenHeight();

    // Opens the printer and starts a document with no name and its first page; false when
    // there is no printer or it refuses.
    bool open();
    // Offsets of the printable area from the paper's edges, and the paper's height, in
    // device units.
    int offsetTop() const;
    int offsetLeft() const;
    int pageHeight() const;

    void newPage();
    // A text with its top left corner at (x, y), in device units: one line for each line
    // break of the text (CR LF, or LF alone), neither wrapped nor clipped.
    void drawText(int x, int y, std::string_view text);
    // Ends the document and releases the printer; false when the document was not finished.
    bool close();

private:
    struct Job;
    std::unique_ptr<Job> job_;
};

} // namespace lorvenna
