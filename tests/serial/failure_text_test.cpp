#include "serial/failure_text.h"

#include <gtest/gtest.h>

#include <ostream>

#include "tests/serial/failure_texts.h"
#include "tests/support/case_name.h"

namespace vardelmo::serial {

void PrintTo(const FailureTextCase& c, std::ostream* os) {
    *os << c.name;
}

namespace {

class FailureTexts : public testing::TestWithParam<FailureTextCase> {};

TEST_P(FailureTexts, AreWordForWordWhatTheOperatorReads) {
    const auto& c = GetParam();
    EXPECT_EQ(failureText(c.step, c.reason, "porta 5 (COM5)", "9600,e,7,1"),
              expectedText(c.step, c.reason, "porta 5 (COM5)", "9600,e,7,1"));
}

INSTANTIATE_TEST_SUITE_P(Table, FailureTexts, testing::ValuesIn(kFailureTexts),
                         test_support::CaseName());

}  // namespace
}  // namespace vardelmo::serial
