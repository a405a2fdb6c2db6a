#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "query/field_texts.h"
#include "serial/port_list.h"
#include "window/request_thread.h"
#include "window/search_thread.h"

class QAction;
class QShortcut;

namespace Ui {
class Form1;
}

namespace vardelmo::window {

// The program's only window. A press of Command1 runs one weight request on a
// thread of its own; the window keeps answering meanwhile, and presses made
// before the request ends start nothing. "Descobrir configuração", in the
// settings field's menu, runs the settings search the same way; Esc ends it.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    // On the system's serial line and ports.
    explicit Form1(QWidget* parent = nullptr);
    // `makeLine` gives each request its serial line (the window's MSComm1);
    // `ports` are the ones offered in "Porta:".
    Form1(LineFactory makeLine, std::unique_ptr<serial::PortList> ports, QWidget* parent = nullptr);
    // `searchNow` is the clock a settings search bounds its tries by.
    Form1(LineFactory makeLine, std::unique_ptr<serial::PortList> ports, query::SteadyNow searchNow,
          QWidget* parent = nullptr);
    ~Form1() override;

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows these texts in the fields, e.g. the command line's.
    void fillFields(const query::FieldTexts& texts);

signals:
    // A request has ended and what it had to show is shown, its box dismissed.
    void requestFinished();
    // A settings search has ended and what it had to show is shown, its box dismissed.
    void searchFinished();

protected:
    // Closing cuts a running request short: its port is closed before this returns.
    void closeEvent(QCloseEvent* event) override;

private:
    // What a search that finds nothing puts back.
    struct Shown {
        QString config, display, displayTip, reading;
    };

    bool busy() const { return request_ != nullptr || search_ != nullptr; }
    void requestWeight();
    void showOutcome();
    void findSettings();
    void showSearchOutcome();
    void stopSearch();
    void putBackBeforeSearch();
    void showReply(const std::string& reply);
    void showConfigMenu(const QPoint& at);
    void dropRequest();

    std::unique_ptr<Ui::Form1> ui;
    LineFactory makeLine_;
    query::SteadyNow searchNow_;
    QAction* findAction_ = nullptr;
    QShortcut* stopSearch_ = nullptr;   // Esc, live while a search runs
    RequestThread* request_ = nullptr;  // the request running now, if any; a child
    SearchThread* search_ = nullptr;    // the search running now, if any; a child
    Shown beforeSearch_;
};

}  // namespace vardelmo::window
