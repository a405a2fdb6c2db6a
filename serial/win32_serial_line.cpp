#include "serial/win32_serial_line.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "serial/line_settings.h"
#include "serial/write_timeout.h"

namespace vardelmo::serial {
namespace {

BYTE toWin32(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return EVENPARITY;
        case Parity::Odd:
            return ODDPARITY;
        case Parity::Mark:
            return MARKPARITY;
        case Parity::Space:
            return SPACEPARITY;
        case Parity::None:
            break;
    }
    return NOPARITY;
}

BYTE toWin32(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OneAndHalf:
            return ONE5STOPBITS;
        case StopBits::Two:
            return TWOSTOPBITS;
        case StopBits::One:
            break;
    }
    return ONESTOPBIT;
}

// Starts from the driver's state so fields this line does not own keep their values.
bool configure(HANDLE handle, const LineSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        return false;
    }
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.Parity = toWin32(settings.parity);
    dcb.StopBits = toWin32(settings.stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = settings.parity != Parity::None;
    // No flow control, and DTR and RTS raised as a POSIX terminal raises them on
    // opening: some scales only talk to a line that shows them a terminal is there.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    // The reply is shown raw: no byte is replaced or dropped, and a line error
    // does not stall the reads that follow it.
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return SetCommState(handle, &dcb) != FALSE;
}

// Reads return at once with what is held (interval MAXDWORD, no totals): the
// request has done its waiting before it reads. Writes get the time `bytes` may take.
bool setTimeouts(HANDLE handle, std::size_t bytes, std::int32_t baud) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(writeTimeoutMs(bytes, baud));
    return SetCommTimeouts(handle, &timeouts) != FALSE;
}

// A read that waits up to `wait` for the first byte and returns as soon as one is there
// (interval and multiplier MAXDWORD, a total below MAXDWORD); with no wait, one that returns
// at once with what is held.
bool setReadWait(HANDLE handle, std::chrono::milliseconds wait) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (wait.count() > 0) {
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(
            std::min<std::chrono::milliseconds::rep>(wait.count(), MAXDWORD - 1));
    }
    return SetCommTimeouts(handle, &timeouts) != FALSE;
}

// COM1 to COM9 also open by their bare names, COM10 and above only through the
// device namespace, so every port goes through it.
std::string devicePath(const std::string& device) {
    if (device.starts_with("\\\\")) {
        return device;
    }
    return "\\\\.\\" + device;
}

}  // namespace

Reason win32Reason(Step step, std::uint32_t error) {
    switch (step) {
        case Step::Open:
            switch (error) {
                case ERROR_FILE_NOT_FOUND:
                case ERROR_PATH_NOT_FOUND:
                case ERROR_INVALID_NAME:
                    return Reason::Missing;
                // A port has one owner at a time; the system tells a second one "access denied".
                case ERROR_ACCESS_DENIED:
                case ERROR_SHARING_VIOLATION:
                    return Reason::InUse;
                default:
                    return Reason::Refused;
            }
        case Step::Configure:
            return Reason::Unsupported;
        case Step::Write:
            switch (error) {
                case ERROR_TIMEOUT:
                case ERROR_SEM_TIMEOUT:
                case WAIT_TIMEOUT:
                    return Reason::TimedOut;
                default:
                    return Reason::Lost;
            }
        case Step::Read:
            return Reason::Lost;
        case Step::ChoosePort:
        case Step::Reconfigure:
        case Step::Purge:
            break;
    }
    return Reason::Unknown;
}

struct Win32SerialLine::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    // Bytes a wait for input took from the system, for the next read.
    std::string held;

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }

    void close() {
        held.clear();
        if (isOpen()) {
            CloseHandle(handle);
            handle = INVALID_HANDLE_VALUE;
        }
    }
};

Win32SerialLine::Win32SerialLine() : state_(std::make_unique<State>()) {}

Win32SerialLine::~Win32SerialLine() {
    state_->close();
}

bool Win32SerialLine::isOpen() const {
    return state_->isOpen();
}

// Reads the system's error before anything else can overwrite it.
Failure Win32SerialLine::systemFailure(Step step) const {
    return failure(step, win32Reason(step, static_cast<std::uint32_t>(GetLastError())));
}

// Closes the half-opened port, keeping the error of the step that failed.
Failure Win32SerialLine::abandonOpening(Step step) {
    auto failed = systemFailure(step);
    state_->close();
    return failed;
}

std::optional<Reason> Win32SerialLine::applyToOpenPort(const LineSettings& settings) {
    if (!configure(state_->handle, settings)) {
        return win32Reason(Step::Reconfigure, static_cast<std::uint32_t>(GetLastError()));
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
    state.handle = CreateFileA(devicePath(device()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (!state.isOpen()) {
        return systemFailure(Step::Open);
    }
    // The settings are in force before the first byte goes out.
    if (!configure(state.handle, settings()) || !setTimeouts(state.handle, 1, settings().baud)) {
        return abandonOpening(Step::Configure);
    }
    // A port keeps unread bytes across closes; the reply must be only what the
    // scale sends from this opening on.
    if (!PurgeComm(state.handle, PURGE_RXCLEAR | PURGE_RXABORT)) {
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
    if (!setTimeouts(state.handle, bytes.size(), settings().baud)) {
        return systemFailure(Step::Write);
    }
    const auto size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(state.handle, bytes.data(), size, &written, nullptr)) {
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
    // What the system holds, no waiting: the request has done its waiting already. The
    // queue is looked at again after each read because a driver may hold more than it
    // reports at once; the bound only stops a device that never pauses.
    std::string received = std::move(state.held);
    state.held.clear();
    if (!setReadWait(state.handle, std::chrono::milliseconds{0})) {
        return systemFailure(Step::Read);
    }
    constexpr int maxTurns = 32;
    for (int turn = 0; turn < maxTurns; ++turn) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(state.handle, &errors, &status)) {
            return systemFailure(Step::Read);
        }
        if (status.cbInQue == 0) {
            break;
        }
        const auto start = received.size();
        received.resize(start + status.cbInQue);
        DWORD read = 0;
        if (!ReadFile(state.handle, received.data() + start, status.cbInQue, &read, nullptr)) {
            return systemFailure(Step::Read);
        }
        received.resize(start + read);
        if (read == 0) {
            break;
        }
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
    // WaitCommEvent would suit, but Wine never completes it on a serial port; a read that
    // returns at its first byte waits as well. Its timer may end a little early, so it is
    // read again until the deadline has truly passed.
    const auto deadline = steady_clock::now() + std::max(timeout, std::chrono::milliseconds{0});
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
        if (!setReadWait(state.handle, std::max(left, std::chrono::milliseconds{0}))) {
            return systemFailure(Step::Read);
        }
        DWORD read = 0;
        if (!ReadFile(state.handle, buffer, sizeof buffer, &read, nullptr)) {
            return systemFailure(Step::Read);
        }
        if (read > 0) {
            state.held.assign(buffer, read);
            return true;
        }
        if (left.count() <= 0) {
            return false;
        }
    }
}

}  // namespace vardelmo::serial
