#include "serial/system_line.h"

#ifdef _WIN32
#include "serial/win32_serial_line.h"
#else
#include "serial/qt_serial_line.h"
#endif

namespace vardelmo::serial {

std::unique_ptr<SerialLine> makeSystemLine() {
    // QSerialPort on Windows starts its reads from the completion of an event wait,
    // which Wine never delivers; the request's steps are synchronous and map one to
    // one onto synchronous Win32 calls, which wait for nothing of the kind.
#ifdef _WIN32
    return std::make_unique<Win32SerialLine>();
#else
    return std::make_unique<QtSerialLine>();
#endif
}

}  // namespace vardelmo::serial
