// The weight as the built program reads it from the virtual scale: every family the scale
// speaks in every state it can be in, through --reading and --json; and a continuous scale,
// whose reply holds several frames, read by its last.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/reply_bytes.h"
#include "tests/cli/headless_program.h"
#include "tests/cli/json_line.h"
#include "tests/cli/reading_case.h"
#include "tests/support/patience.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using namespace std::chrono_literals;

std::string familyName(const testing::TestParamInfo<const char*>& info) {
    return identifier(info.param);
}

// A silent scale: nothing on standard output but the JSON's object, the silence on standard
// error, 4.
TEST_P(ReadingThroughTheProgram, PrintsTheLineAndTheObject) {
    const ReadingCase& c = GetParam();
    ASSERT_TRUE(home_.made());
    std::string why;
    const std::string request = unspellReply(c.request, why).value();
    vscale::Options options;
    options.format = vscale::parseFormat(c.format).value();
    options.state = vscale::parseState(c.state).value();
    options.pace = false;
    options.delay = 1ms;
    options.request = request;
    if (request.empty()) {  // a scale asked nothing sends on its own
        options.continuous = 20ms;
    }
    std::string error;
    const auto scale = vscale::VirtualScale::open(options, error);
    ASSERT_TRUE(scale) << error;
    // The default request is ENQ: asked for no other, the program is given none.
    std::vector<std::string> asked{"-q", "--port", scale->path(), "--wait", "300"};
    if (request != "\x05") {
        asked.insert(asked.end(), {"--request", c.request});
    }

    auto arguments = asked;
    arguments.push_back("--reading");
    const auto reading = startProgram(arguments, home_.path());
    ASSERT_TRUE(reading->started());
    const std::string out = reading->allOutput();
    const std::string err = reading->allErrors();
    if (c.line != nullptr) {
        EXPECT_EQ(out, std::string(c.line) + '\n');
        EXPECT_EQ(err, "");
        EXPECT_EQ(reading->exitStatus(), 0);
    } else {
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "vardelmo: no reply within 300 ms on port " + scale->path() + '\n');
        EXPECT_EQ(reading->exitStatus(), 4);
    }

    arguments = asked;
    arguments.push_back("--json");
    const auto json = startProgram(arguments, home_.path());
    ASSERT_TRUE(json->started());
    const std::string object = json->allOutput();
    EXPECT_EQ(json->allErrors(), c.line != nullptr ? "" : err);
    EXPECT_EQ(json->exitStatus(), c.line != nullptr ? 0 : 4);
    ASSERT_EQ(std::count(object.begin(), object.end(), '\n'), 1) << object;
    ASSERT_EQ(object.back(), '\n') << object;
    const auto parsed = parsedObject(object);
    ASSERT_TRUE(parsed) << object;

    // Each request reached the scale as given; a scale that sends on its own got none, and
    // the reply holds what it sent meanwhile, its frame among it.
    std::string reply = hexReply(vscale::frame(options.format, 1.234, options.state));
    if (request.empty()) {
        EXPECT_EQ(scale->received(), "");
        const std::string got = (*parsed)["reply"].toString().toStdString();
        EXPECT_NE(got.find(reply), std::string::npos) << got;
        reply = got;
    } else {
        ASSERT_TRUE(scale->waitForExchanges(2, test_support::kPatience));
        EXPECT_EQ(scale->received(), request + request);
        EXPECT_EQ(reply, hexReply(scale->exchanges()[1].sent));
    }
    QJsonObject expected{{"port", QString::fromStdString(scale->path())},
                         {"config", "2400,n,8,1"},
                         {"wait", "300"},
                         {"wait_ms", 300},
                         {"request", c.request},
                         {"error", QJsonValue::Null},
                         {"reply", QString::fromStdString(reply)},
                         {"reading", QJsonValue::Null},
                         {"hint", "empty"}};
    if (c.reading != nullptr) {
        const auto readingObject = parsedObject(c.reading);
        ASSERT_TRUE(readingObject) << "the case's own JSON: " << c.reading;
        expected["reading"] = *readingObject;
        expected["hint"] = QJsonValue::Null;
    }
    EXPECT_EQ(*parsed, expected) << compact(*parsed) << "\nexpected\n" << compact(expected);
}

