#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <variant>

#include "serial/line_settings.h"
#include "serial/port_list.h"
#include "serial/port_name.h"
#include "tests/serial/accepted_settings.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::serial {
namespace {

using test_support::CaseName;
using test_support::escaped;

class AcceptedSettings : public testing::TestWithParam<SettingsCase> {};

TEST_P(AcceptedSettings, AreRead) {
    const auto parsed = parseLineSettings(GetParam().text, Platform::Posix);
    ASSERT_TRUE(parsed) << parsed.description();
    EXPECT_EQ(parsed.value(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AcceptedSettings, testing::ValuesIn(kAcceptedSettings), CaseName());

struct RefusedCase {
    const char* name;
    std::string text;
    std::string reason;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
};

class RefusedSettings : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedSettings, AreDescribed) {
    const auto parsed = parseLineSettings(GetParam().text, Platform::Posix);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.description(),
              "Configuração inválida \"" + GetParam().text + "\": " + GetParam().reason + ".");
}

const std::string shape =
    "deve ter a forma velocidade,paridade,bits de dados,bits de parada (por exemplo 2400,n,8,1)";
const std::string rate = "a velocidade deve ser um número inteiro positivo";
const std::string parity = "a paridade deve ser n, e, o, m ou s";
const std::string dataBits = "os bits de dados devem ser 5, 6, 7 ou 8";
const std::string stopBits = "os bits de parada devem ser 1, 1.5 ou 2";

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedSettings,
    testing::Values(RefusedCase{"Empty", "", shape}, RefusedCase{"RateOnly", "2400", shape},
                    RefusedCase{"ThreeFields", "2400,n,8", shape},
                    RefusedCase{"TrailingComma", "2400,n,8,1,", shape},
                    RefusedCase{"FiveFields", "2400,n,8,1,1", shape},
                    RefusedCase{"Semicolons", "2400;n;8;1", shape},
                    RefusedCase{"ZeroRate", "0,n,8,1", rate},
                    RefusedCase{"NegativeRate", "-2400,n,8,1", rate},
                    RefusedCase{"PlusSignedRate", "+2400,n,8,1", rate},
                    RefusedCase{"FractionalRate", "2400.5,n,8,1", rate},
                    RefusedCase{"WordRate", "fast,n,8,1", rate},
                    RefusedCase{"NoRate", ",n,8,1", rate},
                    RefusedCase{"SpaceBeforeRate", " 2400,n,8,1", rate},
                    RefusedCase{"RateTooLarge", "2147483648,n,8,1", rate},
                    RefusedCase{"UnknownParity", "2400,x,8,1", parity},
                    RefusedCase{"NoParity", "2400,,8,1", parity},
                    RefusedCase{"ParityWord", "2400,no,8,1", parity},
                    RefusedCase{"SpaceBeforeParity", "2400, n,8,1", parity},
                    RefusedCase{"FourDataBits", "2400,n,4,1", dataBits},
                    RefusedCase{"NineDataBits", "2400,n,9,1", dataBits},
                    RefusedCase{"DataBitsLeadingZero", "2400,n,08,1", dataBits},
                    RefusedCase{"ZeroStopBits", "2400,n,8,0", stopBits},
                    RefusedCase{"ThreeStopBits", "2400,n,8,3", stopBits},
                    RefusedCase{"StopBitsWithPoint", "2400,n,8,1.0", stopBits},
                    RefusedCase{"SpaceAfterStopBits", "2400,n,8,1 ", stopBits},
                    RefusedCase{"OneAndAHalfStopBits", "2400,n,8,1.5",
                                "1.5 bits de parada não são suportados neste sistema"}),
    CaseName());

// Which stop bits go with which data bits differs between the systems: a POSIX terminal
// knows no 1.5 stop bits, and Windows' driver takes 1.5 only after 5 data bits and 2 only
// after more.
struct StopBitsCase {
    const char* name;
    std::string text;
    Platform platform;
    std::string refusal;  // empty: accepted
    friend void PrintTo(const StopBitsCase& c, std::ostream* os) {
        *os << '"' << c.text << (c.platform == Platform::Posix ? "\" on Posix" : "\" on Windows");
    }
};

