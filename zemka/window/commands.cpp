// The "&Run" menu and its Ctrl + letter shortcuts. Commands only set flags
// and keep the menu's check marks in step with them.
#include "zemka/draw/canvas_state.h"
#include "zemka/script/script.h"
#include "zemka/window/library_windows.h"
#include "zemka/window/movie.h"
#include "zemka/window/run_menu.h"
#include "zemka/window/run_state.h"
#include "zemka/window/window_procs.h"

namespace zemka {

using namespace platform;

namespace {

// Where a page's "Record animation" button records (the page offers the
// file when its "Stop and save" button, or the program's end, writes it).
constexpr const char *PAGE_MOVIE_FILE = "zemka.gif";

struct MenuEntry {
    unsigned flags;
    unsigned id;
    const char *text;
};

const MenuEntry run_menu_items[] = {
    {MF_STRING, MENU_ANIMATE, "&Animate\tCtrl+A"},
    {MF_STRING, MENU_HALT, "&Halt animation\tCtrl+H"},
    {MF_STRING, MENU_ONE_FRAME, "Advance one &frame\tCtrl+F"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING | MF_CHECKED, MENU_LOGGING, "&Logging\tCtrl+L"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, MENU_RECORD, "&Record Script\tCtrl+R"},
    {MF_STRING, MENU_PLAYBACK, "&Playback Script\tCtrl+P"},
    {MF_STRING, MENU_PLAY_ONE, "Play &One Script\tCtrl+O"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, MENU_QUIT, "&Quit\tCtrl+Q"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_GRAYED, MENU_INFO, "ZEMKA v2.2 July 1997"},
    {MF_GRAYED, MENU_INFO, "MAC: mac@zemka.example.org"},
    {MF_GRAYED, MENU_INFO, "WINDOWS: windows@zemka.example.org"},
    {MF_GRAYED, MENU_INFO, "UPDATES: https://zemka.example.org/updates"},
};

// The menu id of a Ctrl + letter command, 0 for any other key.
unsigned command_of_key(std::uintptr_t code) {
    switch (code) {
        case 'A': return MENU_ANIMATE;
        case 'H': return MENU_HALT;
        case 'F': return MENU_ONE_FRAME;
        case 'L': return MENU_LOGGING;
        case 'R': return MENU_RECORD;
        case 'P': return MENU_PLAYBACK;
        case 'O': return MENU_PLAY_ONE;
        case 'Q': return MENU_QUIT;
        default: return 0;
    }
}

}  // namespace

Menu *run_menu = nullptr;

void build_menu(Window *window) {
    Menu *bar = create_menu();
    run_menu = create_popup_menu();
    for (const MenuEntry &item : run_menu_items) append_menu(run_menu, item.flags, item.id, item.text);
    append_menu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(run_menu), "&Run");
    set_menu(window, bar);
    draw_menu_bar(window);
}

void run_command(std::uintptr_t id) {
    switch (id) {
        case MENU_ANIMATE: animate = 1; break;
        case MENU_HALT: animate = 0; break;
        case MENU_ONE_FRAME:
            animate = 0;
            one_frame = 1;
            break;
        case MENU_LOGGING:
            logging = !logging;
            check_menu_item(run_menu, MENU_LOGGING, logging ? MF_CHECKED : MF_UNCHECKED);
            break;
        case MENU_RECORD: script_toggle_recording(); break;
        case MENU_PLAYBACK: script_toggle_playback(); break;
        case MENU_PLAY_ONE: script_play_once(); break;
        case MENU_QUIT: post_quit_message(0); break;
        case COMMAND_MOVIE_START: movie::start(PAGE_MOVIE_FILE); break;
        case COMMAND_MOVIE_STOP: movie::finish(); break;
        default: break;  // the information lines and unknown ids
    }
}

void key_pressed(std::uintptr_t code) {
    if (code == VK_CONTROL) {
        ctrl_down = 1;
        return;
    }
    if (ctrl_down == 1)
        if (const unsigned id = command_of_key(code)) run_command(id);
}

void key_released(std::uintptr_t code) {
    if (code == VK_CONTROL) ctrl_down = 0;
}

void focus_lost(std::uintptr_t next_focus) {
    const auto *next = reinterpret_cast<const Window *>(next_focus);
    if (next && (next == draw_window() || next == text_window())) return;
    ctrl_down = 0;
}

}  // namespace zemka
