#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"

// The table of frames the scale sends, shared by the files that hold its cases.
namespace vardelmo::vscale {

struct FrameCase {
    const char* name;
    Format format;
    double kg;
    State state;
    std::string expected;
    friend void PrintTo(const FrameCase& c, std::ostream* os) {
        *os << formatName(c.format) << ' ' << c.kg << " kg " << stateName(c.state);
    }
};

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

// "02 30 ff" as its three bytes: the binary frames are written as hex, byte for byte.
inline std::string hex(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

}  // namespace vardelmo::vscale
