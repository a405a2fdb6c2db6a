#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "tests/cli/headless_program.h"

// The table of the weight as the built program reads it from the virtual scale, shared by the
// files that hold its cases.
namespace vardelmo::cli {

struct ReadingCase {
    const char* format;   // as --format names it
    const char* state;    // as --state names it
    const char* line;     // what --reading prints; null when the frame carries no reading
    const char* reading;  // the JSON's "reading"; null when there is none and the hint is empty
    const char* request = "<ENQ>";  // spelled, as --request takes it; "" for none
    friend void PrintTo(const ReadingCase& c, std::ostream* os) {
        *os << c.format << ' ' << c.state;
    }
};

// "toledo-b" as a test's name allows, "toledo_b".
inline std::string identifier(std::string text) {
    std::replace(text.begin(), text.end(), '-', '_');
    return text;
}

inline std::string caseName(const testing::TestParamInfo<ReadingCase>& info) {
    return identifier(std::string(info.param.format) + '_' + info.param.state);
}

class ReadingThroughTheProgram : public testing::TestWithParam<ReadingCase> {
protected:
    TemporaryHome home_;
};

}  // namespace vardelmo::cli
