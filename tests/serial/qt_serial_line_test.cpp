#include "serial/qt_serial_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QSerialPort>
#include <cerrno>
#include <utility>

#include "tests/serial/accepted_settings.h"
#include "tests/serial/failure_texts.h"
#include "tests/serial/injected_fault.h"
#include "tests/serial/qt_line_fixture.h"
#include "tests/support/case_name.h"
#include "tests/support/patience.h"
#include "tests/support/slave_probe.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::serial {
namespace {

using test_support::kPatience;
using test_support::SlaveProbe;

constexpr tcflag_t kParityAndStopFlags = CSTOPB | PARODD | CMSPAR;

tcflag_t termiosFlags(unsigned flags) {
    return ((flags & kCstopb) ? CSTOPB : 0) | ((flags & kParodd) ? PARODD : 0) |
           ((flags & kCmspar) ? CMSPAR : 0);
}

TEST_F(QtSerialLineTest, TheEnquiryReachesTheScaleAndTheReplyIsReadWhole) {
    open();
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    // The byte left during setOutput: the scale answers while the line waits.
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale->received(), "\x05");
    EXPECT_EQ(scale->exchanges().front().clientLine, "2400,n,8,1");

    ASSERT_TRUE(probe->waitForQueued(kFrame.size(), kPatience));
    EXPECT_EQ(input(), kFrame);
    EXPECT_EQ(input(), "") << "the reply is read once";
    EXPECT_TRUE(line.setPortOpen(false));
}

TEST_F(QtSerialLineTest, NothingArrivedGivesAnEmptyText) {
    open();
    EXPECT_EQ(input(), "");

    scale->setState(vscale::State::Silent);
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(input(), "");
}

TEST_F(QtSerialLineTest, BytesFromBeforeTheOpeningAreNotShown) {
    scale->send("before any opening");
    ASSERT_TRUE(probe->waitForQueued(18, kPatience));
    open();
    EXPECT_EQ(input(), "");

    // A terminal keeps what nobody read across closes; the next opening drops it too.
    scale->send("after the read");
    ASSERT_TRUE(probe->waitForQueued(14, kPatience));
    ASSERT_TRUE(line.setPortOpen(false));
    open();
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    ASSERT_TRUE(probe->waitForQueued(kFrame.size(), kPatience));
    EXPECT_EQ(input(), kFrame);
}

TEST_F(QtSerialLineTest, EveryByteValueSurvivesUnchanged) {
    open();
    std::string all;
    for (int value = 0; value < 256; ++value) {
        all += static_cast<char>(value);
    }
    const std::string named("\x00\x02\x03\x0D\xE9\xFF", 6);
    scale->send(named + all);
    ASSERT_TRUE(probe->waitForQueued(named.size() + all.size(), kPatience));
    EXPECT_EQ(input(), named + all);
}

TEST_F(QtSerialLineTest, SettingsReachTheDeviceAtTheOpening) {
    ASSERT_TRUE(line.setSettings("9600,n,8,1"));
    open();
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale->exchanges().front().clientBaud, 9600u);
    EXPECT_EQ(scale->exchanges().front().sent, "") << "the scale listens at 2400 baud only";
}

// The parity and the stop bits reach the device at the opening: the terminal shows what it
// keeps of them.
class SettingsOnTheTerminal : public QtSerialLineTest,
                              public testing::WithParamInterface<SettingsCase> {};

// Whatever a program that had the device before left in these flags, the opening sets each
// of them as the settings say: a mark/space flag left behind would turn "e" into space parity.
TEST_P(SettingsOnTheTerminal, KeepTheirParityAndStopBitsWhateverWasLeftBefore) {
    ASSERT_TRUE(probe->leaveControlFlags(kParityAndStopFlags));
    ASSERT_TRUE(line.setSettings(GetParam().text));
    open();
    EXPECT_EQ(probe->controlFlags() & kParityAndStopFlags, termiosFlags(GetParam().terminalFlags));
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsOnTheTerminal, testing::ValuesIn(kAcceptedSettings),
                         test_support::CaseName());

TEST_F(QtSerialLineTest, BadSettingsAreRefusedAndTheLastGoodOnesKept) {
    EXPECT_EQ(line.setSettings("2400,x,8,1").description(),
              "Configuração inválida \"2400,x,8,1\": a paridade deve ser n, e, o, m ou s.");
    EXPECT_EQ(line.setSettings("2400,n,8,1.5").description(),
              "Configuração inválida \"2400,n,8,1.5\": 1.5 bits de parada não são suportados "
              "neste sistema.");
    open();
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale->exchanges().front().clientLine, "2400,n,8,1");
}

TEST_F(QtSerialLineTest, ADeviceThatCannotBeOpenedIsNamedAndTheNextPortOpens) {
    const std::pair<std::string, std::string> devices[] = {
        {"/dev/vardelmo-absent",
         expectedText(Step::Open, Reason::Missing, "porta /dev/vardelmo-absent")},
        // A device, but no terminal: it takes no line settings at all.
        {"/dev/null", expectedText(Step::Configure, Reason::Unsupported, "porta /dev/null")}};
    for (const auto& [device, text] : devices) {
        ASSERT_TRUE(line.setPort(device));
        EXPECT_EQ(line.setPortOpen(true).description(), text);
        ASSERT_TRUE(line.setPort(scale->path()));
        open();
        ASSERT_TRUE(line.setPortOpen(false));
    }
}

