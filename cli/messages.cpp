#include "cli/messages.h"

#include "cli/reply_bytes.h"
#include "cli/texts.h"
#include "query/conversions.h"
#include "reading/reading.h"
#include "serial/network_address.h"
#include "serial/port_name.h"

namespace vardelmo::cli {

namespace {

constexpr char kPrefix[] = "vardelmo: ";

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// "1.234" as the display writes it, "1,234".
QString withComma(std::string text) {
    if (const auto point = text.find('.'); point != std::string::npos) {
        text[point] = ',';
    }
    return q(text);
}

// "port 5 (/dev/ttyS4)", "port /dev/ttyUSB0": as the box names a port, in the line's language.
QString portName(const serial::Port& port) {
    if (const auto* address = std::get_if<serial::NetworkAddress>(&port)) {
        return Texts::tr("port %1").arg(q(serial::addressText(*address)));
    }
    if (const auto* path = std::get_if<std::string>(&port)) {
        return Texts::tr("port %1").arg(q(*path));
    }
    const QString number = QString::number(std::get<std::int16_t>(port));
    const auto device = serial::portDevice(port);
    return device ? Texts::tr("port %1 (%2)").arg(number, q(device.value()))
                  : Texts::tr("port %1").arg(number);
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
    const QString ms = wait ? QString::number(wait.value().count()) : q(exchange.wait);
    const QString line =
        port ? Texts::tr("no reply within %1 ms on %2").arg(ms, portName(port.value()))
             : Texts::tr("no reply within %1 ms").arg(ms);
    return kPrefix + line.toStdString();
}

std::string unwrittenLine() {
    return kPrefix + Texts::tr("could not write to standard output").toStdString();
}

std::string watchSummary(const query::WatchFigures& f, const std::string& unit) {
    // One form for one, another for any other count, as both languages count.
    const auto counted = [](std::uint64_t n, const QString& one, const QString& many) {
        return (n == 1 ? one : many).arg(n);
    };
    QString text =
        counted(f.requests, Texts::tr("%1 request"), Texts::tr("%1 requests")) + ", " +
        counted(f.understood, Texts::tr("%1 reading"), Texts::tr("%1 readings")) + ", " +
        counted(f.silent, Texts::tr("%1 without reply"), Texts::tr("%1 without reply", "many")) +
        ", " + counted(f.failures, Texts::tr("%1 failure"), Texts::tr("%1 failures"));
    if (f.lowest && f.highest) {
        text += Texts::tr("; weight from %1 to %2 %3")
                    .arg(withComma(*f.lowest), withComma(*f.highest), q(unit));
    }
    if (f.settledAfter) {
        text += Texts::tr("; settled in %1 ms").arg(f.settledAfter->count());
    } else if (f.inMotionAtEnd) {
        text += Texts::tr("; still in motion at the end");
    }
    return (text + '.').toStdString();
}

void reportOnError(const Exchange& exchange, Streams& streams) {
    if (exchange.failure) {
        streams.errLine(failureLine(*exchange.failure));
    } else if (exchange.silent()) {
        streams.errLine(silenceLine(exchange));
    }
}

}  // namespace vardelmo::cli
