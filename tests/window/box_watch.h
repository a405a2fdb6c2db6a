#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <vector>

namespace vardelmo::window::test {

// A message box as it stood when it was shown.
struct SeenBox {
    QWidget* parent = nullptr;
    bool modal = false;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

// Notes every message box the application shows and dismisses it with its OK
// button, so a box nobody expected cannot hold a test in its event loop. A
// test takes the boxes it expects; any left over fail it (see Form1Test).
class BoxWatch final : public QObject {
public:
    BoxWatch() { QApplication::instance()->installEventFilter(this); }
    ~BoxWatch() override { QApplication::instance()->removeEventFilter(this); }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    std::vector<SeenBox> take() { return std::exchange(seen_, {}); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box != nullptr && event->type() == QEvent::Show) {
            SeenBox seen{box->parentWidget(),
                         box->isModal(),
                         box->windowTitle(),
                         box->text(),
                         box->textFormat(),
                         box->icon(),
                         {}};
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons.append(box->standardButton(button));
            }
            seen_.push_back(seen);
            // Queued: the box's own event loop runs once it is shown.
            QMetaObject::invokeMethod(
                box,
                [target = QPointer<QMessageBox>(box)] {
                    if (target == nullptr) {
                        return;
                    }
                    if (QAbstractButton* ok = target->button(QMessageBox::Ok)) {
                        ok->click();
                    } else {
                        target->reject();
                    }
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<SeenBox> seen_;
};

}  // namespace vardelmo::window::test
