#include "serial/qt_serial_line.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QString>
#include <algorithm>
#include <limits>

#ifdef __linux__
#include <termios.h>
#endif

#include "serial/line_settings.h"
#include "serial/write_timeout.h"

namespace vardelmo::serial {
namespace {

QSerialPort::Parity toQt(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return QSerialPort::EvenParity;
        case Parity::Odd:
            return QSerialPort::OddParity;
        case Parity::Mark:
            return QSerialPort::MarkParity;
        case Parity::Space:
            return QSerialPort::SpaceParity;
        case Parity::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case StopBits::Two:
            return QSerialPort::TwoStop;
        case StopBits::One:
            break;
    }
    return QSerialPort::OneStop;
}

// Qt sets the parity bits each parity needs but leaves the mark/space bit, and with no
// parity the odd bit, as the device's last user left them: on a port left in mark parity
// "e" would go out as space parity. Clearing them makes the settings the whole truth.
bool clearParityLeftovers(QSerialPort& port, Parity parity) {
#ifdef CMSPAR
    if (parity == Parity::Mark || parity == Parity::Space) {
        return true;
    }
    const tcflag_t leftovers = parity == Parity::None ? (CMSPAR | PARODD) : CMSPAR;
    const int fd = static_cast<int>(port.handle());
    termios line{};
    if (::tcgetattr(fd, &line) != 0) {
        return false;
    }
    if ((line.c_cflag & leftovers) == 0) {
        return true;
    }
    line.c_cflag &= ~leftovers;
    return ::tcsetattr(fd, TCSANOW, &line) == 0;
#else
    (void)port;
    (void)parity;
    return true;
#endif
}

// Hands the settings to the port: stored for the next opening when closed,
// applied at once when open.
bool apply(QSerialPort& port, const LineSettings& settings) {
    return port.setBaudRate(settings.baud) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
           port.setParity(toQt(settings.parity)) && port.setStopBits(toQt(settings.stopBits)) &&
           port.setFlowControl(QSerialPort::NoFlowControl) &&
           (!port.isOpen() || clearParityLeftovers(port, settings.parity));
}

// The reasons are told apart by what the system reported and by whether the device could be
// opened at all with our rights: Qt reports a port held by another program (its lock file or
// the kernel's exclusive mode) with the same code as a lack of permission.
Reason openingReason(QSerialPort::SerialPortError error, const std::string& device) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return Reason::Missing;
        case QSerialPort::PermissionError: {
            const QFileInfo info(QString::fromStdString(device));
            return info.isReadable() && info.isWritable() ? Reason::InUse : Reason::NoPermission;
        }
        case QSerialPort::UnsupportedOperationError:
            return Reason::Unsupported;
        default:
            return Reason::Refused;
    }
}

}  // namespace

struct QtSerialLine::State {
    QSerialPort port;
};

QtSerialLine::QtSerialLine() : state_(std::make_unique<State>()) {}

QtSerialLine::~QtSerialLine() = default;

bool QtSerialLine::isOpen() const {
    return state_->port.isOpen();
}

std::optional<Reason> QtSerialLine::applyToOpenPort(const LineSettings& settings) {
    if (!apply(state_->port, settings)) {
        return Reason::Unknown;
    }
    return std::nullopt;
}

Result<void> QtSerialLine::setPortOpen(bool open) {
    auto& port = state_->port;
    if (!open) {
        port.close();
        return {};
    }
    // Opening an open port starts afresh, so it too shows only what arrives from now on.
    port.close();
    port.setPortName(QString::fromStdString(device()));
    if (!apply(port, settings())) {
        return failure(Step::Reconfigure, Reason::Unknown);
    }
    port.clearError();
    if (!port.open(QIODevice::ReadWrite)) {
        const auto reason = openingReason(port.error(), device());
        return failure(reason == Reason::Unsupported ? Step::Configure : Step::Open, reason);
    }
    if (!clearParityLeftovers(port, settings().parity)) {
        port.close();
        return failure(Step::Reconfigure, Reason::Unknown);
    }
    // A terminal keeps unread bytes across closes; the reply must be only what
    // the scale sends from this opening on.
    if (!port.clear(QSerialPort::Input)) {
        port.close();
        return failure(Step::Purge, Reason::Unknown);
    }
    return {};
}

Result<void> QtSerialLine::setOutput(std::string_view bytes) {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return failure(Step::Write, Reason::NotOpen);
    }
    if (bytes.empty()) {
        return {};
    }
    const auto size = static_cast<qint64>(bytes.size());
    port.clearError();
    // write() only queues without an event loop; waiting hands the bytes to the
    // system, so they are on the line while the request waits for the reply.
    if (port.write(bytes.data(), size) != size ||
        !port.waitForBytesWritten(writeTimeoutMs(bytes.size(), settings().baud))) {
        const bool late = port.bytesToWrite() > 0 && port.error() == QSerialPort::TimeoutError;
        return failure(Step::Write, late ? Reason::TimedOut : Reason::Lost);
    }
    return {};
}

Result<std::string> QtSerialLine::getInput() {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return failure(Step::Read, Reason::NotOpen);
    }
    // What the system holds, no waiting: the request has done its waiting already. A
    // terminal hands a reader at most its own buffer (4 KiB on Linux) at a time and moves
    // what waits behind it up after that read, so a long reply takes a few turns; the
    // bound only stops a device that never pauses. A timeout means nothing more arrived.
    constexpr int maxTurns = 32;
    for (int turn = 0; turn < maxTurns; ++turn) {
        port.clearError();
        if (port.waitForReadyRead(0)) {
            continue;
        }
        if (port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError) {
            return failure(Step::Read, Reason::Lost);
        }
        break;
    }
    const QByteArray data = port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

Result<bool> QtSerialLine::waitForInput(std::chrono::milliseconds timeout) {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return failure(Step::Read, Reason::NotOpen);
    }
    // Without an event loop what Qt has taken from the system waits in its own buffer, and
    // waitForReadyRead() reports only bytes new to that buffer: what it holds already counts.
    if (port.bytesAvailable() > 0) {
        return true;
    }
    // Qt takes a negative time as "for ever".
    const auto msecs = static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(
        timeout.count(), 0, std::numeric_limits<int>::max()));
    port.clearError();
    if (port.waitForReadyRead(msecs)) {
        return true;
    }
    if (port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError) {
        return failure(Step::Read, Reason::Lost);
    }
    return port.bytesAvailable() > 0;
}

}  // namespace vardelmo::serial
