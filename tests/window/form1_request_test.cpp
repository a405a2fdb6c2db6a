#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/system_line.h"
#include "tests/support/escaped.h"
#include "tests/window/form1_fixture.h"
#include "virtual_scale/virtual_scale.h"
#include "window/form1.h"

namespace vardelmo::window::test {
namespace {

class Form1RequestTest : public Form1Test {
protected:
    // A scale that answers at once, so a wait of 300 ms always finds the
    // whole reply held when the request reads.
    void attachScale() {
        vscale::Options options;
        options.pace = false;
        options.delay = 1ms;
        std::string error;
        scale_ = vscale::VirtualScale::open(options, error);
        ASSERT_TRUE(scale_) << error;
        porta_->setText(QString::fromStdString(scale_->path()));
        espera_->setText("300");
    }

    std::size_t enquiries() const {
        const std::string received = scale_->received();
        return static_cast<std::size_t>(std::count(received.begin(), received.end(), '\x05'));
    }

    // What the rest of the window shows, as a person would read it: the zero-width spaces
    // where a line may break show nothing.
    static QString plainText(const QString& richText) {
        QTextDocument document;
        document.setHtml(richText);
        return document.toPlainText().remove(QChar(0x200B));
    }

    // The display's tooltip as shown where the mouse rests on the display.
    static QWidget* shownToolTip(QLineEdit* display) {
        QToolTip::showText(display->mapToGlobal(QPoint(5, 5)), display->toolTip(), display);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible()) {
                return widget;
            }
        }
        return nullptr;
    }

    std::unique_ptr<vscale::VirtualScale> scale_;
};

TEST_F(Form1RequestTest, APressShowsTheScaleReplyAsReceived) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    ASSERT_NO_FATAL_FAILURE(pressAndWait());

    ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
    const auto exchanges = scale_->exchanges();
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].clientLine, "2400,n,8,1");
    EXPECT_EQ(scale_->received(), "\x05");
    const std::string& sent = exchanges[0].sent;
    ASSERT_EQ(sent, vscale::frame(vscale::Format::Stx5, 1.234, vscale::State::Stable));
    EXPECT_EQ(peso_->text(), QString::fromLatin1(sent.data(), static_cast<qsizetype>(sent.size())));
    EXPECT_EQ(plainText(peso_->toolTip()), "<STX>01234<ETX> (7 bytes)\n1,234 kg estável");
    EXPECT_EQ(leitura_->text(), "1,234 kg estável\nToledo B");
}

TEST_F(Form1RequestTest, EnterAndSpaceOnTheFocusedButtonEachRunOneRequest) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    button_->setFocus();
    std::size_t expected = 0;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        // QTest::toString hands over a new[] string.
        SCOPED_TRACE(std::unique_ptr<char[]>(QTest::toString(key)).get());
        peso_->clear();
        QSignalSpy finished(&form_, &Form1::requestFinished);
        QTest::keyClick(button_, key);
        ASSERT_TRUE(finished.wait(kPatienceMs));
        ++expected;
        ASSERT_TRUE(scale_->waitForExchanges(expected, kPatience));
        EXPECT_EQ(enquiries(), expected);
        EXPECT_FALSE(peso_->text().isEmpty());
    }
}

// What the request itself reports for this port, to compare the box with.
std::string failureFor(const std::string& port) {
    query::FieldTexts fields;
    fields.portText = port;
    const auto line = serial::makeSystemLine();
    const query::Outcome outcome = query::runWeightRequest(fields, *line);
    return outcome.failure ? outcome.failure->description : std::string();
}

