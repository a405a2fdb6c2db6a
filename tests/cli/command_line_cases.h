#pragma once

// The command line table: what each line asks for, or the refusal it gets. Read as the program
// reads it (command_line_test.cpp), and every refusal run through the built program with no
// display (program_test.cpp).
#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "query/field_texts.h"

namespace vardelmo::cli::cases {

using Mode = CommandLine::Mode;
using Output = CommandLine::Output;

struct Case {
    const char* name;
    std::vector<const char*> arguments = {};  // after the program's name
    Mode mode = Mode::Window;
    Output output = Output::Spelled;
    std::string port = query::kInitialPort;
    std::string config = query::kInitialConfig;
    std::string wait = query::kInitialWait;
    std::string usageError = {};  // empty for a line that is accepted
    bool mayBeQtOptions = false;
    bool all = false;
    std::chrono::milliseconds every{500};
    std::uint64_t count = 0;
    std::optional<std::chrono::milliseconds> until = {};
    std::string request = "\x05";  // the bytes each request sends
    friend void PrintTo(const Case& c, std::ostream* os) {
        *os << "vardelmo";
        for (const char* argument : c.arguments) {
            *os << ' ' << argument;
        }
    }
};

const std::string kPositional =
    "; the port, settings and wait are given with --port, --config and --wait.";

inline std::vector<Case> modeCases() {
    return {Case{.name = "NothingOpensTheWindow", .arguments = {}},
            Case{.name = "QueryShort", .arguments = {"-q"}, .mode = Mode::Query},
            Case{.name = "QueryLong", .arguments = {"--query"}, .mode = Mode::Query},
            Case{.name = "HelpShort", .arguments = {"-h"}, .mode = Mode::Help},
            Case{.name = "HelpLong", .arguments = {"--help"}, .mode = Mode::Help},
            Case{.name = "VersionShort", .arguments = {"-v"}, .mode = Mode::Version},
            Case{.name = "VersionLong", .arguments = {"--version"}, .mode = Mode::Version},
            Case{.name = "HelpBeforeVersion", .arguments = {"--version", "-h"}, .mode = Mode::Help},
            Case{.name = "HelpBeforeQuery", .arguments = {"-q", "--help"}, .mode = Mode::Help},
            Case{.name = "VersionBeforeQuery", .arguments = {"-v", "-q"}, .mode = Mode::Version},
            // A search waits up to its own bound unless told otherwise.
            Case{.name = "Find", .arguments = {"--find"}, .mode = Mode::Find, .wait = "600"},
            Case{.name = "FindEveryCandidate",
                 .arguments = {"--find", "--all", "--wait", "900", "--port", "/dev/ttyUSB0"},
                 .mode = Mode::Find,
                 .port = "/dev/ttyUSB0",
                 .wait = "900",
                 .all = true},
            // Over RFC 2217 the server sets each candidate on its port.
            Case{.name = "FindThroughAnRfc2217Server",
                 .arguments = {"--find", "--port", "rfc2217://10.0.0.7:4001"},
                 .mode = Mode::Find,
                 .port = "rfc2217://10.0.0.7:4001",
                 .wait = "600"},
            Case{.name = "QueryThroughARawSocket",
                 .arguments = {"-q", "--port", "socket://[::1]:4001"},
                 .mode = Mode::Query,
                 .port = "socket://[::1]:4001"},
            Case{.name = "Watch", .arguments = {"--watch"}, .mode = Mode::Watch},
            Case{.name = "WatchEveryAndCount",
                 .arguments = {"--watch", "--every", "200", "--count", "5", "--wait", "50"},
                 .mode = Mode::Watch,
                 .wait = "50",
                 .every = std::chrono::milliseconds(200),
                 .count = 5},
            Case{.name = "WatchBackToBack",
                 .arguments = {"--watch", "--every=0"},
                 .mode = Mode::Watch,
                 .every = std::chrono::milliseconds(0)},
            Case{.name = "List", .arguments = {"--list"}, .mode = Mode::List},
            Case{.name = "QueryAndFind",
                 .arguments = {"--find", "-q"},
                 .mode = Mode::Query,
                 .usageError = "--query and --find cannot be used together."},
            Case{.name = "WatchAndList",
                 .arguments = {"--list", "--watch"},
                 .mode = Mode::Watch,
                 .usageError = "--watch and --list cannot be used together."}};
}

inline std::vector<Case> fieldCases() {
    return {Case{.name = "FillTheWindow",
                 .arguments = {"--port", "/dev/ttyUSB0", "--config", "9600,e,7,2", "--wait", "300"},
                 .port = "/dev/ttyUSB0",
                 .config = "9600,e,7,2",
                 .wait = "300"},
            Case{.name = "WithEqualsSigns",
                 .arguments = {"-q", "--wait=100", "--port=12", "--config=4800,o,7,1.5"},
                 .mode = Mode::Query,
                 .port = "12",
                 .config = "4800,o,7,1.5",
                 .wait = "100"},
            Case{.name = "OneGivenTheOthersInitial",
                 .arguments = {"-q", "--config", "9600,n,8,1"},
                 .mode = Mode::Query,
                 .config = "9600,n,8,1"},
            Case{.name = "LastGivenWins", .arguments = {"--port", "1", "--port", "2"}, .port = "2"},
            Case{.name = "NonAsciiAsUtf8",
                 .arguments = {"--port", "/dev/balança"},
                 .port = "/dev/balança"}};
}

inline std::vector<Case> outputCases() {
    return {Case{.name = "Raw",
                 .arguments = {"-q", "--raw"},
                 .mode = Mode::Query,
                 .output = Output::Raw},
            Case{.name = "Hex",
                 .arguments = {"--hex", "--query"},
                 .mode = Mode::Query,
                 .output = Output::Hex},
            Case{.name = "Reading",
                 .arguments = {"-q", "--reading"},
                 .mode = Mode::Query,
                 .output = Output::Reading},
            Case{.name = "Json",
                 .arguments = {"-q", "--json"},
                 .mode = Mode::Query,
                 .output = Output::Json},
            Case{.name = "WatchHex",
                 .arguments = {"--watch", "--hex"},
                 .mode = Mode::Watch,
                 .output = Output::Hex},
            Case{.name = "WatchReading",
                 .arguments = {"--reading", "--watch"},
                 .mode = Mode::Watch,
                 .output = Output::Reading},
            Case{.name = "WatchCsv",
                 .arguments = {"--watch", "--csv"},
                 .mode = Mode::Watch,
                 .output = Output::Csv},
            Case{.name = "CsvWithQuery",
                 .arguments = {"-q", "--csv"},
                 .mode = Mode::Query,
                 .usageError = "--csv needs --watch."},
            Case{.name = "CsvWithFind",
                 .arguments = {"--find", "--csv"},
                 .mode = Mode::Find,
                 .usageError = "--csv needs --watch."},
            Case{.name = "CsvAndJson",
                 .arguments = {"--watch", "--csv", "--json"},
                 .mode = Mode::Watch,
                 .usageError = "--json and --csv cannot be used together."},
            Case{.name = "HexAndCsv",
                 .arguments = {"--watch", "--csv", "--hex"},
                 .mode = Mode::Watch,
                 .usageError = "--hex and --csv cannot be used together."},
            Case{.name = "FindJson",
                 .arguments = {"--find", "--json"},
                 .mode = Mode::Find,
                 .output = Output::Json,
                 .wait = "600"},
            Case{.name = "RawWithoutQuery",
                 .arguments = {"--raw"},
                 .usageError = "--raw needs --query."},
            Case{.name = "HexWithoutQuery",
                 .arguments = {"--port", "7", "--hex"},
                 .usageError = "--hex needs --query or --watch."},
            Case{.name = "RawWithWatch",
                 .arguments = {"--watch", "--raw"},
                 .mode = Mode::Watch,
                 .usageError = "--raw needs --query."},
            Case{.name = "ReadingWithFind",
                 .arguments = {"--find", "--reading"},
                 .mode = Mode::Find,
                 .usageError = "--reading needs --query or --watch."},
            Case{.name = "JsonWithList",
                 .arguments = {"--list", "--json"},
                 .mode = Mode::List,
                 .usageError = "--json needs --query, --watch or --find."},
            Case{.name = "RawAndHex",
                 .arguments = {"-q", "--hex", "--raw"},
                 .mode = Mode::Query,
                 .usageError = "--raw and --hex cannot be used together."},
            Case{.name = "ReadingAndJson",
                 .arguments = {"-q", "--json", "--reading"},
                 .mode = Mode::Query,
                 .usageError = "--reading and --json cannot be used together."}};
}

inline std::vector<Case> refusalCases() {
    return {Case{.name = "Positional",
                 .arguments = {"-q", "/dev/ttyUSB0"},
                 .mode = Mode::Query,
                 .usageError = "Unexpected argument '/dev/ttyUSB0'" + kPositional},
            Case{.name = "AfterTheEndOfOptions",
                 .arguments = {"--", "-q"},
                 .usageError = "Unexpected argument '-q'" + kPositional},
            Case{.name = "MissingValue",
                 .arguments = {"-q", "--port"},
                 .mode = Mode::Query,
                 .usageError = "Missing value after '--port'."},
            Case{.name = "UnknownLong",
                 .arguments = {"-q", "--bogus"},
                 .mode = Mode::Query,
                 .usageError = "Unknown option 'bogus'."},
            Case{.name = "UnknownLetter", .arguments = {"-x"}, .usageError = "Unknown option 'x'."},
            Case{.name = "AllWithoutFind",
                 .arguments = {"-q", "--all"},
                 .mode = Mode::Query,
                 .usageError = "--all needs --find."},
            Case{.name = "EveryWithoutWatch",
                 .arguments = {"--every", "100"},
                 .usageError = "--every needs --watch."},
            Case{.name = "CountWithQuery",
                 .arguments = {"-q", "--count", "3"},
                 .mode = Mode::Query,
                 .usageError = "--count needs --watch."},
            Case{.name = "ConfigWithFind",
                 .arguments = {"--find", "--config", "9600,n,8,1"},
                 .mode = Mode::Find,
                 .usageError = "--config cannot be used with --find or --list: --find tries "
                               "settings of its own."},
            Case{.name = "FindThroughARawSocket",
                 .arguments = {"--find", "--port", "SOCKET://balanca:4001"},
                 .mode = Mode::Find,
                 .port = "SOCKET://balanca:4001",
                 .wait = "600",
                 .usageError = "--find cannot search the settings through a raw socket "
                               "(socket://): the server's own settings hold. Use rfc2217:// if "
                               "the server speaks RFC 2217."},
            Case{.name = "PortWithList",
                 .arguments = {"--list", "--port", "5"},
                 .mode = Mode::List,
                 .usageError = "--port cannot be used with --list."},
            Case{.name = "UntilWithWait",
                 .arguments = {"-q", "--wait", "100", "--until", "300"},
                 .mode = Mode::Query,
                 .usageError = "--wait and --until cannot be used together."},
            Case{.name = "UntilWithFind",
                 .arguments = {"--find", "--until", "300"},
                 .mode = Mode::Find,
                 .usageError = "--until needs --query or --watch."},
            Case{.name = "UnknownLetterBesideAWord",
                 .arguments = {"-platform", "xcb", "-x"},
                 .usageError = "Unknown options: platform, x."}};
}

// Qt's own window options (-platform, -style, -reverse, ...) are single words after one dash.
// They are refused here as unknown, but only a QApplication can tell: the window's start decides.
inline std::vector<Case> qtWordCases() {
    return {Case{.name = "OneWithAValue",
                 .arguments = {"-platform", "offscreen"},
                 .usageError = "Unknown option 'platform'.",
                 .mayBeQtOptions = true},
            Case{.name = "TwoBesideOurs",
                 .arguments = {"-reverse", "--wait", "300", "-style", "fusion"},
                 .usageError = "Unknown options: reverse, style.",
                 .mayBeQtOptions = true},
            Case{.name = "WithQuery",
                 .arguments = {"-q", "-platform", "offscreen"},
                 .mode = Mode::Query,
                 .usageError = "Unknown option 'platform'.",
                 .mayBeQtOptions = true},
            Case{.name = "NotAfterTwoDashes",
                 .arguments = {"--platform", "offscreen"},
                 .usageError = "Unknown option 'platform'."},
            Case{.name = "NotBesideAnUnknownLong",
                 .arguments = {"-platform", "offscreen", "--bogus"},
                 .usageError = "Unknown options: platform, bogus."},
            // Ours take two dashes: "-query" is no second spelling of --query.
            Case{.name = "OursAfterOneDash",
                 .arguments = {"-query", "-port", "7"},
                 .mode = Mode::Query,
                 .usageError = "Unknown option '-query': long options take two dashes, "
                               "as in --query."},
            Case{.name = "OursAfterOneDashWithAValue",
                 .arguments = {"-q", "-port=7"},
                 .mode = Mode::Query,
                 .usageError = "Unknown option '-port': long options take two dashes, "
                               "as in --port."},
            Case{.name = "AValueLikeOursIsAValue",
                 .arguments = {"--port", "-query"},
                 .usageError = "--port takes plain digits 0-9, from 1 to 32767, or a "
                               "device path, not '-query'."},
            Case{.name = "LettersAreNotClustered",
                 .arguments = {"-qv"},
                 .usageError = "Unknown option 'qv'.",
                 .mayBeQtOptions = true}};
}

}  // namespace vardelmo::cli::cases
