#include "app/SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
    watchPlatform();
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &SessionEnd::requested);
    }
    if (QCoreApplication::instance()) {
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &SessionEnd::requested);
    }
}

SessionEnd::~SessionEnd() {
    unwatchPlatform();
}
