// vardelmo-test-scale: a scale on a Windows serial port, for the Win32 line's tests on a pair of
// connected ports (a com0com pair, two USB adapters wired null-modem). It answers each ENQ with
// STX "01234" ETX at 2400,n,8,1 and logs one line an enquiry, as the virtual scale does:
//   [seconds] enquiry: received 05, sent 02 30 31 32 33 34 03
// Plain Win32, sharing no code with the line it tests.
//   vardelmo-test-scale PORT LOG      PORT as 6 or COM6; runs until it is ended
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kFrame[] =
    "\x02"
    "01234\x03";

int fail(const char* what) {
    std::fprintf(stderr, "vardelmo-test-scale: %s failed with error %lu\n", what,
                 static_cast<unsigned long>(GetLastError()));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vardelmo-test-scale PORT LOG\n");
        return 2;
    }
    std::string port = argv[1];
    if (port.size() > 3 && _strnicmp(port.c_str(), "COM", 3) == 0) {
        port.erase(0, 3);
    }
    const std::string path = "\\\\.\\COM" + port;
    const HANDLE line = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) {
        return fail(("opening " + path).c_str());
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(line, &dcb)) {
        return fail("GetCommState");
    }
    dcb.BaudRate = 2400;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    if (!SetCommState(line, &dcb)) {
        return fail("SetCommState");
    }
    // Each read waits up to a second for its first byte and returns with it.
    COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, 1000, 0, 2000};
    if (!SetCommTimeouts(line, &timeouts) || !PurgeComm(line, PURGE_RXCLEAR | PURGE_TXCLEAR)) {
        return fail("setting up the port");
    }
    std::FILE* log = std::fopen(argv[2], "a");
    if (log == nullptr) {
        std::fprintf(stderr, "vardelmo-test-scale: cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(stderr, "vardelmo-test-scale: answering on COM%s\n", port.c_str());
    for (;;) {
        char received = 0;
        DWORD read = 0;
        if (!ReadFile(line, &received, 1, &read, nullptr)) {
            return fail("ReadFile");
        }
        if (read == 0) {
            continue;
        }
        const double seconds = static_cast<double>(GetTickCount64()) / 1000.0;
        if (received != '\x05') {
            std::fprintf(log, "[%12.6f] ignored %02x\n", seconds,
                         static_cast<unsigned char>(received));
            std::fflush(log);
            continue;
        }
        DWORD written = 0;
        if (!WriteFile(line, kFrame, sizeof kFrame - 1, &written, nullptr) ||
            written != sizeof kFrame - 1) {
            return fail("WriteFile");
        }
        // Logged once the reply has left the driver, so a test that sees this line finds the
        // reply on its way.
        FlushFileBuffers(line);
        std::fprintf(log, "[%12.6f] enquiry: received 05, sent 02 30 31 32 33 34 03\n", seconds);
        std::fflush(log);
    }
}
