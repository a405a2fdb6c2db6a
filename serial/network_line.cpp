#include "serial/network_line.h"

#include <QEventLoop>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "serial/call_canceller.h"
#include "serial/rfc2217_session.h"
#include "serial/telnet_stream.h"

namespace vardelmo::serial {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The longest a wait blocks at once, so that a cancel is heard within it.
constexpr milliseconds kSlice{20};

int sliceUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp(left, milliseconds{0}, kSlice).count());
}

Reason connectionReason(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::HostNotFoundError:
            return Reason::NameNotFound;
        case QAbstractSocket::ConnectionRefusedError:
            return Reason::ConnectionRefused;
        case QAbstractSocket::RemoteHostClosedError:
            return Reason::Disconnected;
        case QAbstractSocket::SocketTimeoutError:
        case QAbstractSocket::NetworkError:
            return Reason::NoConnection;
        default:
            return Reason::Unknown;
    }
}

}  // namespace

struct NetworkLine::State {
    milliseconds bound;
    QTcpSocket socket;
    bool open = false;
    bool rfc2217 = false;
    telnet::Decoder decoder;
    Rfc2217Session session;
    std::string held;  // data taken from the stream and not read yet
    bool malformed = false;

    bool connected() const { return socket.state() == QAbstractSocket::ConnectedState; }

    // Hands the bytes to the system: nothing, or why not (the connection broke, the bound or a
    // cancel came first).
    std::optional<Reason> send(const std::string& bytes) {
        if (bytes.empty()) {
            return std::nullopt;
        }
        const auto size = static_cast<qint64>(bytes.size());
        if (socket.write(bytes.data(), size) != size) {
            return Reason::Disconnected;
        }
        const auto deadline = Clock::now() + bound;
        while (socket.bytesToWrite() > 0) {
            if (!connected()) {
                return Reason::Disconnected;
            }
            if (Clock::now() >= deadline || callsCancelled()) {
                return Reason::TimedOut;
            }
            (void)socket.waitForBytesWritten(sliceUntil(deadline));
        }
        return std::nullopt;
    }

    // Moves what the socket has read through the Telnet decoder, answering the server's
    // commands, or as it is for a raw socket.
    void take() {
        const QByteArray bytes = socket.readAll();
        if (bytes.isEmpty()) {
            return;
        }
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!rfc2217) {
            held += view;
            return;
        }
        std::vector<telnet::Command> commands;
        malformed = !decoder.feed(view, held, commands) || malformed;
        std::string answers;
        for (const auto& command : commands) {
            answers += session.handle(command);
        }
        (void)send(answers);
    }

    // Connects within `deadline`, looking the name up through Qt; nothing, or why not.
    std::optional<Reason> connect(const NetworkAddress& address, Clock::time_point deadline) {
        // The lookup and the connection finish in events: they are let in until either ends,
        // a timer waking the loop to look at the bound and at a cancel. The loop comes first:
        // it gives a thread not started by Qt the dispatcher that the socket's notifiers and
        // the timer need.
        QEventLoop loop;
        socket.connectToHost(QString::fromStdString(address.host), address.port);
        QTimer tick;
        tick.start(kSlice);
        while (!connected()) {
            if (socket.state() == QAbstractSocket::UnconnectedState) {
                return connectionReason(socket.error());
            }
            if (Clock::now() >= deadline || callsCancelled()) {
                socket.abort();
                return Reason::NoConnection;
            }
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        }
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return std::nullopt;
    }

    // Runs the RFC 2217 exchange from `opening` until the settings are in force.
    std::optional<Reason> negotiate(const std::string& opening, Clock::time_point deadline) {
        if (const auto reason = send(opening)) {
            return reason;
        }
        while (true) {
            take();
            if (malformed) {
                return Reason::MalformedTelnet;
            }
            if (const auto failure = session.failure()) {
                return failure;
            }
            if (session.ready()) {
                return std::nullopt;
            }
            if (!connected()) {
                return Reason::Disconnected;
            }
            // A server that never answers, or answers no setting, speaks no RFC 2217.
            if (Clock::now() >= deadline || callsCancelled()) {
                return Reason::NotRfc2217;
            }
            (void)socket.waitForReadyRead(sliceUntil(deadline));
        }
    }

    void close() {
        socket.abort();
        open = false;
        held.clear();
        malformed = false;
        decoder = telnet::Decoder{};
    }
};

