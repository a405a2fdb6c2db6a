// The built program finding a scale's line settings (--find) and listing the ports (--list).
// Between the virtual scale and a client at another baud passes what each end's UART makes of
// the other's bits: an enquiry at the wrong baud goes unheard, a continuous scale's frames
// arrive as garbage. A pseudo-terminal keeps only the client's baud and stop bits, so every
// candidate at the scale's baud reads it, whatever its parity and data bits.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QJsonValue>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/cli/headless_program.h"
#include "tests/cli/json_line.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "tests/support/patience.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using namespace std::chrono_literals;

// The settings the search tries, in the order it must try them.
const std::vector<std::string> kCandidates = {
    "2400,n,8,1", "9600,n,8,1", "4800,n,8,1", "19200,n,8,1", "1200,n,8,1",
    "9600,e,7,1", "4800,e,7,1", "2400,e,7,1", "9600,o,7,1",  "4800,o,7,1",
    "2400,o,7,1", "9600,n,8,2", "4800,n,8,2", "2400,n,8,2"};

constexpr char kReading[] = "1,234 kg estável (Toledo B)";
constexpr char kSilence[] = "sem resposta";
constexpr char kScale[] = "@scale";  // stands for the scale's path in a case

// Standard error's line for each try, in order.
std::string tried(const std::vector<std::pair<std::string, std::string>>& tries) {
    std::string lines;
    for (const auto& [config, said] : tries) {
        lines += config + ": " + said + '\n';
    }
    return lines;
}

// Every candidate tried, those at `baud` reading the scale, the others hearing nothing.
std::string everyCandidateTried(std::string_view baud) {
    std::vector<std::pair<std::string, std::string>> tries;
    for (const auto& config : kCandidates) {
        tries.emplace_back(config, config.rfind(baud, 0) == 0 ? kReading : kSilence);
    }
    return tried(tries);
}

struct FindCase {
    const char* name;
    const char* scaleBaud;  // the scale's line is this baud, n, 8, 1
    std::chrono::milliseconds continuous{0};
    vscale::State state = vscale::State::Stable;
    std::vector<std::string> options{};  // after --find --port
    int status = 0;
    std::string out{};
    std::string err{};  // kScale in it stands for the scale's path
    std::size_t enquiries = 0;
    friend void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }
};

class FindThroughTheProgram : public testing::TestWithParam<FindCase> {
protected:
    TemporaryHome home_;
};

TEST_P(FindThroughTheProgram, PrintsTheSettingsThatGaveAReading) {
    const FindCase& c = GetParam();
    ASSERT_TRUE(home_.made());
    vscale::Options options;
    options.line.baud = static_cast<unsigned>(std::stoul(c.scaleBaud));
    options.continuous = c.continuous;
    options.state = c.state;
    std::string error;
    const auto scale = vscale::VirtualScale::open(options, error);
    ASSERT_TRUE(scale) << error;

    std::vector<std::string> arguments = {"--find", "--port", scale->path()};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const auto program = startProgram(arguments, home_.path());
    ASSERT_TRUE(program->started());
    const std::string out = program->allOutput();
    const std::string err = program->allErrors();
    EXPECT_EQ(program->exitStatus(), c.status);
    EXPECT_EQ(out, c.out);
    std::string expectedErr = c.err;
    if (const auto at = expectedErr.find(kScale); at != std::string::npos) {
        expectedErr.replace(at, std::string_view(kScale).size(), scale->path());
    }
    EXPECT_EQ(err, expectedErr);
    // One enquiry a try, every try ended before the program did.
    EXPECT_EQ(scale->received(), std::string(c.enquiries, '\x05'));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FindThroughTheProgram,
    testing::Values(
        FindCase{.name = "At9600",
                 .scaleBaud = "9600",
                 .out = "9600,n,8,1\n",
                 .err = tried({{"2400,n,8,1", kSilence}, {"9600,n,8,1", kReading}}),
                 .enquiries = 2},
        FindCase{.name = "At4800",
                 .scaleBaud = "4800",
                 .out = "4800,n,8,1\n",
                 .err = tried({{"2400,n,8,1", kSilence},
                               {"9600,n,8,1", kSilence},
                               {"4800,n,8,1", kReading}}),
                 .enquiries = 3},
        // Its frames reach the first try garbled; the search must not take them for a reading.
        FindCase{.name = "ContinuousAt9600",
                 .scaleBaud = "9600",
                 .continuous = 100ms,
                 .out = "9600,n,8,1\n",
                 .err = tried({{"2400,n,8,1", "velocidade diferente?"}, {"9600,n,8,1", kReading}}),
                 .enquiries = 2},
        FindCase{.name = "EveryReadingAt9600",
                 .scaleBaud = "9600",
                 .options = {"--all", "--wait", "200"},
                 .out = "9600,n,8,1\n9600,e,7,1\n9600,o,7,1\n9600,n,8,2\n",
                 .err = everyCandidateTried("9600,"),
                 .enquiries = 14},
        FindCase{.name = "EveryReadingAt4800",
                 .scaleBaud = "4800",
                 .options = {"--all", "--wait", "200"},
                 .out = "4800,n,8,1\n4800,e,7,1\n4800,o,7,1\n4800,n,8,2\n",
                 .err = everyCandidateTried("4800,"),
                 .enquiries = 14},
        // A short bound keeps fourteen silent tries short.
        FindCase{.name = "SilentScale",
                 .scaleBaud = "2400",
                 .state = vscale::State::Silent,
                 .options = {"--wait", "100"},
                 .status = 1,
                 .out = "",
                 .err = everyCandidateTried("none") +
                        "vardelmo: Nenhuma das 14 configurações tentadas deu leitura na porta " +
                        kScale + ".\n",
                 .enquiries = 14}),
    test_support::CaseName{});

