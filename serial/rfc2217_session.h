#pragma once

#include <optional>
#include <string>

#include "serial/failure_text.h"
#include "serial/line_settings.h"
#include "serial/telnet_stream.h"

namespace vardelmo::serial {

// The client's side of RFC 2217, free of any socket: what to send, and what the server's
// commands mean. The client offers the COM-PORT-OPTION (WILL); once the server agrees (DO) it
// sets the baud, data size, parity and stop size, asks for no flow control and raises DTR and
// RTS as a local opening does. Only the four settings' answers are waited for and checked: a
// server in front of a pseudo-terminal has no modem lines and leaves their requests unanswered.
// Of the server's own requests only BINARY and SUPPRESS-GO-AHEAD are agreed to, so that the
// bytes pass unchanged; every other one is refused, and nothing else is asked for.
class Rfc2217Session {
public:
    // The bytes that start the negotiation on a new connection.
    std::string start(const LineSettings& settings);
    // New settings on a connection already negotiated: the commands that set them.
    std::string change(const LineSettings& settings);

    // Takes one of the server's commands; gives what must go back to it, if anything.
    std::string handle(const telnet::Command& command);

    // The settings asked for are in force on the server's port.
    bool ready() const { return agreed_ && answersDue_ == 0 && !failure_; }
    // Why the server cannot be used, once it has said so.
    std::optional<Reason> failure() const { return failure_; }

private:
    std::string settingCommands();
    void check(std::uint8_t answer, const std::string& payload);

    LineSettings settings_;
    bool agreed_ = false;
    int answersDue_ = 0;  // a bit for each of the four settings not answered yet
    bool binaryToServer_ = false;
    bool binaryFromServer_ = false;
    bool goAheadSuppressedToServer_ = false;
    bool goAheadSuppressedFromServer_ = false;
    std::optional<Reason> failure_;
};

}  // namespace vardelmo::serial
