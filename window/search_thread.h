#pragma once

#include <QString>
#include <QThread>

#include "query/interruption.h"
#include "query/settings_search.h"
#include "window/request_thread.h"

namespace vardelmo::window {

// The settings search on a thread of its own, as a request runs on its RequestThread: the line
// is made, driven and destroyed there, and the window keeps answering meanwhile. A try is
// recognized when its reply decodes to a reading.
class SearchThread final : public QThread {
    Q_OBJECT

public:
    // `now` is the clock the tries are bounded by.
    SearchThread(LineFactory makeLine, query::SteadyNow now, query::SearchPlan plan,
                 QObject* parent = nullptr);
    // Interrupts the search and waits for it: the port is closed when this returns.
    ~SearchThread() override;

    SearchThread(const SearchThread&) = delete;
    SearchThread& operator=(const SearchThread&) = delete;

    const query::SearchPlan& plan() const { return plan_; }
    // What the search yielded; read only once the thread has finished.
    query::SearchResult takeResult() { return std::move(result_); }

signals:
    // Before each try, from the search's thread: the settings about to be tried.
    void trying(const QString& config);

protected:
    void run() override;
    void runSearch();

private:
    LineFactory makeLine_;
    query::SteadyNow now_;
    query::SearchPlan plan_;
    query::Interruption interruption_;
    query::SearchResult result_;
};

}  // namespace vardelmo::window
