#include "serial/system_line.h"

#include <optional>
#include <string>

#include "serial/network_line.h"

#ifdef _WIN32
#include "serial/win32_serial_line.h"
#else
#include "serial/qt_serial_line.h"
#endif

namespace vardelmo::serial {
namespace {

std::unique_ptr<SerialLine> makeLocalLine() {
    // QSerialPort on Windows starts its reads from the completion of an event wait,
    // which Wine never delivers; the request's steps are synchronous and map one to
    // one onto synchronous Win32 calls, which wait for nothing of the kind.
#ifdef _WIN32
    return std::make_unique<Win32SerialLine>();
#else
    return std::make_unique<QtSerialLine>();
#endif
}

// The line for the kind of port chosen: the local one for a number or a device path, the
// network one for a server's address. Each is made when its kind is first chosen, on the
// thread that drives it, and is given the settings in force.
class PortKindLine final : public SerialLine {
public:
    Result<void> setSettings(std::string_view settings) override {
        auto status = line_->setSettings(settings);
        if (status) {
            settings_ = std::string(settings);
        }
        return status;
    }

    Result<void> setPort(const Port& port) override {
        const bool network = std::holds_alternative<NetworkAddress>(port);
        // While a port is open its own line refuses another port with its text.
        if (network != network_ && !open_) {
            std::unique_ptr<SerialLine> line =
                network ? std::unique_ptr<SerialLine>(std::make_unique<NetworkLine>())
                        : makeLocalLine();
            if (settings_) {
                (void)line->setSettings(*settings_);
            }
            line_ = std::move(line);
            network_ = network;
        }
        return line_->setPort(port);
    }

    Result<void> setPortOpen(bool open) override {
        auto status = line_->setPortOpen(open);
        open_ = open && status.ok();
        return status;
    }

    Result<void> setOutput(std::string_view bytes) override { return line_->setOutput(bytes); }
    Result<std::string> getInput() override { return line_->getInput(); }
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override {
        return line_->waitForInput(timeout);
    }

private:
    std::unique_ptr<SerialLine> line_ = makeLocalLine();
    bool network_ = false;
    bool open_ = false;
    std::optional<std::string> settings_;
};

}  // namespace

std::unique_ptr<SerialLine> makeSystemLine() {
    return std::make_unique<PortKindLine>();
}

}  // namespace vardelmo::serial
