#include "window/request_thread.h"

namespace vardelmo::window {

RequestThread::RequestThread(LineFactory makeLine, query::FieldTexts fields, QObject* parent)
    : QThread(parent), makeLine_(std::move(makeLine)), fields_(std::move(fields)) {}

RequestThread::~RequestThread() {
    interrupt();
    wait();
}

void RequestThread::run() {
    const std::unique_ptr<serial::SerialLine> MSComm1 = makeLine_();
    outcome_ = query::runWeightRequest(fields_, *MSComm1, interruption_);
}

}  // namespace vardelmo::window
