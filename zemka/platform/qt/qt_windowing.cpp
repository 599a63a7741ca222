// The window system over Qt Widgets. Toolkit events become messages in one
// queue for the thread, which the library's pump takes one at a time; the
// windows show surfaces that the library draws into.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "zemka/platform/message_queue.h"
#include "zemka/platform/windowing.h"

namespace zemka::platform {

namespace {

// The drawing window's client area: the canvas shows at (0, 0) of it.
constexpr int FIXED_CLIENT_WIDTH = 600;
constexpr int FIXED_CLIENT_HEIGHT = 500;
constexpr std::uint32_t CLASS_BACKGROUND = 0xffffffffu;  // white

std::map<std::string, WindowProc> &classes() {
    static std::map<std::string, WindowProc> registry;
    return registry;
}

class ClientWidget;

struct TimerSlot {
    QTimer *timer = nullptr;
    bool pending = false;
};

}  // namespace

struct Menu {
    bool popup = false;
    QMenu *qmenu = nullptr;  // popups
    struct Item {
        unsigned id = 0;
        unsigned flags = 0;
        std::string text;
        Menu *submenu = nullptr;
        QAction *action = nullptr;
        bool checked = false;
    };
    std::vector<Item> items;
    Window *owner = nullptr;
};

struct Window {
    WindowProc proc = nullptr;
    bool alive = true;
    bool paint_pending = false;
    WindowStyle style = WindowStyle::Resizable;
    QWidget *top = nullptr;  // the top-level widget
    ClientWidget *client = nullptr;
    QMenuBar *menu_bar = nullptr;
    Menu *menu = nullptr;   // the menu bar attached with set_menu
    Dc *surface = nullptr;  // what the client area shows
    std::map<unsigned, TimerSlot> timers;
};

namespace {

void post_paint(Window *w) {
    if (w->paint_pending) return;
    w->paint_pending = true;
    queue_message(w, WM_PAINT, 0, 0);
}

unsigned key_code(const QKeyEvent *e) {
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return static_cast<unsigned>(k);
    switch (k) {
        case Qt::Key_Control: return VK_CONTROL;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Delete: return 46;
        default: return 0;
    }
}

// The client area: shows the window's surface and reports input.
class ClientWidget : public QWidget {
public:
    ClientWidget(Window *w, QWidget *parent) : QWidget(parent), window_(w) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        const raster::Pixmap pm = dc_pixmap(window_->surface);
        if (!pm.pixels) return;
        const QImage image(reinterpret_cast<const uchar *>(pm.pixels), pm.width, pm.height, pm.stride * 4,
                           QImage::Format_RGB32);
        QPainter painter(this);
        painter.drawImage(0, 0, image);
        // Beyond a bounded surface the client area shows the background.
        const QColor background = QColor::fromRgb(CLASS_BACKGROUND);
        if (width() > pm.width) painter.fillRect(pm.width, 0, width() - pm.width, height(), background);
        if (height() > pm.height) painter.fillRect(0, pm.height, pm.width, height() - pm.height, background);
    }
    void resizeEvent(QResizeEvent *) override {
        if (window_->style != WindowStyle::Resizable) return;
        // The surface never outgrows the desktop, however large the window
        // is made: what lies beyond it could not be seen anyway.
        const QSize desktop = screen() ? screen()->virtualSize() : QSize(width(), height());
        const int cw = std::min(width(), desktop.width()), ch = std::min(height(), desktop.height());
        resize_dc(window_->surface, cw, ch);
        queue_message(window_, WM_SIZE, 0, static_cast<std::intptr_t>(ch) << 16 | cw);
        post_paint(window_);
    }
    void mousePressEvent(QMouseEvent *e) override {
        if (e->button() != Qt::LeftButton) return;
        const QPoint p = e->position().toPoint();
        queue_message(window_, WM_LBUTTONDOWN, 1, point_lparam(p.x(), p.y()));
    }
    void keyPressEvent(QKeyEvent *e) override {
        const QString text = e->text();
        char32_t typed = 0;
        if (text.size() == 1)
            typed = text.at(0).unicode();
        else if (text.size() == 2 && text.at(0).isHighSurrogate())
            typed = text.toUcs4().value(0);
        queue_message(window_, WM_KEYDOWN, key_code(e), key_lparam(typed));
    }
    void keyReleaseEvent(QKeyEvent *e) override {
        if (e->isAutoRepeat()) return;  // a held key repeats its press only
        queue_message(window_, WM_KEYUP, key_code(e), 0);
    }
    // As the window system does, wparam names the library window that takes
    // the focus, or is 0 when the focus leaves them (or a menu takes the
    // keys for a while): the toolkit has already made the new widget the
    // focus widget when the old one loses it.
    void focusOutEvent(QFocusEvent *e) override {
        Window *next = nullptr;
        if (e->reason() != Qt::PopupFocusReason)
            if (auto *taker = dynamic_cast<ClientWidget *>(QApplication::focusWidget()); taker && taker != this)
                next = taker->window_;
        queue_message(window_, WM_KILLFOCUS, reinterpret_cast<std::uintptr_t>(next), 0);
    }

private:
    Window *window_;
};

// The top-level frame: the close box asks the window's procedure.
class FrameWidget : public QWidget {
public:
    explicit FrameWidget(Window *w) : window_(w) {}
    // Places the window by its frame: the frame's corner at corner and, for
    // a window whose size is not fixed, the whole frame within size and
    // within the desktop. The frame is the window manager's, its size
    // known only once it has framed the window; until then the client area
    // stands in for it.
    void place_frame(QPoint corner, QSize size = QSize()) {
        corner_ = corner;
        placed_ = true;
        if (size.isValid()) {
            const QScreen *screen = QGuiApplication::primaryScreen();
            const QRect fitted = screen ? QRect(corner, size).intersected(screen->virtualGeometry()) : QRect();
            outer_size_ = fitted.isEmpty() ? size : fitted.size();
            resize(outer_size_);
        }
        move(corner);  // a top-level widget's position is its frame's
    }

protected:
    void closeEvent(QCloseEvent *e) override {
        e->ignore();
        if (window_->alive) queue_message(window_, WM_CLOSE, 0, 0);
    }
    // The window manager frames a window before it is exposed, and may
    // frame it again later; a move may follow its first placement.
    void showEvent(QShowEvent *) override {
        if (placed_ && !watching_ && windowHandle()) {
            windowHandle()->installEventFilter(this);
            watching_ = true;
        }
        fit_frame();
    }
    void moveEvent(QMoveEvent *) override { fit_frame(); }
    // Something outside the toolkit (a window manager that ignores the
    // size hints, a script) made the window larger than its maximum: back.
    void resizeEvent(QResizeEvent *) override {
        const QSize bounded = size().boundedTo(maximumSize());
        if (bounded != size()) resize(bounded);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Expose) fit_frame();
        return QWidget::eventFilter(watched, event);
    }

private:
    // Places the frame again when its margins first become known or
    // change; the user's later moves and sizes stay.
    void fit_frame() {
        if (!placed_ || !windowHandle()) return;
        const QMargins margins = windowHandle()->frameMargins();
        if (margins == fitted_) return;
        fitted_ = margins;
        QSize client = size();
        if (outer_size_.isValid())
            client = QSize(std::max(1, outer_size_.width() - margins.left() - margins.right()),
                           std::max(1, outer_size_.height() - margins.top() - margins.bottom()));
        // A top-level widget's geometry is its client area's.
        setGeometry(QRect(corner_ + QPoint(margins.left(), margins.top()), client));
    }

