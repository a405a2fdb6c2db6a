// The rules of a port on the network that need no socket: the address text, the Telnet stream,
// and the client's side of RFC 2217.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "serial/network_address.h"
#include "serial/port_name.h"
#include "serial/rfc2217_session.h"
#include "serial/telnet_stream.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::serial {
namespace {

using test_support::CaseName;
using test_support::escaped;
using namespace telnet;

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int v : values) {
        text += static_cast<char>(v);
    }
    return text;
}

struct AddressCase {
    const char* name;
    std::string text;
    NetworkScheme scheme = NetworkScheme::Socket;
    std::string host = {};
    int port = 0;
    std::string refusal = {};  // empty when the text is accepted
    friend void PrintTo(const AddressCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
};

class NetworkAddresses : public testing::TestWithParam<AddressCase> {};

TEST_P(NetworkAddresses, AreReadOrRefusedNamingTheBadPart) {
    const auto& c = GetParam();
    ASSERT_TRUE(namesNetworkPort(c.text));
    const auto parsed = parseNetworkAddress(c.text);
    if (!c.refusal.empty()) {
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.description(), "Porta inválida: " + c.refusal);
        return;
    }
    ASSERT_TRUE(parsed) << parsed.description();
    EXPECT_EQ(parsed.value(),
              (NetworkAddress{c.scheme, c.host, static_cast<std::uint16_t>(c.port)}));
    // The label the failure texts use names the address as typed, scheme in lower case.
    const auto again = parseNetworkAddress(addressText(parsed.value()));
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value(), parsed.value());
}

