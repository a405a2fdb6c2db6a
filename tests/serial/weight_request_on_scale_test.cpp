#include <gtest/gtest.h>

#include <QSerialPort>

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "tests/support/patience.h"
#include "tests/support/slave_probe.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;

using test_support::kPatience;

struct ScaleRun {
    std::unique_ptr<vscale::VirtualScale> scale;
    std::unique_ptr<test_support::SlaveProbe> probe;
};

ScaleRun startScale() {
    vscale::Options options;
    options.pace = false;
    std::string error;
    ScaleRun run;
    run.scale = vscale::VirtualScale::open(options, error);
    EXPECT_TRUE(run.scale) << error;
    if (run.scale) {
        run.probe = std::make_unique<test_support::SlaveProbe>(run.scale->path());
    }
    return run;
}

// The request's own wait runs in full; after it the test also waits for the
// scale's answer to be queued, so a loaded machine cannot make the run flaky.
TEST(WeightRequestOnScale, ShowsTheScalesReply) {
    auto run = startScale();
    ASSERT_TRUE(run.scale && run.probe->ok());
    FieldTexts fields;
    fields.configText = "2400,n,8,1";
    fields.portText = run.scale->path();
    fields.waitText = "100";
    serial::QtSerialLine line;

    bool answeredDuringWait = false;
    std::chrono::milliseconds waited{-1};
    const auto outcome = runWeightRequest(fields, line, [&](std::chrono::milliseconds wait) {
        waited = wait;
        sleepFor(wait);
        answeredDuringWait =
            run.scale->waitForExchanges(1, kPatience) && run.probe->waitForQueued(7, kPatience);
    });

    EXPECT_EQ(waited, 100ms);
    EXPECT_TRUE(answeredDuringWait);
    EXPECT_FALSE(outcome.failure) << outcome.failure->description;
    EXPECT_EQ(outcome.display,
              "\x02"
              "01234\x03");
    EXPECT_EQ(run.scale->received(), "\x05");
}

TEST(WeightRequestOnScale, RefusedSettingsNeverOpenThePort) {
    auto run = startScale();
    ASSERT_TRUE(run.scale);
    FieldTexts fields;
    fields.configText = " 2400,x,8,1 ";
    fields.portText = run.scale->path();
    serial::QtSerialLine line;

    const auto outcome = runWeightRequest(fields, line);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->description,
              "Configuração inválida \"2400,x,8,1\": a paridade deve ser n, e, o, m ou s.");
    EXPECT_EQ(outcome.failure->title, "Deu Pau!");
    EXPECT_FALSE(outcome.display);
    EXPECT_EQ(run.scale->received(), "");
}

// A failed request closes the port, so the next one opens it like the first.
TEST(WeightRequestOnScale, AFailedWaitReleasesThePort) {
    auto run = startScale();
    ASSERT_TRUE(run.scale);
    FieldTexts fields;
    fields.configText = "2400,n,8,1";
    fields.portText = run.scale->path();
    fields.waitText = "3000000000";
    serial::QtSerialLine line;

    const auto failed = runWeightRequest(fields, line);
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->description,
              "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms.");
    ASSERT_TRUE(run.scale->waitForExchanges(1, kPatience)) << "the enquiry went out first";

    QSerialPort other;
    other.setPortName(QString::fromStdString(run.scale->path()));
    EXPECT_TRUE(other.open(QIODevice::ReadWrite)) << "no longer held by the tool";
}

}  // namespace
}  // namespace vardelmo::query
