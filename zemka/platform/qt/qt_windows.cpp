// The emulated window system's toolkit over Qt Widgets: a top-level frame
// per window with a client widget that shows the window's pixels and
// reports input, a menu bar of QMenus, and Qt's event loop as the wait.
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
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "zemka/platform/emulated/toolkit.h"

namespace zemka::platform {

namespace toolkit {

struct NativeWindow;

}  // namespace toolkit

namespace {

constexpr std::uint32_t CLASS_BACKGROUND = 0xffffffffu;  // white, beyond a bounded surface

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
    ClientWidget(Window *w, bool resizable, QWidget *parent) : QWidget(parent), window_(w), resizable_(resizable) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        const raster::Pixmap pm = shown_pixels(window_);
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
        if (!resizable_) return;
        // The surface never outgrows the desktop, however large the window
        // is made: what lies beyond it could not be seen anyway.
        const QSize desktop = screen() ? screen()->virtualSize() : QSize(width(), height());
        const int cw = std::min(width(), desktop.width()), ch = std::min(height(), desktop.height());
        report_resized(window_, cw, ch);
    }
    void mousePressEvent(QMouseEvent *e) override {
        if (e->button() != Qt::LeftButton) return;
        const QPoint p = e->position().toPoint();
        report_click(window_, p.x(), p.y());
    }
    void keyPressEvent(QKeyEvent *e) override {
        const QString text = e->text();
        char32_t typed = 0;
        if (text.size() == 1)
            typed = text.at(0).unicode();
        else if (text.size() == 2 && text.at(0).isHighSurrogate())
            typed = text.toUcs4().value(0);
        report_key(window_, true, key_code(e), typed);
    }
    void keyReleaseEvent(QKeyEvent *e) override {
        if (e->isAutoRepeat()) return;  // a held key repeats its press only
        report_key(window_, false, key_code(e), 0);
    }
    // The library window that takes the focus is named, or none when the
    // focus leaves them (or a menu takes the keys for a while): the toolkit
    // has already made the new widget the focus widget when the old one
    // loses it.
    void focusOutEvent(QFocusEvent *e) override {
        Window *next = nullptr;
        if (e->reason() != Qt::PopupFocusReason)
            if (auto *taker = dynamic_cast<ClientWidget *>(QApplication::focusWidget()); taker && taker != this)
                next = taker->window_;
        report_focus_lost(window_, next);
    }

private:
    Window *window_;
    bool resizable_;
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
        report_close_box(window_);
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

struct QtPopup {
    QMenu *menu = nullptr;
    std::vector<QAction *> actions;
};

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

namespace toolkit {

struct NativeWindow {
    Window *window = nullptr;
    bool fixed = false;
    FrameWidget *top = nullptr;
    ClientWidget *client = nullptr;
    QMenuBar *menu_bar = nullptr;
    std::vector<QtPopup> popups;
};

bool start() {
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

void screen_size(int *width, int *height) {
    QScreen *screen = QGuiApplication::primaryScreen();
    const QSize s = screen ? screen->size() : QSize(1024, 768);
    *width = s.width();
    *height = s.height();
}

NativeWindow *create_window(Window *window, const WindowRequest &request) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return nullptr;
    auto *native = new NativeWindow;
    native->window = window;
    native->fixed = request.fixed;
    auto *frame = new FrameWidget(window);
    native->top = frame;
    frame->setWindowTitle(QString::fromUtf8(request.title));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    native->client = new ClientWidget(window, !request.fixed, frame);
    layout->addWidget(native->client);
    frame->setFocusProxy(native->client);
    if (request.fixed) {
        // A caption with the system menu and the close box; the fixed size
        // leaves the window manager nothing to resize or maximise.
        frame->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
        native->client->setFixedSize(request.client_width, request.client_height);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        frame->place_frame(QPoint(request.x, request.y));
    } else {
        frame->place_frame(QPoint(request.x, request.y), QSize(request.client_width, request.client_height));
        // No larger than the desktop: the toolkit keeps a copy of the whole
        // window's pixels, and a larger window shows nothing more.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) frame->setMaximumSize(screen->virtualSize());
    }
    return native;
}

void show_window(NativeWindow *native, bool visible) {
    if (!visible) {
        native->top->hide();
        return;
    }
    if (native->top->isVisible()) return;
    native->top->show();
    // The drawing window asks for the keyboard focus, so that Ctrl keys
    // work before the first click also where no window manager gives it.
    if (native->fixed) {
        native->top->raise();
        native->top->activateWindow();
        native->client->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void destroy_window(NativeWindow *native) {
    if (!native) return;
    // The frame owns the client area, the menu bar and the popups' menus
    // are its own; deleting them may still report focus changes, which the
    // emulated system drops for a window it no longer has.
    for (QtPopup &popup : native->popups) delete popup.menu;
    delete native->top;
    delete native;
}

// Qt paints on its own schedule, reading the window's pixels when it does
// (shown_pixels): presenting only asks for a repaint.
void present(NativeWindow *native, const raster::Pixmap &) { native->client->update(); }

void take_input() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void wait_for_input(int timeout_ms) {
    if (!QCoreApplication::instance()) return;
    // A single-shot timer ends the toolkit's wait when the next tick is
    // due; it is an event of its own, so the wait returns then.
    static QTimer *wake = nullptr;
    if (!wake) {
        wake = new QTimer;
        wake->setSingleShot(true);
        QObject::connect(wake, &QTimer::timeout, [] {});
    }
    if (timeout_ms >= 0) wake->start(timeout_ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    wake->stop();
}

void add_menu_popup(NativeWindow *native, int popup, const char *title) {
    if (!native->menu_bar) {
        native->menu_bar = new QMenuBar(native->top);
        static_cast<QVBoxLayout *>(native->top->layout())->setMenuBar(native->menu_bar);
    }
    if (popup != static_cast<int>(native->popups.size())) return;
    QtPopup p;
    p.menu = new QMenu(QString::fromUtf8(title));
    native->menu_bar->addMenu(p.menu);
    native->popups.push_back(p);
}

void add_menu_item(NativeWindow *native, int popup, int index, unsigned id, unsigned flags, const char *text) {
    if (popup < 0 || popup >= static_cast<int>(native->popups.size())) return;
    QtPopup &p = native->popups[static_cast<std::size_t>(popup)];
    if (index != static_cast<int>(p.actions.size())) return;
    QAction *action = nullptr;
    if (flags & MF_SEPARATOR) {
        action = p.menu->addSeparator();
    } else {
        action = p.menu->addAction(QString::fromUtf8(text));
        action->setEnabled(!(flags & MF_GRAYED));
        Window *window = native->window;
        QObject::connect(action, &QAction::triggered, [window, id] { report_menu_choice(window, id); });
    }
    p.actions.push_back(action);
    check_menu_item(native, popup, index, (flags & MF_CHECKED) != 0);
}

// An item is checkable only while checked, so the toolkit never puts a mark
// on by itself; report_menu_choice sets back a mark it took off.
void check_menu_item(NativeWindow *native, int popup, int index, bool checked) {
    if (popup < 0 || popup >= static_cast<int>(native->popups.size())) return;
    QtPopup &p = native->popups[static_cast<std::size_t>(popup)];
    if (index < 0 || index >= static_cast<int>(p.actions.size()) || p.actions[static_cast<std::size_t>(index)]->isSeparator())
        return;
    QAction *action = p.actions[static_cast<std::size_t>(index)];
    action->setCheckable(checked);
    action->setChecked(checked);
}

bool shown_menu_item(const NativeWindow *native, int popup, int index, MenuItemInfo *out) {
    if (popup < 0 || popup >= static_cast<int>(native->popups.size())) return false;
    const QtPopup &p = native->popups[static_cast<std::size_t>(popup)];
    if (index < 0 || index >= static_cast<int>(p.actions.size())) return false;
    const QAction *action = p.actions[static_cast<std::size_t>(index)];
    out->text = action->isSeparator() ? std::string() : action->text().toStdString();
    out->separator = action->isSeparator();
    out->grayed = !action->isEnabled();
    out->checked = action->isChecked();
    return true;
}

void *native_handle(const NativeWindow *native) { return static_cast<void *>(native->top); }

}  // namespace toolkit

}  // namespace zemka::platform