INSTANTIATE_TEST_SUITE_P(
    Table, NetworkAddresses,
    testing::Values(
        AddressCase{"RawIpv4", "socket://192.168.0.20:4001", NetworkScheme::Socket, "192.168.0.20",
                    4001},
        AddressCase{"Rfc2217Name", "rfc2217://balanca-3.fabrica.lan:2217", NetworkScheme::Rfc2217,
                    "balanca-3.fabrica.lan", 2217},
        AddressCase{"SchemeInCapitals", "RFC2217://localhost:1", NetworkScheme::Rfc2217,
                    "localhost", 1},
        AddressCase{"Ipv6", "socket://[::1]:65535", NetworkScheme::Socket, "::1", 65535},
        AddressCase{"Ipv6Full", "rfc2217://[2001:db8:0:0:0:0:2:1]:80", NetworkScheme::Rfc2217,
                    "2001:db8:0:0:0:0:2:1", 80},
        AddressCase{"Ipv6WithIpv4", "socket://[::ffff:10.0.0.1]:23", NetworkScheme::Socket,
                    "::ffff:10.0.0.1", 23},
        AddressCase{"NameWithFinalDot", "socket://scale.:23", NetworkScheme::Socket, "scale.", 23},
        AddressCase{.name = "NoPort",
                    .text = "socket://192.168.0.20",
                    .refusal = "falta \":PORTA\" (a porta TCP) depois do servidor em "
                               "\"socket://192.168.0.20\"."},
        AddressCase{.name = "PortZero",
                    .text = "socket://h:0",
                    .refusal = "a porta TCP \"0\" não é um número de 1 a 65535."},
        AddressCase{.name = "PortTooLarge",
                    .text = "socket://h:65536",
                    .refusal = "a porta TCP \"65536\" não é um número de 1 a 65535."},
        AddressCase{.name = "PortWithSign",
                    .text = "socket://h:+23",
                    .refusal = "a porta TCP \"+23\" não é um número de 1 a 65535."},
        AddressCase{.name = "PathAfterPort",
                    .text = "rfc2217://h:23/ttyS0",
                    .refusal = "a porta TCP \"23/ttyS0\" não é um número de 1 a 65535."},
        AddressCase{.name = "NoHost",
                    .text = "socket://:4001",
                    .refusal = "falta o endereço do servidor em \"socket://:4001\"."},
        AddressCase{.name = "Ipv4PartTooLarge",
                    .text = "socket://192.168.0.256:4001",
                    .refusal = "\"192.168.0.256\" não é um endereço IPv4 (quatro números de 0 a "
                               "255 separados por pontos)."},
        AddressCase{.name = "Ipv4ThreeParts",
                    .text = "socket://10.0.1:4001",
                    .refusal = "\"10.0.1\" não é um endereço IPv4 (quatro números de 0 a 255 "
                               "separados por pontos)."},
        AddressCase{.name = "Ipv4LeadingZero",
                    .text = "socket://10.0.0.010:4001",
                    .refusal = "\"10.0.0.010\" não é um endereço IPv4 (quatro números de 0 a 255 "
                               "separados por pontos)."},
        AddressCase{.name = "NameWithUnderscore",
                    .text = "socket://minha_balanca:4001",
                    .refusal = "\"minha_balanca\" não é um nome de servidor, um endereço IPv4 nem "
                               "um endereço IPv6 entre colchetes."},
        AddressCase{.name = "NameWithBlank",
                    .text = "socket://minha balanca:4001",
                    .refusal = "\"minha balanca\" não é um nome de servidor, um endereço IPv4 nem "
                               "um endereço IPv6 entre colchetes."},
        AddressCase{.name = "Ipv6WithoutBrackets",
                    .text = "socket://::1:4001",
                    .refusal = "falta o endereço do servidor em \"socket://::1:4001\"."},
        AddressCase{
            .name = "Ipv6Unclosed",
            .text = "socket://[::1:4001",
            .refusal = "falta o \"]\" que fecha o endereço IPv6 em \"socket://[::1:4001\"."},
        AddressCase{.name = "Ipv6TwoGaps",
                    .text = "socket://[1::2::3]:4001",
                    .refusal = "\"[1::2::3]\" não é um endereço IPv6."},
        AddressCase{.name = "Ipv6NineGroups",
                    .text = "socket://[1:2:3:4:5:6:7:8:9]:4001",
                    .refusal = "\"[1:2:3:4:5:6:7:8:9]\" não é um endereço IPv6."},
        AddressCase{.name = "Ipv6Zone",
                    .text = "socket://[fe80::1%eth0]:4001",
                    .refusal = "\"[fe80::1%eth0]\" não é um endereço IPv6."},
        AddressCase{.name = "Ipv6NotHex",
                    .text = "socket://[::g]:4001",
                    .refusal = "\"[::g]\" não é um endereço IPv6."},
        AddressCase{.name = "UserInfo",
                    .text = "socket://admin@10.0.0.1:4001",
                    .refusal = "\"admin@10.0.0.1\" não é um nome de servidor, um endereço IPv4 "
                               "nem um endereço IPv6 entre colchetes."}),
    CaseName());

TEST(NetworkPortLabel, NamesTheAddressAsTyped) {
    EXPECT_EQ(portLabel(Port{NetworkAddress{NetworkScheme::Rfc2217, "::1", 2217}}),
              "porta rfc2217://[::1]:2217");
    EXPECT_FALSE(namesNetworkPort("/dev/socket://x:1"));
    EXPECT_FALSE(namesNetworkPort("telnet://x:1"));
}

struct StreamCase {
    const char* name;
    std::vector<std::string> reads;  // the stream as the reads cut it
    std::string data;
    std::vector<Command> commands;
    bool broken = false;
    friend void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }
};

class TelnetStreams : public testing::TestWithParam<StreamCase> {};

