#include "serial/win32_serial_line.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "serial/win32_calls.h"
#include "serial/win32_port_setup.h"
#include "serial/write_timeout.h"

namespace vardelmo::serial {
namespace {

// COM1 to COM9 also open by their bare names, COM10 and above only through the
// device namespace, so every port goes through it.
std::string devicePath(const std::string& device) {
    if (device.starts_with("\\\\")) {
        return device;
    }
    return "\\\\.\\" + device;
}

// What one read takes at most, as Qt and libserialport read.
constexpr std::size_t kReadChunk = 4096;
// What one request reads at most; far more than a scale says between two enquiries.
constexpr std::size_t kMaxInput = 32 * kReadChunk;

}  // namespace

struct Win32SerialLine::State {
    explicit State(Win32Calls& system) : calls(system) {}

    Win32Calls& calls;
    HANDLE handle = INVALID_HANDLE_VALUE;
    // Bytes a wait for input took from the system, for the next read.
    std::string held;
    // The port's state and timeouts as the opening found them, put back before closing so
    // that the next program finds the port as it was (Qt does the same).
    std::optional<DCB> found;
    std::optional<COMMTIMEOUTS> foundTimeouts;

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }

    // Keeps what the opening found; false when the port has no state to read.
    bool keepFound() {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!calls.getCommState(handle, dcb)) {
            return false;
        }
        found = dcb;
        if (COMMTIMEOUTS timeouts{}; calls.getCommTimeouts(handle, timeouts)) {
            foundTimeouts = timeouts;
        }
        return true;
    }

    // Closing cannot fail for the operator: what cannot be put back is left as it is.
    void close() {
        held.clear();
        if (!isOpen()) {
            return;
        }
        if (foundTimeouts) {
            (void)calls.setCommTimeouts(handle, *foundTimeouts);
        }
        if (found) {
            (void)calls.setCommState(handle, *found);
        }
        found.reset();
        foundTimeouts.reset();
        calls.close(handle);
        handle = INVALID_HANDLE_VALUE;
    }

    bool configure(const LineSettings& settings) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!calls.getCommState(handle, dcb)) {
            return false;
        }
        dcb = lineState(dcb, settings);
        return calls.setCommState(handle, dcb) != FALSE;
    }

    bool setTimeouts(std::chrono::milliseconds readWait, DWORD writeMs) {
        COMMTIMEOUTS timeouts = lineTimeouts(readWait, writeMs);
        return calls.setCommTimeouts(handle, timeouts) != FALSE;
    }
};

Win32SerialLine::Win32SerialLine(Win32Calls& calls) : state_(std::make_unique<State>(calls)) {}

Win32SerialLine::~Win32SerialLine() {
    state_->close();
}

bool Win32SerialLine::isOpen() const {
    return state_->isOpen();
}

// Reads the system's error before anything else can overwrite it.
Failure Win32SerialLine::systemFailure(Step step) const {
    return failure(step, win32Reason(step, static_cast<std::uint32_t>(state_->calls.lastError())));
}

// Closes the half-opened port, keeping the error of the step that failed.
Failure Win32SerialLine::abandonOpening(Step step) {
    auto failed = systemFailure(step);
    state_->close();
    return failed;
}

std::optional<Reason> Win32SerialLine::applyToOpenPort(const LineSettings& settings) {
    if (!state_->configure(settings)) {
        return win32Reason(Step::Reconfigure,
                           static_cast<std::uint32_t>(state_->calls.lastError()));
    }
    return std::nullopt;
}

