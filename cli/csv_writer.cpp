// --watch --csv: the watch as a sheet, one record a request under a header, for a spreadsheet
// or a script that reads CSV. Every record has every column; a column that does not apply to a
// request stays empty.
#include "cli/csv.h"
#include "cli/output_writer.h"
#include "cli/reply_bytes.h"

namespace vardelmo::cli {

namespace {

class CsvWriter final : public OutputWriter {
public:
    using OutputWriter::OutputWriter;

    // The command line takes --csv only with --watch; a lone request is still a whole sheet.
    void request(const Exchange& exchange) override {
        watched(exchange, QDateTime::currentDateTime());
    }
    void watched(const Exchange& exchange, const QDateTime& start) override {
        if (!headed_) {
            // Before the first record, not at the start: nothing is written before the port
            // is tried, as with every other form.
            out(csvRecord({"time", "weight", "unit", "state", "protocol", "reply", "error"}));
            headed_ = true;
        }
        // A reply read after a failure at the closing is shown, but not taken as a reading.
        const bool read = exchange.answered() && exchange.decoded.reading;
        const reading::Reading none;
        const reading::Reading& r = read ? *exchange.decoded.reading : none;
        const std::string state = r.state ? std::string(reading::stateId(*r.state)) : "";
        out(csvRecord({isoTime(start), r.weight.value_or(""), read ? r.unit : "", state, r.protocol,
                       exchange.reply ? hexReply(*exchange.reply) : "",
                       exchange.failure ? exchange.failure->description : ""}));
    }
    void tried(const Exchange&, bool) override {}
    void searched(const Exchange&, const std::optional<std::string>&) override {}

private:
    bool headed_ = false;
};

}  // namespace

std::unique_ptr<OutputWriter> makeCsvWriter(Streams& streams) {
    return std::make_unique<CsvWriter>(streams);
}

std::string isoTime(const QDateTime& at) {
    // The offset spelled out ("-03:00", "Z"): a log read elsewhere tells the instant.
    return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs).toStdString();
}

}  // namespace vardelmo::cli
