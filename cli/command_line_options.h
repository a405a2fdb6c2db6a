#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "cli/command_line.h"
#include "cli/texts.h"
#include "query/field_texts.h"
#include "query/settings_search.h"

// The command line's options, shared by its reading and its checks; not for use elsewhere.
namespace vardelmo::cli::options {

struct Options {
    QCommandLineOption query{{"q", "query"},
                             Texts::tr("Ask the scale once without a window and print its reply.")};
    QCommandLineOption find{
        "find", Texts::tr("Try the line settings scales use until one gives a reading, and "
                          "print it.")};
    QCommandLineOption watch{
        "watch", Texts::tr("Ask the scale again and again, one timestamped line a request.")};
    QCommandLineOption list{"list", Texts::tr("List the serial ports present, one a line.")};
    QCommandLineOption port{
        "port",
        Texts::tr("The port number, a device path, or a serial device server's address: "
                  "socket://HOST:PORT or rfc2217://HOST:PORT (default %1).")
            .arg(query::kInitialPort),
        "port"};
    QCommandLineOption config{"config",
                              Texts::tr("The line settings, baud,parity,data,stop (default %1).")
                                  .arg(query::kInitialConfig),
                              Texts::tr("settings")};
    QCommandLineOption wait{
        "wait",
        Texts::tr("Milliseconds between the enquiry and the read (default %1); with --find, "
                  "the longest a try waits (default %2).")
            .arg(query::kInitialWait, query::kSearchBound),
        "ms"};
    QCommandLineOption until{
        "until",
        Texts::tr("With --query or --watch: instead of a fixed wait, read until the "
                  "reply reads as a weight or MS milliseconds pass."),
        "ms"};
    QCommandLineOption raw{"raw", Texts::tr("With --query: write the reply's bytes unchanged.")};
    QCommandLineOption hex{"hex",
                           Texts::tr("With --query or --watch: write the reply's bytes in hex.")};
    QCommandLineOption reading{
        "reading", Texts::tr("With --query or --watch: write what the reply reads as, e.g. "
                             "\"1,234 kg estável\".")};
    QCommandLineOption json{
        "json", Texts::tr("With --query, --watch or --find: write one JSON object a request.")};
    QCommandLineOption csv{
        "csv", Texts::tr("With --watch: write a header line, then one CSV line a request.")};
    QCommandLineOption all{
        "all", Texts::tr("With --find: try every settings text, not only up to the first "
                         "that gives a reading.")};
    QCommandLineOption every{
        "every", Texts::tr("With --watch: milliseconds from start to start (default 500)."), "ms"};
    QCommandLineOption count{
        "count", Texts::tr("With --watch: stop after N requests (default: never)."), "N"};
    QCommandLineOption request{
        "request",
        Texts::tr("With --query, --watch or --find: the bytes to send instead of ENQ, spelled "
                  "as a reply is, e.g. P, \"<EOT>\", \"{RW}\", \"<ENQ>D05\"; '' sends nothing "
                  "and only listens (default <ENQ>)."),
        Texts::tr("bytes")};
    QCommandLineOption help{{"h", "help"}, Texts::tr("Show this help and exit.")};
    QCommandLineOption version{{"v", "version"}, Texts::tr("Show the version and exit.")};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(
            Texts::tr("Asks a weighing scale on a serial port for its weight: in a window, or "
                      "without one\nwith --query (once), --watch (again and again) or --find "
                      "(the settings). Without\nthem, --port, --config and --wait fill in the "
                      "window's fields.\n\nExit status: 0 a reply (that reads, with --reading), "
                      "1 a failure, 2 a command\nline refused, 3 a reply that does not read "
                      "(--reading) or settings found for\nframes of no known family (--find), 4 "
                      "no reply within the wait."));
        // Qt's window options are single words after a single dash; read them as such, not as
        // a cluster of letters, so that a refusal names them as they were typed.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({query, find, watch, list, port, config, wait, until, raw, hex, reading,
                           json, csv, all, every, count, request, help, version});
    }
};

QString dashed(const QCommandLineOption& option);

// The numbers of the line, each checked before anything is sent; the first refusal, or none.
QString readNumbers(const QCommandLineParser& parser, const Options& o, CommandLine& command);

// Our long options spelled with one dash ("-query"): Qt's own window options are single-dash
// words, ours are not, so that "-query" is no second spelling of --query. The first, or none.
QString singleDashOurs(const QStringList& arguments, const Options& o);

}  // namespace vardelmo::cli::options
