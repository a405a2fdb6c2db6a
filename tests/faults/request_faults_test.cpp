// Faults a technician meets, each through a whole request on the tool's own line: the right
// text or a clear description, and the port free to open again at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QSerialPort>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "tests/support/child_process.h"
#include "tests/support/patience.h"
#include "tests/support/slave_probe.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::kPatience;
using test_support::SlaveProbe;

const std::string kFrame =
    "\x02"
    "01234\x03";

std::unique_ptr<vscale::VirtualScale> openScale(const std::string& link = {}) {
    vscale::Options options;
    options.pace = false;
    options.delay = 0ms;
    options.linkPath = link;
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    EXPECT_TRUE(scale) << error;
    return scale;
}

std::string linkPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("vardelmo-" + name + "-" + std::to_string(::getpid())))
        .string();
}

// The request's wait, then also the scale's answer queued: a loaded machine cannot make a
// reply late and the test flaky. Made just before the request it serves.
Sleep untilAnswered(vscale::VirtualScale& scale, const SlaveProbe& probe, std::size_t bytes) {
    const auto before = scale.exchanges().size();
    return [&scale, &probe, bytes, before](std::chrono::milliseconds wait) {
        sleepFor(wait);
        EXPECT_TRUE(scale.waitForExchanges(before + 1, kPatience));
        EXPECT_TRUE(probe.waitForQueued(bytes, kPatience));
    };
}

// The port was left free: a request on it right after reads the scale's frame.
void expectAnswered(vscale::VirtualScale& scale, const std::string& port,
                    serial::SerialLine& line) {
    SlaveProbe probe(scale.path());
    ASSERT_TRUE(probe.ok());
    FieldTexts fields;
    fields.portText = port;
    const auto outcome = runWeightRequest(fields, line, untilAnswered(scale, probe, 7));
    ASSERT_FALSE(outcome.failure) << outcome.failure->description;
    EXPECT_EQ(outcome.display, kFrame);
}

// Unplugged after it heard the enquiry: before it answered, or with its answer on the way.
TEST(RequestFaults, AScaleVanishingMidRequestIsNamedAndThePortOpensAgain) {
    for (const bool answered : {false, true}) {
        SCOPED_TRACE(answered ? "answer queued" : "no answer yet");
        const auto link = linkPath("vanish");
        auto scale = openScale(link);
        ASSERT_TRUE(scale);
        if (!answered) {
            scale->setState(vscale::State::Silent);
        }
        auto probe = std::make_unique<SlaveProbe>(scale->path());
        FieldTexts fields;
        fields.portText = link;
        serial::QtSerialLine line;

        const auto outcome = runWeightRequest(fields, line, [&](std::chrono::milliseconds) {
            ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
            if (answered) {
                ASSERT_TRUE(probe->waitForQueued(kFrame.size(), kPatience));
            }
            probe.reset();
            scale->vanish();
        });
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->description,
                  "Não foi possível ler da porta " + link +
                      ": o dispositivo foi desconectado ou deixou de responder.");
        EXPECT_FALSE(outcome.display);

        // Plugged in again under the same name: the next request reads it.
        scale.reset();
        auto back = openScale(link);
        ASSERT_TRUE(back);
        expectAnswered(*back, link, line);
    }
}

// Another process holds the port through the same locking a second copy of the tool, or any
// QSerialPort program, uses. Run as that holder, this case opens the port and keeps it.
TEST(RequestFaults, APortHeldByAnotherProgramIsNamedAndOpensOnceReleased) {
    if (const char* held = std::getenv("VARDELMO_HOLD_PORT")) {
        QSerialPort port;
        port.setPortName(QString::fromLocal8Bit(held));
        ASSERT_TRUE(port.open(QIODevice::ReadWrite));
        std::printf("\nheld\n");
        std::fflush(stdout);
        char rest[64];
        while (::read(STDIN_FILENO, rest, sizeof rest) > 0) {
        }
        return;
    }
    auto scale = openScale();
    ASSERT_TRUE(scale);
    ChildProcess holder(
        {test_support::selfPath(), "--gtest_filter=RequestFaults.APortHeldByAnotherProgram*"},
        {"VARDELMO_HOLD_PORT=" + scale->path()});
    ASSERT_TRUE(holder.started());
    ASSERT_TRUE(holder.waitForOutputLine("held"));

    FieldTexts fields;
    fields.portText = scale->path();
    serial::QtSerialLine line;
    const auto outcome = runWeightRequest(fields, line);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->description,
              "A porta " + scale->path() + " está em uso por outro programa.");
    EXPECT_EQ(scale->received(), "") << "nothing was sent on a port we do not hold";

    EXPECT_EQ(holder.finish(), 0);
    expectAnswered(*scale, scale->path(), line);
}

