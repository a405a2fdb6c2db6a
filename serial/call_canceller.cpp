#include "serial/call_canceller.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vardelmo::serial {

#ifdef _WIN32

CallCanceller::CallCanceller() {
    // GetCurrentThread() names whichever thread asks: a real handle names this one.
    HANDLE thread = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                        THREAD_TERMINATE, FALSE, 0)) {
        thread_ = thread;
    }
}

CallCanceller::~CallCanceller() {
    if (thread_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(thread_));
    }
}

void CallCanceller::cancel() const {
    // Fails with ERROR_NOT_FOUND when the thread is in no call: nothing to end.
    if (thread_ != nullptr) {
        (void)CancelSynchronousIo(static_cast<HANDLE>(thread_));
    }
}

#else

CallCanceller::CallCanceller() = default;
CallCanceller::~CallCanceller() = default;
void CallCanceller::cancel() const {}

#endif

}  // namespace vardelmo::serial
