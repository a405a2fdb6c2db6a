#pragma once

#include <string>
#include <string_view>

namespace vardelmo::serial {

// The step of a line that failed.
enum class Step {
    ChoosePort,   // setPort
    Open,         // opening the device itself
    Configure,    // the settings and timeouts while opening
    Reconfigure,  // new settings on a port already open
    Purge,        // discarding the input held from before the opening
    Write,
    Read,
};

// Why it failed, as far as the system says. Each line maps its system's errors onto these.
enum class Reason {
    Unknown,        // the system said no more than that it failed
    Refused,        // the system refused the opening without saying why
    Missing,        // there is no such device
    InUse,          // another program holds the port
    NoPermission,   // the operator's account may not open it
    Unsupported,    // the device takes no such settings, or is no serial port
    TimedOut,       // the device did not take the bytes in time
    Lost,           // unplugged, or no longer answering
    DeviceFailure,  // the driver says the device is not working: the adapter or its driver
    NoAnswer,       // the device behind the port did not answer in time: a Bluetooth link
    NotOpen,        // traffic on a port that is not open
    StillOpen,      // another port chosen while one is open
    // A scale behind a serial device server (socket://, rfc2217://).
    NameNotFound,       // the server's name is not known to the name service
    ConnectionRefused,  // nothing listens on that TCP port
    NoConnection,       // no connection, or no end to the negotiation, within the bound
    Disconnected,       // the server closed the connection, or it broke
    NotRfc2217,         // the server refused the COM-PORT-OPTION, or never answered a setting
    MalformedTelnet,    // the server's stream breaks Telnet's rules
    BaudRefused,        // the server answered a setting with another value than the one asked
    DataBitsRefused,
    ParityRefused,
    StopBitsRefused,
};

// The operator's text for a failed step, the only place the line's failure texts are written.
// `label` names the port (portLabel); `settings` is the settings text the step used.
std::string failureText(Step step, Reason reason, const std::string& label,
                        std::string_view settings);

}  // namespace vardelmo::serial
