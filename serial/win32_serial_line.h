#pragma once

#include <memory>
#include <optional>

#include "serial/line_base.h"

namespace vardelmo::serial {

class Win32Calls;
Win32Calls& systemWin32Calls();

// The serial line on the Win32 communications API with synchronous calls: each
// step of a request is one call that has finished when it returns.
class Win32SerialLine final : public LineBase {
public:
    // On the system's calls, or on a test's stand-in for a driver.
    explicit Win32SerialLine(Win32Calls& calls = systemWin32Calls());
    ~Win32SerialLine() override;
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    Result<void> setPortOpen(bool open) override;
    Result<void> setOutput(std::string_view bytes) override;
    Result<std::string> getInput() override;
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override;

private:
    bool isOpen() const override;
    std::optional<Reason> applyToOpenPort(const LineSettings& settings) override;
    Failure systemFailure(Step step) const;
    Failure abandonOpening(Step step);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vardelmo::serial
