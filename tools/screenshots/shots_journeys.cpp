// The journey planner: 佐渡 → 越前 (a change of ship in 越後) at a game time before dawn, with
// alarms set on the next sailing, on the change of day and night, on 午の刻 every game day and on
// the game time 14:30; and the window a rung
// alarm opens where the desktop has neither a notification service nor a tray.
#include <QComboBox>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmNotifier.h"
#include "ship/AlarmSchedule.h"
#include "ship/TZEMForm09.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar journeyShots("journeys_sado_etizen", [](ShotContext& ctx) {
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    clock.SetGameTime(DateTime::encodeTime(3, 0, 0));
    AlarmSchedule alarms(clock, ctx.dataFolder);
    alarms.timer()->stop();
    // Destroyed before the clock and the alarms it reads.
    const auto window = std::make_unique<TZEMForm09>(clock, alarms);
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("viwJourneys"));
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    window->findChild<QPushButton*>(QStringLiteral("evtAlarmSailing"))->click();
    window->findChild<QPushButton*>(QStringLiteral("evtAlarmDayNight"))->click();
    // A 刻 every game day, then the entry left on a game time of day.
    window->findChild<QComboBox*>(QStringLiteral("selMomentKind"))->setCurrentIndex(1);
    window->findChild<QComboBox*>(QStringLiteral("selKoku"))->setCurrentIndex(6);
    window->findChild<QComboBox*>(QStringLiteral("selMomentRepeat"))->setCurrentIndex(1);
    window->findChild<QPushButton*>(QStringLiteral("evtAlarmMoment"))->click();
    window->findChild<QComboBox*>(QStringLiteral("selMomentKind"))->setCurrentIndex(0);
    window->findChild<QComboBox*>(QStringLiteral("selMomentRepeat"))->setCurrentIndex(0);
    window->findChild<QLineEdit*>(QStringLiteral("iptMomentTime"))->setText(QStringLiteral("1430"));
    window->findChild<QPushButton*>(QStringLiteral("evtAlarmMoment"))->click();
    QCoreApplication::processEvents();
    window->Timer1Timer();
    ctx.save(window.get(), QStringLiteral("journeys_sado_etizen"));
});

const ShotRegistrar alarmWindowShots("alarm_window", [](ShotContext& ctx) {
    AlarmNotifier notifier(QDBusConnection(QStringLiteral("none")));
    notifier.setTrayAllowed(false);
    notifier.notify(QStringLiteral("TAMU アラーム"),
                    QStringLiteral("佐渡→越後 04:00:00発の便 出航（04:00:00）まであと 3 分"));
    ctx.save(notifier.window(), QStringLiteral("alarm_window"));
});

}  // namespace
