#pragma once

// The table of outcomes through the built program (outcome_program_test.cpp): its case, its
// fixture, and the texts its cases share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QStringList>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "tests/cli/headless_program.h"
#include "tests/cli/json_line.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli::outcomes {

using testing::AllOf;
using testing::Eq;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Matcher;
using testing::MatchesRegex;
using testing::StartsWith;

// What the scale does: answers, stays silent, or answers with a frame of no family we read.
enum class Scale { Answers, Silent, Unreadable };
constexpr char kPath[] = "@scale";  // the scale's path in arguments and expected texts
constexpr const char* kMissing = kMissingDevice;

struct Case {
    const char* name;
    Scale scale;
    std::vector<std::string> arguments;
    int status;
    Matcher<std::string> out;
    Matcher<std::string> err;
    QStringList extraKeys = {};  // with --json: beside the schema's, on every line...
    QStringList lastKeys = {};   // ...or on the last line only
    std::vector<std::string> environment = {};  // beside the English of a script's shell
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

const QStringList kSchema{"config", "error",   "hint", "port",   "reading",
                          "reply",  "request", "wait", "wait_ms"};

inline std::string replaced(std::string text, const std::string& path) {
    if (const auto at = text.find(kPath); at != std::string::npos) {
        text.replace(at, std::string_view(kPath).size(), path);
    }
    return text;
}

class Outcomes : public testing::TestWithParam<Case> {};

inline const Matcher<std::string> kNothing = IsEmpty();
const std::string kRefusal =
    "vardelmo: --wait takes plain digits 0-9, from 0 to 2147483647 ms, not 'x'.\n"
    "Try 'vardelmo --help'.\n";
const std::string kMissingText =
    "Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não encontrado.";
const std::string kSilence = "vardelmo: no reply within 100 ms on port @scale\n";
const char kTime[] = "[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}  ";

inline std::vector<std::string> query(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"-q", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
inline std::vector<std::string> watch(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"--watch", "--count", "2", "--every", "0", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
inline std::string twice(const std::string& text) {
    return std::string("(").append(kTime).append(text).append("\n){2}");
}

// --watch --csv's header and two records ending with `record`, after their ISO 8601 time.
inline std::string sheet(const std::string& record) {
    return "time,weight,unit,state,protocol,reply,error\r\n"
           "([0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}"
           "(Z|[+-][0-9]{2}:[0-9]{2})," +
           record + "\r\n){2}";
}

inline std::vector<std::string> find(std::vector<std::string> more, const char* port = kPath) {
    std::vector<std::string> arguments{"--find", "--port", port};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}
const std::string kUnread = "<STX>+  1.234G<ETX>";
const std::string kUnreadHex = "02 2b 20 20 31 2e 32 33 34 47 03";
const std::string kWatchSilence = "2 requests, 0 readings, 2 without reply, 0 failures.\n";
const std::string kWatchFailure = "2 requests, 0 readings, 0 without reply, 2 failures.\n";
const std::string kWatchUnread = "2 requests, 0 readings, 0 without reply, 0 failures.\n";
const std::string kWatchRead =
    "2 requests, 2 readings, 0 without reply, 0 failures; weight from 1,234 to 1,234 kg.\n";

}  // namespace vardelmo::cli::outcomes
