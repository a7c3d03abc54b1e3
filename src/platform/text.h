// Byte-string text services. Texts are UTF-8 byte strings (this platform's ANSI
// code page). Positions count bytes from 1; a search that finds nothing gives -1.
// Searches, replacements and splits step over a whole multi-byte character as
// one unit, so a match never starts inside a character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::text {

// Bytes taken by the character that starts at 0-based byte index `at`: 1 for
// ASCII and for bytes that do not start a valid UTF-8 sequence. The one place
// that knows the code page.
int CharLength(const std::string& text, size_t at);
// The code point of the character that CharLength measures at `at`: the byte
// itself for a one-byte character (0 past the end).
char32_t CodePointAt(const std::string& text, size_t at);

int Length(const std::string& text);

// The first / last n bytes (all of the text when shorter, empty for n <= 0).
std::string Left(const std::string& text, int n);
std::string Right(const std::string& text, int n);
// n bytes from 1-based position start; n < 0 means up to the end.
std::string Mid(const std::string& text, int start, int n = -1);

// First occurrence of `what` at or after 1-based `start` (a start inside a
// character moves to the next character); -1 when absent or `what` is empty.
// `ignoreCase` ignores ASCII letter case only.
int Find(const std::string& text, const std::string& what, int start = 1,
         bool ignoreCase = false);

// Replaces every exact occurrence of `what` at or after `start`, left to right,
// non-overlapping. The bytes before `start` are kept as they are; an empty
// `what` changes nothing.
std::string Replace(const std::string& text, const std::string& what,
                    const std::string& with, int start = 1);

// Pieces between separators: inner empty pieces stay, an empty last piece is
// dropped, and an empty text gives no pieces. An empty separator gives the
// whole text as one piece.
std::vector<std::string> Split(const std::string& text, const std::string& separator);

// ASCII letters upper-cased; every other byte kept.
std::string UpperAscii(const std::string& text);

// The byte at 1-based position `at` as a signed byte; 0 past either end.
int CharCode(const std::string& text, int at);

// Leading blanks, an optional sign and decimal digits; 0 when the text does not
// start that way. Saturates instead of overflowing.
int64_t ToInteger(const std::string& text);

// Folds full-width forms (U+FF01 to U+FF5E, and U+3000) to ASCII.
std::string FoldFullWidth(const std::string& text);

std::string FromInteger(int64_t value);
// Six significant digits as the Windows runtime writes "%.6g": an exact tie
// rounds away from zero (0.000976563) and the exponent has at least three
// digits (9.53674e-005).
std::string FromFloat(float value);
// Thirteen significant digits, the same way ("%.13g").
std::string FromDouble(double value);

}  // namespace qm::text
