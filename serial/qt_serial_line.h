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

    Result<void> setSettings(std::string_view settings) override;
    Result<void> setPort(const Port& port) override;
    Result<void> setPortOpen(bool open) override;
    Result<void> setOutput(std::string_view bytes) override;
    Result<std::string> getInput() override;
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vardelmo::serial