// The port text is quoted in the report; typed as markup it must read as typed.
TEST_F(Form1RequestTest, AFailureShowsTheReportBoxOverTheWindowAsPlainText) {
    const std::string description = failureFor("<b>abc</b>");
    ASSERT_NE(description.find("<b>abc</b>"), std::string::npos) << description;
    porta_->setText("<b>abc</b>");

    ASSERT_NO_FATAL_FAILURE(pressAndWait());
    const std::vector<SeenBox> boxes = boxes_.take();
    ASSERT_EQ(boxes.size(), 1U);
    const SeenBox& box = boxes[0];
    EXPECT_EQ(box.parent, &form_);
    EXPECT_TRUE(box.modal);
    EXPECT_EQ(box.title, "Deu Pau!");
    EXPECT_EQ(box.text, QString::fromStdString(description));
    EXPECT_EQ(box.format, Qt::PlainText);
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(peso_->text(), "0,00");
}

TEST_F(Form1RequestTest, TextTypedIntoTheDisplayStaysUntilTheNextRequest) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    button_->setFocus();
    QTest::keyClick(button_, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), peso_);
    QTest::keyClicks(peso_, "12,5 kg");
    QTest::keyClick(peso_, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), porta_);
    porta_->setText(QString::fromStdString(scale_->path()));
    EXPECT_EQ(peso_->text(), "12,5 kg");

    ASSERT_NO_FATAL_FAILURE(pressAndWait());
    ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
    const std::string sent = scale_->exchanges().at(0).sent;
    EXPECT_EQ(peso_->text(), QString::fromLatin1(sent.data(), static_cast<qsizetype>(sent.size())));
}

struct ReplyCase {
    const char* name;
    std::string reply;
    std::optional<std::string> closeFailure;
    QString toolTip;  // as read, markup rendered
    QString caption;
    friend void PrintTo(const ReplyCase& c, std::ostream* os) {
        *os << '"' << test_support::escaped(c.reply) << '"';
    }
};

class Replies : public Form1RequestTest, public testing::WithParamInterface<ReplyCase> {};

// One character a byte, whatever the byte: no decoding merges, drops or
// replaces any. A failed close still shows the reply read before it.
TEST_P(Replies, ShowEveryByteAsItCame) {
    const ReplyCase& c = GetParam();
    const auto line = useFakeLine();
    line->reply = c.reply;
    line->closeFailure = c.closeFailure;
    ASSERT_NO_FATAL_FAILURE(pressAndWait());

    const QString shown = peso_->text();
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(c.reply.size())) << shown.toStdString();
    for (std::size_t i = 0; i < c.reply.size(); ++i) {
        EXPECT_EQ(shown.at(static_cast<qsizetype>(i)).unicode(),
                  static_cast<unsigned char>(c.reply[i]))
            << "at byte " << i;
    }
    EXPECT_EQ(plainText(peso_->toolTip()), c.toolTip);
    EXPECT_EQ(leitura_->text(), c.caption);
    const QWidget* tip = shownToolTip(peso_);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(form_.screen()->availableGeometry().contains(tip->frameGeometry()))
        << "the tooltip runs off the screen: " << tip->frameGeometry().width() << " wide";
    QToolTip::hideText();

    const std::vector<SeenBox> boxes = boxes_.take();
    if (c.closeFailure) {
        ASSERT_EQ(boxes.size(), 1U);
        EXPECT_EQ(boxes[0].text, QString::fromStdString(*c.closeFailure));
        EXPECT_EQ(boxes[0].format, Qt::PlainText);
    } else {
        EXPECT_TRUE(boxes.empty()) << boxes.at(0).text.toStdString();
    }
}

using namespace std::string_literals;

