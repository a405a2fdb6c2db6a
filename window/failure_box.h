#pragma once

#include "query/weight_request.h"

class QWidget;

namespace vardelmo::window {

// Shows the report modally over `parent` and returns once it is dismissed.
void showFailureReport(QWidget* parent, const query::FailureReport& report);

}  // namespace vardelmo::window
