#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::cli {

// One line of the program's JSON, parsed as a script's JSON library would; nothing when it is
// not one object.
inline std::optional<QJsonObject> parsedObject(std::string_view text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    return document.object();
}

// For failure messages: Qt writes the keys sorted, so two equal objects read alike.
inline std::string compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace vardelmo::cli
