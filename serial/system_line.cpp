#include "serial/system_line.h"

#include "serial/qt_serial_line.h"

namespace vardelmo::serial {

std::unique_ptr<SerialLine> makeSystemLine() {
    return std::make_unique<QtSerialLine>();
}

}  // namespace vardelmo::serial
