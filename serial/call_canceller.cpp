#include "serial/call_canceller.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vardelmo::serial {
namespace {

thread_local const CallCanceller* current = nullptr;

}  // namespace

bool callsCancelled() {
    return current != nullptr && current->cancelled_.load();
}

#ifdef _WIN32

CallCanceller::CallCanceller() : outer_(current) {
    current = this;
    // GetCurrentThread() names whichever thread asks: a real handle names this one.
    HANDLE thread = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                        THREAD_TERMINATE, FALSE, 0)) {
        thread_ = thread;
    }
}

CallCanceller::~CallCanceller() {
    current = outer_;
    if (thread_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(thread_));
    }
}

void CallCanceller::cancel() const {
    cancelled_ = true;
    // Fails with ERROR_NOT_FOUND when the thread is in no call: nothing to end.
    if (thread_ != nullptr) {
        (void)CancelSynchronousIo(static_cast<HANDLE>(thread_));
    }
}

#else

CallCanceller::CallCanceller() : outer_(current) {
    current = this;
}

CallCanceller::~CallCanceller() {
    current = outer_;
}

void CallCanceller::cancel() const {
    cancelled_ = true;
}

#endif

}  // namespace vardelmo::serial