TEST_F(QtSerialLineTest, APortHeldByAnotherProgramIsNamedAndOpensOnceReleased) {
    QSerialPort other;
    other.setPortName(QString::fromStdString(scale->path()));
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    EXPECT_EQ(line.setPortOpen(true).description(),
              expectedText(Step::Open, Reason::InUse, "porta " + scale->path()));
    other.close();
    open();
}

TEST_F(QtSerialLineTest, AVanishedScaleIsNamedAndAFreshOneOpens) {
    open();
    probe.reset();
    scale->vanish();
    const auto label = "porta " + scale->path();
    EXPECT_EQ(line.getInput().description(), expectedText(Step::Read, Reason::Lost, label));
    EXPECT_EQ(line.waitForInput(kPatience).description(),
              expectedText(Step::Read, Reason::Lost, label));
    EXPECT_EQ(line.setOutput(std::string_view("\x05", 1)).description(),
              expectedText(Step::Write, Reason::Lost, label));
    EXPECT_EQ(line.setSettings("9600,n,8,1").description(),
              expectedText(Step::Reconfigure, Reason::Unknown, label, "9600,n,8,1"));
    EXPECT_TRUE(line.setPortOpen(false));

    scale = openScale();
    ASSERT_TRUE(scale);
    ASSERT_TRUE(line.setPort(scale->path()));
    open();
    ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
}

TEST_F(QtSerialLineTest, ThePortCannotChangeUnderAnOpenPort) {
    open();
    EXPECT_TRUE(line.setPort(scale->path())) << "the same port is no change";
    EXPECT_EQ(line.setPort(std::int16_t{3}).description(),
              expectedText(Step::ChoosePort, Reason::StillOpen, "porta " + scale->path()));
    EXPECT_EQ(line.setPort(std::int16_t{0}).description(),
              "Porta inválida: 0 não é o número de uma porta; as portas são numeradas a partir "
              "de 1.");
}

TEST_F(QtSerialLineTest, AClosedPortRefusesTraffic) {
    const auto label = "porta " + scale->path();
    EXPECT_EQ(line.setOutput(std::string_view("\x05", 1)).description(),
              expectedText(Step::Write, Reason::NotOpen, label));
    EXPECT_EQ(line.getInput().description(), expectedText(Step::Read, Reason::NotOpen, label));
    EXPECT_EQ(line.waitForInput(kPatience).description(),
              expectedText(Step::Read, Reason::NotOpen, label));
    EXPECT_TRUE(line.setPortOpen(false)) << "closing a closed port is harmless";
}

TEST_F(QtSerialLineTest, InputThatCannotBeClearedIsNamedAndThePortLetGo) {
    {
        InjectedFault fault(SystemFault::InputNotCleared, scale->path());
        EXPECT_EQ(line.setPortOpen(true).description(),
                  expectedText(Step::Purge, Reason::Unknown, "porta " + scale->path()));
        EXPECT_EQ(fault.hits(), 1);
    }
    QSerialPort other;
    other.setPortName(QString::fromStdString(scale->path()));
    EXPECT_TRUE(other.open(QIODevice::ReadWrite)) << "the line still holds the port";
}

// A terminal whose other side never reads, already full: the device takes no byte more.
class StalledTerminal {
public:
    StalledTerminal() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            return;
        }
        slave_ = ::open(::ptsname(master_), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios raw{};
        if (slave_ < 0 || ::tcgetattr(slave_, &raw) != 0) {
            return;
        }
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        const std::string block(1024, 'x');
        while (::write(slave_, block.data(), block.size()) > 0) {
        }
        if (errno == EAGAIN) {
            path_ = ::ptsname(master_);
        }
    }
    ~StalledTerminal() {
        for (const int fd : {slave_, master_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    StalledTerminal(const StalledTerminal&) = delete;
    StalledTerminal& operator=(const StalledTerminal&) = delete;
    const std::string& path() const { return path_; }  // empty if it could not be filled

private:
    int master_;
    int slave_ = -1;
    std::string path_;
};

TEST(QtSerialLineStalled, AnEnquiryTheDeviceDoesNotTakeInTimeIsNamed) {
    StalledTerminal terminal;
    ASSERT_FALSE(terminal.path().empty());
    QtSerialLine line;
    ASSERT_TRUE(line.setPort(terminal.path()));
    ASSERT_TRUE(line.setPortOpen(true));
    InjectedFault fault(SystemFault::WaitToWriteEndsAtOnce, terminal.path());
    EXPECT_EQ(line.setOutput(std::string_view("\x05", 1)).description(),
              expectedText(Step::Write, Reason::TimedOut, "porta " + terminal.path()));
    EXPECT_GT(fault.hits(), 0);
}

TEST(QtSerialLineNumbers, NameTheirDevice) {
    QtSerialLine line;
    ASSERT_TRUE(line.setPort(std::int16_t{32767}));
    EXPECT_EQ(line.setPortOpen(true).description(),
              expectedText(Step::Open, Reason::Missing, "porta 32767 (/dev/ttyS32766)"));
}

}  // namespace
}  // namespace vardelmo::serial