    Window *window_;
    bool placed_ = false;
    bool watching_ = false;
    QPoint corner_;
    QSize outer_size_;  // invalid for a window of fixed size
    QMargins fitted_;
};

void surface_changed(void *context) {
    auto *w = static_cast<Window *>(context);
    if (w->alive && w->client) w->client->update();
}

// The window is closed: its procedure hears of it, and it stays hidden
// and dead until the library destroys it for good (destroy_window).
void end_window(Window *w) {
    if (!w->alive) return;
    w->proc(w, WM_DESTROY, 0, 0);
    w->alive = false;
    for (auto &[id, slot] : w->timers) slot.timer->stop();
    w->top->hide();
}

QMenu *qmenu_of(Menu *m) {
    if (!m->qmenu) m->qmenu = new QMenu;
    return m->qmenu;
}

// Keeps the toolkit from toggling a check mark on its own: the menu shows
// what check_menu_item last set.
void show_check(Menu::Item &item) {
    if (!item.action) return;
    item.action->setCheckable(item.checked);
    item.action->setChecked(item.checked);
}

// The toolkit's notes about what an offscreen or minimal platform lacks
// are noise to a learner; everything else is passed on.
QtMessageHandler previous_handler = nullptr;
void filter_toolkit_messages(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.contains(QLatin1String("This plugin does not support")) ||
        message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (previous_handler) previous_handler(type, context, message);
}

char *program_name() {
    static char name[] = "zemka";
    return name;
}

}  // namespace

