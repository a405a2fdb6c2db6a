#include "window/port_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace vardelmo::window {
namespace {

// The entry's text as the field takes it; the list itself shows it with its description.
constexpr int kTextRole = Qt::UserRole;

}  // namespace

PortCompleter::PortCompleter(QLineEdit& field, std::unique_ptr<serial::PortList> ports)
    : QObject(&field),
      field_(field),
      ports_(std::move(ports)),
      model_(new QStandardItemModel(this)),
      completer_(new QCompleter(model_, this)) {
    completer_->setCompletionRole(kTextRole);
    completer_->setCaseSensitivity(Qt::CaseSensitive);
    field_.setCompleter(completer_);
    field_.installEventFilter(this);
    completer_->popup()->installEventFilter(this);
}

PortCompleter::~PortCompleter() = default;

bool PortCompleter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &field_) {
        if (event->type() == QEvent::FocusIn) {
            refresh();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool opens = key->key() == Qt::Key_F4 ||
                               (key->key() == Qt::Key_Down &&
                                (key->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier)) == 0);
            if (opens) {
                showAll();
                return true;
            }
        }
    } else if (watched == completer_->popup() &&
               (event->type() == QEvent::Show || event->type() == QEvent::Move ||
                event->type() == QEvent::Resize)) {
        keepOnScreen();
    }
    return QObject::eventFilter(watched, event);
}

void PortCompleter::refresh() {
    model_->clear();
    for (const serial::PortEntry& port : ports_->ports()) {
        const QString text = QString::fromStdString(port.text);
        const QString description = QString::fromStdString(port.description);
        auto* item = new QStandardItem(description.isEmpty() ? text : text + " — " + description);
        item->setData(text, kTextRole);
        item->setEditable(false);
        model_->appendRow(item);
    }
    // The field is narrow; the list is as wide as its longest entry. Measured on every entry,
    // not on the list's own rows, which hold only those that start as the field's text.
    QAbstractItemView* popup = completer_->popup();
    QStyleOptionViewItem option;
    option.initFrom(popup);
    option.font = popup->font();
    option.widget = popup;
    int widest = 0;
    for (int row = 0; row < model_->rowCount(); ++row) {
        widest = std::max(widest,
                          popup->itemDelegate()->sizeHint(option, model_->index(row, 0)).width());
    }
    const int width =
        widest + 2 * popup->frameWidth() + popup->verticalScrollBar()->sizeHint().width();
    popup->setMinimumWidth(std::min(width, field_.screen()->availableGeometry().width()));
}

// Opened by typing, the completer places the list as if it were as wide as the field: a list
// that would run past the screen's right edge is moved left.
void PortCompleter::keepOnScreen() {
    QWidget* popup = completer_->popup();
    const QRect screen = field_.screen()->availableGeometry();
    const QRect at = popup->geometry();
    const int x = std::max(screen.left(), std::min(at.left(), screen.right() + 1 - at.width()));
    if (x != at.left()) {
        popup->move(x, at.top());
    }
}

void PortCompleter::showAll() {
    refresh();
    completer_->setCompletionPrefix(QString());
    // Given the list's width, the completer keeps the whole list on the screen; the rectangle
    // puts it where it puts a list of its own, just under the field.
    completer_->complete(QRect(0, -1, completer_->popup()->minimumWidth(), field_.height()));
}

}  // namespace vardelmo::window
