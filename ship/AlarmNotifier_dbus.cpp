#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <QWidget>

#include "ship/AlarmNotifier.h"

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString ObjectPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

AlarmNotifier::AlarmNotifier(QObject* parent)
    : AlarmNotifier(QDBusConnection::sessionBus(), parent) {}

AlarmNotifier::AlarmNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus) {}

void AlarmNotifier::notify(const QString& title, const QString& text) {
    if (!m_bus.isConnected()) {
        fallBack(title, text);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, ObjectPath, Service, QStringLiteral("Notify"));
    QVariantMap hints;
    // The desktop plays its own alarm sound; a silent desktop simply has none.
    hints.insert(QStringLiteral("sound-name"), QStringLiteral("alarm-clock-elapsed"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tamu"));
    call << QStringLiteral("TAMU") << uint(0) << QStringLiteral("tamu") << title << text
         << QStringList() << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, title, text](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (QDBusPendingReply<uint>(*w).isError()) {
                    fallBack(title, text);
                } else {
                    Q_EMIT delivered(Path::Desktop);
                }
            });
}
