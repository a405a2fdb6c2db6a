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
#include <QShortcut>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "cli/reply_bytes.h"
#include "query/conversions.h"
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

// The spelling with a zero-width space after each byte's spelling: a tooltip wraps only where
// a line may break, and a long reply spelled out is one word, wider than any screen. A named
// byte such as <STX> is never split.
QString breakable(const std::string& spelled) {
    QString out;
    bool named = false;
    for (const char c : spelled) {
        out += QLatin1Char(c);
        named = c == '<' || (named && c != '>');
        if (!named) {
            out += QChar(0x200B);
        }
    }
    return out;
}

// The reply spelled out and its reading, as rich text, so that a reply containing "<b>" or a
// named byte such as <DEL> or <SUB> is never taken for markup.
QString replyToolTip(const std::string& reply, const reading::Decoded& decoded) {
    const std::string count = cli::describeReply(reply).substr(cli::spellReply(reply).size());
    const QString described = breakable(cli::spellReply(reply)).toHtmlEscaped() +
                              QString::fromStdString(count + '\n').toHtmlEscaped() +
                              readingText(decoded).toHtmlEscaped();
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(described);
}

// A try waits for "Espera" once it is above 0, as --wait bounds --find; at 0, the field's
// initial text, the search keeps its own bound, as a try would read before any scale could
// answer. A text the field's conversion refuses is passed on, so that the search fails with
// the words a press would.
std::string searchBound(const std::string& waitText) {
    const auto wait = query::convertWait(waitText);
    return wait && wait.value().count() == 0 ? std::string(query::kSearchBound) : waitText;
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
    stopSearch_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stopSearch_->setEnabled(false);
    connect(stopSearch_, &QShortcut::activated, this, &Form1::stopSearch);
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
    plan.wait = searchBound(ui->txtEspera->text().toStdString());
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
    stopSearch_->setEnabled(true);
    search_->start();
}

void Form1::showSearchOutcome() {
    const query::SearchResult result = search_->takeResult();
    const query::SearchPlan plan = search_->plan();
    std::exchange(search_, nullptr)->deleteLater();
    QApplication::restoreOverrideCursor();
    stopSearch_->setEnabled(false);

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
        putBackBeforeSearch();
        // Nothing read on this port: what was read before, maybe on another, is not shown as
        // its reading. A port that failed taught nothing either way, as a failed press.
        if (!result.failure) {
            ui->lblLeitura->setText(QStringLiteral("Nenhuma configuração deu leitura"));
        }
        showFailureReport(this,
                          result.failure ? *result.failure : query::notFoundReport(plan, result));
    }
    emit searchFinished();
}

void Form1::stopSearch() {
    if (search_ == nullptr) {
        return;
    }
    // Deleting the thread interrupts the try and waits for it: the port is closed then.
    disconnect(search_, nullptr, this, nullptr);
    delete std::exchange(search_, nullptr);
    QApplication::restoreOverrideCursor();
    stopSearch_->setEnabled(false);
    putBackBeforeSearch();
    ui->lblLeitura->setText(QStringLiteral("Descoberta interrompida"));
    emit searchFinished();
}

void Form1::putBackBeforeSearch() {
    ui->txtConfig->setText(beforeSearch_.config);
    ui->txtPeso->setText(beforeSearch_.display);
    ui->txtPeso->setCursorPosition(0);
    ui->txtPeso->setToolTip(beforeSearch_.displayTip);
    ui->lblLeitura->setText(beforeSearch_.reading);
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
