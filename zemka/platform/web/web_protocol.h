// The numbers the web back end's two halves share: what the page reports
// (input records of four numbers: kind, window, a, b), the menu item flags
// and the dialog control kinds it is told. The build makes
// zemka_web_protocol.js from the NAME = NUMBER lines of this file, so the
// page half never copies a number by hand.
#pragma once

namespace zemka::platform::web {

enum PageInput {
    INPUT_CLICK = 1,        // a: x, b: y in the client area's pixels
    INPUT_KEY_DOWN = 2,     // a: key code, b: the character it types (0: none)
    INPUT_KEY_UP = 3,       // a: key code
    INPUT_CLOSE_BOX = 4,
    INPUT_MENU_CHOICE = 5,  // a: the item's id, as the library gave it
    INPUT_FOCUS_LOST = 6,   // a: the window that takes the focus (0: none)
    INPUT_RESIZED = 7,      // a: client width, b: client height
    INPUT_DIALOG = 8,       // window: the dialog, a: the command (its control's id)
    INPUT_MOVIE_START = 9,  // the page's "Record animation"
    INPUT_MOVIE_STOP = 10,  // the page's "Stop and save"
};

enum MenuItemFlag {
    ITEM_GRAYED = 1,
    ITEM_CHECKED = 2,
    ITEM_SEPARATOR = 4,
};

enum DialogControlKind {
    CONTROL_STATIC = 0,
    CONTROL_EDIT = 1,
    CONTROL_MULTILINE_EDIT = 2,
    CONTROL_BUTTON = 3,
    CONTROL_DEFAULT_BUTTON = 4,
};

// The key codes the page sends for keys that type no letter or digit.
enum PageKey {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_SHIFT = 16,
    KEY_CONTROL = 17,
    KEY_ALT = 18,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DELETE = 46,
};

}  // namespace zemka::platform::web
