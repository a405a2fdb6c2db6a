#pragma once

#include <windows.h>

#include <string>

namespace vardelmo::serial {

// The Win32 calls the line makes, all synchronous, behind an interface so that a test can
// play a driver that Wine does not imitate: one that misreports its queue, refuses fields
// left by another program, or fails a call with an error of its own.
class Win32Calls {
public:
    virtual ~Win32Calls() = default;
    // CreateFile for reading and writing, unshared, without overlapped I/O.
    virtual HANDLE open(const std::string& path) = 0;
    virtual BOOL close(HANDLE handle) = 0;
    virtual BOOL getCommState(HANDLE handle, DCB& dcb) = 0;
    virtual BOOL setCommState(HANDLE handle, DCB& dcb) = 0;
    virtual BOOL getCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts) = 0;
    virtual BOOL setCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts) = 0;
    virtual BOOL setupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL purgeComm(HANDLE handle, DWORD flags) = 0;
    virtual BOOL clearCommError(HANDLE handle, DWORD& errors, COMSTAT& status) = 0;
    virtual BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD& read) = 0;
    virtual BOOL writeFile(HANDLE handle, const void* bytes, DWORD size, DWORD& written) = 0;
    // GetLastError(): what the last call that failed reported.
    virtual DWORD lastError() = 0;
};

// The system's own calls.
Win32Calls& systemWin32Calls();

}  // namespace vardelmo::serial
