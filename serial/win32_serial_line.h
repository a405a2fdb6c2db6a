#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "serial/line_base.h"

namespace vardelmo::serial {

// The serial line on the Win32 communications API with synchronous calls: each
// step of a request is one call that has finished when it returns.
class Win32SerialLine final : public LineBase {
public:
    Win32SerialLine();
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

// Why a step failed, from what GetLastError() reported after it.
Reason win32Reason(Step step, std::uint32_t error);

}  // namespace vardelmo::serial
