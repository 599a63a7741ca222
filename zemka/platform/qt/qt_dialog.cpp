// Dialogs from in-memory templates as Qt widgets: an edit control becomes
// a text box, a button a push button, a static control a wrapping label.
// Positions are dialog units, converted with the dialog font's base units.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstring>
#include <map>

#include "zemka/platform/dialog.h"
#include "zemka/platform/dialog_template.h"
#include "zemka/platform/utf8.h"

namespace zemka::platform {

struct Dialog : QDialog {
    DialogProc proc = nullptr;
    QPoint origin;  // the template's (x, y) in pixels
    bool ended = false;
    std::intptr_t result = 0;
    std::map<int, QWidget *> controls;
    QPushButton *default_button = nullptr;

    void send_command(std::uintptr_t id) { proc(this, WM_COMMAND, id, 0); }
    // Escape and the close box ask the procedure with the cancel command;
    // only the procedure ends the dialog.
    void reject() override { send_command(IDCANCEL); }
    void closeEvent(QCloseEvent *e) override {
        e->ignore();
        send_command(IDCANCEL);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        // In a multi-line text box Enter presses the default button;
        // Ctrl+Enter (or Shift+Enter) breaks the line instead.
        auto *edit = qobject_cast<QPlainTextEdit *>(watched);
        if (event->type() == QEvent::KeyPress && edit) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
                    edit->insertPlainText(QStringLiteral("\n"));
                else if (default_button)
                    default_button->click();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
};

namespace {

bool build_dialog(Dialog *dlg, const std::uint8_t *tmpl, std::size_t size) {
    DialogTemplate t;
    if (!read_dialog_template(tmpl, size, &t)) return false;
    // Base units of the dialog font: the average width of the letters and
    // the line height.
    const QFontMetrics fm(dlg->font());
    const double unit_x =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0 / 4.0;
    const double unit_y = fm.height() / 8.0;
    auto px = [](double units, int value) { return static_cast<int>(value * units + 0.5); };
    if (t.style & dialog_bits::CAPTION) dlg->setWindowTitle(QString::fromStdU16String(t.caption));
    dlg->setFixedSize(px(unit_x, t.cx), px(unit_y, t.cy));
    dlg->origin = QPoint(px(unit_x, t.x), px(unit_y, t.y));
    for (const DialogItemTemplate &item : t.items) {
        const std::uint32_t item_style = item.style;
        const int id = item.id;
        const std::uint16_t atom = item.class_atom;
        const QString text = QString::fromStdU16String(item.text);
        QWidget *w = nullptr;
        if (atom == dialog_bits::EDIT_CLASS) {
            if (item_style & dialog_bits::MULTI_LINE) {
                auto *edit = new QPlainTextEdit(text, dlg);
                // Scroll bars and wrapping as the style asks: without a
                // horizontal auto-scroll the text wraps at words.
                edit->setVerticalScrollBarPolicy(item_style & dialog_bits::VERTICAL_SCROLL ? Qt::ScrollBarAlwaysOn
                                                                                           : Qt::ScrollBarAlwaysOff);
                edit->setHorizontalScrollBarPolicy(
                    item_style & dialog_bits::HORIZONTAL_SCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
                if (item_style & dialog_bits::AUTO_HORIZONTAL_SCROLL)
                    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                else
                    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                edit->setTabChangesFocus(true);
                edit->installEventFilter(dlg);
                w = edit;
            } else {
                w = new QLineEdit(text, dlg);
            }
        } else if (atom == dialog_bits::BUTTON_CLASS) {
            auto *button = new QPushButton(text, dlg);
            if (item_style & dialog_bits::DEFAULT_PUSH_BUTTON) {
                button->setDefault(true);
                dlg->default_button = button;
            }
            QObject::connect(button, &QPushButton::clicked,
                             [dlg, id] { dlg->send_command(static_cast<std::uintptr_t>(id)); });
            w = button;
        } else {
            auto *label = new QLabel(text, dlg);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = label;
        }
        w->setGeometry(px(unit_x, item.x), px(unit_y, item.y), px(unit_x, item.cx), px(unit_y, item.cy));
        dlg->controls[id] = w;
    }
    return true;
}

}  // namespace

std::intptr_t dialog_box_indirect(void *, const std::uint8_t *tmpl, std::size_t size, Window *owner, DialogProc proc,
                                  std::intptr_t init_param) {
    if (!tmpl || !proc || !qobject_cast<QApplication *>(QCoreApplication::instance())) return -1;
    auto *dlg = new Dialog;
    dlg->proc = proc;
    if (!build_dialog(dlg, tmpl, size)) {
        delete dlg;
        return -1;
    }
    // The template's (x, y) is measured from the owner's client area to the
    // dialog's own client area.
    QPoint client_origin;
    if (QWidget *parent = static_cast<QWidget *>(native_handle(owner)); parent && window_alive(owner)) {
        dlg->setParent(parent, dlg->windowFlags() | Qt::Dialog);
        const QWidget *client = parent->focusProxy() ? parent->focusProxy() : parent;
        client_origin = client->mapToGlobal(QPoint(0, 0));
    }
    dlg->setGeometry(QRect(client_origin + dlg->origin, dlg->size()));
    dlg->setWindowModality(Qt::ApplicationModal);
    // The first control that takes the focus gets it when the procedure
    // asks for it.
    const bool default_focus = proc(dlg, WM_INITDIALOG, 0, init_param) != 0;
    dlg->show();
    if (default_focus)
        for (auto &[id, w] : dlg->controls)
            if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel *>(w) && !qobject_cast<QPushButton *>(w)) {
                w->setFocus();
                break;
            }
    // The modal loop: toolkit input, and the library's queued messages
    // dispatched as the event wait would. A quit request ends the dialog
    // and stays queued for the event wait.
    while (!dlg->ended) {
        Msg msg;
        if (peek_message(&msg)) {
            if (msg.message == WM_QUIT) {
                post_quit_message(static_cast<int>(msg.wparam));
                dlg->result = -1;
                break;
            }
            translate_message(msg);
            dispatch_message(msg);
            continue;
        }
        wait_message();
    }
    const std::intptr_t result = dlg->result;
    dlg->hide();
    delete dlg;
    return result;
}

std::size_t get_dlg_item_text(Dialog *dlg, int id, char *buffer, std::size_t max_bytes) {
    if (!dlg || !buffer || max_bytes == 0) return 0;
    QString text;
    auto it = dlg->controls.find(id);
    if (it != dlg->controls.end()) {
        if (auto *edit = qobject_cast<QPlainTextEdit *>(it->second))
            text = edit->toPlainText();
        else if (auto *line = qobject_cast<QLineEdit *>(it->second))
            text = line->text();
        else if (auto *label = qobject_cast<QLabel *>(it->second))
            text = label->text();
        else if (auto *button = qobject_cast<QPushButton *>(it->second))
            text = button->text();
    }
    const QByteArray utf8 = text.toUtf8();
    const std::size_t n = utf8_prefix_length(utf8.constData(), static_cast<std::size_t>(utf8.size()), max_bytes - 1);
    std::memcpy(buffer, utf8.constData(), n);
    buffer[n] = '\0';
    return n;
}

void end_dialog(Dialog *dlg, std::intptr_t result) {
    if (!dlg) return;
    dlg->ended = true;
    dlg->result = result;
}

}  // namespace zemka::platform
