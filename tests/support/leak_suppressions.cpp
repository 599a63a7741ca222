// Leaks that the toolkit and the font configuration keep until the process
// ends are theirs, not ours: LeakSanitizer is told to pass over them.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libQt6Widgets\n"
           "leak:libQt6Test\n"
           "leak:libfontconfig\n"
           "leak:libfreetype\n"
           "leak:libglib-2.0\n"
           "leak:libxcb\n"
           "leak:libX11\n";
}
