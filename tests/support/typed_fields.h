#pragma once

#include <string>

#include "query/weight_request.h"

namespace vardelmo::test_support {

// The window's three settings fields, as typed by an operator.
struct TypedFields : query::Fields {
    std::string configText = "2400,n,8,1";
    std::string portText;
    std::string waitText = "0";
    std::string config() override { return configText; }
    std::string port() override { return portText; }
    std::string wait() override { return waitText; }
};

}  // namespace vardelmo::test_support
