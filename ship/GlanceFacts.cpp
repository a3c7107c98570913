#include "ship/GlanceFacts.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "ship/TZEMShip.h"

GlanceFacts GlanceFacts::read(const TZEMTime& clock, const AlarmSchedule* alarms,
                              const std::vector<std::unique_ptr<TZEMShip>>& ships,
                              const std::vector<int>& routes) {
    GlanceFacts facts;
    facts.gameTime = DateTime::formatLongTime(clock.GameTime);
    facts.koku = clock.GetKoku();
    facts.daytime = clock.IsDaytime();
    facts.switchLeft = clock.RealTimeUntil(clock.nextDayNightSwitch());
    if (alarms) {
        const ShipAlarm* next = nullptr;
        std::int64_t soonest = std::numeric_limits<std::int64_t>::max();
        for (const ShipAlarm& a : alarms->alarms()) {
            if (a.enabled) {
                if (const std::int64_t left = alarms->realMSecsLeft(a); left < soonest) {
                    soonest = left;
                    next = &a;
                }
            }
        }
        if (next) {
            facts.alarm = alarms->describe(*next);
            facts.alarmLeft = TZEMTime::formatRealTime(soonest / 1000);
        }
    }
    for (const int r : routes) {
        if (r < 0 || r >= int(ships.size())) {
            continue;
        }
        const TZEMShip& ship = *ships[std::size_t(r)];
        const TDateTime sails = ship.NextLeaTime(clock.GameTime);
        facts.sailings.push_back(Sailing{ship.from() + QStringLiteral("→") + ship.to(),
                                         DateTime::formatLongTime(sails),
                                         clock.RealTimeUntil(sails)});
    }
    return facts;
}

QString GlanceFacts::kokuLine() const {
    return koku + QStringLiteral("の刻");
}

QString GlanceFacts::dayNightLine() const {
    return daytime ? QStringLiteral("昼（夜まで %1）").arg(switchLeft)
                   : QStringLiteral("夜（昼まで %1）").arg(switchLeft);
}

QString GlanceFacts::alarmLine() const {
    return alarm.isEmpty() ? QStringLiteral("アラームなし")
                           : QStringLiteral("次のアラーム：%1　あと %2").arg(alarm, alarmLeft);
}

QString GlanceFacts::sailingLine(const Sailing& sailing) const {
    return QStringLiteral("%1 出航 %2　あと %3").arg(sailing.route, sailing.time, sailing.left);
}

QString GlanceFacts::toolTip() const {
    return QStringList{QStringLiteral("TAMU"), gameTime + u' ' + kokuLine(), dayNightLine(),
                       alarmLine()}
        .join(u'\n');
}
