// What each output form writes of a request in every mode, and -q's exit status; the JSON
// parsed back, as a script reads it, against the one schema every mode shares.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <ostream>
#include <string>

#include "cli/exit_status.h"
#include "cli/output_writer.h"
#include "cli/query_mode.h"
#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

using Output = CommandLine::Output;

const std::string kFrame =
    "\x02"
    "01234\x03";
const std::string kToledoA(
    "\x02\x00"
    "001234\x00"
    "001234001000\r\x7c",
    23);

class Captured final : public Streams {
public:
    bool out(std::string_view bytes) override {
        out_ += bytes;
        return !full_;
    }
    void errLine(std::string_view line) override {
        err_ += line;
        err_ += '\n';
    }
    std::string out_, err_;
    bool full_ = false;
};

query::Outcome replied(std::string reply) {
    return {std::move(reply), std::nullopt};
}
const query::Outcome kFailedOpening{std::nullopt, query::FailureReport{"A porta caiu."}};

struct Case {
    const char* name;
    query::Outcome outcome;
    Output output;
    std::string out;
    std::string err = {};
    int status = kSucceeded;
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class QueryOutput : public testing::TestWithParam<Case> {};

TEST_P(QueryOutput, WritesTheAskedFormAndItsStatus) {
    const Case& c = GetParam();
    const Exchange exchange = exchangeOf(CommandLine{}, c.outcome);
    Captured streams;
    makeOutputWriter(c.output, streams)->request(exchange);
    EXPECT_EQ(streams.out_, c.out);
    EXPECT_EQ(streams.err_, c.err);
    EXPECT_EQ(queryStatus(exchange, c.output), c.status);
}

const char kJsonOfNothing[] =
    R"({"config":"2400,n,8,1","error":null,"hint":"empty","port":"5","reading":null,"reply":"",)"
    R"("request":"<ENQ>","wait":"0","wait_ms":0})"
    "\n";

INSTANTIATE_TEST_SUITE_P(
    Table, QueryOutput,
    testing::Values(
        Case{"Spelled", replied(kFrame), Output::Spelled, "<STX>01234<ETX>\n"},
        Case{"Raw", replied(kFrame), Output::Raw, kFrame},
        Case{"Hex", replied(kFrame), Output::Hex, "02 30 31 32 33 34 03\n"},
        Case{"Reading", replied(kFrame), Output::Reading, "1,234 kg estável\n"},
        // Silence is its own outcome in every form; only JSON writes an object of it.
        Case{"SpelledSilence", replied(""), Output::Spelled, "", "", kNoReply},
        Case{"HexSilence", replied(""), Output::Hex, "", "", kNoReply},
        Case{"RawSilence", replied(""), Output::Raw, "", "", kNoReply},
        Case{"ReadingSilence", replied(""), Output::Reading, "", "", kNoReply},
        Case{"JsonSilence", replied(""), Output::Json, kJsonOfNothing, "", kNoReply},
        Case{"ReadingOfGarbage", replied(std::string("\x00\x8f\x00", 3)), Output::Reading, "",
             "vardelmo: reply not recognized (velocidade diferente?): <NUL><8F><NUL>\n",
             kNotUnderstood},
        Case{"ReadingOfAnAck", replied("\x06"), Output::Reading, "",
             "vardelmo: reply not recognized (ACK sem peso): <ACK>\n", kNotUnderstood},
        // JSON reports what the reply reads as; a hint is no failure of it.
        Case{"JsonOfAnAck", replied("\x06"), Output::Json,
             R"({"config":"2400,n,8,1","error":null,"hint":"ack","port":"5","reading":null,)"
             R"("reply":"06","request":"<ENQ>","wait":"0","wait_ms":0})"
             "\n"},
        Case{"SpelledFailure", kFailedOpening, Output::Spelled, "", "", kFailed},
        Case{"JsonFailure", kFailedOpening, Output::Json,
             R"({"config":"2400,n,8,1","error":"A porta caiu.","hint":null,"port":"5",)"
             R"("reading":null,"reply":null,"request":"<ENQ>","wait":"0","wait_ms":0})"
             "\n",
             "", kFailed},
        // The reply read before the closing failed is no reply to take, but JSON shows both.
        Case{"SpelledFailureAfterTheReply",
             {kFrame, query::FailureReport{"A porta caiu."}},
             Output::Spelled,
             "",
             "",
             kFailed}),
    test_support::CaseName{});

// The keys of the one schema: every object of every mode has them all.
const QStringList kKeys{"config", "error",   "hint", "port",   "reading",
                        "reply",  "request", "wait", "wait_ms"};

QJsonObject parsedLine(const std::string& text) {
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one object, one line: " << text;
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

TEST(JsonWriter, EveryModeWritesTheSameKeys) {
    const Exchange exchange = exchangeOf(CommandLine{}, replied(kFrame));
    const struct {
        const char* mode;
        void (*write)(OutputWriter&, const Exchange&);
        QStringList extra;
    } modes[] = {
        {"query", [](OutputWriter& w, const Exchange& e) { w.request(e); }, {}},
        {"watch",
         [](OutputWriter& w, const Exchange& e) { w.watched(e, QDateTime::currentDateTime()); },
         {"time"}},
        {"find's try", [](OutputWriter& w, const Exchange& e) { w.tried(e, true); }, {}},
        {"find's end",
         [](OutputWriter& w, const Exchange& e) { w.searched(e, std::string("2400,n,8,1")); },
         {"found"}},
    };
    for (const auto& mode : modes) {
        Captured streams;
        const auto writer = makeOutputWriter(Output::Json, streams);
        mode.write(*writer, exchange);
        QStringList keys = kKeys + mode.extra;
        keys.sort();
        EXPECT_EQ(parsedLine(streams.out_).keys(), keys) << mode.mode;
    }
}

TEST(JsonWriter, GivesTheTextsUsedTheReplyAndItsReading) {
    CommandLine command;
    command.fields.portText = "/dev/ttyUSB0";
    command.fields.configText = "9600,n,8,1";
    command.fields.waitText = "200";
    Captured streams;
    makeOutputWriter(Output::Json, streams)->request(exchangeOf(command, replied(kToledoA)));
    const QJsonObject object = parsedLine(streams.out_);
    EXPECT_EQ(object["port"].toString().toStdString(), "/dev/ttyUSB0");
    EXPECT_EQ(object["config"].toString().toStdString(), "9600,n,8,1");
    EXPECT_EQ(object["wait"].toString().toStdString(), "200");
    EXPECT_EQ(object["wait_ms"].toInteger(), 200);
    EXPECT_EQ(object["reply"].toString().left(9).toStdString(), "02 00 30 ");
    EXPECT_TRUE(object["hint"].isNull());
    const QJsonObject reading = object["reading"].toObject();
    EXPECT_EQ(reading["protocol"].toString().toStdString(), "toledo-a");
    EXPECT_EQ(reading["weight"].toString().toStdString(), "1.234");
    EXPECT_EQ(reading["unit"].toString().toStdString(), "kg");
    EXPECT_EQ(reading["state"].toString().toStdString(), "stable");
    EXPECT_EQ(reading["price"].toString().toStdString(), "10.00");
    EXPECT_EQ(reading["total"].toString().toStdString(), "12.34");
}

TEST(JsonWriter, AReadingWithoutANumberHasANullWeight) {
    Captured streams;
    makeOutputWriter(Output::Json, streams)
        ->request(exchangeOf(CommandLine{}, replied("\x02IIIII\x03")));
    const QJsonObject reading = parsedLine(streams.out_)["reading"].toObject();
    EXPECT_TRUE(reading["weight"].isNull());
    EXPECT_EQ(reading["state"].toString().toStdString(), "motion");
    EXPECT_FALSE(reading.contains("tare")) << "a key the frame does not give is left out";
}

TEST(OutputWriter, TellsWhenTheOutputTookNothing) {
    for (const Output output : {Output::Spelled, Output::Hex, Output::Reading, Output::Json}) {
        Captured streams;
        streams.full_ = true;
        const auto writer = makeOutputWriter(output, streams);
        writer->watched(exchangeOf(CommandLine{}, replied(kFrame)), QDateTime::currentDateTime());
        EXPECT_FALSE(writer->written()) << static_cast<int>(output);
    }
}

}  // namespace
}  // namespace vardelmo::cli
