#include "zemka/window/setting_values.h"

#include <cerrno>
#include <cstdlib>

namespace zemka {

long positive_number(const char *text) {
    if (!text || !*text) return 0;
    errno = 0;
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) return 0;
    return value;
}

}  // namespace zemka
