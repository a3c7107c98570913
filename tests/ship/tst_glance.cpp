#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QtTest>

#include "app/TrayIcon.h"
#include "common/TDateTime.h"
#include "ship/GlanceFacts.h"
#include "ship/GlancePanel.h"
#include "ship/TZEMShip.h"
#include "support/StoppedClock.h"

namespace {

struct Fixture : StoppedClock {
    Fixture() : StoppedClock(DateTime::encodeDate(2026, 12, 9) + DateTime::encodeTime(20, 0, 0)) {}
    GlanceFacts facts(const AlarmSchedule* alarms = nullptr, const std::vector<int>& routes = {}) {
        return GlanceFacts::read(clock, alarms, ships, routes);
    }
    std::vector<std::unique_ptr<TZEMShip>> ships = TZEMShip::createAll();
};

QString text(QWidget* w, const char* name) {
    auto* label = w->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(none)");
}

}  // namespace

class TestGlance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dayAndNight_data();
    void dayAndNight();
    void nextAlarmAndSailings();
    void settingsFile();
    void panelAndTray();
};

void TestGlance::dayAndNight_data() {
    QTest::addColumn<QString>("gameTime");
    QTest::addColumn<QString>("koku");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("turnsAt");
    QTest::newRow("before dawn") << "06:59:59"
                                 << "卯の刻"
                                 << "夜（昼まで"
                                 << "07:00:00";
    QTest::newRow("dawn") << "07:00:00"
                          << "卯の刻"
                          << "昼（夜まで"
                          << "18:00:00";
    QTest::newRow("before dusk") << "17:59:59"
                                 << "申の刻"
                                 << "昼（夜まで"
                                 << "18:00:00";
    QTest::newRow("dusk") << "18:00:00"
                          << "酉の刻"
                          << "夜（昼まで"
                          << "07:00:00";
    QTest::newRow("midnight") << "00:00:00"
                              << "子の刻"
                              << "夜（昼まで"
                              << "07:00:00";
}

void TestGlance::dayAndNight() {
    QFETCH(QString, gameTime);
    QFETCH(QString, koku);
    QFETCH(QString, word);
    QFETCH(QString, turnsAt);
    Fixture f;
    f.clock.SetGameTime(*DateTime::parseTime(gameTime));
    const GlanceFacts facts = f.facts();
    QCOMPARE(facts.gameTime, gameTime);
    QCOMPARE(facts.kokuLine(), koku);
    QCOMPARE(facts.dayNightLine(),
             word + u' ' + f.clock.RealTimeUntil(*DateTime::parseTime(turnsAt)) + u'）');
    QCOMPARE(facts.toolTip().split(u'\n'),
             (QStringList{"TAMU", gameTime + u' ' + koku, facts.dayNightLine(), "アラームなし"}));
}

void TestGlance::nextAlarmAndSailings() {
    Fixture f;
    f.clock.SetGameTime(*DateTime::parseTime("06:00:00"));
    auto alarms = f.stoppedAlarms();
    QCOMPARE(f.facts(alarms.get()).alarmLine(), QStringLiteral("アラームなし"));
    ShipAlarm dusk{AlarmEvent::DayNight, 0, 1, 0};
    ShipAlarm dawn{AlarmEvent::DayNight, 0, 0, 0};
    QVERIFY(alarms->add(dusk) >= 0);
    const int dawnAt = alarms->add(dawn);
    // The nearer of the two: dawn, an hour of game time away; dusk once dawn is off.
    QCOMPARE(f.facts(alarms.get()).alarmLine(),
             QStringLiteral("次のアラーム：夜明け　あと ") +
                 f.clock.RealTimeUntil(*DateTime::parseTime("07:00:00")));
    alarms->setEnabled(dawnAt, false);
    QVERIFY(f.facts(alarms.get()).alarm.startsWith(QStringLiteral("日暮れ")));
    // Routes in the order asked for, unknown ones left out.
    const GlanceFacts facts = f.facts(nullptr, {3, 99, 0, -1});
    QCOMPARE(int(facts.sailings.size()), 2);
    const TZEMShip& third = *f.ships[3];
    const TDateTime sails = third.NextLeaTime(f.clock.GameTime);
    QCOMPARE(facts.sailingLine(facts.sailings[0]),
             third.from() + QStringLiteral("→") + third.to() + QStringLiteral(" 出航 ") +
                 DateTime::formatLongTime(sails) + QStringLiteral("　あと ") +
                 f.clock.RealTimeUntil(sails));
}

// Place and routes read back; values that do not read are left out; other lines are kept.
void TestGlance::settingsFile() {
    Fixture f;
    const QString file = f.folder() + QStringLiteral("TAMUPanel.ini");
    // Read and closed again: Windows replaces no file that is open.
    const auto contents = [&file] {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const QByteArray before =
        "; mine\r\n[Panel]\r\nLeft=abc\r\nRoutes=9, x,2,2,0\r\n[Other]\r\nA=1\r\n";
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(before);
    }
    {
        PanelSettings settings(f.folder(), 8);
        QVERIFY(!settings.place());
        QCOMPARE(settings.routes(), (std::vector<int>{0, 2}));
        settings.save();  // nothing changed: the file stays as it is
        QCOMPARE(contents(), before);
        settings.setRouteShown(5, true);
        settings.setRouteShown(0, false);
        settings.setPlace(QPoint(40, -3));
        settings.save();
    }
    PanelSettings again(f.folder(), 8);
    QCOMPARE(again.routes(), (std::vector<int>{2, 5}));
    QCOMPARE(again.place(), std::optional<QPoint>(QPoint(40, -3)));
    QVERIFY(contents().startsWith("; mine\r\n[Panel]\r\n"));
    QVERIFY(contents().contains("[Other]\r\nA=1\r\n"));
}

void TestGlance::panelAndTray() {
    Fixture f;
    f.clock.SetGameTime(*DateTime::parseTime("12:34:56"));
    auto alarms = f.stoppedAlarms();
    {
        GlancePanel panel(f.clock, alarms.get(), f.folder());
        QVERIFY(panel.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(text(&panel, "viwGameTime"), QStringLiteral("12:34:56"));
        QCOMPARE(text(&panel, "viwKoku"), QStringLiteral("午の刻"));
        QCOMPARE(text(&panel, "viwAlarm"), QStringLiteral("アラームなし"));
        // A route chosen in the menu shows its next sailing.
        const auto menu = panel.makeMenu();
        QMenu* routes = menu->actions().at(0)->menu();
        QCOMPARE(routes->actions().size(), 8);
        routes->actions().at(1)->setChecked(true);
        QVERIFY(text(&panel, "viwSailing0").startsWith(f.ships[1]->from()));
        panel.move(55, 66);
        panel.close();
    }
    PanelSettings kept(f.folder(), 8);
    QCOMPARE(kept.routes(), std::vector<int>{1});
    QCOMPARE(kept.place(), std::optional<QPoint>(QPoint(55, 66)));

    QAction tool(QStringLiteral("航路案内"));
    QAction end(QStringLiteral("TAMU を終了"));
    QWidget controller;
    TrayIcon tray(f.clock, alarms.get(), {&tool}, &end, &controller);
    QCOMPARE(tray.menu()->actions().first(), &tool);
    QCOMPARE(tray.menu()->actions().last(), &end);
    QCOMPARE(tray.icon()->toolTip(), f.facts(alarms.get()).toolTip());
}

QTEST_MAIN(TestGlance)
#include "tst_glance.moc"
