// Notifications against a real session bus: a private dbus-daemon started here, with a stand-in
// notification service that records what it is sent; then the fallbacks without the service
// and without any bus.
#include <signal.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "common/ScreenAreas.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmNotifier.h"
#include "ship/AlarmSchedule.h"
#include "support/FixedNow.h"

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");

}  // namespace

class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls;  // "app|summary|body"
    QVariantMap lastHints;

public Q_SLOTS:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int) {
        calls << app + u'|' + summary + u'|' + body;
        lastHints = hints;
        return uint(calls.size());
    }
};

class TestNotifier : public QObject {
    Q_OBJECT

private:
    qint64 m_daemonPid = 0;
    QString m_address;
    StandInNotifications m_standIn;

    QDBusConnection serviceBus() const {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("stand-in"));
    }
    QDBusConnection clientBus() const {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("tamu"));
    }

private Q_SLOTS:
    void initTestCase() {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--print-pid=1"), QStringLiteral("--fork")});
        if (!daemon.waitForFinished(10000) || daemon.exitCode() != 0) {
            QSKIP("dbus-daemon is not installed (Debian package dbus)");
        }
        const QStringList lines =
            QString::fromUtf8(daemon.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        m_address = lines[0].trimmed();
        m_daemonPid = lines[1].trimmed().toLongLong();
        QVERIFY(m_daemonPid > 0);
        QDBusConnection bus = serviceBus();
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_standIn,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(Service));
    }
    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in"));
        QDBusConnection::disconnectFromBus(QStringLiteral("tamu"));
        if (m_daemonPid > 0) {
            ::kill(pid_t(m_daemonPid), SIGTERM);
        }
    }

    // An alarm that rings goes to the desktop's notification service, once.
    void ringingAlarmReachesTheService() {
        FixedNow now(DateTime::encodeDate(2026, 12, 8));
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(DateTime::encodeTime(3, 59, 0));
        QTemporaryDir dir;
        AlarmSchedule schedule(clock, dir.path() + u'/');
        schedule.timer()->stop();
        AlarmNotifier notifier(clientBus());
        QSignalSpy delivered(&notifier, &AlarmNotifier::delivered);
        schedule.setRinger(
            [&](const QString& title, const QString& text) { notifier.notify(title, text); });
        ShipAlarm alarm;
        alarm.event = AlarmEvent::Sailing;
        alarm.route = 6;  // 佐渡 → 越後
        alarm.leadMinutes = 0;
        schedule.add(alarm);
        for (int i = 0; i < 5; ++i) {
            now.set(now.get() + 1.0 / 86400.0);
            clock.Tick();
            schedule.check();
        }
        QTRY_COMPARE(delivered.size(), 1);
        QCOMPARE(delivered.front().front().value<AlarmNotifier::Path>(),
                 AlarmNotifier::Path::Desktop);
        QCOMPARE(m_standIn.calls,
                 QStringList{QStringLiteral("TAMU|TAMU アラーム|佐渡→越後 出航 の時刻です")});
        QCOMPARE(m_standIn.lastHints.value(QStringLiteral("sound-name")).toString(),
                 QStringLiteral("alarm-clock-elapsed"));
        QVERIFY(!notifier.window());
    }

    // Without the service (and here without a tray), a small window that stays on top gathers
    // the messages.
    void withoutTheServiceAWindow_data() {
        QTest::addColumn<bool>("bus");
        QTest::newRow("bus without the service") << true;
        QTest::newRow("no bus at all") << false;
    }
    void withoutTheServiceAWindow() {
        QFETCH(bool, bus);
        QDBusConnection service = serviceBus();
        QVERIFY(service.unregisterService(Service));
        AlarmNotifier notifier(bus ? clientBus() : QDBusConnection(QStringLiteral("none")));
        notifier.setTrayAllowed(false);
        QSignalSpy delivered(&notifier, &AlarmNotifier::delivered);
        notifier.notify(QStringLiteral("TAMU アラーム"), QStringLiteral("一つ目"));
        QTRY_COMPARE(delivered.size(), 1);
        notifier.notify(QStringLiteral("TAMU アラーム"), QStringLiteral("二つ目"));
        QTRY_COMPARE(delivered.size(), 2);
        QVERIFY(service.registerService(Service));
        QCOMPARE(delivered.back().front().value<AlarmNotifier::Path>(),
                 AlarmNotifier::Path::Window);
        QWidget* window = notifier.window();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("viwAlarmText"))->text(),
                 QStringLiteral("一つ目\n二つ目"));
    }

    // However many alarms ring at once, the window stays on the work area with 閉じる on it; the
    // messages scroll.
    void manyMessagesStayOnTheScreen_data() {
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<int>("messages");
        QTest::newRow("100 on 1024x600") << QRect(0, 0, 1024, 600) << 100;
        QTest::newRow("30 under a top panel") << QRect(0, 32, 800, 568) << 30;
        QTest::newRow("3 fit without scrolling") << QRect(0, 0, 1024, 600) << 3;
    }
    void manyMessagesStayOnTheScreen() {
        QFETCH(QRect, workArea);
        QFETCH(int, messages);
        ScreenAreas::inject(QRect(QPoint(0, 0), workArea.bottomRight() + QPoint(1, 1)), workArea);
        const auto restore = qScopeGuard([] { ScreenAreas::reset(); });
        AlarmNotifier notifier{QDBusConnection(QStringLiteral("none"))};
        notifier.setTrayAllowed(false);
        for (int i = 0; i < messages; ++i) {
            notifier.notify(QStringLiteral("TAMU アラーム"),
                            QStringLiteral("佐渡→越後 出航（04:00:00）まであと %1 分").arg(i + 1));
        }
        QWidget* window = notifier.window();
        QVERIFY(window && window->isVisible());
        QVERIFY2(workArea.contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())));
        auto* close = window->findChild<QPushButton*>(QStringLiteral("evtAlarmClose"));
        QVERIFY(close && close->isVisible());
        QVERIFY(window->rect().contains(QRect(close->mapTo(window, QPoint(0, 0)), close->size())));
        auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("viwAlarmScroll"));
        QVERIFY(scroll);
        const bool scrolls = messages > 10;
        QTRY_COMPARE(scroll->verticalScrollBar()->maximum() > 0, scrolls);
        // The newest message is in view; every message is in the window's text.
        if (scrolls) {
            QTRY_COMPARE(scroll->verticalScrollBar()->value(),
                         scroll->verticalScrollBar()->maximum());
        }
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("viwAlarmText"))->text().count(u'\n'),
                 messages - 1);
        // 閉じる closes it.
        QTest::mouseClick(close, Qt::LeftButton);
        QTRY_VERIFY(!notifier.window());
    }
};

QTEST_MAIN(TestNotifier)
#include "tst_notifier.moc"
