#include "window/form1.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "virtual_scale/virtual_scale.h"
#include "window/command_line.h"

namespace vardelmo::window {
namespace {

using namespace std::chrono_literals;

constexpr auto kSafety = 5s;

class Form1Test : public testing::Test {
protected:
    void SetUp() override {
        form_.show();
        form_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
        button_ = form_.findChild<QPushButton*>("Command1");
        peso_ = form_.findChild<QLineEdit*>("txtPeso");
        porta_ = form_.findChild<QLineEdit*>("txtPorta");
        config_ = form_.findChild<QLineEdit*>("txtConfig");
        espera_ = form_.findChild<QLineEdit*>("txtEspera");
        ASSERT_TRUE(button_ && peso_ && porta_ && config_ && espera_);
    }

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

    Form1 form_;
    QPushButton* button_ = nullptr;
    QLineEdit* peso_ = nullptr;
    QLineEdit* porta_ = nullptr;
    QLineEdit* config_ = nullptr;
    QLineEdit* espera_ = nullptr;
    std::unique_ptr<vscale::VirtualScale> scale_;
};

TEST_F(Form1Test, StartsWithTheInitialLayoutAndTexts) {
    EXPECT_EQ(form_.windowTitle(), "Vardelmo");
    EXPECT_EQ(form_.size(), QSize(314, 217));
    EXPECT_EQ(form_.minimumSize(), QSize(314, 217));
    EXPECT_EQ(form_.maximumSize(), QSize(314, 217));

    struct Control {
        const char* name;
        const char* kind;
        QString text;
        QRect geometry;
    };
    const Control controls[] = {
        {"Command1", "QPushButton", "Peso", {8, 32, 297, 41}},
        {"txtPeso", "QLineEdit", "0,00", {8, 80, 297, 41}},
        {"txtPorta", "QLineEdit", "5", {48, 136, 41, 19}},
        {"txtConfig", "QLineEdit", "2400,n,8,1", {48, 160, 105, 19}},
        {"txtEspera", "QLineEdit", "0", {48, 184, 41, 19}},
        {"Label1", "QLabel", "Porta:", {8, 136, 28, 13}},
        {"Label2", "QLabel", "Config", {8, 160, 30, 13}},
        {"Label3", "QLabel", "Espera:", {8, 184, 36, 13}},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = form_.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), c.kind);
        EXPECT_EQ(widget->geometry(), c.geometry);
        EXPECT_TRUE(widget->isVisible());
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(edit->text(), c.text);
            EXPECT_FALSE(edit->isReadOnly());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.text);
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()),
                      label->width());
        } else {
            EXPECT_EQ(qobject_cast<QAbstractButton*>(widget)->text(), c.text);
        }
    }

    const QFont font = peso_->font();
    EXPECT_EQ(font.family(), "MS Sans Serif");
    EXPECT_EQ(font.pointSize(), 24);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
    EXPECT_EQ(form_.font().family(), QApplication::font().family());
    for (const QWidget* widget : {static_cast<QWidget*>(button_), static_cast<QWidget*>(porta_),
                                  static_cast<QWidget*>(config_), static_cast<QWidget*>(espera_)}) {
        EXPECT_EQ(widget->font(), form_.font()) << widget->objectName().toStdString();
    }
}

// `vardelmo --query` takes these for the fields not given; they must not drift apart.
TEST_F(Form1Test, StartsWithTheTextsAQueryTakesForFieldsNotGiven) {
    EXPECT_EQ(porta_->text(), kInitialPort);
    EXPECT_EQ(config_->text(), kInitialConfig);
    EXPECT_EQ(espera_->text(), kInitialWait);
}