// The caption: the reading and the family, or the hint alone; the tooltip adds the first line.
INSTANTIATE_TEST_SUITE_P(
    Table, Replies,
    testing::Values(
        ReplyCase{"HighBytesNulAndCr", "\x02\xE9\x80\0\r\xFF\x03"s, std::nullopt,
                  "<STX><E9><80><NUL><CR><FF><ETX> (7 bytes)\nformato desconhecido",
                  "formato desconhecido"},
        ReplyCase{"Empty", "", std::nullopt, "(0 bytes)\nsem resposta", "sem resposta"},
        ReplyCase{"AckAlone", "\x06", std::nullopt, "<ACK> (1 byte)\nACK sem peso", "ACK sem peso"},
        ReplyCase{"MotionWithoutAWeight",
                  "\x02"
                  "IIIII\x03",
                  std::nullopt, "<STX>IIIII<ETX> (7 bytes)\nem movimento",
                  "em movimento\nToledo B"},
        ReplyCase{"FailedCloseAfterAReply",
                  "\x02"
                  "01234\x03",
                  "Não foi possível fechar a <b>porta</b>.",
                  "<STX>01234<ETX> (7 bytes)\n1,234 kg estável", "1,234 kg estável\nToledo B"},
        // One word spelled out, wider than the screen: it wraps between bytes.
        ReplyCase{"LongGarbage", std::string(400, '\xFF'), std::nullopt,
                  QString("<FF>").repeated(400) + " (400 bytes)\nvelocidade diferente?",
                  "velocidade diferente?"}),
    [](const auto& param) { return std::string(param.param.name); });

// A failed request leaves the display, its tooltip and the caption as the last reply left them.
TEST_F(Form1RequestTest, AFailedRequestLeavesWhatTheLastReplyShowed) {
    const auto line = useFakeLine();
    line->reply = "\x02NNNNN\x03";
    ASSERT_NO_FATAL_FAILURE(pressAndWait());
    ASSERT_EQ(leitura_->text(), "negativo\nToledo B");
    const QString display = peso_->text();
    const QString toolTip = peso_->toolTip();

    line->openFailure = "A porta 5 (/dev/ttyS4) não existe.";
    ASSERT_NO_FATAL_FAILURE(pressAndWait());
    const std::vector<SeenBox> boxes = boxes_.take();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].text, "A porta 5 (/dev/ttyS4) não existe.");
    EXPECT_EQ(peso_->text(), display);
    EXPECT_EQ(peso_->toolTip(), toolTip);
    EXPECT_EQ(leitura_->text(), "negativo\nToledo B");
}

// While the request waits, the window answers; presses made meanwhile, by mouse
// or key, and searches asked for, start nothing then or later.
TEST_F(Form1RequestTest, PressesDuringARequestStartNoOther) {
    const auto line = useFakeLine();
    line->holdAtEnquiry = true;
    line->reply = "\x06";
    QSignalSpy finished(&form_, &Form1::requestFinished);
    QTest::mouseClick(button_, Qt::LeftButton);
    ASSERT_TRUE(line->waitUntilAtEnquiry(kPatience));
    // The request reads the wait after the enquiry, from the fields as they stood at the press:
    // this one, taken, would outlast the test.
    espera_->setText("600000");

    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    button_->setFocus();
    QTest::mouseClick(button_, Qt::LeftButton);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(button_, key);
    }
    // Nor does a settings search.
    config_->setFocus();
    QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
    line->release();
    ASSERT_TRUE(finished.wait(kPatienceMs));
    QCoreApplication::processEvents();

    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(line->made, 1);
    EXPECT_EQ(line->entries(), (std::vector<std::string>{"settings 2400,n,8,1", "port", "open",
                                                         "output", "input", "close"}));
    EXPECT_EQ(peso_->text(), "\x06");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The wait is far longer than the test's time limit: only an interrupted wait passes.
TEST_F(Form1RequestTest, ClosingTheWindowEndsTheWaitAndClosesThePort) {
    const auto line = useFakeLine();
    line->reply = "\x06";
    espera_->setText("600000");
    QTest::mouseClick(button_, Qt::LeftButton);
    ASSERT_TRUE(line->waitUntilAtEnquiry(kPatience));

    form_.close();
    EXPECT_EQ(line->entries(),
              (std::vector<std::string>{"settings 2400,n,8,1", "port", "open", "output", "close"}));
    const std::lock_guard lock(line->mutex);
    EXPECT_FALSE(line->open);
    EXPECT_EQ(line->made, 1);
    EXPECT_NE(line->madeOn, std::this_thread::get_id()) << "the line was made on the window's";
    EXPECT_EQ(line->destroyedOn, line->madeOn) << "the line left the thread that made it";
    EXPECT_EQ(peso_->text(), "0,00");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vardelmo::window::test
