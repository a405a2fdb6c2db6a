#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "serial/qt_serial_line.h"
#include "tests/support/slave_probe.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::serial {

inline const std::string kFrame =
    "\x02"
    "01234\x03";

inline std::unique_ptr<vscale::VirtualScale> openScale(vscale::Options options = {}) {
    options.pace = false;  // the whole reply in one write: no timing in these tests
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    EXPECT_TRUE(scale) << error;
    return scale;
}

class QtSerialLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        scale = openScale();
        ASSERT_TRUE(scale);
        probe = std::make_unique<test_support::SlaveProbe>(scale->path());
        ASSERT_TRUE(probe->ok());
        ASSERT_TRUE(line.setSettings("2400,n,8,1"));
        ASSERT_TRUE(line.setPort(scale->path()));
    }

    void open() {
        const auto opened = line.setPortOpen(true);
        ASSERT_TRUE(opened) << opened.description();
    }

    std::string input() {
        auto bytes = line.getInput();
        EXPECT_TRUE(bytes) << bytes.description();
        return bytes ? std::move(bytes).value() : "not read";
    }

    std::unique_ptr<vscale::VirtualScale> scale;
    std::unique_ptr<test_support::SlaveProbe> probe;
    QtSerialLine line;
};

}  // namespace vardelmo::serial
