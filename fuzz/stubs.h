// What the fuzz targets' console stub saw.
#pragma once

namespace fuzz {
extern int console_lines;           // messages written so far
extern char last_console_line[1024];
}  // namespace fuzz

// Fails the run with a message when a property does not hold.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
