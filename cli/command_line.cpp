#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <algorithm>

#include "cli/command_line_options.h"
#include "cli/reply_bytes.h"
#include "cli/texts.h"
#include "serial/network_address.h"

namespace vardelmo::cli {

namespace {

using Mode = CommandLine::Mode;
using Output = CommandLine::Output;
using options::dashed;
using options::Options;

// A field given replaces its initial text.
void takeIfSet(const QCommandLineParser& parser, const QCommandLineOption& option,
               std::string& text) {
    if (parser.isSet(option)) {
        text = parser.value(option).toStdString();
    }
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
    return given.size() > 1
               ? Texts::tr("%1 and %2 cannot be used together.").arg(given[0], given[1])
               : QString();
}

// The first refusal the options' combination deserves, or none.
QString refusalOf(const QCommandLineParser& parser, const Options& o, Mode mode) {
    for (const QString& clash : {clashOf(parser, {&o.query, &o.find, &o.watch, &o.list}),
                                 clashOf(parser, {&o.raw, &o.hex, &o.reading, &o.json, &o.csv}),
                                 clashOf(parser, {&o.wait, &o.until})}) {
        if (!clash.isEmpty()) {
            return clash;
        }
    }
    const Applies applies[] = {
        {o.raw, {Mode::Query}, QT_TRANSLATE_NOOP("Texts", "needs --query.")},
        {o.hex,
         {Mode::Query, Mode::Watch},
         QT_TRANSLATE_NOOP("Texts", "needs --query or --watch.")},
        {o.reading,
         {Mode::Query, Mode::Watch},
         QT_TRANSLATE_NOOP("Texts", "needs --query or --watch.")},
        {o.json,
         {Mode::Query, Mode::Watch, Mode::Find},
         QT_TRANSLATE_NOOP("Texts", "needs --query, --watch or --find.")},
        {o.until,
         {Mode::Query, Mode::Watch},
         QT_TRANSLATE_NOOP("Texts", "needs --query or --watch.")},
        {o.csv, {Mode::Watch}, QT_TRANSLATE_NOOP("Texts", "needs --watch.")},
        {o.all, {Mode::Find}, QT_TRANSLATE_NOOP("Texts", "needs --find.")},
        {o.every, {Mode::Watch}, QT_TRANSLATE_NOOP("Texts", "needs --watch.")},
        {o.count, {Mode::Watch}, QT_TRANSLATE_NOOP("Texts", "needs --watch.")},
        {o.request,
         {Mode::Query, Mode::Watch, Mode::Find},
         QT_TRANSLATE_NOOP("Texts", "needs --query, --watch or --find.")},
        {o.config,
         {Mode::Window, Mode::Query, Mode::Watch},
         QT_TRANSLATE_NOOP(
             "Texts", "cannot be used with --find or --list: --find tries settings of its own.")},
        {o.port,
         {Mode::Window, Mode::Query, Mode::Watch, Mode::Find},
         QT_TRANSLATE_NOOP("Texts", "cannot be used with --list.")},
        {o.wait,
         {Mode::Window, Mode::Query, Mode::Watch, Mode::Find},
         QT_TRANSLATE_NOOP("Texts", "cannot be used with --list.")},
    };
    for (const auto& rule : applies) {
        if (parser.isSet(rule.option) &&
            std::find(rule.modes.begin(), rule.modes.end(), mode) == rule.modes.end()) {
            return dashed(rule.option) + ' ' + Texts::tr(rule.needs);
        }
    }
    return {};
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
    if (parser.isSet(o.csv)) {
        return Output::Csv;
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

    if (const QString refusal = options::singleDashOurs(arguments, options); !refusal.isEmpty()) {
        command.usageError = refusal;
        return command;
    }
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
        command.usageError = Texts::tr(
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
    command.usageError = options::readNumbers(parser, options, command);
    if (command.usageError.isEmpty() && parser.isSet(options.request)) {
        const QString text = parser.value(options.request);
        std::string why;
        if (const auto bytes = unspellReply(text.toStdString(), why)) {
            command.request = *bytes;
        } else {
            command.usageError = Texts::tr("--request '%1' does not spell bytes: %2.")
                                     .arg(text, QString::fromStdString(why));
        }
    }
    if (!command.usageError.isEmpty()) {
        return command;
    }
    if (command.mode == Mode::Find &&
        serial::networkSchemeOf(command.fields.portText) == serial::NetworkScheme::Socket) {
        command.usageError = Texts::tr(
            "--find cannot search the settings through a raw socket (socket://): the "
            "server's own settings hold. Use rfc2217:// if the server speaks RFC 2217.");
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
