#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "serial/failure_text.h"
#include "serial/line_settings.h"
#include "serial/serial_line.h"

namespace vardelmo::serial {

// What the system lines share: the settings and the port kept for the next opening, and the
// failure texts that name them. A line adds how its system opens, configures, writes and reads.
class LineBase : public SerialLine {
public:
    // Settings are read, applied to an open port, and only then kept: refused ones leave the
    // last good ones in force.
    Result<void> setSettings(std::string_view settings) final;
    Result<void> setPort(const Port& port) final;

protected:
    LineBase();

    virtual bool isOpen() const = 0;
    // Hands `settings` to the open port: nothing, or why it failed.
    virtual std::optional<Reason> applyToOpenPort(const LineSettings& settings) = 0;

    const LineSettings& settings() const { return settings_; }
    const std::string& device() const { return device_; }
    const Port& port() const { return port_; }
    std::string label() const;
    // The failure of a step, named with the port and the settings in force.
    Failure failure(Step step, Reason reason) const;

private:
    std::string settingsText_ = "9600,n,8,1";
    LineSettings settings_{9600, Parity::None, 8, StopBits::One};
    Port port_ = std::int16_t{1};
    std::string device_;  // named as every other port is (COM1 on Windows)
};

}  // namespace vardelmo::serial
