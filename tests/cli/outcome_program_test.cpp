// Every outcome (a reply, silence, a failure, a refused line, a reply that does not read) in
// every mode and form, through the built program with no display: the exit status the table
// in cli/exit_status.h promises, what each stream holds, and with --json the one schema's keys
// on every line.
#include <algorithm>
#include <sstream>

#include "tests/cli/outcome_cases.h"

namespace vardelmo::cli::outcomes {
namespace {

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
        // Ten minutes' bound: only a read that ends once the reply reads ends within the test.
        Case{"Until", Scale::Answers, query({"--until", "600000", "--reading"}), kSucceeded,
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
        Case{"Reading", Scale::Answers, watch({"--until", "600000", "--reading"}), kSucceeded,
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
        Case{"Csv", Scale::Answers, watch({"--wait", "1000", "--csv"}), kSucceeded,
             MatchesRegex(sheet("1\\.234,kg,stable,toledo-b,02 30 31 32 33 34 03,")),
             Eq(kWatchRead)},
        Case{"CsvSilence", Scale::Silent, watch({"--wait", "100", "--csv"}), kNoReply,
             MatchesRegex(sheet(",,,,,")), Eq(kWatchSilence)},
        Case{"CsvFailure", Scale::Answers, watch({"--csv"}, kMissing), kFailed,
             MatchesRegex(sheet(",,,,," + kMissingText)), Eq(kWatchFailure)},
        Case{"CsvUnread", Scale::Unreadable, watch({"--wait", "1000", "--csv"}), kSucceeded,
             MatchesRegex(sheet(",,,," + kUnreadHex + ",")), Eq(kWatchUnread)},
        Case{"CsvWithQuery", Scale::Answers, query({"--csv"}), kBadUsage, kNothing,
             Eq("vardelmo: --csv needs --watch.\nTry 'vardelmo --help'.\n")},
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
        // Frames of no family Vardelmo knows: their settings are found, and do not read.
        Case{"TextUnread", Scale::Unreadable, find({"--wait", "50"}), kNotUnderstood,
             Eq("2400,n,8,1\n"),
             HasSubstr("vardelmo: formato desconhecido em 2400,n,8,1: " + kUnread + "\n")},
        Case{"JsonUnread",
             Scale::Unreadable,
             find({"--wait", "50", "--json"}),
             kNotUnderstood,
             HasSubstr(R"("found":"2400,n,8,1","hint":"unknown")"),
             HasSubstr("formato desconhecido em 2400,n,8,1"),
             {},
             {"found"}}),
    test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli::outcomes
