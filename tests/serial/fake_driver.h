#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "serial/win32_calls.h"

namespace vardelmo::serial {

// A serial port driver played in memory, with the habits of real ones that Wine does not
// imitate: it keeps the state the last program left, refuses what serial.sys refuses, may
// misreport its queue, and fails any call with an error of the test's choosing. Every call
// is logged by name.
class FakeDriver final : public Win32Calls {
public:
    FakeDriver() {
        dcb.DCBlength = sizeof dcb;
        dcb.BaudRate = 9600;
        dcb.ByteSize = 8;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 2048;
        dcb.XoffLim = 512;
    }

    // --- what the port holds, persisting across handles as a device's state does ---
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    DWORD inQueueSize = 4096;  // set by SetupComm
    std::string input;         // bytes received and not yet read
    DWORD pendingErrors = 0;   // line errors (CE_*) not yet cleared
    // --- how it misbehaves ---
    std::optional<DWORD> reportedQueue;    // cbInQue as reported, whatever `input` holds
    bool endless = false;                  // a device that never pauses: every read is full
    std::map<std::string, DWORD> failing;  // call name → the error it fails with
    // Run while a port opens, as a driver that takes its time; an error fails the opening.
    std::function<DWORD()> whileOpening;
    // --- what it saw ---
    std::vector<std::string> log;
    int handlesOpen = 0;

    HANDLE open(const std::string& path) override {
        log.push_back("CreateFile");
        opened = path;
        if (scriptedFailure("CreateFile")) {
            return INVALID_HANDLE_VALUE;
        }
        if (const DWORD error = whileOpening ? whileOpening() : 0; error != 0) {
            lastError_ = error;
            return INVALID_HANDLE_VALUE;
        }
        // A port has one owner at a time.
        if (handlesOpen > 0) {
            lastError_ = ERROR_ACCESS_DENIED;
            return INVALID_HANDLE_VALUE;
        }
        ++handlesOpen;
        return kHandle;
    }
    BOOL close(HANDLE handle) override {
        if (!begin("CloseHandle", handle)) {
            return FALSE;
        }
        --handlesOpen;
        return TRUE;
    }
    BOOL getCommState(HANDLE handle, DCB& out) override {
        if (!begin("GetCommState", handle)) {
            return FALSE;
        }
        out = dcb;
        return TRUE;
    }
    BOOL setCommState(HANDLE handle, DCB& in) override {
        if (!begin("SetCommState", handle)) {
            return FALSE;
        }
        // serial.sys: distinct flow characters, limits within the queue, stop bits the UART
        // can send with these data bits.
        const bool refused = in.XonChar == in.XoffChar || in.XonLim > inQueueSize ||
                             in.XoffLim > inQueueSize ||
                             (in.StopBits == ONE5STOPBITS && in.ByteSize != 5) ||
                             (in.StopBits == TWOSTOPBITS && in.ByteSize == 5);
        if (refused) {
            lastError_ = ERROR_INVALID_PARAMETER;
            return FALSE;
        }
        dcb = in;
        return TRUE;
    }
    BOOL getCommTimeouts(HANDLE handle, COMMTIMEOUTS& out) override {
        if (!begin("GetCommTimeouts", handle)) {
            return FALSE;
        }
        out = timeouts;
        return TRUE;
    }
    BOOL setCommTimeouts(HANDLE handle, COMMTIMEOUTS& in) override {
        if (!begin("SetCommTimeouts", handle)) {
            return FALSE;
        }
        timeouts = in;
        return TRUE;
    }
    BOOL setupComm(HANDLE handle, DWORD inQueue, DWORD) override {
        if (!begin("SetupComm", handle)) {
            return FALSE;
        }
        inQueueSize = inQueue;
        return TRUE;
    }
    BOOL purgeComm(HANDLE handle, DWORD flags) override {
        if (!begin("PurgeComm", handle)) {
            return FALSE;
        }
        if (flags & PURGE_RXCLEAR) {
            input.clear();
        }
        return TRUE;
    }
    BOOL clearCommError(HANDLE handle, DWORD& errors, COMSTAT& status) override {
        if (!begin("ClearCommError", handle)) {
            return FALSE;
        }
        errors = std::exchange(pendingErrors, 0);
        status = COMSTAT{};
        status.cbInQue = reportedQueue.value_or(static_cast<DWORD>(input.size()));
        return TRUE;
    }
    BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD& read) override {
        if (!begin("ReadFile", handle)) {
            return FALSE;
        }
        largestRead = std::max(largestRead, size);
        if (endless) {
            std::memset(buffer, 'x', size);
            read = size;
            return TRUE;
        }
        read = static_cast<DWORD>(std::min<std::size_t>(size, input.size()));
        std::memcpy(buffer, input.data(), read);
        input.erase(0, read);
        return TRUE;
    }
    BOOL writeFile(HANDLE handle, const void* bytes, DWORD size, DWORD& written) override {
        if (!begin("WriteFile", handle)) {
            return FALSE;
        }
        // Some drivers refuse all traffic while a line error is pending, until it is cleared.
        if (pendingErrors != 0) {
            lastError_ = ERROR_OPERATION_ABORTED;
            return FALSE;
        }
        sent.append(static_cast<const char*>(bytes), size);
        written = size;
        return TRUE;
    }
    DWORD lastError() override { return lastError_; }

    DWORD largestRead = 0;  // the most bytes a single read asked for
    std::string opened;     // the path of the last CreateFile
    std::string sent;

    // Where `call` first appears in the log after `from`; the log's size when it does not.
    std::size_t position(const std::string& call, std::size_t from = 0) const {
        const auto at = std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), call);
        return static_cast<std::size_t>(at - log.begin());
    }

private:
    inline static const HANDLE kHandle = reinterpret_cast<HANDLE>(0x5EA1);

    bool scriptedFailure(const std::string& call) {
        const auto failure = failing.find(call);
        if (failure == failing.end()) {
            return false;
        }
        lastError_ = failure->second;
        return true;
    }

    bool begin(const std::string& call, HANDLE handle) {
        log.push_back(call);
        if (handle != kHandle || handlesOpen == 0) {
            log.back() += " on no open handle";
            lastError_ = ERROR_INVALID_HANDLE;
            return false;
        }
        return !scriptedFailure(call);
    }

    DWORD lastError_ = 0;
};

}  // namespace vardelmo::serial
