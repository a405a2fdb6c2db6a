#pragma once

#include <string>

#include "query/weight_request.h"

namespace vardelmo::query {

// The fields' texts at every start; the command line takes them for the fields it is not given.
inline constexpr char kInitialPort[] = "5";
inline constexpr char kInitialConfig[] = "2400,n,8,1";
inline constexpr char kInitialWait[] = "0";

// The three fields' texts, held as copies: the window's as they stood at the press (the request
// runs on a thread of its own while the operator may go on typing), or the command line's.
struct FieldTexts final : Fields {
    std::string portText = kInitialPort;
    std::string configText = kInitialConfig;
    std::string waitText = kInitialWait;

    std::string config() override { return configText; }
    std::string port() override { return portText; }
    std::string wait() override { return waitText; }
};

}  // namespace vardelmo::query
