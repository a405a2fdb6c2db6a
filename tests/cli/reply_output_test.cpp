// What --query writes of a reply in each form, and the exit status it gives; the JSON parsed
// back, as a script reads it.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>
#include <string>

#include "cli/exit_status.h"
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

struct Case {
    const char* name;
    std::string reply;
    Output output;
    std::string out;
    std::string err = {};
    int status = kSucceeded;
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class PrintReply : public testing::TestWithParam<Case> {};

TEST_P(PrintReply, WritesTheAskedForm) {
    const Case& c = GetParam();
    CommandLine command;
    command.output = c.output;
    const Printed printed = printReply(c.reply, command);
    EXPECT_EQ(printed.out, c.out);
    EXPECT_EQ(printed.err, c.err);
    EXPECT_EQ(printed.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintReply,
    testing::Values(
        Case{"Spelled", kFrame, Output::Spelled, "<STX>01234<ETX>\n"},
        Case{"Raw", kFrame, Output::Raw, kFrame},
        Case{"Hex", kFrame, Output::Hex, "02 30 31 32 33 34 03\n"},
        Case{"Reading", kFrame, Output::Reading, "1,234 kg estável\n"},
        Case{"ReadingOfNothing", "", Output::Reading, "",
             "vardelmo: resposta não reconhecida (sem resposta)", kNotUnderstood},
        Case{"ReadingOfGarbage", std::string("\x00\x8f\x00", 3), Output::Reading, "",
             "vardelmo: resposta não reconhecida (velocidade diferente?): <NUL><8F><NUL>",
             kNotUnderstood},
        Case{"ReadingOfAnAck", "\x06", Output::Reading, "",
             "vardelmo: resposta não reconhecida (ACK sem peso): <ACK>", kNotUnderstood},
        Case{
            "JsonOfNothing", "", Output::Json,
            R"({"config":"2400,n,8,1","hint":"empty","port":"5","reading":null,"reply":"","wait":"0"})"
            "\n"}),
    test_support::CaseName{});

QJsonObject parsed(const std::string& reply, query::FieldTexts fields = {}) {
    CommandLine command;
    command.output = Output::Json;
    command.fields = std::move(fields);
    const Printed printed = printReply(reply, command);
    EXPECT_EQ(printed.out.back(), '\n');
    EXPECT_EQ(printed.out.find('\n'), printed.out.size() - 1) << "one object, one line";
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(printed.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << printed.out;
    return document.object();
}

TEST(JsonReply, GivesTheTextsUsedTheReplyAndItsReading) {
    query::FieldTexts fields;
    fields.portText = "/dev/ttyUSB0";
    fields.configText = "9600,n,8,1";
    fields.waitText = "200 \"ms\"";
    const QJsonObject object = parsed(kToledoA, fields);
    EXPECT_EQ(object["port"].toString().toStdString(), "/dev/ttyUSB0");
    EXPECT_EQ(object["config"].toString().toStdString(), "9600,n,8,1");
    EXPECT_EQ(object["wait"].toString().toStdString(), "200 \"ms\"");
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

TEST(JsonReply, AReadingWithoutANumberHasANullWeight) {
    const QJsonObject reading = parsed("\x02IIIII\x03")["reading"].toObject();
    EXPECT_TRUE(reading["weight"].isNull());
    EXPECT_EQ(reading["state"].toString().toStdString(), "motion");
    EXPECT_FALSE(reading.contains("tare")) << "a key the frame does not give is left out";
}

TEST(JsonReply, AFailureGivesTheErrorInsteadOfTheReply) {
    query::FieldTexts fields;
    const QJsonObject object = requestObject(
        fields, query::Outcome{std::nullopt, query::FailureReport{"A porta \"5\" caiu."}});
    EXPECT_EQ(object["error"].toString().toStdString(), "A porta \"5\" caiu.");
    EXPECT_FALSE(object.contains("reply"));
    EXPECT_FALSE(object.contains("reading"));
    EXPECT_EQ(object["port"].toString().toStdString(), "5");
}

}  // namespace
}  // namespace vardelmo::cli
