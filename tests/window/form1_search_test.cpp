#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "query/conversions.h"
#include "serial/port_name.h"
#include "tests/support/case_name.h"
#include "tests/window/form1_fixture.h"

namespace vardelmo::window::test {
namespace {

const char* const kUnknownFamily = "formato desconhecido";

const std::string kFrame =
    "\x02"
    "01234\x03";

class Form1SearchTest : public Form1Test {
protected:
    // A reply shown and settings typed, for a search that finds nothing to put back.
    void showAReadingFirst() {
        line_->reply = "\x02NNNNN\x03";
        ASSERT_NO_FATAL_FAILURE(pressAndWait());
        ASSERT_EQ(leitura_->text(), "negativo\nToledo B");
        config_->setText("1200,e,7,2");
        porta_->setText("7");
        line_->reply.clear();
        const std::lock_guard lock(line_->mutex);
        line_->opened = 0;
        line_->atEnquiry = false;
    }

    // Starts a search with Ctrl+D in "Config" and returns once it has ended.
    void searchAndWait() {
        QSignalSpy finished(&form_, &Form1::searchFinished);
        config_->setFocus();
        QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
        ASSERT_TRUE(finished.count() == 1 || finished.wait(kPatienceMs))
            << "the search did not end";
    }

    int opened() const {
        const std::lock_guard lock(line_->mutex);
        return line_->opened;
    }

