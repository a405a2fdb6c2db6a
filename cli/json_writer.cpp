// The one JSON shape of every mode: the same keys in every object, null where they do not
// apply, so that a script reads -q, each line of --watch and each of --find alike.
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "cli/output_writer.h"
#include "cli/reply_bytes.h"
#include "query/conversions.h"

namespace vardelmo::cli {

namespace {

QJsonValue textOrNull(const std::optional<std::string>& text) {
    return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QJsonObject readingObject(const reading::Reading& r) {
    QJsonObject object{
        {"protocol", QString::fromStdString(r.protocol)},
        {"weight", textOrNull(r.weight)},
        {"unit", QString::fromStdString(r.unit)},
        // null where the frame does not tell the state
        {"state", r.state ? QJsonValue(QString::fromUtf8(reading::stateId(*r.state)))
                          : QJsonValue(QJsonValue::Null)},
    };
    // Only what the frame carries: a key missing says the scale does not tell.
    if (r.net) {
        object.insert("net", *r.net);
    }
    for (const auto& [key, value] :
         {std::pair{"tare", &r.tare}, std::pair{"price", &r.price}, std::pair{"total", &r.total}}) {
        if (*value) {
            object.insert(key, QString::fromStdString(**value));
        }
    }
    return object;
}

QJsonObject objectOf(const Exchange& e) {
    const auto waitMs = query::convertWait(e.wait);
    const bool hasReading = e.reply && e.decoded.reading;
    return QJsonObject{
        {"port", QString::fromStdString(e.port)},
        {"config", textOrNull(e.config)},
        {"wait", QString::fromStdString(e.wait)},
        {"wait_ms", waitMs ? QJsonValue(static_cast<qint64>(waitMs.value().count()))
                           : QJsonValue(QJsonValue::Null)},
        {"request", QString::fromStdString(spellReply(e.request))},
        {"reply", e.reply ? QJsonValue(QString::fromStdString(hexReply(*e.reply)))
                          : QJsonValue(QJsonValue::Null)},
        {"reading",
         hasReading ? QJsonValue(readingObject(*e.decoded.reading)) : QJsonValue(QJsonValue::Null)},
        {"hint", e.reply && !hasReading
                     ? QJsonValue(QString::fromUtf8(reading::hintId(e.decoded.hint)))
                     : QJsonValue(QJsonValue::Null)},
        {"error", e.failure ? QJsonValue(QString::fromStdString(e.failure->description))
                            : QJsonValue(QJsonValue::Null)},
    };
}

// One object on one line, as a script reads it line by line.
std::string lineOf(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + '\n';
}

class JsonWriter final : public OutputWriter {
public:
    using OutputWriter::OutputWriter;

    void request(const Exchange& exchange) override { out(lineOf(objectOf(exchange))); }
    void watched(const Exchange& exchange, const QDateTime& start) override {
        QJsonObject object = objectOf(exchange);
        // The offset spelled out ("-03:00", "Z"): a log read elsewhere tells the instant.
        object.insert("time",
                      start.toOffsetFromUtc(start.offsetFromUtc()).toString(Qt::ISODateWithMs));
        out(lineOf(object));
    }
    void tried(const Exchange& exchange, bool /*recognized*/) override {
        out(lineOf(objectOf(exchange)));
    }
    void searched(const Exchange& end, const std::optional<std::string>& found) override {
        QJsonObject object = objectOf(end);
        object.insert("found", textOrNull(found));
        out(lineOf(object));
    }
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonWriter(Streams& streams) {
    return std::make_unique<JsonWriter>(streams);
}

}  // namespace vardelmo::cli
