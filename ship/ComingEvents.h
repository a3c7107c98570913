#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "ship/AlarmSchedule.h"

class TZEMTime;

// What comes in the next real hours, in real-time order: every route's ship coming in, sailing
// and landing, the turns of day and night, and the alarms that wait. Read off the game clock at
// one moment; the timetable's moments repeat every game day.
namespace ComingEvents {

struct Event {
    std::int64_t gameSeconds = 0;  // game seconds from now
    std::int64_t realSeconds = 0;  // whole real seconds from now, as RealTimeUntil counts them
    QString gameTime;              // "hh:mm:ss"
    QString what;  // as the alarm list names it: "越後→越前 08:52:00発の便 出航"
    QString port;  // where it happens; empty for the clock's own moments
    bool isAlarm = false;
    // An alarm tied to this very moment, for a row that has none yet.
    ShipAlarm alarm;
};

// The events of the next `realSeconds`; ships only of the kinds asked for (Arrival, Sailing,
// Landing), and only at `port` unless it is empty.
struct Choice {
    std::int64_t realSeconds = 24 * 3600;
    bool arrivals = true;
    bool sailings = true;
    bool landings = true;
    QString port;
};

std::vector<Event> read(const TZEMTime& clock, const AlarmSchedule& alarms, const Choice& choice);

// "h:m:s" of an event's real time left.
QString leftText(const Event& event);

}  // namespace ComingEvents