TEST_P(TelnetStreams, AreTakenApartWhereverTheReadsCutThem) {
    const auto& c = GetParam();
    Decoder decoder;
    std::string data;
    std::vector<Command> commands;
    bool whole = true;
    for (const auto& read : c.reads) {
        whole = decoder.feed(read, data, commands) && whole;
    }
    EXPECT_EQ(!whole, c.broken);
    EXPECT_EQ(decoder.broken(), c.broken);
    EXPECT_EQ(escaped(data), escaped(c.data));
    EXPECT_EQ(commands, c.commands);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TelnetStreams,
    testing::Values(
        StreamCase{"PlainData",
                   {"\x02"
                    "01234\x03"},
                   "\x02"
                   "01234\x03",
                   {}},
        StreamCase{"DoubledIacIsOneDataByte",
                   {bytes({0x41, 255, 255, 0x42})},
                   bytes({0x41, 255, 0x42}),
                   {}},
        StreamCase{"DoubledIacCutBetweenReads",
                   {bytes({255}), bytes({255, 0x30})},
                   bytes({255, 0x30}),
                   {}},
        StreamCase{"NegotiationBetweenData",
                   {bytes({0x31, 255, kDo, 44, 0x32})},
                   "12",
                   {Command{kDo, 44, {}}}},
        StreamCase{"NegotiationCutBeforeItsOption",
                   {bytes({255, kWill}), bytes({3})},
                   "",
                   {Command{kWill, 3, {}}}},
        StreamCase{"SubnegotiationWithDoubledIac",
                   {bytes({255, kSb, 44, 101, 0, 0, 255, 255, 255, kSe})},
                   "",
                   {Command{kSb, 44, bytes({101, 0, 0, 255})}}},
        StreamCase{"SubnegotiationCutEverywhere",
                   {bytes({255}), bytes({kSb}), bytes({44}), bytes({107, 0}), bytes({255}),
                    bytes({kSe, 0x41})},
                   "A",
                   {Command{kSb, 44, bytes({107, 0})}}},
        StreamCase{"CommandWithoutOption", {bytes({255, 241, 0x41})}, "A", {Command{241, 0, {}}}},
        StreamCase{"IacBeforeNoCommand", {bytes({0x41, 255, 0x01, 0x42})}, "A", {}, true},
        StreamCase{"SeOutsideSubnegotiation", {bytes({255, kSe})}, "", {}, true},
        StreamCase{"IacInsideSubnegotiation", {bytes({255, kSb, 44, 1, 255, 0x30})}, "", {}, true},
        StreamCase{"SubnegotiationWithoutOption", {bytes({255, kSb, 255, kSe})}, "", {}, true},
        StreamCase{
            "EndlessSubnegotiation", {bytes({255, kSb, 44}) + std::string(300, 'x')}, "", {}, true},
        StreamCase{"NothingAfterBreaking", {bytes({255, 0x01}), "more data"}, "", {}, true}),
    CaseName());

TEST(TelnetData, HasEveryIacDoubledGoingOut) {
    EXPECT_EQ(escapeData(bytes({5, 255, 0, 255, 255})),
              bytes({5, 255, 255, 0, 255, 255, 255, 255}));
}

// The client's commands as RFC 2217 spells them, for 9600,e,7,1: SET-BAUDRATE (1) in network
// order, SET-DATASIZE (2), SET-PARITY (3) EVEN=3, SET-STOPSIZE (4) 1=1, then SET-CONTROL (5) no
// flow control (1), DTR on (8), RTS on (11).
const std::string kSettingsSent = bytes(
    {255, kSb, 44,  1,   0,   0,   0x25, 0x80, 255, kSe, 255, kSb, 44,  2,   7,   255, kSe, 255,
     kSb, 44,  3,   3,   255, kSe, 255,  kSb,  44,  4,   1,   255, kSe, 255, kSb, 44,  5,   1,
     255, kSe, 255, kSb, 44,  5,   8,    255,  kSe, 255, kSb, 44,  5,   11,  255, kSe});

const LineSettings kEven7{9600, Parity::Even, 7, StopBits::One};

// The server's answers to kSettingsSent, value for value.
std::vector<Command> answers() {
    return {Command{kSb, 44, bytes({101, 0, 0, 0x25, 0x80})}, Command{kSb, 44, bytes({102, 7})},
            Command{kSb, 44, bytes({103, 3})}, Command{kSb, 44, bytes({104, 1})}};
}

