// The library's two windows and their procedures.
#pragma once

#include <cstdint>

#include "zemka/platform/canvas_size.h"
#include "zemka/platform/windowing.h"

namespace zemka {

constexpr unsigned TIMER_ID = 2;
constexpr int TIMER_PERIOD_MS = 100;

std::intptr_t draw_window_proc(platform::Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
std::intptr_t text_window_proc(platform::Window *window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
void show_text_window(int flag);

// Event inputs of the wait, called by the drawing window's procedure.
void input_mouse_down(std::intptr_t lparam);
void input_char(std::uintptr_t code);
void input_timer();

// Menu and keyboard commands.
void build_menu(platform::Window *window);
void run_command(std::uintptr_t id);
void key_pressed(std::uintptr_t code);
void key_released(std::uintptr_t code);
// Keyboard focus left a library window for next_focus (a Window*, 0 when
// none of the library's). Leaving the library's windows, a Control
// release may never arrive, so it is taken as released; moving between
// them keeps it, as its release will reach one of them.
void focus_lost(std::uintptr_t next_focus);

}  // namespace zemka
