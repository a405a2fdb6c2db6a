#include "window/search_thread.h"

#include <QDeadlineTimer>
#include <string_view>

#include "reading/reading.h"
#include "serial/call_canceller.h"

namespace vardelmo::window {

SearchThread::SearchThread(LineFactory makeLine, query::SteadyNow now, query::SearchPlan plan,
                           QObject* parent)
    : QThread(parent),
      makeLine_(std::move(makeLine)),
      now_(std::move(now)),
      plan_(std::move(plan)) {}

SearchThread::~SearchThread() {
    // As a request's: repeated, since it ends the call blocked in now, not one entered after.
    do {
        interruption_.interrupt();
    } while (!wait(QDeadlineTimer(10)));
}

void SearchThread::run() {
    // Closing the window also ends a driver call that blocks (an opening that takes seconds).
    const serial::CallCanceller canceller;
    interruption_.setCanceller([&canceller] { canceller.cancel(); });
    runSearch();
    interruption_.setCanceller({});
}

void SearchThread::runSearch() {
    const std::unique_ptr<serial::SerialLine> MSComm1 = makeLine_();
    const query::SearchEvents events{.onStart = [this](std::string_view config) {
        emit trying(QString::fromUtf8(config.data(), static_cast<qsizetype>(config.size())));
    }};
    result_ = query::searchSettings(
        plan_, *MSComm1, interruption_,
        [](std::string_view bytes) { return reading::decode(bytes).reading.has_value(); }, events,
        now_);
}

}  // namespace vardelmo::window
