#pragma once

#include <termios.h>

#include <ostream>
#include <string>
#include <vector>

#include "serial/line_settings.h"

namespace vardelmo::serial {

struct SettingsCase {
    const char* name;
    std::string text;
    LineSettings expected;
    // Of the parity and stop-bit flags, those a pseudo-terminal shows once the settings reach
    // it: it keeps two stop bits (CSTOPB), odd or mark parity (PARODD) and mark or space
    // parity (CMSPAR), but drops parity itself (PARENB) and forces 8 data bits.
    tcflag_t terminalFlags;
    friend void PrintTo(const SettingsCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

inline constexpr tcflag_t kParityAndStopFlags = CSTOPB | PARODD | CMSPAR;

// Every settings text the line accepts off Windows, one shape of each.
inline const std::vector<SettingsCase> kAcceptedSettings{
    {"Default", "2400,n,8,1", {2400, Parity::None, 8, StopBits::One}, 0},
    {"EvenSevenTwo", "9600,E,7,2", {9600, Parity::Even, 7, StopBits::Two}, CSTOPB},
    {"OddFiveData", "300,o,5,1", {300, Parity::Odd, 5, StopBits::One}, PARODD},
    {"MarkSixData",
     "115200,M,6,2",
     {115200, Parity::Mark, 6, StopBits::Two},
     CSTOPB | PARODD | CMSPAR},
    {"SpaceParity", "1200,s,8,1", {1200, Parity::Space, 8, StopBits::One}, CMSPAR},
    {"CapitalNone", "14400,N,8,1", {14400, Parity::None, 8, StopBits::One}, 0},
    // Rates outside the usual list are the system's to judge at opening.
    {"UnusualRate", "31250,n,8,1", {31250, Parity::None, 8, StopBits::One}, 0},
    {"LargestRate", "2147483647,n,8,1", {2147483647, Parity::None, 8, StopBits::One}, 0},
};

}  // namespace vardelmo::serial
