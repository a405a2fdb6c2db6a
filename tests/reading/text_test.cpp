// The Portuguese a technician reads and the ids scripts see.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "reading/reading.h"
#include "tests/reading/frame_builders.h"
#include "tests/support/case_name.h"

namespace vardelmo::reading {
namespace {

using test_support::CaseName;
using enum State;

struct LineCase {
    const char* name;
    Reading reading;
    std::string line;
    friend void PrintTo(const LineCase& c, std::ostream* os) { PrintTo(c.reading, os); }
};

class Lines : public testing::TestWithParam<LineCase> {};

TEST_P(Lines, AreWrittenAsTheDisplayDoes) {
    EXPECT_EQ(readingLine(GetParam().reading), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Lines,
    testing::Values(
        LineCase{"Stable",
                 {.protocol = "toledo-b", .weight = "1.234", .state = Stable},
                 "1,234 kg estável"},
        LineCase{"StateNotTold", {.protocol = "micheletti", .weight = "1.234"}, "1,234 kg"},
        LineCase{"NegativeNotToldOtherwise",
                 {.protocol = "siciliano", .weight = "-0.500", .state = Negative},
                 "-0,500 kg negativo"},
        LineCase{"Negative",
                 {.protocol = "p03", .weight = "-0.500", .state = Negative},
                 "-0,500 kg negativo"},
        LineCase{"Motion",
                 {.protocol = "st-gs", .weight = "1.234", .state = Motion},
                 "1,234 kg em movimento"},
        LineCase{"Overload", {.protocol = "p03", .state = Overload}, "sobrecarga"},
        LineCase{"MotionAlone", {.protocol = "toledo-b", .state = Motion}, "em movimento"},
        LineCase{"NegativeAlone", {.protocol = "toledo-c", .state = Negative}, "negativo"},
        LineCase{"StableAlone", {.protocol = "wt27r", .state = Stable}, "estável"},
        LineCase{
            "Whole", {.protocol = "p03", .weight = "12300", .state = Stable}, "12300 kg estável"},
        LineCase{"Grams",
                 {.protocol = "st-gs", .weight = "1234", .unit = "g", .state = Stable},
                 "1234 g estável"},
        LineCase{"Pounds",
                 {.protocol = "st-gs", .weight = "2.720", .unit = "lb", .state = Stable},
                 "2,720 lb estável"},
        LineCase{
            "PricesNotShown",
            {.protocol = "micheletti", .weight = "0.800", .price = "999.99", .total = "799.99"},
            "0,800 kg"}),
    CaseName());

struct NameCase {
    const char* name;
    std::string_view id;
    std::string text;
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.id; }
};

class Families : public testing::TestWithParam<NameCase> {};

TEST_P(Families, HaveTheirNames) {
    EXPECT_EQ(familyName(GetParam().id), GetParam().text);
}

TEST(Families, AreEveryProtocolListed) {
    const auto ids = protocolIds();
    EXPECT_EQ(std::vector<std::string_view>(ids.begin(), ids.end()),
              (std::vector<std::string_view>{
                  "toledo-b",    "toledo-c", "toledo-a", "p03",     "st-gs",     "micheletti",
                  "toledo-eth",  "bcs21",    "lider",    "urano",   "urano-pop", "magna",
                  "digitron-ul", "alfa",     "afts",     "muller",  "saturno",   "lucastec",
                  "precision",   "lenke",    "wt1000",   "wt27r",   "marel",     "capital",
                  "siciliano",   "condec",   "el05",     "tru-test"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Families,
    testing::Values(
        NameCase{"ToledoB", "toledo-b", "Toledo B"}, NameCase{"ToledoC", "toledo-c", "Toledo C"},
        NameCase{"ToledoA", "toledo-a", "Toledo A"}, NameCase{"P03", "p03", "P03"},
        NameCase{"StGs", "st-gs", "ST,GS"}, NameCase{"Micheletti", "micheletti", "Micheletti"},
        NameCase{"ToledoEth", "toledo-eth", "Toledo Ethernet"},
        NameCase{"Bcs21", "bcs21", "Toledo BCS21"}, NameCase{"Lider", "lider", "Lider"},
        NameCase{"Urano", "urano", "Urano"}, NameCase{"UranoPop", "urano-pop", "Urano POP"},
        NameCase{"Magna", "magna", "Magna"}, NameCase{"DigitronUl", "digitron-ul", "Digitron UL"},
        NameCase{"Alfa", "alfa", "Alfa"}, NameCase{"Afts", "afts", "AFTS"},
        NameCase{"Muller", "muller", "Muller"}, NameCase{"Saturno", "saturno", "Saturno"},
        NameCase{"Lucastec", "lucastec", "LucasTec"},
        NameCase{"Precision", "precision", "Precision"}, NameCase{"Lenke", "lenke", "Lenke LK2500"},
        NameCase{"Wt1000", "wt1000", "Weightech WT1000"},
        NameCase{"Wt27r", "wt27r", "Weightech WT27R"}, NameCase{"Marel", "marel", "Marel CG62XL"},
        NameCase{"Capital", "capital", "Capital"}, NameCase{"Siciliano", "siciliano", "Siciliano"},
        NameCase{"Condec", "condec", "Trentin Condec"}, NameCase{"El05", "el05", "Trentin EL05"},
        NameCase{"TruTest", "tru-test", "Weigh TRU-Test"},
        NameCase{"UnknownAsItIs", "toledo-x", "toledo-x"}),
    CaseName());

struct HintCase {
    const char* name;
    Hint hint;
    std::string_view id;
    std::string text;
    friend void PrintTo(const HintCase& c, std::ostream* os) { *os << c.id; }
};

class Hints : public testing::TestWithParam<HintCase> {};

TEST_P(Hints, HaveTheirIdAndText) {
    EXPECT_EQ(hintId(GetParam().hint), GetParam().id);
    EXPECT_EQ(hintText(GetParam().hint), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Hints,
    testing::Values(HintCase{"Empty", Hint::Empty, "empty", "sem resposta"},
                    HintCase{"SevenBits", Hint::SevenBits, "seven-bits", "7 bits e paridade?"},
                    HintCase{"Partial", Hint::Partial, "partial",
                             "quadro incompleto: espera curta?"},
                    HintCase{"Baud", Hint::Baud, "baud", "velocidade diferente?"},
                    HintCase{"Ack", Hint::Ack, "ack", "ACK sem peso"},
                    HintCase{"Unknown", Hint::Unknown, "unknown", "formato desconhecido"}),
    CaseName());

struct StateCase {
    const char* name;
    State state;
    std::string_view id;
    friend void PrintTo(const StateCase& c, std::ostream* os) { *os << c.id; }
};

class States : public testing::TestWithParam<StateCase> {};

TEST_P(States, HaveTheirId) {
    EXPECT_EQ(stateId(GetParam().state), GetParam().id);
}

INSTANTIATE_TEST_SUITE_P(Table, States,
                         testing::Values(StateCase{"Stable", Stable, "stable"},
                                         StateCase{"Motion", Motion, "motion"},
                                         StateCase{"Negative", Negative, "negative"},
                                         StateCase{"Overload", Overload, "overload"}),
                         CaseName());

}  // namespace
}  // namespace vardelmo::reading
