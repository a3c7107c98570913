#include "common/ToolWindow.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "common/Fonts.h"

namespace ToolWindow {

void setupResizable(QWidget* window, const QString& caption, const QSize& initialSize) {
    window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(caption);
    window->setFont(Fonts::font(Fonts::PGothic, 12));
    window->resize(initialSize);
}

void setup(QWidget* window, const QString& caption, const QSize& clientSize) {
    setupResizable(window, caption, clientSize);
    window->setFixedSize(clientSize);
}

void freeAtQuit(QWidget* window) {
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window,
                     [guard = QPointer<QWidget>(window)] { delete guard.data(); });
}

}  // namespace ToolWindow
