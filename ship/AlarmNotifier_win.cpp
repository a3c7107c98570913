#include "ship/AlarmNotifier.h"

#include <QWidget>

// Windows shows a tray icon's message as its own notification (a toast on Windows 10 and 11),
// so the tray is the desktop path there.
AlarmNotifier::AlarmNotifier(QObject* parent) : QObject(parent) {}

void AlarmNotifier::notify(const QString& title, const QString& text) {
    fallBack(title, text);
}
