#include "serial/win32_port_setup.h"

#include <algorithm>

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

}  // namespace

DCB lineState(DCB dcb, const LineSettings& settings) {
    dcb.DCBlength = sizeof dcb;
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
    // Unused without XON/XOFF, yet checked: drivers refuse equal flow characters (some
    // virtual ports report both as 0) and limits beyond their queue (another program's
    // may be). These are the usual characters, and limits within the queue set at opening.
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.XonLim = kQueueSize / 2;
    dcb.XoffLim = kQueueSize / 8;
    return dcb;
}

COMMTIMEOUTS lineTimeouts(std::chrono::milliseconds readWait, DWORD writeMs) {
    COMMTIMEOUTS timeouts{};
    // Interval MAXDWORD alone: a read returns at once. With the multiplier MAXDWORD and a
    // total below MAXDWORD as well, it waits up to that total for a first byte and returns
    // as soon as one is there.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (readWait.count() > 0) {
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(
            std::min<std::chrono::milliseconds::rep>(readWait.count(), MAXDWORD - 1));
    }
    timeouts.WriteTotalTimeoutConstant = writeMs;
    return timeouts;
}

Reason win32Reason(Step step, std::uint32_t error) {
    // "A device attached to the system is not functioning": a CDC device that refuses the
    // line coding, a counterfeit PL2303 chip, a driver in trouble, at whatever step.
    if (error == ERROR_GEN_FAILURE && step != Step::ChoosePort) {
        return Reason::DeviceFailure;
    }
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
                    break;
            }
            break;
        case Step::Write:
            // USB drivers end a write that runs out of time with this (STATUS_IO_TIMEOUT).
            switch (error) {
                case ERROR_TIMEOUT:
                case ERROR_SEM_TIMEOUT:
                case WAIT_TIMEOUT:
                    return Reason::TimedOut;
                default:
                    return Reason::Lost;
            }
        default:
            break;
    }
    // Elsewhere it is how a Bluetooth port says that the device beyond it did not answer: the
    // link is made when the port opens, and anew after it drops.
    if (error == ERROR_SEM_TIMEOUT && step != Step::ChoosePort) {
        return Reason::NoAnswer;
    }
    switch (step) {
        case Step::Open:
            return Reason::Refused;
        case Step::Configure:
            return Reason::Unsupported;
        case Step::Read:
            return Reason::Lost;
        default:
            return Reason::Unknown;
    }
}

}  // namespace vardelmo::serial
