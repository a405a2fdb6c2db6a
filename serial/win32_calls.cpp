#include "serial/win32_calls.h"

namespace vardelmo::serial {
namespace {

class SystemCalls final : public Win32Calls {
public:
    HANDLE open(const std::string& path) override {
        return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }
    BOOL close(HANDLE handle) override { return CloseHandle(handle); }
    BOOL getCommState(HANDLE handle, DCB& dcb) override { return GetCommState(handle, &dcb); }
    BOOL setCommState(HANDLE handle, DCB& dcb) override { return SetCommState(handle, &dcb); }
    BOOL getCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts) override {
        return GetCommTimeouts(handle, &timeouts);
    }
    BOOL setCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts) override {
        return SetCommTimeouts(handle, &timeouts);
    }
    BOOL setupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) override {
        return SetupComm(handle, inQueue, outQueue);
    }
    BOOL purgeComm(HANDLE handle, DWORD flags) override { return PurgeComm(handle, flags); }
    BOOL clearCommError(HANDLE handle, DWORD& errors, COMSTAT& status) override {
        return ClearCommError(handle, &errors, &status);
    }
    BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD& read) override {
        return ReadFile(handle, buffer, size, &read, nullptr);
    }
    BOOL writeFile(HANDLE handle, const void* bytes, DWORD size, DWORD& written) override {
        return WriteFile(handle, bytes, size, &written, nullptr);
    }
    DWORD lastError() override { return GetLastError(); }
};

}  // namespace

Win32Calls& systemWin32Calls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace vardelmo::serial
