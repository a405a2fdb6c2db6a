#pragma once

#include <string>

#include "query/weight_request.h"

class QLineEdit;

namespace vardelmo::window {

// The window's settings fields as they stood at the press. The request runs
// on a thread of its own while the operator may go on typing, so it reads
// these copies, never the fields themselves.
class LineEditFields final : public query::Fields {
public:
    LineEditFields(const QLineEdit& config, const QLineEdit& port, const QLineEdit& wait);

    std::string config() override { return config_; }
    std::string port() override { return port_; }
    std::string wait() override { return wait_; }

private:
    std::string config_;
    std::string port_;
    std::string wait_;
};

}  // namespace vardelmo::window
