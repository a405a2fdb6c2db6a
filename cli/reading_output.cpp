#include "cli/reading_output.h"

#include <QJsonDocument>
#include <QJsonValue>

#include "cli/reply_bytes.h"

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

}  // namespace

std::string readingOrHint(const reading::Decoded& decoded) {
    return decoded.reading ? reading::readingLine(*decoded.reading)
                           : '(' + reading::hintText(decoded.hint) + ')';
}

std::string readingWithFamily(const reading::Decoded& decoded) {
    return decoded.reading ? reading::readingLine(*decoded.reading) + " (" +
                                 reading::familyName(decoded.reading->protocol) + ')'
                           : reading::hintText(decoded.hint);
}

void addReply(QJsonObject& object, std::string_view reply, const reading::Decoded& decoded) {
    object.insert("reply", QString::fromStdString(hexReply(reply)));
    object.insert("reading", decoded.reading ? QJsonValue(readingObject(*decoded.reading))
                                             : QJsonValue(QJsonValue::Null));
    object.insert("hint", decoded.reading
                              ? QJsonValue(QJsonValue::Null)
                              : QJsonValue(QString::fromUtf8(reading::hintId(decoded.hint))));
}

std::string jsonLine(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + '\n';
}

}  // namespace vardelmo::cli
