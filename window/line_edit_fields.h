#pragma once

#include <string>

#include "query/weight_request.h"

class QLineEdit;

namespace vardelmo::window {

// The window's settings fields, read at the moment the request asks for each.
class LineEditFields final : public query::Fields {
public:
    LineEditFields(const QLineEdit& config, const QLineEdit& port, const QLineEdit& wait)
        : config_(config), port_(port), wait_(wait) {}

    std::string config() override;
    std::string port() override;
    std::string wait() override;

private:
    const QLineEdit& config_;
    const QLineEdit& port_;
    const QLineEdit& wait_;
};

}  // namespace vardelmo::window
