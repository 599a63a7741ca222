// Formatted text as the library keeps it: at most 1023 bytes, cut where a
// character ends so that the cut never splits a UTF-8 sequence.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace zemka {

constexpr std::size_t FORMAT_LIMIT = 1023;  // bytes of text, without the terminator
using FormatBuffer = char[FORMAT_LIMIT + 1];

// Formats into buffer with the standard rules and returns the standard
// result: the length of the whole formatted text, or a negative value
// (then buffer is empty).
int format_text(FormatBuffer &buffer, const char *format, va_list args);

}  // namespace zemka
