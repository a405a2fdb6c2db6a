// The network line against fake servers on loopback that misbehave in one way each: every
// request ends with the whole reply or a clear failure, never a hang, and the connection is
// always given back.
#include "serial/network_line.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "query/weight_request.h"
#include "serial/call_canceller.h"
#include "serial/telnet_stream.h"
#include "tests/serial/failure_texts.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "tests/support/fake_server.h"

namespace vardelmo::serial {
namespace {

using namespace std::chrono_literals;
using test_support::Event;
using test_support::FakeServer;
using test_support::Peer;
using namespace telnet;

// Bounds kept short: these servers answer at once or never.
constexpr std::chrono::milliseconds kShortBound{300};

const std::string kFrame =
    "\x02"
    "01234\x03";

// Every byte value, IAC among them, 32 times over.
std::string everyByte() {
    std::string bytes;
    for (int round = 0; round < 32; ++round) {
        for (int b = 0; b < 256; ++b) {
            bytes += static_cast<char>(b);
        }
    }
    return bytes;
}

enum class Opening { Agree, RefuseOption, OtherBaud, Malformed, Silent };

struct Behaviour {
    bool telnet = false;  // an RFC 2217 server; else a raw socket
    Opening opening = Opening::Agree;
    std::string reply = {};   // data answering the enquiry, IAC doubled by a Telnet server
    std::string raw = {};     // bytes sent as they are after the reply
    bool closeAfter = false;  // the server closes the connection after its reply
};

// What the script saw, for the test to wait on.
struct Seen {
    Event answered;  // the server has done its part after the enquiry, or refused the opening
    std::atomic<bool> clientClosed{false};
};

char b(int value) {
    return static_cast<char>(value);
}

// An RFC 2217 server as small as the tests need: it agrees when asked, answers each setting
// with its own value (a baud of 4800 when told to refuse), and never answers modem controls.
bool negotiate(Peer& peer, const Behaviour& behaviour, std::string& data) {
    Decoder decoder;
    while (data.find('\x05') == std::string::npos) {
        const std::string got = peer.readSome();
        std::vector<Command> commands;
        if (got.empty() || !decoder.feed(got, data, commands)) {
            return false;
        }
        for (const auto& command : commands) {
            if (command.verb == kWill && command.option == kComPortOption) {
                const bool refuse = behaviour.opening == Opening::RefuseOption;
                (void)peer.write({b(kIac), b(refuse ? kDont : kDo), b(kComPortOption)});
                if (refuse) {
                    return false;
                }
            } else if (command.verb == kSb && command.option == kComPortOption &&
                       !command.payload.empty() && command.payload[0] >= 1 &&
                       command.payload[0] <= 4) {
                std::string value = command.payload.substr(1);
                if (command.payload[0] == 1 && behaviour.opening == Opening::OtherBaud) {
                    value = {b(0), b(0), b(0x12), b(0xC0)};
                }
                (void)peer.write(subnegotiation(kComPortOption,
                                                std::string{b(command.payload[0] + 100)} + value));
            }
        }
    }
    return true;
}

FakeServer::Script scriptFor(Behaviour behaviour, std::shared_ptr<Seen> seen) {
    return [behaviour, seen](Peer& peer) {
        const auto done = [&] {
            seen->answered.set();
            seen->clientClosed = peer.waitForClose();
        };
        if (behaviour.telnet && behaviour.opening == Opening::Malformed) {
            (void)peer.write({b(kIac), b(0x01)});
            return done();
        }
        if (behaviour.opening == Opening::Silent) {
            (void)peer.readSome();  // the client's first request, left unanswered
            return done();
        }
        std::string data;
        if (behaviour.telnet) {
            if (!negotiate(peer, behaviour, data)) {
                return done();
            }
        } else {
            while (data.find('\x05') == std::string::npos) {
                const std::string got = peer.readSome();
                if (got.empty()) {
                    return done();
                }
                data += got;
            }
        }
        (void)peer.write(behaviour.telnet ? escapeData(behaviour.reply) : behaviour.reply);
        (void)peer.write(behaviour.raw);
        if (behaviour.closeAfter) {
            seen->answered.set();
            return;
        }
        done();
    };
}

struct Fields final : query::Fields {
    std::string configText;
    std::string portText;
    std::string config() override { return configText; }
    std::string port() override { return portText; }
    std::string wait() override { return "0"; }
};

struct FailureAt {
    Step step;
    Reason reason;
};

struct ServerCase {
    const char* name;
    Behaviour server;
    std::string display = {};               // the reply shown, when the request succeeds
    std::optional<FailureAt> failure = {};  // else the failure
    friend void PrintTo(const ServerCase& c, std::ostream* os) { *os << c.name; }
};

class NetworkLineAgainstFakeServers : public testing::TestWithParam<ServerCase> {};

TEST_P(NetworkLineAgainstFakeServers, GiveTheWholeReplyOrAClearFailureAndFreeTheConnection) {
    const auto& c = GetParam();
    const auto seen = std::make_shared<Seen>();
    FakeServer server(scriptFor(c.server, seen));
    ASSERT_NE(server.port(), 0);
    NetworkLine line(kShortBound);
    Fields fields;
    fields.configText = "9600,n,8,1";
    const std::string address = std::string(c.server.telnet ? "rfc2217" : "socket") +
                                "://127.0.0.1:" + std::to_string(server.port());
    fields.portText = address;

    // The request's wait lasts until the server has answered, so the read finds it all.
    const auto outcome = query::runWeightRequest(
        fields, line, [&](std::chrono::milliseconds) { EXPECT_TRUE(seen->answered.wait()); });

    if (c.failure) {
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->description,
                  expectedText(c.failure->step, c.failure->reason, "porta " + address,
                               fields.configText));
        EXPECT_FALSE(outcome.display);
    } else {
        EXPECT_FALSE(outcome.failure) << outcome.failure->description;
        ASSERT_TRUE(outcome.display);
        EXPECT_EQ(test_support::escaped(*outcome.display), test_support::escaped(c.display));
    }
    ASSERT_TRUE(server.waitForFinished(1));
    if (!c.server.closeAfter) {
        EXPECT_TRUE(seen->clientClosed) << "the connection was left open";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NetworkLineAgainstFakeServers,
    testing::Values(
        ServerCase{"RawReply", {.reply = kFrame}, kFrame}, ServerCase{"RawSilence", {}, ""},
        ServerCase{"RawEightKilobytes", {.reply = everyByte()}, everyByte()},
        ServerCase{"RawClosesMidReply",
                   {.reply = "\x02"
                             "01",
                    .closeAfter = true},
                   "\x02"
                   "01"},
        ServerCase{"Rfc2217Reply", {.telnet = true, .reply = kFrame + "\xff"}, kFrame + "\xff"},
        ServerCase{"Rfc2217EightKilobytes", {.telnet = true, .reply = everyByte()}, everyByte()},
        ServerCase{"Rfc2217ClosesMidReply",
                   {.telnet = true, .reply = "\x02\xff", .closeAfter = true},
                   "\x02\xff"},
        ServerCase{"Rfc2217Silence", {.telnet = true}, ""},
        ServerCase{"Rfc2217NeverAnswers",
                   {.telnet = true, .opening = Opening::Silent},
                   {},
                   FailureAt{Step::Configure, Reason::NotRfc2217}},
        ServerCase{"Rfc2217OptionRefused",
                   {.telnet = true, .opening = Opening::RefuseOption},
                   {},
                   FailureAt{Step::Configure, Reason::NotRfc2217}},
        ServerCase{"Rfc2217BaudRefused",
                   {.telnet = true, .opening = Opening::OtherBaud},
                   {},
                   FailureAt{Step::Configure, Reason::BaudRefused}},
        ServerCase{"Rfc2217MalformedAtOpening",
                   {.telnet = true, .opening = Opening::Malformed},
                   {},
                   FailureAt{Step::Configure, Reason::MalformedTelnet}},
        ServerCase{"Rfc2217MalformedInReply",
                   {.telnet = true, .reply = kFrame, .raw = {b(kIac), b(kSe)}},
                   {},
                   FailureAt{Step::Read, Reason::MalformedTelnet}}),
    test_support::CaseName());

struct UnreachableCase {
    const char* name;
    std::function<std::string(test_support::FullServer&)> address;
    Reason reason;
    friend void PrintTo(const UnreachableCase& c, std::ostream* os) { *os << c.name; }
};

class NetworkLineUnreachable : public testing::TestWithParam<UnreachableCase> {};

TEST_P(NetworkLineUnreachable, FailsToOpenNamingTheAddressAndTheReason) {
    test_support::FullServer full;
    ASSERT_NE(full.port(), 0);
    const std::string address = GetParam().address(full);
    NetworkLine line(kShortBound);
    Fields fields;
    fields.configText = "2400,n,8,1";
    fields.portText = address;
    const auto outcome = query::runWeightRequest(fields, line, [](std::chrono::milliseconds) {
        ADD_FAILURE() << "waited on a port that did not open";
    });
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->description,
              expectedText(Step::Open, GetParam().reason, "porta " + address));
}

INSTANTIATE_TEST_SUITE_P(Table, NetworkLineUnreachable,
                         testing::Values(
                             // .invalid never resolves (RFC 6761).
                             UnreachableCase{
                                 "NameNotFound",
                                 [](auto&) { return std::string("socket://balanca.invalid:4001"); },
                                 Reason::NameNotFound},
                             UnreachableCase{"Refused",
                                             [](auto&) {
                                                 return "rfc2217://127.0.0.1:" +
                                                        std::to_string(test_support::refusedPort());
                                             },
                                             Reason::ConnectionRefused},
                             UnreachableCase{"NeverAccepted",
                                             [](test_support::FullServer& full) {
                                                 return "socket://127.0.0.1:" +
                                                        std::to_string(full.port());
                                             },
                                             Reason::NoConnection}),
                         test_support::CaseName());

// Closing the window interrupts the request and cancels its thread's calls: an opening that
// waits on a silent server ends then, long before its bound.
TEST(NetworkLineCancel, EndsAnOpeningThatWaitsOnTheServer) {
    const auto seen = std::make_shared<Seen>();
    FakeServer server(scriptFor({.telnet = true, .opening = Opening::Silent}, seen));
    query::Interruption interruption;
    query::Outcome outcome{std::string("not ended"), std::nullopt};
    Event ended;
    std::thread request([&] {
        const CallCanceller canceller;
        interruption.setCanceller([&canceller] { canceller.cancel(); });
        NetworkLine line(10 * test_support::kPatience);
        Fields fields;
        fields.configText = "2400,n,8,1";
        fields.portText = "rfc2217://127.0.0.1:" + std::to_string(server.port());
        outcome = query::runWeightRequest(fields, line, interruption);
        interruption.setCanceller({});
        ended.set();
    });
    // Once the server has the client's first request, the client waits for its answer.
    EXPECT_TRUE(seen->answered.wait());
    interruption.interrupt();
    const bool endedInTime = ended.wait();
    request.join();
    EXPECT_TRUE(endedInTime);
    EXPECT_FALSE(outcome.display);
    EXPECT_FALSE(outcome.failure);
    ASSERT_TRUE(server.waitForFinished(1));
    EXPECT_TRUE(seen->clientClosed);
}

}  // namespace
}  // namespace vardelmo::serial
