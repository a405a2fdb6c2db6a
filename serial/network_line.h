#pragma once

#include <chrono>
#include <memory>

#include "serial/line_base.h"

namespace vardelmo::serial {

// The longest an opening waits for the connection and, over RFC 2217, the server's answers to
// the settings, together.
inline constexpr std::chrono::milliseconds kConnectBound{5000};

// The line to a scale behind a serial device server, on QTcpSocket: socket:// passes the bytes
// as they are, rfc2217:// sets the line on the server's port first (serial/rfc2217_session.h).
// Like the other lines every operation completes before it returns; its waits are slices that
// hear a CallCanceller of the thread, so closing the window or a stop ends them.
class NetworkLine final : public LineBase {
public:
    explicit NetworkLine(std::chrono::milliseconds connectBound = kConnectBound);
    ~NetworkLine() override;
    NetworkLine(const NetworkLine&) = delete;
    NetworkLine& operator=(const NetworkLine&) = delete;

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
