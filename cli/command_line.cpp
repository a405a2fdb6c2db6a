#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <algorithm>
#include <limits>
#include <optional>

#include "cli/reply_bytes.h"
#include "query/settings_search.h"

namespace vardelmo::cli {

namespace {

using Mode = CommandLine::Mode;
using Output = CommandLine::Output;

struct Options {
    QCommandLineOption query{{"q", "query"},
                             "Ask the scale once without a window and print its reply."};
    QCommandLineOption find{"find",
                            "Try the line settings scales use until one gives a reading, and "
                            "print it."};
    QCommandLineOption watch{"watch",
                             "Ask the scale again and again, one timestamped line a request."};
    QCommandLineOption list{"list", "List the serial ports present, one a line."};
    QCommandLineOption port{
        "port", QString("The port number, or a device path (default %1).").arg(query::kInitialPort),
        "port"};
    QCommandLineOption config{"config",
                              QString("The line settings, baud,parity,data,stop (default %1).")
                                  .arg(query::kInitialConfig),
                              "settings"};
    QCommandLineOption wait{
        "wait",
        QString("Milliseconds between the enquiry and the read (default %1); with --find, "
                "the longest a try waits (default %2).")
            .arg(query::kInitialWait, query::kSearchBound),
        "ms"};
    QCommandLineOption raw{"raw", "With --query: write the reply's bytes unchanged."};
    QCommandLineOption hex{"hex", "With --query or --watch: write the reply's bytes in hex."};
    QCommandLineOption reading{"reading",
                               "With --query or --watch: write what the reply reads as, e.g. "
                               "\"1,234 kg estável\"."};
    QCommandLineOption json{"json",
                            "With --query, --watch or --find: write one JSON object a request."};
    QCommandLineOption all{"all",
                           "With --find: try every settings text, not only up to the first "
                           "that gives a reading."};
    QCommandLineOption every{"every",
                             "With --watch: milliseconds from start to start (default 500).", "ms"};
    QCommandLineOption count{"count", "With --watch: stop after N requests (default: never).", "N"};
    QCommandLineOption request{
        "request",
        "With --query, --watch or --find: the bytes to send instead of ENQ, spelled as a reply "
        "is, e.g. P, \"<EOT>\", \"{RW}\", \"<ENQ>D05\"; '' sends nothing and only listens "
        "(default <ENQ>).",
        "bytes"};
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(
            "Asks a weighing scale on a serial port for its weight: in a window, or without one\n"
            "with --query (once), --watch (again and again) or --find (the settings). Without\n"
            "them, --port, --config and --wait fill in the window's fields.");
        // Qt's window options are single words after a single dash; read them as such, not as
        // a cluster of letters, so that a refusal names them as they were typed.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({query, find, watch, list, port, config, wait, raw, hex, reading, json,
                           all, every, count, request, help, version});
    }
};

// A field given replaces its initial text.
void takeIfSet(const QCommandLineParser& parser, const QCommandLineOption& option,
               std::string& text) {
    if (parser.isSet(option)) {
        text = parser.value(option).toStdString();
    }
}

QString dashed(const QCommandLineOption& option) {
    return "--" + option.names().constLast();
}

// The modes that take an option, for the refusal of one given elsewhere.
struct Applies {
    const QCommandLineOption& option;
    std::initializer_list<Mode> modes;
    const char* needs;  // the refusal's words after the option's name
};

// "--a and --b cannot be used together." for the first two of `options` given, or nothing.
QString clashOf(const QCommandLineParser& parser,
                std::initializer_list<const QCommandLineOption*> options) {
    QStringList given;
    for (const auto* option : options) {
        if (parser.isSet(*option)) {
            given << dashed(*option);
        }
    }
    return given.size() > 1 ? QString("%1 and %2 cannot be used together.").arg(given[0], given[1])
                            : QString();
}

