#include "app/ModalUnwind.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace ModalUnwind {

void endAllThen(QObject* context, std::function<void()> then, int patienceMSecs) {
    QList<QPointer<QWidget>> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (window->isModal()) {
            open << window;
        } else if (window->windowType() == Qt::Popup) {
            window->close();  // a menu that runs no loop of its own just goes
        }
    }
    if (open.isEmpty()) {
        then();
        return;
    }
    // Each modal dialog runs one loop inside the loop that runs now.
    const int outerLevel = QThread::currentThread()->loopLevel() - int(open.size());
    for (const QPointer<QWidget>& window : open) {
        if (auto* dialog = qobject_cast<QDialog*>(window.data())) {
            dialog->reject();
        } else if (window) {
            window->close();
        }
    }
    auto* poll = new QTimer(context);
    poll->setInterval(10);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(
        poll, &QTimer::timeout, context, [poll, open, outerLevel, waited, then, patienceMSecs] {
            const bool gone = std::all_of(open.begin(), open.end(),
                                          [](const QPointer<QWidget>& w) { return w.isNull(); });
            if (!gone && QThread::currentThread()->loopLevel() > outerLevel &&
                waited->elapsed() < patienceMSecs) {
                return;
            }
            poll->stop();
            poll->deleteLater();
            then();
        });
    poll->start();
}

}  // namespace ModalUnwind
