#include "window/request_thread.h"

#include <QDeadlineTimer>

#include "serial/call_canceller.h"

namespace vardelmo::window {

RequestThread::RequestThread(LineFactory makeLine, query::FieldTexts fields, QObject* parent)
    : QThread(parent), makeLine_(std::move(makeLine)), fields_(std::move(fields)) {}

RequestThread::~RequestThread() {
    // An interruption ends the call the request is blocked in, not one it enters just after:
    // it is repeated until the request has ended.
    do {
        interrupt();
    } while (!wait(QDeadlineTimer(10)));
}

void RequestThread::run() {
    // Closing the window also ends a driver call that blocks (an opening that takes seconds).
    const serial::CallCanceller canceller;
    interruption_.setCanceller([&canceller] { canceller.cancel(); });
    {
        const std::unique_ptr<serial::SerialLine> MSComm1 = makeLine_();
        outcome_ = query::runWeightRequest(fields_, *MSComm1, interruption_);
    }
    interruption_.setCanceller({});
}

}  // namespace vardelmo::window
