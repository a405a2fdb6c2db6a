#include "query/weight_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "serial/platform.h"
#include "tests/support/case_name.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;
using test_support::CaseName;

// One log for the field reads, the line's operations and the wait, so their
// interleaving is checked as a whole.
using Log = std::vector<std::string>;

class RecordingFields : public Fields {
public:
    RecordingFields(Log& log, std::string config, std::string port, std::string wait)
        : log_(log), config_(std::move(config)), port_(std::move(port)), wait_(std::move(wait)) {}

    std::string config() override { return read("config", config_); }
    std::string port() override { return read("port", port_); }
    std::string wait() override { return read("wait", wait_); }

private:
    std::string read(const char* name, const std::string& text) {
        log_.push_back(std::string("read ") + name);
        return text;
    }
    Log& log_;
    std::string config_, port_, wait_;
};

enum class Step { Settings, Port, Open, Output, Input, Close, WaitForInput };

// A line that records what it was given and refuses the scripted steps.
class ScriptedLine : public serial::SerialLine {
public:
    ScriptedLine(Log& log, std::vector<Step> failing, std::string reply, std::string firstFailure)
        : log_(log),
          failing_(std::move(failing)),
          reply_(std::move(reply)),
          firstFailure_(std::move(firstFailure)) {}

    Result<void> setSettings(std::string_view settings) override {
        return step(Step::Settings, "settings " + std::string(settings));
    }
    Result<void> setPort(const serial::Port& port) override {
        const auto* number = std::get_if<std::int16_t>(&port);
        return step(Step::Port, "port " + (number ? std::to_string(*number)
                                                  : "path " + std::get<std::string>(port)));
    }
    Result<void> setPortOpen(bool open) override {
        if (!open) {
            auto status = step(Step::Close, "close");
            open_ = false;  // even a failed close leaves nothing to hold
            return status;
        }
        auto status = step(Step::Open, "open");
        open_ = status.ok();
        return status;
    }
    Result<void> setOutput(std::string_view bytes) override {
        return step(Step::Output, "output " + std::string(bytes));
    }
    Result<std::string> getInput() override {
        if (auto status = step(Step::Input, "input"); !status) {
            return Failure{status.description()};
        }
        return reply_;
    }
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override {
        if (auto status =
                step(Step::WaitForInput, "wait for input " + std::to_string(timeout.count()));
            !status) {
            return Failure{status.description()};
        }
        return !reply_.empty();
    }

    bool open() const { return open_; }

    // Called with each step's log entry once the step is done.
    std::function<void(const std::string&)> afterStep = [](const std::string&) {};

private:
    Result<void> step(Step which, std::string entry) {
        log_.push_back(entry);
        afterStep(entry);
        if (std::find(failing_.begin(), failing_.end(), which) != failing_.end()) {
            ++failures_;
            // A second failure (while closing after the first) must not replace the first.
            return Failure{failures_ == 1 ? firstFailure_ : "falha segunda"};
        }
        return {};
    }
    Log& log_;
    std::vector<Step> failing_;
    std::string reply_;
    std::string firstFailure_;
    bool open_ = false;
    int failures_ = 0;
};

struct Run {
    Log log;
    Outcome outcome;
    bool leftOpen = false;
};

Run run(std::vector<Step> failing, const std::string& config = " 2400,n,8,1 ",
        const std::string& port = "5", const std::string& wait = "0",
        const std::string& reply =
            "\x02"
            "01234\x03",
        const std::string& firstFailure = "falha primeira") {
    Run result;
    RecordingFields fields(result.log, config, port, wait);
    ScriptedLine line(result.log, std::move(failing), reply, firstFailure);
    result.outcome = runWeightRequest(fields, line, [&](std::chrono::milliseconds ms) {
        result.log.push_back("sleep " + std::to_string(ms.count()));
    });
    result.leftOpen = line.open();
    return result;
}

const Log fullRun{"read config", "settings 2400,n,8,1", "read port", "port 5", "open",
                  "output \x05", "read wait",           "sleep 0",   "input",  "close"};