bool ensure_toolkit() {
    if (QCoreApplication::instance()) return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const char *display = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!platform || !*platform) && (!display || !*display) && (!wayland || !*wayland)) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        std::fputs("ZEMKA: no display found; drawing offscreen\n", stderr);
    }
    previous_handler = qInstallMessageHandler(filter_toolkit_messages);
    static int argc = 1;
    static char *argv[] = {program_name(), nullptr};
    new QApplication(argc, argv);  // lives for the rest of the process
    return true;
}

void register_class(const char *name, WindowProc proc) {
    if (name && proc) classes()[name] = proc;
}

bool class_registered(const char *name) { return name && classes().count(name) != 0; }

Window *create_window(const char *class_name, const char *title, WindowStyle style, int x, int y, int w, int h) {
    if (!class_name || !classes().count(class_name) || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    auto *win = new Window;
    win->proc = classes()[class_name];
    win->style = style;
    auto *frame = new FrameWidget(win);
    win->top = frame;
    frame->setWindowTitle(QString::fromUtf8(title ? title : ""));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    win->client = new ClientWidget(win, frame);
    layout->addWidget(win->client);
    frame->setFocusProxy(win->client);
    if (style == WindowStyle::FixedWithMenu) {
        // A caption with the system menu and the close box; the fixed size
        // leaves the window manager nothing to resize or maximise.
        frame->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
        win->surface = create_memory_dc(FIXED_CLIENT_WIDTH, FIXED_CLIENT_HEIGHT);
        win->client->setFixedSize(FIXED_CLIENT_WIDTH, FIXED_CLIENT_HEIGHT);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        frame->place_frame(QPoint(x, y));
    } else {
        const int cw = std::max(w, 1), ch = std::max(h, 1);
        win->surface = create_memory_dc(cw, ch);
        frame->place_frame(QPoint(x, y), QSize(cw, ch));
        // No larger than the desktop: the toolkit keeps a copy of the whole
        // window's pixels, and a larger window shows nothing more.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) frame->setMaximumSize(screen->virtualSize());
    }
    // A new window's client area shows its class background.
    raster::fill_rect(dc_pixmap(win->surface), 0, 0, dc_pixmap(win->surface).width, dc_pixmap(win->surface).height,
                      CLASS_BACKGROUND);
    set_dc_change_hook(win->surface, surface_changed, win);
    win->proc(win, WM_CREATE, 0, 0);
    const Rect rc = get_client_rect(win);
    win->proc(win, WM_SIZE, 0, static_cast<std::intptr_t>(rc.bottom) << 16 | rc.right);
    return win;
}

void show_window(Window *w, int command) {
    if (!window_alive(w)) return;
    if (command == SW_HIDE) {
        w->top->hide();
        return;
    }
    if (!w->top->isVisible()) {
        w->top->show();
        post_paint(w);
        // The drawing window asks for the keyboard focus, so that Ctrl keys
        // work before the first click also where no window manager gives it.
        if (w->style == WindowStyle::FixedWithMenu) {
            w->top->raise();
            w->top->activateWindow();
            w->client->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
}

bool window_alive(const Window *w) { return w && w->alive; }
bool window_visible(const Window *w) { return window_alive(w) && w->top->isVisible(); }

Rect get_client_rect(const Window *w) {
    if (!window_alive(w)) return {};
    const raster::Pixmap pm = dc_pixmap(w->surface);
    return {0, 0, pm.width, pm.height};
}

void screen_size(int *width, int *height) {
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize s = screen ? screen->size() : QSize(1024, 768);
    if (width) *width = s.width();
    if (height) *height = s.height();
}

std::intptr_t def_window_proc(Window *w, unsigned message, std::uintptr_t, std::intptr_t) {
    if (message == WM_CLOSE && w) end_window(w);
    return 0;
}

void destroy_window(Window *w) {
    if (!w) return;
    end_window(w);
    // The frame owns the client area, the menu bar and the timers (and so
    // their connections, which know the window); deleting it may still
    // queue focus messages for the window, dropped below.
    delete w->top;
    w->top = nullptr;
    destroy_menu(w->menu);
    delete_dc(w->surface);
    drop_messages_of(w);
    delete w;
}

Dc *get_dc(Window *w) { return window_alive(w) ? w->surface : nullptr; }
void release_dc(Window *, Dc *) {}

Dc *begin_paint(Window *w) {
    if (!window_alive(w)) return nullptr;
    w->paint_pending = false;
    const raster::Pixmap pm = dc_pixmap(w->surface);
    raster::fill_rect(pm, 0, 0, pm.width, pm.height, CLASS_BACKGROUND);
    return w->surface;
}

void end_paint(Window *w, Dc *) {
    if (window_alive(w)) w->client->update();
}

bool peek_message(Msg *out) {
    if (queued_messages().empty() && QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (queued_messages().empty()) return false;
    const Msg msg = queued_messages().front();
    queued_messages().pop_front();
    if (msg.message == WM_TIMER && msg.window) msg.window->timers[static_cast<unsigned>(msg.wparam)].pending = false;
    if (out) *out = msg;
    return true;
}

std::intptr_t dispatch_message(const Msg &msg) {
    if (!window_alive(msg.window)) return 0;
    return msg.window->proc(msg.window, msg.message, msg.wparam, msg.lparam);
}

void wait_message() {
    if (!queued_messages().empty() || !QCoreApplication::instance()) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void set_timer(Window *w, unsigned id, int period_ms) {
    if (!window_alive(w)) return;
    TimerSlot &slot = w->timers[id];
    if (!slot.timer) {
        slot.timer = new QTimer(w->top);
        QObject::connect(slot.timer, &QTimer::timeout, [w, id] {
            TimerSlot &s = w->timers[id];
            if (s.pending || !w->alive) return;
            s.pending = true;
            queue_message(w, WM_TIMER, id, 0);
        });
    }
    slot.timer->start(std::max(period_ms, 1));
}

void kill_timer(Window *w, unsigned id) {
    if (!w) return;
    auto it = w->timers.find(id);
    if (it != w->timers.end() && it->second.timer) it->second.timer->stop();
}

Menu *create_menu() { return new Menu; }

Menu *create_popup_menu() {
    auto *m = new Menu;
    m->popup = true;
    return m;
}

void append_menu(Menu *menu, unsigned flags, std::uintptr_t id_or_popup, const char *text) {
    if (!menu) return;
    Menu::Item item;
    item.flags = flags;
    item.text = text ? text : "";
    if (flags & MF_POPUP)
        item.submenu = reinterpret_cast<Menu *>(id_or_popup);
    else
        item.id = static_cast<unsigned>(id_or_popup);
    item.checked = (flags & MF_CHECKED) != 0;
    if (menu->popup && !(flags & MF_POPUP)) {
        QMenu *q = qmenu_of(menu);
        if (flags & MF_SEPARATOR) {
            item.action = q->addSeparator();
        } else {
            item.action = q->addAction(QString::fromUtf8(item.text.c_str()));
            item.action->setEnabled(!(flags & MF_GRAYED));
            const unsigned id = item.id;
            QObject::connect(item.action, &QAction::triggered, [menu, id] {
                for (Menu::Item &it : menu->items)
                    if (it.id == id) show_check(it);
                if (menu->owner) post_message(menu->owner, WM_COMMAND, id, 0);
            });
        }
    }
    menu->items.push_back(item);
    show_check(menu->items.back());
}

void set_menu(Window *w, Menu *menu) {
    if (!window_alive(w) || !menu) return;
    w->menu = menu;
    if (!w->menu_bar) {
        w->menu_bar = new QMenuBar(w->top);
        static_cast<QVBoxLayout *>(w->top->layout())->setMenuBar(w->menu_bar);
    }
    for (Menu::Item &item : menu->items) {
        if (!item.submenu) continue;
        item.submenu->owner = w;
        QMenu *q = qmenu_of(item.submenu);
        q->setTitle(QString::fromUtf8(item.text.c_str()));
        w->menu_bar->addMenu(q);
    }
}

void draw_menu_bar(Window *w) {
    if (window_alive(w) && w->menu_bar) w->menu_bar->update();
}

void check_menu_item(Menu *menu, unsigned id, unsigned flags) {
    if (!menu) return;
    for (Menu::Item &item : menu->items)
        if (item.id == id && !(item.flags & MF_SEPARATOR)) {
            item.checked = (flags & MF_CHECKED) != 0;
            show_check(item);
        }
}

void destroy_menu(Menu *menu) {
    if (!menu) return;
    for (const Menu::Item &item : menu->items) destroy_menu(item.submenu);
    delete menu->qmenu;  // with its actions and their connections
    delete menu;
}

std::vector<MenuItemInfo> menu_item_info(const Menu *menu) {
    std::vector<MenuItemInfo> out;
    if (!menu) return out;
    for (const Menu::Item &item : menu->items) {
        MenuItemInfo info;
        info.id = item.id;
        if (item.action) {
            info.text = item.action->isSeparator() ? std::string() : item.action->text().toStdString();
            info.separator = item.action->isSeparator();
            info.grayed = !item.action->isEnabled();
            info.checked = item.action->isChecked();
        } else {
            info.text = item.text;
        }
        out.push_back(info);
    }
    return out;
}

void *native_handle(const Window *w) { return w ? static_cast<void *>(w->top) : nullptr; }

}  // namespace zemka::platform
