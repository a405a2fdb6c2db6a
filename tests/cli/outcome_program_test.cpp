// Every outcome (a reply, silence, a failure, a refused line, a reply that does not read) in
// every mode and form, through the built program with no display: the exit status the table
// in cli/exit_status.h promises, what each stream holds, and with --json the one schema's keys
// on every line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QStringList>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "tests/cli/headless_program.h"
#include "tests/cli/json_line.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using testing::AllOf;
using testing::Eq;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Matcher;
using testing::MatchesRegex;
using testing::StartsWith;

// What the scale does: answers, stays silent, or answers with a frame of no family we read.
enum class Scale { Answers, Silent, Unreadable };
constexpr char kPath[] = "@scale";  // the scale's path in arguments and expected texts
constexpr const char* kMissing = kMissingDevice;

struct Case {
    const char* name;
    Scale scale;
    std::vector<std::string> arguments;
    int status;
    Matcher<std::string> out;
    Matcher<std::string> err;
    QStringList extraKeys = {};  // with --json: beside the schema's, on every line...
    QStringList lastKeys = {};   // ...or on the last line only
    std::vector<std::string> environment = {};  // beside the English of a script's shell
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

const QStringList kSchema{"config", "error",   "hint", "port",   "reading",
                          "reply",  "request", "wait", "wait_ms"};

std::string replaced(std::string text, const std::string& path) {
    if (const auto at = text.find(kPath); at != std::string::npos) {
        text.replace(at, std::string_view(kPath).size(), path);
    }
    return text;
}

class Outcomes : public testing::TestWithParam<Case> {};

TEST_P(Outcomes, ExitWriteAndShapeAsDocumented) {
    const Case& c = GetParam();
    TemporaryHome home;
    ASSERT_TRUE(home.made());
    std::string error;
    const auto scale = openPromptScale(error);
    ASSERT_TRUE(scale) << error;
    if (c.scale == Scale::Silent) {
        scale->setState(vscale::State::Silent);
    } else if (c.scale == Scale::Unreadable) {
        scale->setFormat(vscale::Format::Status);
    }
    std::vector<std::string> arguments;
    for (const auto& argument : c.arguments) {
        arguments.push_back(
            replacedAll(replaced(argument, scale->path()), kMissingDevice, ownMissingDevice()));
    }
    const auto program = startProgram(arguments, home.path(), c.environment);
    ASSERT_TRUE(program->started());
    const std::string out = replacedAll(program->allOutput(), ownMissingDevice(), kMissingDevice);
    // The scale's path in the streams stands as @scale, so that the cases can name it.
    const std::string err =
        replacedAll(replacedAll(program->allErrors(), ownMissingDevice(), kMissingDevice),
                    scale->path(), kPath);
    EXPECT_EQ(program->exitStatus(), c.status) << "still running, or ended by a signal";
    EXPECT_THAT(out, c.out) << test_support::escaped(out);
    EXPECT_THAT(err, c.err);

    const bool json =
        std::find(c.arguments.begin(), c.arguments.end(), "--json") != c.arguments.end();
    if (!json || c.status == kBadUsage) {
        return;
    }
    std::istringstream lines(out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) {
        all.push_back(line);
    }
    ASSERT_FALSE(all.empty()) << "every outcome but a refusal writes its object";
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto object = parsedObject(all[i]);
        ASSERT_TRUE(object) << all[i];
        QStringList keys =
            kSchema + c.extraKeys + (i + 1 == all.size() ? c.lastKeys : QStringList{});
        keys.sort();
        EXPECT_EQ(object->keys(), keys) << all[i];
    }
}

Matcher<std::string> kNothing = IsEmpty();
const std::string kRefusal =
    "vardelmo: --wait takes plain digits 0-9, from 0 to 2147483647 ms, not 'x'.\n"
    "Try 'vardelmo --help'.\n";
const std::string kMissingText =
    "Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não encontrado.";
const std::string kSilence = "vardelmo: no reply within 100 ms on port @scale\n";
const char kTime[] = "[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}  ";

