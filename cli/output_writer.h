#pragma once

#include <QDateTime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/exchange.h"

namespace vardelmo::cli {

// One output form (--raw, --hex, --reading, --json or the spelled reply), chosen once from the
// command line. Every mode hands it each request as it ends; it alone decides what reaches
// standard output, and what a form adds on standard error of its own (--reading's reply that
// does not read). What every form shares on standard error (failures, silence, the search's
// tries, the watch's summary) is the mode's.
class OutputWriter {
public:
    explicit OutputWriter(Streams& streams) : streams_(streams) {}
    virtual ~OutputWriter() = default;
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;

    // --query's one request.
    virtual void request(const Exchange& exchange) = 0;
    // A request of --watch, with the wall time of its start.
    virtual void watched(const Exchange& exchange, const QDateTime& start) = 0;
    // A try of --find, as it ends; `recognized` when its reply read.
    virtual void tried(const Exchange& exchange, bool recognized) = 0;
    // The end of --find: the texts it ran with, the failure that ended it or that nothing read,
    // and the settings found first, if any.
    virtual void searched(const Exchange& end, const std::optional<std::string>& found) = 0;

    // False once anything could not be written: a full disk, a closed pipe.
    bool written() const { return written_; }

protected:
    void out(std::string_view bytes) { written_ = streams_.out(bytes) && written_; }
    void errLine(std::string_view line) { streams_.errLine(line); }

private:
    Streams& streams_;
    bool written_ = true;
};

std::unique_ptr<OutputWriter> makeOutputWriter(CommandLine::Output output,
                                               Streams& streams = consoleStreams());

// The JSON forms' writer on its own, for the forms that only add to it.
std::unique_ptr<OutputWriter> makeJsonWriter(Streams& streams);

// "HH:MM:SS.mmm", the time a watch's line starts with.
std::string clockTime(const QDateTime& at);

}  // namespace vardelmo::cli
