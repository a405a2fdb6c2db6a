#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vardelmo::test_support {

// Names each case of a table by its `name`, what the case checks, so that test listings stay
// one short line a case; PrintTo still shows the case's values when it fails.
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return std::string(info.param.name);
    }
};

}  // namespace vardelmo::test_support
