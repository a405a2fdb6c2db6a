// The window on a scale behind a serial device server that accepts the connection and never
// answers the RFC 2217 negotiation: the window keeps answering while the opening waits, and
// closing it ends the opening long before its bound and frees the connection. Qt Network on
// both systems, so this runs under Wine as here.
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include "serial/network_line.h"
#include "tests/window/form1_fixture.h"

namespace vardelmo::window::test {
namespace {

TEST_F(Form1Test, ClosingTheWindowEndsAnOpeningThatWaitsOnASilentServer) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    // A bound far beyond the patience: only the closing can end the opening in time.
    makeLine_ = [] { return std::make_unique<serial::NetworkLine>(10 * kPatience); };
    porta_->setText(QString("rfc2217://127.0.0.1:%1").arg(server.serverPort()));

    QTest::mouseClick(button_, Qt::LeftButton);
    ASSERT_TRUE(server.waitForNewConnection(kPatienceMs));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_NE(peer, nullptr);
    // The client's offer of the COM-PORT-OPTION has come: it now waits for the answer.
    ASSERT_TRUE(peer->bytesAvailable() > 0 || peer->waitForReadyRead(kPatienceMs));
    EXPECT_EQ(peer->readAll(), QByteArray("\xff\xfb\x2c"));
    // The window still takes the operator's typing meanwhile.
    QTest::keyClicks(espera_, "5");
    QCoreApplication::processEvents();
    EXPECT_EQ(espera_->text(), "05");

    QElapsedTimer closing;
    closing.start();
    form_.close();  // returns once the request has ended
    EXPECT_LT(closing.elapsed(), kPatienceMs) << "the opening was left to run out";
    EXPECT_TRUE(peer->state() == QAbstractSocket::UnconnectedState ||
                peer->waitForDisconnected(kPatienceMs))
        << "the connection was left open";
    EXPECT_EQ(peso_->text(), "0,00");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vardelmo::window::test
