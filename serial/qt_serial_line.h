#pragma once

#include <memory>

#include "serial/serial_line.h"

namespace vardelmo::serial {

// The serial line on QSerialPort, driven without an event loop: every
// operation completes before it returns.
class QtSerialLine final : public SerialLine {
public:
    QtSerialLine();
    ~QtSerialLine() override;
    QtSerialLine(const QtSerialLine&) = delete;
    QtSerialLine& operator=(const QtSerialLine&) = delete;

    Status setSettings(std::string_view settings) override;
    Status setPort(const Port& port) override;
    Status setPortOpen(bool open) override;
    Status setOutput(std::string_view bytes) override;
    Status getInput(std::string& bytes) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vardelmo::serial
