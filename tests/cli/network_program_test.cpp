// The built program against a virtual scale behind real serial device servers written by
// others: Debian's ser2net (raw TCP and RFC 2217) and pyserial's RFC 2217 server. Over RFC 2217
// the settings reach the scale's pseudo-terminal, so the scale's UART model garbles a wrong
// baud as a cable would; over a raw socket the server's own settings hold whatever --config says.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "tests/cli/headless_program.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "tests/support/serial_servers.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

enum class Server { Ser2netRaw, Ser2netRfc2217, Pyserial };

constexpr char kAddress[] = "@address";  // stands for the server's address in a case

struct NetworkCase {
    const char* name;
    Server server;
    std::vector<std::string> arguments;  // kAddress where the port goes
    std::vector<int> statuses;           // any of them
    std::string out;                     // a regular expression for the whole output
    std::size_t enquiries = 1;           // as the scale received them
    friend void PrintTo(const NetworkCase& c, std::ostream* os) { *os << c.name; }
};

class ProgramThroughASerialServer : public testing::TestWithParam<NetworkCase> {
protected:
    TemporaryHome home_;
};

TEST_P(ProgramThroughASerialServer, ReadsTheScaleAsOnALocalPort) {
    const NetworkCase& c = GetParam();
    ASSERT_TRUE(home_.made());
    vscale::Options options;
    options.pace = false;
    options.delay = std::chrono::milliseconds(1);
    options.line.baud = 9600;
    std::string error;
    const auto scale = vscale::VirtualScale::open(options, error);
    ASSERT_TRUE(scale) << error;

    std::unique_ptr<test_support::Ser2net> ser2net;
    std::unique_ptr<test_support::PyserialServer> pyserial;
    std::string address;
    if (c.server == Server::Pyserial) {
        pyserial = std::make_unique<test_support::PyserialServer>(scale->path());
        ASSERT_TRUE(pyserial->started());
        address = "rfc2217://127.0.0.1:" + std::to_string(pyserial->port());
    } else {
        ser2net = std::make_unique<test_support::Ser2net>(scale->path());
        ASSERT_TRUE(ser2net->started());
        address = c.server == Server::Ser2netRaw
                      ? "socket://127.0.0.1:" + std::to_string(ser2net->rawPort())
                      : "rfc2217://[::ffff:127.0.0.1]:" + std::to_string(ser2net->rfc2217Port());
    }
    std::vector<std::string> arguments = c.arguments;
    for (auto& argument : arguments) {
        if (argument == kAddress) {
            argument = address;
        }
    }
    const auto program = startProgram(arguments, home_.path());
    ASSERT_TRUE(program->started());
    const std::string out = program->allOutput();
    const std::string err = program->allErrors();
    const auto status = program->exitStatus();
    ASSERT_TRUE(status);
    EXPECT_NE(std::find(c.statuses.begin(), c.statuses.end(), *status), c.statuses.end())
        << "exit " << *status << ", " << err;
    EXPECT_TRUE(std::regex_match(out, std::regex(c.out))) << test_support::escaped(out);
    // Only the enquiries reached the scale's line: the Telnet commands stayed with the server.
    EXPECT_EQ(test_support::escaped(scale->received()),
              test_support::escaped(std::string(c.enquiries, '\x05')));
}

const std::vector<std::string> kReadAt9600 = {"-q",         "--port", kAddress, "--config",
                                              "9600,n,8,1", "--wait", "300",    "--reading"};
const std::vector<std::string> kReadAt2400 = {"-q",         "--port", kAddress, "--config",
                                              "2400,n,8,1", "--wait", "300",    "--reading"};
const std::string kReading = "1,234 kg estável\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramThroughASerialServer,
    testing::Values(
        NetworkCase{"Ser2netRfc2217Reads", Server::Ser2netRfc2217, kReadAt9600, {0}, kReading},
        // The enquiry at 2400 reaches the scale garbled and goes unanswered: silence.
        NetworkCase{"Ser2netRfc2217AtAnotherBaud", Server::Ser2netRfc2217, kReadAt2400, {4}, ""},
        NetworkCase{"PyserialReads", Server::Pyserial, kReadAt9600, {0}, kReading},
        NetworkCase{"PyserialAtAnotherBaud", Server::Pyserial, kReadAt2400, {4}, ""},
        NetworkCase{
            "Ser2netRawKeepsItsOwnSettings", Server::Ser2netRaw, kReadAt2400, {0}, kReading},
        NetworkCase{"Ser2netRawHex",
                    Server::Ser2netRaw,
                    {"-q", "--port", kAddress, "--wait", "300", "--hex"},
                    {0},
                    "02 30 31 32 33 34 03\n"},
        NetworkCase{"Ser2netRfc2217Finds",
                    Server::Ser2netRfc2217,
                    {"--find", "--port", kAddress},
                    {0},
                    "9600,n,8,1\n",
                    2},
        NetworkCase{"PyserialFinds",
                    Server::Pyserial,
                    {"--find", "--port", kAddress},
                    {0},
                    "9600,n,8,1\n",
                    2},
        NetworkCase{"Ser2netRfc2217Watches",
                    Server::Ser2netRfc2217,
                    {"--watch", "--port", kAddress, "--config", "9600,n,8,1", "--wait", "200",
                     "--every", "0", "--count", "2", "--reading"},
                    {0},
                    "([0-9:.]{12}  1,234 kg estável\n){2}",
                    2}),
    test_support::CaseName());

}  // namespace
}  // namespace vardelmo::cli
