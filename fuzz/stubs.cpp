// The few library symbols that the script facility uses, for fuzz targets
// built without the window layer and the console: the window layer's state
// that the facility reads and writes, a console that formats and checks
// each message, and a menu call that does nothing (as it does for a null
// menu).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/stubs.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"

namespace zemka {

platform::Menu *run_menu = nullptr;
unsigned char animate = 0;
unsigned char one_frame = 0;
int pending_kind = -1;
EventRecord current_event = {0, 0, 0};

namespace platform {
void check_menu_item(Menu *, unsigned, unsigned) {}
}  // namespace platform

}  // namespace zemka

namespace fuzz {
int console_lines = 0;
char last_console_line[1024] = "";
}  // namespace fuzz

extern "C" int ZEMKA_console_printf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    const int result = std::vsnprintf(fuzz::last_console_line, sizeof fuzz::last_console_line, format, args);
    va_end(args);
    const std::size_t length = std::strlen(fuzz::last_console_line);
    // Every message of the library is one whole line.
    if (result < 0 || length == 0 || fuzz::last_console_line[length - 1] != '\n') std::abort();
    ++fuzz::console_lines;
    return result;
}
