#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "serial/line_settings.h"

namespace vardelmo::serial {

// Of the parity and stop-bit flags, those a pseudo-terminal shows once the settings reach it:
// it keeps two stop bits (CSTOPB), odd or mark parity (PARODD) and mark or space parity
// (CMSPAR), but drops parity itself (PARENB) and forces 8 data bits. Named here rather than
// taken from <termios.h>, so that the table also serves where there is no terminal.
enum TerminalFlags : unsigned { kNoFlag = 0, kCstopb = 1, kParodd = 2, kCmspar = 4 };

struct SettingsCase {
    const char* name;
    std::string text;
    LineSettings expected;
    unsigned terminalFlags;
    friend void PrintTo(const SettingsCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

// Every settings text the line accepts off Windows, one shape of each.
inline const std::vector<SettingsCase> kAcceptedSettings{
    {"Default", "2400,n,8,1", {2400, Parity::None, 8, StopBits::One}, kNoFlag},
    {"EvenSevenTwo", "9600,E,7,2", {9600, Parity::Even, 7, StopBits::Two}, kCstopb},
    {"OddFiveData", "300,o,5,1", {300, Parity::Odd, 5, StopBits::One}, kParodd},
    {"MarkSixData",
     "115200,M,6,2",
     {115200, Parity::Mark, 6, StopBits::Two},
     kCstopb | kParodd | kCmspar},
    {"SpaceParity", "1200,s,8,1", {1200, Parity::Space, 8, StopBits::One}, kCmspar},
    {"CapitalNone", "14400,N,8,1", {14400, Parity::None, 8, StopBits::One}, kNoFlag},
    // Rates outside the usual list are the system's to judge at opening.
    {"UnusualRate", "31250,n,8,1", {31250, Parity::None, 8, StopBits::One}, kNoFlag},
    {"LargestRate", "2147483647,n,8,1", {2147483647, Parity::None, 8, StopBits::One}, kNoFlag},
};

}  // namespace vardelmo::serial
