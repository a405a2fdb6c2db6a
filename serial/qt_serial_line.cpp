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
#include "serial/port_name.h"
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

}  // namespace

struct QtSerialLine::State {
    QSerialPort port;
    std::string settingsText = "9600,n,8,1";
    LineSettings settings{9600, Parity::None, 8, StopBits::One};
    Port portId = std::int16_t{1};
    // Named as every other port is (COM1 on Windows); declared after portId, so set after it.
    std::string device = portDevice(portId).value();

    std::string label() const { return portLabel(portId); }

    // The reasons are told apart by what the system reported and by whether
    // the device could be opened at all with our rights: Qt reports a port held
    // by another program (its lock file or the kernel's exclusive mode) with the
    // same code as a lack of permission.
    std::string openFailure() const {
        switch (port.error()) {
            case QSerialPort::DeviceNotFoundError:
                return "Não foi possível abrir a " + label() + ": dispositivo não encontrado.";
            case QSerialPort::PermissionError: {
                const QFileInfo info(QString::fromStdString(device));
                if (info.isReadable() && info.isWritable()) {
                    return "A " + label() + " está em uso por outro programa.";
                }
                return "Sem permissão para abrir a " + label() + ".";
            }
            case QSerialPort::UnsupportedOperationError:
                return "Não foi possível abrir a " + label() +
                       ": o dispositivo não aceita a configuração \"" + settingsText +
                       "\" ou não é uma porta serial.";
            default:
                return "Não foi possível abrir a " + label() + ": o sistema recusou a abertura.";
        }
    }

    std::string lostDevice(std::string_view what) const {
        return "Não foi possível " + std::string(what) + " " + label() +
               ": o dispositivo foi desconectado ou deixou de responder.";
    }

    Failure notOpen() const { return Failure{"A " + label() + " não está aberta."}; }

    Failure notApplied(std::string_view text) const {
        return Failure{"Não foi possível aplicar a configuração \"" + std::string(text) + "\" à " +
                       label() + "."};
    }
};

QtSerialLine::QtSerialLine() : state_(std::make_unique<State>()) {}

QtSerialLine::~QtSerialLine() = default;

Result<void> QtSerialLine::setSettings(std::string_view settings) {
    auto parsed = parseLineSettings(settings);
    if (!parsed) {
        return Failure{parsed.description()};
    }
    const auto& accepted = parsed.value();
    if (state_->port.isOpen() && !apply(state_->port, accepted)) {
        return state_->notApplied(settings);
    }
    state_->settings = accepted;
    state_->settingsText = std::string(settings);
    return {};
}

Result<void> QtSerialLine::setPort(const Port& port) {
    auto device = portDevice(port);
    if (!device) {
        return Failure{device.description()};
    }
    // Switching devices under an open port would leave the failure texts and the
    // device held out of step; the port is closed between requests anyway.
    if (state_->port.isOpen() && device.value() != state_->device) {
        return Failure{"A " + state_->label() +
                       " está aberta; feche-a antes de escolher outra porta."};
    }
    state_->portId = port;
    state_->device = std::move(device).value();
    return {};
}

Result<void> QtSerialLine::setPortOpen(bool open) {
    auto& port = state_->port;
    if (!open) {
        port.close();
        return {};
    }
    // Opening an open port starts afresh, so it too shows only what arrives from now on.
    port.close();
    port.setPortName(QString::fromStdString(state_->device));
    if (!apply(port, state_->settings)) {
        return state_->notApplied(state_->settingsText);
    }
    port.clearError();
    if (!port.open(QIODevice::ReadWrite)) {
        return Failure{state_->openFailure()};
    }
    if (!clearParityLeftovers(port, state_->settings.parity)) {
        port.close();
        return state_->notApplied(state_->settingsText);
    }
    // A terminal keeps unread bytes across closes; the reply must be only what
    // the scale sends from this opening on.
    if (!port.clear(QSerialPort::Input)) {
        port.close();
        return Failure{"Não foi possível limpar a entrada da " + state_->label() + "."};
    }
    return {};
}

Result<void> QtSerialLine::setOutput(std::string_view bytes) {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return state_->notOpen();
    }
    if (bytes.empty()) {
        return {};
    }
    const auto size = static_cast<qint64>(bytes.size());
    port.clearError();
    // write() only queues without an event loop; waiting hands the bytes to the
    // system, so they are on the line while the request waits for the reply.
    if (port.write(bytes.data(), size) != size ||
        !port.waitForBytesWritten(writeTimeoutMs(bytes.size(), state_->settings.baud))) {
        if (port.bytesToWrite() > 0 && port.error() == QSerialPort::TimeoutError) {
            return Failure{"A " + state_->label() + " não conseguiu enviar os dados a tempo."};
        }
        return Failure{state_->lostDevice("enviar dados para a")};
    }
    return {};
}

Result<std::string> QtSerialLine::getInput() {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return state_->notOpen();
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
            return Failure{state_->lostDevice("ler da")};
        }
        break;
    }
    const QByteArray data = port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

Result<bool> QtSerialLine::waitForInput(std::chrono::milliseconds timeout) {
    auto& port = state_->port;
    if (!port.isOpen()) {
        return state_->notOpen();
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
        return Failure{state_->lostDevice("ler da")};
    }
    return port.bytesAvailable() > 0;
}

}  // namespace vardelmo::serial