// A scale weighing 1.234 kg. The price-computing families price a kg at 20.00. Where a frame
// cannot say a state, it says what it can: toledo-a has one flag for below zero and above
// capacity, and micheletti no state at all, nor any frame below zero or above capacity.
INSTANTIATE_TEST_SUITE_P(
    EveryFamilyInEveryState, ReadingThroughTheProgram,
    testing::Values(
        ReadingCase{"toledo-b", "stable", "1,234 kg estável",
                    R"({"protocol":"toledo-b","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"toledo-b", "motion", "em movimento",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"motion"})"},
        ReadingCase{"toledo-b", "negative", "negativo",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"negative"})"},
        ReadingCase{"toledo-b", "overload", "sobrecarga",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"overload"})"},
        ReadingCase{"toledo-b", "silent", nullptr, nullptr},
        ReadingCase{"toledo-c", "stable", "1,234 kg estável",
                    R"({"protocol":"toledo-c","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"toledo-c", "motion", "em movimento",
                    R"({"protocol":"toledo-c","weight":null,"unit":"kg","state":"motion"})"},
        ReadingCase{"toledo-c", "negative", "negativo",
                    R"({"protocol":"toledo-c","weight":null,"unit":"kg","state":"negative"})"},
        ReadingCase{"toledo-c", "overload", "sobrecarga",
                    R"({"protocol":"toledo-c","weight":null,"unit":"kg","state":"overload"})"},
        ReadingCase{"toledo-c", "silent", nullptr, nullptr},
        ReadingCase{"toledo-a", "stable", "1,234 kg estável",
                    R"({"protocol":"toledo-a","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("net":false,"price":"20.00","total":"24.68"})"},
        ReadingCase{"toledo-a", "motion", "1,234 kg em movimento",
                    R"({"protocol":"toledo-a","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("net":false,"price":"20.00","total":"24.68"})"},
        ReadingCase{"toledo-a", "negative", "sobrecarga",
                    R"({"protocol":"toledo-a","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false,"price":"20.00","total":"0.00"})"},
        ReadingCase{"toledo-a", "overload", "sobrecarga",
                    R"({"protocol":"toledo-a","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false,"price":"20.00","total":"0.00"})"},
        ReadingCase{"toledo-a", "silent", nullptr, nullptr},
        ReadingCase{"p03", "stable", "1,234 kg estável",
                    R"({"protocol":"p03","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("net":false,"tare":"0.000"})"},
        ReadingCase{"p03", "motion", "1,234 kg em movimento",
                    R"({"protocol":"p03","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("net":false,"tare":"0.000"})"},
        ReadingCase{"p03", "negative", "-1,234 kg negativo",
                    R"({"protocol":"p03","weight":"-1.234","unit":"kg","state":"negative",)"
                    R"("net":false,"tare":"0.000"})"},
        ReadingCase{"p03", "overload", "sobrecarga",
                    R"({"protocol":"p03","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false,"tare":"0.000"})"},
        ReadingCase{"p03", "silent", nullptr, nullptr},
        ReadingCase{"st-gs", "stable", "1,234 kg estável",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("net":false})"},
        ReadingCase{"st-gs", "motion", "1,234 kg em movimento",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("net":false})"},
        ReadingCase{"st-gs", "negative", "-1,234 kg negativo",
                    R"({"protocol":"st-gs","weight":"-1.234","unit":"kg","state":"negative",)"
                    R"("net":false})"},
        ReadingCase{"st-gs", "overload", "sobrecarga",
                    R"({"protocol":"st-gs","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false})"},
        ReadingCase{"st-gs", "silent", nullptr, nullptr},
        ReadingCase{"micheletti", "stable", "1,234 kg",
                    R"({"protocol":"micheletti","weight":"1.234","unit":"kg","state":null,)"
                    R"("price":"20.00","total":"24.68"})"},
        ReadingCase{"micheletti", "motion", "1,234 kg",
                    R"({"protocol":"micheletti","weight":"1.234","unit":"kg","state":null,)"
                    R"("price":"20.00","total":"24.68"})"},
        ReadingCase{"micheletti", "negative", nullptr, nullptr},
        ReadingCase{"micheletti", "overload", nullptr, nullptr},
        ReadingCase{"micheletti", "silent", nullptr, nullptr}),
    caseName);

class ContinuousScale : public testing::TestWithParam<const char*> {
protected:
    TemporaryHome home_;
};

// The scale answers the enquiry at 1.234 kg, then weighs 2.5 kg in every frame it sends
// unasked: the reply read after the wait holds both, and only the last complete frame counts.
// Paced at 9600 baud, a frame every 50 ms fits the wait several times over, and the read may
// cut the last one short.
TEST_P(ContinuousScale, ReadsTheLastCompleteFrame) {
    ASSERT_TRUE(home_.made());
    const vscale::Format format = vscale::parseFormat(GetParam()).value();
    std::atomic<vscale::VirtualScale*> changing{nullptr};
    vscale::Options options;
    options.format = format;
    options.line.baud = 9600;
    options.continuous = 50ms;
    options.onExchange = [&changing](const vscale::Exchange&) {
        if (vscale::VirtualScale* scale = changing.load()) {
            scale->setWeight(2.5);
        }
    };
    std::string error;
    const auto scale = vscale::VirtualScale::open(options, error);
    ASSERT_TRUE(scale) << error;
    changing = scale.get();

    const auto program = startProgram(
        {"-q", "--port", scale->path(), "--config", "9600,n,8,1", "--wait", "300", "--json"},
        home_.path());
    ASSERT_TRUE(program->started());
    const std::string out = program->allOutput();
    EXPECT_EQ(program->exitStatus(), 0);
    const auto parsed = parsedObject(out);
    ASSERT_TRUE(parsed) << out;

    const std::string reply = (*parsed)["reply"].toString().toStdString();
    const auto earlier = reply.find(hexReply(vscale::frame(format, 1.234, vscale::State::Stable)));
    const auto later = reply.rfind(hexReply(vscale::frame(format, 2.5, vscale::State::Stable)));
    ASSERT_NE(earlier, std::string::npos) << reply;
    ASSERT_NE(later, std::string::npos) << reply;
    EXPECT_LT(earlier, later) << reply;

    const QJsonObject reading = (*parsed)["reading"].toObject();
    EXPECT_EQ(reading["protocol"].toString().toStdString(), GetParam()) << compact(*parsed);
    EXPECT_EQ(reading["weight"].toString().toStdString(), "2.500") << compact(*parsed);
    // Micheletti's frame does not tell the state.
    EXPECT_EQ(reading["state"], GetParam() == std::string_view("micheletti")
                                    ? QJsonValue(QJsonValue::Null)
                                    : QJsonValue("stable"))
        << compact(*parsed);
    // A total is the same frame's, never an earlier one's: 2.5 kg at 20.00.
    if (reading.contains("total")) {
        EXPECT_EQ(reading["total"].toString().toStdString(), "50.00") << compact(*parsed);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ContinuousScale,
                         testing::Values("toledo-b", "toledo-c", "toledo-a", "p03", "st-gs",
                                         "micheletti"),
                         familyName);

}  // namespace
}  // namespace vardelmo::cli
