#pragma once

// The numbers of the command line table (command_line_cases.h).
#include <string>
#include <vector>

#include "tests/cli/command_line_cases.h"

namespace vardelmo::cli::cases {

// Every number of the command line is plain digits 0-9, checked before anything is sent; the
// window's fields keep their own conversion.
const std::string kMs = ", from 0 to 2147483647 ms, not '";
const std::string kPortRange = ", from 1 to 32767, or a device path, not '";

Case waitRefused(const char* name, const char* text) {
    return Case{.name = name,
                .arguments = {"-q", "--wait", text},
                .mode = Mode::Query,
                .usageError = "--wait takes plain digits 0-9" + kMs + text + "'."};
}
Case portRefused(const char* name, const char* text) {
    return Case{.name = name,
                .arguments = {"-q", "--port", text},
                .mode = Mode::Query,
                .usageError = "--port takes plain digits 0-9" + kPortRange + text + "'."};
}

inline std::vector<Case> numberCases() {
    return {waitRefused("WaitWord", "abc"), waitRefused("WaitEmpty", ""),
            waitRefused("WaitHex", "0x100"), waitRefused("WaitComma", "1,5"),
            waitRefused("WaitExponent", "1e3"), waitRefused("WaitUnit", "300ms"),
            waitRefused("WaitFullWidth", "\xef\xbc\x93\xef\xbc\x90\xef\xbc\x90"),
            waitRefused("WaitNegative", "-5"), waitRefused("WaitSigned", "+5"),
            waitRefused("WaitBlank", " 300"), waitRefused("WaitPastTheLongest", "2147483648"),
            waitRefused("WaitFarPast", "99999999999999999999999"),
            Case{.name = "WaitTheLongest",
                 .arguments = {"-q", "--wait", "2147483647"},
                 .mode = Mode::Query,
                 .wait = "2147483647"},
            Case{.name = "WaitLeadingZeros",
                 .arguments = {"-q", "--wait", "0300"},
                 .mode = Mode::Query,
                 .wait = "0300"},
            // A search's bound too: no fourteen tries of no time at all.
            Case{.name = "FindWaitWord",
                 .arguments = {"--find", "--wait", "abc"},
                 .mode = Mode::Find,
                 .usageError = "--wait takes plain digits 0-9" + kMs + "abc'."},
            // The window's too, before it opens.
            Case{.name = "WindowWaitWord",
                 .arguments = {"--wait", "abc"},
                 .usageError = "--wait takes plain digits 0-9" + kMs + "abc'."},
            Case{.name = "Until",
                 .arguments = {"-q", "--until", "300"},
                 .mode = Mode::Query,
                 .wait = "300",
                 .until = std::chrono::milliseconds(300)},
            Case{.name = "UntilWord",
                 .arguments = {"--watch", "--until", "1s"},
                 .mode = Mode::Watch,
                 .usageError = "--until takes plain digits 0-9" + kMs + "1s'."},
            portRefused("PortWord", "COM5"), portRefused("PortEmpty", ""),
            portRefused("PortZero", "0"), portRefused("PortPastTheHighest", "32768"),
            portRefused("PortNegative", "-1"), portRefused("PortBlanks", " 5 "),
            portRefused("PortFullWidth", "\xef\xbc\x95"), portRefused("PortRelativePath", "ttyS0"),
            Case{.name = "PortTheHighest",
                 .arguments = {"-q", "--port", "32767"},
                 .mode = Mode::Query,
                 .port = "32767"},
            Case{.name = "PortPath",
                 .arguments = {"-q", "--port", "/dev/tty USB"},
                 .mode = Mode::Query,
                 .port = "/dev/tty USB"},
            Case{.name = "EveryNotANumber",
                 .arguments = {"--watch", "--every", "1s"},
                 .mode = Mode::Watch,
                 .usageError = "--every takes plain digits 0-9" + kMs + "1s'."},
            Case{.name = "EveryNegative",
                 .arguments = {"--watch", "--every=-100"},
                 .mode = Mode::Watch,
                 .usageError = "--every takes plain digits 0-9" + kMs + "-100'."},
            Case{.name = "EveryTooLong",
                 .arguments = {"--watch", "--every", "2147483648"},
                 .mode = Mode::Watch,
                 .usageError = "--every takes plain digits 0-9" + kMs + "2147483648'."},
            Case{.name = "CountZero",
                 .arguments = {"--watch", "--count", "0"},
                 .mode = Mode::Watch,
                 .usageError = "--count takes plain digits 0-9, from 1 up, not '0'."},
            Case{.name = "CountSigned",
                 .arguments = {"--watch", "--count", "+3"},
                 .mode = Mode::Watch,
                 .usageError = "--count takes plain digits 0-9, from 1 up, not '+3'."},
            Case{.name = "CountTheMost",
                 .arguments = {"--watch", "--count", "18446744073709551615"},
                 .mode = Mode::Watch,
                 .count = 18446744073709551615u},
            Case{.name = "CountPastTheMost",
                 .arguments = {"--watch", "--count", "18446744073709551616"},
                 .mode = Mode::Watch,
                 .usageError = "--count takes plain digits 0-9, from 1 up, not "
                               "'18446744073709551616'."}};
}

}  // namespace vardelmo::cli::cases
