#include "window/search_thread.h"

#include <string_view>

#include "reading/reading.h"

namespace vardelmo::window {

SearchThread::SearchThread(LineFactory makeLine, query::SteadyNow now, query::SearchPlan plan,
                           QObject* parent)
    : QThread(parent),
      makeLine_(std::move(makeLine)),
      now_(std::move(now)),
      plan_(std::move(plan)) {}

SearchThread::~SearchThread() {
    interruption_.interrupt();
    wait();
}

void SearchThread::run() {
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