    std::shared_ptr<FakeLineState> line_ = useFakeLine();
};

struct SearchCase {
    const char* name;
    std::optional<std::string> answersOnlyAt;  // where the frame comes back; no frame if none
    std::optional<std::string> openFailure;
    int opened;                        // ports opened: the tries made
    std::optional<std::string> found;  // else the box's text, worked out by the case
    const char* wait = "0";            // typed in "Espera:"
    int boundMs = 600;                 // how long a try that reads nothing waits
    bool escape = false;               // Esc pressed during the first try
    std::string reply = kFrame;        // what comes back where the scale answers
    const char* caption = "1,234 kg estável\nToledo B";
    friend void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }
};

class Searches : public Form1SearchTest, public testing::WithParamInterface<SearchCase> {};

// Found: the settings, the reply and its reading replace what was shown. Not found, the port
// or the wait failing, or Esc: every field is as it was before the search; the caption says
// that nothing read, or that the search was ended, and a box says why it failed.
TEST_P(Searches, ShowTheSettingsFoundOrPutTheFieldsBack) {
    const SearchCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(showAReadingFirst());
    const QString display = peso_->text();
    const QString toolTip = peso_->toolTip();
    if (c.answersOnlyAt) {
        line_->reply = c.reply;
        line_->answersOnlyAt = c.answersOnlyAt;
    }
    // What a scale at other settings sends back: bytes, but no reading.
    line_->elsewhere = std::string("\x8f\x00\x33\x02", 4);
    line_->openFailure = c.openFailure;
    espera_->setText(c.wait);
    const auto clockBefore = line_->clockMs.load();

    if (c.escape) {
        // Silent tries on the steady clock: only a search ended by Esc ends within the test.
        line_->realWaits = true;
        QSignalSpy finished(&form_, &Form1::searchFinished);
        config_->setFocus();
        QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
        ASSERT_TRUE(line_->waitUntilAtEnquiry(kPatience));
        QTest::keyClick(config_, Qt::Key_Escape);
        EXPECT_EQ(finished.count(), 1) << "Esc did not end the search at once";
        const std::lock_guard lock(line_->mutex);
        EXPECT_FALSE(line_->open) << "the port is still held";
    } else {
        ASSERT_NO_FATAL_FAILURE(searchAndWait());
        // Each try that read no reading waited the whole bound, on the fake clock; frames of an
        // unknown family read as none, so their try waited too.
        const bool read = c.found && std::string(c.caption) != kUnknownFamily;
        EXPECT_EQ(line_->clockMs.load() - clockBefore, (c.opened - (read ? 1 : 0)) * c.boundMs);
    }
    EXPECT_EQ(opened(), c.opened);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(porta_->text(), "7");
    const std::vector<SeenBox> boxes = boxes_.take();
    if (c.found) {
        EXPECT_TRUE(boxes.empty()) << boxes.at(0).text.toStdString();
        EXPECT_EQ(config_->text(), QString::fromStdString(*c.found));
        EXPECT_EQ(peso_->text(),
                  QString::fromLatin1(c.reply.data(), static_cast<qsizetype>(c.reply.size())));
        EXPECT_EQ(leitura_->text(), c.caption);
        return;
    }
    EXPECT_EQ(config_->text(), "1200,e,7,2");
    EXPECT_EQ(peso_->text(), display);
    EXPECT_EQ(peso_->toolTip(), toolTip);
    if (c.escape) {
        EXPECT_TRUE(boxes.empty()) << boxes.at(0).text.toStdString();
        EXPECT_EQ(leitura_->text(), "Descoberta interrompida");
        return;
    }
    // The same sentence as the command line's, naming the port as an opening failure does; a
    // wait the field refuses, in the words a press would use.
    const auto wait = query::convertWait(c.wait);
    const bool failed = c.openFailure || !wait;
    const std::string expected = c.openFailure ? *c.openFailure
                                 : !wait
                                     ? wait.description()
                                     : "Nenhuma das 14 configurações tentadas deu leitura na " +
                                           serial::portLabel(query::convertPort("7").value()) + '.';
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].title, "Deu Pau!");
    EXPECT_EQ(boxes[0].text, QString::fromStdString(expected));
    EXPECT_EQ(boxes[0].format, Qt::PlainText);
    // A failure taught nothing of the port, as a failed press; nothing read says so, rather
    // than leave the reading of another port.
    EXPECT_EQ(leitura_->text(), failed ? "negativo\nToledo B" : "Nenhuma configuração deu leitura");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Searches,
    testing::Values(
        SearchCase{"FirstCandidate", "2400,n,8,1", std::nullopt, 1, "2400,n,8,1"},
        SearchCase{"AfterGarbage", "9600,e,7,1", std::nullopt, 6, "9600,e,7,1"},
        SearchCase{"NothingGivesAReading", std::nullopt, std::nullopt, 14, std::nullopt},
        SearchCase{"EsperaBoundsEachTry", std::nullopt, std::nullopt, 14, std::nullopt, "250", 250},
        SearchCase{"EsperaBoundsEachTryUntilFound", "9600,e,7,1", std::nullopt, 6, "9600,e,7,1",
                   " 1500.4 ms", 1500},
        // The field reads no number as 0: the search's own bound.
        SearchCase{"EsperaWithoutANumber", std::nullopt, std::nullopt, 14, std::nullopt, "abc",
                   600},
        SearchCase{"EsperaTheFieldRefuses", "2400,n,8,1", std::nullopt, 0, std::nullopt,
                   "3000000000"},
        // Frames of a family the tool does not know: the settings are found all the same, once
        // every try has been made.
        SearchCase{"AnUnknownFamily", "9600,n,8,1", std::nullopt, 14, "9600,n,8,1", "0", 600, false,
                   "\x02W 1.234 kg\r\n", kUnknownFamily},
        SearchCase{"ThePortFails", "2400,n,8,1", "A porta 7 (/dev/ttyS6) não existe.", 0,
                   std::nullopt},
        SearchCase{"EscEndsIt", std::nullopt, std::nullopt, 1, std::nullopt, "0", 600, true}),
    test_support::CaseName());

// The menu offers the search with its shortcut beside the line edit's own actions.
TEST_F(Form1SearchTest, TheSettingsMenuOffersTheSearchWithItsShortcut) {
    line_->reply = kFrame;
    line_->answersOnlyAt = "4800,n,8,1";
    QStringList entries;
    QString shortcut;
    bool shown = false;
    // The menu runs an event loop of its own; it is looked at, and its entry taken, from there.
    QTimer::singleShot(0, &form_, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                entries << action->text();
            }
        }
        QAction* find = menu->actions().last();
        shown = find->isShortcutVisibleInContextMenu();
        shortcut = find->shortcut().toString();
        find->trigger();
        menu->close();
    });
    QSignalSpy finished(&form_, &Form1::searchFinished);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            config_->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(config_, &event);
    ASSERT_TRUE(finished.count() == 1 || finished.wait(kPatienceMs)) << "no search ran";

    EXPECT_GT(entries.size(), 1) << "the line edit's own entries are gone";
    EXPECT_EQ(entries.last(), "Descobrir configuração");
    EXPECT_EQ(shortcut, "Ctrl+D");
    EXPECT_TRUE(shown);
    EXPECT_EQ(config_->text(), "4800,n,8,1");
}

// The shortcut is the search's, not an edit of the field's text.
TEST_F(Form1SearchTest, CtrlDInTheSettingsFieldSearchesWithoutEditingIt) {
    config_->setText("2400,x,8,1");
    config_->setCursorPosition(0);
    ASSERT_NO_FATAL_FAILURE(searchAndWait());
    EXPECT_EQ(opened(), 14);
    ASSERT_EQ(boxes_.take().size(), 1U);
    EXPECT_EQ(config_->text(), "2400,x,8,1");
}

// While a try waits, the caption names it and the busy cursor shows; presses of "Peso" and
// more searches asked for meanwhile start nothing, then or later.
TEST_F(Form1SearchTest, PressesDuringASearchStartNothing) {
    line_->reply = kFrame;
    line_->holdAtEnquiry = true;
    QSignalSpy requests(&form_, &Form1::requestFinished);
    QSignalSpy searches(&form_, &Form1::searchFinished);
    config_->setFocus();
    QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(line_->waitUntilAtEnquiry(kPatience));
    QCoreApplication::processEvents();

    EXPECT_EQ(leitura_->text(), "Tentando 2400,n,8,1…");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QTest::mouseClick(button_, Qt::LeftButton);
    QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
    button_->setFocus();
    QTest::keyClick(button_, Qt::Key_Space);
    line_->release();
    ASSERT_TRUE(searches.wait(kPatienceMs));
    QCoreApplication::processEvents();

    EXPECT_EQ(searches.count(), 1);
    EXPECT_EQ(requests.count(), 0);
    EXPECT_EQ(line_->made, 1);
    EXPECT_EQ(opened(), 1);
    EXPECT_EQ(leitura_->text(), "1,234 kg estável\nToledo B");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Silent tries last their whole bound on the steady clock, far longer than the test's limit
// all together: only a search cut short by the close passes.
TEST_F(Form1SearchTest, ClosingTheWindowEndsTheSearchAndClosesThePort) {
    line_->realWaits = true;
    QSignalSpy searches(&form_, &Form1::searchFinished);
    config_->setFocus();
    QTest::keyClick(config_, Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(line_->waitUntilAtEnquiry(kPatience));
    QCoreApplication::processEvents();
    EXPECT_EQ(leitura_->text(), "Tentando 2400,n,8,1…");

    form_.close();
    QCoreApplication::processEvents();
    const std::vector<std::string> log = line_->entries();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "close");
    const std::lock_guard lock(line_->mutex);
    EXPECT_FALSE(line_->open);
    EXPECT_EQ(line_->opened, 1);
    EXPECT_EQ(line_->made, 1);
    EXPECT_NE(line_->madeOn, std::this_thread::get_id()) << "the line was made on the window's";
    EXPECT_EQ(line_->destroyedOn, line_->madeOn) << "the line left the thread that made it";
    EXPECT_EQ(searches.count(), 0);
    EXPECT_EQ(config_->text(), "2400,n,8,1");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vardelmo::window::test
