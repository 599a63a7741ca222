// Dialogs as Qt widgets: an edit control becomes a text box, a button a
// push button, a static control a wrapping label, placed where the
// emulated window system laid them out.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>

#include "zemka/platform/emulated/toolkit.h"

namespace zemka::platform::toolkit {

struct NativeDialog : QDialog {
    Dialog *dialog = nullptr;
    std::map<int, QWidget *> controls;
    QPushButton *default_button = nullptr;

    void send_command(unsigned id) { report_dialog_command(dialog, id); }
    // Escape and the close box ask the procedure with the cancel command;
    // only the procedure ends the dialog.
    void reject() override { send_command(2); }
    void closeEvent(QCloseEvent *e) override {
        e->ignore();
        send_command(2);
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

QWidget *make_control(NativeDialog *dlg, const DialogControl &c) {
    const QString text = QString::fromUtf8(c.text.c_str());
    switch (c.kind) {
        case DialogControl::MULTI_LINE_EDIT: {
            auto *edit = new QPlainTextEdit(text, dlg);
            // Scroll bars and wrapping as the style asks.
            edit->setVerticalScrollBarPolicy(c.vertical_scroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(c.horizontal_scroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            if (c.wraps)
                edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            else
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            edit->setTabChangesFocus(true);
            edit->installEventFilter(dlg);
            return edit;
        }
        case DialogControl::LINE_EDIT: return new QLineEdit(text, dlg);
        case DialogControl::BUTTON:
        case DialogControl::DEFAULT_BUTTON: {
            auto *button = new QPushButton(text, dlg);
            if (c.kind == DialogControl::DEFAULT_BUTTON) {
                button->setDefault(true);
                dlg->default_button = button;
            }
            const auto id = static_cast<unsigned>(c.id);
            QObject::connect(button, &QPushButton::clicked, [dlg, id] { dlg->send_command(id); });
            return button;
        }
        case DialogControl::STATIC_TEXT: break;
    }
    auto *label = new QLabel(text, dlg);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

void dialog_units(double *unit_x, double *unit_y) {
    // Base units of the dialog font: the average width of the letters and
    // the line height.
    const QFontMetrics fm(QApplication::font("QDialog"));
    *unit_x = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0 / 4.0;
    *unit_y = fm.height() / 8.0;
}

NativeDialog *open_dialog(Dialog *dialog, const DialogLayout &layout, NativeWindow *owner) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return nullptr;
    auto *dlg = new NativeDialog;
    dlg->dialog = dialog;
    if (!layout.caption.empty()) dlg->setWindowTitle(QString::fromUtf8(layout.caption.c_str()));
    dlg->setFixedSize(layout.width, layout.height);
    for (const DialogControl &c : layout.controls) {
        QWidget *w = make_control(dlg, c);
        w->setGeometry(c.x, c.y, c.width, c.height);
        dlg->controls[c.id] = w;
    }
    // The layout's (x, y) is measured from the owner's client area to the
    // dialog's own client area.
    QPoint client_origin;
    if (auto *parent = static_cast<QWidget *>(owner ? native_handle(owner) : nullptr)) {
        dlg->setParent(parent, dlg->windowFlags() | Qt::Dialog);
        const QWidget *client = parent->focusProxy() ? parent->focusProxy() : parent;
        client_origin = client->mapToGlobal(QPoint(0, 0));
    }
    dlg->setGeometry(QRect(client_origin + QPoint(layout.x, layout.y), dlg->size()));
    dlg->setWindowModality(Qt::ApplicationModal);
    dlg->show();
    return dlg;
}

void focus_first_edit(NativeDialog *dlg) {
    for (auto &[id, w] : dlg->controls)
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)) {
            w->setFocus();
            return;
        }
}

std::string dialog_item_text(NativeDialog *dlg, int control_id) {
    auto it = dlg->controls.find(control_id);
    if (it == dlg->controls.end()) return {};
    QString text;
    if (auto *edit = qobject_cast<QPlainTextEdit *>(it->second))
        text = edit->toPlainText();
    else if (auto *line = qobject_cast<QLineEdit *>(it->second))
        text = line->text();
    else if (auto *label = qobject_cast<QLabel *>(it->second))
        text = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(it->second))
        text = button->text();
    return text.toStdString();
}

void close_dialog(NativeDialog *dlg) {
    dlg->hide();
    delete dlg;
}

}  // namespace zemka::platform::toolkit
