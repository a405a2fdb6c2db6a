#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <algorithm>

namespace vardelmo::cli {

namespace {

struct Options {
    QCommandLineOption query{{"q", "query"},
                             "Ask the scale once without a window and print its reply."};
    QCommandLineOption port{
        "port", QString("The port number, or a device path (default %1).").arg(query::kInitialPort),
        "port"};
    QCommandLineOption config{"config",
                              QString("The line settings, baud,parity,data,stop (default %1).")
                                  .arg(query::kInitialConfig),
                              "settings"};
    QCommandLineOption wait{"wait",
                            QString("Milliseconds between the enquiry and the read (default %1).")
                                .arg(query::kInitialWait),
                            "ms"};
    QCommandLineOption raw{"raw", "With --query: write the reply's bytes unchanged."};
    QCommandLineOption hex{"hex", "With --query: write the reply's bytes in hex."};
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(
            "Asks a weighing scale on a serial port for its weight: in a window, or with "
            "--query once\nwithout one. Without --query, --port, --config and --wait fill in "
            "the window's fields.");
        // Qt's window options are single words after a single dash; read them as such, not as
        // a cluster of letters, so that a refusal names them as they were typed.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({query, port, config, wait, raw, hex, help, version});
    }
};

// A field given replaces its initial text.
void takeIfSet(const QCommandLineParser& parser, const QCommandLineOption& option,
               std::string& text) {
    if (parser.isSet(option)) {
        text = parser.value(option).toStdString();
    }
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    const bool parsed = parser.parse(arguments);

    CommandLine command;
    if (parser.isSet(options.help)) {
        command.mode = CommandLine::Mode::Help;
    } else if (parser.isSet(options.version)) {
        command.mode = CommandLine::Mode::Version;
    } else if (parser.isSet(options.query)) {
        command.mode = CommandLine::Mode::Query;
    }
    takeIfSet(parser, options.port, command.fields.portText);
    takeIfSet(parser, options.config, command.fields.configText);
    takeIfSet(parser, options.wait, command.fields.waitText);
    if (parser.isSet(options.raw)) {
        command.output = CommandLine::Output::Raw;
    } else if (parser.isSet(options.hex)) {
        command.output = CommandLine::Output::Hex;
    }

    if (!parsed) {
        command.usageError = parser.errorText();
        const QStringList unknown = parser.unknownOptionNames();
        command.mayBeQtOptions =
            !unknown.isEmpty() &&
            std::all_of(unknown.begin(), unknown.end(), [&](const QString& name) {
                return name.size() > 1 && arguments.contains('-' + name);
            });
    } else if (!parser.positionalArguments().isEmpty()) {
        command.usageError = QString(
                                 "Unexpected argument '%1'; the port, settings and wait are "
                                 "given with --port, --config and --wait.")
                                 .arg(parser.positionalArguments().constFirst());
    } else if (parser.isSet(options.raw) && parser.isSet(options.hex)) {
        command.usageError = "--raw and --hex cannot be used together.";
    } else if (command.output != CommandLine::Output::Spelled &&
               command.mode == CommandLine::Mode::Window) {
        command.usageError = "--raw and --hex need --query.";
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