TEST(WeightRequest, RunsTheStepsInOrderAndShowsTheReplyUnchanged) {
    const auto result =
        run({}, " 2400,n,8,1 ", "5", "0", std::string("\x02 01234\r\x03\0\xE9", 10));
    EXPECT_EQ(result.log, fullRun);
    EXPECT_EQ(result.outcome.display, std::string("\x02 01234\r\x03\0\xE9", 10));
    EXPECT_FALSE(result.outcome.failure);
    EXPECT_FALSE(result.leftOpen);
}

// What goes on the line: the request given (ENQ unless one is given), once; nothing at all
// for an empty one, which only listens.
struct RequestCase {
    const char* name;
    std::optional<std::string> request;  // none: the default
    std::vector<std::string> outputs;
    friend void PrintTo(const RequestCase& c, std::ostream* os) {
        *os << (c.request ? '"' + *c.request + '"' : "default");
    }
};

class RequestSent : public testing::TestWithParam<RequestCase> {};

TEST_P(RequestSent, OnceAsGiven) {
    const auto& c = GetParam();
    Log log;
    RecordingFields fields(log, "2400,n,8,1", "5", "0");
    ScriptedLine line(log, {}, "\x06", "falha primeira");
    const auto sleep = [](std::chrono::milliseconds) {};
    const auto outcome = c.request ? runWeightRequest(fields, line, sleep, *c.request)
                                   : runWeightRequest(fields, line, sleep);
    std::vector<std::string> outputs;
    for (const auto& entry : log) {
        if (entry.rfind("output ", 0) == 0) {
            outputs.push_back(entry.substr(7));
        }
    }
    EXPECT_EQ(outputs, c.outputs);
    EXPECT_EQ(outcome.display, "\x06");
    EXPECT_FALSE(line.open());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RequestSent,
    testing::Values(RequestCase{"DefaultIsOneEnquiryByte", std::nullopt, {std::string(1, '\x05')}},
                    RequestCase{"Letter", "P", {"P"}}, RequestCase{"Several", "{RW}", {"{RW}"}},
                    RequestCase{"EnquiryThenText",
                                "\x05"
                                "D05",
                                {"\x05"
                                 "D05"}},
                    RequestCase{"EmptyOnlyListens", "", {}}),
    CaseName());

TEST(WeightRequest, PassesPathsAndWaitsThrough) {
    // A device path where the system has them; elsewhere a port is a number only.
    const bool paths = serial::hostPlatform() == serial::Platform::Posix;
    const auto result = run({}, "9600,e,7,2", paths ? " /dev/pts/3 " : " 12 ", "250ms");
    ASSERT_EQ(result.log.size(), fullRun.size()) << testing::PrintToString(result.log);
    EXPECT_EQ(result.log[1], "settings 9600,e,7,2");
    EXPECT_EQ(result.log[3], paths ? "port path /dev/pts/3" : "port 12");
    EXPECT_EQ(result.log[7], "sleep 250");
    EXPECT_EQ(result.outcome.display,
              "\x02"
              "01234\x03");
}

TEST(WeightRequest, AnEmptyReplyEmptiesTheDisplay) {
    const auto result = run({}, "2400,n,8,1", "5", "0", "");
    EXPECT_EQ(result.outcome.display, "");
    EXPECT_FALSE(result.outcome.failure);
}

struct FailureCase {
    const char* name;
    std::vector<Step> failing;
    std::size_t stepsRun;  // entries of the full run's log reached, the failing one included
    bool closes;           // the port was opened, so the request closes it
    // A failure that says nothing is still a failure: the request stops all the same.
    std::string description = "falha primeira";
    friend void PrintTo(const FailureCase& c, std::ostream* os) {
        constexpr const char* names[] = {"Settings", "Port",  "Open",        "Output",
                                         "Input",    "Close", "WaitForInput"};
        *os << "failing";
        for (const Step step : c.failing) {
            *os << ' ' << names[static_cast<std::size_t>(step)];
        }
        *os << " with \"" << c.description << '"';
    }
};

class LineFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(LineFailures, StopTheRequestAndReportTheFirstFailure) {
    const auto& c = GetParam();
    const auto result = run(c.failing, " 2400,n,8,1 ", "5", "0", "01234", c.description);

    Log expected(fullRun.begin(), fullRun.begin() + static_cast<std::ptrdiff_t>(c.stepsRun));
    if (c.closes) {
        expected.push_back("close");
    }
    EXPECT_EQ(result.log, expected);
    ASSERT_TRUE(result.outcome.failure);
    EXPECT_EQ(result.outcome.failure->description, c.description);
    EXPECT_EQ(result.outcome.failure->title, "Deu Pau!");
    EXPECT_FALSE(result.outcome.display) << "the display keeps its old text";
    EXPECT_FALSE(result.leftOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineFailures,
    testing::Values(FailureCase{"Settings", {Step::Settings}, 2, false},
                    FailureCase{"Port", {Step::Port}, 4, false},
                    FailureCase{"Open", {Step::Open}, 5, false},
                    FailureCase{"Output", {Step::Output}, 6, true},
                    FailureCase{"Input", {Step::Input}, 9, true},
                    FailureCase{"OutputThenClose", {Step::Output, Step::Close}, 6, true},
                    FailureCase{"InputThenClose", {Step::Input, Step::Close}, 9, true},
                    FailureCase{"OpenWithoutDescription", {Step::Open}, 5, false, ""},
                    FailureCase{"InputWithoutDescription", {Step::Input}, 9, true, ""}),
    CaseName());

TEST(WeightRequest, AFailedCloseStillShowsTheReply) {
    const auto result = run({Step::Close});
    EXPECT_EQ(result.log, fullRun);
    EXPECT_EQ(result.outcome.display,
              "\x02"
              "01234\x03");
    ASSERT_TRUE(result.outcome.failure);
    EXPECT_EQ(result.outcome.failure->description, "falha primeira");
    EXPECT_EQ(result.outcome.failure->title, "Deu Pau!");
}

struct ConversionCase {
    const char* name;
    std::string port;
    std::string wait;
    Log log;
    std::string description;
    friend void PrintTo(const ConversionCase& c, std::ostream* os) {
        *os << "port \"" << c.port << "\" wait \"" << c.wait << '"';
    }
};

class ConversionFailures : public testing::TestWithParam<ConversionCase> {};

// A bad port fails before the opening, with the settings already handed over; a
// bad wait fails after the enquiry went out, and the port is closed again.
TEST_P(ConversionFailures, EndInTheReportAtTheirOwnStep) {
    const auto& c = GetParam();
    const auto result = run({}, "2400,n,8,1", c.port, c.wait);
    EXPECT_EQ(result.log, c.log);
    ASSERT_TRUE(result.outcome.failure);
    EXPECT_EQ(result.outcome.failure->description, c.description);
    EXPECT_FALSE(result.outcome.display);
    EXPECT_FALSE(result.leftOpen);
}

const Log beforeOpening{"read config", "settings 2400,n,8,1", "read port"};
const Log afterEnquiry{"read config", "settings 2400,n,8,1", "read port", "port 5",
                       "open",        "output \x05",         "read wait", "close"};

INSTANTIATE_TEST_SUITE_P(
    Table, ConversionFailures,
    testing::Values(
        ConversionCase{"EmptyPort", "", "0", beforeOpening,
                       "Porta inválida: \"\" não é um número."},
        ConversionCase{"PortNotANumber", "abc", "0", beforeOpening,
                       "Porta inválida: \"abc\" não é um número."},
        ConversionCase{"PortOutOfRange", "40000", "0", beforeOpening,
                       "Porta inválida: 40000 está fora do intervalo de -32768 a 32767."},
        ConversionCase{"WaitTooLong", "5", "3000000000", afterEnquiry,
                       "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms."},
        ConversionCase{"NegativeWait", "5", "-1", afterEnquiry,
                       "Espera inválida: -1 está fora do intervalo de 0 a 2147483647 ms."}),
    CaseName());

struct InterruptionCase {
    const char* name;
    const char* during;  // the step whose log entry starts so
    Log log;
    // The steps that fail, as a call ended by the interruption's canceller does.
    std::vector<Step> failing = {};
    friend void PrintTo(const InterruptionCase& c, std::ostream* os) {
        *os << "during " << c.during;
    }
};

class Interrupted : public testing::TestWithParam<InterruptionCase> {};

// The wait is long enough that a request which waited it out would meet the
// test's time limit instead of passing.
TEST_P(Interrupted, RequestsStopShowNothingAndLeaveNoPortOpen) {
    const auto& c = GetParam();
    Log log;
    RecordingFields fields(log, "2400,n,8,1", "5", "600000");
    ScriptedLine line(log, c.failing, "\x06", "falha primeira");
    Interruption interruption;
    line.afterStep = [&](const std::string& entry) {
        if (entry.rfind(c.during, 0) == 0) {
            interruption.interrupt();
        }
    };
    const Outcome outcome = runWeightRequest(fields, line, interruption);
    EXPECT_EQ(log, c.log);
    EXPECT_FALSE(outcome.display);
    EXPECT_FALSE(outcome.failure);
    EXPECT_FALSE(line.open());
}

const Log portChosen{"read config", "settings 2400,n,8,1", "read port", "port 5"};
const Log openedThenClosed{"read config", "settings 2400,n,8,1", "read port", "port 5", "open",
                           "close"};
const Log enquiredThenClosed{"read config", "settings 2400,n,8,1", "read port", "port 5",
                             "open",        "output \x05",         "read wait", "close"};
const Log openingCancelled{"read config", "settings 2400,n,8,1", "read port", "port 5", "open"};
const Log enquiryCancelled{"read config", "settings 2400,n,8,1", "read port", "port 5",
                           "open",        "output \x05",         "close"};

INSTANTIATE_TEST_SUITE_P(
    Table, Interrupted,
    testing::Values(InterruptionCase{"settings", "settings", portChosen},
                    InterruptionCase{"port", "port", portChosen},
                    InterruptionCase{"open", "open", openedThenClosed},
                    InterruptionCase{"output", "output", enquiredThenClosed},
                    InterruptionCase{"openCancelled", "open", openingCancelled, {Step::Open}},
                    InterruptionCase{
                        "outputCancelled", "output", enquiryCancelled, {Step::Output}}),
    CaseName());

// The window registers a canceller that ends the request thread's blocked system call.
TEST(InterruptionTest, RunsItsCancellerAtEachInterruptUntilReplaced) {
    Interruption interruption;
    int cancelled = 0;
    interruption.interrupt();
    interruption.setCanceller([&] { ++cancelled; });
    EXPECT_EQ(cancelled, 0) << "nothing to end before the next interrupt";
    interruption.interrupt();
    interruption.interrupt();
    EXPECT_EQ(cancelled, 2);
    interruption.setCanceller({});
    interruption.interrupt();
    EXPECT_EQ(cancelled, 2);
}

TEST(InterruptionTest, EndsAWaitOnAnotherThreadAndEveryLaterOne) {
    Interruption interruption;
    bool waitedOut = true;
    std::thread waiter([&] { waitedOut = interruption.waitFor(std::chrono::hours(1)); });
    interruption.interrupt();
    waiter.join();
    EXPECT_FALSE(waitedOut);
    EXPECT_TRUE(interruption.interrupted());
    EXPECT_FALSE(interruption.waitFor(std::chrono::hours(1)));
}

TEST(InterruptionTest, AWaitNobodyInterruptsLastsItsLength) {
    Interruption interruption;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(interruption.waitFor(20ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    EXPECT_FALSE(interruption.interrupted());
}

TEST(SleepFor, BlocksAtLeastTheWait) {
    const auto start = std::chrono::steady_clock::now();
    sleepFor(20ms);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    sleepFor(0ms);  // no pause, no failure
}

}  // namespace
}  // namespace vardelmo::query
