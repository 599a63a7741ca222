// The menu model: a bar of popups, each a list of items with ids, texts,
// grey states and check marks. The toolkit shows the bar once it is
// attached to a window and follows every later change; a choice comes back
// as WM_COMMAND to the window that owns the bar.
#include "zemka/platform/emulated/window_system.h"

namespace zemka::platform {

namespace {

unsigned shown_flags(const Menu::Item &item) {
    return (item.flags & ~static_cast<unsigned>(MF_CHECKED)) | (item.checked ? static_cast<unsigned>(MF_CHECKED) : 0u);
}

bool shows(const Menu *popup) { return popup->owner && popup->owner->native && popup->index_in_bar >= 0; }

}  // namespace

Menu *create_menu() { return new Menu; }

// A popup is a menu like the bar: what it is shows in where it is appended.
Menu *create_popup_menu() { return new Menu; }

void append_menu(Menu *menu, unsigned flags, std::uintptr_t id_or_popup, const char *text) {
    if (!menu) return;
    Menu::Item item;
    item.flags = flags;
    const bool separator = (flags & MF_SEPARATOR) != 0;
    item.text = separator || !text ? "" : text;
    if (flags & MF_POPUP)
        item.submenu = reinterpret_cast<Menu *>(id_or_popup);
    else
        item.id = static_cast<unsigned>(id_or_popup);
    item.checked = (flags & MF_CHECKED) != 0 && !separator;
    menu->items.push_back(item);
    if (shows(menu))
        toolkit::add_menu_item(menu->owner->native, menu->index_in_bar, static_cast<int>(menu->items.size() - 1),
                               item.id, shown_flags(item), item.text.c_str());
}

void set_menu(Window *w, Menu *menu) {
    if (!window_alive(w) || !menu || w->menu) return;
    w->menu = menu;
    int index = 0;
    for (Menu::Item &bar_item : menu->items) {
        Menu *popup = bar_item.submenu;
        if (!popup) continue;
        popup->owner = w;
        popup->index_in_bar = index++;
        toolkit::add_menu_popup(w->native, popup->index_in_bar, bar_item.text.c_str());
        for (std::size_t i = 0; i < popup->items.size(); ++i) {
            const Menu::Item &item = popup->items[i];
            toolkit::add_menu_item(w->native, popup->index_in_bar, static_cast<int>(i), item.id, shown_flags(item),
                                   item.text.c_str());
        }
    }
}

void draw_menu_bar(Window *) {}  // the toolkit shows every change at once

void check_menu_item(Menu *menu, unsigned id, unsigned flags) {
    if (!menu) return;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        Menu::Item &item = menu->items[i];
        if (item.id != id || (item.flags & MF_SEPARATOR) || item.submenu) continue;
        item.checked = (flags & MF_CHECKED) != 0;
        if (shows(menu))
            toolkit::check_menu_item(menu->owner->native, menu->index_in_bar, static_cast<int>(i), item.checked);
    }
}

void destroy_menu(Menu *menu) {
    if (!menu) return;
    for (const Menu::Item &item : menu->items) destroy_menu(item.submenu);
    delete menu;
}

std::vector<MenuItemInfo> menu_item_info(const Menu *menu) {
    std::vector<MenuItemInfo> out;
    if (!menu) return out;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const Menu::Item &item = menu->items[i];
        MenuItemInfo info;
        info.id = item.id;
        info.text = item.text;
        info.separator = (item.flags & MF_SEPARATOR) != 0;
        info.grayed = (item.flags & MF_GRAYED) != 0;
        info.checked = item.checked;
        // What the toolkit shows, where it shows menus: a test then sees
        // the screen, not the model.
        if (!item.submenu && shows(menu)) {
            MenuItemInfo shown = info;
            if (toolkit::shown_menu_item(menu->owner->native, menu->index_in_bar, static_cast<int>(i), &shown))
                info = shown;
        }
        out.push_back(info);
    }
    return out;
}

void report_menu_choice(Window *w, unsigned item_id) {
    if (!window_alive(w) || !w->menu) return;
    // A toolkit may have toggled a check mark on its own: the menu shows
    // what check_menu_item last set until the program sets it again.
    for (const Menu::Item &bar_item : w->menu->items) {
        Menu *popup = bar_item.submenu;
        if (!popup || !shows(popup)) continue;
        for (std::size_t i = 0; i < popup->items.size(); ++i)
            if (popup->items[i].id == item_id && !(popup->items[i].flags & MF_SEPARATOR))
                toolkit::check_menu_item(w->native, popup->index_in_bar, static_cast<int>(i), popup->items[i].checked);
    }
    queue_message(w, WM_COMMAND, item_id, 0);
}

}  // namespace zemka::platform
