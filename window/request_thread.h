#pragma once

#include <QThread>
#include <functional>
#include <memory>

#include "query/field_texts.h"
#include "query/interruption.h"
#include "query/weight_request.h"
#include "serial/serial_line.h"

namespace vardelmo::window {

// Makes the serial line a request drives; called on the request's own thread.
using LineFactory = std::function<std::unique_ptr<serial::SerialLine>()>;

// One weight request on a thread of its own, so the window keeps answering
// during the wait. QSerialPort belongs to the thread that made it: the line is
// created, driven and destroyed on this thread alone.
class RequestThread final : public QThread {
public:
    RequestThread(LineFactory makeLine, query::FieldTexts fields, QObject* parent = nullptr);
    // Interrupts the request and waits for it: the port is closed when this returns.
    ~RequestThread() override;

    RequestThread(const RequestThread&) = delete;
    RequestThread& operator=(const RequestThread&) = delete;

    // Ends the wait at once; the request closes the port and shows nothing.
    void interrupt() { interruption_.interrupt(); }
    // What the request yielded; read only once the thread has finished.
    query::Outcome takeOutcome() { return std::move(outcome_); }

protected:
    void run() override;

private:
    LineFactory makeLine_;
    query::FieldTexts fields_;
    query::Interruption interruption_;
    query::Outcome outcome_;
};

}  // namespace vardelmo::window
