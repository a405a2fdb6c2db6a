// What each command line asks for, read as the program reads it before it creates any
// application object. The exit statuses and streams are the built program's: program_test.cpp.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "query/field_texts.h"
#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

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
    std::string request = "\x05";
    friend void PrintTo(const Case& c, std::ostream* os) {
        *os << "vardelmo";
        for (const char* argument : c.arguments) {
            *os << ' ' << argument;
        }
    }
};

class ReadCommandLine : public testing::TestWithParam<Case> {};

TEST_P(ReadCommandLine, GivesWhatTheLineAsksFor) {
    const Case& c = GetParam();
    QStringList arguments{"vardelmo"};
    for (const char* argument : c.arguments) {
        arguments << argument;
    }
    const CommandLine command = readCommandLine(arguments);
    // The mode picks what reports a refusal: the window's start or the command line.
    EXPECT_EQ(command.mode, c.mode);
    EXPECT_EQ(command.usageError.toStdString(), c.usageError);
    EXPECT_EQ(command.mayBeQtOptions, c.mayBeQtOptions);
    if (!c.usageError.empty()) {
        return;  // nothing else of a refused line is used
    }
    EXPECT_EQ(command.output, c.output);
    EXPECT_EQ(command.fields.portText, c.port);
    EXPECT_EQ(command.fields.configText, c.config);
    EXPECT_EQ(command.fields.waitText, c.wait);
    EXPECT_EQ(command.all, c.all);
    EXPECT_EQ(command.every, c.every);
    EXPECT_EQ(command.count, c.count);
    EXPECT_EQ(command.request, c.request);
}

const std::string kPositional =
    "; the port, settings and wait are given with --port, --config and --wait.";

INSTANTIATE_TEST_SUITE_P(
    Modes, ReadCommandLine,
    testing::Values(
        Case{.name = "NothingOpensTheWindow", .arguments = {}},
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
             .usageError = "--watch and --list cannot be used together."}),
    test_support::CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadCommandLine,
    testing::Values(
        Case{.name = "FillTheWindow",
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
        // Taken as typed: the request refuses an empty or negative text, in Portuguese.
        Case{.name = "EmptyIsGiven",
             .arguments = {"-q", "--port="},
             .mode = Mode::Query,
             .port = ""},
        Case{.name = "ValueStartingWithADash",
             .arguments = {"-q", "--wait", "-5"},
             .mode = Mode::Query,
             .wait = "-5"},
        Case{.name = "BlanksKept", .arguments = {"--port", " 5 "}, .port = " 5 "},
        Case{.name = "LastGivenWins", .arguments = {"--port", "1", "--port", "2"}, .port = "2"},
        Case{.name = "NonAsciiAsUtf8",
             .arguments = {"--port", "/dev/balança"},
             .port = "/dev/balança"}),
    test_support::CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Outputs, ReadCommandLine,
    testing::Values(Case{.name = "Raw",
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
                         .usageError = "--reading and --json cannot be used together."}),
    test_support::CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Refusals, ReadCommandLine,
    testing::Values(
        Case{.name = "Positional",
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
        Case{.name = "PortWithList",
             .arguments = {"--list", "--port", "5"},
             .mode = Mode::List,
             .usageError = "--port cannot be used with --list."},
        Case{.name = "EveryNotANumber",
             .arguments = {"--watch", "--every", "1s"},
             .mode = Mode::Watch,
             .usageError = "--every takes a whole number of milliseconds."},
        Case{.name = "EveryNegative",
             .arguments = {"--watch", "--every=-100"},
             .mode = Mode::Watch,
             .usageError = "--every takes a whole number of milliseconds."},
        Case{.name = "EveryTooLong",
             .arguments = {"--watch", "--every", "2147483648"},
             .mode = Mode::Watch,
             .usageError = "--every takes a whole number of milliseconds."},
        Case{.name = "CountZero",
             .arguments = {"--watch", "--count", "0"},
             .mode = Mode::Watch,
             .usageError = "--count takes a whole number from 1 up."},
        Case{.name = "CountSigned",
             .arguments = {"--watch", "--count", "+3"},
             .mode = Mode::Watch,
             .usageError = "--count takes a whole number from 1 up."},
        Case{.name = "RequestWithoutARequestMode",
             .arguments = {"--request", "P"},
             .usageError = "--request needs --query, --watch or --find."},
        Case{.name = "RequestThatSpellsNoBytes",
             .arguments = {"-q", "--request", "<ENQ"},
             .mode = Mode::Query,
             .usageError = "--request '<ENQ' does not spell bytes: a '<' opens no name (write "
                           "'<' itself as <3C>)."},
        Case{.name = "RequestSpelled",
             .arguments = {"--find", "--request", "<ENQ>D05"},
             .mode = Mode::Find,
             .wait = "600",
             .request = "\x05"
                        "D05"},
        Case{.name = "RequestEmptyOnlyListens",
             .arguments = {"--watch", "--request="},
             .mode = Mode::Watch,
             .request = ""},
        Case{.name = "UnknownLetterBesideAWord",
             .arguments = {"-platform", "xcb", "-x"},
             .usageError = "Unknown options: platform, x."}),
    test_support::CaseName{});

// Qt's own window options (-platform, -style, -reverse, ...) are single words after one dash.
// They are refused here as unknown, but only a QApplication can tell: the window's start decides.
INSTANTIATE_TEST_SUITE_P(
    QtWords, ReadCommandLine,
    testing::Values(Case{.name = "OneWithAValue",
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
                    // A single-dash word is a long option, never a cluster of letters.
                    Case{.name = "OursAfterOneDash",
                         .arguments = {"-query", "-port", "7"},
                         .mode = Mode::Query,
                         .port = "7"},
                    Case{.name = "LettersAreNotClustered",
                         .arguments = {"-qv"},
                         .usageError = "Unknown option 'qv'.",
                         .mayBeQtOptions = true}),
    test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli
