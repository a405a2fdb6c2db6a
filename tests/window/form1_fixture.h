#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "serial/port_list.h"
#include "serial/system_line.h"
#include "tests/support/patience.h"
#include "tests/window/box_watch.h"
#include "tests/window/fake_line.h"
#include "window/form1.h"

// Found by argument-dependent lookup: a failing comparison shows the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vardelmo::window::test {

using namespace std::chrono_literals;

using test_support::kPatience;
// QSignalSpy::wait takes plain milliseconds.
constexpr int kPatienceMs = static_cast<int>(kPatience.count());

// The ports a FakePortList offers, and how often it was asked for them.
struct FakePorts {
    std::vector<serial::PortEntry> entries;
    int asked = 0;
};

class FakePortList final : public serial::PortList {
public:
    explicit FakePortList(std::shared_ptr<FakePorts> ports) : ports_(std::move(ports)) {}
    std::vector<serial::PortEntry> ports() override {
        ++ports_->asked;
        return ports_->entries;
    }

private:
    std::shared_ptr<FakePorts> ports_;
};

// The window on the system's serial line (or a FakeLine once useFakeLine() is
// called) and on a fake port list.
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
        leitura_ = form_.findChild<QLabel*>("lblLeitura");
        ASSERT_TRUE(button_ && peso_ && porta_ && config_ && espera_ && leitura_);
    }

    // A box the test did not take fails it, with the box's own words.
    void TearDown() override {
        for (const SeenBox& box : boxes_.take()) {
            ADD_FAILURE() << "a box nobody expected: \"" << box.title.toStdString()
                          << "\": " << box.text.toStdString();
        }
    }

    // The line, and the clock a search is bounded by.
    std::shared_ptr<FakeLineState> useFakeLine() {
        auto state = std::make_shared<FakeLineState>();
        makeLine_ = [state] { return std::make_unique<FakeLine>(state); };
        searchNow_ = [state] { return state->now(); };
        return state;
    }

    // Presses "Peso" and returns once the request's outcome is shown.
    void pressAndWait() {
        QSignalSpy finished(&form_, &Form1::requestFinished);
        QTest::mouseClick(button_, Qt::LeftButton);
        ASSERT_TRUE(finished.count() == 1 || finished.wait(kPatienceMs))
            << "the request did not end";
    }

    BoxWatch boxes_;
    LineFactory makeLine_ = serial::makeSystemLine;
    query::SteadyNow searchNow_ = std::chrono::steady_clock::now;
    std::shared_ptr<FakePorts> ports_ = std::make_shared<FakePorts>();
    Form1 form_{[this] { return makeLine_(); }, std::make_unique<FakePortList>(ports_),
                [this] { return searchNow_(); }};
    QPushButton* button_ = nullptr;
    QLineEdit* peso_ = nullptr;
    QLineEdit* porta_ = nullptr;
    QLineEdit* config_ = nullptr;
    QLineEdit* espera_ = nullptr;
    QLabel* leitura_ = nullptr;
};

}  // namespace vardelmo::window::test
