#include "app/TZEMsplash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QWindow>

#include "common/Fonts.h"
#include "common/ScreenAreas.h"
#include "resources/Artwork.h"

namespace {
constexpr int SplashSize = Artwork::splashSize;
}

TZEMsplash::TZEMsplash(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TZEMsplash"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(Fonts::font(Fonts::PGothic, 12));
    setFixedSize(SplashSize, SplashSize);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, SplashSize, SplashSize);
    Image1->setPixmap(QPixmap::fromImage(
        Artwork::deviceImage(QStringLiteral("splash"), QSize(SplashSize, SplashSize))));
    // A window manager may never give the splash the activation; another window of the program
    // becoming active ends it all the same.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window && window != windowHandle()) {
            FormDeactivate();
        }
    });
    const QRect screen = ScreenAreas::desktop();
    move(screen.x() + (screen.width() - SplashSize) / 2,
         screen.y() + (screen.height() - SplashSize) / 2);
}

void TZEMsplash::showAndPaint() {
    show();
    raise();
    activateWindow();
    repaint();
    // Let the window system map and draw it now: the controller's start-up follows at once.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TZEMsplash::FormDeactivate() {
    if (!m_released) {
        m_released = true;
        deleteLater();
    }
}

bool TZEMsplash::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        FormDeactivate();
    }
    return QWidget::event(event);
}
