// The command line's own words follow the locale's language, through the built program: help,
// refusals (Qt's and ours) and messages, Portuguese or English.
#include "tests/cli/outcome_cases.h"

namespace vardelmo::cli::outcomes {
namespace {

// Read from LC_ALL, LC_MESSAGES and LANG (the first set), with no generated locale needed; the
// JSON's ids, the readings and the line's failures stay as they are.
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
}  // namespace vardelmo::cli::outcomes
