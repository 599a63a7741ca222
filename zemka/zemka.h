/* ZEMKA: a small graphics library for people learning to program.
 *
 * One drawing window shows a 601 x 540 canvas; points are logical
 * coordinates with the origin at the centre of the drawing area, x to the
 * right and y upwards. A second window is a scrolling text console.
 * Usable from C and C++. */
#ifndef ZEMKA_ZEMKA_H
#define ZEMKA_ZEMKA_H

/* Formats are checked like C99 printf's (the library formats them itself,
 * so %zu works on Windows too): by GCC and Clang through the attribute
 * (gnu_printf: MinGW's plain printf is the older msvcrt one), by
 * Microsoft's compiler (with /analyze) through the SAL annotation on the
 * format parameter. */
#if defined(__GNUC__) && !defined(__clang__)
#define ZEMKA_PRINTF_LIKE(fmt_index, first_arg) __attribute__((format(gnu_printf, fmt_index, first_arg)))
#define ZEMKA_FORMAT_STRING
#elif defined(__clang__)
#define ZEMKA_PRINTF_LIKE(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#define ZEMKA_FORMAT_STRING
#elif defined(_MSC_VER)
#include <sal.h>
#define ZEMKA_PRINTF_LIKE(fmt_index, first_arg)
#define ZEMKA_FORMAT_STRING _Printf_format_string_
#else
#define ZEMKA_PRINTF_LIKE(fmt_index, first_arg)
#define ZEMKA_FORMAT_STRING
#endif

/* zemka.dll's functions are cdecl whatever a project's default calling
 * convention (/Gz, /Gr); the exported names stay undecorated. */
#if defined(_WIN32)
#define ZEMKA_CALL __cdecl
#else
#define ZEMKA_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Event kinds returned by the event wait. */
enum { ZEMKA_MOUSE = 1, ZEMKA_KBD = 2, ZEMKA_PERIODIC = 3, ZEMKA_QUIT = 4 };

/* Run modes of ZEMKA_set_animation. */
enum { RUN_HALT = 0, RUN_ONE_FRAME = 1, RUN_ANIMATE = 2, RUN_QUIT = 5 };

/* A point in logical coordinates. */
typedef struct Point {
    int x;
    int y;
} Point;

/* What an event carries; fields an event does not carry are 0. */
typedef struct EventRecord {
    int x;
    int y;
    char key;
} EventRecord;

/* Start and stop. The four values are the program's start-up values; on
 * this platform they may all be null/0 (prev_instance non-null skips the
 * window class registration). Both return 1. */
int ZEMKA_CALL ZEMKA_start(void *instance, void *prev_instance, const char *command_line, int show_mode);
int ZEMKA_CALL ZEMKA_stop(void);

/* Drawing. Colors are palette indices 0..23; an invalid one draws red.
 * Width 0 fills triangles, rectangles and ovals. All return 1 except the
 * formatted text entries, which return the formatted length. */
int ZEMKA_CALL ZEMKA_draw_pixel(int color, int x, int y);
int ZEMKA_CALL ZEMKA_draw_pixel_pt(int color, Point p);
int ZEMKA_CALL ZEMKA_draw_circle(int color, int x, int y, int radius);
int ZEMKA_CALL ZEMKA_draw_circle_pt(int color, Point centre, int radius);
int ZEMKA_CALL ZEMKA_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int ZEMKA_CALL ZEMKA_draw_triangle_pt(int color, Point p1, Point p2, Point p3, int width);
int ZEMKA_CALL ZEMKA_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width);
int ZEMKA_CALL ZEMKA_draw_rectangle_pt(int color, Point corner1, Point corner2, int width);
int ZEMKA_CALL ZEMKA_draw_oval(int color, int x1, int y1, int x2, int y2, int width);
int ZEMKA_CALL ZEMKA_draw_oval_pt(int color, Point corner1, Point corner2, int width);
int ZEMKA_CALL ZEMKA_draw_line(int color, int x1, int y1, int x2, int y2, int width);
int ZEMKA_CALL ZEMKA_draw_line_pt(int color, Point start, Point end, int width);
int ZEMKA_CALL ZEMKA_draw_text(int color, int x, int y, int ptsize, const char *text);
int ZEMKA_CALL ZEMKA_draw_text_pt(int color, Point anchor, int ptsize, const char *text);
int ZEMKA_CALL ZEMKA_draw_textf(int color, int x, int y, int ptsize, ZEMKA_FORMAT_STRING const char *format, ...) ZEMKA_PRINTF_LIKE(5, 6);
int ZEMKA_CALL ZEMKA_draw_textf_pt(int color, Point anchor, int ptsize, ZEMKA_FORMAT_STRING const char *format, ...) ZEMKA_PRINTF_LIKE(4, 5);
int ZEMKA_CALL ZEMKA_clear_canvas(void);
int ZEMKA_CALL ZEMKA_undo(void);

/* Events and run control. The wait blocks until one event is ready and
 * returns its kind; null out-parameters are skipped. */
int ZEMKA_CALL ZEMKA_next_event(int *x, int *y, char *key);
int ZEMKA_CALL ZEMKA_next_event_record(EventRecord *record);
int ZEMKA_CALL ZEMKA_set_animation(int mode);
int ZEMKA_CALL ZEMKA_set_logging(int flag);

/* Console output: formats like printf, returns the formatted length. */
int ZEMKA_CALL ZEMKA_console_printf(ZEMKA_FORMAT_STRING const char *format, ...) ZEMKA_PRINTF_LIKE(1, 2);

/* Asks the user for one line of text in a modal dialog; buffer must hold
 * at least 256 bytes. Returns 1 when the dialog ran, 0 otherwise. */
int ZEMKA_CALL ZEMKA_gets(const char *prompt, char *buffer);

#ifdef __cplusplus
}
#endif

#endif /* ZEMKA_ZEMKA_H */
