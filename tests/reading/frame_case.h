#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reading/reading.h"
#include "tests/support/escaped.h"

namespace vardelmo::reading::test {

// One frame and the reading it gives, byte for byte.
struct FrameCase {
    const char* name;
    std::string bytes;
    Reading expected;
    friend void PrintTo(const FrameCase& c, std::ostream* os) {
        *os << '"' << test_support::escaped(c.bytes) << '"';
    }
};

class Frames : public testing::TestWithParam<FrameCase> {};

}  // namespace vardelmo::reading::test