class StopBitsWithDataBits : public testing::TestWithParam<StopBitsCase> {};

TEST_P(StopBitsWithDataBits, AreTakenAsTheSystemTakesThem) {
    const auto& c = GetParam();
    const auto parsed = parseLineSettings(c.text, c.platform);
    if (c.refusal.empty()) {
        ASSERT_TRUE(parsed) << parsed.description();
        EXPECT_EQ(parsed.value().stopBits, c.text.ends_with("1.5") ? StopBits::OneAndHalf
                                           : c.text.ends_with("2") ? StopBits::Two
                                                                   : StopBits::One);
    } else {
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.description(),
                  "Configuração inválida \"" + c.text + "\": " + c.refusal + ".");
    }
}

const std::string noOneAndHalfHere = "1.5 bits de parada não são suportados neste sistema";
const std::string oneAndHalfAfterFive = " bits de dados (1.5 só com 5 bits de dados)";
const std::string noTwoAfterFive =
    "o Windows não aceita 2 bits de parada com 5 bits de dados (com 5 bits de dados, use 1 ou "
    "1.5)";

INSTANTIATE_TEST_SUITE_P(
    Table, StopBitsWithDataBits,
    testing::Values(
        StopBitsCase{"OneAndHalfAfterFiveOnWindows", "2400,n,5,1.5", Platform::Windows, ""},
        StopBitsCase{"OneAndHalfAfterSixOnWindows", "2400,n,6,1.5", Platform::Windows,
                     "o Windows não aceita 1.5 bits de parada com 6" + oneAndHalfAfterFive},
        StopBitsCase{"OneAndHalfAfterSevenOnWindows", "2400,e,7,1.5", Platform::Windows,
                     "o Windows não aceita 1.5 bits de parada com 7" + oneAndHalfAfterFive},
        StopBitsCase{"OneAndHalfAfterEightOnWindows", "2400,n,8,1.5", Platform::Windows,
                     "o Windows não aceita 1.5 bits de parada com 8" + oneAndHalfAfterFive},
        StopBitsCase{"TwoAfterFiveOnWindows", "2400,n,5,2", Platform::Windows, noTwoAfterFive},
        StopBitsCase{"TwoAfterSixOnWindows", "2400,n,6,2", Platform::Windows, ""},
        StopBitsCase{"TwoAfterEightOnWindows", "2400,n,8,2", Platform::Windows, ""},
        StopBitsCase{"OneAfterFiveOnWindows", "2400,n,5,1", Platform::Windows, ""},
        StopBitsCase{"OneAndHalfAfterFiveOnPosix", "2400,n,5,1.5", Platform::Posix,
                     noOneAndHalfHere},
        StopBitsCase{"TwoAfterFiveOnPosix", "2400,n,5,2", Platform::Posix, ""},
        StopBitsCase{"TwoAfterEightOnPosix", "2400,n,8,2", Platform::Posix, ""}),
    CaseName());

struct NamingCase {
    const char* name;
    Port port;
    Platform platform;
    std::string device;  // empty: refused
    std::string label;
    friend void PrintTo(const NamingCase& c, std::ostream* os) {
        if (const auto* number = std::get_if<std::int16_t>(&c.port)) {
            *os << *number;
        } else {
            *os << '"' << std::get<std::string>(c.port) << '"';
        }
        *os << (c.platform == Platform::Posix ? " on Posix" : " on Windows");
    }
};

class PortNaming : public testing::TestWithParam<NamingCase> {};

