#include "window/port_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>

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
    // The field is narrow; the list is as wide as its longest entry.
    QAbstractItemView* popup = completer_->popup();
    popup->setMinimumWidth(popup->sizeHintForColumn(0) + 2 * popup->frameWidth() +
                           popup->verticalScrollBar()->sizeHint().width());
}

void PortCompleter::showAll() {
    refresh();
    completer_->setCompletionPrefix(QString());
    completer_->complete();
}

}  // namespace vardelmo::window
