#include "query/conversions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vardelmo::query {
namespace {

using serial::Platform;
using namespace std::chrono_literals;

struct PortCase {
    std::string text;
    int expected;
    friend void PrintTo(const PortCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class PortNumbers : public testing::TestWithParam<PortCase> {};

TEST_P(PortNumbers, ConvertToTheNearestWholeNumber) {
    const auto result = convertPort(GetParam().text, Platform::Posix);
    ASSERT_TRUE(result) << result.description();
    ASSERT_TRUE(std::holds_alternative<std::int16_t>(result.value()));
    EXPECT_EQ(std::get<std::int16_t>(result.value()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortNumbers,
    testing::Values(PortCase{"5", 5}, PortCase{" 5 ", 5}, PortCase{"   12", 12}, PortCase{"+7", 7},
                    PortCase{"-1", -1}, PortCase{"0", 0}, PortCase{"007", 7},
                    PortCase{"32767", 32767}, PortCase{"-32768", -32768},
                    PortCase{"32767.4", 32767}, PortCase{"-32768.5", -32768},
                    // Exact halves go to the even neighbour; anything past a half goes up.
                    PortCase{"4.5", 4}, PortCase{"5.5", 6}, PortCase{"0.5", 0}, PortCase{"-0.5", 0},
                    PortCase{"-1.5", -2}, PortCase{"4.5000000000000000000001", 5},
                    PortCase{"4.4999999999999999999999", 4}, PortCase{"5.", 5}, PortCase{".6", 1},
                    PortCase{"1e1", 10}, PortCase{"1E+2", 100}, PortCase{"25e-1", 2},
                    PortCase{"35e-1", 4}, PortCase{"5e-99999999999999999999", 0},
                    PortCase{"0e99999999999999999999", 0},
                    PortCase{std::string("0.").append(52, '0').append("1e54"), 10},
                    PortCase{std::string(100000, '0') + "5", 5}));

struct FailureCase {
    std::string text;
    std::string description;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class PortFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(PortFailures, AreDescribedWithTheTrimmedText) {
    const auto result = convertPort(GetParam().text, Platform::Posix);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.description(), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortFailures,
    testing::Values(
        FailureCase{"", "Porta inválida: \"\" não é um número."},
        FailureCase{"   ", "Porta inválida: \"\" não é um número."},
        FailureCase{"abc", "Porta inválida: \"abc\" não é um número."},
        FailureCase{" COM5 ", "Porta inválida: \"COM5\" não é um número."},
        FailureCase{"5a", "Porta inválida: \"5a\" não é um número."},
        FailureCase{"1,5", "Porta inválida: \"1,5\" não é um número."},
        FailureCase{"1 5", "Porta inválida: \"1 5\" não é um número."},
        FailureCase{"5\t", "Porta inválida: \"5\t\" não é um número."},
        FailureCase{"&H10", "Porta inválida: \"&H10\" não é um número."},
        FailureCase{"+", "Porta inválida: \"+\" não é um número."},
        FailureCase{".", "Porta inválida: \".\" não é um número."},
        FailureCase{"1e", "Porta inválida: \"1e\" não é um número."},
        FailureCase{"40000", "Porta inválida: 40000 está fora do intervalo de -32768 a 32767."},
        FailureCase{"32768", "Porta inválida: 32768 está fora do intervalo de -32768 a 32767."},
        FailureCase{"32767.5", "Porta inválida: 32767.5 está fora do intervalo de -32768 a 32767."},
        FailureCase{"-32769", "Porta inválida: -32769 está fora do intervalo de -32768 a 32767."},
        FailureCase{"1e99999999999999999999",
                    "Porta inválida: 1e99999999999999999999 está fora do intervalo de -32768 a "
                    "32767."},
        FailureCase{std::string(60, '9'), "Porta inválida: " + std::string(40, '9') +
                                              "... está fora do intervalo de -32768 a 32767."}));

TEST(PortPaths, AreUsedAsTheyStandOnPosixOnly) {
    const auto path = convertPort("  /dev/pts/3 ", Platform::Posix);
    ASSERT_TRUE(path);
    EXPECT_EQ(std::get<std::string>(path.value()), "/dev/pts/3");

    const auto windows = convertPort("/dev/pts/3", Platform::Windows);
    ASSERT_FALSE(windows);
    EXPECT_EQ(windows.description(), "Porta inválida: \"/dev/pts/3\" não é um número.");

    // Only a leading slash makes a path: a relative name is still a number that fails.
    EXPECT_FALSE(convertPort("dev/ttyS0", Platform::Posix).ok());
}

struct WaitCase {
    std::string text;
    std::chrono::milliseconds expected;
    friend void PrintTo(const WaitCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class Waits : public testing::TestWithParam<WaitCase> {};

TEST_P(Waits, TakeTheNumberAtTheStartAndNeverFailOnText) {
    const auto result = convertWait(GetParam().text);
    ASSERT_TRUE(result) << result.description();
    EXPECT_EQ(result.value(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Waits,
    testing::Values(WaitCase{"0", 0ms}, WaitCase{"", 0ms}, WaitCase{"abc", 0ms},
                    WaitCase{"ms250", 0ms}, WaitCase{"250ms", 250ms}, WaitCase{"1,5", 1ms},
                    WaitCase{"1.4", 1ms}, WaitCase{"1.6", 2ms}, WaitCase{"2.5", 2ms},
                    WaitCase{"3.5", 4ms}, WaitCase{"100", 100ms}, WaitCase{"  \t100", 100ms},
                    WaitCase{"100 200", 100ms}, WaitCase{"+20", 20ms}, WaitCase{"1e3", 1000ms},
                    WaitCase{"1e3ms", 1000ms}, WaitCase{"5e", 5ms}, WaitCase{"5e+", 5ms},
                    WaitCase{"5ex", 5ms}, WaitCase{"1.5e1", 15ms}, WaitCase{".5", 0ms},
                    WaitCase{".51", 1ms}, WaitCase{"-", 0ms}, WaitCase{".", 0ms},
                    WaitCase{"-0", 0ms}, WaitCase{"-0.4", 0ms}, WaitCase{"-0.5", 0ms},
                    WaitCase{"&H10", 0ms}, WaitCase{"2147483647", 2147483647ms},
                    WaitCase{"2147483647.4", 2147483647ms}, WaitCase{"\xE9\xFF", 0ms},
                    WaitCase{std::string{'\0', '5'}, 0ms}, WaitCase{std::string{'7', '\0'}, 7ms}));

class WaitFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(WaitFailures, NameTheNumberTaken) {
    const auto result = convertWait(GetParam().text);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.description(), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaitFailures,
    testing::Values(
        FailureCase{"3000000000",
                    "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{" 3000000000ms",
                    "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"2147483648",
                    "Espera inválida: 2147483648 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"2147483647.5",
                    "Espera inválida: 2147483647.5 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"1e10", "Espera inválida: 1e10 está fora do intervalo de 0 a 2147483647 ms."},
        // Negative waits: the system wait has no sign, so these would block (nearly) for ever.
        FailureCase{"-1", "Espera inválida: -1 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"-5ms", "Espera inválida: -5 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"-0.6", "Espera inválida: -0.6 está fora do intervalo de 0 a 2147483647 ms."}));

TEST(Trim, RemovesSpacesOnly) {
    EXPECT_EQ(trimSpaces("  2400,n,8,1  "), "2400,n,8,1");
    EXPECT_EQ(trimSpaces("\t5\n"), "\t5\n");
    EXPECT_EQ(trimSpaces(" 2400, n "), "2400, n");
    EXPECT_EQ(trimSpaces("    "), "");
}

}  // namespace
}  // namespace vardelmo::query
