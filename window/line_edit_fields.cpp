#include "window/line_edit_fields.h"

#include <QLineEdit>

namespace vardelmo::window {

LineEditFields::LineEditFields(const QLineEdit& config, const QLineEdit& port,
                               const QLineEdit& wait)
    : config_(config.text().toStdString()),
      port_(port.text().toStdString()),
      wait_(wait.text().toStdString()) {}

}  // namespace vardelmo::window