TEST_P(PortNaming, GivesTheDeviceAndTheLabel) {
    const auto& c = GetParam();
    const auto device = portDevice(c.port, c.platform);
    EXPECT_EQ(device ? device.value() : "", c.device);
    EXPECT_EQ(portLabel(c.port, c.platform), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortNaming,
    testing::Values(
        NamingCase{"FirstOnPosix", std::int16_t{1}, Platform::Posix, "/dev/ttyS0",
                   "porta 1 (/dev/ttyS0)"},
        NamingCase{"FifthOnPosix", std::int16_t{5}, Platform::Posix, "/dev/ttyS4",
                   "porta 5 (/dev/ttyS4)"},
        NamingCase{"LargestOnPosix", std::int16_t{32767}, Platform::Posix, "/dev/ttyS32766",
                   "porta 32767 (/dev/ttyS32766)"},
        NamingCase{"FirstOnWindows", std::int16_t{1}, Platform::Windows, "COM1", "porta 1 (COM1)"},
        NamingCase{"FifthOnWindows", std::int16_t{5}, Platform::Windows, "COM5", "porta 5 (COM5)"},
        NamingCase{"TwelfthOnWindows", std::int16_t{12}, Platform::Windows, "COM12",
                   "porta 12 (COM12)"},
        NamingCase{"ZeroRefused", std::int16_t{0}, Platform::Posix, "", "porta 0"},
        NamingCase{"NegativeRefused", std::int16_t{-1}, Platform::Windows, "", "porta -1"},
        NamingCase{"SmallestRefused", std::int16_t{-32768}, Platform::Posix, "", "porta -32768"},
        NamingCase{"PathAsItStands", std::string("/dev/ttyUSB0"), Platform::Posix, "/dev/ttyUSB0",
                   "porta /dev/ttyUSB0"}),
    CaseName());

TEST(PortNaming, RefusalsSayWhy) {
    EXPECT_EQ(portDevice(std::int16_t{0}).description(),
              "Porta inválida: 0 não é o número de uma porta; as portas são numeradas a partir "
              "de 1.");
    EXPECT_EQ(portDevice(std::string()).description(),
              "Porta inválida: o caminho do dispositivo está vazio.");
}

struct PortEntryCase {
    const char* name;
    Platform platform;
    PortFacts facts;
    PortEntry expected;
    friend void PrintTo(const PortEntryCase& c, std::ostream* os) { *os << c.name; }
};

class PortEntries : public testing::TestWithParam<PortEntryCase> {};

TEST_P(PortEntries, OfferWhatTheFieldTakesAndWhatThePortIs) {
    EXPECT_EQ(portEntry(GetParam().facts, GetParam().platform), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortEntries,
    testing::Values(
        PortEntryCase{"UsbAdapterOnLinux",
                      Platform::Posix,
                      {"ttyUSB0", "/dev/ttyUSB0", "FTDI", "FT232R USB UART", 0x0403, 0x6001},
                      {"/dev/ttyUSB0", "FTDI FT232R USB UART (0403:6001)"}},
        PortEntryCase{"MakerRepeatedInTheProduct",
                      Platform::Posix,
                      {"ttyUSB1", "/dev/ttyUSB1", "Prolific", "Prolific USB-to-Serial Comm Port",
                       0x067B, 0x2303},
                      {"/dev/ttyUSB1", "Prolific USB-to-Serial Comm Port (067b:2303)"}},
        PortEntryCase{"NothingKnown",
                      Platform::Posix,
                      {"ttyS0", "/dev/ttyS0", "", "", std::nullopt, std::nullopt},
                      {"/dev/ttyS0", ""}},
        PortEntryCase{"IdsOnly",
                      Platform::Posix,
                      {"ttyACM0", "/dev/ttyACM0", "", "", 0x2341, 0x0043},
                      {"/dev/ttyACM0", "(2341:0043)"}},
        PortEntryCase{"ComPortByNumber",
                      Platform::Windows,
                      {"COM12", "", "", "Communications Port", std::nullopt, std::nullopt},
                      {"12", "Communications Port"}},
        PortEntryCase{"OtherNameAsItStands",
                      Platform::Windows,
                      {"CNCA0", "", "", "", std::nullopt, std::nullopt},
                      {"CNCA0", ""}},
        PortEntryCase{"NoNumberAfterCom",
                      Platform::Windows,
                      {"COM", "", "", "", std::nullopt, std::nullopt},
                      {"COM", ""}},
        PortEntryCase{"LeadingZeroIsNoNumber",
                      Platform::Windows,
                      {"COM05", "", "", "", std::nullopt, std::nullopt},
                      {"COM05", ""}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace vardelmo::serial
