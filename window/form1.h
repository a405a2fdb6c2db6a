#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "serial/qt_serial_line.h"

namespace Ui {
class Form1;
}

namespace vardelmo::window {

// The program's only window. A press of Command1 runs one weight request on
// this thread; nothing else the operator does runs code of ours.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Replaces the initial texts of the fields given, e.g. from the command line.
    void fillFields(const std::optional<QString>& port, const std::optional<QString>& config,
                    const std::optional<QString>& wait);

private:
    void requestWeight();

    std::unique_ptr<Ui::Form1> ui;
    // Lives as long as the window, so the settings and port last set outlast a request.
    serial::QtSerialLine MSComm1;
};

}  // namespace vardelmo::window
