#include "query/conversions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::query {
namespace {

using serial::Platform;
using test_support::CaseName;
using test_support::escaped;
using namespace std::chrono_literals;

struct PortCase {
    const char* name;
    std::string text;
    int expected;
    friend void PrintTo(const PortCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
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
    testing::Values(
        PortCase{"Plain", "5", 5}, PortCase{"SpacesAround", " 5 ", 5},
        PortCase{"SpacesBefore", "   12", 12}, PortCase{"PlusSign", "+7", 7},
        PortCase{"Negative", "-1", -1}, PortCase{"Zero", "0", 0},
        PortCase{"LeadingZeros", "007", 7}, PortCase{"Largest", "32767", 32767},
        PortCase{"Smallest", "-32768", -32768}, PortCase{"LargestWithFraction", "32767.4", 32767},
        PortCase{"SmallestWithHalf", "-32768.5", -32768},
        // Exact halves go to the even neighbour; anything past a half goes up.
        PortCase{"HalfToEvenBelow", "4.5", 4}, PortCase{"HalfToEvenAbove", "5.5", 6},
        PortCase{"HalfToZero", "0.5", 0}, PortCase{"NegativeHalfToZero", "-0.5", 0},
        PortCase{"NegativeHalfToEven", "-1.5", -2},
        PortCase{"JustPastAHalfGoesUp", "4.5000000000000000000001", 5},
        PortCase{"JustBelowAHalfGoesDown", "4.4999999999999999999999", 4},
        PortCase{"TrailingPoint", "5.", 5}, PortCase{"LeadingPoint", ".6", 1},
        PortCase{"Exponent", "1e1", 10}, PortCase{"CapitalExponentWithSign", "1E+2", 100},
        PortCase{"NegativeExponent", "25e-1", 2},
        PortCase{"NegativeExponentHalfToEven", "35e-1", 4},
        PortCase{"HugeNegativeExponent", "5e-99999999999999999999", 0},
        PortCase{"ZeroWithHugeExponent", "0e99999999999999999999", 0},
        PortCase{"LongFractionWithExponent", std::string("0.").append(52, '0').append("1e54"), 10},
        PortCase{"HundredThousandLeadingZeros", std::string(100000, '0') + "5", 5}),
    CaseName());

struct FailureCase {
    const char* name;
    std::string text;
    std::string description;
    friend void PrintTo(const FailureCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
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
        FailureCase{"Empty", "", "Porta inválida: \"\" não é um número."},
        FailureCase{"OnlySpaces", "   ", "Porta inválida: \"\" não é um número."},
        FailureCase{"Letters", "abc", "Porta inválida: \"abc\" não é um número."},
        FailureCase{"WindowsName", " COM5 ", "Porta inválida: \"COM5\" não é um número."},
        FailureCase{"TrailingLetter", "5a", "Porta inválida: \"5a\" não é um número."},
        FailureCase{"DecimalComma", "1,5", "Porta inválida: \"1,5\" não é um número."},
        FailureCase{"InnerSpace", "1 5", "Porta inválida: \"1 5\" não é um número."},
        FailureCase{"TrailingTab", "5\t", "Porta inválida: \"5\t\" não é um número."},
        FailureCase{"HexPrefix", "&H10", "Porta inválida: \"&H10\" não é um número."},
        FailureCase{"LoneSign", "+", "Porta inválida: \"+\" não é um número."},
        FailureCase{"LonePoint", ".", "Porta inválida: \".\" não é um número."},
        FailureCase{"ExponentWithoutDigits", "1e", "Porta inválida: \"1e\" não é um número."},
        FailureCase{"AboveTheRange", "40000",
                    "Porta inválida: 40000 está fora do intervalo de -32768 a 32767."},
        FailureCase{"JustAboveTheRange", "32768",
                    "Porta inválida: 32768 está fora do intervalo de -32768 a 32767."},
        FailureCase{"HalfAboveTheLargest", "32767.5",
                    "Porta inválida: 32767.5 está fora do intervalo de -32768 a 32767."},
        FailureCase{"JustBelowTheRange", "-32769",
                    "Porta inválida: -32769 está fora do intervalo de -32768 a 32767."},
        FailureCase{"HugeExponent", "1e99999999999999999999",
                    "Porta inválida: 1e99999999999999999999 está fora do intervalo de -32768 a "
                    "32767."},
        FailureCase{"SixtyDigitsShownAsForty", std::string(60, '9'),
                    "Porta inválida: " + std::string(40, '9') +
                        "... está fora do intervalo de -32768 a 32767."}),
    CaseName());

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
    const char* name;
    std::string text;
    std::chrono::milliseconds expected;
    friend void PrintTo(const WaitCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
};

class Waits : public testing::TestWithParam<WaitCase> {};

TEST_P(Waits, TakeTheNumberAtTheStartAndNeverFailOnText) {
    const auto result = convertWait(GetParam().text);
    ASSERT_TRUE(result) << result.description();
    EXPECT_EQ(result.value(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Waits,
    testing::Values(
        WaitCase{"Zero", "0", 0ms}, WaitCase{"Empty", "", 0ms}, WaitCase{"Letters", "abc", 0ms},
        WaitCase{"LettersFirst", "ms250", 0ms}, WaitCase{"UnitAfter", "250ms", 250ms},
        WaitCase{"DecimalCommaStops", "1,5", 1ms}, WaitCase{"FractionDown", "1.4", 1ms},
        WaitCase{"FractionUp", "1.6", 2ms}, WaitCase{"HalfToEvenBelow", "2.5", 2ms},
        WaitCase{"HalfToEvenAbove", "3.5", 4ms}, WaitCase{"Plain", "100", 100ms},
        WaitCase{"SpacesAndTabBefore", "  \t100", 100ms},
        WaitCase{"SecondNumberIgnored", "100 200", 100ms}, WaitCase{"PlusSign", "+20", 20ms},
        WaitCase{"Exponent", "1e3", 1000ms}, WaitCase{"ExponentThenUnit", "1e3ms", 1000ms},
        WaitCase{"ExponentWithoutDigits", "5e", 5ms},
        WaitCase{"ExponentSignWithoutDigits", "5e+", 5ms},
        WaitCase{"ExponentThenLetter", "5ex", 5ms}, WaitCase{"FractionWithExponent", "1.5e1", 15ms},
        WaitCase{"HalfToZero", ".5", 0ms}, WaitCase{"JustPastAHalf", ".51", 1ms},
        WaitCase{"LoneSign", "-", 0ms}, WaitCase{"LonePoint", ".", 0ms},
        WaitCase{"NegativeZero", "-0", 0ms}, WaitCase{"NegativeFractionToZero", "-0.4", 0ms},
        WaitCase{"NegativeHalfToZero", "-0.5", 0ms}, WaitCase{"HexPrefix", "&H10", 0ms},
        WaitCase{"Largest", "2147483647", 2147483647ms},
        WaitCase{"LargestWithFraction", "2147483647.4", 2147483647ms},
        WaitCase{"HighBytes", "\xE9\xFF", 0ms}, WaitCase{"NulFirst", std::string{'\0', '5'}, 0ms},
        WaitCase{"NulAfter", std::string{'7', '\0'}, 7ms}),
    CaseName());

class WaitFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(WaitFailures, NameTheNumberTaken) {
    const auto result = convertWait(GetParam().text);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.description(), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaitFailures,
    testing::Values(
        FailureCase{"AboveTheRange", "3000000000",
                    "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"AboveTheRangeWithUnit", " 3000000000ms",
                    "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"JustAboveTheRange", "2147483648",
                    "Espera inválida: 2147483648 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"HalfAboveTheLargest", "2147483647.5",
                    "Espera inválida: 2147483647.5 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"ExponentAboveTheRange", "1e10",
                    "Espera inválida: 1e10 está fora do intervalo de 0 a 2147483647 ms."},
        // Negative waits: the system wait has no sign, so these would block (nearly) for ever.
        FailureCase{"Negative", "-1",
                    "Espera inválida: -1 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"NegativeWithUnit", "-5ms",
                    "Espera inválida: -5 está fora do intervalo de 0 a 2147483647 ms."},
        FailureCase{"NegativeFraction", "-0.6",
                    "Espera inválida: -0.6 está fora do intervalo de 0 a 2147483647 ms."}),
    CaseName());

TEST(Trim, RemovesSpacesOnly) {
    EXPECT_EQ(trimSpaces("  2400,n,8,1  "), "2400,n,8,1");
    EXPECT_EQ(trimSpaces("\t5\n"), "\t5\n");
    EXPECT_EQ(trimSpaces(" 2400, n "), "2400, n");
    EXPECT_EQ(trimSpaces("    "), "");
}

}  // namespace
}  // namespace vardelmo::query