NetworkLine::NetworkLine(milliseconds connectBound) : state_(std::make_unique<State>()) {
    state_->bound = connectBound;
}

NetworkLine::~NetworkLine() = default;

bool NetworkLine::isOpen() const {
    return state_->open;
}

std::optional<Reason> NetworkLine::applyToOpenPort(const LineSettings& settings) {
    // A raw socket cannot reach the scale's line: the server's own settings hold.
    if (!state_->rfc2217) {
        return std::nullopt;
    }
    return state_->negotiate(state_->session.change(settings), Clock::now() + state_->bound);
}

Result<void> NetworkLine::setPortOpen(bool open) {
    auto& s = *state_;
    // Opening an open port starts afresh, so it too shows only what arrives from now on.
    s.close();
    if (!open) {
        return {};
    }
    const auto* address = std::get_if<NetworkAddress>(&port());
    if (address == nullptr) {
        return failure(Step::Open, Reason::Missing);
    }
    s.rfc2217 = address->scheme == NetworkScheme::Rfc2217;
    const auto deadline = Clock::now() + s.bound;
    if (const auto reason = s.connect(*address, deadline)) {
        s.close();
        return failure(Step::Open, *reason);
    }
    if (s.rfc2217) {
        if (const auto reason = s.negotiate(s.session.start(settings()), deadline)) {
            s.close();
            return failure(Step::Configure, *reason);
        }
    }
    // What came before the settings were in force, or what a server held for whoever connected
    // next, is no reply to this request.
    (void)s.socket.waitForReadyRead(0);
    s.take();
    if (s.malformed) {
        s.close();
        return failure(Step::Configure, Reason::MalformedTelnet);
    }
    s.held.clear();
    s.open = true;
    return {};
}

Result<void> NetworkLine::setOutput(std::string_view bytes) {
    auto& s = *state_;
    if (!s.open) {
        return failure(Step::Write, Reason::NotOpen);
    }
    const std::string wire = s.rfc2217 ? telnet::escapeData(bytes) : std::string(bytes);
    if (const auto reason = s.send(wire)) {
        return failure(Step::Write, *reason);
    }
    return {};
}

Result<std::string> NetworkLine::getInput() {
    auto& s = *state_;
    if (!s.open) {
        return failure(Step::Read, Reason::NotOpen);
    }
    // What the system holds, no waiting; a long reply may take a few turns, and the bound only
    // stops a server that never pauses.
    constexpr int maxTurns = 32;
    for (int turn = 0; turn < maxTurns && s.connected(); ++turn) {
        const bool more = s.socket.waitForReadyRead(0);
        s.take();
        if (!more) {
            break;
        }
    }
    s.take();
    if (s.malformed) {
        return failure(Step::Read, Reason::MalformedTelnet);
    }
    // Bytes the server sent before it closed are its reply; the closing tells only when none came.
    if (s.held.empty() && !s.connected()) {
        return failure(Step::Read, Reason::Disconnected);
    }
    return std::exchange(s.held, std::string{});
}

Result<bool> NetworkLine::waitForInput(milliseconds timeout) {
    auto& s = *state_;
    if (!s.open) {
        return failure(Step::Read, Reason::NotOpen);
    }
    const auto deadline = Clock::now() + std::max(timeout, milliseconds{0});
    // The last turn comes after the deadline's wait, so even no time at all looks once.
    for (bool last = false;; last = Clock::now() >= deadline) {
        s.take();
        if (s.malformed) {
            return failure(Step::Read, Reason::MalformedTelnet);
        }
        if (!s.held.empty()) {
            return true;
        }
        if (!s.connected()) {
            return failure(Step::Read, Reason::Disconnected);
        }
        if (last || callsCancelled()) {
            return false;
        }
        (void)s.socket.waitForReadyRead(sliceUntil(deadline));
    }
}

}  // namespace vardelmo::serial
