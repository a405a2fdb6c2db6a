#include "cli/messages.h"

#include "cli/reply_bytes.h"
#include "query/conversions.h"
#include "reading/reading.h"
#include "serial/port_name.h"

namespace vardelmo::cli {

namespace {

constexpr char kPrefix[] = "vardelmo: ";

// "1.234" as the display writes it, "1,234".
std::string withComma(std::string text) {
    if (const auto point = text.find('.'); point != std::string::npos) {
        text[point] = ',';
    }
    return text;
}

// "1 pedido", "2 pedidos".
std::string counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

}  // namespace

std::string failureLine(const query::FailureReport& failure) {
    return kPrefix + failure.description;
}

std::string unknownFamilyLine(const std::string& config, const std::string& reply) {
    return kPrefix + reading::hintText(reading::Hint::Unknown) + " em " + config + ": " +
           spellReply(reply);
}

std::string silenceLine(const Exchange& exchange) {
    const auto wait = query::convertWait(exchange.wait);
    const auto port = query::convertPort(exchange.port);
    std::string line = kPrefix + std::string("sem resposta");
    if (wait) {
        line += " em " + std::to_string(wait.value().count()) + " ms";
    }
    if (port) {
        line += " na " + serial::portLabel(port.value());
    }
    return line;
}

std::string unwrittenLine() {
    return kPrefix + std::string("could not write to standard output");
}

std::string watchSummary(const query::WatchFigures& f, const std::string& unit) {
    std::string text = counted(f.requests, "pedido", "pedidos") + ", " +
                       counted(f.understood, "leitura", "leituras") + ", " +
                       counted(f.silent, "sem resposta", "sem resposta") + ", " +
                       counted(f.failures, "falha", "falhas");
    if (f.lowest && f.highest) {
        text += "; peso de " + withComma(*f.lowest) + " a " + withComma(*f.highest) + ' ' + unit;
    }
    if (f.settledAfter) {
        text += "; estabilizou em " + std::to_string(f.settledAfter->count()) + " ms";
    } else if (f.inMotionAtEnd) {
        text += "; ainda em movimento no fim";
    }
    return text + '.';
}

void reportOnError(const Exchange& exchange, Streams& streams) {
    if (exchange.failure) {
        streams.errLine(failureLine(*exchange.failure));
    } else if (exchange.silent()) {
        streams.errLine(silenceLine(exchange));
    }
}

}  // namespace vardelmo::cli
