#include "ship/ComingEvents.h"

#include <algorithm>

#include "gametime/TZEMTime.h"
#include "ship/TZEMShip.h"

namespace ComingEvents {

std::vector<Event> read(const TZEMTime& clock, const AlarmSchedule& alarms, const Choice& choice) {
    std::vector<Event> events;
    // Each game day's moment from its first coming on, while it falls within the real span. A
    // real day holds some 24 game days: the moment's texts are made once and shared by them all.
    const auto everyDay = [&](TDateTime time, const ShipAlarm& alarm, const QString& port) {
        const QString gameTime = DateTime::formatLongTime(time);
        const QString what = alarms.describe(alarm);
        for (std::int64_t game = clock.gameSecondsUntil(time);; game += DateTime::SecsPerDay) {
            const std::int64_t real = clock.realSecondsFor(game);
            if (real > choice.realSeconds) {
                break;
            }
            Event e;
            e.gameSeconds = game;
            e.realSeconds = real;
            e.gameTime = gameTime;
            e.what = what;
            e.port = port;
            e.alarm = alarm;
            events.push_back(std::move(e));
        }
    };
    const auto& routes = alarms.routes();
    for (int r = 0; r < int(routes.size()); ++r) {
        const TZEMShip& route = *routes[std::size_t(r)];
        const auto& voyages = route.voyages();
        for (int v = 0; v < int(voyages.size()); ++v) {
            const TZEMShipTimeItem& voyage = voyages[std::size_t(v)];
            const struct {
                bool shown;
                AlarmEvent event;
                TDateTime time;
                const QString& port;
            } moments[] = {{choice.arrivals, AlarmEvent::Arrival, voyage.ArrTime, route.from()},
                           {choice.sailings, AlarmEvent::Sailing, voyage.LeaTime, route.from()},
                           {choice.landings, AlarmEvent::Landing, voyage.GenTime, route.to()}};
            for (const auto& m : moments) {
                if (m.shown && (choice.port.isEmpty() || choice.port == m.port)) {
                    ShipAlarm alarm;
                    alarm.event = m.event;
                    alarm.route = r;
                    alarm.voyage = v;
                    everyDay(m.time, alarm, m.port);
                }
            }
        }
    }
    for (const int turn : {0, 1}) {
        ShipAlarm alarm;
        alarm.event = AlarmEvent::DayNight;
        alarm.voyage = turn;
        everyDay(turn == 0 ? TZEMTime::dayBegins() : TZEMTime::nightBegins(), alarm, QString());
    }
    for (const ShipAlarm& a : alarms.alarms()) {
        const std::int64_t left = alarms.realMSecsLeft(a) / 1000;
        if (a.enabled && left <= choice.realSeconds) {
            Event e;
            e.realSeconds = left;
            e.gameSeconds = left * clock.GameMSecPerSec / 1000;
            e.gameTime = DateTime::formatLongTime(alarms.nextTime(a));
            e.what = alarms.describe(a);
            e.isAlarm = true;
            e.alarm = a;
            events.push_back(std::move(e));
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.realSeconds < b.realSeconds; });
    return events;
}

QString leftText(const Event& event) {
    return TZEMTime::formatRealTime(event.realSeconds);
}

}  // namespace ComingEvents
