#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "serial/serial_line.h"

namespace vardelmo::serial {

// The serial line on the Win32 communications API with synchronous calls: each
// step of a request is one call that has finished when it returns.
class Win32SerialLine final : public SerialLine {
public:
    Win32SerialLine();
    ~Win32SerialLine() override;
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

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

// The steps of the line that fail on the system's word.
enum class Win32Step {
    Open,         // CreateFile
    Configure,    // the settings and timeouts while opening
    Reconfigure,  // new settings on a port already open
    Purge,        // discarding the input held from before the opening
    Write,
    Read,
};

// The operator's text for a failed step: `error` is what GetLastError() reported,
// `label` names the port (portLabel) and `settings` is the settings text in force.
std::string win32FailureText(Win32Step step, std::uint32_t error, const std::string& label,
                             std::string_view settings);

}  // namespace vardelmo::serial
