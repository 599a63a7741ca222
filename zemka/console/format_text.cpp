#include "zemka/console/format_text.h"

#include <cstdio>
#include <cstring>

#include "zemka/support/utf8.h"

namespace zemka {

int format_text(FormatBuffer &buffer, const char *format, va_list args) {
    // Three bytes past the limit tell whether the last character kept
    // would be a valid sequence that the limit cuts in two.
    char wide[FORMAT_LIMIT + 4];
    const int result = std::vsnprintf(wide, sizeof wide, format ? format : "", args);
    if (result < 0) {
        buffer[0] = '\0';
        return result;
    }
    const std::size_t length = std::strlen(wide);
    const std::size_t kept = support::utf8_prefix_length(wide, length, FORMAT_LIMIT);
    std::memcpy(buffer, wide, kept);
    buffer[kept] = '\0';
    return result;
}

}  // namespace zemka
