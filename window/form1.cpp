#include "window/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>
#include <utility>

#include "cli/reply_bytes.h"
#include "query/weight_request.h"
#include "serial/system_line.h"
#include "ui_form1.h"
#include "window/failure_box.h"
#include "window/port_completer.h"

namespace vardelmo::window {

namespace {

// The reply spelled out as rich text, so that a reply containing "<b>" or a
// named byte such as <DEL> or <SUB> is never taken for markup.
QString replyToolTip(const std::string& reply) {
    const QString described = QString::fromStdString(cli::describeReply(reply)).toHtmlEscaped();
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(described);
}

// The captions' widths were laid out for a narrow bitmap font. Desktop fonts
// run wider, so the window's default font is the desktop's own at the largest
// size at which every caption shows whole; txtPeso keeps its own font.
QFont fittingFont(QFont font, const std::initializer_list<const QLabel*> captions) {
    constexpr qreal kSmallest = 6.0;
    const auto fits = [&captions](const QFont& candidate) {
        const QFontMetricsF metrics(candidate);
        for (const QLabel* caption : captions) {
            if (metrics.horizontalAdvance(caption->text()) > caption->width()) {
                return false;
            }
        }
        return true;
    };
    while (font.pointSizeF() > kSmallest && !fits(font)) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return font;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : Form1(serial::makeSystemLine, serial::makeSystemPortList(), parent) {}

Form1::Form1(LineFactory makeLine, std::unique_ptr<serial::PortList> ports, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::Form1>()), makeLine_(std::move(makeLine)) {
    ui->setupUi(this);
    setFixedSize(size());
    setFont(fittingFont(font(), {ui->Label1, ui->Label2, ui->Label3}));
    new PortCompleter(*ui->txtPorta, std::move(ports));
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::requestWeight);
    ui->Command1->setFocus();
}

Form1::~Form1() {
    dropRequest();
}

void Form1::closeEvent(QCloseEvent* event) {
    dropRequest();
    QWidget::closeEvent(event);
}

void Form1::fillFields(const query::FieldTexts& texts) {
    ui->txtPorta->setText(QString::fromStdString(texts.portText));
    ui->txtConfig->setText(QString::fromStdString(texts.configText));
    ui->txtEspera->setText(QString::fromStdString(texts.waitText));
}

void Form1::requestWeight() {
    // One press, one request: a press during a request is not kept for later.
    if (request_) {
        return;
    }
    // Copies: typing while the request runs changes nothing in it.
    query::FieldTexts texts;
    texts.portText = ui->txtPorta->text().toStdString();
    texts.configText = ui->txtConfig->text().toStdString();
    texts.waitText = ui->txtEspera->text().toStdString();
    request_ = new RequestThread(makeLine_, std::move(texts), this);
    // Only this request's end shows its outcome: one dropped by a close shows nothing.
    connect(request_, &QThread::finished, this, [this, request = request_] {
        if (request == request_) {
            showOutcome();
        }
    });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    request_->start();
}

void Form1::showOutcome() {
    // The outcome is complete once the thread says it finished; the thread itself
    // may still be winding down, so it is not waited for here but joined when deleted.
    const query::Outcome outcome = request_->takeOutcome();
    request_->deleteLater();
    request_ = nullptr;
    QApplication::restoreOverrideCursor();

    if (outcome.display) {
        const std::string& reply = *outcome.display;
        // Latin-1 maps each byte to one character, so none is lost or merged.
        ui->txtPeso->setText(
            QString::fromLatin1(reply.data(), static_cast<qsizetype>(reply.size())));
        ui->txtPeso->setCursorPosition(0);
        ui->txtPeso->setToolTip(replyToolTip(reply));
    }
    if (outcome.failure) {
        showFailureReport(this, *outcome.failure);
    }
    emit requestFinished();
}

void Form1::dropRequest() {
    if (request_) {
        delete std::exchange(request_, nullptr);  // interrupts it and waits for it
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace vardelmo::window
