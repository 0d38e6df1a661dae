// The two encodings lesson, help and note files may be written in: a file that is valid
// UTF-8 is read as UTF-8, any other as the 8-bit Western code page (Windows-1252). The
// program keeps every text in UTF-8 once it is read.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvenna {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF). With mayBeCut, an incomplete sequence at the very end is let through: the
// bytes are the first part of something longer.
bool isValidUtf8(std::string_view bytes, bool mayBeCut = false);

// True when every byte is below 0x80: the same text in either encoding.
bool isAscii(std::string_view bytes);

// Each byte of the Western code page as UTF-8; ASCII stays as it is.
std::string westernToUtf8(std::string_view bytes);
// The text in the Western code page; false when a character has no place in it (the text
// is then left as it was read to that point).
bool utf8ToWestern(std::string_view text, std::string& western);

// Bytes as the program keeps them: UTF-8 as it is, anything else taken as Western.
std::string decodeText(std::string_view bytes, bool mayBeCut = false);

// The longest prefix of at most n bytes that does not end inside a UTF-8 sequence. Bytes
// that are not UTF-8 around the cut are cut where asked.
std::size_t utf8CutLength(std::string_view text, std::size_t n);

// Takes a text's bytes part by part, in order, and tells whether they make UTF-8 as a whole;
// a sequence may run from one part into the next.
class Utf8Validator {
public:
    void feed(const char* bytes, std::size_t count);
    // After the last part: every byte belonged to a well-formed sequence.
    bool finish();

    bool sawSequences() const { return sequences_; }
    // The first byte that is not UTF-8, counted from the first byte fed; -1 if none.
    long firstBad() const { return firstBad_; }

private:
    void bad(long offset);

    unsigned char carried_[4] = {};
    std::size_t carriedCount_ = 0;
    long fed_ = 0; // bytes fed before the current part, less those carried
    bool utf8_ = true;
    bool sequences_ = false;
    long firstBad_ = -1;
};

// What a file holds, from its current position to its end (the position is kept).
struct EncodingScan {
    bool readable = false;
    bool utf8 = true;           // every byte belongs to a well-formed UTF-8 sequence
    bool utf8Sequences = false; // at least one multi-byte UTF-8 sequence is there
    long firstBadOffset = -1;   // the first byte that is not UTF-8, from the start position
};
EncodingScan scanEncoding(FileHandle file);
// True when the named file reads as UTF-8 (and false for a file that cannot be read).
bool fileIsUtf8(std::string_view name);

} // namespace lorvenna