struct SessionCase {
    const char* name;
    std::vector<Command> server;  // what the server sends, in order
    std::string sentBack;         // the client's bytes after its opening
    bool ready = false;
    std::optional<Reason> failure = {};
    friend void PrintTo(const SessionCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<Command> joined(std::vector<Command> first, const std::vector<Command>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

class Rfc2217Sessions : public testing::TestWithParam<SessionCase> {};

TEST_P(Rfc2217Sessions, SetTheLineAndCheckTheAnswers) {
    const auto& c = GetParam();
    Rfc2217Session session;
    EXPECT_EQ(session.start(kEven7), bytes({255, kWill, 44}));
    std::string sent;
    for (const auto& command : c.server) {
        sent += session.handle(command);
    }
    EXPECT_EQ(escaped(sent), escaped(c.sentBack));
    EXPECT_EQ(session.ready(), c.ready);
    EXPECT_EQ(session.failure(), c.failure);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Rfc2217Sessions,
    testing::Values(
        SessionCase{"AgreedAndAnswered", joined({Command{kDo, 44, {}}}, answers()), kSettingsSent,
                    true},
        SessionCase{"AnswersInAnyOrder",
                    {Command{kDo, 44, {}}, answers()[3], answers()[1], answers()[0], answers()[2]},
                    kSettingsSent,
                    true},
        // ser2net in front of a pseudo-terminal: its modem state, nothing for DTR and RTS.
        SessionCase{"ModemNoticesAndNoControlAnswers",
                    joined({Command{kDo, 44, {}}, Command{kSb, 44, bytes({107, 0})}}, answers()),
                    kSettingsSent, true},
        SessionCase{"SettingsUnanswered", {Command{kDo, 44, {}}}, kSettingsSent, false},
        SessionCase{"NotAgreedYet", {}, "", false},
        SessionCase{"OptionRefused", {Command{kDont, 44, {}}}, "", false, Reason::NotRfc2217},
        SessionCase{"BaudRefused",
                    {Command{kDo, 44, {}}, Command{kSb, 44, bytes({101, 0, 0, 0x09, 0x60})}},
                    kSettingsSent,
                    false,
                    Reason::BaudRefused},
        SessionCase{"DataSizeRefused",
                    {Command{kDo, 44, {}}, answers()[0], Command{kSb, 44, bytes({102, 8})}},
                    kSettingsSent,
                    false,
                    Reason::DataBitsRefused},
        SessionCase{"ParityRefused",
                    {Command{kDo, 44, {}}, Command{kSb, 44, bytes({103, 1})}},
                    kSettingsSent,
                    false,
                    Reason::ParityRefused},
        SessionCase{"StopSizeRefused",
                    {Command{kDo, 44, {}}, Command{kSb, 44, bytes({104, 2})}},
                    kSettingsSent,
                    false,
                    Reason::StopBitsRefused},
        // BINARY and SUPPRESS-GO-AHEAD agreed to once each, everything else refused, and a
        // repeated request not answered again, so that two ends never loop.
        SessionCase{"ServerOptions",
                    {Command{kWill, kSuppressGoAhead, {}}, Command{kDo, kSuppressGoAhead, {}},
                     Command{kDo, kSuppressGoAhead, {}}, Command{kWill, 1, {}},
                     Command{kDont, 1, {}}, Command{kDo, kBinary, {}}, Command{kWill, kBinary, {}},
                     Command{kWill, kBinary, {}}, Command{kDo, 24, {}}, Command{kWill, 44, {}}},
                    bytes({255, kDo, 3,   255, kWill, 3,     255, kDont, 1,     255, kWill,
                           0,   255, kDo, 0,   255,   kWont, 24,  255,   kDont, 44}),
                    false},
        SessionCase{"AgreementRepeated",
                    joined({Command{kDo, 44, {}}, Command{kDo, 44, {}}}, answers()), kSettingsSent,
                    true}),
    CaseName());

TEST(Rfc2217Session, NewSettingsOnAnAgreedConnectionAreSetAndAnsweredAgain) {
    Rfc2217Session session;
    (void)session.start(LineSettings{});
    (void)session.handle(Command{kDo, 44, {}});
    EXPECT_EQ(session.change(kEven7), kSettingsSent);
    EXPECT_FALSE(session.ready());
    for (const auto& answer : answers()) {
        (void)session.handle(answer);
    }
    EXPECT_TRUE(session.ready());
}

}  // namespace
}  // namespace vardelmo::serial
