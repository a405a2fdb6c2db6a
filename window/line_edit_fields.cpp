#include "window/line_edit_fields.h"

#include <QLineEdit>

namespace vardelmo::window {

std::string LineEditFields::config() {
    return config_.text().toStdString();
}
std::string LineEditFields::port() {
    return port_.text().toStdString();
}
std::string LineEditFields::wait() {
    return wait_.text().toStdString();
}

}  // namespace vardelmo::window
