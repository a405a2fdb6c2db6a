#pragma once

namespace vardelmo::serial {

// Port naming and the stop bits a line can honour differ between systems; the
// platform is a parameter so both rule sets can be checked on any machine.
enum class Platform { Windows, Posix };

constexpr Platform hostPlatform() {
#ifdef _WIN32
    return Platform::Windows;
#else
    return Platform::Posix;
#endif
}

}  // namespace vardelmo::serial
