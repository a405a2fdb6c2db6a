#include "window/form1.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCompleter>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>
#include <string>

#include "query/field_texts.h"
#include "tests/window/form1_fixture.h"

namespace vardelmo::window::test {
namespace {

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
        // Empty until a reply, so the window starts as it always has.
        {"lblLeitura", "QLabel", "", {160, 136, 145, 67}},
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
    EXPECT_EQ(porta_->text(), query::kInitialPort);
    EXPECT_EQ(config_->text(), query::kInitialConfig);
    EXPECT_EQ(espera_->text(), query::kInitialWait);
}

// The texts the command line gives, each in its own field.
TEST_F(Form1Test, ShowsTheTextsItIsGiven) {
    query::FieldTexts texts;
    texts.portText = "/dev/ttyUSB0";
    texts.configText = "9600,e,7,2";
    texts.waitText = "300";
    form_.fillFields(texts);
    EXPECT_EQ(porta_->text(), "/dev/ttyUSB0");
    EXPECT_EQ(config_->text(), "9600,e,7,2");
    EXPECT_EQ(espera_->text(), "300");
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

TEST_F(Form1Test, EveryControlIsNamedAndDescribedForAScreenReader) {
    struct Control {
        const char* name;
        QString spoken;       // what a screen reader says for it
        const char* caption;  // the label that names it, if any
    };
    const Control controls[] = {
        {"Command1", "Peso", nullptr},      {"txtPeso", "Peso", nullptr},
        {"txtPorta", "Porta:", "Label1"},   {"txtConfig", "Config", "Label2"},
        {"txtEspera", "Espera:", "Label3"}, {"Label1", "Porta:", nullptr},
        {"Label2", "Config", nullptr},      {"Label3", "Espera:", nullptr},
        {"lblLeitura", "Leitura", nullptr},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = form_.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr);
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->text(QAccessible::Name), c.spoken);
        EXPECT_FALSE(control->text(QAccessible::Description).isEmpty());
        if (c.caption != nullptr) {
            auto* label = form_.findChild<QLabel*>(c.caption);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->buddy(), widget);
            bool labelled = false;
            for (const auto& [other, relation] : control->relations(QAccessible::Label)) {
                labelled = labelled || other->object() == label;
            }
            EXPECT_TRUE(labelled) << "the screen reader does not tie the caption to the field";
        }
    }
}

TEST_F(Form1Test, PortaOffersThePortsPresentWhenTheListOpens) {
    EXPECT_EQ(ports_->asked, 0) << "the ports are asked for at start-up";
    porta_->setFocus();
    QTest::keyClick(porta_, Qt::Key_Down);
    QAbstractItemView* list = porta_->completer()->popup();
    EXPECT_FALSE(list->isVisible()) << "an empty list is not opened";

    ports_->entries = {{"/dev/ttyUSB0", "FTDI FT232R USB UART (0403:6001)"}, {"/dev/ttyS0", ""}};
    QTest::keyClick(porta_, Qt::Key_Down);
    ASSERT_TRUE(list->isVisible());
    const auto shown = [list] {
        QStringList rows;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            rows << list->model()->index(row, 0).data().toString();
        }
        return rows;
    };
    EXPECT_EQ(shown(),
              QStringList({"/dev/ttyUSB0 — FTDI FT232R USB UART (0403:6001)", "/dev/ttyS0"}));
    EXPECT_GE(list->width(), QFontMetrics(list->font()).horizontalAdvance(shown().at(0)))
        << "an entry is cut off";

    // Choosing an entry types what the field takes, without its description.
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(porta_->text(), "/dev/ttyUSB0");

    // An adapter plugged in since shows up the next time the list opens.
    ports_->entries.push_back({"/dev/ttyACM0", "(2341:0043)"});
    QTest::keyClick(porta_, Qt::Key_Down);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(shown().size(), 3);
    QTest::keyClick(list, Qt::Key_Escape);

    // Typing offers the ports that start so, as they were when the field was entered.
    ports_->entries.push_back({"/dev/ttyACM1", ""});
    espera_->setFocus();
    porta_->setFocus();
    porta_->clear();
    QTest::keyClicks(porta_, "/dev/ttyA");
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(shown(), QStringList({"/dev/ttyACM0 — (2341:0043)", "/dev/ttyACM1"}));
    QTest::keyClick(list, Qt::Key_Escape);

    // Opened after typing, the list holds every entry again, and is as wide as the longest;
    // at the screen's right edge it stays on the screen; the field keeps its width.
    const QRect screen = form_.screen()->availableGeometry();
    form_.move(screen.right() - form_.frameGeometry().width(), screen.top() + 20);
    QTest::keyClick(porta_, Qt::Key_Down);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(shown().size(), 4);
    EXPECT_GE(list->width(), QFontMetrics(list->font()).horizontalAdvance(shown().at(0)))
        << "an entry is cut off";
    EXPECT_TRUE(screen.contains(list->geometry()))
        << "the list runs off the screen: " << list->geometry().left() << " to "
        << list->geometry().right();
    EXPECT_EQ(porta_->width(), 41);
}

std::vector<std::string> warnings;
void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    // The offscreen test platform says so of every popup; a desktop does not.
    const bool offscreenLimit = text.startsWith("This plugin does not support");
    if (type != QtDebugMsg && type != QtInfoMsg && !offscreenLimit) {
        warnings.push_back(text.toStdString());
    }
}

TEST(Form1OnTheSystem, ListsThePortsOfThisMachineWithoutAWarning) {
    Form1 form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* porta = form.findChild<QLineEdit*>("txtPorta");
    ASSERT_NE(porta, nullptr);
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    porta->setFocus();
    QTest::keyClick(porta, Qt::Key_Down);
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(static_cast<std::size_t>(porta->completer()->completionModel()->rowCount()),
              serial::makeSystemPortList()->ports().size());
}

}  // namespace
}  // namespace vardelmo::window::test
