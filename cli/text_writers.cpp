// The forms a person reads or a script takes as bytes: the spelled reply, --raw, --hex and
// --reading. A watch's line is the same text after the time the request started.
#include "cli/output_writer.h"
#include "cli/reading_output.h"
#include "cli/reply_bytes.h"
#include "cli/texts.h"

namespace vardelmo::cli {

namespace {

using Output = CommandLine::Output;

// "Deu Pau!: ..." as the window's box would say it: a watch's line for a request that failed.
std::string failureText(const query::FailureReport& failure) {
    return failure.title + ": " + failure.description;
}

// The spelled reply, --raw and --hex: the reply's bytes in one form, nothing else.
class ReplyWriter final : public OutputWriter {
public:
    ReplyWriter(Streams& streams, Output form) : OutputWriter(streams), form_(form) {}

    void request(const Exchange& exchange) override {
        // Nothing of a failed or silent request: a script must not take it for a reply.
        if (exchange.answered()) {
            out(form_ == Output::Raw ? *exchange.reply : formed(*exchange.reply) + '\n');
        }
    }
    void watched(const Exchange& exchange, const QDateTime& start) override {
        std::string text;
        if (exchange.failure) {
            text = failureText(*exchange.failure);
        } else if (exchange.silent()) {
            text = readingOrHint(exchange.decoded);
        } else {
            text = formed(exchange.reply.value_or(std::string{}));
        }
        out(clockTime(start) + "  " + text + '\n');
    }
    void tried(const Exchange& exchange, bool recognized) override {
        if (recognized && exchange.config) {
            out(*exchange.config + '\n');
            listed_ = true;
        }
    }
    // Settings found with no try read (a family the tool does not know) are written at the end.
    void searched(const Exchange&, const std::optional<std::string>& found) override {
        if (found && !listed_) {
            out(*found + '\n');
        }
    }

private:
    std::string formed(std::string_view reply) const {
        return form_ == Output::Hex ? hexReply(reply) : spellReply(reply);
    }

    Output form_;
    bool listed_ = false;  // settings already written as their try ended
};

// --reading: the weight and state, or nothing on standard output when the reply does not read.
class ReadingWriter final : public OutputWriter {
public:
    using OutputWriter::OutputWriter;

    void request(const Exchange& exchange) override {
        if (!exchange.answered()) {
            return;
        }
        if (exchange.decoded.reading) {
            out(reading::readingLine(*exchange.decoded.reading) + '\n');
            return;
        }
        errLine("vardelmo: " +
                Texts::tr("reply not recognized (%1): %2")
                    .arg(QString::fromStdString(reading::hintText(exchange.decoded.hint)),
                         QString::fromStdString(spellReply(*exchange.reply)))
                    .toStdString());
    }
    void watched(const Exchange& exchange, const QDateTime& start) override {
        out(clockTime(start) + "  " +
            (exchange.failure ? failureText(*exchange.failure) : readingOrHint(exchange.decoded)) +
            '\n');
    }
    void tried(const Exchange&, bool) override {}
    void searched(const Exchange&, const std::optional<std::string>&) override {}
};

}  // namespace

std::unique_ptr<OutputWriter> makeOutputWriter(Output output, Streams& streams) {
    switch (output) {
        case Output::Reading:
            return std::make_unique<ReadingWriter>(streams);
        case Output::Json:
            return makeJsonWriter(streams);
        case Output::Csv:
            return makeCsvWriter(streams);
        case Output::Raw:
        case Output::Hex:
        case Output::Spelled:
            break;
    }
    return std::make_unique<ReplyWriter>(streams, output);
}

std::string clockTime(const QDateTime& at) {
    return at.toString("HH:mm:ss.zzz").toStdString();
}

}  // namespace vardelmo::cli