std::vector<std::string> query(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"-q", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
std::vector<std::string> watch(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"--watch", "--count", "2", "--every", "0", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
std::string twice(const std::string& text) {
    return "(" + std::string(kTime) + text + "\n){2}";
}

std::vector<std::string> find(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"--find", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
const std::string kUnread = "<STX>+  1.234G<ETX>";
const std::string kUnreadHex = "02 2b 20 20 31 2e 32 33 34 47 03";
const std::string kWatchSilence = "2 requests, 0 readings, 2 without reply, 0 failures.\n";
const std::string kWatchFailure = "2 requests, 0 readings, 0 without reply, 2 failures.\n";
const std::string kWatchUnread = "2 requests, 0 readings, 0 without reply, 0 failures.\n";
const std::string kWatchRead =
    "2 requests, 2 readings, 0 without reply, 0 failures; weight from 1,234 to 1,234 kg.\n";

// The prompt scale answers within a millisecond: a second's wait finds its reply however
// loaded the machine, and 100 ms are silence enough.
INSTANTIATE_TEST_SUITE_P(
    Query, Outcomes,
    testing::Values(
        Case{"Spelled", Scale::Answers, query({"--wait", "1000"}), kSucceeded,
             Eq("<STX>01234<ETX>\n"), kNothing},
        Case{"Raw", Scale::Answers, query({"--wait", "1000", "--raw"}), kSucceeded,
             Eq("\x02"
                "01234\x03"),
             kNothing},
        Case{"Hex", Scale::Answers, query({"--wait", "1000", "--hex"}), kSucceeded,
             Eq("02 30 31 32 33 34 03\n"), kNothing},
        Case{"Reading", Scale::Answers, query({"--wait", "1000", "--reading"}), kSucceeded,
             Eq("1,234 kg estável\n"), kNothing},
        Case{"Json", Scale::Answers, query({"--wait", "1000", "--json"}), kSucceeded,
             HasSubstr(R"("weight":"1.234"})"), kNothing},
        Case{"Until", Scale::Answers, query({"--until", "1000", "--reading"}), kSucceeded,
             Eq("1,234 kg estável\n"), kNothing},
        Case{"SpelledSilence", Scale::Silent, query({"--wait", "100"}), kNoReply, kNothing,
             Eq(kSilence)},
        Case{"RawSilence", Scale::Silent, query({"--wait", "100", "--raw"}), kNoReply, kNothing,
             Eq(kSilence)},
        Case{"HexSilence", Scale::Silent, query({"--wait", "100", "--hex"}), kNoReply, kNothing,
             Eq(kSilence)},
        Case{"ReadingSilence", Scale::Silent, query({"--wait", "100", "--reading"}), kNoReply,
             kNothing, Eq(kSilence)},
        Case{"JsonSilence", Scale::Silent, query({"--wait", "100", "--json"}), kNoReply,
             HasSubstr(R"("hint":"empty")"), Eq(kSilence)},
        Case{"UntilSilence", Scale::Silent, query({"--until", "100"}), kNoReply, kNothing,
             Eq(kSilence)},
        Case{"SpelledFailure", Scale::Answers, query({}, kMissing), kFailed, kNothing,
             Eq("vardelmo: " + kMissingText + "\n")},
        Case{"RawFailure", Scale::Answers, query({"--raw"}, kMissing), kFailed, kNothing,
             Eq("vardelmo: " + kMissingText + "\n")},
        Case{"HexFailure", Scale::Answers, query({"--hex"}, kMissing), kFailed, kNothing,
             Eq("vardelmo: " + kMissingText + "\n")},
        Case{"ReadingFailure", Scale::Answers, query({"--reading"}, kMissing), kFailed, kNothing,
             Eq("vardelmo: " + kMissingText + "\n")},
        Case{"JsonFailure", Scale::Answers, query({"--json"}, kMissing), kFailed,
             HasSubstr(R"("error":")" + kMissingText), Eq("vardelmo: " + kMissingText + "\n")},
        Case{"SpelledUsage", Scale::Answers, query({"--wait", "x"}), kBadUsage, kNothing,
             Eq(kRefusal)},
        Case{"JsonUsage", Scale::Answers, query({"--wait", "x", "--json"}), kBadUsage, kNothing,
             Eq(kRefusal)},
        // Only --reading asks that the reply read; the other forms write it as it came.
        Case{"SpelledUnread", Scale::Unreadable, query({"--wait", "1000"}), kSucceeded,
             Eq(kUnread + "\n"), kNothing},
        Case{"HexUnread", Scale::Unreadable, query({"--wait", "1000", "--hex"}), kSucceeded,
             Eq(kUnreadHex + "\n"), kNothing},
        Case{"ReadingUnread", Scale::Unreadable, query({"--wait", "1000", "--reading"}),
             kNotUnderstood, kNothing,
             Eq("vardelmo: reply not recognized (formato desconhecido): " + kUnread + "\n")},
        Case{"JsonUnread", Scale::Unreadable, query({"--wait", "1000", "--json"}), kSucceeded,
             HasSubstr(R"("hint":"unknown")"), kNothing}),
    test_support::CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Watch, Outcomes,
    testing::Values(
        Case{"Spelled", Scale::Answers, watch({"--wait", "1000"}), kSucceeded,
             MatchesRegex(twice("<STX>01234<ETX>")), Eq(kWatchRead)},
        Case{"Hex", Scale::Answers, watch({"--wait", "1000", "--hex"}), kSucceeded,
             MatchesRegex(twice("02 30 31 32 33 34 03")), Eq(kWatchRead)},
        Case{"Reading", Scale::Answers, watch({"--until", "1000", "--reading"}), kSucceeded,
             MatchesRegex(twice("1,234 kg estável")), Eq(kWatchRead)},
        Case{"Json",
             Scale::Answers,
             watch({"--wait", "1000", "--json"}),
             kSucceeded,
             HasSubstr(R"("weight":"1.234"})"),
             Eq(kWatchRead),
             {"time"}},
        Case{"SpelledSilence", Scale::Silent, watch({"--wait", "100"}), kNoReply,
             MatchesRegex(twice("\\(sem resposta\\)")), Eq(kWatchSilence)},
        Case{"ReadingSilence", Scale::Silent, watch({"--until", "100", "--reading"}), kNoReply,
             MatchesRegex(twice("\\(sem resposta\\)")), Eq(kWatchSilence)},
        Case{"JsonSilence",
             Scale::Silent,
             watch({"--wait", "100", "--json"}),
             kNoReply,
             HasSubstr(R"("hint":"empty")"),
             Eq(kWatchSilence),
             {"time"}},
        Case{"SpelledFailure", Scale::Answers, watch({}, kMissing), kFailed,
             MatchesRegex(twice("Deu Pau!: " + kMissingText)), Eq(kWatchFailure)},
        Case{"JsonFailure",
             Scale::Answers,
             watch({"--json"}, kMissing),
             kFailed,
             HasSubstr(R"("error":")" + kMissingText),
             Eq(kWatchFailure),
             {"time"}},
        Case{"Usage", Scale::Answers, watch({"--wait", "x"}), kBadUsage, kNothing, Eq(kRefusal)},
        // A reply came each time: that it does not read is the line's to say, not the status's.
        Case{"ReadingUnread", Scale::Unreadable, watch({"--wait", "1000", "--reading"}), kSucceeded,
             MatchesRegex(twice("\\(formato desconhecido\\)")), Eq(kWatchUnread)},
        Case{"JsonUnread",
             Scale::Unreadable,
             watch({"--wait", "1000", "--json"}),
             kSucceeded,
             HasSubstr(R"("hint":"unknown")"),
             Eq(kWatchUnread),
             {"time"}}),
    test_support::CaseName{});

// A search's bound of 50 ms keeps fourteen silent tries short.
INSTANTIATE_TEST_SUITE_P(
    Find, Outcomes,
    testing::Values(
        Case{"Text", Scale::Answers, find({}), kSucceeded, Eq("2400,n,8,1\n"),
             Eq("2400,n,8,1: 1,234 kg estável (Toledo B)\n")},
        Case{"Json",
             Scale::Answers,
             find({"--json"}),
             kSucceeded,
             HasSubstr(R"("found":"2400,n,8,1")"),
             Eq("2400,n,8,1: 1,234 kg estável (Toledo B)\n"),
             {},
             {"found"}},
        Case{"TextSilence", Scale::Silent, find({"--wait", "50"}), kFailed, kNothing,
             HasSubstr("vardelmo: Nenhuma das 14 configurações tentadas deu leitura na porta "
                       "@scale.\n")},
        Case{"JsonSilence",
             Scale::Silent,
             find({"--wait", "50", "--json"}),
             kFailed,
             HasSubstr(R"("found":null)"),
             HasSubstr("vardelmo: Nenhuma das 14"),
             {},
             {"found"}},
        // The port that cannot be opened still has its object, and the last line its verdict.
        Case{"TextFailure", Scale::Answers, find({}, kMissing), kFailed, kNothing,
             Eq("vardelmo: " + kMissingText + "\n")},
        Case{"JsonFailure",
             Scale::Answers,
             find({"--json"}, kMissing),
             kFailed,
             HasSubstr(R"("error":")" + kMissingText),
             Eq("vardelmo: " + kMissingText + "\n"),
             {},
             {"found"}},
        Case{"Usage", Scale::Answers, find({"--wait", "x"}), kBadUsage, kNothing, Eq(kRefusal)},
        Case{"JsonUnread",
             Scale::Unreadable,
             find({"--wait", "50", "--json"}),
             kFailed,
             HasSubstr(R"("hint":"unknown")"),
             HasSubstr("formato desconhecido"),
             {},
             {"found"}}),
    test_support::CaseName{});

// The command line's own words follow the locale's language, read from LC_ALL, LC_MESSAGES and
// LANG (the first set), with no generated locale needed; the JSON's ids, the readings and the
// line's failures stay as they are.
const std::vector<std::string> kPortuguese{"LANG=pt_BR.UTF-8"};
INSTANTIATE_TEST_SUITE_P(
    Language, Outcomes,
    testing::Values(
        Case{.name = "HelpInPortuguese",
             .scale = Scale::Answers,
             .arguments = {"--help"},
             .status = kSucceeded,
             .out = AllOf(HasSubstr("Uso: "), HasSubstr("Pergunta à balança uma vez"),
                          HasSubstr("4 nenhuma resposta")),
             .err = kNothing,
             .environment = kPortuguese},
        Case{.name = "HelpInEnglish",
             .scale = Scale::Answers,
             .arguments = {"--help"},
             .status = kSucceeded,
             .out = AllOf(HasSubstr("Usage: "), HasSubstr("Ask the scale once"),
                          HasSubstr("4 no reply")),
             .err = kNothing},
        Case{.name = "QtsRefusalInPortuguese",
             .scale = Scale::Answers,
             .arguments = {"-q", "--port"},
             .status = kBadUsage,
             .out = kNothing,
             .err = Eq("vardelmo: Faltando valor após '--port'.\nExperimente 'vardelmo --help'.\n"),
             .environment = kPortuguese},
        Case{.name = "OurRefusalInPortuguese",
             .scale = Scale::Answers,
             .arguments = {"-q", "--wait", "1e3"},
             .status = kBadUsage,
             .out = kNothing,
             .err = Eq("vardelmo: --wait aceita só algarismos 0-9, de 0 a 2147483647 ms, não "
                       "'1e3'.\nExperimente 'vardelmo --help'.\n"),
             .environment = {"LC_MESSAGES=pt_BR.UTF-8"}},
        Case{.name = "NoDisplayInPortuguese",
             .scale = Scale::Answers,
             .arguments = {},
             .status = kBadUsage,
             .out = kNothing,
             .err = StartsWith("vardelmo: sem tela (DISPLAY): use --query\n"),
             .environment = {"LANG=pt"}},
        Case{.name = "SilenceInPortuguese",
             .scale = Scale::Silent,
             .arguments = query({"--wait", "100", "--json"}),
             .status = kNoReply,
             .out = HasSubstr(R"("hint":"empty")"),
             .err = Eq("vardelmo: sem resposta em 100 ms na porta @scale\n"),
             .environment = kPortuguese},
        Case{.name = "SummaryInPortuguese",
             .scale = Scale::Silent,
             .arguments = {"--watch", "--count", "1", "--port", kPath, "--wait", "100"},
             .status = kNoReply,
             .out = MatchesRegex(std::string(kTime) + "\\(sem resposta\\)\n"),
             .err = Eq("1 pedido, 0 leituras, 1 sem resposta, 0 falhas.\n"),
             .environment = kPortuguese},
        Case{.name = "NotRecognizedInPortuguese",
             .scale = Scale::Unreadable,
             .arguments = query({"--wait", "1000", "--reading"}),
             .status = kNotUnderstood,
             .out = kNothing,
             .err = Eq("vardelmo: resposta não reconhecida (formato desconhecido): " + kUnread +
                       "\n"),
             .environment = kPortuguese},
        // LC_ALL decides before LANG, as the C library has it.
        Case{.name = "LcAllBeforeLang",
             .scale = Scale::Answers,
             .arguments = {"-q", "--wait", "x"},
             .status = kBadUsage,
             .out = kNothing,
             .err = Eq(kRefusal),
             .environment = {"LANG=pt_BR.UTF-8", "LC_ALL=C.UTF-8"}}),
    test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli
