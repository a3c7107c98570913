#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The named control of a window; a test that asks for a control the window lacks stops there.
template <class T>
T* child(const QObject* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}
