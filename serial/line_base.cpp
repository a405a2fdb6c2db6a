#include "serial/line_base.h"

#include "serial/port_name.h"

namespace vardelmo::serial {

LineBase::LineBase() : device_(portDevice(port_).value()) {}

Result<void> LineBase::setSettings(std::string_view settings) {
    auto parsed = parseLineSettings(settings);
    if (!parsed) {
        return Failure{parsed.description()};
    }
    if (isOpen()) {
        if (const auto reason = applyToOpenPort(parsed.value())) {
            return Failure{failureText(Step::Reconfigure, *reason, label(), settings)};
        }
    }
    settings_ = std::move(parsed).value();
    settingsText_ = std::string(settings);
    return {};
}

Result<void> LineBase::setPort(const Port& port) {
    auto device = portDevice(port);
    if (!device) {
        return Failure{device.description()};
    }
    // Switching devices under an open port would leave the failure texts and the
    // device held out of step; the port is closed between requests anyway.
    if (isOpen() && device.value() != device_) {
        return failure(Step::ChoosePort, Reason::StillOpen);
    }
    port_ = port;
    device_ = std::move(device).value();
    return {};
}

std::string LineBase::label() const {
    return portLabel(port_);
}

Failure LineBase::failure(Step step, Reason reason) const {
    return Failure{failureText(step, reason, label(), settingsText_)};
}

}  // namespace vardelmo::serial