// The first refusal the options' combination deserves, or none.
QString refusalOf(const QCommandLineParser& parser, const Options& o, Mode mode) {
    for (const QString& clash : {clashOf(parser, {&o.query, &o.find, &o.watch, &o.list}),
                                 clashOf(parser, {&o.raw, &o.hex, &o.reading, &o.json})}) {
        if (!clash.isEmpty()) {
            return clash;
        }
    }
    const Applies applies[] = {
        {o.raw, {Mode::Query}, "needs --query."},
        {o.hex, {Mode::Query, Mode::Watch}, "needs --query or --watch."},
        {o.reading, {Mode::Query, Mode::Watch}, "needs --query or --watch."},
        {o.json, {Mode::Query, Mode::Watch, Mode::Find}, "needs --query, --watch or --find."},
        {o.all, {Mode::Find}, "needs --find."},
        {o.every, {Mode::Watch}, "needs --watch."},
        {o.count, {Mode::Watch}, "needs --watch."},
        {o.request, {Mode::Query, Mode::Watch, Mode::Find}, "needs --query, --watch or --find."},
        {o.config,
         {Mode::Window, Mode::Query, Mode::Watch},
         "cannot be used with --find or --list: --find tries settings of its own."},
        {o.port,
         {Mode::Window, Mode::Query, Mode::Watch, Mode::Find},
         "cannot be used with --list."},
        {o.wait,
         {Mode::Window, Mode::Query, Mode::Watch, Mode::Find},
         "cannot be used with --list."},
    };
    for (const auto& rule : applies) {
        if (parser.isSet(rule.option) &&
            std::find(rule.modes.begin(), rule.modes.end(), mode) == rule.modes.end()) {
            return dashed(rule.option) + ' ' + rule.needs;
        }
    }
    return {};
}

// A whole number of at most `most`, or nothing.
std::optional<std::uint64_t> wholeNumber(const QString& text, std::uint64_t most) {
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || text.isEmpty() || !text.front().isDigit() || value > most) {
        return std::nullopt;
    }
    return value;
}

Output outputOf(const QCommandLineParser& parser, const Options& o) {
    if (parser.isSet(o.raw)) {
        return Output::Raw;
    }
    if (parser.isSet(o.hex)) {
        return Output::Hex;
    }
    if (parser.isSet(o.reading)) {
        return Output::Reading;
    }
    return parser.isSet(o.json) ? Output::Json : Output::Spelled;
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    const bool parsed = parser.parse(arguments);

    CommandLine command;
    if (parser.isSet(options.help)) {
        command.mode = Mode::Help;
    } else if (parser.isSet(options.version)) {
        command.mode = Mode::Version;
    } else if (parser.isSet(options.query)) {
        command.mode = Mode::Query;
    } else if (parser.isSet(options.find)) {
        command.mode = Mode::Find;
        command.fields.waitText = query::kSearchBound;
    } else if (parser.isSet(options.watch)) {
        command.mode = Mode::Watch;
    } else if (parser.isSet(options.list)) {
        command.mode = Mode::List;
    }
    takeIfSet(parser, options.port, command.fields.portText);
    takeIfSet(parser, options.config, command.fields.configText);
    takeIfSet(parser, options.wait, command.fields.waitText);
    command.output = outputOf(parser, options);
    command.all = parser.isSet(options.all);

    if (!parsed) {
        command.usageError = parser.errorText();
        const QStringList unknown = parser.unknownOptionNames();
        command.mayBeQtOptions =
            !unknown.isEmpty() &&
            std::all_of(unknown.begin(), unknown.end(), [&](const QString& name) {
                return name.size() > 1 && arguments.contains('-' + name);
            });
        return command;
    }
    if (!parser.positionalArguments().isEmpty()) {
        command.usageError = QString(
                                 "Unexpected argument '%1'; the port, settings and wait are "
                                 "given with --port, --config and --wait.")
                                 .arg(parser.positionalArguments().constFirst());
        return command;
    }
    if (command.mode == Mode::Help || command.mode == Mode::Version) {
        return command;
    }
    command.usageError = refusalOf(parser, options, command.mode);
    if (!command.usageError.isEmpty()) {
        return command;
    }
    if (parser.isSet(options.every)) {
        const auto every =
            wholeNumber(parser.value(options.every), std::numeric_limits<std::int32_t>::max());
        if (!every) {
            command.usageError = "--every takes a whole number of milliseconds.";
            return command;
        }
        command.every = std::chrono::milliseconds(*every);
    }
    if (parser.isSet(options.count)) {
        const auto count =
            wholeNumber(parser.value(options.count), std::numeric_limits<std::uint64_t>::max());
        if (!count || *count == 0) {
            command.usageError = "--count takes a whole number from 1 up.";
            return command;
        }
        command.count = *count;
    }
    if (parser.isSet(options.request)) {
        const std::string text = parser.value(options.request).toStdString();
        std::string why;
        const auto bytes = unspellReply(text, why);
        if (!bytes) {
            command.usageError =
                QString("--request '%1' does not spell bytes: %2.")
                    .arg(QString::fromStdString(text), QString::fromStdString(why));
            return command;
        }
        command.request = *bytes;
    }
    return command;
}

QString helpText() {
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}

}  // namespace vardelmo::cli
