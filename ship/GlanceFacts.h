#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class AlarmSchedule;
class TZEMShip;
class TZEMTime;

// What a player glances at between two actions, read off the game clock at one moment: the game
// time and its 刻, day or night with the real time until it turns, the alarm that rings next, and
// the next sailing of the routes the player chose. The tray's tooltip and the small panel show it.
struct GlanceFacts {
    struct Sailing {
        QString route;  // "越後→越前"
        QString time;   // game time of day, "hh:mm:ss"
        QString left;   // real time until it, "h:m:s"
    };

    QString gameTime;  // "hh:mm:ss"
    QString koku;      // "午"
    bool daytime = false;
    QString switchLeft;  // real time until day or night ends
    QString alarm;       // the next alarm as the alarm list names it; empty when none waits
    QString alarmLeft;
    std::vector<Sailing> sailings;

    // routes: indices into `ships`, in the order to show; unknown ones are left out. alarms may
    // be null (no alarm file could be read).
    static GlanceFacts read(const TZEMTime& clock, const AlarmSchedule* alarms,
                            const std::vector<std::unique_ptr<TZEMShip>>& ships,
                            const std::vector<int>& routes);

    // "午の刻", "昼（夜まで 0:12:34）", "次のアラーム：… あと 0:3:10" or "アラームなし".
    QString kokuLine() const;
    QString dayNightLine() const;
    QString alarmLine() const;
    QString sailingLine(const Sailing& sailing) const;
    // The lines of the tray's tooltip: TAMU, the game time with its 刻, day or night, the alarm.
    QString toolTip() const;
};