TEST_F(Form1Test, FocusStartsOnTheButtonAndTabRunsThroughTheFields) {
    EXPECT_EQ(QApplication::focusWidget(), button_);
    for (QWidget* next : {static_cast<QWidget*>(peso_), static_cast<QWidget*>(porta_),
                          static_cast<QWidget*>(config_), static_cast<QWidget*>(espera_),
                          static_cast<QWidget*>(button_)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(Form1Test, APressShowsTheScaleReplyAsReceived) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    QTest::mouseClick(button_, Qt::LeftButton);

    ASSERT_TRUE(scale_->waitForExchanges(1, kSafety));
    const auto exchanges = scale_->exchanges();
    ASSERT_EQ(exchanges.size(), 1U);
    EXPECT_EQ(exchanges[0].clientLine, "2400,n,8,1");
    EXPECT_EQ(scale_->received(), "\x05");
    const std::string& sent = exchanges[0].sent;
    ASSERT_EQ(sent, vscale::frame(vscale::Format::Stx5, 1.234, vscale::State::Stable));
    EXPECT_EQ(peso_->text(), QString::fromLatin1(sent.data(), static_cast<qsizetype>(sent.size())));
    EXPECT_TRUE(peso_->toolTip().contains("&lt;STX&gt;01234&lt;ETX&gt; (7 bytes)"))
        << peso_->toolTip().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Form1Test, EnterAndSpaceOnTheFocusedButtonEachRunOneRequest) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    button_->setFocus();
    std::size_t expected = 0;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        // QTest::toString hands over a new[] string.
        SCOPED_TRACE(std::unique_ptr<char[]>(QTest::toString(key)).get());
        peso_->clear();
        QTest::keyClick(button_, key);
        ++expected;
        ASSERT_TRUE(scale_->waitForExchanges(expected, kSafety));
        EXPECT_EQ(enquiries(), expected);
        EXPECT_FALSE(peso_->text().isEmpty());
    }
}

// What the request itself reports for this port, to compare the box with.
std::string failureFor(const std::string& port) {
    struct Texts final : query::Fields {
        std::string portText;
        std::string config() override { return "2400,n,8,1"; }
        std::string port() override { return portText; }
        std::string wait() override { return "0"; }
    };
    Texts fields;
    fields.portText = port;
    serial::QtSerialLine line;
    const query::Outcome outcome = query::runWeightRequest(fields, line);
    return outcome.failure ? outcome.failure->description : std::string();
}

TEST_F(Form1Test, AFailureShowsTheReportBoxOverTheWindow) {
    const std::string description = failureFor("abc");
    ASSERT_FALSE(description.empty());
    porta_->setText("abc");

    struct Seen {
        bool found = false;
        QWidget* parent = nullptr;
        bool modal = false;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QList<QMessageBox::StandardButton> buttons;
    } seen;
    // Started before the press: it fires inside the box's own event loop.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        seen.found = true;
        seen.parent = box->parentWidget();
        seen.modal = box->isModal();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons.append(box->standardButton(b));
        }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            box->reject();
        }
    });
    poll.start();
    QTest::mouseClick(button_, Qt::LeftButton);
    poll.stop();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.parent, &form_);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.title, "Deu Pau!");
    EXPECT_EQ(seen.text, QString::fromStdString(description));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(peso_->text(), "0,00");
}

TEST_F(Form1Test, TextTypedIntoTheDisplayStaysUntilTheNextRequest) {
    ASSERT_NO_FATAL_FAILURE(attachScale());
    button_->setFocus();
    QTest::keyClick(button_, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), peso_);
    QTest::keyClicks(peso_, "12,5 kg");
    QTest::keyClick(peso_, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), porta_);
    porta_->setText(QString::fromStdString(scale_->path()));
    EXPECT_EQ(peso_->text(), "12,5 kg");

    QTest::mouseClick(button_, Qt::LeftButton);
    ASSERT_TRUE(scale_->waitForExchanges(1, kSafety));
    const std::string sent = scale_->exchanges().at(0).sent;
    EXPECT_EQ(peso_->text(), QString::fromLatin1(sent.data(), static_cast<qsizetype>(sent.size())));
}

}  // namespace
}  // namespace vardelmo::window
