#include "window/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "cli/reply_bytes.h"
#include "query/settings_search.h"
#include "query/weight_request.h"
#include "reading/reading.h"
#include "serial/system_line.h"
#include "ui_form1.h"
#include "window/failure_box.h"
#include "window/port_completer.h"

namespace vardelmo::window {

namespace {

// The reply's reading, "1,234 kg estável", or, when it does not decode, the hint at why.
QString readingText(const reading::Decoded& decoded) {
    return QString::fromStdString(decoded.reading ? reading::readingLine(*decoded.reading)
                                                  : reading::hintText(decoded.hint));
}

// The reply spelled out and its reading, as rich text, so that a reply containing "<b>" or a
// named byte such as <DEL> or <SUB> is never taken for markup.
QString replyToolTip(const std::string& reply, const reading::Decoded& decoded) {
    const QString described =
        QString::fromStdString(cli::describeReply(reply)) + '\n' + readingText(decoded);
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(described.toHtmlEscaped());
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
    : Form1(std::move(makeLine), std::move(ports), std::chrono::steady_clock::now, parent) {}

Form1::Form1(LineFactory makeLine, std::unique_ptr<serial::PortList> ports,
             query::SteadyNow searchNow, QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::Form1>()),
      makeLine_(std::move(makeLine)),
      searchNow_(std::move(searchNow)) {
    ui->setupUi(this);
    setFixedSize(size());
    setFont(fittingFont(font(), {ui->Label1, ui->Label2, ui->Label3}));
    new PortCompleter(*ui->txtPorta, std::move(ports));
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::requestWeight);

    // Ctrl+D: no action of a line edit's own uses it.
    findAction_ = new QAction(QStringLiteral("Descobrir configuração"), ui->txtConfig);
    findAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    findAction_->setShortcutContext(Qt::WidgetShortcut);
    findAction_->setShortcutVisibleInContextMenu(true);
    ui->txtConfig->addAction(findAction_);
    connect(findAction_, &QAction::triggered, this, &Form1::findSettings);
    ui->txtConfig->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->txtConfig, &QWidget::customContextMenuRequested, this, &Form1::showConfigMenu);
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
    // One press, one request: a press during a request or a search is not kept for later.
    if (busy()) {
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
        showReply(*outcome.display);
    }
    if (outcome.failure) {
        showFailureReport(this, *outcome.failure);
    }
    emit requestFinished();
}

void Form1::findSettings() {
    if (busy()) {
        return;
    }
    beforeSearch_ = {ui->txtConfig->text(), ui->txtPeso->text(), ui->txtPeso->toolTip(),
                     ui->lblLeitura->text()};
    query::SearchPlan plan;
    plan.port = ui->txtPorta->text().toStdString();
    search_ = new SearchThread(makeLine_, searchNow_, std::move(plan), this);
    connect(search_, &SearchThread::trying, this, [this, search = search_](const QString& config) {
        if (search == search_) {
            ui->lblLeitura->setText(QStringLiteral("Tentando %1…").arg(config));
        }
    });
    connect(search_, &QThread::finished, this, [this, search = search_] {
        if (search == search_) {
            showSearchOutcome();
        }
    });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    search_->start();
}

void Form1::showSearchOutcome() {
    const query::SearchResult result = search_->takeResult();
    const query::SearchPlan plan = search_->plan();
    std::exchange(search_, nullptr)->deleteLater();
    QApplication::restoreOverrideCursor();

    const auto found = std::find_if(result.tries.begin(), result.tries.end(),
                                    [](const query::SearchTry& t) { return t.recognized; });
    // No try read, but one had frames of a family the tool does not know: its settings work,
    // and its reply is shown, the caption saying the format is unknown.
    const query::SearchTry* unknown =
        result.failure ? nullptr : query::unknownFamilyTry(result, reading::hasFrameShape);
    if (found != result.tries.end() || unknown != nullptr) {
        const query::SearchTry& shown = found != result.tries.end() ? *found : *unknown;
        ui->txtConfig->setText(QString::fromStdString(shown.config));
        showReply(shown.reply);
    } else {
        ui->txtConfig->setText(beforeSearch_.config);
        ui->txtPeso->setText(beforeSearch_.display);
        ui->txtPeso->setCursorPosition(0);
        ui->txtPeso->setToolTip(beforeSearch_.displayTip);
        ui->lblLeitura->setText(beforeSearch_.reading);
        showFailureReport(this,
                          result.failure ? *result.failure : query::notFoundReport(plan, result));
    }
    emit searchFinished();
}

void Form1::showReply(const std::string& reply) {
    // Decoded here, on the window's thread: it takes far less than a frame's drawing.
    const reading::Decoded decoded = reading::decode(reply);
    // Latin-1 maps each byte to one character, so none is lost or merged.
    ui->txtPeso->setText(QString::fromLatin1(reply.data(), static_cast<qsizetype>(reply.size())));
    ui->txtPeso->setCursorPosition(0);
    ui->txtPeso->setToolTip(replyToolTip(reply, decoded));
    QString caption = readingText(decoded);
    if (decoded.reading) {
        caption += '\n' + QString::fromStdString(reading::familyName(decoded.reading->protocol));
    }
    ui->lblLeitura->setText(caption);
}

void Form1::showConfigMenu(const QPoint& at) {
    const std::unique_ptr<QMenu> menu(ui->txtConfig->createStandardContextMenu());
    menu->addSeparator();
    menu->addAction(findAction_);
    menu->exec(ui->txtConfig->mapToGlobal(at));
}

void Form1::dropRequest() {
    // Deleting a thread interrupts its work and waits for it: the port is closed then.
    if (request_) {
        delete std::exchange(request_, nullptr);
        QApplication::restoreOverrideCursor();
    }
    if (search_) {
        delete std::exchange(search_, nullptr);
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace vardelmo::window
