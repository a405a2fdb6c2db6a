// RFC 4180's records as a spreadsheet and Python's csv module read them back: a field is
// quoted exactly when it must be, and quoted fields keep every byte.
#include "cli/csv.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

struct Case {
    const char* name;
    std::vector<std::string_view> fields;
    std::string record;
};

class CsvRecord : public testing::TestWithParam<Case> {};

TEST_P(CsvRecord, QuotesOnlyWhatMustBeQuoted) {
    EXPECT_EQ(csvRecord(GetParam().fields), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CsvRecord,
    testing::Values(Case{"Plain", {"time", "1.234", "kg"}, "time,1.234,kg\r\n"},
                    Case{"EmptyFields", {"", "x", ""}, ",x,\r\n"},
                    Case{"OneEmptyField", {""}, "\r\n"},
                    Case{"Comma", {"9600,n,8,1", "b"}, "\"9600,n,8,1\",b\r\n"},
                    Case{"Quote", {"a \"b\" c"}, "\"a \"\"b\"\" c\"\r\n"},
                    Case{"OnlyAQuote", {"\""}, "\"\"\"\"\r\n"},
                    Case{"CarriageReturn", {"a\rb"}, "\"a\rb\"\r\n"},
                    Case{"LineFeed", {"linha 1\nlinha 2", "z"}, "\"linha 1\nlinha 2\",z\r\n"},
                    Case{"CrLfInAText", {"x\r\ny"}, "\"x\r\ny\"\r\n"},
                    // Blanks and other bytes are kept as they are: RFC 4180 quotes only these four.
                    Case{"BlanksAndUtf8", {" Não ", "\t"}, " Não ,\t\r\n"},
                    Case{"NulByte", {std::string_view("a\0b", 3)}, std::string("a\0b\r\n", 5)}),
    test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli
