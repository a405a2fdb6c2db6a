#include "window/failure_box.h"

#include <QMessageBox>

namespace vardelmo::window {

void showFailureReport(QWidget* parent, const query::FailureReport& report) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(report.title),
                    QString::fromStdString(report.description), QMessageBox::Ok, parent);
    // A description quotes what the operator typed; it must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vardelmo::window