// A terminal device belongs to root and its group; "nobody" may not open it. Run as nobody,
// this case makes the request; as root it starts that run and checks the port stays free.
TEST(RequestFaults, AUserWithoutPermissionIsToldSoAndThePortStaysFree) {
    if (const char* device = std::getenv("VARDELMO_FORBIDDEN_PORT")) {
        ASSERT_NE(::geteuid(), 0u);
        FieldTexts fields;
        fields.portText = device;
        serial::QtSerialLine line;
        const auto outcome = runWeightRequest(fields, line);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->description,
                  "Sem permissão para abrir a porta " + std::string(device) + ".");
        std::printf("\nchecked as uid %u\n", ::geteuid());
        std::fflush(stdout);
        return;
    }
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can run a case as another user; CI runs as root";
    }
    auto scale = openScale();
    ASSERT_TRUE(scale);
    // The build tree may lie where nobody cannot reach (under /root): nobody runs a copy.
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("vardelmo-faults-" + std::to_string(::getpid()));
    struct Removed {
        fs::path path;
        ~Removed() { fs::remove_all(path); }
    } removed{dir};
    fs::create_directory(dir);
    fs::copy_file(test_support::selfPath(), dir / "fault_tests");
    const auto open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir, open);
    fs::permissions(dir / "fault_tests", open);
    ChildProcess nobody(
        {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
         (dir / "fault_tests").string(), "--gtest_filter=RequestFaults.AUserWithoutPermission*"},
        {"VARDELMO_FORBIDDEN_PORT=" + scale->path()});
    ASSERT_TRUE(nobody.started());
    EXPECT_TRUE(nobody.waitForOutputLine("checked as uid 65534"))
        << "the case did not run as nobody";
    EXPECT_EQ(nobody.finish(), 0) << "the run as nobody failed; see its output above";
    EXPECT_EQ(scale->received(), "");

    serial::QtSerialLine line;
    expectAnswered(*scale, scale->path(), line);
}

// 8 KiB in one reply: twice what a terminal queues for a reader (4 KiB), the rest waiting in
// the kernel behind it. The one read takes every byte the system holds at that moment.
TEST(RequestFaults, AnEightKilobyteReplyIsReadWhole) {
    auto scale = openScale();
    ASSERT_TRUE(scale);
    scale->setState(vscale::State::Silent);
    SlaveProbe probe(scale->path());
    std::string big(8192, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 % 256);
    }
    FieldTexts fields;
    fields.portText = scale->path();
    serial::QtSerialLine line;
    const auto outcome = runWeightRequest(fields, line, [&](std::chrono::milliseconds) {
        ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
        scale->send(big);
        ASSERT_TRUE(probe.waitForQueued(4095, kPatience));
    });
    ASSERT_FALSE(outcome.failure) << outcome.failure->description;
    ASSERT_TRUE(outcome.display);
    EXPECT_EQ(outcome.display->size(), big.size());
    EXPECT_TRUE(*outcome.display == big) << "the bytes came through changed";
}

// The tool's line, with the scale talking on once the read is done.
class TalkingAfterRead final : public serial::SerialLine {
public:
    TalkingAfterRead(vscale::VirtualScale& scale, const SlaveProbe& probe)
        : scale_(scale), probe_(probe) {}
    Result<void> setSettings(std::string_view s) override { return line_.setSettings(s); }
    Result<void> setPort(const serial::Port& p) override { return line_.setPort(p); }
    Result<void> setPortOpen(bool open) override { return line_.setPortOpen(open); }
    Result<void> setOutput(std::string_view b) override { return line_.setOutput(b); }
    Result<bool> waitForInput(std::chrono::milliseconds t) override {
        return line_.waitForInput(t);
    }
    Result<std::string> getInput() override {
        auto bytes = line_.getInput();
        scale_.send("talking on");
        EXPECT_TRUE(probe_.waitForQueued(10, kPatience));
        return bytes;
    }

private:
    vscale::VirtualScale& scale_;
    const SlaveProbe& probe_;
    serial::QtSerialLine line_;
};

TEST(RequestFaults, BytesAfterTheReadAreNeverShownNorLeftForTheNextRequest) {
    auto scale = openScale();
    ASSERT_TRUE(scale);
    SlaveProbe probe(scale->path());
    TalkingAfterRead line(*scale, probe);
    FieldTexts fields;
    fields.portText = scale->path();
    for (int request = 0; request < 2; ++request) {
        SCOPED_TRACE(request == 0 ? "first request" : "the next request");
        const auto outcome = runWeightRequest(fields, line, untilAnswered(*scale, probe, 7));
        ASSERT_FALSE(outcome.failure) << outcome.failure->description;
        EXPECT_EQ(outcome.display, kFrame);
    }
}

}  // namespace
}  // namespace vardelmo::query
