#pragma once

#include <QObject>
#include <memory>

#include "serial/port_list.h"

class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace vardelmo::window {

// Offers the machine's ports as completions in the port field: typing shows
// the ports that start so, and the Down key (or F4) lists them all. The ports
// are asked for when the operator enters the field or opens the list, never
// at start-up, so the start is not delayed and an adapter plugged in later
// shows up. The list is as wide as its longest entry, within the screen; the
// field keeps its width.
class PortCompleter final : public QObject {
    Q_OBJECT

public:
    PortCompleter(QLineEdit& field, std::unique_ptr<serial::PortList> ports);
    ~PortCompleter() override;

    QCompleter* completer() const { return completer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showAll();
    void keepOnScreen();

    QLineEdit& field_;
    std::unique_ptr<serial::PortList> ports_;
    QStandardItemModel* model_;
    QCompleter* completer_;
};

}  // namespace vardelmo::window
