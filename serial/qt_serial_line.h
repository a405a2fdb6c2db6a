#pragma once

#include <memory>

#include "serial/line_base.h"

namespace vardelmo::serial {

// The serial line on QSerialPort, driven without an event loop: every
// operation completes before it returns.
class QtSerialLine final : public LineBase {
public:
    QtSerialLine();
    ~QtSerialLine() override;
    QtSerialLine(const QtSerialLine&) = delete;
    QtSerialLine& operator=(const QtSerialLine&) = delete;

    Result<void> setPortOpen(bool open) override;
    Result<void> setOutput(std::string_view bytes) override;
    Result<std::string> getInput() override;
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override;

private:
    bool isOpen() const override;
    std::optional<Reason> applyToOpenPort(const LineSettings& settings) override;

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vardelmo::serial
