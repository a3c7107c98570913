// What comes next at 06:40 game time, an alarm set from its third row; the time panel at midday
// with an alarm set on the day's end and two routes shown, and the tray's menu with its tooltip's
// text as the panel's lines.
#include <QAction>
#include <QMenu>
#include <QTimer>
#include <memory>

#include "app/TrayIcon.h"
#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "ship/GlancePanel.h"
#include "ship/TZEMForm10.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar glanceShots("glance_panel", [](ShotContext& ctx) {
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    clock.SetGameTime(DateTime::encodeTime(12, 34, 56));
    AlarmSchedule alarms(clock, ctx.dataFolder);
    alarms.timer()->stop();
    alarms.add(ShipAlarm{AlarmEvent::DayNight, 0, 1, 3});
    const auto panel = std::make_unique<GlancePanel>(clock, &alarms, ctx.dataFolder);
    panel->settings().setRouteShown(4, true);
    panel->settings().setRouteShown(7, true);
    panel->refresh();
    ctx.save(panel.get(), QStringLiteral("glance_panel"));

    QWidget controller;
    QList<QAction*> tools;
    for (const char* caption : {"ステータス計算機", "時間・タイマー", "船発着時刻表",
                                "生産レシピ検索", "航路案内", "時刻パネル"}) {
        auto* action = new QAction(QString::fromUtf8(caption), &controller);
        action->setCheckable(true);
        tools << action;
    }
    tools.back()->setChecked(true);
    QAction end(QStringLiteral("TAMU を終了"));
    TrayIcon tray(clock, &alarms, tools, &end, &controller);
    tray.menu()->ensurePolished();
    tray.menu()->adjustSize();
    ctx.save(tray.menu(), QStringLiteral("tray_menu"));
});

const ShotRegistrar comingShots("coming_events", [](ShotContext& ctx) {
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    clock.SetGameTime(DateTime::encodeTime(6, 40, 0));
    AlarmSchedule alarms(clock, ctx.dataFolder);
    alarms.timer()->stop();
    const auto window = std::make_unique<TZEMForm10>(clock, alarms);
    window->setAlarmAt(2);
    ctx.save(window.get(), QStringLiteral("coming_events"));
});

}  // namespace
