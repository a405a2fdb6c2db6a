#pragma once

#include <QJsonObject>
#include <string>
#include <string_view>

#include "reading/reading.h"

namespace vardelmo::cli {

// The reading line, or for a reply that does not decode its hint in parentheses:
// "1,234 kg estável", "(sem resposta)".
std::string readingOrHint(const reading::Decoded& decoded);

// "1,234 kg estável (Toledo B)" or the hint alone: how a try of the settings search reads.
std::string readingWithFamily(const reading::Decoded& decoded);

// The reply as every JSON object of the program gives it: "reply" in hex as --hex writes it,
// "reading" (null, or protocol, weight, unit, state and what else the frame gives) and "hint"
// (null, or its id).
void addReply(QJsonObject& object, std::string_view reply, const reading::Decoded& decoded);

// One object on one line, as a script reads it line by line.
std::string jsonLine(const QJsonObject& object);

}  // namespace vardelmo::cli