Result<void> Win32SerialLine::setPortOpen(bool open) {
    // Opening an open port starts afresh, so it too shows only what arrives from now on.
    state_->close();
    if (!open) {
        return {};
    }
    auto& state = *state_;
    state.handle = state.calls.open(devicePath(device()));
    if (!state.isOpen()) {
        return systemFailure(Step::Open);
    }
    // Queues of a known size, so that the flow limits set below fit them. Only a wish: a
    // driver that keeps its own (virtual ports often do) refuses it, which is no failure.
    (void)state.calls.setupComm(state.handle, kQueueSize, kQueueSize);
    if (!state.keepFound()) {
        return abandonOpening(Step::Configure);
    }
    // The settings are in force before the first byte goes out.
    if (!state.configure(settings()) || !state.setTimeouts(std::chrono::milliseconds{0}, 0)) {
        return abandonOpening(Step::Configure);
    }
    // A port keeps unread bytes across closes; the reply must be only what the
    // scale sends from this opening on.
    if (!state.calls.purgeComm(state.handle, PURGE_RXCLEAR | PURGE_RXABORT)) {
        return abandonOpening(Step::Purge);
    }
    // So is a line error the last user left pending: some drivers refuse all traffic until
    // it is cleared.
    DWORD errors = 0;
    COMSTAT status{};
    if (!state.calls.clearCommError(state.handle, errors, status)) {
        return abandonOpening(Step::Purge);
    }
    return {};
}

Result<void> Win32SerialLine::setOutput(std::string_view bytes) {
    auto& state = *state_;
    if (!state.isOpen()) {
        return failure(Step::Write, Reason::NotOpen);
    }
    if (bytes.empty()) {
        return {};
    }
    const auto writeMs = static_cast<DWORD>(writeTimeoutMs(bytes.size(), settings().baud));
    if (!state.setTimeouts(std::chrono::milliseconds{0}, writeMs)) {
        return systemFailure(Step::Write);
    }
    const auto size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!state.calls.writeFile(state.handle, bytes.data(), size, written)) {
        return systemFailure(Step::Write);
    }
    // A write that ran out of time returns success with fewer bytes written.
    if (written != bytes.size()) {
        return failure(Step::Write, Reason::TimedOut);
    }
    return {};
}

Result<std::string> Win32SerialLine::getInput() {
    auto& state = *state_;
    if (!state.isOpen()) {
        return failure(Step::Read, Reason::NotOpen);
    }
    std::string received = std::move(state.held);
    state.held.clear();
    // What the system holds, no waiting: the request has done its waiting already. Read in a
    // buffer of our own size until a read finds nothing: the size the driver reports of its
    // queue is not to be trusted (one reports 4 GiB, another less than it holds). The bound
    // only stops a device that never pauses.
    if (!state.setTimeouts(std::chrono::milliseconds{0}, 0)) {
        return systemFailure(Step::Read);
    }
    char buffer[kReadChunk];
    while (received.size() < kMaxInput) {
        DWORD read = 0;
        if (!state.calls.readFile(state.handle, buffer, sizeof buffer, read)) {
            return systemFailure(Step::Read);
        }
        if (read == 0) {
            break;
        }
        received.append(buffer, read);
    }
    return received;
}

Result<bool> Win32SerialLine::waitForInput(std::chrono::milliseconds timeout) {
    using std::chrono::steady_clock;
    auto& state = *state_;
    if (!state.isOpen()) {
        return failure(Step::Read, Reason::NotOpen);
    }
    if (!state.held.empty()) {
        return true;
    }
    // WaitCommEvent would suit, but Wine never completes it on a serial port. A read that
    // waits for its first byte waits as well: Windows returns it at the first byte whatever
    // its size, Wine only once the read is full, so it asks for one byte. Its timer may end a
    // little early, so it is read again until the deadline has truly passed.
    const auto deadline = steady_clock::now() + std::max(timeout, std::chrono::milliseconds{0});
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
        if (!state.setTimeouts(std::max(left, std::chrono::milliseconds{0}), 0)) {
            return systemFailure(Step::Read);
        }
        char first = 0;
        DWORD read = 0;
        if (!state.calls.readFile(state.handle, &first, 1, read)) {
            return systemFailure(Step::Read);
        }
        if (read > 0) {
            state.held.assign(1, first);
            return true;
        }
        if (left.count() <= 0) {
            return false;
        }
    }
}

}  // namespace vardelmo::serial