// With --json, standard output holds one object a try, as the query's JSON has them, and a
// last one with the settings found.
TEST(FindJsonThroughTheProgram, WritesOneObjectATry) {
    TemporaryHome home;
    ASSERT_TRUE(home.made());
    vscale::Options options;
    options.line.baud = 9600;
    std::string error;
    const auto scale = vscale::VirtualScale::open(options, error);
    ASSERT_TRUE(scale) << error;

    const auto program = startProgram({"--find", "--port", scale->path(), "--json"}, home.path());
    ASSERT_TRUE(program->started());
    const std::string out = program->allOutput();
    EXPECT_EQ(program->allErrors(), tried({{"2400,n,8,1", kSilence}, {"9600,n,8,1", kReading}}));
    EXPECT_EQ(program->exitStatus(), 0);

    const QString port = QString::fromStdString(scale->path());
    const auto object = [&](const char* json) {
        QJsonObject o = *parsedObject(json);
        o.insert("port", port);
        o.insert("wait", "600");
        o.insert("wait_ms", 600);
        o.insert("request", "<ENQ>");
        o.insert("error", QJsonValue::Null);
        return o;
    };
    const std::vector<QJsonObject> expected = {
        object(R"({"config":"2400,n,8,1","reply":"","reading":null,"hint":"empty"})"),
        object(R"({"config":"9600,n,8,1","reply":"02 30 31 32 33 34 03","reading":)"
               R"({"protocol":"toledo-b","weight":"1.234","unit":"kg","state":"stable"},)"
               R"("hint":null})"),
        object(R"({"config":null,"reply":null,"reading":null,"hint":null,"found":"9600,n,8,1"})")};
    std::istringstream lines(out);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const auto parsed = parsedObject(line);
        ASSERT_TRUE(parsed) << "line " << count + 1 << ": " << line;
        ASSERT_LT(count, expected.size()) << "one more: " << line;
        EXPECT_EQ(*parsed, expected[count]) << compact(*parsed);
    }
    EXPECT_EQ(count, expected.size()) << out;
}

// Each port present as "what to type<TAB>its description"; none: a line on standard error.
TEST(ListThroughTheProgram, WritesThePortsPresent) {
    TemporaryHome home;
    ASSERT_TRUE(home.made());
    const auto program = startProgram({"--list"}, home.path());
    ASSERT_TRUE(program->started());
    const std::string out = program->allOutput();
    const std::string err = program->allErrors();
    EXPECT_EQ(program->exitStatus(), 0);
    if (out.empty()) {
        EXPECT_EQ(err, "vardelmo: no serial port is present.\n");
        return;
    }
    EXPECT_EQ(err, "");
    EXPECT_EQ(out.back(), '\n') << test_support::escaped(out);
    std::istringstream lines(out);
    const std::regex entry("(/[^\t]+)\t[^\t]*");
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, entry)) << test_support::escaped(line);
        EXPECT_TRUE(std::filesystem::exists(match[1].str())) << line;
    }
}

}  // namespace
}  // namespace vardelmo::cli
