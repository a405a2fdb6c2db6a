#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "cli/command_line_options.h"
#include "cli/texts.h"
#include "serial/network_address.h"
#include "serial/platform.h"

namespace vardelmo::cli::options {

namespace {

// Plain decimal digits 0-9, at least one, of at most `most`; nothing otherwise. No sign, no
// blanks, no other script's digits, no unit: what a script typed is what is used, or refused.
std::optional<std::uint64_t> plainNumber(const QString& text, std::uint64_t most) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c.unicode() - u'0');
        if (value > (most - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

constexpr std::uint64_t kLongestWait = std::numeric_limits<std::int32_t>::max();
constexpr std::uint64_t kHighestPort = std::numeric_limits<std::int16_t>::max();

// "--wait takes plain digits 0-9, from 0 to 2147483647 ms, not 'abc'.": one wording for every
// number of the command line.
QString numberRefusal(const QCommandLineOption& option, const QString& range,
                      const QString& given) {
    return Texts::tr("%1 takes plain digits 0-9, %2, not '%3'.").arg(dashed(option), range, given);
}

}  // namespace

QString dashed(const QCommandLineOption& option) {
    return "--" + option.names().constLast();
}

QString readNumbers(const QCommandLineParser& parser, const Options& o, CommandLine& command) {
    const QString ms = Texts::tr("from 0 to %1 ms").arg(kLongestWait);
    for (const auto* option : {&o.wait, &o.until}) {
        if (parser.isSet(*option) && !plainNumber(parser.value(*option), kLongestWait)) {
            return numberRefusal(*option, ms, parser.value(*option));
        }
    }
    if (parser.isSet(o.until)) {
        command.until =
            std::chrono::milliseconds(*plainNumber(parser.value(o.until), kLongestWait));
        // The bound stands where the wait would: in the JSON and in the silence's message.
        command.fields.waitText = parser.value(o.until).toStdString();
    }
    if (parser.isSet(o.port)) {
        const QString port = parser.value(o.port);
        // A serial device server's address is read whole by its own grammar, which names the
        // part that is wrong.
        const bool network = serial::namesNetworkPort(port.toStdString());
        if (network) {
            const auto address = serial::parseNetworkAddress(port.toStdString());
            if (!address) {
                return Texts::tr("--port: %1").arg(QString::fromStdString(address.description()));
            }
        }
        const bool path = serial::hostPlatform() == serial::Platform::Posix && port.startsWith('/');
        const auto number = plainNumber(port, kHighestPort);
        if (!network && !path && (!number || *number == 0)) {
            return numberRefusal(o.port,
                                 serial::hostPlatform() == serial::Platform::Posix
                                     ? Texts::tr("from 1 to %1, or a device path").arg(kHighestPort)
                                     : Texts::tr("from 1 to %1").arg(kHighestPort),
                                 port);
        }
    }
    if (parser.isSet(o.every)) {
        const auto every = plainNumber(parser.value(o.every), kLongestWait);
        if (!every) {
            return numberRefusal(o.every, ms, parser.value(o.every));
        }
        command.every = std::chrono::milliseconds(*every);
    }
    if (parser.isSet(o.count)) {
        const auto count =
            plainNumber(parser.value(o.count), std::numeric_limits<std::uint64_t>::max());
        if (!count || *count == 0) {
            return numberRefusal(o.count, Texts::tr("from 1 up"), parser.value(o.count));
        }
        command.count = *count;
    }
    return {};
}

QString singleDashOurs(const QStringList& arguments, const Options& o) {
    const QList<const QCommandLineOption*> withValues = {&o.port,  &o.config, &o.wait,   &o.until,
                                                         &o.every, &o.count,  &o.request};
    QStringList ours;
    for (const auto* option : {&o.query, &o.find, &o.watch, &o.list, &o.port, &o.config, &o.wait,
                               &o.until, &o.raw, &o.hex, &o.reading, &o.json, &o.csv, &o.all,
                               &o.every, &o.count, &o.request, &o.help, &o.version}) {
        ours << option->names().constLast();
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--") {
            break;
        }
        if (argument.startsWith("--")) {
            const QString name = argument.mid(2);
            // A value given apart is no option, whatever it looks like.
            if (std::any_of(withValues.begin(), withValues.end(), [&](const auto* option) {
                    return option->names().constLast() == name;
                })) {
                ++i;
            }
            continue;
        }
        const QString name = argument.mid(1).section('=', 0, 0);
        if (argument.startsWith('-') && name.size() > 1 && ours.contains(name)) {
            return Texts::tr("Unknown option '%1': long options take two dashes, as in --%2.")
                .arg(argument.section('=', 0, 0), name);
        }
    }
    return {};
}

}  // namespace vardelmo::cli::options
